// The program that opens a file type: the extension's key below HKEY_CLASSES_ROOT names a
// ProgID, whose open command (or the extension's own) names the program.
#pragma once

#include <string>

namespace kovar3::windows {

// The program that opens files with extension `ext` (with or without its leading dot; "" looks
// up the key "."), as a full path; "" when the type has no readable open command, the command
// names no ".exe" or ".com" program, or `ext` could not name an extension key at all (it holds
// a NUL character or a backslash, which would make the registry read another key).
std::string DefaultProgram(const std::string& ext);

// Statuses of DefaultProgramPath.
enum DefaultProgramStatus : short {
    kCommandRead = 0,  // a command key was read; `path` may still be ""
    kNoCommand = 1,    // the extension is not registered, or none of its command keys is readable
};

// Follows `ext` (starting with ".") to the first readable of ProgID\Shell\Open\Command,
// ProgID\Shell\Opennew\Command and ext\Shell\Open\Command, expands the command when it is
// stored as REG_EXPAND_SZ and cuts the program's path out of it. The first readable command
// decides, even when it names no program. Commands are read at whatever length they are
// stored. Every key opened is closed on every path.
DefaultProgramStatus DefaultProgramPath(const std::string& ext, std::string& path);

// The program's path at the start of a command line: everything up to and including the first
// ".exe" (letter case ignored), or, when there is none, the first ".com"; without one leading
// double quote. "" when the command holds neither.
std::string ExePathFromCommand(const std::string& command);

}  // namespace kovar3::windows
