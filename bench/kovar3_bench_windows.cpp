// Windows and processes: Ops.GetProcessList through IDispatch against a raw Toolhelp walk that
// builds the same comma-joined string, and Ops.GetOpenWindowTitles with 200 windows open against
// a raw EnumWindows + GetWindowTextA + IsWindowVisible loop that collects the same titles.
// Prints the median microseconds per call and the ratios; asserts nothing.
//
// Needs the DLL registered, a display (Xvfb) and the window maker built beside this program in
// fixtures\ (scripts/bench_windows.sh sees to all of it). Targets: both within 1.3x of the raw
// loop.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kWindows = 200;

// Each call of `raw` and `member` timed on its own, the two taking turns, so that a busy machine
// weighs on both alike; gives the median microseconds of each.
struct Medians {
    double raw;
    double member;
};

template <typename Raw, typename Member>
Medians TakingTurns(int calls, Raw raw, Member member)
{
    using Clock = std::chrono::steady_clock;
    const auto micros = [](Clock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count();
    };
    for (int i = 0; i < calls / 10 + 1; ++i) {  // warm the caches
        raw();
        member();
    }
    std::vector<double> raw_times, member_times;
    for (int i = 0; i < calls; ++i) {
        auto start = Clock::now();
        raw();
        raw_times.push_back(micros(Clock::now() - start));
        start = Clock::now();
        member();
        member_times.push_back(micros(Clock::now() - start));
    }
    const auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    return {median(raw_times), median(member_times)};
}

// One member called with by-reference arguments, as VBScript calls it.
class MemberCall {
public:
    MemberCall(IDispatch* object, const wchar_t* name, int outputs)
        : object_(object), args_(outputs)
    {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id_);
        for (VARIANT& v : args_) ::VariantInit(&v);
    }
    ~MemberCall()
    {
        for (VARIANT& v : args_) ::VariantClear(&v);
    }
    // Returns the result as a number (a count or a status).
    long Run()
    {
        std::vector<VARIANT> refs(args_.size());
        for (size_t i = 0; i < args_.size(); ++i) {
            V_VT(&refs[args_.size() - 1 - i]) = VT_BYREF | VT_VARIANT;
            V_VARIANTREF(&refs[args_.size() - 1 - i]) = &args_[i];
        }
        DISPPARAMS params{refs.data(), nullptr, static_cast<UINT>(refs.size()), 0};
        VARIANT result;
        ::VariantInit(&result);
        object_->Invoke(id_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                        nullptr, nullptr);
        const long value = V_VT(&result) == VT_I2 ? V_I2(&result) : V_I4(&result);
        ::VariantClear(&result);
        return value;
    }

private:
    IDispatch* object_;
    DISPID id_ = DISPID_UNKNOWN;
    std::vector<VARIANT> args_;
};

std::string RawProcessList(int& count)
{
    std::string list;
    count = 0;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return list;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = ::Process32First(snapshot, &entry); ok; ok = ::Process32Next(snapshot, &entry)) {
        if (count++) list += ',';
        list += entry.szExeFile;
    }
    ::CloseHandle(snapshot);
    return list;
}

BOOL CALLBACK CollectTitle(HWND hwnd, LPARAM lParam)
{
    char title[255] = {};
    const int n = ::GetWindowTextA(hwnd, title, 255);
    if (n > 0 && ::IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<std::string>*>(lParam)->emplace_back(title, n);
    return TRUE;
}

std::string ExecutableFolder()
{
    char path[MAX_PATH + 1] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path, n);
    return full.substr(0, full.find_last_of('\\'));
}

// Starts the window maker with kWindows titled windows and waits (up to 30 s) until they exist.
bool StartWindows(PROCESS_INFORMATION& process, const std::string& log)
{
    ::DeleteFileA(log.c_str());
    std::string command =
        "\"" + ExecutableFolder() + "\\fixtures\\kovar3_window_maker.exe\" \"" + log + "\"";
    for (int i = 0; i < kWindows; ++i)
        command += " \"show:Kovar3 bench window number " + std::to_string(i) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    for (int waited = 0; waited < 30000; waited += 50) {
        std::ifstream in(log, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        if (text.str().find("ready\n") != std::string::npos) return true;
        ::Sleep(50);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    const int calls = argc > 1 ? std::atoi(argv[1]) : 2000;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CLSID clsid{};
    IDispatch* ops = nullptr;
    if (FAILED(::CLSIDFromProgID(L"Kovar3.Ops", &clsid)) ||
        FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&ops)))) {
        std::printf("Kovar3.Ops is not registered: run scripts/bench_windows.sh\n");
        return 1;
    }

    long checksum = 0;
    int processes = 0;
    {
        MemberCall member(ops, L"GetProcessList", 2);
        const Medians m = TakingTurns(
            calls, [&] { checksum += static_cast<long>(RawProcessList(processes).size()); },
            [&] { checksum += member.Run(); });
        std::printf("GetProcessList, %d processes (%d calls each, medians)\n", processes, calls);
        std::printf("  raw Toolhelp walk and join      %9.2f us\n", m.raw);
        std::printf("  Ops.GetProcessList (IDispatch)  %9.2f us   ratio %.2f (target <= 1.30)\n",
                    m.member, m.member / m.raw);
    }

    PROCESS_INFORMATION maker{};
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof temp, temp);
    const std::string log = std::string(temp) + "kovar3-bench-windows.log";
    if (!StartWindows(maker, log)) {
        std::printf("GetOpenWindowTitles: the window maker did not start (needs a display)\n");
    } else {
        MemberCall member(ops, L"GetOpenWindowTitles", 1);
        std::vector<std::string> titles;
        const int window_calls = std::max(calls / 4, 10);
        const Medians m = TakingTurns(
            window_calls,
            [&] {
                titles.clear();
                ::EnumWindows(CollectTitle, reinterpret_cast<LPARAM>(&titles));
                checksum += static_cast<long>(titles.size());
            },
            [&] { checksum += member.Run(); });
        std::printf("GetOpenWindowTitles, %zu titled windows (%d calls each, medians)\n",
                    titles.size(), window_calls);
        std::printf("  raw EnumWindows loop            %9.2f us\n", m.raw);
        std::printf("  Ops.GetOpenWindowTitles         %9.2f us   ratio %.2f (target <= 1.30)\n",
                    m.member, m.member / m.raw);
        ::TerminateProcess(maker.hProcess, 0);
        ::WaitForSingleObject(maker.hProcess, 5000);
        ::CloseHandle(maker.hThread);
        ::CloseHandle(maker.hProcess);
        ::DeleteFileA(log.c_str());
    }
    std::printf("(checksum %ld)\n", checksum);
    ops->Release();
    ::CoUninitialize();
    return 0;
}
