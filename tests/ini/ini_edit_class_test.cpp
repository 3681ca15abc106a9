// INIEdit through IDispatch, as scripts call it: list layouts, the "null" conventions, WIN.INI,
// missing files and hostile arguments.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/variant.h"
#include "support/dispatch_client.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

using namespace std::string_literals;

const std::string kFixture =
    "[values]\r\n"
    "a=1\r\n"
    "empty=\r\n"
    "long=" +
    std::string(300, 'x') +
    "\r\n"
    "[pairs]\r\n"
    "a=1\r\n"
    "b=2\r\n"
    "[nothing]\r\n";

// Read-method result: a string variant, whatever the path.
void ExpectText(const CallOutcome& call, const std::string& expected)
{
    ASSERT_EQ(call.hr, S_OK);
    ASSERT_EQ(call.result.type(), VT_BSTR);
    EXPECT_EQ(AnsiTextOf(call.result.get()), expected);
}

// Write-method result: a Boolean variant, True being -1.
void ExpectBool(const CallOutcome& call, bool expected)
{
    ASSERT_EQ(call.hr, S_OK);
    ASSERT_EQ(call.result.type(), VT_BOOL);
    EXPECT_EQ(V_BOOL(&call.result.get()), expected ? VARIANT_TRUE : VARIANT_FALSE);
}

class IniEditTest : public ::testing::Test {
protected:
    // Calls a member with text arguments, by reference (VBScript) or by value (JScript).
    CallOutcome Call(const wchar_t* member, const std::vector<std::string>& args,
                     bool by_ref = true)
    {
        std::vector<Variant> values;
        for (const std::string& arg : args) values.push_back(Variant::Text(arg));
        return CallWith(member, values, by_ref);
    }

    CallOutcome CallWith(const wchar_t* member, std::vector<Variant>& values, bool by_ref = true)
    {
        if (by_ref) {
            std::vector<VARIANT*> refs;
            for (Variant& v : values) refs.push_back(v.address());
            return CallByRef(ini_.get(), member, refs);
        }
        std::vector<const VARIANT*> plain;
        for (Variant& v : values) plain.push_back(&v.get());
        return CallByValue(ini_.get(), member, plain);
    }

    ComPtr<IDispatch> ini_ = CreateByProgId(L"Kovar3.INIEdit");
    TempFolder temp_;
};

struct ReadCase {
    const wchar_t* member;
    std::vector<std::string> args;  // after the file path
    std::string expected;
};

TEST_F(IniEditTest, ReadsValuesAndListsInThePlatformLayout)
{
    const std::string path = temp_.Write("fixture.ini", kFixture);
    const ReadCase cases[] = {
        {L"GetIniVal", {"values", "a"}, "1"},
        {L"GetIniVal", {"VALUES", "A"}, "1"},
        {L"GetIniVal", {"values", "missing"}, ""},
        {L"GetIniVal", {"values", "empty"}, ""},
        {L"GetIniVal", {"absent", "a"}, ""},
        // 254 characters: the buffer holds 255 including the terminator.
        {L"GetIniVal", {"values", "long"}, std::string(254, 'x')},
        {L"GetIniSectionKeys", {"pairs"}, "a\0b\0"s},
        {L"GetIniSectionKeys", {"nothing"}, ""},
        {L"GetIniSectionKeys", {"absent"}, ""},
        {L"GetIniSectionVals", {"pairs"}, "a=1\0b=2\0"s},
        {L"GetIniSectionVals", {"nothing"}, ""},
        {L"GetIniSectionNames", {}, "values\0pairs\0nothing\0"s},
    };
    for (bool by_ref : {true, false}) {
        for (const ReadCase& c : cases) {
            std::vector<std::string> args{path};
            args.insert(args.end(), c.args.begin(), c.args.end());
            SCOPED_TRACE(::testing::Message() << (by_ref ? "by ref " : "by value ")
                                              << std::string(c.member, c.member + wcslen(c.member))
                                              << " " << (c.args.empty() ? "" : c.args[0]) << " "
                                              << (c.args.size() > 1 ? c.args[1] : ""));
            ExpectText(Call(c.member, args, by_ref), c.expected);
        }
    }
}

