// GetDefaultProgram and PrintFile through IDispatch, against file types the tests register
// and remove again, and a stand-in print program that records how it was started.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "registry/registry_fixture.h"
#include "support/dispatch_client.h"
#include "support/paths.h"
#include "support/temp_folder.h"
#include "windows/file_associations.h"
#include "windows/test_windows.h"

namespace kovar3::test {
namespace {

// Where the fixtures go. Windows shows HKEY_CURRENT_USER\Software\Classes through
// HKEY_CLASSES_ROOT; Wine 8 shows only the machine's classes there, so under Wine they go to
// HKEY_CLASSES_ROOT itself (the test prefix's own machine classes).
struct ClassesPlace {
    HKEY root;
    std::string prefix;
};

const ClassesPlace& Classes()
{
    static const ClassesPlace place = [] {
        const std::string probe = "Software\\Classes\\.kv3probe";
        RawRegistry::SetText(HKEY_CURRENT_USER, probe, "", "probe");
        const bool merged = RawRegistry::KeyExists(HKEY_CLASSES_ROOT, ".kv3probe");
        RawRegistry::DeleteTree(HKEY_CURRENT_USER, probe);
        return merged ? ClassesPlace{HKEY_CURRENT_USER, "Software\\Classes\\"}
                      : ClassesPlace{HKEY_CLASSES_ROOT, ""};
    }();
    return place;
}

// Every extension and ProgID the tests register, removed before and after each test.
const char* const kFixtureKeys[] = {
    ".kv3plain",   "Kovar3Test.Plain",   ".kv3noprogid",     ".kv3opennew", "Kovar3Test.Opennew",
    ".kv3expand",  "Kovar3Test.Expand",  ".kv3caps",         ".kv3com",     ".kv3batch",
    ".kv3long",    ".kv3longexpand",     ".kv3comexe",       ".kv3print",   "Kovar3Test.Print",
    ".kv3noprint", "Kovar3Test.NoPrint", "Kovar3Test.Batch",
};

void SetClassText(const std::string& path, const std::string& text, DWORD type = REG_SZ)
{
    RawRegistry::SetText(Classes().root, Classes().prefix + path, "", text, type);
}

void CreateClassKey(const std::string& path)
{
    RawRegistry::CreateKey(Classes().root, Classes().prefix + path);
}

class AssociationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveFixtures();
        ops_ = CreateByProgId(L"Kovar3.Ops");
    }
    void TearDown() override { RemoveFixtures(); }

    static void RemoveFixtures()
    {
        for (const char* key : kFixtureKeys)
            RawRegistry::DeleteTree(Classes().root, Classes().prefix + key);
    }

    IDispatch* ops() const { return ops_.get(); }

    // The result, which must be a string.
    std::string DefaultProgram(Variant ext)
    {
        const CallOutcome out = CallByRef(ops(), L"GetDefaultProgram", {ext.address()});
        EXPECT_EQ(out.hr, S_OK);
        EXPECT_EQ(out.result.type(), VT_BSTR);
        return AnsiTextOf(out.result.get());
    }

private:
    ComPtr<IDispatch> ops_;
};

std::string Expanded(const std::string& text)
{
    std::vector<char> buffer(32768);
    const DWORD n = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), 32768);
    return n > 0 ? std::string(buffer.data(), n - 1) : std::string();
}

TEST_F(AssociationTest, GetDefaultProgramFollowsTheRegistration)
{
    const std::string long_folder = "C:\\Program Files\\" + std::string(240, 'f');
    // No ProgID: the extension's own command.
    CreateClassKey(".kv3noprogid");
    SetClassText(".kv3noprogid\\Shell\\Open\\Command", "C:\\Tools\\plain.exe %1");
    // An empty Open command falls through to Opennew.
    SetClassText(".kv3opennew", "Kovar3Test.Opennew");
    SetClassText("Kovar3Test.Opennew\\Shell\\Open\\Command", "");
    SetClassText("Kovar3Test.Opennew\\Shell\\Opennew\\Command", "C:\\Tools\\new.exe /n");
    SetClassText(".kv3expand", "Kovar3Test.Expand");
    SetClassText("Kovar3Test.Expand\\Shell\\Open\\Command", "%SystemRoot%\\system32\\kv3.exe /p",
                 REG_EXPAND_SZ);
    SetClassText(".kv3caps\\Shell\\Open\\Command", "C:\\TOOLS\\VIEWER.EXE -x %1");
    SetClassText(".kv3com\\Shell\\Open\\Command", "C:\\Tools\\old.com %1");
    // ".com" counts only when there is no ".exe" anywhere.
    SetClassText(".kv3comexe\\Shell\\Open\\Command", "C:\\tools.com\\run.exe %1");
    // A batch file names no program; the command key still decides.
    SetClassText(".kv3batch", "Kovar3Test.Batch");
    SetClassText("Kovar3Test.Batch\\Shell\\Open\\Command", "C:\\Tools\\run.bat \"%1\"");
    SetClassText(".kv3batch\\Shell\\Open\\Command", "C:\\Tools\\never.exe");
    // Over 254 characters, stored and after expansion.
    SetClassText(".kv3long\\Shell\\Open\\Command", "\"" + long_folder + "\\app.exe\" \"%1\"");
    SetClassText(".kv3longexpand\\Shell\\Open\\Command",
                 "%SystemRoot%\\" + std::string(250, 'g') + "\\app.exe", REG_EXPAND_SZ);

    struct Case {
        const char* ext;
        std::string program;
    };
    const Case cases[] = {
        {".kv3noprogid", "C:\\Tools\\plain.exe"},
        {"kv3noprogid", "C:\\Tools\\plain.exe"},  // the dot is added
        {".kv3opennew", "C:\\Tools\\new.exe"},
        {".kv3expand", Expanded("%SystemRoot%\\system32\\kv3.exe")},
        {".kv3caps", "C:\\TOOLS\\VIEWER.EXE"},
        {".KV3CAPS", "C:\\TOOLS\\VIEWER.EXE"},
        {".kv3com", "C:\\Tools\\old.com"},
        {".kv3comexe", "C:\\tools.com\\run.exe"},
        {".kv3batch", ""},
        {".kv3long", long_folder + "\\app.exe"},
        {".kv3longexpand", Expanded("%SystemRoot%\\" + std::string(250, 'g') + "\\app.exe")},
        {".kv3missing", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ext);
        EXPECT_EQ(DefaultProgram(Variant::Text(c.ext)), c.program);
    }
}

