// RegGetValue and RegWriteValue through IDispatch, as a script calls them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/registry_fixture.h"

namespace kovar3::test {
namespace {

using RegGetValueTest = RegistryTest;
using RegWriteValueTest = RegistryTest;

struct ReadResult {
    CallOutcome call;
    Variant data;
    Variant type;
};

ReadResult Read(IDispatch* ops, const std::string& hive, const std::string& path,
                const std::string& name)
{
    ReadResult r;
    Variant key = Variant::Text(hive), reg_path = Variant::Text(path), value = Variant::Text(name);
    r.data = Sentinel();
    r.type = Sentinel();
    r.call = CallByRef(ops, L"RegGetValue",
                       {Ref(key), Ref(reg_path), Ref(value), Ref(r.data), Ref(r.type)});
    return r;
}

short Write(IDispatch* ops, const std::string& path, const std::string& name, Variant data,
            const std::string& code, const std::string& hive = "HKCU",
            VARTYPE* status_type = nullptr)
{
    Variant key = Variant::Text(hive), reg_path = Variant::Text(path), value = Variant::Text(name);
    Variant type = Variant::Text(code);
    const CallOutcome call = CallByRef(ops, L"RegWriteValue",
                                       {Ref(key), Ref(reg_path), Ref(value), Ref(data), Ref(type)});
    EXPECT_EQ(call.hr, S_OK);
    EXPECT_EQ(call.result.type(), VT_I2) << "RegWriteValue statuses are 16-bit";
    return V_I2(&call.result.get());
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

// What a read of one stored value gives: status (32-bit: the read routine ran), type code and
// data as text ("" for the failures).
struct TextReadCase {
    const char* label;
    DWORD type;
    std::string stored;
    long status;
    const char* code;
    std::string data;
};

TEST_F(RegGetValueTest, ReadsTextValuesByType)
{
    ::SetEnvironmentVariableA("KOVAR3_TEST_DIR", "C:\\kovar");
    const std::string long_expansion(200, 'x');
    ::SetEnvironmentVariableA("KOVAR3_TEST_LONG", long_expansion.c_str());
    const TextReadCase cases[] = {
        {"plain", REG_SZ, std::string("hello") + '\0', 0, "S", "hello"},
        {"254 characters fit", REG_SZ, std::string(254, 'a') + '\0', 0, "S", std::string(254, 'a')},
        {"255 characters do not", REG_SZ, std::string(255, 'a') + '\0', 3, "S", ""},
        {"empty", REG_SZ, std::string(1, '\0'), 1, "S", ""},
        {"expanded, never X", REG_EXPAND_SZ, std::string("%KOVAR3_TEST_DIR%\\bin") + '\0', 0, "S",
         "C:\\kovar\\bin"},
        // More than 255 bytes once expanded: read with the room the expansion needs.
        {"long expansion", REG_EXPAND_SZ,
         std::string("%KOVAR3_TEST_LONG%%KOVAR3_TEST_LONG%") + '\0', 0, "S",
         long_expansion + long_expansion},
        {"expandable too long to read", REG_EXPAND_SZ, std::string(300, 'b') + '\0', 3, "S", ""},
        {"dword zero bytes", REG_DWORD, "", 1, "D", ""},
        {"binary zero bytes", REG_BINARY, "", 1, "B", ""},
        {"multi-string of one NUL", REG_MULTI_SZ, std::string(1, '\0'), 1, "M", ""},
        {"unsupported type", REG_QWORD, std::string(8, '\1'), 5, "", ""},
        {"REG_NONE", REG_NONE, "abc", 5, "", ""},
    };
    for (const TextReadCase& c : cases) {
        SCOPED_TRACE(c.label);
        SetValue("v", c.type, c.stored);
        const ReadResult r = Read(ops(), "HKCU", Path(), "v");
        ASSERT_EQ(r.call.hr, S_OK);
        EXPECT_EQ(r.call.result.type(), VT_I4);
        EXPECT_EQ(V_I4(&r.call.result.get()), c.status);
        EXPECT_EQ(Describe(r.type.get()), c.code);
        EXPECT_EQ(Describe(r.data.get()), c.data);
    }
}

TEST_F(RegGetValueTest, ReadsNumbersAndArrays)
{
    SetDword("all bits", 0xFFFFFFFF);
    SetValue("bytes", REG_BINARY, Bytes({0x00, 0x7F, 0xFF}));
    SetValue("list", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    // Bigger than the text buffer: read again at its own size.
    SetValue("big bytes", REG_BINARY, std::string(1000, '\x5A'));

    ReadResult r = Read(ops(), "HKCU", Path(), "all bits");
    EXPECT_EQ(V_I4(&r.call.result.get()), 0);
    EXPECT_EQ(Describe(r.type.get()), "D");
    ASSERT_EQ(r.data.type(), VT_I4);
    EXPECT_EQ(V_I4(&r.data.get()), -1);

    r = Read(ops(), "HKCU", Path(), "bytes");
    EXPECT_EQ(Describe(r.type.get()), "B");
    EXPECT_EQ(LowerBoundOf(r.data.get()), 0);
    const std::vector<Variant> bytes = ElementsOf(r.data.get());
    ASSERT_EQ(bytes.size(), 3u);
    const short expected[] = {0, 127, 255};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(bytes[i].type(), VT_I2);
        EXPECT_EQ(V_I2(&bytes[i].get()), expected[i]);
    }

    r = Read(ops(), "HKCU", Path(), "list");
    EXPECT_EQ(Describe(r.type.get()), "M");
    const std::vector<Variant> pieces = ElementsOf(r.data.get());
    ASSERT_EQ(pieces.size(), 3u) << "the list's last element is always the empty text";
    EXPECT_EQ(AnsiTextOf(pieces[0].get()), "a");
    EXPECT_EQ(AnsiTextOf(pieces[1].get()), "b");
    EXPECT_EQ(Describe(pieces[2].get()), "");

    r = Read(ops(), "HKCU", Path(), "big bytes");
    EXPECT_EQ(V_I4(&r.call.result.get()), 0);
    EXPECT_EQ(ElementsOf(r.data.get()).size(), 1000u);

    // A long multi-string is read whole.
    std::string long_list;
    for (int i = 0; i < 100; ++i) long_list += "item" + std::to_string(i) + '\0';
    SetValue("long list", REG_MULTI_SZ, long_list + '\0');
    r = Read(ops(), "HKCU", Path(), "long list");
    EXPECT_EQ(V_I4(&r.call.result.get()), 0);
    const std::vector<Variant> items = ElementsOf(r.data.get());
    ASSERT_EQ(items.size(), 101u);
    EXPECT_EQ(AnsiTextOf(items[99].get()), "item99");
}

TEST_F(RegGetValueTest, DefaultValueIsReadByItsType)
{
    // Missing default value: status 1 with "S" (a missing named value is 5 with "").
    ReadResult r = Read(ops(), "HKCU", Path(), "");
    EXPECT_EQ(V_I4(&r.call.result.get()), 1);
    EXPECT_EQ(Describe(r.type.get()), "S");
    EXPECT_EQ(Describe(r.data.get()), "");
    r = Read(ops(), "HKCU", Path(), "missing");
    EXPECT_EQ(V_I4(&r.call.result.get()), 5);
    EXPECT_EQ(Describe(r.type.get()), "");
    EXPECT_EQ(Describe(r.data.get()), "");

    SetText("", "default text");
    r = Read(ops(), "HKCU", Path(), "");
    EXPECT_EQ(V_I4(&r.call.result.get()), 0);
    EXPECT_EQ(Describe(r.data.get()), "default text");

    // A REG_SZ default value that does not fit cannot be read: status 1, not 3.
    SetText("", std::string(255, 'd'));
    r = Read(ops(), "HKCU", Path(), "");
    EXPECT_EQ(V_I4(&r.call.result.get()), 1);
    EXPECT_EQ(Describe(r.type.get()), "S");

    // A REG_DWORD default value is a number, not its first bytes as text.
    SetDword("", 0x00414243);
    r = Read(ops(), "HKCU", Path(), "");
    EXPECT_EQ(V_I4(&r.call.result.get()), 0);
    EXPECT_EQ(Describe(r.type.get()), "D");
    ASSERT_EQ(r.data.type(), VT_I4);
    EXPECT_EQ(V_I4(&r.data.get()), 0x00414243);

    ::SetEnvironmentVariableA("KOVAR3_TEST_DIR", "C:\\kovar");
    SetText("", "%KOVAR3_TEST_DIR%", REG_EXPAND_SZ);
    r = Read(ops(), "HKCU", Path(), "");
    EXPECT_EQ(Describe(r.data.get()), "C:\\kovar");
    EXPECT_EQ(Describe(r.type.get()), "S");

    SetValue("", REG_BINARY, "");  // empty: status 1 with "S"
    r = Read(ops(), "HKCU", Path(), "");
    EXPECT_EQ(V_I4(&r.call.result.get()), 1);
    EXPECT_EQ(Describe(r.type.get()), "S");
}

TEST_F(RegGetValueTest, AddressingFailuresAndTheirOutputs)
{
    SetText("v", "x");
    // Unknown hive: 16-bit 4, vType "", vData left alone.
    for (const char* hive : {"HKEY_CURRENT_USER", " HKCU", "HKCU\\", "", "HK"}) {
        SCOPED_TRACE(hive);
        const ReadResult r = Read(ops(), hive, Path(), "v");
        EXPECT_EQ(r.call.result.type(), VT_I2);
        EXPECT_EQ(V_I2(&r.call.result.get()), 4);
        EXPECT_EQ(Describe(r.type.get()), "");
        EXPECT_TRUE(IsSentinel(r.data.get()));
    }
    // Any letter case, and one backslash trimmed at each end.
    for (const std::string& path : {Path(), "\\" + Path() + "\\", Path() + "\\"}) {
        const ReadResult r = Read(ops(), "hkCu", path, "v");
        EXPECT_EQ(V_I4(&r.call.result.get()), 0) << path;
    }
    // Two backslashes at each end keep one: no such key.
    ReadResult r = Read(ops(), "HKCU", "\\\\" + Path() + "\\\\", "v");
    EXPECT_EQ(V_I4(&r.call.result.get()), 2);
    // A missing key: 32-bit 2, both outputs "".
    r = Read(ops(), "HKCU", Sub("missing"), "v");
    EXPECT_EQ(r.call.result.type(), VT_I4);
    EXPECT_EQ(V_I4(&r.call.result.get()), 2);
    EXPECT_EQ(Describe(r.type.get()), "");
    EXPECT_EQ(Describe(r.data.get()), "");
    // HKCC is accepted for reading.
    r = Read(ops(), "hkcc", "", "no such value");
    EXPECT_EQ(r.call.result.type(), VT_I4);

    // A parameter that cannot be text: the trap's 16-bit 6, both outputs "".
    Variant key = Variant::Text("HKCU"), reg_path = Variant::Text(Path()), value = Null();
    Variant data = Sentinel(), type = Sentinel();
    CallOutcome call = CallByRef(ops(), L"RegGetValue",
                                 {Ref(key), Ref(reg_path), Ref(value), Ref(data), Ref(type)});
    EXPECT_EQ(call.hr, S_OK);
    EXPECT_EQ(call.result.type(), VT_I2);
    EXPECT_EQ(V_I2(&call.result.get()), 6);
    EXPECT_EQ(Describe(data.get()), "");
    EXPECT_EQ(Describe(type.get()), "");

    // Literals (JScript passes by value): the outputs are lost, the status still comes back.
    Variant v = Variant::Text("v");
    Variant empty;
    call = CallByValue(ops(), L"RegGetValue",
                       {&key.get(), &reg_path.get(), &v.get(), &empty.get(), &empty.get()});
    EXPECT_EQ(call.hr, S_OK);
    EXPECT_EQ(V_I4(&call.result.get()), 0);
}

// Writes that must be refused before anything is created.
struct RefusedWrite {
    const char* label;
    const char* hive;
    bool empty_path;
    const char* name;
    int data_kind;  // 0 text "12", 1 array of 1 and 2, 2 text "abc", 3 Null, 4 array with a bad
                    // byte
    const char* code;
    short status;
};

TEST_F(RegWriteValueTest, RefusesBeforeCreatingTheKey)
{
    const RefusedWrite cases[] = {
        {"HKCC is not writable", "HKCC", false, "v", 0, "S", 4},
        {"HKDD is not writable", "HKDD", false, "v", 0, "S", 4},
        {"empty path", "HKCU", true, "v", 0, "S", 5},
        {"M to the default value", "HKCU", false, "", 1, "M", 6},
        {"D to the default value", "HKCU", false, "", 0, "D", 6},
        {"B to the default value", "HKCU", false, "", 1, "B", 6},
        {"D not numeric", "HKCU", false, "v", 2, "D", 7},
        {"D Null", "HKCU", false, "v", 3, "D", 7},
        {"M not an array", "HKCU", false, "v", 0, "M", 8},
        {"BH not an array", "HKCU", false, "v", 0, "bh", 8},
        {"unknown type code", "HKCU", false, "v", 0, "SZ", 9},
        {"bad byte", "HKCU", false, "v", 4, "B", 3},
        {"S with Null data", "HKCU", false, "v", 3, "S", 10},
    };
    for (const RefusedWrite& c : cases) {
        SCOPED_TRACE(c.label);
        Variant data;
        switch (c.data_kind) {
        case 0: data = Variant::Text("12"); break;
        case 1:
            data = ArrayOfVariants([] {
                std::vector<Variant> v;
                v.push_back(Variant::I2(1));
                v.push_back(Variant::I2(2));
                return v;
            }());
            break;
        case 2: data = Variant::Text("abc"); break;
        case 3: data = Null(); break;
        case 4:
            data = ArrayOfVariants([] {
                std::vector<Variant> v;
                v.push_back(Variant::I2(1));
                v.push_back(Variant::I2(256));
                return v;
            }());
            break;
        }
        const std::string target = c.empty_path ? "" : Sub("new\\deeper");
        EXPECT_EQ(Write(ops(), target, c.name, std::move(data), c.code, c.hive), c.status);
        EXPECT_FALSE(KeyExists(Sub("new"))) << "nothing may be created";
    }
}

// Each write, then the registry's own view of the stored value.
struct StoredWrite {
    const char* label;
    const char* code;
    std::vector<Variant> (*elements)();  // null: `text` is the data
    const char* text;
    short status;
    DWORD type;
    std::string bytes;
};

std::vector<Variant> Texts_a_b()
{
    std::vector<Variant> v;
    v.push_back(Variant::Text("a"));
    v.push_back(Variant::Text("b"));
    return v;
}
std::vector<Variant> Hex_0a_FF()
{
    std::vector<Variant> v;
    v.push_back(Variant::Text("0a"));
    v.push_back(Variant::Text("FF"));
    return v;
}
std::vector<Variant> Hex_Number10()
{
    std::vector<Variant> v;
    v.push_back(Variant::I2(10));
    return v;
}
std::vector<Variant> Hex_OneChar()
{
    std::vector<Variant> v;
    v.push_back(Variant::Text("0a"));
    v.push_back(Variant::Text("A"));
    return v;
}
std::vector<Variant> Hex_G()
{
    std::vector<Variant> v;
    v.push_back(Variant::Text("0G"));
    return v;
}
std::vector<Variant> Bytes_Rounding()
{
    std::vector<Variant> v;
    v.push_back(Variant::I2(0));
    Variant r8;
    V_VT(r8.put()) = VT_R8;
    V_R8(r8.address()) = 255.4;
    v.push_back(std::move(r8));
    v.push_back(Variant::Text("12"));
    return v;
}
std::vector<Variant> Bytes_MinusOne()
{
    std::vector<Variant> v;
    v.push_back(Variant::I2(-1));
    return v;
}
std::vector<Variant> Bytes_255_5()
{
    std::vector<Variant> v;
    Variant r8;
    V_VT(r8.put()) = VT_R8;
    V_R8(r8.address()) = 255.5;
    v.push_back(std::move(r8));
    return v;
}
std::vector<Variant> Multi_WithEmptyAndNull()
{
    std::vector<Variant> v;
    v.push_back(Variant::Text("x"));
    v.push_back(Variant());
    v.push_back(Null());
    v.push_back(Variant::I4(7));
    return v;
}
std::vector<Variant> Multi_NulInside()
{
    std::vector<Variant> v;
    v.push_back(Variant::Text(std::string("a\0b", 3)));
    v.push_back(Variant::Text("c"));
    return v;
}
std::vector<Variant> Multi_OutsideCodePage()
{
    std::vector<Variant> v;
    v.push_back(Variant::Text("a"));
    v.push_back(Variant::WideText(L"\u017A"));  // would be stored as "z"
    return v;
}
std::vector<Variant> NoElements() { return {}; }

TEST_F(RegWriteValueTest, StoresTheTypeAndBytesAsked)
{
    const StoredWrite cases[] = {
        {"S", "S", nullptr, "text", 0, REG_SZ, std::string("text\0", 5)},
        {"X stored unexpanded", "x", nullptr, "%PATH%", 0, REG_EXPAND_SZ,
         std::string("%PATH%\0", 7)},
        {"d with &HFF", "d", nullptr, "&HFF", 0, REG_DWORD, Bytes({0xFF, 0, 0, 0})},
        {"D from text", "D", nullptr, "-1", 0, REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
        {"M a, b", "M", Texts_a_b, nullptr, 0, REG_MULTI_SZ, std::string("a\0b\0\0", 5)},
        {"M Empty and Null give empty pieces", "M", Multi_WithEmptyAndNull, nullptr, 0,
         REG_MULTI_SZ,
         std::string("x\0\0\0"
                     "7\0\0",
                     7)},
        {"M without elements", "M", NoElements, nullptr, 0, REG_MULTI_SZ, std::string(1, '\0')},
        // A NUL ends its element, as it ends a name: two strings, not three.
        {"M NUL inside an element", "M", Multi_NulInside, nullptr, 0, REG_MULTI_SZ,
         std::string("a\0c\0\0", 5)},
        {"BH 0a FF", "BH", Hex_0a_FF, nullptr, 0, REG_BINARY, Bytes({0x0A, 0xFF})},
        {"BH number 10 reads as text 10", "BH", Hex_Number10, nullptr, 0, REG_BINARY,
         Bytes({0x10})},
        {"B rounds and reads text", "B", Bytes_Rounding, nullptr, 0, REG_BINARY,
         Bytes({0, 255, 12})},
    };
    for (const StoredWrite& c : cases) {
        SCOPED_TRACE(c.label);
        Variant data = c.elements ? ArrayOfVariants(c.elements()) : Variant::Text(c.text);
        EXPECT_EQ(Write(ops(), Sub("a\\b"), "v", std::move(data), c.code), c.status);
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(RawRegistry::GetValue(HKEY_CURRENT_USER, Sub("a\\b"), "v", type, bytes));
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(bytes, c.bytes);
    }
}

TEST_F(RegWriteValueTest, BadElementsLeaveTheRegistryAlone)
{
    struct Case {
        const char* label;
        const char* code;
        std::vector<Variant> (*elements)();
        LONG lower_bound;
        short status;
    } const cases[] = {
        {"BH one character", "BH", Hex_OneChar, 0, 3},
        {"BH not hexadecimal", "BH", Hex_G, 0, 3},
        {"B below 0", "B", Bytes_MinusOne, 0, 3},
        {"B rounds to 256", "B", Bytes_255_5, 0, 10},
        {"M from lower bound 1", "M", Texts_a_b, 1, 10},
        {"BH from lower bound 1", "BH", Hex_0a_FF, 1, 10},
        {"M element outside the code page", "M", Multi_OutsideCodePage, 0, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Write(ops(), Sub("k"), "v", ArrayOfVariants(c.elements(), c.lower_bound), c.code),
                  c.status);
        EXPECT_FALSE(KeyExists(Sub("k")));
    }
    // An empty byte array fails only at the write, after the key exists.
    EXPECT_EQ(Write(ops(), Sub("k"), "v", ArrayOfVariants({}), "B"), 10);
    EXPECT_TRUE(KeyExists(Sub("k")));
}

TEST_F(RegWriteValueTest, DefaultValueAndPathForms)
{
    EXPECT_EQ(Write(ops(), Path(), "", Variant::Text("default"), "S"), 0);
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(GetValue("", type, bytes));
    EXPECT_EQ(bytes, std::string("default\0", 8));
    // One backslash at each end is trimmed; a number as text data is its decimal text.
    EXPECT_EQ(Write(ops(), "\\" + Sub("t") + "\\", "n", Variant::I4(42), "s"), 0);
    ASSERT_TRUE(RawRegistry::GetValue(HKEY_CURRENT_USER, Sub("t"), "n", type, bytes));
    EXPECT_EQ(bytes, std::string("42\0", 3));
    // A path the registry reads as empty is refused like the empty path.
    EXPECT_EQ(Write(ops(), std::string("\0", 1) + Path(), "v", Variant::Text("x"), "S"), 5);
    // Written then read back through the component.
    EXPECT_EQ(Write(ops(), Path(), "round", Variant::Text("&hff"), "D"), 0);
    const ReadResult r = Read(ops(), "HKCU", Path(), "round");
    EXPECT_EQ(V_I4(&r.data.get()), 255);
}

}  // namespace
}  // namespace kovar3::test
