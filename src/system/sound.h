// Playing a WAV file.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace kovar3::system {

// Plays `path` to its end when it names an existing file whose extension is WAV in any letter
// case. Silent on every failure: a missing file, another extension, a file that cannot be
// played (no default sound takes its place) or no sound device.
void PlayWaveFile(const FileSystem& file_system, const std::string& path);

}  // namespace kovar3::system
