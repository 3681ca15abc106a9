// INIEdit through IDispatch, as scripts call it: list layouts, the "null" conventions, WIN.INI,
// missing files and hostile arguments.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
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
    std::string(300, 'x') + "\r\nv253=" + std::string(253, 'x') +
    "\r\nv254=" + std::string(254, 'x') + "\r\nv600=" + std::string(600, 'x') +
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

// Writes that would add a line to the file, or a key that could not be read back: each is
// refused before anything is written.
struct WriteCase {
    const wchar_t* member;
    std::vector<std::string> args;  // after the file path
};
const WriteCase kRefusedWrites[] = {
    {L"WriteIniVal", {"app", "user", "eve\r\n[admin]\r\nallowed=yes"}},
    {L"WriteIniVal", {"app", "user", "eve\n[admin]"}},
    {L"WriteIniVal", {"app", "user", "eve\r"}},
    {L"WriteIniVal", {"app\r\n[admin]", "allowed", "yes"}},
    {L"WriteIniVal", {"app", "x\r\n[admin]\r\nallowed", "yes"}},
    {L"WriteIniVal", {"app", "k=evil", "v"}},  // would read back as the key "k"
    {L"WriteIniVal", {"app", "[admin]", ""}},  // would read back as a section header
    {L"WriteIniVal", {"app", " \t[admin]", "x"}},
    {L"WriteIniVal", {"app", "null", "x\ny"}},  // deleting a section, with a line break
    {L"WriteIniSection", {"app", "a=1\0b=2\r\n[admin]\r\nallowed=yes"s}},
    {L"WriteIniSection", {"app", "a=1\n"}},
    {L"WriteIniSection", {"app\n", "a=1"}},
    {L"WriteIniSection", {"app", "a=1\0[admin]\0allowed=yes"s}},
    // Longer than the platform's conversion of a name or value can take.
    {L"WriteIniVal", {"app", "user", std::string(32767, 'v')}},
    {L"WriteIniVal", {std::string(32767, 's'), "k", "v"}},
    {L"WriteIniSection", {std::string(32767, 's'), "a=1"}},
};

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

    // Makes every write of kRefusedWrites on `path`; each must answer False.
    void ExpectAllRefused(const std::string& path)
    {
        for (const WriteCase& c : kRefusedWrites) {
            std::vector<std::string> args{path};
            args.insert(args.end(), c.args.begin(), c.args.end());
            SCOPED_TRACE(::testing::Message() << std::string(c.member, c.member + wcslen(c.member))
                                              << " " << c.args[0] << " " << c.args[1]);
            ExpectBool(Call(c.member, args), false);
        }
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
        // Whole, also past the first buffer of 255 characters; 254 is the count that a cut
        // value would give too.
        {L"GetIniVal", {"values", "v253"}, std::string(253, 'x')},
        {L"GetIniVal", {"values", "v254"}, std::string(254, 'x')},
        {L"GetIniVal", {"values", "long"}, std::string(300, 'x')},
        {L"GetIniVal", {"values", "v600"}, std::string(600, 'x')},
        {L"GetIniSectionKeys", {"pairs"}, "a\0b\0"s},
        {L"GetIniSectionKeys", {"nothing"}, ""},
        {L"GetIniSectionKeys", {"absent"}, ""},
        {L"GetIniSectionVals", {"pairs"}, "a=1\0b=2\0"s},
        {L"GetIniSectionVals", {"nothing"}, ""},
        {L"GetIniSectionNames", {}, "values\0pairs\0nothing\0"s},
        {L"GetIniSectionVals",
         {"values"},
         "a=1\0empty=\0long="s + std::string(300, 'x') + "\0v253="s + std::string(253, 'x') +
             "\0v254="s + std::string(254, 'x') + "\0v600="s + std::string(600, 'x') + '\0'},
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

// Entries that the platform lists as exactly `total` characters, each entry's NUL counted:
// 9-character entries, the last one longer to make up the rest. As lines they read
// "k000001=v"; as names "k00000001".
std::vector<std::string> EntriesFilling(size_t total, bool lines)
{
    std::vector<std::string> entries;
    size_t used = 0;
    while (total - used >= 20) {
        char entry[16];
        std::snprintf(entry, sizeof entry, lines ? "k%06zu=v" : "k%08zu", entries.size());
        entries.push_back(entry);
        used += 10;
    }
    entries.push_back((lines ? "z=" : "zz") + std::string(total - used - 3, 'x'));
    return entries;
}

std::string ListOf(const std::vector<std::string>& entries)
{
    std::string list;
    for (const std::string& entry : entries) list += entry + '\0';
    return list;
}

// Twenty "key=value" lines of 605 characters each.
std::vector<std::string> LongLines()
{
    std::vector<std::string> lines;
    for (int i = 10; i < 30; ++i)
        lines.push_back("k" + std::to_string(i) + "=" + std::string(601, 'v'));
    return lines;
}

// Lists longer than the first buffer come back whole, in any length around its size: the
// platform's count for a list that just fits is the one it gives for a list it cut.
TEST_F(IniEditTest, ListsComeBackWholeWhateverTheirLength)
{
    enum Kind { kKeys, kSections, kLines };
    struct Case {
        Kind kind;
        std::vector<std::string> entries;
    } const cases[] = {
        {kKeys, EntriesFilling(1021, false)},     {kKeys, EntriesFilling(1022, false)},
        {kKeys, EntriesFilling(1023, false)},     {kKeys, EntriesFilling(1024, false)},
        {kKeys, EntriesFilling(1500, false)},  // 150 keys
        {kSections, EntriesFilling(1022, false)}, {kSections, EntriesFilling(1023, false)},
        {kSections, EntriesFilling(3000, false)}, {kLines, EntriesFilling(4093, true)},
        {kLines, EntriesFilling(4094, true)},     {kLines, EntriesFilling(4095, true)},
        {kLines, EntriesFilling(9000, true)},     {kLines, LongLines()},
    };
    for (const Case& c : cases) {
        const std::string expected = ListOf(c.entries);
        SCOPED_TRACE(::testing::Message() << "kind " << c.kind << ", " << c.entries.size()
                                          << " entries, " << expected.size() << " characters");
        std::string content = c.kind == kSections ? "" : "[big]\r\n";
        for (const std::string& entry : c.entries) {
            if (c.kind == kSections)
                content += "[" + entry + "]\r\n";
            else
                content += entry + (c.kind == kKeys ? "=1\r\n" : "\r\n");
        }
        const std::string path = temp_.Write("big.ini", content);
        if (c.kind == kKeys)
            ExpectText(Call(L"GetIniSectionKeys", {path, "big"}), expected);
        else if (c.kind == kSections)
            ExpectText(Call(L"GetIniSectionNames", {path}), expected);
        else
            ExpectText(Call(L"GetIniSectionVals", {path, "big"}), expected);
    }
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

// The file stays as it was, byte for byte.
TEST_F(IniEditTest, TextsThatWouldAddLinesAreRefused)
{
    const std::string content = "[app]\r\nuser=bob\r\n[admin]\r\nallowed=no\r\n";
    const std::string path = temp_.Write("guarded.ini", content);
    ExpectAllRefused(path);
    EXPECT_EQ(ReadWholeFile(path), content);
    ExpectText(Call(L"GetIniVal", {path, "admin", "allowed"}), "no");

    // A value may hold "=", and "[" anywhere but at the start of a key.
    ExpectBool(Call(L"WriteIniVal", {path, "app", "formula", "a=b+c"}), true);
    ExpectText(Call(L"GetIniVal", {path, "app", "formula"}), "a=b+c");
    ExpectBool(Call(L"WriteIniVal", {path, "app", "big", std::string(32766, 'v')}), true);
    ExpectText(Call(L"GetIniVal", {path, "app", "big"}), std::string(32766, 'v'));
    ExpectText(Call(L"GetIniVal", {path, "app", std::string(32767, 'k')}), "");
    ExpectBool(Call(L"WriteIniVal", {path, "app", "list[1]", "[x]"}), true);
    ExpectText(Call(L"GetIniVal", {path, "app", "list[1]"}), "[x]");
    ExpectBool(Call(L"WriteIniSection", {path, "calc", "x=a=b\0y=[1]"s}), true);
    ExpectText(Call(L"GetIniSectionVals", {path, "calc"}), "x=a=b\0y=[1]\0"s);
    ExpectText(Call(L"GetIniSectionNames", {path}), "app\0admin\0calc\0"s);
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

// Puts a file outside the test's temp folder back as it was when the scope ends, however the
// test ends: its old content, or no file where there was none. The profile calls' cached copy
// is flushed first, so that no later read sees what the test wrote.
class RestoredFile {
public:
    explicit RestoredFile(std::string path)
        : path_(std::move(path)), existed_(FileIsThere(path_)), saved_(ReadWholeFile(path_))
    {
    }
    ~RestoredFile()
    {
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
        if (existed_)
            std::ofstream(path_, std::ios::binary | std::ios::trunc) << saved_;
        else
            ::DeleteFileA(path_.c_str());
    }
    RestoredFile(const RestoredFile&) = delete;
    RestoredFile& operator=(const RestoredFile&) = delete;

    const std::string& path() const { return path_; }
    bool existed() const { return existed_; }

private:
    std::string path_;
    bool existed_;
    std::string saved_;
};

// Makes a folder the current one until the scope ends.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder)
    {
        ::GetCurrentDirectoryA(sizeof previous_, previous_);
        EXPECT_TRUE(::SetCurrentDirectoryA(folder.c_str())) << folder;
    }
    ~CurrentFolder() { ::SetCurrentDirectoryA(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    char previous_[MAX_PATH + 1] = {};
};

std::string InWindowsFolder(const std::string& name)
{
    char windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\" + name;
}

// A bare file name is tested in the current folder, but the profile calls open that name in
// the Windows folder: the member works only when both exist, and never creates the second.
TEST_F(IniEditTest, BareNameNeedsTheWindowsFolderFileToo)
{
    const std::string name = "kovar3-bare-" + std::to_string(::GetCurrentProcessId()) + ".ini";
    const RestoredFile in_windows(InWindowsFolder(name));
    ASSERT_FALSE(in_windows.existed());
    const CurrentFolder current(temp_.path());
    temp_.Write(name, "[s]\r\nk=local\r\n");

    ExpectBool(Call(L"WriteIniVal", {name, "s", "k", "v"}), false);
    ExpectBool(Call(L"WriteIniSection", {name, "s", "a=1"}), false);
    ExpectText(Call(L"GetIniVal", {name, "s", "k"}), "");
    EXPECT_FALSE(FileIsThere(in_windows.path()));

    std::ofstream(in_windows.path(), std::ios::binary) << "[s]\r\nk=windows\r\n";
    ExpectText(Call(L"GetIniVal", {name, "s", "k"}), "windows");
    ExpectBool(Call(L"WriteIniVal", {name, "s", "k", "new"}), true);
    EXPECT_NE(ReadWholeFile(in_windows.path()).find("k=new"), std::string::npos);
    EXPECT_NE(ReadWholeFile(temp_.Path(name)).find("k=local"), std::string::npos);
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
// folder the path names; there the word null is ordinary text. The system's WIN.INI is put
// back as it was after each test.
class WinIniTest : public IniEditTest {
protected:
    void SetUp() override { ASSERT_TRUE(system_win_ini_.existed()); }

    static constexpr const char* kSection = "Kovar3WinIniTest";
    const RestoredFile system_win_ini_{InWindowsFolder("win.ini")};
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

TEST_F(WinIniTest, ListsAndValuesComeBackWhole)
{
    const std::string path = temp_.Write("win.ini", "");
    const std::vector<std::string> keys = EntriesFilling(1500, false);  // 150 keys
    std::string lines;
    for (const std::string& key : keys) {
        const std::string value = key == keys.back() ? std::string(600, 'v') : "1";
        ASSERT_TRUE(::WriteProfileStringA(kSection, key.c_str(), value.c_str()));
        lines += key + "=" + value + '\0';
    }
    ExpectText(Call(L"GetIniSectionKeys", {path, kSection}), ListOf(keys));
    ExpectText(Call(L"GetIniVal", {path, kSection, keys.back()}), std::string(600, 'v'));
    ExpectText(Call(L"GetIniSectionVals", {path, kSection}), lines);
}

TEST_F(WinIniTest, TextsThatWouldAddLinesAreRefused)
{
    const std::string path = temp_.Write("win.ini", "");
    ::WriteProfileStringA(nullptr, nullptr, nullptr);
    const std::string before = ReadWholeFile(system_win_ini_.path());
    ExpectAllRefused(path);
    ::WriteProfileStringA(nullptr, nullptr, nullptr);
    EXPECT_EQ(ReadWholeFile(system_win_ini_.path()), before);
    ExpectBool(Call(L"WriteIniVal", {path, kSection, "formula", "a=b+c"}), true);
    ExpectText(Call(L"GetIniVal", {path, kSection, "formula"}), "a=b+c");
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
