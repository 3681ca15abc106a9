#include "system/sound.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/seams.h"
#include "platform/text.h"

namespace kovar3::system {

void PlayWaveFile(const FileSystem& file_system, const std::string& path)
{
    if (!file_system.FileExists(path)) return;
    if (UpperAscii(file_system.GetExtensionName(path)) != "WAV") return;
    // SND_FILENAME: the name is the file just checked, never a sound alias of the same name.
    // SND_NODEFAULT: a file that cannot be played stays silent instead of the default sound.
    Seams().play_sound(path.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
}

}  // namespace kovar3::system
