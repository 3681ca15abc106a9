// Argument counts through IDispatch: every member of the three interfaces refuses a call with
// more or fewer arguments than its description lists, before anything runs.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/variant.h"
#include "registry/registry_fixture.h"
#include "support/dispatch_client.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

struct MemberShape {
    std::wstring name;
    int params = 0;  // the result not counted
    INVOKEKIND kind = INVOKE_FUNC;
};

// The members an object describes through IDispatch::GetTypeInfo, as a client sees them.
std::vector<MemberShape> MembersOf(IDispatch* object)
{
    std::vector<MemberShape> members;
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()), S_OK);
    if (!info) return members;
    TYPEATTR* attributes = nullptr;
    EXPECT_EQ(info->GetTypeAttr(&attributes), S_OK);
    const UINT functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* desc = nullptr;
        if (FAILED(info->GetFuncDesc(i, &desc))) continue;
        if (!(desc->wFuncFlags & FUNCFLAG_FRESTRICTED)) {  // IUnknown's and IDispatch's own
            MemberShape shape;
            Bstr name;
            info->GetDocumentation(desc->memid, name.put(), nullptr, nullptr, nullptr);
            shape.name = name.text();
            shape.kind = desc->invkind;
            for (SHORT p = 0; p < desc->cParams; ++p) {
                if (!(desc->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL))
                    ++shape.params;
            }
            members.push_back(shape);
        }
        info->ReleaseFuncDesc(desc);
    }
    return members;
}

// Every member, with one, two and three arguments too many and with one too few, by reference
// and by value. Every argument is Null: a member that ran would either fail to read it or write
// its failure outputs over it, so an argument that is still Null shows that nothing ran.
TEST(ArgumentCount, WrongCountsAreRefusedByEveryMember)
{
    ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
    ComPtr<IDispatch> ini = CreateByProgId(L"Kovar3.INIEdit");
    ASSERT_TRUE(ops && ini);
    Variant path = Variant::Text("C:\\windows\\system32\\kernel32.dll");
    CallOutcome pe_call = CallByRef(ops.get(), L"GetPEFile", {path.address()});
    ASSERT_EQ(pe_call.hr, S_OK);
    ComPtr<IDispatch> pe_file(V_DISPATCH(pe_call.result.address()));
    pe_call.result.release();

    size_t members = 0;
    for (IDispatch* object : {ops.get(), ini.get(), pe_file.get()}) {
        for (const MemberShape& member : MembersOf(object)) {
            ++members;
            std::vector<int> counts = {member.params + 1, member.params + 2, member.params + 3};
            if (member.params > 0) counts.push_back(member.params - 1);
            for (const int count : counts) {
                for (const bool by_ref : {true, false}) {
                    SCOPED_TRACE(testing::Message()
                                 << std::string(member.name.begin(), member.name.end()) << " with "
                                 << count << " arguments "
                                 << (by_ref ? "by reference" : "by value"));
                    std::vector<Variant> args(count);
                    std::vector<VARIANT*> refs;
                    std::vector<const VARIANT*> values;
                    for (Variant& arg : args) {
                        arg = Null();
                        refs.push_back(arg.address());
                        values.push_back(&arg.get());
                    }
                    const CallOutcome call = by_ref
                                                 ? CallByRef(object, member.name.c_str(), refs)
                                                 : CallByValue(object, member.name.c_str(), values);
                    if (count > member.params && member.kind == INVOKE_PROPERTYGET) {
                        // Arguments to a property are the standard "not a collection" too.
                        EXPECT_TRUE(call.hr == DISP_E_BADPARAMCOUNT ||
                                    call.hr == DISP_E_NOTACOLLECTION)
                            << std::hex << call.hr;
                    } else if (count > member.params) {
                        EXPECT_EQ(call.hr, DISP_E_BADPARAMCOUNT);
                    } else {
                        EXPECT_TRUE(call.hr == DISP_E_BADPARAMCOUNT ||
                                    call.hr == DISP_E_PARAMNOTOPTIONAL)
                            << std::hex << call.hr;
                    }
                    EXPECT_EQ(call.result.type(), VT_EMPTY);
                    for (const Variant& arg : args) EXPECT_EQ(arg.type(), VT_NULL);
                }
            }
        }
    }
    EXPECT_EQ(members, 42u + 6u + 10u);
}

