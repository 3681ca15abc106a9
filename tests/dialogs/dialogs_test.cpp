// The four dialogue members through IDispatch, with the real dialogues under Xvfb: a driver
// thread finds each dialogue by its title, reads what it shows and answers as a user would.
// Every dialogue is closed on every path (see DialogDriver), so no run can block.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/safearray.h"
#include "platform/variant.h"
#include "support/dialog_driver.h"
#include "support/dispatch_client.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

using namespace std::string_literals;

bool Lists(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Variants are move-only, so argument lists are built by moving each one in.
template <typename... Values>
std::vector<Variant> Args(Values&&... values)
{
    std::vector<Variant> args;
    (args.push_back(std::forward<Values>(values)), ...);
    return args;
}

// A dialogue member's answer: always a string variant.
void ExpectText(const CallOutcome& call, const std::string& expected)
{
    ASSERT_EQ(call.hr, S_OK);
    ASSERT_EQ(call.result.type(), VT_BSTR);
    EXPECT_EQ(AnsiTextOf(call.result.get()), expected);
}

class DialogsTest : public ::testing::Test {
protected:
    // Choosing a file makes its folder the process's current folder; the temporary folder can
    // only be removed once that is undone.
    DialogsTest() { ::GetCurrentDirectoryA(sizeof(saved_folder_), saved_folder_); }
    ~DialogsTest() override { ::SetCurrentDirectoryA(saved_folder_); }

    // Calls a member with each argument by reference, as VBScript does.
    CallOutcome CallWith(const wchar_t* member, std::vector<Variant> args)
    {
        std::vector<VARIANT*> refs;
        for (Variant& a : args) refs.push_back(a.address());
        return CallByRef(ops_.get(), member, refs);
    }
    CallOutcome Call(const wchar_t* member, const std::vector<std::string>& texts)
    {
        std::vector<Variant> args;
        for (const std::string& t : texts) args.push_back(Variant::Text(t));
        return CallWith(member, std::move(args));
    }

    ComPtr<IDispatch> ops_ = CreateByProgId(L"Kovar3.Ops");
    TempFolder temp_;
    char saved_folder_[MAX_PATH] = {};
};

TEST_F(DialogsTest, OpenDlgShowsItsTitleTypeAndFolderAndGivesTheChosenPath)
{
    temp_.Write("chosen.txt", "x");
    temp_.Write("other.log", "x");
    DialogDriver driver("Kovar3 open", [](HWND dialog, DialogView& view) {
        view.listed = WaitForListed(dialog, "chosen.txt", 10000);
        TypeAndPressOk("chosen.txt")(dialog, view);
    });
    const CallOutcome out = Call(L"OpenDlg", {"Kovar3 open", "txt", temp_.path()});
    const DialogView& view = driver.Finish();
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.file_types, std::vector<std::string>{"txt Files(*.txt)"});
    EXPECT_TRUE(Lists(view.listed, "chosen.txt")) << "starts in the folder given";
    EXPECT_FALSE(Lists(view.listed, "other.log")) << "lists only *.txt";
    ExpectText(out, temp_.Path("chosen.txt"));
}

struct LookCase {
    const wchar_t* member;
    std::vector<std::string> args;
    const char* title;
    std::vector<std::string> file_types;
};

TEST_F(DialogsTest, TitlesAndFileTypes)
{
    const LookCase cases[] = {
        {L"OpenDlg", {"", "", ""}, "Open File", {"All Files(*.*)"}},
        {L"OpenDlg", {"", ".txt", ""}, "Open File", {".txt Files(*..txt)"}},
        {L"OpenMultiDlg", {"", "", ""}, "Select Files", {"All Files(*.*)"}},
        {L"OpenMultiDlg", {"Pick logs", "log", ""}, "Pick logs", {"log Files(*.log)"}},
        {L"SaveDlg", {"", ""}, "Select Files", {"Text Files(*.txt)", "All files(*.*)"}},
        {L"SaveDlg", {"Save as", "csv"}, "Save as", {"csv Files(*.csv)", "All files(*.*)"}},
    };
    for (const LookCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.member << " " << c.title);
        DialogDriver driver(c.title, JustCancel());
        const CallOutcome out = Call(c.member, c.args);
        const DialogView& view = driver.Finish();
        EXPECT_TRUE(view.found);
        EXPECT_EQ(view.file_types, c.file_types);
        ExpectText(out, "");
    }
}

