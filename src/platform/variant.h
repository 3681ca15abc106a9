// Owners for BSTR and VARIANT. The variant type is behaviour (a 16-bit status is not a
// 32-bit count), so every constructor names the type it makes.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace kovar3 {

class Bstr {
public:
    Bstr() noexcept = default;
    explicit Bstr(const std::wstring& text);  // throws std::bad_alloc
    static Bstr FromAnsi(const std::string& text);
    // Takes over a BSTR that a call handed out (an EXCEPINFO's texts, say).
    static Bstr Adopt(BSTR owned) noexcept
    {
        Bstr b;
        b.s_ = owned;
        return b;
    }
    Bstr(Bstr&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept
    {
        if (this != &o) {
            ::SysFreeString(s_);
            s_ = std::exchange(o.s_, nullptr);
        }
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { ::SysFreeString(s_); }

    BSTR get() const noexcept { return s_; }
    // Frees the text and hands out the slot for a call to fill.
    BSTR* put() noexcept
    {
        ::SysFreeString(std::exchange(s_, nullptr));
        return &s_;
    }
    // The slot itself, text kept: for passing by reference to a call that may read and replace
    // it (a VT_BYREF|VT_BSTR argument).
    BSTR* address() noexcept { return &s_; }
    BSTR release() noexcept { return std::exchange(s_, nullptr); }
    // The text, "" for a null BSTR (which stands for the empty text).
    std::wstring text() const { return s_ ? std::wstring(s_, ::SysStringLen(s_)) : std::wstring(); }

private:
    BSTR s_ = nullptr;
};

class Variant {
public:
    Variant() noexcept { ::VariantInit(&v_); }
    Variant(Variant&& o) noexcept : v_(o.v_) { ::VariantInit(&o.v_); }
    Variant& operator=(Variant&& o) noexcept
    {
        if (this != &o) {
            ::VariantClear(&v_);
            v_ = o.v_;
            ::VariantInit(&o.v_);
        }
        return *this;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&v_); }

    static Variant Empty() noexcept { return Variant(); }
    static Variant I2(short value) noexcept;
    static Variant I4(long value) noexcept;
    static Variant Bool(bool value) noexcept;
    static Variant Text(const std::string& ansi);  // ANSI bytes, converted to UTF-16
    static Variant WideText(const std::wstring& text);
    static Variant Array(SAFEARRAY* owned) noexcept;     // takes over a VT_VARIANT array
    static Variant Dispatch(IDispatch* owned) noexcept;  // takes over one reference

    // A deep copy; throws std::bad_alloc when the copy cannot be made.
    static Variant CopyOf(const VARIANT& source);

    VARTYPE type() const noexcept { return V_VT(&v_); }
    const VARIANT& get() const noexcept { return v_; }
    // Clears the value and hands out the slot for a call to fill.
    VARIANT* put() noexcept
    {
        ::VariantClear(&v_);
        return &v_;
    }
    // The variant itself, value kept: for passing it by reference to a call that may read
    // and replace it.
    VARIANT* address() noexcept { return &v_; }

    // Hands the value over; this object is Empty afterwards.
    VARIANT release() noexcept
    {
        VARIANT out = v_;
        ::VariantInit(&v_);
        return out;
    }

private:
    VARIANT v_;
};

// mingw's oleauto.h declares the source of VariantCopyInd/VariantChangeType non-const;
// the calls do not modify it.
inline VARIANT* AsInput(const VARIANT* v) noexcept { return const_cast<VARIANT*>(v); }

}  // namespace kovar3
