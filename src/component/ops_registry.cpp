// Ops members that read, write, list and delete registry values and keys, and look up class
// registrations and installed programs. Each frame resolves the hive, reads and trims the
// path, and hands on to the registry module; the statuses are the module's.
#include <new>
#include <string>

#include "component/ops.h"
#include "component/registry_data.h"
#include "platform/ModKovar.h"
#include "platform/errors.h"
#include "platform/member.h"
#include "platform/params.h"
#include "platform/safearray.h"
#include "platform/text.h"
#include "registry/ModRegKovar.h"
#include "registry/ModRegVals.h"
#include "registry/class_lookup.h"

namespace kovar3 {
namespace {

using ModRegKovar::HiveFromAbbrev;
using ModRegKovar::HiveSet;
using ModRegKovar::RegistryText;
using ModRegKovar::TrimRegPath;

// A path as the registry will read it, without one backslash at each end.
std::string ReadRegPath(const VARIANT* vRegPath)
{
    return TrimRegPath(RegistryText(ReadParamText(vRegPath)));
}

Variant OptionalText(const std::optional<std::string>& text)
{
    return text ? Variant::Text(*text) : Variant();
}

// The six-element registration record: status, class identifier, ProgID, version-independent
// ProgID, in-process server, local server; Empty where nothing was looked up.
Variant RecordOf(const registry::RegistrationRecord& record, bool failed)
{
    SafeArrayBuilder out(6);
    out.Add(Variant::I2(record.registered && !failed ? 0 : 1));
    out.Add(OptionalText(record.clsid));
    out.Add(OptionalText(record.prog_id));
    out.Add(OptionalText(record.version_independent));
    out.Add(OptionalText(record.inproc_server));
    out.Add(OptionalText(record.local_server));
    return out.Build();
}

// The record on the failure path; a record that cannot even be built leaves the result Empty.
Variant FailedRecord(const registry::RegistrationRecord& record) { return RecordOf(record, true); }

// A list member's work once the hive abbreviation is read: the path is read only for a known
// hive. Gives the status; the list parameter gets an array of texts, or "" on every other
// status.
template <typename ReadPath, typename Enumerate>
Variant ListInto(VARIANT* list_param, const std::string& abbrev, ReadPath read_path,
                 Enumerate enumerate)
{
    const std::optional<HKEY> root = HiveFromAbbrev(abbrev, HiveSet::kExtended);
    if (!root) {
        WriteOutput(list_param, Variant::Text(""));
        return Variant::I2(3);
    }
    const ModRegKovar::NameList listed = enumerate(*root, read_path());
    if (listed.status != ModRegKovar::kListed) {
        WriteOutput(list_param, Variant::Text(""));
        return Variant::I2(listed.status);
    }
    SafeArrayBuilder array(listed.names.size());
    for (const std::string& item : listed.names) array.Add(Variant::Text(item));
    WriteOutput(list_param, array.Build());
    return Variant::I2(0);
}

Variant ListFailed(VARIANT* list_param) noexcept
{
    WriteOutputNoThrow(list_param, Variant::Text(""));
    return Variant::I2(4);
}

}  // namespace

// Status 0 to 3 as a 32-bit integer when the read routine ran; 4 (unknown hive, data left
// alone) and 6 (an error in the member itself) as 16-bit integers.
HRESULT Ops::RegGetValue(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValue, VARIANT* vData,
                         VARIANT* vType, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::optional<HKEY> root =
                HiveFromAbbrev(ReadParamText(vKey), HiveSet::kExtended);
            if (!root) {
                WriteOutput(vType, Variant::Text(""));
                return Variant::I2(4);
            }
            const std::string path = ReadRegPath(vRegPath);
            const std::string name = RegistryText(ReadParamText(vValue));
            const ModRegVals::ReadOutcome read = ModRegVals::RegReadTyped(*root, path, name);
            Variant data;
            try {
                data = ReadDataVariant(read.data);
            } catch (const std::bad_alloc&) {
                WriteOutput(vData, Variant::Text(""));
                WriteOutput(vType, Variant::Text(""));
                return Variant::I4(ModRegVals::kReadError);
            }
            WriteOutput(vData, std::move(data));
            WriteOutput(vType, Variant::Text(read.type));
            return Variant::I4(read.status);
        },
        [&] {
            WriteOutputNoThrow(vType, Variant::Text(""));
            WriteOutputNoThrow(vData, Variant::Text(""));
            return Variant::I2(6);
        });
}

