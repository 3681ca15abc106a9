// Automation errors: a number, a source and a description, carried to the caller through
// EXCEPINFO (IDispatch::Invoke) and through the thread's error information (vtable calls).
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace kovar3 {

// The HRESULT a script reads back as Err.Number `number` (0x800A0000 | number).
constexpr HRESULT AutomationErrorCode(int number)
{
    return static_cast<HRESULT>(0x800A0000u | static_cast<unsigned>(number & 0xFFFF));
}

// Error 94, raised when Null is used where a value is needed.
constexpr HRESULT kInvalidUseOfNull = AutomationErrorCode(94);

// Error 5, "Invalid procedure call or argument", raised for text holding a character that the
// ANSI code page cannot hold: handing on a look-alike would reach a key, value or file the
// caller never named.
constexpr HRESULT kTextOutsideCodePage = AutomationErrorCode(5);

// Sets the thread's error information and returns `hr` for the member to return.
HRESULT RaiseAutomationError(HRESULT hr, const std::wstring& source,
                             const std::wstring& description) noexcept;

// Thrown when a parameter cannot be converted to the type a member works with; carries the
// standard conversion's HRESULT (type mismatch, overflow, invalid use of Null), or
// kTextOutsideCodePage.
class ConversionError : public std::exception {
public:
    explicit ConversionError(HRESULT hr) noexcept : hr_(hr) {}
    HRESULT hr() const noexcept { return hr_; }
    const char* what() const noexcept override { return "parameter conversion failed"; }

    // The description a script shows for this failure.
    std::wstring Description() const;

private:
    HRESULT hr_;
};

// Reports a conversion failure that escapes a member whose trap is armed late.
HRESULT RaiseConversionError(const ConversionError& error, const std::wstring& source) noexcept;

}  // namespace kovar3
