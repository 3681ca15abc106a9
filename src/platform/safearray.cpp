#include "platform/safearray.h"

#include <climits>
#include <new>

namespace kovar3 {

Variant SafeArrayBuilder::Build()
{
    if (items_.size() > LONG_MAX) throw std::bad_alloc();
    SAFEARRAYBOUND bound{static_cast<ULONG>(items_.size()), 0};
    SAFEARRAY* array = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (!array) throw std::bad_alloc();
    Variant owner = Variant::Array(array);
    {
        SafeArrayLock lock(array);
        if (!lock.locked()) throw std::bad_alloc();
        auto* slots = static_cast<VARIANT*>(array->pvData);
        for (size_t i = 0; i < items_.size(); ++i) slots[i] = items_[i].release();
    }
    items_.clear();
    return owner;
}

}  // namespace kovar3
