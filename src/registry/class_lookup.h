// Lookups answered by well-known places in the registry: whether a COM class or ProgID is
// registered and where its servers live (below HKEY_CLASSES_ROOT), and where an installed
// program lives (App Paths, below HKEY_LOCAL_MACHINE). Only default values are read.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kovar3::registry {

// What the registration lookups found. A field without a value was not looked up (it becomes
// Empty in the record handed to the client); "" means looked up and absent.
struct RegistrationRecord {
    bool registered = false;
    std::optional<std::string> clsid;  // braced
    std::optional<std::string> prog_id;
    std::optional<std::string> version_independent;  // of the class, not of the ProgID
    std::optional<std::string> inproc_server;
    std::optional<std::string> local_server;
};

// The braced identifier as the client gave it, with "{" put in front and "}" appended where
// missing.
std::string BraceClsid(std::string text);

// Fills `record` for a braced 38-character identifier. A class counts as registered exactly
// when its ProgID subkey has a non-empty default value. The record is filled in order, so a
// failure part-way (an allocation) leaves what was found before it.
void ClsidLookup(const std::string& clsid, RegistrationRecord& record);

// Fills `record` starting from a ProgID, which is stored in it as given.
void ProgIdLookup(const std::string& prog_id, RegistrationRecord& record);

// The default value stored under App Paths for a program's file name, exactly as stored.
std::string AppPathLookup(const std::string& file_name) noexcept;

// An App Paths entry made usable as a file path: environment references expanded and one pair
// of enclosing quotation marks removed. Entries are often REG_EXPAND_SZ values such as
// "%ProgramFiles%\App\app.exe", sometimes quoted.
std::string ResolveAppPath(const std::string& stored);

}  // namespace kovar3::registry
