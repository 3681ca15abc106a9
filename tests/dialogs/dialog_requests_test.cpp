// What the dialogue members prepare for cBrowse, and how a multiple selection is joined.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dialogs/dialog_requests.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kovar3::dialogs {
namespace {

using namespace std::string_literals;

TEST(DialogRequests, TitleFallsBackOnlyWhenEmpty)
{
    EXPECT_EQ(TitleOr("", kOpenTitle), "Open File");
    EXPECT_EQ(TitleOr("", kSelectTitle), "Select Files");
    EXPECT_EQ(TitleOr(" ", kOpenTitle), " ");
    EXPECT_EQ(TitleOr("Pick one", kSelectTitle), "Pick one");
}

struct TypeCase {
    const char* ext;
    const char* open_name;
    const char* open_pattern;
    const char* save_name;
    const char* save_pattern;
};

const TypeCase kTypes[] = {
    {"", "All Files(*.*)", "*.*", "Text Files(*.txt)", "*.txt"},
    {"txt", "txt Files(*.txt)", "*.txt", "txt Files(*.txt)", "*.txt"},
    {"CSV", "CSV Files(*.CSV)", "*.CSV", "CSV Files(*.CSV)", "*.CSV"},         // case kept
    {".txt", ".txt Files(*..txt)", "*..txt", ".txt Files(*..txt)", "*..txt"},  // dot kept
    {"jpg;*.png", "jpg;*.png Files(*.jpg;*.png)", "*.jpg;*.png", "jpg;*.png Files(*.jpg;*.png)",
     "*.jpg;*.png"},
};

TEST(DialogRequests, FileTypeFromExtension)
{
    for (const TypeCase& c : kTypes) {
        SCOPED_TRACE(c.ext);
        const FileType open = OpenFileType(c.ext);
        EXPECT_EQ(open.name, c.open_name);
        EXPECT_EQ(open.pattern, c.open_pattern);
        const FileType save = SaveFileType(c.ext);
        EXPECT_EQ(save.name, c.save_name);
        EXPECT_EQ(save.pattern, c.save_pattern);
    }
    EXPECT_EQ(SaveDefaultExtension(""), "txt");
    EXPECT_EQ(SaveDefaultExtension("csv"), "csv");
}

TEST(DialogRequests, StartingFolderOnlyWhenItExists)
{
    test::TempFolder temp;
    const std::string file = temp.Write("file.txt", "x");
    FileSystem fs;
    EXPECT_EQ(StartingFolder(temp.path(), fs), temp.path());
    EXPECT_EQ(StartingFolder(file, fs), "") << "a file is not a folder";
    EXPECT_EQ(StartingFolder(temp.Path("missing"), fs), "");
    EXPECT_EQ(StartingFolder("", fs), "");
    EXPECT_EQ(StartingFolder(temp.path() + "\0missing"s, fs), "")
        << "a NUL would make the dialogue start somewhere else";
}

struct JoinCase {
    std::string raw;
    std::string joined;
};

const JoinCase kJoins[] = {
    {"", ""},
    {"C:\\Data\\a.txt", "C:\\Data\\a.txt"},
    {"C:\\Data\0a.txt\0b.txt"s, "C:\\Data\\a.txt*C:\\Data\\b.txt"},
    {"C:\\Data\0a b.txt\0c.txt\0d.txt"s, "C:\\Data\\a b.txt*C:\\Data\\c.txt*C:\\Data\\d.txt"},
    {"C:\\\0a.txt\0b.txt"s, "C:\\a.txt*C:\\b.txt"},  // a root folder already ends in "\"
    {"\\\\server\\share\0a.txt\0b.txt"s, "\\\\server\\share\\a.txt*\\\\server\\share\\b.txt"},
};

TEST(DialogRequests, JoinSelectionGivesFullPaths)
{
    for (const JoinCase& c : kJoins) {
        SCOPED_TRACE(c.joined);
        EXPECT_EQ(JoinSelection(c.raw), c.joined);
    }
}

// In code page 932 the second byte of a character can be 0x5C, the backslash: the folder below
// ends in such a character, not in a backslash, and still needs one.
TEST(DialogRequests, JoinSelectionJudgesTheLastCharacterNotTheLastByte)
{
    if (::GetACP() != 932) GTEST_SKIP() << "needs the Japanese ANSI code page (LANG=ja_JP.UTF-8)";
    const std::string folder = "C:\\\x95\x5C";  // C:\ and U+8868
    EXPECT_EQ(JoinSelection(folder + "\0a.txt\0b.txt"s), folder + "\\a.txt*" + folder + "\\b.txt");
}

}  // namespace
}  // namespace kovar3::dialogs
