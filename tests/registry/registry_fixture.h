// A key of its own under HKCU for every registry test, removed with everything below it when
// the test ends, and small raw-registry helpers to set up and inspect what the members did.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/unique.h"
#include "platform/variant.h"
#include "support/dispatch_client.h"

namespace kovar3::test {

// The registry as the test sees it, without going through the component.
struct RawRegistry {
    static bool KeyExists(HKEY root, const std::string& path);
    static void CreateKey(HKEY root, const std::string& path);
    static void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                         const std::string& bytes);
    static void SetText(HKEY root, const std::string& path, const std::string& name,
                        const std::string& text, DWORD type = REG_SZ)
    {
        SetValue(root, path, name, type, text + std::string(1, '\0'));
    }
    static void SetDword(HKEY root, const std::string& path, const std::string& name, DWORD value)
    {
        SetValue(root, path, name, REG_DWORD,
                 std::string(reinterpret_cast<const char*>(&value), 4));
    }
    // False when the value is missing; otherwise its type and bytes.
    static bool GetValue(HKEY root, const std::string& path, const std::string& name, DWORD& type,
                         std::string& bytes);
    static void DeleteTree(HKEY root, const std::string& path);
};

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // "Software\Kovar3 Tests\<suite>.<test>", below HKCU.
    const std::string& Path() const { return path_; }
    std::string Sub(const std::string& rest) const { return path_ + "\\" + rest; }

    bool KeyExists(const std::string& path) const
    {
        return RawRegistry::KeyExists(HKEY_CURRENT_USER, path);
    }
    void CreateKey(const std::string& path) const
    {
        RawRegistry::CreateKey(HKEY_CURRENT_USER, path);
    }
    void SetValue(const std::string& name, DWORD type, const std::string& bytes) const
    {
        RawRegistry::SetValue(HKEY_CURRENT_USER, path_, name, type, bytes);
    }
    void SetText(const std::string& name, const std::string& text, DWORD type = REG_SZ) const
    {
        RawRegistry::SetText(HKEY_CURRENT_USER, path_, name, text, type);
    }
    void SetDword(const std::string& name, DWORD value) const
    {
        RawRegistry::SetDword(HKEY_CURRENT_USER, path_, name, value);
    }
    bool GetValue(const std::string& name, DWORD& type, std::string& bytes) const
    {
        return RawRegistry::GetValue(HKEY_CURRENT_USER, path_, name, type, bytes);
    }

    // The Ops object the test calls, created by ProgID as a script creates it.
    IDispatch* ops() const { return ops_.get(); }

private:
    std::string path_;
    ComPtr<IDispatch> ops_;
};

// A VARIANT* for by-reference calls.
inline VARIANT* Ref(Variant& v) { return v.address(); }

// An array of variants with the given lower bound, for writing "M", "B" and "BH" values.
Variant ArrayOfVariants(std::vector<Variant> items, LONG lower_bound = 0);

// The text of a VT_BSTR variant as ANSI bytes, or "<vt N>" for any other type, so that a
// mismatch shows what came back.
std::string Describe(const VARIANT& v);

}  // namespace kovar3::test
