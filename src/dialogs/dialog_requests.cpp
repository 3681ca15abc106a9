#include "dialogs/dialog_requests.h"

#include "platform/text.h"

namespace kovar3::dialogs {
namespace {

FileType TypeOf(const std::string& ext) { return {ext + " Files(*." + ext + ")", "*." + ext}; }

}  // namespace

std::string TitleOr(const std::string& title, const char* default_title)
{
    return title.empty() ? default_title : title;
}

FileType OpenFileType(const std::string& ext)
{
    return ext.empty() ? FileType{"All Files(*.*)", "*.*"} : TypeOf(ext);
}

FileType SaveFileType(const std::string& ext)
{
    return ext.empty() ? FileType{"Text Files(*.txt)", "*.txt"} : TypeOf(ext);
}

std::string SaveDefaultExtension(const std::string& ext) { return ext.empty() ? "txt" : ext; }

std::string StartingFolder(const std::string& folder, const FileSystem& file_system)
{
    return !folder.empty() && file_system.FolderExists(folder) ? folder : std::string();
}

std::string JoinSelection(const std::string& raw)
{
    size_t end = raw.find('\0');
    if (end == std::string::npos) return raw;
    std::string folder = raw.substr(0, end);
    if (!EndsWithAnsiChar(folder, "\\")) folder += '\\';
    std::string joined;
    for (size_t start = end + 1;; start = end + 1) {
        end = raw.find('\0', start);
        if (!joined.empty()) joined += '*';
        joined += folder;
        joined.append(raw, start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos) return joined;
    }
}

}  // namespace kovar3::dialogs
