// INIEdit members. Until the INI routines are built, each answers with its failure result:
// "" for the read methods, False for the write methods.
#include "component/ini_edit.h"

#include "component/platform/member.h"

namespace kovar3 {
namespace {

HRESULT NoText(VARIANT* result)
{
    return RunMember(result, [] { return Variant::Text(""); }, [] { return Variant::Text(""); });
}

HRESULT NotWritten(VARIANT* result)
{
    return RunMember(result, [] { return Variant::Bool(false); }, [] { return Variant::Bool(false); });
}

}  // namespace

HRESULT INIEdit::GetIniVal(VARIANT* vFilePath, VARIANT* vSection, VARIANT* vKeyName, VARIANT* result) { return NoText(result); }
HRESULT INIEdit::GetIniSectionKeys(VARIANT* vFilePath, VARIANT* vSection, VARIANT* result) { return NoText(result); }
HRESULT INIEdit::GetIniSectionNames(VARIANT* vFilePath, VARIANT* result) { return NoText(result); }
HRESULT INIEdit::GetIniSectionVals(VARIANT* vFilePath, VARIANT* vSection, VARIANT* result) { return NoText(result); }
HRESULT INIEdit::WriteIniVal(VARIANT* vFilePath, VARIANT* vSection, VARIANT* vKeyName, VARIANT* vValue, VARIANT* result) { return NotWritten(result); }
HRESULT INIEdit::WriteIniSection(VARIANT* vFilePath, VARIANT* vSection, VARIANT* vKeyList, VARIANT* result) { return NotWritten(result); }

}  // namespace kovar3
