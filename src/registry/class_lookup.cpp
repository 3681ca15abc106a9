#include "registry/class_lookup.h"

#include <vector>

#include "platform/unique.h"

namespace kovar3::registry {
namespace {

// Every lookup reads through 255 bytes: 254 characters and the terminator.
constexpr DWORD kTextBuffer = 255;
constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// The default value of root\path opened with `access`, or "".
std::string ReadDefaultText(HKEY root, const std::string& path, const std::string& name,
                            REGSAM access) noexcept
{
    RegKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) return {};
    char text[kTextBuffer] = {};
    DWORD size = kTextBuffer;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                           &size) != ERROR_SUCCESS ||
        size < 2)
        return {};
    try {
        return std::string(text, size - 1);
    } catch (...) {
        return {};
    }
}

// Version-independent ProgID and both servers, all read from the class's own key.
void ReadClassEntries(const std::string& clsid, RegistrationRecord& record)
{
    const std::string key = "CLSID\\" + clsid;
    record.version_independent =
        ReadRegString(HKEY_CLASSES_ROOT, key + "\\VersionIndependentProgID", "");
    record.inproc_server = ReadRegString(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "");
    record.local_server = ReadRegString(HKEY_CLASSES_ROOT, key + "\\LocalServer32", "");
}

}  // namespace

std::string ReadRegString(HKEY root, const std::string& path, const std::string& name) noexcept
{
    return ReadDefaultText(root, path, name, KEY_QUERY_VALUE);
}

std::string BraceClsid(std::string text)
{
    if (text.empty() || text.front() != '{') text.insert(0, 1, '{');
    if (text.back() != '}') text += '}';
    return text;
}

void ClsidLookup(const std::string& clsid, RegistrationRecord& record)
{
    record.clsid = clsid;
    // A NUL inside would end the path the registry reads before "\ProgID", and the class's
    // own description would pass for its ProgID: such an identifier names no class.
    if (clsid.find('\0') != std::string::npos) return;
    const std::string prog_id =
        ReadRegString(HKEY_CLASSES_ROOT, "CLSID\\" + clsid + "\\ProgID", "");
    if (prog_id.empty()) return;
    record.prog_id = prog_id;
    ReadClassEntries(clsid, record);
    record.registered = true;
}

void ProgIdLookup(const std::string& prog_id, RegistrationRecord& record)
{
    record.prog_id = prog_id;
    // As above: with a NUL inside, the ProgID key's description would pass for its CLSID.
    if (prog_id.find('\0') != std::string::npos) return;
    const std::string clsid = ReadRegString(HKEY_CLASSES_ROOT, prog_id + "\\CLSID", "");
    if (clsid.empty()) return;
    record.clsid = clsid;
    ReadClassEntries(clsid, record);
    record.registered = true;
}

std::string AppPathLookup(const std::string& file_name) noexcept
{
    try {
        return ReadDefaultText(HKEY_LOCAL_MACHINE, kAppPaths + file_name, "", KEY_READ);
    } catch (...) {
        return {};
    }
}

std::string ResolveAppPath(const std::string& stored)
{
    std::string path = stored;
    if (path.find('%') != std::string::npos) {
        std::vector<char> buffer(kTextBuffer, '\0');
        DWORD needed = ::ExpandEnvironmentStringsA(stored.c_str(), buffer.data(), kTextBuffer);
        if (needed > buffer.size()) {
            buffer.assign(needed, '\0');
            needed = ::ExpandEnvironmentStringsA(stored.c_str(), buffer.data(), needed);
        }
        if (needed >= 1 && needed <= buffer.size()) path.assign(buffer.data(), needed - 1);
    }
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return path;
}

}  // namespace kovar3::registry
