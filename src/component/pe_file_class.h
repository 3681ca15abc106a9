// The PEFile class: ten read-only properties describing one executable file. Clients cannot
// create it; Ops.GetPEFile refills the one PEFile its Ops object owns and hands it out.
#pragma once

#include <string>

#include "component/dispatch_object.h"
#include "kovar3_h.h"
#include "pefile/ModFileInfo.h"

namespace kovar3 {

class PEFile final : public DispatchObject<_PEFile> {
public:
    PEFile() = default;

    // Replaces every property at once (the record's status included).
    void LoadInfo(ModFileInfo::FileInfoRecord record) noexcept { info_ = std::move(record); }
    const ModFileInfo::FileInfoRecord& info() const noexcept { return info_; }

    HRESULT STDMETHODCALLTYPE get_CompanyName(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_FileVersion(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_DateCreated(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_DateLastModified(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_ProductVersion(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_ProductName(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_FileDescription(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_Size(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_Attributes(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_Name(VARIANT* result) override;

private:
    ModFileInfo::FileInfoRecord info_;  // all empty before the first load
};

}  // namespace kovar3
