// Puts back every platform seam a test replaced, on every path out of the test.
#pragma once

#include "platform/seams.h"

namespace kovar3::test {

class SeamGuard {
public:
    SeamGuard() : saved_(Seams()) {}
    ~SeamGuard() { Seams() = saved_; }
    SeamGuard(const SeamGuard&) = delete;
    SeamGuard& operator=(const SeamGuard&) = delete;

private:
    PlatformSeams saved_;
};

}  // namespace kovar3::test