TEST_F(IniEditTest, EmptyFileHasNoSections)
{
    const std::string path = temp_.Write("empty.ini", "");
    ExpectText(Call(L"GetIniSectionNames", {path}), "");
    ExpectText(Call(L"GetIniSectionKeys", {path, "any"}), "");
}

TEST_F(IniEditTest, LongListsAreCutByThePlatform)
{
    std::string content = "[big]\r\n";
    for (int i = 0; i < 300; ++i) content += "key" + std::to_string(1000 + i) + "=value\r\n";
    const std::string path = temp_.Write("big.ini", content);
    const CallOutcome keys = Call(L"GetIniSectionKeys", {path, "big"});
    ASSERT_EQ(keys.result.type(), VT_BSTR);
    EXPECT_LE(AnsiTextOf(keys.result.get()).size(), 1022u);
    EXPECT_EQ(AnsiTextOf(keys.result.get()).substr(0, 8), "key1000"s + '\0');
    const CallOutcome lines = Call(L"GetIniSectionVals", {path, "big"});
    EXPECT_LE(AnsiTextOf(lines.result.get()).size(), 4094u);
    EXPECT_GT(AnsiTextOf(lines.result.get()).size(), 4000u);
}

TEST_F(IniEditTest, WritesValuesAndHonoursTheNullWords)
{
    const std::string path = temp_.Write("write.ini", "[keep]\r\nk=1\r\n[gone]\r\nx=1\r\n");
    ExpectBool(Call(L"WriteIniVal", {path, "keep", "new", "value"}), true);
    ExpectText(Call(L"GetIniVal", {path, "keep", "new"}), "value");

    // An ordinary key with the value text null loses that key only.
    ExpectBool(Call(L"WriteIniVal", {path, "keep", "new", "Null"}), true);
    ExpectText(Call(L"GetIniSectionKeys", {path, "keep"}), "k\0"s);

    // The key text null removes the whole section, whatever the value.
    ExpectBool(Call(L"WriteIniVal", {path, "gone", "NULL", "ignored"}), true);
    ExpectText(Call(L"GetIniSectionNames", {path}), "keep\0"s);

    // The section text is never tested: "null" is an ordinary section name.
    ExpectBool(Call(L"WriteIniVal", {path, "null", "k", "v"}), true);
    ExpectText(Call(L"GetIniVal", {path, "null", "k"}), "v");
}

TEST_F(IniEditTest, WriteIniSectionReplacesTheKeys)
{
    const std::string lists[] = {"a=1\0b=2"s, "a=1\0b=2\0"s};
    for (const std::string& list : lists) {
        SCOPED_TRACE(list.size());
        const std::string path = temp_.Write("section.ini", "[s]\r\nold=0\r\n[t]\r\nx=1\r\n");
        ExpectBool(Call(L"WriteIniSection", {path, "s", list}), true);
        ExpectText(Call(L"GetIniSectionVals", {path, "s"}), "a=1\0b=2\0"s);
        ExpectText(Call(L"GetIniSectionVals", {path, "t"}), "x=1\0"s);
        ExpectBool(Call(L"WriteIniSection", {path, "created", list}), true);
        ExpectText(Call(L"GetIniSectionKeys", {path, "created"}), "a\0b\0"s);
    }
}

TEST_F(IniEditTest, MissingFilesAreNeverCreated)
{
    const std::string missing = temp_.Path("missing.ini");
    const std::string in_missing_folder = temp_.Path("no-such-folder\\x.ini");
    for (const std::string& path : {missing, in_missing_folder, temp_.path(), std::string()}) {
        SCOPED_TRACE(path);
        ExpectText(Call(L"GetIniVal", {path, "s", "k"}), "");
        ExpectText(Call(L"GetIniSectionKeys", {path, "s"}), "");
        ExpectText(Call(L"GetIniSectionNames", {path}), "");
        ExpectText(Call(L"GetIniSectionVals", {path, "s"}), "");
        ExpectBool(Call(L"WriteIniVal", {path, "s", "k", "v"}), false);
        ExpectBool(Call(L"WriteIniVal", {path, "s", "null", "null"}), false);
        ExpectBool(Call(L"WriteIniSection", {path, "s", "a=1"}), false);
    }
    EXPECT_FALSE(FileIsThere(missing));
    EXPECT_FALSE(FileIsThere(temp_.Path("no-such-folder")));
}

