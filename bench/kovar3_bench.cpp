// Registry benchmark: each member called through IDispatch as a script calls it (DISPID looked
// up once, VT_BYREF|VT_VARIANT arguments), measured side by side with the plain registry calls
// that do the same work, in one run. Prints figures and ratios; asserts nothing.
//
// Run it with scripts/bench.sh, which pins the run to one core and restarts the prefix's
// wineserver first: every registry call is a round trip to wineserver, and its cost swings when
// the scheduler moves the two processes between cores.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr char kBase[] = "Software\\Kovar3 Bench";

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Best of `rounds`: the least disturbed measurement.
double Best(int rounds, const std::function<void()>& prepare, const std::function<void()>& work)
{
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        best = std::min(best, Seconds(work));
    }
    return best;
}

class Caller {
public:
    explicit Caller(IDispatch* object) : object_(object) {}
    DISPID Id(const wchar_t* name)
    {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        return id;
    }
    // Arguments in call order, each passed by reference.
    long Call(DISPID id, std::vector<VARIANT*> args)
    {
        std::vector<VARIANT> refs(args.size());
        for (size_t i = 0; i < args.size(); ++i) {
            VARIANT& ref = refs[args.size() - 1 - i];
            V_VT(&ref) = VT_BYREF | VT_VARIANT;
            V_VARIANTREF(&ref) = args[i];
        }
        DISPPARAMS params{refs.data(), nullptr, static_cast<UINT>(refs.size()), 0};
        VARIANT result;
        ::VariantInit(&result);
        object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                        nullptr, nullptr);
        long status = V_VT(&result) == VT_I2 ? V_I2(&result) : V_I4(&result);
        ::VariantClear(&result);
        return status;
    }

private:
    IDispatch* object_;
};

VARIANT Text(const char* text)
{
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
    V_BSTR(&v) = ::SysAllocString(wide.c_str());
    return v;
}

void CreateKey(const std::string& path)
{
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) == ERROR_SUCCESS)
        ::RegCloseKey(key);
}

// Four levels, about 2800 keys: 10 x 10 x 27 below the top key.
void BuildTree(const std::string& top)
{
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b)
            for (int c = 0; c < 27; ++c)
                CreateKey(top + "\\a" + std::to_string(a) + "\\b" + std::to_string(b) + "\\c" +
                          std::to_string(c));
}

// Open handles, found by probing handle values (Wine reports 0 from GetProcessHandleCount).
int CountHandles()
{
    int count = 0;
    for (uintptr_t h = 4; h < 0x10000; h += 4) {
        DWORD flags;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++count;
    }
    return count;
}

// Bytes in busy blocks of every heap of the process (the C runtime keeps its own heap).
size_t HeapInUse()
{
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64);
    size_t total = 0;
    for (DWORD i = 0; i < count; ++i) {
        ::HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        }
        ::HeapUnlock(heaps[i]);
    }
    return total;
}

}  // namespace

