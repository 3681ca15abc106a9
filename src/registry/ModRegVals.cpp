#include "registry/ModRegVals.h"

#include <cstring>
#include <vector>

#include "platform/environment.h"
#include "platform/registry_text.h"
#include "platform/unique.h"

namespace kovar3::ModRegVals {
namespace {

ReadOutcome Outcome(long status, ReadData data, const char* type)
{
    return {status, std::move(data), type};
}

ReadOutcome Failed(long status, const char* type) { return Outcome(status, std::string(), type); }

// Queries `name` again into a buffer of `capacity` bytes; the size read replaces `size`.
LONG QueryInto(HKEY key, const std::string& name, std::vector<char>& buffer, DWORD capacity,
               DWORD& size)
{
    buffer.assign(capacity, '\0');
    DWORD type = REG_NONE;
    size = capacity;
    return ::RegQueryValueExA(key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
}

// The pieces between the NUL characters of a multi-string's first (size - 1) bytes. The list
// ends in two NULs of which only the last is dropped, so the last piece is always "".
Pieces MultiStringPieces(const char* bytes, DWORD size)
{
    Pieces pieces;
    const char* start = bytes;
    const char* end = bytes + size - 1;
    for (const char* p = start; p < end; ++p) {
        if (*p == '\0') {
            pieces.emplace_back(start, p);
            start = p + 1;
        }
    }
    pieces.emplace_back(start, end);
    return pieces;
}

// Reads a value whose first query into the 255-byte buffer gave `result`, `type` and `size`.
ReadOutcome ReadByType(HKEY key, const std::string& name, LONG result, DWORD type, DWORD size,
                       const char* text)
{
    switch (type) {
    case REG_SZ:
        if (result != ERROR_SUCCESS) return Failed(kCannotRead, "S");
        if (size < 2) return Failed(kNoData, "S");
        return Outcome(kRead, std::string(text, size - 1), "S");

    case REG_EXPAND_SZ: {
        if (result != ERROR_SUCCESS) return Failed(kCannotRead, "S");
        if (size < 2) return Failed(kNoData, "S");
        std::string expanded;
        if (!ExpandEnvironment(std::string(text, size - 1), expanded)) return Failed(kNoData, "S");
        return Outcome(kRead, std::move(expanded), "S");
    }

    case REG_DWORD: {
        // The value is read into 4 bytes: stored data longer than that does not fit.
        if (result != ERROR_SUCCESS || size > sizeof(DWORD)) return Failed(kCannotRead, "D");
        if (size < 1) return Failed(kNoData, "D");
        DWORD number = 0;
        std::memcpy(&number, text, size);
        return Outcome(kRead, static_cast<long>(number), "D");
    }

    case REG_BINARY: {
        std::vector<char> bytes(text, text + (result == ERROR_SUCCESS ? size : 0));
        if (result == ERROR_MORE_DATA) result = QueryInto(key, name, bytes, size, size);
        if (result != ERROR_SUCCESS) return Failed(kCannotRead, "B");
        if (size < 1) return Failed(kNoData, "B");
        return Outcome(kRead, Bytes(bytes.begin(), bytes.begin() + size), "B");
    }

    case REG_MULTI_SZ: {
        std::vector<char> bytes(text, text + (result == ERROR_SUCCESS ? size : 0));
        // One byte more than the data needs, all NUL, so the last piece always ends.
        if (result == ERROR_MORE_DATA) result = QueryInto(key, name, bytes, size + 1, size);
        if (result != ERROR_SUCCESS) return Failed(kCannotRead, "M");
        if (size < 2) return Failed(kNoData, "M");
        return Outcome(kRead, MultiStringPieces(bytes.data(), size), "M");
    }

    default:  // REG_NONE (which a missing value also gives), REG_LINK, REG_QWORD, ...
        return Failed(kNoSuchValue, "");
    }
}

// The default value: a REG_SZ one is read through the 255-byte buffer and anything that
// keeps it from being read is status 1; one of another type is read by its type like a named
// value. A missing or empty default value is status 1 with type "S".
ReadOutcome ReadDefault(HKEY key, LONG result, DWORD type, DWORD size, const char* text)
{
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return Failed(kNoData, "S");
    if (type == REG_SZ) {
        if (result != ERROR_SUCCESS || size < 2) return Failed(kNoData, "S");
        return Outcome(kRead, std::string(text, size - 1), "S");
    }
    ReadOutcome outcome = ReadByType(key, "", result, type, size, text);
    if (outcome.status == kNoData || (type == REG_NONE && size == 0)) return Failed(kNoData, "S");
    return outcome;
}

}  // namespace

ReadOutcome RegReadTyped(HKEY root, const std::string& path, const std::string& name) noexcept
{
    try {
        RegKey key;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
            return Failed(kCannotOpenKey, "");
        // One query gives the type, the size, and the data when it fits the text buffer; a
        // multi-string or binary value that does not fit is read again at its own size.
        char text[kRegTextBuffer] = {};
        DWORD type = REG_NONE;
        DWORD size = kRegTextBuffer;
        const LONG result = ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                                               reinterpret_cast<BYTE*>(text), &size);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) size = 0;
        if (name.empty()) return ReadDefault(key.get(), result, type, size, text);
        return ReadByType(key.get(), name, result, type, size, text);
    } catch (...) {
        return Failed(kReadError, "");
    }
}

short RegWriteTyped(HKEY root, const std::string& path, const std::string& name,
                    const TypedValue& value) noexcept
{
    try {
        RegKey key;
        SECURITY_ATTRIBUTES security{};
        DWORD disposition = 0;
        char no_class[] = "";
        if (::RegCreateKeyExA(root, path.c_str(), 0, no_class, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, &security, key.put(), &disposition) != ERROR_SUCCESS)
            return kCannotCreateKey;
        // An empty binary array has no byte to write.
        if (value.kind == REG_BINARY && value.bytes.empty()) return kWriteError;
        if (value.bytes.size() > MAXDWORD) return kWriteError;
        const LONG result = ::RegSetValueExA(key.get(), name.c_str(), 0, value.kind,
                                             reinterpret_cast<const BYTE*>(value.bytes.data()),
                                             static_cast<DWORD>(value.bytes.size()));
        return result == ERROR_SUCCESS ? kWritten : kCannotWrite;
    } catch (...) {
        return kWriteError;
    }
}

}  // namespace kovar3::ModRegVals