// A bare file name is tested in the current folder, but the profile calls open that name in
// the Windows folder: the member works only when both exist, and never creates the second.
TEST_F(IniEditTest, BareNameNeedsTheWindowsFolderFileToo)
{
    char windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryA(windows, sizeof windows);
    const std::string name = "kovar3-bare-" + std::to_string(::GetCurrentProcessId()) + ".ini";
    const std::string in_windows = std::string(windows) + "\\" + name;
    char previous[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(temp_.path().c_str()));
    temp_.Write(name, "[s]\r\nk=local\r\n");

    ExpectBool(Call(L"WriteIniVal", {name, "s", "k", "v"}), false);
    ExpectBool(Call(L"WriteIniSection", {name, "s", "a=1"}), false);
    ExpectText(Call(L"GetIniVal", {name, "s", "k"}), "");
    EXPECT_FALSE(FileIsThere(in_windows));

    {
        std::string windows_copy = "[s]\r\nk=windows\r\n";
        FILE* f = fopen(in_windows.c_str(), "wb");
        ASSERT_TRUE(f);
        fwrite(windows_copy.data(), 1, windows_copy.size(), f);
        fclose(f);
    }
    ExpectText(Call(L"GetIniVal", {name, "s", "k"}), "windows");
    ExpectBool(Call(L"WriteIniVal", {name, "s", "k", "new"}), true);
    EXPECT_NE(ReadWholeFile(in_windows).find("k=new"), std::string::npos);
    EXPECT_NE(ReadWholeFile(temp_.Path(name)).find("k=local"), std::string::npos);

    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, in_windows.c_str());  // flush the cache
    ::DeleteFileA(in_windows.c_str());
    ::SetCurrentDirectoryA(previous);
}

TEST_F(IniEditTest, NullOrUnreadableArgumentsGiveTheEmptyResult)
{
    const std::string content = "[s]\r\nk=1\r\n";
    const std::string path = temp_.Write("args.ini", content);
    struct Member {
        const wchar_t* name;
        size_t arity;
        bool writes;
    };
    const Member members[] = {
        {L"GetIniVal", 3, false},          {L"GetIniSectionKeys", 2, false},
        {L"GetIniSectionNames", 1, false}, {L"GetIniSectionVals", 2, false},
        {L"WriteIniVal", 4, true},         {L"WriteIniSection", 3, true},
    };
    for (const Member& m : members) {
        for (size_t hostile = 0; hostile < m.arity; ++hostile) {
            for (bool array : {false, true}) {
                SCOPED_TRACE(::testing::Message()
                             << std::string(m.name, m.name + wcslen(m.name)) << " argument "
                             << hostile << (array ? " array" : " Null"));
                std::vector<Variant> values;
                const std::string texts[] = {path, "s", "k", "v"};
                for (size_t i = 0; i < m.arity; ++i) {
                    if (i != hostile) {
                        values.push_back(Variant::Text(texts[i]));
                    } else if (array) {
                        SAFEARRAY* sa = ::SafeArrayCreateVector(VT_VARIANT, 0, 2);
                        values.push_back(Variant::Array(sa));
                    } else {
                        values.push_back(Null());
                    }
                }
                const CallOutcome call = CallWith(m.name, values);
                if (m.writes)
                    ExpectBool(call, false);
                else
                    ExpectText(call, "");
            }
        }
    }
    EXPECT_EQ(ReadWholeFile(path), content);
}

