// The reminder chime "beep.wav" through the Media Control Interface: opened once at start-up as
// the device "rupeta_chime" (times in milliseconds), played with notify (which tells when it ran
// to its end), stopped keeping its place.
#pragma once

#include "shell/Chime.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class MciChime : public Chime
{
public:
    static constexpr const wchar_t* FileName = L"beep.wav";

    // Where "beep.wav" is looked for, in order: the current directory, the executable's
    // (exeDir, with its closing backslash).
    static std::vector<std::wstring> searchPath(const std::wstring& exeDir);
    // Opens the first file of the search path that exists (the one in the current directory
    // when none does). When it is no plain file, too large, no sound MCI plays, or does not
    // answer in time, error holds the error box's text (UTF-8) and the result is null.
    static std::unique_ptr<MciChime> open(const std::wstring& exeDir, std::string& error);

    ~MciChime() override;
    MciChime(const MciChime&) = delete;
    MciChime& operator=(const MciChime&) = delete;

    void play() override;
    void stop() override;

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    MciChime();
    bool send(const wchar_t* command, std::wstring* reply = nullptr) const;

    HWND m_window = nullptr;  // takes MM_MCINOTIFY
    bool m_atEnd = false;     // the last playback ran to its end
    bool m_suspended = false; // a stop cut the last playback short
};
