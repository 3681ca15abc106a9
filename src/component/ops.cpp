#include "component/ops.h"

#include "component/ModKovar.h"

namespace kovar3 {

Ops::Ops() : pe_file_(nullptr)
{
    ModKovar::TimerStartTick = 0;
    pe_file_ = new PEFile();
    ModKovar::DetectOsFamily();
}

Ops::~Ops()
{
    // A PEFile the client still holds lives on with its last contents.
    pe_file_->Release();
}

}  // namespace kovar3
