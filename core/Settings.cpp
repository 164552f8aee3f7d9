// Loading and saving the settings file "rupeta.ini" in the current directory.
#include "core/Settings.h"

#include "core/ProfileFile.h"
#include "core/TextToInt.h"
#include "core/UserId.h"

#include <string>

namespace {

constexpr const char* TimerSection = "Timer";
constexpr const char* UserSection = "User";

std::int32_t readInt(const ProfileFile& file, const char* section, const char* key,
                     std::int32_t fallback)
{
    return textToInt(file.get(section, key).value_or(""), fallback);
}

} // namespace

bool SettingsFile::load(Settings& settings, DateTime now)
{
    // A relative name, so that the file is found however deep the current directory is.
    const auto read = ProfileFile::read(FileName);
    settings.FileUnreadable = !read;
    const ProfileFile file = read.value_or(ProfileFile{});

    settings.TimerMinutes = readInt(file, TimerSection, "Timer", DefaultTimerMinutes);
    settings.ResetMinutes = readInt(file, TimerSection, "Reset", DefaultResetMinutes);
    // A period or idle limit of zero or less would raise the reminder or reset the count on
    // every tick; such hand-edited values fall back to the defaults.
    if (settings.TimerMinutes <= 0)
        settings.TimerMinutes = DefaultTimerMinutes;
    if (settings.ResetMinutes <= 0)
        settings.ResetMinutes = DefaultResetMinutes;
    settings.AutoReset = readInt(file, TimerSection, "bReset", 1) != 0;
    settings.SurveyPassword = file.get(UserSection, "Password").value_or("");
    settings.AlarmPosition = readInt(file, TimerSection, "Position", 3);

    // The fresh identifier is drawn every time but only used when the key is missing.
    const std::string freshId = makeUserId(static_cast<std::uint32_t>(secondsSince1970(now)));
    settings.UserID = file.get(UserSection, "ID").value_or(freshId);

    const std::string firstActivated = file.get(UserSection, "first-activated").value_or("");
    if (firstActivated.empty()) {
        settings.FirstActivated = dateOnly(now);
        return true;
    }
    settings.FirstActivated = parseDateTime(firstActivated).value_or(dateOnly(now));
    return false;
}

bool SettingsFile::save(const Settings& settings)
{
    // A file that exists but cannot be read is left alone rather than replaced by the keys
    // alone; so is one that could not be read at start, which would get defaults over the
    // user's values.
    if (settings.FileUnreadable)
        return true;
    auto file = ProfileFile::read(FileName);
    if (!file)
        return true;
    file->set(TimerSection, "Timer", std::to_string(settings.TimerMinutes));
    file->set(TimerSection, "Reset", std::to_string(settings.ResetMinutes));
    file->set(TimerSection, "bReset", settings.AutoReset ? "1" : "0");
    file->set(UserSection, "ID", settings.UserID);
    file->set(UserSection, "first-activated", formatDateTime(settings.FirstActivated));
    file->set(UserSection, "Password", settings.SurveyPassword);
    file->set(TimerSection, "Position", std::to_string(settings.AlarmPosition));
    // All keys or none reach the disk; a failed write is not reported.
    (void)file->saveAtomically(FileName);
    return true;
}
