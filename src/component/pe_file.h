// The PEFile class: ten read-only properties describing one executable file. Clients cannot
// create it; Ops.GetPEFile refills the one PEFile its Ops object owns and hands it out.
#pragma once

#include <string>

#include "component/dispatch_object.h"
#include "kovar3_h.h"

namespace kovar3 {

// What a PEFile shows. Before its first load every text is "" and Attributes is 0.
struct PEFileInfo {
    std::string company_name;
    std::string file_version;
    std::string date_created;
    std::string date_last_modified;
    std::string product_version;
    std::string product_name;
    std::string file_description;
    std::string size;  // kilobytes, as text
    short attributes = 0;
    std::string name;
};

class PEFile final : public DispatchObject<_PEFile> {
public:
    PEFile() = default;

    // Replaces every property at once.
    void LoadInfo(PEFileInfo info) noexcept { info_ = std::move(info); }
    const PEFileInfo& info() const noexcept { return info_; }

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
    PEFileInfo info_;
};

}  // namespace kovar3
