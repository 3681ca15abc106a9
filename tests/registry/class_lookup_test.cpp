// GetRegFromCLSID, GetRegFromProgID and GetEXEPath through IDispatch, against classes and App
// Paths entries that the tests register and remove themselves.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "registry/registry_fixture.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

constexpr char kClsid[] = "{6B3E8A52-1D7F-4C0E-9A21-5F0C3D2E7B41}";
constexpr char kBareClsid[] = "{6B3E8A52-1D7F-4C0E-9A21-5F0C3D2E7B42}";  // no ProgID subkey
// Classes whose in-process server path is 254 and 255 characters long: registry texts are
// read through 255 bytes, so the first is returned and the second is not.
constexpr char kClsid254[] = "{6B3E8A52-1D7F-4C0E-9A21-5F0C3D2E7B43}";
constexpr char kClsid255[] = "{6B3E8A52-1D7F-4C0E-9A21-5F0C3D2E7B44}";
const std::string kServer254 = "C:\\" + std::string(247, 's') + ".dll";
const std::string kServer255 = kServer254 + "x";
constexpr char kProgId[] = "Kovar3Test.Registered.1";
constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

class RegistrationTest : public RegistryTest {
protected:
    void SetUp() override
    {
        RegistryTest::SetUp();
        Cleanup();
        const std::string clsid = std::string("CLSID\\") + kClsid;
        RawRegistry::SetText(HKEY_CLASSES_ROOT, clsid, "", "Kovar3 test class");
        RawRegistry::SetText(HKEY_CLASSES_ROOT, clsid + "\\ProgID", "", kProgId);
        RawRegistry::SetText(HKEY_CLASSES_ROOT, clsid + "\\VersionIndependentProgID", "",
                             "Kovar3Test.Registered");
        // Kept as stored: not expanded.
        RawRegistry::SetText(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", "",
                             "%SystemRoot%\\kovar3test.dll", REG_EXPAND_SZ);
        RawRegistry::SetText(HKEY_CLASSES_ROOT, kProgId, "", "Kovar3 test class");
        RawRegistry::SetText(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\CLSID", "", kClsid);
        RawRegistry::SetText(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kBareClsid, "",
                             "no ProgID");
        for (const auto& [id, server] :
             {std::pair{kClsid254, kServer254}, {kClsid255, kServer255}}) {
            RawRegistry::SetText(HKEY_CLASSES_ROOT, std::string("CLSID\\") + id + "\\ProgID", "",
                                 kProgId);
            RawRegistry::SetText(HKEY_CLASSES_ROOT,
                                 std::string("CLSID\\") + id + "\\InprocServer32", "", server);
        }
    }
    void TearDown() override
    {
        Cleanup();
        RegistryTest::TearDown();
    }
    static void Cleanup()
    {
        RawRegistry::DeleteTree(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid);
        RawRegistry::DeleteTree(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kBareClsid);
        RawRegistry::DeleteTree(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid254);
        RawRegistry::DeleteTree(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid255);
        RawRegistry::DeleteTree(HKEY_CLASSES_ROOT, kProgId);
        for (const char* name :
             {"kovar3test-plain.exe", "kovar3test-quoted.exe", "kovar3test-env.exe",
              "kovar3test-gone.exe", "kovar3test-empty.exe", "kovar3test-254.exe",
              "kovar3test-255.exe"})
            RawRegistry::DeleteTree(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + name);
    }

    std::vector<Variant> Record(const wchar_t* member, Variant argument)
    {
        const CallOutcome call = CallByRef(ops(), member, {Ref(argument)});
        EXPECT_EQ(call.hr, S_OK);
        EXPECT_EQ(LowerBoundOf(call.result.get()), 0);
        std::vector<Variant> record = ElementsOf(call.result.get());
        EXPECT_EQ(record.size(), 6u);
        record.resize(6);
        EXPECT_EQ(record[0].type(), VT_I2);
        return record;
    }
};

// Each element of a record: Empty ("-"), or its text.
std::vector<std::string> Shape(const std::vector<Variant>& record)
{
    std::vector<std::string> out;
    for (size_t i = 1; i < record.size(); ++i)
        out.push_back(record[i].type() == VT_EMPTY ? "-" : Describe(record[i].get()));
    return out;
}

TEST_F(RegistrationTest, GetRegFromCLSID)
{
    const std::string bare_id = std::string(kClsid).substr(1, 36);
    const std::vector<std::string> registered = {kClsid, kProgId, "Kovar3Test.Registered",
                                                 "%SystemRoot%\\kovar3test.dll", ""};
    struct Case {
        std::string given;
        short status;
        std::vector<std::string> shape;
    } const cases[] = {
        {kClsid, 0, registered},
        {bare_id, 0, registered},            // braces added
        {"{" + bare_id, 0, registered},      // closing brace appended
        {bare_id + "}", 0, registered},      // opening brace put in front
        {"", 1, {"-", "-", "-", "-", "-"}},  // "{}" is not 38 characters
        {kBareClsid, 1, {kBareClsid, "-", "-", "-", "-"}},
        {kClsid254, 0, {kClsid254, kProgId, "", kServer254, ""}},
        {kClsid255, 0, {kClsid255, kProgId, "", "", ""}},  // too long for the 255-byte read
        {std::string(kClsid).substr(0, 20) + '\0' + std::string(kClsid).substr(21),
         1,
         {std::string(kClsid).substr(0, 20) + '\0' + std::string(kClsid).substr(21), "-", "-", "-",
          "-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        const std::vector<Variant> record = Record(L"GetRegFromCLSID", Variant::Text(c.given));
        EXPECT_EQ(V_I2(&record[0].get()), c.status);
        EXPECT_EQ(Shape(record), c.shape);
    }
    const std::vector<Variant> record = Record(L"GetRegFromCLSID", Null());
    EXPECT_EQ(V_I2(&record[0].get()), 1);
}

TEST_F(RegistrationTest, GetRegFromProgID)
{
    std::vector<Variant> record = Record(L"GetRegFromProgID", Variant::Text(kProgId));
    EXPECT_EQ(V_I2(&record[0].get()), 0);
    EXPECT_EQ(Shape(record), (std::vector<std::string>{kClsid, kProgId, "Kovar3Test.Registered",
                                                       "%SystemRoot%\\kovar3test.dll", ""}));
    // Not registered: the ProgID exactly as passed, everything else Empty.
    record = Record(L"GetRegFromProgID", Variant::Text("kovar3test.NOT.there"));
    EXPECT_EQ(V_I2(&record[0].get()), 1);
    EXPECT_EQ(Shape(record),
              (std::vector<std::string>{"-", "kovar3test.NOT.there", "-", "-", "-"}));
    // A NUL inside would make the ProgID key's own description pass for its class.
    const std::string with_nul = std::string(kProgId) + '\0' + "x";
    record = Record(L"GetRegFromProgID", Variant::Text(with_nul));
    EXPECT_EQ(V_I2(&record[0].get()), 1);
    // A class that Wine itself registers.
    record = Record(L"GetRegFromProgID", Variant::Text("Scripting.FileSystemObject"));
    EXPECT_EQ(V_I2(&record[0].get()), 0);
    EXPECT_NE(Describe(record[4].get()), "");
}

TEST_F(RegistrationTest, GetEXEPath)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "kovar3test app.exe";
    std::ofstream(file) << "MZ";
    ::SetEnvironmentVariableA("KOVAR3_TEST_TEMP", temp);
    const std::string apps = kAppPaths;
    RawRegistry::SetText(HKEY_LOCAL_MACHINE, apps + "kovar3test-plain.exe", "", file);
    RawRegistry::SetText(HKEY_LOCAL_MACHINE, apps + "kovar3test-quoted.exe", "",
                         "\"" + file + "\"");
    RawRegistry::SetText(HKEY_LOCAL_MACHINE, apps + "kovar3test-env.exe", "",
                         "\"%KOVAR3_TEST_TEMP%kovar3test app.exe\"", REG_EXPAND_SZ);
    RawRegistry::SetText(HKEY_LOCAL_MACHINE, apps + "kovar3test-gone.exe", "", file + ".removed");
    RawRegistry::CreateKey(HKEY_LOCAL_MACHINE, apps + "kovar3test-empty.exe");
    // Existing files whose full paths are 254 and 255 characters long.
    const TempFolder folder;
    const std::string long254 =
        folder.Write(std::string(254 - folder.path().size() - 5, 'p') + ".exe", "MZ");
    const std::string long255 =
        folder.Write(std::string(255 - folder.path().size() - 5, 'p') + ".exe", "MZ");
    ASSERT_EQ(long254.size(), 254u);
    RawRegistry::SetText(HKEY_LOCAL_MACHINE, apps + "kovar3test-254.exe", "", long254);
    RawRegistry::SetText(HKEY_LOCAL_MACHINE, apps + "kovar3test-255.exe", "", long255);
    struct Case {
        const char* name;
        std::string path;
    } const cases[] = {
        {"kovar3test-plain.exe", file},  {"KOVAR3TEST-PLAIN.EXE", file},
        {"kovar3test-quoted.exe", file}, {"kovar3test-env.exe", file},
        {"kovar3test-gone.exe", ""},     {"kovar3test-empty.exe", ""},
        {"kovar3test-none.exe", ""},     {"", ""},
        {"kovar3test-254.exe", long254}, {"kovar3test-255.exe", ""},  // read through 255 bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Variant name = Variant::Text(c.name);
        const CallOutcome call = CallByRef(ops(), L"GetEXEPath", {Ref(name)});
        EXPECT_EQ(call.result.type(), VT_BSTR);
        EXPECT_EQ(Describe(call.result.get()), c.path);
    }
    ::DeleteFileA(file.c_str());
}

}  // namespace
}  // namespace kovar3::test
