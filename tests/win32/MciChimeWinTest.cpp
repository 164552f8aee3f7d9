// The chime through the real MCI device of Wine, playing into a sound server (run by
// tests/e2e/test_win32_chime.sh with "beep.wav" in the working directory): a stop keeps the
// place and the next play goes on from there; only a playback that ran to its end, as its notify
// tells, starts over.
#include "win32/MciChime.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <functional>
#include <string>

namespace {

std::wstring status(const wchar_t* item)
{
    wchar_t reply[64] = L"";
    const std::wstring command = std::wstring(L"status rupeta_chime ") + item;
    mciSendStringW(command.c_str(), reply, 64, nullptr);
    return reply;
}

long position()
{
    return std::stol(status(L"position"));
}

// Runs the message loop (the chime's notify arrives there) until done or the time is up.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (done())
            return true;
        Sleep(5);
    } while (GetTickCount64() < deadline);
    return done();
}

} // namespace

TEST(MciChime, StopKeepsThePlaceAndOnlyTheEndStartsOver)
{
    std::string error;
    const auto chime = MciChime::open(L".\\", error);
    ASSERT_TRUE(chime) << error;
    const long length = std::stol(status(L"length"));
    ASSERT_GT(length, 800) << "the chime is too short for this test";

    chime->play();
    ASSERT_TRUE(pumpUntil([] { return position() >= 300; }, 3000)) << "it never played";
    chime->stop();
    const long stoppedAt = position();
    EXPECT_LT(stoppedAt, length - 200);
    // Stopped means stopped: the place does not move on.
    pumpUntil([] { return false; }, 300);
    EXPECT_EQ(position(), stoppedAt);
    EXPECT_NE(status(L"mode"), L"playing");

    chime->play();
    EXPECT_GE(position(), stoppedAt) << "the second play started over instead of going on";
    ASSERT_TRUE(pumpUntil([length] { return status(L"mode") != L"playing"; }, 3000));
    EXPECT_EQ(position(), length);

    // Its notify has said that it ran to the end: the next play starts over.
    pumpUntil([] { return false; }, 200);
    chime->play();
    EXPECT_LT(position(), stoppedAt) << "the play after the end did not start over";
    chime->stop();
}

TEST(MciChime, AFileThatIsNoSoundStopsTheOpenWithTheReason)
{
    // The working directory's "beep.wav" comes first; a folder of that name there is refused.
    ASSERT_TRUE(CreateDirectoryW(L"sub", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(SetCurrentDirectoryW(L"sub"));
    CreateDirectoryW(L"beep.wav", nullptr);
    std::string error;
    const auto chime = MciChime::open(L"..\\", error);
    SetCurrentDirectoryW(L"..");
    EXPECT_FALSE(chime);
    EXPECT_NE(error.find("beep.wav"), std::string::npos) << error;
    EXPECT_NE(error.find("フォルダー"), std::string::npos) << error;
}
