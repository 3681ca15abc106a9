// A drive letter of the Wine prefix mapped to a temporary folder, defined and removed through
// Wine's mount manager (as winecfg does), so tests reach fixed, network, CD-ROM and removable
// drives without touching the machine's own. The letter and its registry entry go again on
// every path out of the test. Under Windows there is no such manager: available() is false.
#pragma once

#include <windows.h>

#include <string>

#include "support/temp_folder.h"

namespace kovar3::test {

class ExtraDrive {
public:
    // `type` is a DRIVE_* value (DRIVE_FIXED, DRIVE_REMOTE, DRIVE_CDROM, DRIVE_REMOVABLE);
    // `letter` 0 takes the last free letter before Z.
    explicit ExtraDrive(UINT type, char letter = 0);
    ~ExtraDrive();
    ExtraDrive(const ExtraDrive&) = delete;
    ExtraDrive& operator=(const ExtraDrive&) = delete;

    bool available() const { return letter_ != 0; }
    char letter() const { return letter_; }
    std::string root() const { return std::string(1, letter_) + ":\\"; }
    const TempFolder& folder() const { return folder_; }

    // The drive's label in the ANSI code page, "" when it has none.
    std::string Label() const;

private:
    TempFolder folder_;
    char letter_ = 0;
};

// True when the tests run under Wine.
bool UnderWine();

}  // namespace kovar3::test