// Everything that can be checked is checked before the key is created: hive 4, empty path 5,
// empty name for a type other than "S"/"X" 6, "D" data not numeric 7, "M"/"B"/"BH" data not an
// array 8, unknown type code 9; the rest (1, 2, 3, 10) comes from the write.
HRESULT Ops::RegWriteValue(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValue, VARIANT* vData,
                           VARIANT* vType, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::optional<HKEY> root = HiveFromAbbrev(ReadParamText(vKey), HiveSet::kBasic);
            if (!root) return Variant::I2(4);
            // A path the registry reads as empty ("\0..." included) would put the value on the
            // root itself; a lone "\" still addresses the root on purpose.
            std::string path = RegistryText(ReadParamText(vRegPath));
            const std::string name = RegistryText(ReadParamText(vValue));
            if (path.empty()) return Variant::I2(5);
            path = TrimRegPath(path);
            const std::string code = UpperAscii(ReadParamText(vType));
            const Variant data = ReadParamValue(vData);
            const bool is_array = (data.type() & VT_ARRAY) != 0;
            if (code == "M" || code == "B" || code == "BH") {
                if (name.empty()) return Variant::I2(6);
                if (!is_array) return Variant::I2(8);
            } else if (code == "D") {
                if (name.empty()) return Variant::I2(6);
                if (!IsNumeric(data.get())) return Variant::I2(7);
            } else if (code != "S" && code != "X") {
                return Variant::I2(9);
            }
            // Converted and checked whole before the key is created.
            ModRegVals::TypedValue value;
            try {
                value = PrepareValue(data.get(), code);
            } catch (const BadBinaryElement&) {
                return Variant::I2(ModRegVals::kBadBinaryElement);
            }
            return Variant::I2(ModRegVals::RegWriteTyped(*root, path, name, value));
        },
        [] { return Variant::I2(10); });
}

HRESULT Ops::RegDeleteVal(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValue, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::optional<HKEY> root = HiveFromAbbrev(ReadParamText(vKey), HiveSet::kBasic);
            if (!root) return Variant::I2(2);
            const std::string path = ReadRegPath(vRegPath);
            const std::string name = RegistryText(ReadParamText(vValue));
            return Variant::I2(ModRegKovar::DeleteValue(*root, path, name));
        },
        [] { return Variant::I2(3); });
}

// Deletes only the key named and what lies below it. A name that the registry would read as
// empty or as the parent itself (one starting with NUL, or made only of backslashes) is refused
// like the empty name, before anything is opened.
HRESULT Ops::RegDeleteSubkey(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vSubKeyName,
                             VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::optional<HKEY> root = HiveFromAbbrev(ReadParamText(vKey), HiveSet::kBasic);
            if (!root) return Variant::I2(3);
            const std::string path = ReadRegPath(vRegPath);
            const std::string name = RegistryText(ReadParamText(vSubKeyName));
            if (name.find_first_not_of('\\') == std::string::npos) return Variant::I2(3);
            return Variant::I2(ModRegKovar::DeleteKeyTree(*root, path, name, ModKovar::OsFamily));
        },
        [] { return Variant::I2(4); });
}

// The hive and the path are read before the trap: a value that cannot be text is the
// caller's error, not a status.
HRESULT Ops::RegListKeys(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vKeyList, VARIANT* result)
{
    std::string key_text;
    std::string path_text;
    const HRESULT read = RunBeforeTrap(L"Ops:RegListKeys", result, [&] {
        key_text = ReadParamText(vKey);
        path_text = ReadParamText(vRegPath);
        return S_OK;
    });
    if (read != S_OK) return read;
    return RunMember(
        result,
        [&] {
            const auto path = [&] { return TrimRegPath(RegistryText(path_text)); };
            return ListInto(vKeyList, key_text, path, ModRegKovar::EnumSubkeyNames);
        },
        [&]() noexcept { return ListFailed(vKeyList); });
}

HRESULT Ops::RegListVals(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValList, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const auto path = [&] { return ReadRegPath(vRegPath); };
            return ListInto(vValList, ReadParamText(vKey), path, ModRegKovar::EnumValueTypes);
        },
        [&]() noexcept { return ListFailed(vValList); });
}

HRESULT Ops::RegListStringData(VARIANT* vKey, VARIANT* vRegPath, VARIANT* vValList, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const auto path = [&] { return ReadRegPath(vRegPath); };
            return ListInto(vValList, ReadParamText(vKey), path, ModRegKovar::EnumStringData);
        },
        [&]() noexcept { return ListFailed(vValList); });
}

HRESULT Ops::GetRegFromCLSID(VARIANT* vCLSID, VARIANT* result)
{
    registry::RegistrationRecord record;
    return RunMember(
        result,
        [&] {
            const std::string clsid = registry::BraceClsid(ReadParamText(vCLSID));
            if (clsid.size() == 38) registry::ClsidLookup(clsid, record);
            return RecordOf(record, false);
        },
        [&] { return FailedRecord(record); });
}

HRESULT Ops::GetRegFromProgID(VARIANT* vProgID, VARIANT* result)
{
    registry::RegistrationRecord record;
    return RunMember(
        result,
        [&] {
            registry::ProgIdLookup(ReadParamText(vProgID), record);
            return RecordOf(record, false);
        },
        [&] { return FailedRecord(record); });
}

// The App Paths entry with its environment references expanded and enclosing quotation marks
// removed, when a file exists there; "" otherwise.
HRESULT Ops::GetEXEPath(VARIANT* exeName, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string stored = registry::AppPathLookup(ReadParamText(exeName));
            const std::string path = registry::ResolveAppPath(stored);
            if (path.empty() || !file_system_.FileExists(path)) return Variant::Text("");
            return Variant::Text(path);
        },
        [] { return Variant::Text(""); });
}

}  // namespace kovar3
