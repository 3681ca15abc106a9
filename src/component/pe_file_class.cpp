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

// A text made from the stored facts the first time it is read, and kept from then on.
template <typename Make>
HRESULT LazyTextProperty(std::optional<std::wstring>& text, VARIANT* result, Make make)
{
    if (!result) return E_POINTER;
    return RunMember(
        result,
        [&] {
            if (!text) text = make();
            return Variant::WideText(*text);
        },
        [] { return Variant(); });
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
// The dates are put into words when first read, and kept.
HRESULT PEFile::get_DateCreated(VARIANT* result)
{
    return LazyTextProperty(info_.date_created, result,
                            [&] { return ModFileInfo::CreatedDateText(info_.created); });
}
HRESULT PEFile::get_DateLastModified(VARIANT* result)
{
    return LazyTextProperty(info_.date_last_modified, result,
                            [&] { return ModFileInfo::DateText(info_.last_written); });
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
    return LazyTextProperty(info_.name, result,
                            [&] { return ModFileInfo::StoredName(info_.path); });
}

HRESULT PEFile::get_Attributes(VARIANT* result)
{
    if (!result) return E_POINTER;
    *result = Variant::I2(info_.attributes).release();
    return S_OK;
}

}  // namespace kovar3
