// The embedded type library of both DLLs, read back through ITypeLib/ITypeInfo and compared
// with the table of what clients rely on: names, DISPIDs, slot order, parameter names,
// documentation strings, flags and identities. Any drift fails here.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kovar3_h.h"
#include "kovar3_version.h"
#include "platform/unique.h"
#include "platform/variant.h"
#include "support/paths.h"

namespace kovar3::test {
namespace {

enum class Result { kNone, kVariant, kPEFile };

struct Member {
    MEMBERID id;
    const wchar_t* name;
    std::vector<const wchar_t*> params;
    Result result;
    const wchar_t* doc;
};

const Member kOpsMembers[] = {
    {0x60030002,
     L"GetRegFromCLSID",
     {L"vCLSID"},
     Result::kVariant,
     L"Find whether given CLSID is registered."},
    {0x60030003,
     L"GetRegFromProgID",
     {L"vProgID"},
     Result::kVariant,
     L"Find whether given ProgID is registered."},
    {0x60030004,
     L"GetPEFile",
     {L"vFilePath"},
     Result::kPEFile,
     L"Returns a PEFile object for file path."},
    {0x60030005, L"SendTextCB", {L"vText"}, Result::kVariant, L"Save string to clipboard."},
    {0x60030006,
     L"GetTextCB",
     {L"vText"},
     Result::kVariant,
     L"Retrieve clipboard contents if format is plain text."},
    {0x60030007,
     L"ExitWin",
     {L"vExitMode"},
     Result::kNone,
     L"Logoff, restart or shutdown Windows."},
    {0x60030008,
     L"GetOpVersion",
     {L"vOSVersion"},
     Result::kVariant,
     L"Get version and build of OS."},
    {0x60030009,
     L"GetMemory",
     {L"vTotal", L"vInUse"},
     Result::kVariant,
     L"Get RAM installed and RAM currently in use."},
    {0x6003000A, L"GetCurUser", {}, Result::kVariant, L"Get current user name."},
    {0x6003000B, L"GetCompName", {}, Result::kVariant, L"Get computer name."},
    {0x6003000C, L"ChangeCompName", {L"vNewName"}, Result::kVariant, L"Change computer name."},
    {0x6003000D,
     L"ChangeDriveName",
     {L"vDriveLetter", L"vNewName"},
     Result::kVariant,
     L"Change fixed drive name."},
    {0x6003000E, L"GetColorDepthBPP", {}, Result::kVariant, L"Get display bits per pixel ."},
    {0x6003000F,
     L"GetDesktopPixels",
     {L"vDeskWidth", L"vDeskHeight"},
     Result::kVariant,
     L"Get width and height of Desk work area."},
    {0x60030010,
     L"GetScreenPixels",
     {L"vScreenWidth", L"vScreenHeight"},
     Result::kVariant,
     L"Get screen width and height."},
    {0x60030011,
     L"GetDriveInfo",
     {},
     Result::kVariant,
     L"Get size and free space info. for drives."},
    {0x60030013,
     L"RegDeleteVal",
     {L"vKey", L"vRegPath", L"vValue"},
     Result::kVariant,
     L"Delete a Registry value."},
    {0x60030014,
     L"RegDeleteSubkey",
     {L"vKey", L"vRegPath", L"vSubKeyName"},
     Result::kVariant,
     L"Delete a Registry key."},
    {0x60030015,
     L"RegGetValue",
     {L"vKey", L"vRegPath", L"vValue", L"vData", L"vType"},
     Result::kVariant,
     L"Get one Registry value - Str, Dword, Binary or XStr."},
    {0x60030016,
     L"RegWriteValue",
     {L"vKey", L"vRegPath", L"vValue", L"vData", L"vType"},
     Result::kVariant,
     L"Write String, X-Str, DWord or Binary value data to Registry. Key and value are created if "
     L"nec."},
    {0x60030017,
     L"RegListKeys",
     {L"vKey", L"vRegPath", L"vKeyList"},
     Result::kVariant,
     L"List all subkeys in a Registry key."},
    {0x60030018,
     L"RegListVals",
     {L"vKey", L"vRegPath", L"vValList"},
     Result::kVariant,
     L"List values in a Registry key."},
    {0x60030019,
     L"RegListStringData",
     {L"vKey", L"vRegPath", L"vValList"},
     Result::kVariant,
     L"List data of all string values in a Registry key."},
    {0x6003001A, L"PlayWav", {L"vFilePath"}, Result::kNone, L"Play a .WAV file."},
    {0x6003001B,
     L"GetEXEPath",
     {L"exeName"},
     Result::kVariant,
     L"Get full path of installed program EXE."},
    {0x6003001C,
     L"SetWallpaper",
     {L"vFilePath", L"vStyle"},
     Result::kVariant,
     L"Sets Desk wallpaper. Takes path of BMP file and style setting."},
    {0x6003001D,
     L"SetSystemColor",
     {L"vItem", L"vHexCode"},
     Result::kVariant,
     L"Set color of GUI element."},
    {0x6003001E,
     L"SetBackColor",
     {L"vHexCode"},
     Result::kVariant,
     L"Sets Desktop back color. Takes 6-char. hex code."},
    {0x6003001F, L"TimerStart", {}, Result::kNone, L"Starts timer."},
    {0x60030020,
     L"TimerStop",
     {},
     Result::kVariant,
     L"Returns milliseconds elapsed since call to TimerStart."},
    {0x60030021,
     L"GetSystemColor",
     {L"vItem"},
     Result::kVariant,
     L"Get colors in use for GUI items."},
    {0x60030022,
     L"GetProcessList",
     {L"vProcList", L"vNumberProcs"},
     Result::kVariant,
     L"Returns comma-delimited list of running processes on 95/98/ME."},
    {0x60030023,
     L"GetOpenWindowTitles",
     {L"vTitles"},
     Result::kVariant,
     L"Get title bar text of all open, visible windows."},
    {0x60030024,
     L"GetActiveWindowTitle",
     {},
     Result::kVariant,
     L"Get title bar text of active window."},
    {0x60030025,
     L"SetWindowActive",
     {L"vTitle", L"vBoolMin"},
     Result::kVariant,
     L"Set a window as active."},
    {0x60030026, L"CloseProgram", {L"vTitle", L"vForce"}, Result::kNone, L"Close a program."},
    {0x60030027,
     L"GetDefaultProgram",
     {L"vExt"},
     Result::kVariant,
     L"Returns path of default program for a given file extension."},
    {0x60030028,
     L"PrintFile",
     {L"vFilePath"},
     Result::kVariant,
     L"Print a file with default program."},
    {0x60030029, L"ColorDlg", {}, Result::kVariant, L"Shows a Choose Color dialogue."},
    {0x6003002A,
     L"OpenDlg",
     {L"vTitle", L"vExt", L"vInitDir"},
     Result::kVariant,
     L"Shows Open File dialogue."},
    {0x6003002B,
     L"OpenMultiDlg",
     {L"vTitle", L"vExt", L"vInitDir"},
     Result::kVariant,
     L"Shows Open File dialogue with multiple selection option."},
    {0x6003002C,
     L"SaveDlg",
     {L"vTitle", L"vExt"},
     Result::kVariant,
     L"Shows a Save File dialogue."},
};

const Member kIniEditMembers[] = {
    {0x60030002,
     L"GetIniVal",
     {L"vFilePath", L"vSection", L"vKeyName"},
     Result::kVariant,
     L"Get one value from INI file."},
    {0x60030003,
     L"GetIniSectionKeys",
     {L"vFilePath", L"vSection"},
     Result::kVariant,
     L"Get list of keynames in one INI section."},
    {0x60030004,
     L"GetIniSectionNames",
     {L"vFilePath"},
     Result::kVariant,
     L"List all section names in INI file."},
    {0x60030005,
     L"GetIniSectionVals",
     {L"vFilePath", L"vSection"},
     Result::kVariant,
     L"Get list of key=value pairs for one INI section."},
    {0x60030006,
     L"WriteIniVal",
     {L"vFilePath", L"vSection", L"vKeyName", L"vValue"},
     Result::kVariant,
     L"Write one INI value, delete an INI key or delete an INI section."},
    {0x60030007,
     L"WriteIniSection",
     {L"vFilePath", L"vSection", L"vKeyList"},
     Result::kVariant,
     L"Write a section with keys to INI file."},
};

// Read-only properties, numbered downwards.
const Member kPEFileMembers[] = {
    {0x68030009, L"CompanyName", {}, Result::kVariant, L"Company name of PE file producer."},
    {0x68030008, L"FileVersion", {}, Result::kVariant, L"PE file version."},
    {0x68030007,
     L"DateCreated",
     {},
     Result::kVariant,
     L"Date PE file was created, or \"\" if unknown."},
    {0x68030006, L"DateLastModified", {}, Result::kVariant, L"Date PE file was last changed."},
    {0x68030005,
     L"ProductVersion",
     {},
     Result::kVariant,
     L"Version of software product to which PE file belongs."},
    {0x68030004,
     L"ProductName",
     {},
     Result::kVariant,
     L"Name of software product to which PE file belongs."},
    {0x68030003, L"FileDescription", {}, Result::kVariant, L"PE file description string."},
    {0x68030002, L"Size", {}, Result::kVariant, L"Size of PE file in KB."},
    {0x68030001,
     L"Attributes",
     {},
     Result::kVariant,
     L"returns file attributes: RO-1 Hidden-2 System-4"},
    {0x68030000, L"Name", {}, Result::kVariant, L"PE file filename."},
};

struct InterfaceCase {
    const IID* iid;
    const wchar_t* name;
    const Member* members;
    size_t count;
    INVOKEKIND kind;
};

const InterfaceCase kInterfaces[] = {
    {&IID__Ops, L"_Ops", kOpsMembers, std::size(kOpsMembers), INVOKE_FUNC},
    {&IID__INIEdit, L"_INIEdit", kIniEditMembers, std::size(kIniEditMembers), INVOKE_FUNC},
    {&IID__PEFile, L"_PEFile", kPEFileMembers, std::size(kPEFileMembers), INVOKE_PROPERTYGET},
};

struct ClassCase {
    const CLSID* clsid;
    const wchar_t* name;
    const IID* default_interface;
    WORD flags;
};

const ClassCase kClasses[] = {
    {&CLSID_Ops, L"Ops", &IID__Ops, TYPEFLAG_FCANCREATE},
    {&CLSID_INIEdit, L"INIEdit", &IID__INIEdit, TYPEFLAG_FCANCREATE},
    {&CLSID_PEFile, L"PEFile", &IID__PEFile, 0},  // clients cannot create it
};

std::wstring NameOf(ITypeInfo* info, MEMBERID id)
{
    Bstr name;
    info->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr);
    return name.text();
}

std::wstring DocOf(ITypeInfo* info, MEMBERID id)
{
    Bstr doc;
    info->GetDocumentation(id, nullptr, doc.put(), nullptr, nullptr);
    return doc.text();
}

class TypeLibraryTest : public ::testing::TestWithParam<Arch> {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::LoadTypeLibEx(BuiltDll(GetParam()).c_str(), REGKIND_NONE, library_.put()),
                  S_OK);
    }
    // Vtable offsets are given in the loading process's pointer size, whatever the library's.
    size_t PointerSize() const { return sizeof(void*); }

    ComPtr<ITypeLib> library_;
};