// "*..txt", the pattern made from ".txt", lists only names ending in "..txt".
TEST_F(DialogsTest, AnExtensionWithItsDotGivesAPatternWithTwoDots)
{
    temp_.Write("plain.txt", "x");
    temp_.Write("double..txt", "x");
    DialogDriver driver("Dots", [](HWND dialog, DialogView& view) {
        view.listed = WaitForListed(dialog, "double..txt", 10000);
        PressCancel(dialog);
    });
    const CallOutcome out = Call(L"OpenMultiDlg", {"Dots", ".txt", temp_.path()});
    const DialogView& view = driver.Finish();
    EXPECT_TRUE(Lists(view.listed, "double..txt"));
    EXPECT_FALSE(Lists(view.listed, "plain.txt"));
    ExpectText(out, "");
}

// A starting folder that is a file or does not exist is not passed on: the dialogue opens where
// it likes, which is not the folder holding the marker.
TEST_F(DialogsTest, StartingFolderThatIsAFileOrMissingIsDropped)
{
    temp_.Write("marker.txt", "x");
    for (const std::string& start : {temp_.Path("marker.txt"), temp_.Path("missing")}) {
        SCOPED_TRACE(start);
        DialogDriver driver("Start", [](HWND dialog, DialogView& view) {
            view.listed = WaitForListed(dialog, "marker.txt", 3000);
            PressCancel(dialog);
        });
        const CallOutcome out = Call(L"OpenDlg", {"Start", "", start});
        const DialogView& view = driver.Finish();
        EXPECT_TRUE(view.found);
        EXPECT_FALSE(Lists(view.listed, "marker.txt"));
        ExpectText(out, "");
    }
}

std::string Quoted(const std::vector<std::string>& names)
{
    std::string typed;
    for (const std::string& name : names) typed += "\"" + name + "\" ";
    return typed;
}

TEST_F(DialogsTest, OpenMultiDlgGivesFullPathsJoinedByAsterisks)
{
    std::vector<std::string> many;
    for (int i = 0; i < 80; ++i) {
        many.push_back("an-ordinary-document-name-" + std::to_string(100 + i) + ".txt");
        temp_.Write(many.back(), "x");
    }
    temp_.Write("a.txt", "x");
    temp_.Write("b.txt", "x");
    struct Case {
        std::string typed;
        std::string expected;
    };
    std::string all = temp_.Path(many[0]);
    for (size_t i = 1; i < many.size(); ++i) all += "*" + temp_.Path(many[i]);
    const Case cases[] = {
        {"a.txt", temp_.Path("a.txt")},  // one file: its path, no asterisk
        {Quoted({"a.txt", "b.txt"}), temp_.Path("a.txt") + "*" + temp_.Path("b.txt")},
        // Far more than 1019 characters: the whole selection still arrives.
        {Quoted(many), all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 40));
        DialogDriver driver("Several", TypeAndPressOk(c.typed));
        const CallOutcome out = Call(L"OpenMultiDlg", {"Several", "txt", temp_.path()});
        driver.Finish();
        ExpectText(out, c.expected);
    }
}

