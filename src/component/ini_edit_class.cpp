// INIEdit members. Each one reads its parameters as text, ends at once with its empty result
// ("" or False) when the file does not exist, and otherwise hands the work to the WIN.INI
// routine or the named-file routine of ModIniEdit. Any error ends in the same empty result.
#include "component/ini_edit_class.h"

#include "ini/ModIniEdit.h"
#include "platform/member.h"
#include "platform/params.h"

namespace kovar3 {
namespace {

Variant NoText() { return Variant::Text(""); }
Variant NotWritten() { return Variant::Bool(false); }

// A read routine's outcome as the client sees it: the not-found marker becomes "".
Variant ReadResult(const std::string& outcome)
{
    return Variant::Text(outcome == ModIniEdit::NotFoundMarker() ? std::string() : outcome);
}

}  // namespace

// The client's file must exist, and so must the file the platform will actually open: WIN.INI
// in the Windows folder, or the Windows folder's file of that name for a bare name. The
// profile calls create a missing file on the first write; this component never does.
bool INIEdit::TargetExists(const std::string& path) const
{
    if (!file_system_.FileExists(path)) return false;
    const std::string target =
        ModIniEdit::ProfileTarget(ModIniEdit::IsWinIni(path) ? "win.ini" : path);
    return target == path || file_system_.FileExists(target);
}

HRESULT INIEdit::GetIniVal(VARIANT* vFilePath, VARIANT* vSection, VARIANT* vKeyName,
                           VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string path = ReadParamText(vFilePath);
            const std::string section = ReadParamText(vSection);
            const std::string key = ReadParamText(vKeyName);
            if (!TargetExists(path)) return NoText();
            return ReadResult(ModIniEdit::IsWinIni(path)
                                  ? ModIniEdit::GetWinIniValue(section, key)
                                  : ModIniEdit::GetValue(path, section, key));
        },
        NoText);
}

HRESULT INIEdit::GetIniSectionKeys(VARIANT* vFilePath, VARIANT* vSection, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string path = ReadParamText(vFilePath);
            const std::string section = ReadParamText(vSection);
            if (!TargetExists(path)) return NoText();
            return ReadResult(ModIniEdit::IsWinIni(path) ? ModIniEdit::GetWinIniKeyNames(section)
                                                         : ModIniEdit::GetKeyNames(path, section));
        },
        NoText);
}

HRESULT INIEdit::GetIniSectionNames(VARIANT* vFilePath, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string path = ReadParamText(vFilePath);
            if (!TargetExists(path)) return NoText();
            return ReadResult(ModIniEdit::IsWinIni(path) ? ModIniEdit::GetWinIniSectionNames()
                                                         : ModIniEdit::GetSectionNames(path));
        },
        NoText);
}

HRESULT INIEdit::GetIniSectionVals(VARIANT* vFilePath, VARIANT* vSection, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string path = ReadParamText(vFilePath);
            const std::string section = ReadParamText(vSection);
            if (!TargetExists(path)) return NoText();
            return ReadResult(ModIniEdit::IsWinIni(path)
                                  ? ModIniEdit::GetWinIniSectionLines(section)
                                  : ModIniEdit::GetSectionLines(path, section));
        },
        NoText);
}

HRESULT INIEdit::WriteIniVal(VARIANT* vFilePath, VARIANT* vSection, VARIANT* vKeyName,
                             VARIANT* vValue, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string path = ReadParamText(vFilePath);
            const std::string section = ReadParamText(vSection);
            const std::string key = ReadParamText(vKeyName);
            const std::string value = ReadParamText(vValue);
            if (!TargetExists(path)) return NotWritten();
            return Variant::Bool(ModIniEdit::IsWinIni(path)
                                     ? ModIniEdit::WriteWinIniValue(section, key, value)
                                     : ModIniEdit::WriteValue(path, section, key, value));
        },
        NotWritten);
}

HRESULT INIEdit::WriteIniSection(VARIANT* vFilePath, VARIANT* vSection, VARIANT* vKeyList,
                                 VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string path = ReadParamText(vFilePath);
            const std::string section = ReadParamText(vSection);
            const std::string key_list = ReadParamText(vKeyList);
            if (!TargetExists(path)) return NotWritten();
            return Variant::Bool(ModIniEdit::IsWinIni(path)
                                     ? ModIniEdit::WriteWinIniSection(section, key_list)
                                     : ModIniEdit::WriteSection(path, section, key_list));
        },
        NotWritten);
}

}  // namespace kovar3