TEST_P(TypeLibraryTest, LibraryIdentity)
{
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(library_->GetLibAttr(&attr), S_OK);
    EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_Kovar3));
    EXPECT_EQ(attr->wMajorVerNum, KOVAR3_TYPELIB_VERSION_MAJOR);
    EXPECT_EQ(attr->wMinorVerNum, KOVAR3_TYPELIB_VERSION_MINOR);
    EXPECT_EQ(attr->lcid, 0x409u);
    EXPECT_EQ(attr->syskind, GetParam() == Arch::k64 ? SYS_WIN64 : SYS_WIN32);
    library_->ReleaseTLibAttr(attr);

    Bstr name, help;
    ASSERT_EQ(library_->GetDocumentation(-1, name.put(), nullptr, nullptr, help.put()), S_OK);
    EXPECT_STREQ(name.get(), L"Kovar3");
    EXPECT_EQ(help.get(), nullptr);  // no help file

    // Three classes and their three interfaces, nothing else.
    EXPECT_EQ(library_->GetTypeInfoCount(), 6u);
}

TEST_P(TypeLibraryTest, Classes)
{
    for (const ClassCase& c : kClasses) {
        SCOPED_TRACE(c.name);
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(library_->GetTypeInfoOfGuid(*c.clsid, info.put()), S_OK);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
        EXPECT_EQ(attr->typekind, TKIND_COCLASS);
        EXPECT_EQ(attr->wTypeFlags, c.flags);
        EXPECT_EQ(attr->cImplTypes, 1);
        info->ReleaseTypeAttr(attr);
        EXPECT_EQ(NameOf(info.get(), MEMBERID_NIL), c.name);

        INT impl_flags = 0;
        EXPECT_EQ(info->GetImplTypeFlags(0, &impl_flags), S_OK);
        EXPECT_TRUE(impl_flags & IMPLTYPEFLAG_FDEFAULT);
        HREFTYPE ref = 0;
        ASSERT_EQ(info->GetRefTypeOfImplType(0, &ref), S_OK);
        ComPtr<ITypeInfo> itf;
        ASSERT_EQ(info->GetRefTypeInfo(ref, itf.put()), S_OK);
        TYPEATTR* itf_attr = nullptr;
        ASSERT_EQ(itf->GetTypeAttr(&itf_attr), S_OK);
        EXPECT_TRUE(IsEqualGUID(itf_attr->guid, *c.default_interface));
        itf->ReleaseTypeAttr(itf_attr);
    }
}

