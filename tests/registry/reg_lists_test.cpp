// RegListKeys, RegListVals, RegListStringData, RegDeleteVal and RegDeleteSubkey through
// IDispatch, and the key-tree deletion of both Windows families.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"
#include "registry/ModRegKovar.h"
#include "registry/registry_fixture.h"
#include "support/expected_platform.h"

namespace kovar3::test {
namespace {

using RegListTest = RegistryTest;
using RegDeleteTest = RegistryTest;
using DeleteKeyTreeTest = RegistryTest;
// The same, for what depends on the family (support/expected_platform.h).
using FamilyRegDeleteTest = RegistryTest;
using FamilyDeleteKeyTreeTest = RegistryTest;

struct ListResult {
    CallOutcome call;
    Variant list;
};

ListResult List(IDispatch* ops, const wchar_t* member, Variant hive, const std::string& path)
{
    ListResult r;
    Variant reg_path = Variant::Text(path);
    r.list = Sentinel();
    r.call = CallByRef(ops, member, {Ref(hive), Ref(reg_path), Ref(r.list)});
    return r;
}

std::vector<std::string> Texts(const VARIANT& list)
{
    std::vector<std::string> out;
    for (const Variant& v : ElementsOf(list)) out.push_back(Describe(v.get()));
    return out;
}

// Value names and types as the registry enumerates them.
std::vector<std::pair<std::string, DWORD>> RawValues(const std::string& path)
{
    std::vector<std::pair<std::string, DWORD>> out;
    RegKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 0;; ++i) {
        char name[1024];
        DWORD length = sizeof name, type = 0;
        if (::RegEnumValueA(key.get(), i, name, &length, nullptr, &type, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        out.emplace_back(std::string(name, length), type);
    }
    return out;
}

short Status(const CallOutcome& call)
{
    EXPECT_EQ(call.hr, S_OK);
    EXPECT_EQ(call.result.type(), VT_I2);
    return V_I2(&call.result.get());
}

TEST_F(RegListTest, ListsInEnumerationOrder)
{
    SetText("Path", "C:\\app");
    SetDword("Flags", 3);
    SetValue("Blob", REG_BINARY, "\x01\x02");
    SetText("Env", "%TEMP%", REG_EXPAND_SZ);
    SetValue("List", REG_MULTI_SZ, std::string("a\0\0", 3));
    SetText("", "the default value is never listed");
    SetText("Empty", "");
    SetText("Long", std::string(255, 'l'));
    SetText("Fits", std::string(254, 'f'));
    SetText("a/b^c", "x^y");  // neither marker nor separator is escaped
    CreateKey(Sub("one"));
    CreateKey(Sub("two"));

    // The registry's own order (Wine keeps values sorted by name; Windows keeps them in the
    // order they were written).
    std::vector<std::string> vals, data;
    for (const auto& [name, type] : RawValues(Path())) {
        if (name.empty()) continue;
        const char* marker = type == REG_SZ          ? "/S"
                             : type == REG_EXPAND_SZ ? "/X"
                             : type == REG_BINARY    ? "/B"
                             : type == REG_DWORD     ? "/D"
                                                     : "/U";
        vals.push_back(name + marker);
        if (name == "Path") data.push_back("Path^C:\\app");
        if (name == "Fits") data.push_back("Fits^" + std::string(254, 'f'));
        if (name == "a/b^c") data.push_back("a/b^c^x^y");
    }
    ASSERT_EQ(vals.size(), 9u);

    ListResult r = List(ops(), L"RegListVals", Variant::Text("HKCU"), Path());
    EXPECT_EQ(Status(r.call), 0);
    EXPECT_EQ(LowerBoundOf(r.list.get()), 0);
    EXPECT_EQ(Texts(r.list.get()), vals);

    r = List(ops(), L"RegListStringData", Variant::Text("hkcu"), "\\" + Path() + "\\");
    EXPECT_EQ(Status(r.call), 0);
    EXPECT_EQ(Texts(r.list.get()), data);

    r = List(ops(), L"RegListKeys", Variant::Text("HKCU"), Path());
    EXPECT_EQ(Status(r.call), 0);
    EXPECT_EQ(Texts(r.list.get()), (std::vector<std::string>{"one", "two"}));
}

// Statuses of the three list members, and the list parameter "" on each of them.
TEST_F(RegListTest, FailureStatuses)
{
    SetText("", "only a default value");
    SetDword("NotText", 1);
    CreateKey(Sub("leaf"));
    struct Case {
        const wchar_t* member;
        const char* hive;
        std::string path;
        short status;
    } const cases[] = {
        {L"RegListKeys", "HKCU", Sub("leaf"), 1},
        {L"RegListKeys", "HKCU", Sub("missing"), 2},
        {L"RegListKeys", "HKCU ", Path(), 3},
        {L"RegListVals", "HKCU", Sub("leaf"), 1},
        {L"RegListVals", "HKCU", Sub("missing"), 2},
        {L"RegListVals", "HKEY_CURRENT_USER", Path(), 3},
        {L"RegListStringData", "HKCU", Sub("leaf"), 1},
        {L"RegListStringData", "HKCU", Path(), 1},  // no REG_SZ value with data
        {L"RegListStringData", "HKCU", Sub("missing"), 2},
        {L"RegListStringData", "HKLM\\", Path(), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToAnsi(c.member) + " " + c.hive + " " + c.path);
        const ListResult r = List(ops(), c.member, Variant::Text(c.hive), c.path);
        EXPECT_EQ(Status(r.call), c.status);
        EXPECT_EQ(Describe(r.list.get()), "");
    }
    // A key with only a default value has no named values.
    const ListResult r = List(ops(), L"RegListVals", Variant::Text("HKCU"), Path());
    EXPECT_EQ(Texts(r.list.get()), (std::vector<std::string>{"NotText/D"}));
}

TEST_F(RegListTest, ExtendedHivesAndTheRoot)
{
    for (const char* hive : {"HKCC", "hkdd", "HKU"}) {
        const ListResult r = List(ops(), L"RegListKeys", Variant::Text(hive), "");
        EXPECT_NE(Status(r.call), 3) << hive;
    }
    // The empty path and a lone backslash both list the root itself.
    const ListResult empty = List(ops(), L"RegListKeys", Variant::Text("HKCU"), "");
    const ListResult slash = List(ops(), L"RegListKeys", Variant::Text("HKCU"), "\\");
    EXPECT_EQ(Status(empty.call), 0);
    EXPECT_EQ(Texts(empty.list.get()), Texts(slash.list.get()));
}

TEST_F(RegListTest, NullHiveIsTheCallersErrorOnlyForRegListKeys)
{
    // RegListKeys reads its hive before its trap: an automation error reaches the caller.
    ListResult r = List(ops(), L"RegListKeys", Null(), Path());
    EXPECT_EQ(r.call.hr, DISP_E_EXCEPTION);
    EXPECT_TRUE(IsSentinel(r.list.get()));
    // The others trap it: status 4 and "".
    for (const wchar_t* member : {L"RegListVals", L"RegListStringData"}) {
        r = List(ops(), member, Null(), Path());
        EXPECT_EQ(Status(r.call), 4);
        EXPECT_EQ(Describe(r.list.get()), "");
    }
    // An array as the path: the same split.
    Variant array = ArrayOfVariants({});
    Variant hive = Variant::Text("HKCU"), list = Sentinel();
    CallOutcome call = CallByRef(ops(), L"RegListKeys", {Ref(hive), Ref(array), Ref(list)});
    EXPECT_EQ(call.hr, DISP_E_EXCEPTION);
    call = CallByRef(ops(), L"RegListVals", {Ref(hive), Ref(array), Ref(list)});
    EXPECT_EQ(Status(call), 4);
}

TEST_F(RegListTest, ManySubkeysAndValues)
{
    for (int i = 0; i < 300; ++i) {
        CreateKey(Sub("k" + std::to_string(i)));
        SetDword("value number " + std::to_string(i) + std::string(i % 50, '.'), i);
    }
    ListResult r = List(ops(), L"RegListKeys", Variant::Text("HKCU"), Path());
    EXPECT_EQ(ElementsOf(r.list.get()).size(), 300u);
    r = List(ops(), L"RegListVals", Variant::Text("HKCU"), Path());
    EXPECT_EQ(ElementsOf(r.list.get()).size(), 300u);
}

short CallDelete(IDispatch* ops, const wchar_t* member, const std::string& hive,
                 const std::string& path, const std::string& name)
{
    Variant key = Variant::Text(hive), reg_path = Variant::Text(path), third = Variant::Text(name);
    return Status(CallByRef(ops, member, {Ref(key), Ref(reg_path), Ref(third)}));
}

TEST_F(RegDeleteTest, RegDeleteVal)
{
    SetText("v", "x");
    SetText("", "default");
    EXPECT_EQ(CallDelete(ops(), L"RegDeleteVal", "HKCC", Path(), "v"), 2);
    EXPECT_EQ(CallDelete(ops(), L"RegDeleteVal", "HKCU", Path(), "v"), 0);
    EXPECT_EQ(CallDelete(ops(), L"RegDeleteVal", "HKCU", Path(), "v"), 1);
    EXPECT_EQ(CallDelete(ops(), L"RegDeleteVal", "HKCU", Sub("missing"), "v"), 1);
    EXPECT_EQ(CallDelete(ops(), L"RegDeleteVal", "HKCU", "\\" + Path() + "\\", ""), 0);
    DWORD type;
    std::string bytes;
    EXPECT_FALSE(GetValue("", type, bytes));
    Variant key = Variant::Text("HKCU"), reg_path = Null(), name = Variant::Text("v");
    EXPECT_EQ(Status(CallByRef(ops(), L"RegDeleteVal", {Ref(key), Ref(reg_path), Ref(name)})), 3);
}

// Names that would reach the parent itself are refused like the empty name, and nothing below
// the parent is touched.
TEST_F(RegDeleteTest, RegDeleteSubkeyRefusesNamesThatAreNotAKey)
{
    CreateKey(Sub("keep\\below"));
    const std::string names[] = {"", std::string(1, '\0'), std::string("\0abc", 4), "\\", "\\\\\\"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name.size());
        EXPECT_EQ(CallDelete(ops(), L"RegDeleteSubkey", "HKCU", Path(), name), 3);
        EXPECT_TRUE(KeyExists(Sub("keep\\below")));
    }
    EXPECT_EQ(CallDelete(ops(), L"RegDeleteSubkey", "HKCC", Path(), "keep"), 3);
    EXPECT_EQ(CallDelete(ops(), L"RegDeleteSubkey", "HKDD", Path(), "keep"), 3);
    Variant key = Variant::Text("HKCU"), reg_path = Variant::Text(Path()), name = Null();
    EXPECT_EQ(Status(CallByRef(ops(), L"RegDeleteSubkey", {Ref(key), Ref(reg_path), Ref(name)})),
              4);
    EXPECT_TRUE(KeyExists(Sub("keep\\below")));
}

// The Ops object detects the family itself: this runs once as an NT program and once as a
// program Wine reports as Windows 98.
TEST_F(FamilyRegDeleteTest, RegDeleteSubkeyFollowsTheFamily)
{
    CreateKey(Sub("leaf"));
    // A chain: Wine's Windows 98 emulation of RegDeleteKeyA stops at a key with two subkeys
    // (it does not reset the name length between them); Windows 98 does not.
    CreateKey(Sub("tree\\a\\b\\c"));
    SetText("kept", "x");

    EXPECT_EQ(CallDelete(ops(), L"RegDeleteSubkey", "HKCU", "\\" + Path() + "\\", "leaf"), 0);
    EXPECT_FALSE(KeyExists(Sub("leaf")));
    if (ExpectWin98Family()) {
        // One RegDeleteKeyA, which takes the subtree with it there (Wine does the same for a
        // program it reports as Windows 98).
        EXPECT_EQ(CallDelete(ops(), L"RegDeleteSubkey", "HKCU", Path(), "missing"), 2);
    } else {
        EXPECT_EQ(CallDelete(ops(), L"RegDeleteSubkey", "HKCU", Path(), "missing"), 1);
    }
    EXPECT_EQ(CallDelete(ops(), L"RegDeleteSubkey", "HKCU", Path(), "tree"), 0);
    EXPECT_FALSE(KeyExists(Sub("tree")));
    EXPECT_TRUE(KeyExists(Path()));
    DWORD type;
    std::string bytes;
    EXPECT_TRUE(GetValue("kept", type, bytes));
}

// DeleteKeyTree called directly, with the family flag chosen by the test.
TEST_F(DeleteKeyTreeTest, NtFamilyDeletesDepthFirstAndStopsAtTheFirstFailure)
{
    for (const char* key : {"t\\a\\a1\\a2", "t\\a\\b1", "t\\b", "t\\c\\c1"}) CreateKey(Sub(key));
    EXPECT_EQ(ModRegKovar::DeleteKeyTree(HKEY_CURRENT_USER, Path(), "t", 1), 0);
    EXPECT_FALSE(KeyExists(Sub("t")));
    EXPECT_EQ(ModRegKovar::DeleteKeyTree(HKEY_CURRENT_USER, Path(), "t", 1), 1);

    // A key directly below the root (empty parent path) is found by its name alone.
    RawRegistry::CreateKey(HKEY_CURRENT_USER, "Kovar3 Root Test\\sub");
    EXPECT_EQ(ModRegKovar::DeleteKeyTree(HKEY_CURRENT_USER, "", "Kovar3 Root Test", 1), 0);
    EXPECT_FALSE(RawRegistry::KeyExists(HKEY_CURRENT_USER, "Kovar3 Root Test"));
}

TEST_F(FamilyDeleteKeyTreeTest, OtherFamilyMakesOneCall)
{
    for (short family : {0, -1}) {
        CreateKey(Sub("t\\a"));
        if (ExpectWin98Family()) {
            // A Windows 98 program's RegDeleteKeyA deletes the subtree too.
            EXPECT_EQ(ModRegKovar::DeleteKeyTree(HKEY_CURRENT_USER, Path(), "t", family), 0);
            EXPECT_FALSE(KeyExists(Sub("t")));
            continue;
        }
        // On the NT registry one call cannot delete a key that has subkeys.
        EXPECT_EQ(ModRegKovar::DeleteKeyTree(HKEY_CURRENT_USER, Path(), "t", family), 2);
        EXPECT_TRUE(KeyExists(Sub("t\\a")));
        EXPECT_EQ(ModRegKovar::DeleteKeyTree(HKEY_CURRENT_USER, Sub("t"), "a", family), 0);
        EXPECT_EQ(ModRegKovar::DeleteKeyTree(HKEY_CURRENT_USER, Path(), "missing", family), 2);
        EXPECT_EQ(ModRegKovar::DeleteKeyTree(HKEY_CURRENT_USER, Path(), "t", family), 0);
    }
}

}  // namespace
}  // namespace kovar3::test
