#include "component/pe_file_class.h"

#include "platform/member.h"

namespace kovar3 {
namespace {

// The properties only copy stored values; a text that cannot be allocated leaves the result
// Empty rather than failing the call.
HRESULT TextProperty(const std::wstring& text, VARIANT* result)
{
    if (!result) return E_POINTER;
    return RunMember(
        result, [&] { return Variant::WideText(text); }, [] { return Variant(); });
}

}  // namespace

HRESULT PEFile::get_CompanyName(VARIANT* result)
{
    return TextProperty(info_.company_name, result);
}
HRESULT PEFile::get_FileVersion(VARIANT* result)
{
    return TextProperty(info_.file_version, result);
}
HRESULT PEFile::get_DateCreated(VARIANT* result)
{
    return TextProperty(info_.date_created, result);
}
HRESULT PEFile::get_DateLastModified(VARIANT* result)
{
    return TextProperty(info_.date_last_modified, result);
}
HRESULT PEFile::get_ProductVersion(VARIANT* result)
{
    return TextProperty(info_.product_version, result);
}
HRESULT PEFile::get_ProductName(VARIANT* result)
{
    return TextProperty(info_.product_name, result);
}
HRESULT PEFile::get_FileDescription(VARIANT* result)
{
    return TextProperty(info_.file_description, result);
}
HRESULT PEFile::get_Size(VARIANT* result) { return TextProperty(info_.size, result); }
// The name is looked up in the file's folder when it is first read, and kept.
HRESULT PEFile::get_Name(VARIANT* result)
{
    if (!result) return E_POINTER;
    return RunMember(
        result,
        [&] {
            if (!info_.name) info_.name = ModFileInfo::StoredName(info_.path);
            return Variant::WideText(*info_.name);
        },
        [] { return Variant(); });
}

HRESULT PEFile::get_Attributes(VARIANT* result)
{
    if (!result) return E_POINTER;
    *result = Variant::I2(info_.attributes).release();
    return S_OK;
}

}  // namespace kovar3
