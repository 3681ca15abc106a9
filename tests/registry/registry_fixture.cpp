#include "registry/registry_fixture.h"

#include <oleauto.h>

#include "platform/text.h"

namespace kovar3::test {

bool RawRegistry::KeyExists(HKEY root, const std::string& path)
{
    RegKey key;
    return ::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

void RawRegistry::CreateKey(HKEY root, const std::string& path)
{
    RegKey key;
    ASSERT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS)
        << path;
}

void RawRegistry::SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                           const std::string& bytes)
{
    RegKey key;
    ASSERT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS)
        << path;
    ASSERT_EQ(::RegSetValueExA(key.get(), name.c_str(), 0, type,
                               reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS)
        << name;
}

bool RawRegistry::GetValue(HKEY root, const std::string& path, const std::string& name, DWORD& type,
                           std::string& bytes)
{
    RegKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return false;
    bytes.assign(size, '\0');
    return ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(bytes.data()), &size) == ERROR_SUCCESS;
}

void RawRegistry::DeleteTree(HKEY root, const std::string& path)
{
    ::RegDeleteTreeA(root, path.c_str());
    ::RegDeleteKeyA(root, path.c_str());
}

void RegistryTest::SetUp()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::string("Software\\Kovar3 Tests\\") + info->test_suite_name() + "." + info->name();
    for (char& c : path_) {
        if (c == '/') c = '_';  // parameterised names carry a slash
    }
    RawRegistry::DeleteTree(HKEY_CURRENT_USER, path_);
    CreateKey(path_);
    ops_ = CreateByProgId(L"Kovar3.Ops");
    ASSERT_TRUE(ops_);
}

void RegistryTest::TearDown()
{
    ops_.reset();
    // A fixture whose SetUp never ran (a skipped test) has no key; an empty path would name all
    // of HKEY_CURRENT_USER.
    if (!path_.empty()) RawRegistry::DeleteTree(HKEY_CURRENT_USER, path_);
}

Variant ArrayOfVariants(std::vector<Variant> items, LONG lower_bound)
{
    SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), lower_bound};
    SAFEARRAY* array = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
    Variant owner = Variant::Array(array);
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        LONG index = lower_bound + i;
        ::SafeArrayPutElement(array, &index, items[i].address());
    }
    return owner;
}

std::string Describe(const VARIANT& v)
{
    if (V_VT(&v) == VT_BSTR) return AnsiTextOf(v);
    return "<vt " + std::to_string(V_VT(&v)) + ">";
}

}  // namespace kovar3::test