// Files in the root folder of drive C: of the test prefix, removed again.
class RootFiles {
public:
    explicit RootFiles(std::vector<std::string> names) : names_(std::move(names))
    {
        for (const std::string& name : names_) {
            const HANDLE file = ::CreateFileA(("C:\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
        }
    }
    ~RootFiles()
    {
        for (const std::string& name : names_) ::DeleteFileA(("C:\\" + name).c_str());
    }

private:
    std::vector<std::string> names_;
};

TEST_F(DialogsTest, OpenMultiDlgInARootFolderGivesOneBackslash)
{
    RootFiles files({"kovar3-root-a.txt", "kovar3-root-b.txt"});
    DialogDriver driver("Root", TypeAndPressOk(Quoted({"kovar3-root-a.txt", "kovar3-root-b.txt"})));
    const CallOutcome out = Call(L"OpenMultiDlg", {"Root", "", "C:\\"});
    driver.Finish();
    ExpectText(out, "C:\\kovar3-root-a.txt*C:\\kovar3-root-b.txt");
}

TEST_F(DialogsTest, SaveDlgAppendsItsExtensionToANameTypedWithoutOne)
{
    struct Case {
        const char* ext;
        const char* typed;
        const char* saved;
    };
    const Case cases[] = {
        {"", "report", "report.txt"},
        {"csv", "data", "data.csv"},
        {"", "notes.log", "notes.log"},  // typed with an extension: kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        DialogDriver driver("Save", TypeAndPressOk(temp_.Path(c.typed)));
        const CallOutcome out = Call(L"SaveDlg", {"Save", c.ext});
        driver.Finish();
        ExpectText(out, temp_.Path(c.saved));
        EXPECT_FALSE(FileIsThere(temp_.Path(c.saved))) << "the dialogue only names the file";
    }
}

// Had the dialogue asked before replacing, the question would have stayed open until the
// driver cancelled everything, and the answer would be "".
TEST_F(DialogsTest, SaveDlgAsksNothingBeforeAnExistingFile)
{
    const std::string existing = temp_.Write("existing.txt", "keep");
    DialogDriver driver("Save", TypeAndPressOk(existing));
    const CallOutcome out = Call(L"SaveDlg", {"Save", ""});
    driver.Finish();
    ExpectText(out, existing);
    EXPECT_EQ(ReadWholeFile(existing), "keep");
}

TEST_F(DialogsTest, ColorDlgGivesRedGreenBlue)
{
    struct Case {
        int red, green, blue;
        const char* code;
    };
    const Case cases[] = {
        {255, 0, 0, "FF0000"},
        {0, 0, 255, "0000FF"},
        {0, 0, 0, "000000"},
        {0x12, 0x34, 0x56, "123456"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        DialogDriver driver(nullptr, ColorAndPressOk(c.red, c.green, c.blue));
        const CallOutcome out = CallWith(L"ColorDlg", {});
        EXPECT_TRUE(driver.Finish().found);
        ExpectText(out, c.code);
    }
    DialogDriver driver(nullptr, JustCancel());
    const CallOutcome out = CallWith(L"ColorDlg", {});
    EXPECT_TRUE(driver.Finish().found);
    ExpectText(out, "0");
}

TEST_F(DialogsTest, ArgumentsPassedByValueWorkAsScriptsPassThem)
{
    const Variant title = Variant::Text("By value"), ext = Variant::Text("txt"),
                  folder = Variant::Text(temp_.path());
    const std::string chosen = temp_.Write("v.txt", "x");
    DialogDriver driver("By value", TypeAndPressOk("v.txt"));
    const CallOutcome out =
        CallByValue(ops_.get(), L"OpenDlg", {&title.get(), &ext.get(), &folder.get()});
    driver.Finish();
    ExpectText(out, chosen);
}

// Arguments that cannot become text, or that the dialogue could not show as given, end in the
// cancel answer without a dialogue.
TEST_F(DialogsTest, HostileArgumentsGiveTheCancelAnswerWithoutADialogue)
{
    auto array = [] {
        SafeArrayBuilder b;
        b.Add(Variant::Text("txt"));
        return b.Build();
    };
    struct Case {
        const char* label;
        const wchar_t* member;
        std::vector<Variant> args;
    };
    std::vector<Case> cases;
    for (const wchar_t* member : {L"OpenDlg", L"OpenMultiDlg"}) {
        for (int null_at = 0; null_at < 3; ++null_at) {
            std::vector<Variant> args;
            for (int i = 0; i < 3; ++i) args.push_back(i == null_at ? Null() : Variant::Text(""));
            cases.push_back({"Null", member, std::move(args)});
        }
        cases.push_back({"array", member, Args(Variant::Text(""), array(), Variant::Text(""))});
        cases.push_back({"NUL in the extension", member,
                         Args(Variant::Text(""), Variant::Text("txt\0*.exe"s), Variant::Text(""))});
    }
    cases.push_back({"Null title", L"SaveDlg", Args(Null(), Variant::Text(""))});
    // U+017A: Windows would show "z" instead; the code page (1252 here) has no such character.
    cases.push_back({"character outside the code page", L"SaveDlg",
                     Args(Variant::WideText(L"\u017A"), Variant::Text(""))});
    cases.push_back({"Null extension", L"SaveDlg", Args(Variant::Text(""), Null())});
    cases.push_back(
        {"NUL in the extension", L"SaveDlg", Args(Variant::Text(""), Variant::Text("txt\0exe"s))});
    cases.push_back({"extension no name can hold", L"SaveDlg",
                     Args(Variant::Text(""), Variant::Text(std::string(254, 'x')))});
    for (Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.member << " " << c.label);
        DialogDriver driver(nullptr, JustCancel());  // cancels a dialogue that should not be
        const CallOutcome out = CallWith(c.member, std::move(c.args));
        EXPECT_FALSE(driver.Finish().found);
        ExpectText(out, "");
    }
}

TEST_F(DialogsTest, MegabyteTitleAndExtensionAreShown)
{
    const std::string title(1 << 20, 'T');
    const std::string ext(1 << 20, 'e');
    DialogDriver driver(title.c_str(), JustCancel());
    const CallOutcome out = Call(L"OpenDlg", {title, ext, ""});
    const DialogView& view = driver.Finish();
    EXPECT_TRUE(view.found);
    ASSERT_EQ(view.file_types.size(), 1u);
    EXPECT_EQ(view.file_types[0], ext + " Files(*." + ext + ")");
    ExpectText(out, "");
}

}  // namespace
}  // namespace kovar3::test
