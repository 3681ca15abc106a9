#include "registry/class_lookup.h"

#include <vector>

#include "platform/environment.h"
#include "platform/registry_text.h"
#include "platform/text.h"

namespace kovar3::registry {
namespace {

constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// Version-independent ProgID and both servers, all read from the class's own key.
void ReadClassEntries(const std::string& clsid, RegistrationRecord& record)
{
    const std::string key = "CLSID\\" + clsid;
    record.version_independent =
        ReadRegText(HKEY_CLASSES_ROOT, key + "\\VersionIndependentProgID", "");
    record.inproc_server = ReadRegText(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "");
    record.local_server = ReadRegText(HKEY_CLASSES_ROOT, key + "\\LocalServer32", "");
}

}  // namespace

std::string BraceClsid(std::string text)
{
    if (text.empty() || text.front() != '{') text.insert(0, 1, '{');
    if (!EndsWithAnsiChar(text, "}")) text += '}';  // by character: "}" can be a second byte
    return text;
}

void ClsidLookup(const std::string& clsid, RegistrationRecord& record)
{
    record.clsid = clsid;
    // A NUL inside would end the path the registry reads before "\ProgID", and the class's
    // own description would pass for its ProgID: such an identifier names no class.
    if (clsid.find('\0') != std::string::npos) return;
    const std::string prog_id = ReadRegText(HKEY_CLASSES_ROOT, "CLSID\\" + clsid + "\\ProgID", "");
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
    const std::string clsid = ReadRegText(HKEY_CLASSES_ROOT, prog_id + "\\CLSID", "");
    if (clsid.empty()) return;
    record.clsid = clsid;
    ReadClassEntries(clsid, record);
    record.registered = true;
}

std::string AppPathLookup(const std::string& file_name) noexcept
{
    try {
        return ReadRegText(HKEY_LOCAL_MACHINE, kAppPaths + file_name, "", KEY_READ);
    } catch (...) {
        return {};
    }
}

std::string ResolveAppPath(const std::string& stored)
{
    std::string path = stored;
    if (path.find('%') != std::string::npos) ExpandEnvironment(stored, path);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return path;
}

}  // namespace kovar3::registry
