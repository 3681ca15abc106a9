// The INIEdit class: reading and writing INI files, named ones and WIN.INI.
#pragma once

#include <string>

#include "component/dispatch_object.h"
#include "kovar3_h.h"
#include "platform/file_system.h"

namespace kovar3 {

class INIEdit final : public DispatchObject<_INIEdit> {
public:
    INIEdit() = default;

    HRESULT STDMETHODCALLTYPE GetIniVal(VARIANT* vFilePath, VARIANT* vSection, VARIANT* vKeyName,
                                        VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetIniSectionKeys(VARIANT* vFilePath, VARIANT* vSection,
                                                VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetIniSectionNames(VARIANT* vFilePath, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE GetIniSectionVals(VARIANT* vFilePath, VARIANT* vSection,
                                                VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE WriteIniVal(VARIANT* vFilePath, VARIANT* vSection, VARIANT* vKeyName,
                                          VARIANT* vValue, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE WriteIniSection(VARIANT* vFilePath, VARIANT* vSection,
                                              VARIANT* vKeyList, VARIANT* result) override;

private:
    bool TargetExists(const std::string& path) const;

    FileSystem file_system_;
};

}  // namespace kovar3
