// PlayWav: which files reach the player (the player is replaced to watch it, on an Ops object
// made directly; the test machine has no sound device, so nothing else would show), and the
// real call through IDispatch with a real WAV file returning quietly without a sound device.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "component/ops.h"
#include "support/dispatch_client.h"
#include "support/seam_guard.h"
#include "support/temp_folder.h"

namespace kovar3::test {
namespace {

std::vector<std::string> g_played;
BOOL WINAPI RecordSound(LPCSTR sound, HMODULE module, DWORD flags)
{
    g_played.push_back(std::string(sound) + (module ? " module" : "") + " flags " +
                       std::to_string(flags));
    return TRUE;
}

// A tenth of a second of a square wave: 8 kHz, 8 bits, mono.
std::string ShortWave()
{
    const unsigned samples = 800;
    auto u32 = [](unsigned v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](unsigned short v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    std::string data;
    for (unsigned i = 0; i < samples; ++i) data += static_cast<char>((i / 8) % 2 ? 0xA0 : 0x60);
    return "RIFF" + u32(36 + samples) + "WAVE" + "fmt " + u32(16) + u16(WAVE_FORMAT_PCM) + u16(1) +
           u32(8000) + u32(8000) + u16(1) + u16(8) + "data" + u32(samples) + data;
}

TEST(PlayWav, PlaysOnlyExistingWavFilesInAnyLetterCase)
{
    SeamGuard seams;
    Seams().play_sound = RecordSound;
    TempFolder folder;
    const std::string wave = ShortWave();
    folder.Write("lower.wav", wave);
    folder.Write("upper.WAV", wave);
    folder.Write("mixed.Wav", wave);
    folder.Write("sound.mp3", wave);
    folder.Write("sound.wav.txt", wave);
    ASSERT_TRUE(::CreateDirectoryA(folder.Path("folder.wav").c_str(), nullptr));

    struct Case {
        std::string path;
        bool played;
    };
    const Case cases[] = {
        {folder.Path("lower.wav"), true},
        {folder.Path("upper.WAV"), true},
        {folder.Path("mixed.Wav"), true},
        {folder.Path("sound.mp3"), false},      // another extension, even with WAV content
        {folder.Path("sound.wav.txt"), false},  // only the last extension counts
        {folder.Path("missing.wav"), false},
        {folder.Path("folder.wav"), false},                            // a folder is no file
        {folder.Path("lower.wav") + std::string("\0.txt", 5), false},  // cut short by a NUL
    };
    ComPtr<Ops> ops(new Ops());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        g_played.clear();
        Variant path = Variant::Text(c.path);
        EXPECT_EQ(ops->PlayWav(path.address()), S_OK);
        if (c.played) {
            // By file name only, to its end, and silent when it cannot be played.
            const DWORD flags = SND_FILENAME | SND_SYNC | SND_NODEFAULT;
            EXPECT_EQ(g_played,
                      std::vector<std::string>{c.path + " flags " + std::to_string(flags)});
        } else {
            EXPECT_TRUE(g_played.empty());
        }
    }

    g_played.clear();
    for (Variant (*make)() : {Null, +[] { return Variant::I4(7); }, +[] { return Variant(); }}) {
        Variant hostile = make();
        EXPECT_EQ(ops->PlayWav(hostile.address()), S_OK);
    }
    EXPECT_TRUE(g_played.empty());
}

TEST(PlayWav, ReturnsQuietlyWithTheRealPlayer)
{
    TempFolder folder;
    const std::string path = folder.Write("beep.wav", ShortWave());
    const std::string broken = folder.Write("broken.wav", "not a wave file");
    // Played on a thread of its own, so that a player that never returns fails the test
    // instead of stopping the run.
    HRESULT results[2] = {E_FAIL, E_FAIL};
    const Handle done(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::thread player([&] {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        {
            ComPtr<IDispatch> ops = CreateByProgId(L"Kovar3.Ops");
            int i = 0;
            for (const std::string& file : {path, broken}) {
                Variant argument = Variant::Text(file);
                if (ops) results[i] = CallByRef(ops.get(), L"PlayWav", {argument.address()}).hr;
                ++i;
            }
        }
        ::CoUninitialize();
        ::SetEvent(done.get());
    });
    const bool finished = ::WaitForSingleObject(done.get(), 30000) == WAIT_OBJECT_0;
    if (finished) {
        player.join();
    } else {
        player.detach();
    }
    ASSERT_TRUE(finished) << "PlayWav did not return within 30 seconds";
    EXPECT_EQ(results[0], S_OK);
    EXPECT_EQ(results[1], S_OK);
}

}  // namespace
}  // namespace kovar3::test