TEST_F(AssociationTest, GetDefaultProgramWithAQuotedProgram)
{
    SetClassText(".kv3plain", "Kovar3Test.Plain");
    SetClassText("Kovar3Test.Plain\\Shell\\Open\\Command",
                 "\"C:\\Program Files\\Kovar Test\\viewer.exe\" \"%1\"");
    EXPECT_EQ(DefaultProgram(Variant::Text(".kv3plain")),
              "C:\\Program Files\\Kovar Test\\viewer.exe");
    EXPECT_EQ(DefaultProgram(Variant::Text("kv3plain")),
              "C:\\Program Files\\Kovar Test\\viewer.exe");
}

// Text that could only reach some other key never names an extension.
TEST_F(AssociationTest, GetDefaultProgramRefusesWhatNamesNoExtension)
{
    SetClassText(".kv3plain", "Kovar3Test.Plain");
    SetClassText("Kovar3Test.Plain\\Shell\\Open\\Command", "C:\\Tools\\viewer.exe");
    SetClassText(".kv3plain\\Shell\\Open\\Command", "C:\\Tools\\inner.exe");
    EXPECT_EQ(DefaultProgram(Variant::WideText(std::wstring(L".kv3plain\0x", 11))), "");
    EXPECT_EQ(DefaultProgram(Variant::Text(".kv3plain\\Shell")), "");
    EXPECT_EQ(DefaultProgram(Null()), "");
    EXPECT_EQ(DefaultProgram(Variant::WideText(L".kv3plain\u0444")), "");  // not in the code page
    EXPECT_EQ(DefaultProgram(Variant::WideText(std::wstring(1 << 20, L'x'))), "");
}

struct CommandCase {
    const char* command;
    const char* path;
};

TEST(ExePathFromCommand, CutsTheProgramOutOfACommandLine)
{
    const CommandCase cases[] = {
        {"\"C:\\Program Files\\App\\app.exe\" \"%1\"", "C:\\Program Files\\App\\app.exe"},
        {"C:\\App\\app.exe %1", "C:\\App\\app.exe"},
        {"C:\\App\\App.EXE", "C:\\App\\App.EXE"},
        {"C:\\my.exe.d\\tool.exe", "C:\\my.exe"},  // the first ".exe", wherever it stands
        {"C:\\App\\old.COM /x", "C:\\App\\old.COM"},
        {"C:\\tools.com\\run.exe", "C:\\tools.com\\run.exe"},
        {"\"\"C:\\App\\app.exe\"", "\"C:\\App\\app.exe"},  // one quotation mark goes
        {"rundll32 shell32.dll,OpenAs_RunDLL %1", ""},
        {"C:\\App\\run.bat", ""},
        {"", ""},
        {".exe", ".exe"},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(windows::ExePathFromCommand(c.command), c.path);
    }
}

// --- PrintFile ------------------------------------------------------------------------------

std::string RecorderPath()
{
    const std::wstring path = ExecutableFolder() + L"\\fixtures\\kovar3_print_recorder.exe";
    return std::string(path.begin(), path.end());
}

class PrintFileTest : public AssociationTest {
protected:
    void SetUp() override
    {
        AssociationTest::SetUp();
        log_ = folder_.Path("print.log");
        SetClassText(".kv3print", "Kovar3Test.Print");
        SetClassText("Kovar3Test.Print\\Shell\\Print\\Command",
                     "\"" + RecorderPath() + "\" \"" + log_ + "\" \"%1\"");
        SetClassText(".kv3noprint", "Kovar3Test.NoPrint");
        SetClassText("Kovar3Test.NoPrint\\Shell\\Open\\Command",
                     "\"" + RecorderPath() + "\" \"" + log_ + "\" \"%1\"");
    }