// With arguments that would do something, a wrong count still does nothing.
using ArgumentCountEffects = RegistryTest;

TEST_F(ArgumentCountEffects, RegistryAndIniAreLeftAlone)
{
    SetText("keep", "kept");
    CreateKey(Sub("child"));

    std::vector<Variant> write =
        TextArgs({L"HKCU", FromAnsi(Path()), L"new", L"data", L"S", L"extra"});
    EXPECT_EQ(CallByRef(ops(), L"RegWriteValue", write).hr, DISP_E_BADPARAMCOUNT);
    std::vector<Variant> write_short = TextArgs({L"HKCU", FromAnsi(Path()), L"new", L"data"});
    EXPECT_NE(CallByRef(ops(), L"RegWriteValue", write_short).hr, S_OK);
    DWORD type = 0;
    std::string bytes;
    EXPECT_FALSE(GetValue("new", type, bytes));

    std::vector<Variant> delete_value = TextArgs({L"HKCU", FromAnsi(Path()), L"keep", L"extra"});
    EXPECT_EQ(CallByRef(ops(), L"RegDeleteVal", delete_value).hr, DISP_E_BADPARAMCOUNT);
    EXPECT_TRUE(GetValue("keep", type, bytes));
    std::vector<Variant> delete_key =
        TextArgs({L"HKCU", FromAnsi(Path()), L"child", L"extra", L"extra"});
    EXPECT_EQ(CallByRef(ops(), L"RegDeleteSubkey", delete_key).hr, DISP_E_BADPARAMCOUNT);
    EXPECT_TRUE(KeyExists(Sub("child")));

    TempFolder temp;
    const std::string ini_path = temp.Write("a.ini", "[s]\r\nk=old\r\n");
    ComPtr<IDispatch> ini = CreateByProgId(L"Kovar3.INIEdit");
    std::vector<Variant> write_ini = TextArgs({FromAnsi(ini_path), L"s", L"k", L"new", L"extra"});
    EXPECT_EQ(CallByRef(ini.get(), L"WriteIniVal", write_ini).hr, DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(ReadWholeFile(ini_path), "[s]\r\nk=old\r\n");
}

// Named arguments count like the others, and each must name a parameter no other fills.
TEST_F(ArgumentCountEffects, NamedArgumentsCountToo)
{
    const DISPID write_id = DispIdOf(ops(), L"RegWriteValue");
    std::vector<Variant> args =
        TextArgs({L"HKCU", FromAnsi(Path()), L"named", L"data", L"S", L"extra"});
    const auto invoke = [&](UINT count, std::vector<DISPID> names) {
        // rgvarg holds the arguments last to first; the named ones come first in it.
        std::vector<VARIANT> reversed(count);
        for (UINT i = 0; i < count; ++i) {
            V_VT(&reversed[count - 1 - i]) = VT_BYREF | VT_VARIANT;
            V_VARIANTREF(&reversed[count - 1 - i]) = args[i].address();
        }
        DISPPARAMS params{reversed.data(), names.data(), count, static_cast<UINT>(names.size())};
        Variant result;
        UINT arg_error = 0;
        return ops()->Invoke(write_id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                             result.put(), nullptr, &arg_error);
    };
    // Six arguments of which one is named: one too many.
    EXPECT_EQ(invoke(6, {5}), DISP_E_BADPARAMCOUNT);
    // Five arguments, the named one naming a parameter filled by position.
    EXPECT_EQ(invoke(5, {2}), DISP_E_PARAMNOTFOUND);
    // Five arguments, the named one naming no parameter.
    EXPECT_EQ(invoke(5, {7}), DISP_E_PARAMNOTFOUND);
    DWORD type = 0;
    std::string bytes;
    EXPECT_FALSE(GetValue("named", type, bytes));
    // Five arguments, every one named, in the opposite order: each reaches its parameter.
    args = TextArgs({L"S", L"data", L"named", FromAnsi(Path()), L"HKCU"});
    EXPECT_EQ(invoke(5, {0, 1, 2, 3, 4}), S_OK);
    EXPECT_TRUE(GetValue("named", type, bytes));
}

}  // namespace
}  // namespace kovar3::test
