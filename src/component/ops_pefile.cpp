// Ops.GetPEFile: describes an executable file through the PEFile object that this Ops owns.
//
// Unlike every other member it reports failures as automation errors, numbers 1 to 4 with the
// source "Ops:GetPEFile". A failed call leaves the PEFile's previous contents in place.
#include <optional>
#include <string>

#include "component/ops.h"
#include "pefile/ModFileInfo.h"
#include "platform/ModKovar.h"
#include "platform/errors.h"
#include "platform/member.h"
#include "platform/params.h"
#include "platform/text.h"

namespace kovar3 {
namespace {

const wchar_t kSource[] = L"Ops:GetPEFile";

bool IsExecutableExtension(const std::string& extension)
{
    const std::string upper = UpperAscii(extension);
    return upper == "DLL" || upper == "EXE" || upper == "OCX" || upper == "DRV";
}

}  // namespace

HRESULT Ops::GetPEFile(VARIANT* vFilePath, _PEFile** result)
{
    if (!result) return E_POINTER;
    *result = nullptr;
    ModFileInfo::FileInfoRecord record;
    const HRESULT checked = RunBeforeTrap(kSource, nullptr, [&] {
        const std::string path = ReadParamText(vFilePath);
        // The existence test also reads the size, times and attributes the record needs.
        const std::optional<FileDetails> details = file_system_.GetFileDetails(path);
        if (!details)
            return RaiseAutomationError(AutomationErrorCode(1), kSource, L"Bad file path.");
        if (!IsExecutableExtension(file_system_.GetExtensionName(path)))
            return RaiseAutomationError(AutomationErrorCode(2), kSource, L"Not a PE file.");
        record = ModFileInfo::ReadFileInfo(path, *details, ModKovar::OsFamily);
        if (record.status != ModFileInfo::kInfoRead)
            return RaiseAutomationError(AutomationErrorCode(3), kSource,
                                        L"Unable to get file info.");
        return S_OK;
    });
    if (checked != S_OK) return checked;

    try {
        pe_file_->LoadInfo(std::move(record));
        pe_file_->AddRef();
        *result = pe_file_.get();
        return S_OK;
    } catch (...) {
        return RaiseAutomationError(AutomationErrorCode(4), kSource,
                                    L"Undefined error creating File object.");
    }
}

}  // namespace kovar3
