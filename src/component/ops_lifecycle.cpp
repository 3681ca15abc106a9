#include "component/ops.h"

#include "platform/ModKovar.h"

namespace kovar3 {

Ops::Ops() : pe_file_(new PEFile())
{
    ModKovar::TimerStartTick = 0;
    ModKovar::DetectOsFamily();
}

// The PEFile reference goes with the object; a PEFile the client still holds lives on with
// its last contents.
Ops::~Ops() = default;

}  // namespace kovar3