TEST_P(TypeLibraryTest, InterfacesMemberByMember)
{
    for (const InterfaceCase& c : kInterfaces) {
        SCOPED_TRACE(c.name);
        ComPtr<ITypeInfo> dispatch;
        ASSERT_EQ(library_->GetTypeInfoOfGuid(*c.iid, dispatch.put()), S_OK);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(dispatch->GetTypeAttr(&attr), S_OK);
        const WORD dual_flags =
            TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
        EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
        EXPECT_EQ(attr->wTypeFlags, dual_flags);
        dispatch->ReleaseTypeAttr(attr);
        EXPECT_EQ(NameOf(dispatch.get(), MEMBERID_NIL), c.name);

        // The vtable half of the dual interface: IDispatch's seven entries, then the members.
        HREFTYPE ref = 0;
        ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &ref), S_OK);
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(dispatch->GetRefTypeInfo(ref, info.put()), S_OK);
        ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
        EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
        EXPECT_EQ(attr->wTypeFlags, dual_flags | TYPEFLAG_FOLEAUTOMATION);
        ASSERT_EQ(attr->cFuncs, c.count);
        info->ReleaseTypeAttr(attr);

        for (size_t slot = 0; slot < c.count; ++slot) {
            const Member& m = c.members[slot];
            SCOPED_TRACE(m.name);
            FUNCDESC* f = nullptr;
            ASSERT_EQ(info->GetFuncDesc(static_cast<UINT>(slot), &f), S_OK);
            EXPECT_EQ(f->memid, m.id);
            EXPECT_EQ(f->invkind, c.kind);
            EXPECT_EQ(static_cast<size_t>(f->oVft), (7 + slot) * PointerSize());
            EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_HRESULT);
            const size_t expected_params = m.params.size() + (m.result == Result::kNone ? 0 : 1);
            ASSERT_EQ(static_cast<size_t>(f->cParams), expected_params);
            for (size_t p = 0; p < m.params.size(); ++p) {
                const ELEMDESC& e = f->lprgelemdescParam[p];
                EXPECT_EQ(e.tdesc.vt, VT_PTR);
                EXPECT_EQ(e.tdesc.lptdesc->vt, VT_VARIANT);
                EXPECT_EQ(e.paramdesc.wParamFlags, PARAMFLAG_FIN | PARAMFLAG_FOUT);
            }
            if (m.result != Result::kNone) {
                const ELEMDESC& e = f->lprgelemdescParam[m.params.size()];
                EXPECT_EQ(e.paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
                ASSERT_EQ(e.tdesc.vt, VT_PTR);
                if (m.result == Result::kVariant) {
                    EXPECT_EQ(e.tdesc.lptdesc->vt, VT_VARIANT);
                } else {
                    // _PEFile**: a pointer to a pointer to the user-defined interface.
                    ASSERT_EQ(e.tdesc.lptdesc->vt, VT_PTR);
                    EXPECT_EQ(e.tdesc.lptdesc->lptdesc->vt, VT_USERDEFINED);
                }
            }
            info->ReleaseFuncDesc(f);

            BSTR handed[16] = {};
            UINT got = 0;
            ASSERT_EQ(info->GetNames(m.id, handed, 16, &got), S_OK);
            std::vector<Bstr> names;
            for (UINT i = 0; i < got; ++i) names.push_back(Bstr::Adopt(handed[i]));
            ASSERT_GE(got, 1 + m.params.size());
            EXPECT_STREQ(names[0].get(), m.name);
            for (size_t p = 0; p < m.params.size(); ++p)
                EXPECT_STREQ(names[1 + p].get(), m.params[p]);

            EXPECT_EQ(DocOf(info.get(), m.id), m.doc);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, TypeLibraryTest, ::testing::Values(Arch::k64, Arch::k32),
                         [](const auto& info) { return info.param == Arch::k64 ? "x64" : "x86"; });

}  // namespace
}  // namespace kovar3::test
