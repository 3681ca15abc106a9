#include "windows/file_associations.h"

#include <windows.h>

#include "platform/environment.h"
#include "platform/registry_text.h"
#include "platform/text.h"
#include "platform/unique.h"

namespace kovar3::windows {
namespace {

// The default value of HKEY_CLASSES_ROOT\subkey with its type; false when the key cannot be
// opened or the value cannot be read or is empty.
bool ReadDefaultValue(const std::string& subkey, std::string& text, DWORD& type)
{
    RegKey key;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return false;
    return ReadRegTextWhole(key.get(), "", text, type);
}

// Position of the first `extension` in `text`, letter case ignored; npos when there is none.
size_t FindExtension(const std::string& text, const char* extension)
{
    return UpperAscii(text).find(UpperAscii(std::string(extension)));
}

}  // namespace

std::string DefaultProgram(const std::string& ext)
{
    if (ext.find_first_of(std::string("\\\0", 2)) != std::string::npos) return {};
    const std::string key = (!ext.empty() && ext.front() == '.') ? ext : "." + ext;
    std::string path;
    return DefaultProgramPath(key, path) == kCommandRead ? path : std::string();
}

DefaultProgramStatus DefaultProgramPath(const std::string& ext, std::string& path)
{
    path.clear();
    std::string prog_id;
    DWORD type = REG_NONE;
    {
        RegKey key;
        if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ext.c_str(), 0, KEY_READ, key.put()) !=
            ERROR_SUCCESS)
            return kNoCommand;
        // The registry reads a key name up to its first NUL.
        if (ReadRegTextWhole(key.get(), "", prog_id, type))
            prog_id = CutAtNul(prog_id.data(), prog_id.size());
    }
    std::string candidates[3];
    int count = 0;
    if (!prog_id.empty()) {
        candidates[count++] = prog_id + "\\Shell\\Open\\Command";
        candidates[count++] = prog_id + "\\Shell\\Opennew\\Command";
    }
    candidates[count++] = ext + "\\Shell\\Open\\Command";
    for (int i = 0; i < count; ++i) {
        std::string command;
        if (!ReadDefaultValue(candidates[i], command, type)) continue;
        std::string expanded;
        if (type == REG_EXPAND_SZ && ExpandEnvironment(command, expanded)) command = expanded;
        path = ExePathFromCommand(command);
        return kCommandRead;
    }
    return kNoCommand;
}

std::string ExePathFromCommand(const std::string& command)
{
    size_t at = FindExtension(command, ".exe");
    if (at == std::string::npos) at = FindExtension(command, ".com");
    if (at == std::string::npos) return {};
    std::string path = command.substr(0, at + 4);
    if (path.front() == '"') path.erase(0, 1);
    return path;
}

}  // namespace kovar3::windows