TEST_F(IniEditTest, HostileTextsNeverCrashOrCreateFiles)
{
    const std::string path = temp_.Write("hostile.ini", "[s]\r\nk=1\r\n");
    const std::string huge(100000, 'h');
    const std::string paths[] = {
        path + "\0.txt"s,     // the platform would see a shorter path
        temp_.Path("*.ini"),  // a pattern names no file
        temp_.Path("?ostile.ini"),
        huge,
        "\\\\?\\" + temp_.Path("nothing.ini"),
        "COM1.ini",  // devices, which a profile call could block on
        temp_.Path("nul.ini"),
        "\\\\.\\pipe\\kovar3",
    };
    for (const std::string& p : paths) {
        SCOPED_TRACE(p.substr(0, 80));
        ExpectText(Call(L"GetIniVal", {p, "s", "k"}), "");
        ExpectBool(Call(L"WriteIniVal", {p, "s", "k", "v"}), false);
        ExpectBool(Call(L"WriteIniSection", {p, "s", "a=1"}), false);
    }
    // Odd sections, keys and values in an existing file work or fail quietly.
    const std::string texts[] = {huge, "", "\0"s, "a\0b"s, "[x]", "=", "\r\n[y]\r\nz=1"};
    for (const std::string& t : texts) {
        SCOPED_TRACE(t.substr(0, 20));
        Call(L"WriteIniVal", {path, t, t, t});
        Call(L"WriteIniSection", {path, t, t});
        ASSERT_EQ(Call(L"GetIniVal", {path, t, t}).result.type(), VT_BSTR);
        ASSERT_EQ(Call(L"GetIniSectionVals", {path, t}).result.type(), VT_BSTR);
    }
    WIN32_FIND_DATAA found{};
    const HANDLE find = ::FindFirstFileA(temp_.Path("*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    int files = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    EXPECT_EQ(files, 1);
}

// WIN.INI is chosen by the path's last component and served by the profile calls, whatever
// folder the path names; there the word null is ordinary text.
class WinIniTest : public IniEditTest {
protected:
    void SetUp() override
    {
        char windows[MAX_PATH + 1] = {};
        ::GetWindowsDirectoryA(windows, sizeof windows);
        system_win_ini_ = std::string(windows) + "\\win.ini";
        saved_ = ReadWholeFile(system_win_ini_);
        ASSERT_TRUE(FileIsThere(system_win_ini_));
    }
    void TearDown() override
    {
        ::WriteProfileStringA(kSection, nullptr, nullptr);
        ::WriteProfileStringA(nullptr, nullptr, nullptr);
        std::ofstream(system_win_ini_, std::ios::binary | std::ios::trunc) << saved_;
    }

    static constexpr const char* kSection = "Kovar3WinIniTest";
    std::string system_win_ini_;
    std::string saved_;
};

TEST_F(WinIniTest, AnyFolderNamedWinIniReachesTheSystemFile)
{
    const std::string path = temp_.Write("Win.Ini", "[s]\r\nk=local copy\r\n");
    ExpectBool(Call(L"WriteIniVal", {path, kSection, "null", "null"}), true);
    ExpectBool(Call(L"WriteIniVal", {path, kSection, "key", "value"}), true);

    char direct[64] = {};
    ::GetProfileStringA(kSection, "null", "", direct, sizeof direct);
    EXPECT_STREQ(direct, "null");
    ExpectText(Call(L"GetIniVal", {path, kSection, "NULL"}), "null");
    ExpectText(Call(L"GetIniSectionKeys", {path, kSection}), "null\0key\0"s);
    ExpectText(Call(L"GetIniSectionVals", {path, kSection}), "null=null\0key=value\0"s);
    const CallOutcome names = Call(L"GetIniSectionNames", {path});
    EXPECT_NE(AnsiTextOf(names.result.get()).find(std::string(kSection) + '\0'), std::string::npos);
    ExpectText(Call(L"GetIniVal", {path, "s", "k"}), "");  // the local copy is not read
    // Windows replaces the section's keys; Wine 8 reports success without writing.
    ExpectBool(Call(L"WriteIniSection", {path, kSection, "a=1\0b=2"s}), true);
    EXPECT_EQ(ReadWholeFile(path), "[s]\r\nk=local copy\r\n");
}

TEST_F(WinIniTest, WinIniThatDoesNotExistIsLeftAlone)
{
    const std::string path = temp_.Path("win.ini");
    ExpectBool(Call(L"WriteIniVal", {path, kSection, "key", "value"}), false);
    ExpectText(Call(L"GetIniSectionNames", {path}), "");
    EXPECT_FALSE(FileIsThere(path));
    char direct[64] = {};
    ::GetProfileStringA(kSection, "key", "", direct, sizeof direct);
    EXPECT_STREQ(direct, "");
}

}  // namespace
}  // namespace kovar3::test
