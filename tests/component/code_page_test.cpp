// Text at the code-page boundary, through IDispatch as a script calls: a name the ANSI code
// page cannot hold ends the member in its failure answer and reaches nothing, least of all the
// look-alike the platform's best fit would make of it ("z" for U+017A, "??" for CJK); in a
// double-byte code page a character whose second byte is 0x5C stays one character.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini/ModIniEdit.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "registry/ModRegKovar.h"
#include "registry/registry_fixture.h"
#include "support/code_page.h"
#include "support/dispatch_client.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

struct LookAlike {
    const wchar_t* name;  // what the script names
    const char* ansi;     // what the platform's best fit would make of it
};

const LookAlike kLookAlikes[] = {
    {L"\u017A", "z"},
    {L"\u65E5\u672C", "??"},
};

std::string Trace(const LookAlike& c) { return std::string("look-alike ") + c.ansi; }

class CodePageBoundary : public RegistryTest {
protected:
    static void ExpectStatus(const CallOutcome& call, short status)
    {
        ASSERT_EQ(call.hr, S_OK);
        ASSERT_EQ(call.result.type(), VT_I2);
        EXPECT_EQ(V_I2(&call.result.get()), status);
    }
    std::string Text(const std::string& name) const
    {
        DWORD type = 0;
        std::string bytes;
        if (!GetValue(name, type, bytes)) return "<missing>";
        return CutAtNul(bytes.data(), bytes.size());
    }
};

