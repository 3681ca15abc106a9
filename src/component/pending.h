// Placeholders for Ops members whose work is not built yet: each answers with its own failure
// result and writes its failure outputs, so a client can already call every member by name.
// This file goes when the last placeholder does.
#pragma once

#include "platform/member.h"
#include "platform/params.h"

namespace kovar3::pending {

// A member that always takes its failure path; `make` writes the outputs and gives the result.
template <typename Make>
HRESULT FailWith(VARIANT* result, Make make)
{
    return RunMember(result, make, make);
}

inline Variant Status(short status) { return Variant::I2(status); }
inline Variant NoText() { return Variant::Text(""); }

}  // namespace kovar3::pending
