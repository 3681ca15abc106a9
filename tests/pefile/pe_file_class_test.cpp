// Ops.GetPEFile and the PEFile object through IDispatch: the four automation errors, the ten
// properties of crafted libraries and of Wine's own, and the one PEFile each Ops refills.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/text.h"
#include "support/dispatch_client.h"
#include "support/expected_platform.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

// The fixture libraries built from tests/pefile/fixtures, next to this executable.
std::string FixturePath(const std::string& name)
{
    char exe[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder(exe);
    folder.erase(folder.find_last_of('\\'));
    return folder + "\\fixtures\\" + name;
}

std::string SystemPath(const std::string& name)
{
    char system[MAX_PATH + 1] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\" + name;
}

// Makes the file `bytes` long, keeping its start (data past a PE image does not disturb it).
void Resize(const std::string& path, LONGLONG bytes)
{
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = bytes;
    EXPECT_TRUE(::SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    EXPECT_TRUE(::SetEndOfFile(file));
    ::CloseHandle(file);
}

class PEFileTest : public ::testing::Test {
protected:
    CallOutcome GetPEFile(const std::string& path, bool by_ref = true)
    {
        Variant arg = Variant::Text(path);
        if (by_ref) return CallByRef(ops_.get(), L"GetPEFile", {arg.address()});
        return CallByValue(ops_.get(), L"GetPEFile", {&arg.get()});
    }

    // The PEFile a successful call returned (one more reference, owned by the caller).
    static ComPtr<IDispatch> ObjectOf(const CallOutcome& call)
    {
        EXPECT_EQ(call.hr, S_OK) << "error " << (call.scode & 0xFFFF) << ": "
                                 << ToAnsi(call.description);
        if (call.hr != S_OK || call.result.type() != VT_DISPATCH) return {};
        IDispatch* object = V_DISPATCH(&call.result.get());
        object->AddRef();
        return ComPtr<IDispatch>(object);
    }

    static std::wstring Property(IDispatch* pe, const wchar_t* name)
    {
        const CallOutcome call = CallByRef(pe, name, {}, DISPATCH_PROPERTYGET);
        EXPECT_EQ(call.hr, S_OK) << ToAnsi(name);
        EXPECT_EQ(call.result.type(), VT_BSTR) << ToAnsi(name);
        return TextOf(call.result.get());
    }

    static short Attributes(IDispatch* pe)
    {
        const CallOutcome call = CallByRef(pe, L"Attributes", {}, DISPATCH_PROPERTYGET);
        EXPECT_EQ(call.result.type(), VT_I2);
        return V_I2(&call.result.get());
    }

    ComPtr<IDispatch> ops_ = CreateByProgId(L"Kovar3.Ops");
    TempFolder temp_;
};

struct ErrorCase {
    std::string path;
    int number;
    const wchar_t* description;
};

TEST_F(PEFileTest, RaisesNumberedErrorsWithSourceAndDescription)
{
    const std::string text = temp_.Write("readme.txt", "hello");
    const std::string fixture = ReadWholeFile(FixturePath("versioned.dll"));
    const ErrorCase cases[] = {
        {temp_.Path("missing.dll"), 1, L"Bad file path."},
        {temp_.path(), 1, L"Bad file path."},
        {"", 1, L"Bad file path."},
        {temp_.Path("*.dll"), 1, L"Bad file path."},
        {temp_.Path("versioned.dll") + std::string(1, '\0'), 1, L"Bad file path."},
        {std::string(100000, 'a') + ".dll", 1, L"Bad file path."},
        {"COM1.dll", 1, L"Bad file path."},  // a device, not a file
        {"\\\\.\\NUL", 1, L"Bad file path."},
        {text, 2, L"Not a PE file."},
        {temp_.Write("prog.com", fixture), 2, L"Not a PE file."},
        {temp_.Write("driver.sys", fixture), 2, L"Not a PE file."},
        {temp_.Write("saver.scr", fixture), 2, L"Not a PE file."},
        {temp_.Write("noext", fixture), 2, L"Not a PE file."},
        {FixturePath("unversioned.dll"), 3, L"Unable to get file info."},
        {temp_.Write("fake.dll", "MZ but not really"), 3, L"Unable to get file info."},
    };
    for (bool by_ref : {true, false}) {
        for (const ErrorCase& c : cases) {
            SCOPED_TRACE(c.path);
            const CallOutcome call = GetPEFile(c.path, by_ref);
            EXPECT_EQ(call.hr, DISP_E_EXCEPTION);
            EXPECT_EQ(call.scode, AutomationErrorCode(c.number));
            EXPECT_EQ(call.source, L"Ops:GetPEFile");
            EXPECT_EQ(call.description, c.description);
        }
    }
}

TEST_F(PEFileTest, NumbersAreReadAsFileNames)
{
    Variant five = Variant::I4(5);
    const CallOutcome call = CallByRef(ops_.get(), L"GetPEFile", {five.address()});
    EXPECT_EQ(call.scode, AutomationErrorCode(1));
}

TEST_F(PEFileTest, NullPathIsTheCallersError)
{
    Variant null = Null();
    const CallOutcome call = CallByRef(ops_.get(), L"GetPEFile", {null.address()});
    EXPECT_EQ(call.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(call.scode, kInvalidUseOfNull);
}

TEST_F(PEFileTest, DescribesACraftedLibrary)
{
    const std::string path = FixturePath("versioned.dll");
    const ComPtr<IDispatch> pe = ObjectOf(GetPEFile(path));
    ASSERT_TRUE(pe);
    EXPECT_EQ(Property(pe.get(), L"CompanyName"), L"Fixture Works");
    // The description names FileVersion first; the entry of that name still wins.
    EXPECT_EQ(Property(pe.get(), L"FileVersion"), L"1.2.3.4");
    EXPECT_EQ(Property(pe.get(), L"FileDescription"), L"Shows the FileVersion of a fixture");
    EXPECT_EQ(Property(pe.get(), L"ProductName"), L"");
    EXPECT_EQ(Property(pe.get(), L"ProductVersion"), L"9.8");
    EXPECT_EQ(Property(pe.get(), L"Name"), L"versioned.dll");
    const std::wstring size = std::to_wstring(ReadWholeFile(path).size() / 1024);
    EXPECT_EQ(Property(pe.get(), L"Size"), size);
    EXPECT_NE(Property(pe.get(), L"DateLastModified"), L"");
    Property(pe.get(), L"DateCreated");
    EXPECT_EQ(Attributes(pe.get()), 0);
}

// A block larger than the first read is read again whole.
TEST_F(PEFileTest, DescribesALibraryWithALargeVersionBlock)
{
    const std::string path = FixturePath("large_block.dll");
    DWORD unused = 0;
    ASSERT_GT(::GetFileVersionInfoSizeA(path.c_str(), &unused), 8192u);
    const ComPtr<IDispatch> pe = ObjectOf(GetPEFile(path));
    ASSERT_TRUE(pe);
    EXPECT_EQ(Property(pe.get(), L"CompanyName"), L"Large Block Works");
    EXPECT_EQ(Property(pe.get(), L"FileVersion"), L"3.0.0.1");
    EXPECT_EQ(Property(pe.get(), L"ProductName"), L"Past Eight Kilobytes");
}

TEST_F(PEFileTest, ExtensionsAnyCaseAndSizesAndAttributes)
{
    const std::string fixture = ReadWholeFile(FixturePath("versioned.dll"));
    const std::string exe = temp_.Write("Fixture.Exe", fixture);
    Resize(exe, 155648);
    ComPtr<IDispatch> pe = ObjectOf(GetPEFile(exe));
    ASSERT_TRUE(pe);
    EXPECT_EQ(Property(pe.get(), L"Size"), L"152");
    EXPECT_EQ(Property(pe.get(), L"Name"), L"Fixture.Exe");
    // The name as the folder stores it, whatever the path's letter case.
    pe = ObjectOf(GetPEFile(temp_.Path("FIXTURE.EXE")));
    ASSERT_TRUE(pe);
    EXPECT_EQ(Property(pe.get(), L"Name"), L"Fixture.Exe");
    // A file gone before Name is first read still has the name its path gave.
    const std::string gone = temp_.Write("Gone.dll", fixture);
    pe = ObjectOf(GetPEFile(temp_.Path("GONE.DLL")));
    ASSERT_TRUE(pe);
    ASSERT_TRUE(::DeleteFileA(gone.c_str()));
    EXPECT_EQ(Property(pe.get(), L"Name"), L"GONE.DLL");

    const std::string ocx = temp_.Write("control.OCX", fixture);
    ::SetFileAttributesA(ocx.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    pe = ObjectOf(GetPEFile(ocx));
    ASSERT_TRUE(pe);
    EXPECT_EQ(Attributes(pe.get()), 3);

    const std::string drv = temp_.Write("printer.drv", fixture);
    ::SetFileAttributesA(drv.c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    pe = ObjectOf(GetPEFile(drv));
    ASSERT_TRUE(pe);
    EXPECT_EQ(Attributes(pe.get()), 4);
}

// The size comes from all 64 bits: a file past 4 GiB is not shown small or negative. The file
// is sparse, so it takes no disk space.
TEST_F(PEFileTest, SizeOfAFileBeyondFourGigabytes)
{
    const std::string big = temp_.Write("big.dll", ReadWholeFile(FixturePath("versioned.dll")));
    Resize(big, 0x100000000LL + 8192);
    const ComPtr<IDispatch> pe = ObjectOf(GetPEFile(big));
    ASSERT_TRUE(pe);
    EXPECT_EQ(Property(pe.get(), L"Size"), L"4194312");
}

// Each successful call refills the one PEFile of its Ops; a failed call leaves it alone.
TEST_F(PEFileTest, OneObjectPerOpsIsRefilled)
{
    const ComPtr<IDispatch> first = ObjectOf(GetPEFile(FixturePath("versioned.dll")));
    const ComPtr<IDispatch> second = ObjectOf(GetPEFile(SystemPath("kernel32.dll")));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(Property(first.get(), L"Name"), L"kernel32.dll");

    EXPECT_EQ(GetPEFile(FixturePath("unversioned.dll")).scode, AutomationErrorCode(3));
    EXPECT_EQ(GetPEFile(temp_.Path("missing.exe")).scode, AutomationErrorCode(1));
    EXPECT_EQ(Property(first.get(), L"Name"), L"kernel32.dll");

    // Another Ops has its own PEFile, and a PEFile outlives its Ops.
    ComPtr<IDispatch> other_ops = CreateByProgId(L"Kovar3.Ops");
    Variant arg = Variant::Text(FixturePath("versioned.dll"));
    const ComPtr<IDispatch> third =
        ObjectOf(CallByRef(other_ops.get(), L"GetPEFile", {arg.address()}));
    ASSERT_TRUE(third);
    EXPECT_NE(third.get(), first.get());
    other_ops.reset();
    EXPECT_EQ(Property(third.get(), L"CompanyName"), L"Fixture Works");
    EXPECT_EQ(Property(first.get(), L"Name"), L"kernel32.dll");
}

// The platform's own structured query of the first string table, for comparison.
std::wstring QueryVersionString(const std::string& path, const wchar_t* key)
{
    const std::wstring wide_path = FromAnsi(path);
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(wide_path.c_str(), &unused);
    std::vector<BYTE> block(size);
    if (!size || !::GetFileVersionInfoW(wide_path.c_str(), 0, size, block.data())) return L"?";
    struct Translation {
        WORD language, code_page;
    }* translations = nullptr;
    UINT bytes = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                          reinterpret_cast<void**>(&translations), &bytes) ||
        bytes < 4)
        return L"?";
    wchar_t query[128];
    swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations->language,
             translations->code_page, key);
    wchar_t* value = nullptr;
    if (!::VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &bytes) || !value)
        return L"";
    return value;
}

TEST_F(PEFileTest, DescribesWineSystemLibrariesAsTheStructuredQueryDoes)
{
    for (const char* name :
         {"kernel32.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "user32.dll"}) {
        const std::string path = SystemPath(name);
        SCOPED_TRACE(path);
        const ComPtr<IDispatch> pe = ObjectOf(GetPEFile(path));
        ASSERT_TRUE(pe);
        for (const wchar_t* key : {L"CompanyName", L"FileVersion", L"ProductVersion",
                                   L"ProductName", L"FileDescription"}) {
            SCOPED_TRACE(ToAnsi(key));
            EXPECT_EQ(Property(pe.get(), key), QueryVersionString(path, key));
        }
        EXPECT_NE(Property(pe.get(), L"CompanyName"), L"");
        EXPECT_EQ(ToAnsi(Property(pe.get(), L"Name")), name);
        EXPECT_NE(Property(pe.get(), L"DateLastModified"), L"");
        const std::wstring size = Property(pe.get(), L"Size");
        EXPECT_FALSE(size.empty());
        EXPECT_EQ(size.find_first_not_of(L"0123456789"), std::wstring::npos);
    }
}

// Run once normally and once as a program Wine reports as Windows 98: the family picks the
// reading of the version block. Wine hands every program the
// block in its UTF-16 layout, which the 95/98/ME reading does not match, so there the texts
// stay empty while the directory entry is still read.
using FamilyPEFileTest = PEFileTest;
TEST_F(FamilyPEFileTest, FamilyPicksTheReadingOfTheVersionBlock)
{
    const bool win98 = ExpectWin98Family();
    const ComPtr<IDispatch> pe = ObjectOf(GetPEFile(FixturePath("versioned.dll")));
    ASSERT_TRUE(pe);
    EXPECT_EQ(Property(pe.get(), L"CompanyName"), win98 ? L"" : L"Fixture Works");
    EXPECT_EQ(Property(pe.get(), L"FileVersion"), win98 ? L"" : L"1.2.3.4");
    EXPECT_EQ(Property(pe.get(), L"Name"), L"versioned.dll");
}

}  // namespace
}  // namespace kovar3::test