TEST_F(CodePageBoundary, RegistryNamesAndDataReachNothing)
{
    const std::wstring path = FromAnsi(Path());
    for (const LookAlike& c : kLookAlikes) {
        SCOPED_TRACE(Trace(c));
        if (CodePageHolds(c.name)) continue;
        SetText(c.ansi, "look-alike");
        CreateKey(Sub(c.ansi));

        // Writing: the value name, the key path and the data.
        std::vector<Variant> write = TextArgs({L"HKCU", path, c.name, L"new", L"S"});
        ExpectStatus(CallByRef(ops(), L"RegWriteValue", write), 10);
        EXPECT_EQ(Text(c.ansi), "look-alike");
        write = TextArgs({L"HKCU", path + L"\\" + c.name, L"v", L"new", L"S"});
        ExpectStatus(CallByRef(ops(), L"RegWriteValue", write), 10);
        DWORD type = 0;
        std::string bytes;
        EXPECT_FALSE(RawRegistry::GetValue(HKEY_CURRENT_USER, Sub(c.ansi), "v", type, bytes));
        write = TextArgs({L"HKCU", path, L"data", c.name, L"S"});
        ExpectStatus(CallByRef(ops(), L"RegWriteValue", write), 10);
        EXPECT_EQ(Text("data"), "<missing>");

        // Reading gives the failure outputs, not the look-alike's data.
        std::vector<Variant> read = TextArgs({L"HKCU", path, c.name});
        read.push_back(Sentinel());
        read.push_back(Sentinel());
        ExpectStatus(CallByRef(ops(), L"RegGetValue", read), 6);
        EXPECT_EQ(TextOf(read[3].get()), L"");
        EXPECT_EQ(TextOf(read[4].get()), L"");

        // Deleting: neither the look-alike value nor the look-alike key goes.
        std::vector<Variant> del = TextArgs({L"HKCU", path, c.name});
        ExpectStatus(CallByRef(ops(), L"RegDeleteVal", del), 3);
        EXPECT_EQ(Text(c.ansi), "look-alike");
        del = TextArgs({L"HKCU", path, c.name});
        ExpectStatus(CallByRef(ops(), L"RegDeleteSubkey", del), 4);
        EXPECT_TRUE(KeyExists(Sub(c.ansi)));

        // RegListKeys reads its path before its trap: the script gets error 5.
        std::vector<Variant> list = TextArgs({L"HKCU", path + L"\\" + c.name});
        list.push_back(Sentinel());
        const CallOutcome listed = CallByRef(ops(), L"RegListKeys", list);
        EXPECT_EQ(listed.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(listed.scode, kTextOutsideCodePage);
        EXPECT_TRUE(IsSentinel(list[2].get()));
    }
}

TEST_F(CodePageBoundary, IniAndExecutableFilesAreNotReached)
{
    TempFolder temp;
    char system[MAX_PATH + 1] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string kernel32 = std::string(system) + "\\kernel32.dll";
    ComPtr<IDispatch> ini = CreateByProgId(L"Kovar3.INIEdit");
    const std::wstring folder = FromAnsi(temp.path()) + L"\\";
    for (const LookAlike& c : kLookAlikes) {
        SCOPED_TRACE(Trace(c));
        if (CodePageHolds(c.name)) continue;
        // "?" cannot be part of a file name: the CJK look-alike names no file at all.
        const bool nameable = std::string(c.ansi).find('?') == std::string::npos;
        const std::string ini_look_alike = temp.Path(std::string(c.ansi) + "cp.ini");
        const std::string pe_look_alike = temp.Path(std::string(c.ansi) + "pe.dll");
        if (nameable) {
            temp.Write(std::string(c.ansi) + "cp.ini", "[s]\r\nk=old\r\n");
            ASSERT_TRUE(::CopyFileA(kernel32.c_str(), pe_look_alike.c_str(), FALSE));
        }
        const std::wstring ini_path = folder + c.name + L"cp.ini";

        std::vector<Variant> write = TextArgs({ini_path, L"s", L"k", L"new"});
        CallOutcome call = CallByRef(ini.get(), L"WriteIniVal", write);
        ASSERT_EQ(call.result.type(), VT_BOOL);
        EXPECT_EQ(V_BOOL(&call.result.get()), VARIANT_FALSE);
        std::vector<Variant> read = TextArgs({ini_path, L"s", L"k"});
        call = CallByRef(ini.get(), L"GetIniVal", read);
        EXPECT_EQ(TextOf(call.result.get()), L"");
        if (nameable) {
            EXPECT_EQ(ReadWholeFile(ini_look_alike), "[s]\r\nk=old\r\n");
        }
        EXPECT_EQ(::GetFileAttributesW(ini_path.c_str()), INVALID_FILE_ATTRIBUTES);

        std::vector<Variant> pe = TextArgs({folder + c.name + L"pe.dll"});
        call = CallByRef(ops(), L"GetPEFile", pe);
        EXPECT_EQ(call.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(call.scode, kTextOutsideCodePage);
        EXPECT_EQ(call.source, L"Ops:GetPEFile");
    }
}

TEST_F(CodePageBoundary, TextTheCodePageHoldsWorksAsBefore)
{
    const std::wstring cafe = L"caf\u00E9";
    if (!CodePageHolds(cafe)) GTEST_SKIP() << "code page " << ::GetACP() << " lacks e acute";
    const std::string ansi = ToAnsi(cafe);
    std::vector<Variant> write =
        TextArgs({L"HKCU", FromAnsi(Path()) + L"\\" + cafe, cafe, cafe, L"S"});
    ExpectStatus(CallByRef(ops(), L"RegWriteValue", write), 0);
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(RawRegistry::GetValue(HKEY_CURRENT_USER, Sub(ansi), ansi, type, bytes));
    EXPECT_EQ(bytes, ansi + '\0');
    std::vector<Variant> read = TextArgs({L"HKCU", FromAnsi(Path()) + L"\\" + cafe, cafe});
    read.push_back(Sentinel());
    read.push_back(Sentinel());
    const CallOutcome call = CallByRef(ops(), L"RegGetValue", read);
    ASSERT_EQ(call.result.type(), VT_I4);
    EXPECT_EQ(V_I4(&call.result.get()), 0);
    EXPECT_EQ(TextOf(read[3].get()), cafe);

    TempFolder temp;
    temp.Write(ansi + ".ini", "[s]\r\n");
    ComPtr<IDispatch> ini = CreateByProgId(L"Kovar3.INIEdit");
    const std::wstring ini_path = FromAnsi(temp.Path(ansi + ".ini"));
    std::vector<Variant> write_ini = TextArgs({ini_path, cafe, cafe, cafe});
    EXPECT_EQ(V_BOOL(&CallByRef(ini.get(), L"WriteIniVal", write_ini).result.get()), VARIANT_TRUE);
    std::vector<Variant> read_ini = TextArgs({ini_path, cafe, cafe});
    EXPECT_EQ(TextOf(CallByRef(ini.get(), L"GetIniVal", read_ini).result.get()), cafe);
}

// The first CJK character whose ANSI form is two bytes, the second satisfying `second`; "" when
// the code page has none.
template <typename Second>
std::wstring FindDoubleByte(Second second)
{
    for (wchar_t c = 0x4E00; c < 0x9FA0; ++c) {
        const std::wstring text(1, c);
        if (!CodePageHolds(text)) continue;
        const std::string ansi = ToAnsi(text);
        if (ansi.size() == 2 && second(ansi[1])) return text;
    }
    return std::wstring();
}

// Run by scripts/test.sh in the Japanese locale (code page 932); skipped in single-byte code
// pages.
class DoubleByteCodePage : public CodePageBoundary {
protected:
    void SetUp() override
    {
        CodePageBoundary::SetUp();
        if (const unsigned expected = ExpectedCodePage()) {
            ASSERT_EQ(::GetACP(), expected);
        }
        if (!IsDoubleByteCodePage()) GTEST_SKIP() << "code page " << ::GetACP();
        backslash_ = FindDoubleByte([](char b) { return b == '\\'; });  // U+8868 in 932
        ASSERT_FALSE(backslash_.empty());
    }
    std::wstring backslash_;  // a character whose second byte is 0x5C
};

TEST_F(DoubleByteCodePage, TextIsLookedAtByCharacter)
{
    const std::string hyo = ToAnsi(backslash_);
    EXPECT_EQ(FindLastAnsiChar(hyo, "\\"), std::string::npos);
    EXPECT_EQ(FindFirstAnsiChar("a" + hyo + "\\b", "\\"), 3u);
    EXPECT_FALSE(EndsWithAnsiChar("x\\" + hyo, "\\"));
    EXPECT_EQ(ModRegKovar::TrimRegPath("\\a\\" + hyo + "\\"), "a\\" + hyo);
    EXPECT_EQ(ModRegKovar::TrimRegPath("a\\" + hyo), "a\\" + hyo);
    EXPECT_FALSE(ModIniEdit::IsWinIni(hyo + "win.ini"));
    EXPECT_TRUE(ModIniEdit::IsWinIni("C:\\" + hyo + "\\WIN.ini"));
    EXPECT_EQ(ModIniEdit::ProfileTarget(hyo + "win.ini").substr(1, 2), ":\\");

    // Upper-casing leaves the second byte of a character alone, even when it is a letter.
    const std::wstring letter = FindDoubleByte([](char b) { return b >= 'a' && b <= 'z'; });
    ASSERT_FALSE(letter.empty());
    EXPECT_EQ(UpperAscii(ToAnsi(letter) + "a"), ToAnsi(letter) + "A");
}

TEST_F(DoubleByteCodePage, RegistryKeyIsReachedExactly)
{
    // The key's name ends in the byte 0x5C; a trailing backslash after it still goes.
    const std::wstring key = FromAnsi(Path()) + L"\\" + backslash_;
    for (const std::wstring& path : {key, key + L"\\"}) {
        std::vector<Variant> write = TextArgs({L"HKCU", path, L"v", L"data", L"S"});
        ExpectStatus(CallByRef(ops(), L"RegWriteValue", write), 0);
        wchar_t data[16] = {};
        DWORD size = sizeof data;
        EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"v", RRF_RT_REG_SZ, nullptr, data,
                                 &size),
                  ERROR_SUCCESS);
        EXPECT_STREQ(data, L"data");
    }
    std::vector<Variant> list = TextArgs({L"HKCU", FromAnsi(Path())});
    list.push_back(Sentinel());
    ExpectStatus(CallByRef(ops(), L"RegListKeys", list), 0);
    const std::vector<Variant> names = ElementsOf(list[2].get());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(TextOf(names[0].get()), backslash_);

    std::vector<Variant> del = TextArgs({L"HKCU", FromAnsi(Path()), backslash_});
    ExpectStatus(CallByRef(ops(), L"RegDeleteSubkey", del), 0);
    EXPECT_TRUE(KeyExists(Path()));
    HKEY gone = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &gone), ERROR_SUCCESS);
}