    CallOutcome PrintFile(Variant path) { return CallByRef(ops(), L"PrintFile", {path.address()}); }

    // The recorder's lines once it has written them all (up to 15 s); empty when it never ran.
    std::vector<std::string> Recorded(DWORD timeout_ms = 15000)
    {
        std::vector<std::string> lines;
        WaitUntil(
            [&] {
                lines.clear();
                std::istringstream text(ReadWholeFile(log_));
                for (std::string line; std::getline(text, line);) lines.push_back(line);
                return !lines.empty() && lines.back() == "end";
            },
            timeout_ms);
        return lines;
    }

    TempFolder folder_;
    std::string log_;
};

TEST_F(PrintFileTest, PrintsThroughTheTypesPrintCommand)
{
    ASSERT_TRUE(::CreateDirectoryA(folder_.Path("sub folder").c_str(), nullptr));
    const std::string file = folder_.Write("sub folder\\report.kv3print", "text");
    const CallOutcome out = PrintFile(Variant::Text(file));
    ASSERT_EQ(out.result.type(), VT_I2);
    EXPECT_EQ(V_I2(&out.result.get()), 0);
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"folder " + folder_.Path("sub folder"),
                                                    "arg " + file, "end"}));
}

// The shell would read a relative name against the folder it starts the program in and print
// sub folder\sub folder\report.kv3print instead.
TEST_F(PrintFileTest, ARelativePathReachesTheFileItNames)
{
    ASSERT_TRUE(::CreateDirectoryA(folder_.Path("sub folder").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(folder_.Path("sub folder\\sub folder").c_str(), nullptr));
    const std::string file = folder_.Write("sub folder\\report.kv3print", "text");
    folder_.Write("sub folder\\sub folder\\report.kv3print", "look-alike");
    char saved[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryA(sizeof saved, saved);
    ASSERT_TRUE(::SetCurrentDirectoryA(folder_.path().c_str()));
    const CallOutcome out = PrintFile(Variant::Text("sub folder\\report.kv3print"));
    ::SetCurrentDirectoryA(saved);
    ASSERT_EQ(out.result.type(), VT_I2);
    EXPECT_EQ(V_I2(&out.result.get()), 0);
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"folder " + folder_.Path("sub folder"),
                                                    "arg " + file, "end"}));
}

TEST_F(PrintFileTest, AFileInARootFolderStartsInThatRoot)
{
    const std::string file = "C:\\kovar3-print-test.kv3print";
    struct RemoveAfterwards {
        std::string path;
        ~RemoveAfterwards() { ::DeleteFileA(path.c_str()); }
    } remove{file};
    {
        HANDLE h = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot write to C:\\";
        ::CloseHandle(h);
    }
    const CallOutcome out = PrintFile(Variant::Text(file));
    ASSERT_EQ(out.result.type(), VT_I2);
    EXPECT_EQ(V_I2(&out.result.get()), 0);
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"folder C:\\", "arg " + file, "end"}));
}

TEST_F(PrintFileTest, MissingFilesAndFoldersAreStatusTwo)
{
    for (const std::string& path :
         {folder_.Path("missing.kv3print"), folder_.path(), std::string("C:\\")}) {
        SCOPED_TRACE(path);
        const CallOutcome out = PrintFile(Variant::Text(path));
        ASSERT_EQ(out.result.type(), VT_I2);
        EXPECT_EQ(V_I2(&out.result.get()), 2);
    }
    // A NUL would make the platform see a shorter path, here an existing file.
    const std::string file = folder_.Write("report.kv3print", "text");
    const CallOutcome out = PrintFile(Variant::Text(file + std::string("\0x", 2)));
    ASSERT_EQ(out.result.type(), VT_I2);
    EXPECT_EQ(V_I2(&out.result.get()), 2);
    EXPECT_TRUE(Recorded(1000).empty());
}

TEST_F(PrintFileTest, ATypeWithoutAPrintCommandGivesTheShellsCode)
{
    const std::string file = folder_.Write("report.kv3noprint", "text");
    const CallOutcome out = PrintFile(Variant::Text(file));
    ASSERT_EQ(out.result.type(), VT_I4);
    EXPECT_NE(V_I4(&out.result.get()), 0);
    EXPECT_TRUE(Recorded(1000).empty());  // the open command was not used instead
}

TEST_F(PrintFileTest, UnreadablePathIsMinusOne)
{
    const std::string file = folder_.Write("report.kv3print", "text");
    const std::wstring outside = std::wstring(file.begin(), file.end()) + L"\u0444";
    Variant null_path = Null(), outside_path = Variant::WideText(outside);
    for (Variant* path : {&null_path, &outside_path}) {  // the second is not in the code page
        const CallOutcome out = CallByRef(ops(), L"PrintFile", {path->address()});
        ASSERT_EQ(out.result.type(), VT_I2);
        EXPECT_EQ(V_I2(&out.result.get()), -1);
    }
    EXPECT_TRUE(Recorded(1000).empty());
}

}  // namespace
}  // namespace kovar3::test