int main()
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CLSID clsid;
    IDispatch* ops = nullptr;
    if (FAILED(::CLSIDFromProgID(L"Kovar3.Ops", &clsid)) ||
        FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&ops)))) {
        std::printf("Kovar3.Ops is not registered: run scripts/test.sh or scripts/bench.sh\n");
        return 1;
    }
    Caller caller(ops);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    const std::string base = kBase;

    // --- One REG_SZ value, read again and again ------------------------------------------------
    const std::string value_key = base + "\\value";
    {
        HKEY key;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, value_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr);
        ::RegSetValueExA(key, "Path", 0, REG_SZ,
                         reinterpret_cast<const BYTE*>("C:\\Program Files\\Kovar"), 23);
        ::RegCloseKey(key);
    }
    const int reads = 20000;
    const double raw_read = Best(
        3, [] {},
        [&] {
            for (int i = 0; i < reads; ++i) {
                HKEY key;
                char buffer[255];
                DWORD type, size = sizeof buffer;
                if (::RegOpenKeyExA(HKEY_CURRENT_USER, value_key.c_str(), 0, KEY_READ, &key) ==
                    ERROR_SUCCESS) {
                    ::RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                       &size);
                    ::RegCloseKey(key);
                }
            }
        });
    const DISPID get_value = caller.Id(L"RegGetValue");
    VARIANT hive = Text("HKCU"), path = Text(value_key.c_str()), name = Text("Path"), data, kind;
    ::VariantInit(&data);
    ::VariantInit(&kind);
    const double member_read = Best(
        3, [] {},
        [&] {
            for (int i = 0; i < reads; ++i)
                caller.Call(get_value, {&hive, &path, &name, &data, &kind});
        });
    std::printf(
        "RegGetValue        %8.2f us per call   raw open+query+close %8.2f us   ratio %.2fx "
        "(target 1.6x)\n",
        member_read / reads * 1e6, raw_read / reads * 1e6, member_read / raw_read);

    // --- 5000 subkeys
    // -----------------------------------------------------------------------------
    const std::string keys_key = base + "\\keys";
    for (int i = 0; i < 5000; ++i) CreateKey(keys_key + "\\subkey number " + std::to_string(i));
    const double raw_keys = Best(
        5, [] {},
        [&] {
            HKEY key;
            ::RegOpenKeyExA(HKEY_CURRENT_USER, keys_key.c_str(), 0, KEY_READ, &key);
            std::vector<std::string> names;
            char buffer[1024];
            for (DWORD i = 0;; ++i) {
                DWORD length = sizeof buffer;
                if (::RegEnumKeyExA(key, i, buffer, &length, nullptr, nullptr, nullptr, nullptr) !=
                    ERROR_SUCCESS)
                    break;
                names.emplace_back(buffer, length);
            }
            ::RegCloseKey(key);
        });
    const DISPID list_keys = caller.Id(L"RegListKeys");
    VARIANT keys_path = Text(keys_key.c_str()), list;
    ::VariantInit(&list);
    const double member_keys = Best(
        5, [] {},
        [&] {
            caller.Call(list_keys, {&hive, &keys_path, &list});
        });
    std::printf(
        "RegListKeys 5000   %8.2f ms            raw enumeration      %8.2f ms   ratio %.2fx "
        "(target 1.3x)\n",
        member_keys * 1e3, raw_keys * 1e3, member_keys / raw_keys);

    // --- 2000 values
    // ------------------------------------------------------------------------------
    const std::string vals_key = base + "\\values";
    {
        HKEY key;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, vals_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr);
        for (DWORD i = 0; i < 2000; ++i)
            ::RegSetValueExA(key, ("value number " + std::to_string(i)).c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&i), 4);
        ::RegCloseKey(key);
    }
    const double raw_vals = Best(
        5, [] {},
        [&] {
            HKEY key;
            ::RegOpenKeyExA(HKEY_CURRENT_USER, vals_key.c_str(), 0, KEY_QUERY_VALUE, &key);
            std::vector<std::string> names;
            char buffer[1024];
            for (DWORD i = 0;; ++i) {
                DWORD length = sizeof buffer, type;
                if (::RegEnumValueA(key, i, buffer, &length, nullptr, &type, nullptr, nullptr) !=
                    ERROR_SUCCESS)
                    break;
                names.emplace_back(buffer, length);
            }
            ::RegCloseKey(key);
        });
    const DISPID list_vals = caller.Id(L"RegListVals");
    VARIANT vals_path = Text(vals_key.c_str());
    const double member_vals = Best(
        5, [] {},
        [&] {
            caller.Call(list_vals, {&hive, &vals_path, &list});
        });
    std::printf(
        "RegListVals 2000   %8.2f ms            raw enumeration      %8.2f ms   ratio %.2fx "
        "(target 1.3x)\n",
        member_vals * 1e3, raw_vals * 1e3, member_vals / raw_vals);

    // --- Deleting a tree of 2801 keys
    // -------------------------------------------------------------
    const std::string tree_parent = base + "\\trees";
    const std::string tree = tree_parent + "\\tree";
    const double raw_delete = Best(
        3, [&] { BuildTree(tree); },
        [&] {
            ::RegDeleteTreeA(HKEY_CURRENT_USER, tree.c_str());
            ::RegDeleteKeyA(HKEY_CURRENT_USER, tree.c_str());
        });
    const DISPID delete_subkey = caller.Id(L"RegDeleteSubkey");
    VARIANT parent_path = Text(tree_parent.c_str()), tree_name = Text("tree");
    const double member_delete = Best(
        3, [&] { BuildTree(tree); },
        [&] {
            caller.Call(delete_subkey, {&hive, &parent_path, &tree_name});
        });
    std::printf(
        "RegDeleteSubkey    %8.2f ms            RegDeleteTreeA       %8.2f ms   ratio %.2fx "
        "(target 2.5x)\n",
        member_delete * 1e3, raw_delete * 1e3, member_delete / raw_delete);

    // --- Steadiness over 100 000 calls
    // ------------------------------------------------------------
    const DISPID write_value = caller.Id(L"RegWriteValue");
    const DISPID delete_val = caller.Id(L"RegDeleteVal");
    VARIANT text = Text("some text"), code_s = Text("S"), missing = Text("Missing");
    auto mixed = [&](int n) {
        for (int i = 0; i < n; ++i) {
            switch (i % 5) {
            case 0: caller.Call(get_value, {&hive, &path, &name, &data, &kind}); break;
            case 1: caller.Call(get_value, {&hive, &path, &missing, &data, &kind}); break;
            case 2: caller.Call(write_value, {&hive, &path, &name, &text, &code_s}); break;
            case 3: caller.Call(delete_val, {&hive, &path, &missing}); break;
            case 4: caller.Call(list_vals, {&hive, &path, &list}); break;
            }
        }
    };
    mixed(1000);  // first-use allocations settle
    const int handles_before = CountHandles();
    const size_t heap_before = HeapInUse();
    mixed(100000);
    const int handles_after = CountHandles();
    const size_t heap_after = HeapInUse();
    std::printf("100000 calls       handles %d -> %d      heap in use %zu -> %zu bytes\n",
                handles_before, handles_after, heap_before, heap_after);

    for (VARIANT* v : {&hive, &path, &name, &data, &kind, &keys_path, &list, &vals_path,
                       &parent_path, &tree_name, &text, &code_s, &missing})
        ::VariantClear(v);
    ops->Release();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kBase);
    ::CoUninitialize();
    return 0;
}
