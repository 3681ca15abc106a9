#include "platform/errors.h"

#include <oleauto.h>

#include "platform/unique.h"
#include "platform/variant.h"

namespace kovar3 {

HRESULT RaiseAutomationError(HRESULT hr, const std::wstring& source,
                             const std::wstring& description) noexcept
{
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(::CreateErrorInfo(create.put()))) {
        create->SetGUID(GUID_NULL);
        create->SetSource(const_cast<LPOLESTR>(source.c_str()));
        create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.put()))))
            ::SetErrorInfo(0, info.get());
    }
    return hr;
}

std::wstring ConversionError::Description() const
{
    switch (hr_) {
    case DISP_E_TYPEMISMATCH: return L"Type mismatch";
    case DISP_E_OVERFLOW: return L"Overflow";
    case kInvalidUseOfNull: return L"Invalid use of Null";
    case kTextOutsideCodePage:
        return L"Invalid procedure call or argument: the text holds a character that the ANSI "
               L"code page cannot represent";
    case E_OUTOFMEMORY: return L"Out of memory";
    default: return L"Automation error";
    }
}

HRESULT RaiseConversionError(const ConversionError& error, const std::wstring& source) noexcept
{
    // Scripts know these failures by their own numbers (13 type mismatch, 6 overflow, 94
    // invalid use of Null); the conversion's dispatch codes would show as large negatives.
    HRESULT hr = error.hr();
    if (hr == DISP_E_TYPEMISMATCH)
        hr = AutomationErrorCode(13);
    else if (hr == DISP_E_OVERFLOW)
        hr = AutomationErrorCode(6);
    else if (hr == E_OUTOFMEMORY)
        hr = AutomationErrorCode(7);
    try {
        return RaiseAutomationError(hr, source, error.Description());
    } catch (...) {
        return hr;
    }
}

}  // namespace kovar3
