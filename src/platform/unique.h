// Move-only owners for platform handles. One template, one alias per kind of handle.
#pragma once

#include <windows.h>

#include <utility>

namespace kovar3 {

template <typename Traits>
class Unique {
public:
    using Type = typename Traits::Type;

    Unique() noexcept = default;
    explicit Unique(Type value) noexcept : value_(value) {}
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    // Closes what is held and hands out the slot for a platform call to fill.
    Type* put() noexcept
    {
        reset();
        return &value_;
    }

    Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }

    // Closing keeps the thread's last-error value, so a caller can still report it.
    void reset(Type value = Traits::Invalid()) noexcept
    {
        if (value_ != Traits::Invalid()) {
            const DWORD last_error = ::GetLastError();
            Traits::Close(value_);
            ::SetLastError(last_error);
        }
        value_ = value;
    }

private:
    Type value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::FreeLibrary(h); }
};

using Handle = Unique<KernelHandleTraits>;    // process, thread, event: null means none
using FileHandle = Unique<FileHandleTraits>;  // CreateFile, Toolhelp snapshot
using FindHandle = Unique<FindHandleTraits>;  // FindFirstFileA
using RegKey = Unique<RegKeyTraits>;          // keys we opened; predefined roots stay plain HKEYs
using LoadedModule = Unique<ModuleTraits>;    // LoadLibraryEx

// The screen's device context from GetWindowDC(NULL), given back with ReleaseDC.
class ScreenDC {
public:
    ScreenDC() noexcept : dc_(::GetWindowDC(nullptr)) {}
    ~ScreenDC()
    {
        if (dc_) ::ReleaseDC(nullptr, dc_);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// A COM interface pointer we hold one reference to.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    explicit ComPtr(T* p) noexcept : p_(p) {}  // takes over a reference the caller already owns
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept
    {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    T** put() noexcept
    {
        reset();
        return &p_;
    }
    T* release() noexcept { return std::exchange(p_, nullptr); }
    void reset() noexcept
    {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

private:
    T* p_ = nullptr;
};

}  // namespace kovar3
