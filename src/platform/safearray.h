// One-dimensional arrays of variants with lower bound 0, the form in which records and
// lists are handed back whole.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <vector>

#include "platform/variant.h"

namespace kovar3 {

// Collects elements, then builds the array in one allocation. An empty builder gives an
// array with no elements (lower bound 0, upper bound -1).
class SafeArrayBuilder {
public:
    SafeArrayBuilder() = default;
    explicit SafeArrayBuilder(size_t reserve) { items_.reserve(reserve); }

    void Add(Variant value) { items_.push_back(std::move(value)); }
    size_t size() const noexcept { return items_.size(); }

    // Moves the elements into a new VT_ARRAY|VT_VARIANT variant. Throws std::bad_alloc.
    Variant Build();

private:
    std::vector<Variant> items_;
};

// Locks an array's data for the life of the scope.
class SafeArrayLock {
public:
    explicit SafeArrayLock(SAFEARRAY* array) noexcept
        : array_(array), locked_(SUCCEEDED(::SafeArrayLock(array)))
    {
    }
    ~SafeArrayLock()
    {
        if (locked_) ::SafeArrayUnlock(array_);
    }
    SafeArrayLock(const SafeArrayLock&) = delete;
    SafeArrayLock& operator=(const SafeArrayLock&) = delete;
    bool locked() const noexcept { return locked_; }

private:
    SAFEARRAY* array_;
    bool locked_;
};

}  // namespace kovar3