TEST_F(DoubleByteCodePage, FileNamesAreSplitByCharacter)
{
    TempFolder temp;
    const std::string hyo = ToAnsi(backslash_);

    // A file named like WIN.INI after the character is that file, not WIN.INI.
    char windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string win_ini = std::string(windows) + "\\win.ini";
    const std::string win_ini_before = ReadWholeFile(win_ini);
    struct Restore {  // puts WIN.INI back should the write reach it after all
        const std::string& path;
        const std::string& content;
        ~Restore()
        {
            if (ReadWholeFile(path) != content) ::WriteProfileStringA("kovar3", nullptr, nullptr);
        }
    } restore{win_ini, win_ini_before};
    const std::string named = temp.Write(hyo + "win.ini", "[s]\r\n");
    ComPtr<IDispatch> ini = CreateByProgId(L"Kovar3.INIEdit");
    std::vector<Variant> write = TextArgs({FromAnsi(named), L"kovar3", L"k", L"v"});
    const CallOutcome call = CallByRef(ini.get(), L"WriteIniVal", write);
    ASSERT_EQ(call.result.type(), VT_BOOL);
    EXPECT_EQ(V_BOOL(&call.result.get()), VARIANT_TRUE);
    EXPECT_NE(ReadWholeFile(named).find("[kovar3]"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(win_ini), win_ini_before);

    // An executable named like a device after the character is a file.
    char system[MAX_PATH + 1] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string dll = temp.Path(hyo + "con.dll");
    ASSERT_TRUE(::CopyFileA((std::string(system) + "\\kernel32.dll").c_str(), dll.c_str(), FALSE));
    std::vector<Variant> pe = TextArgs({FromAnsi(dll)});
    const CallOutcome described = CallByRef(ops(), L"GetPEFile", pe);
    ASSERT_EQ(described.hr, S_OK);
    ASSERT_EQ(described.result.type(), VT_DISPATCH);
    std::vector<Variant> none;
    const CallOutcome name = CallByRef(V_DISPATCH(&described.result.get()), L"Name", none);
    EXPECT_EQ(TextOf(name.result.get()), backslash_ + L"con.dll");
}

}  // namespace
}  // namespace kovar3::test
