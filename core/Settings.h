// The user's settings and identity, and the settings file "rupeta.ini" that holds them.
#pragma once

#include "core/DateTime.h"
#include "core/SpinStep.h"

#include <cstdint>
#include <string>

// What the settings dialog lets a user choose, and what unreadable or senseless values become.
inline constexpr SpinRange TimerMinutesRange{30, 90, 5};
inline constexpr SpinRange ResetMinutesRange{5, 15, 1};
inline constexpr std::int32_t DefaultTimerMinutes = 60;
inline constexpr std::int32_t DefaultResetMinutes = 10;

struct Settings
{
    std::int32_t TimerMinutes = 30;
    std::int32_t ResetMinutes = 0;
    bool AutoReset = false;
    std::int32_t AlarmPosition = 3;
    std::string UserID; // code page 932 bytes
    DateTime FirstActivated = 0;
    std::string SurveyPassword; // code page 932 bytes
    // Set by the load when "rupeta.ini" exists but could not be read: it is then never saved
    // over during this run, even once it becomes readable.
    bool FileUnreadable = false;
};

class SettingsFile
{
public:
    static constexpr const char* FileName = "rupeta.ini";

    // Reads "rupeta.ini" in the current directory into the settings (defaults where missing
    // or unreadable; a "Timer" or "Reset" of zero or less also loads as the default).
    // Returns true when "first-activated" was missing or empty: the first run.
    static bool load(Settings& settings, DateTime now);
    // Writes the seven keys into "rupeta.ini" in the current directory, keeping every other
    // line; all keys reach the disk or none. Nothing is written over a file the load could not
    // read or one the user may not write. Failures are swallowed; always returns true.
    static bool save(const Settings& settings);
};
