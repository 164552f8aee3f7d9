// The local clock follows the system's time zone while the program runs.
#include "shell/platform/LocalClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Hours between two clock readings taken a moment apart, to the nearest minute.
double hoursBetween(DateTime before, DateTime after)
{
    return std::round((after - before) * 24 * 60) / 60;
}

// Puts the zone file over what /etc/localtime leads to, inside this process's own mount
// namespace, the way a zone change replaces the file under a running program.
bool useZone(const char* zone, const std::filesystem::path& localtime)
{
    const std::string file = std::string("/usr/share/zoneinfo/") + zone;
    return ::mount(file.c_str(), localtime.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

} // namespace

TEST(LocalClock, FollowsAChangedTzAtTheNextReading)
{
    // Why: the C library reads the zone once per process unless asked again.
    const char* saved = std::getenv("TZ");
    const std::string old = saved ? saved : "";
    ::setenv("TZ", "UTC0", 1);
    const DateTime utc = localClockNow();
    ::setenv("TZ", "JST-9", 1);
    const DateTime tokyo = localClockNow();
    ::setenv("TZ", "UTC0", 1);
    const DateTime back = localClockNow();
    if (saved)
        ::setenv("TZ", old.c_str(), 1);
    else
        ::unsetenv("TZ");
    EXPECT_EQ(hoursBetween(utc, tokyo), 9);
    EXPECT_EQ(hoursBetween(tokyo, back), -9);
}

TEST(LocalClock, FollowsAReplacedSystemZoneFile)
{
    // Why: without TZ, a zone change replaces /etc/localtime, which a running program must see.
    std::error_code error;
    const auto localtime = std::filesystem::canonical("/etc/localtime", error);
    if (error || !std::filesystem::exists("/usr/share/zoneinfo/Asia/Tokyo"))
        GTEST_SKIP() << "no zone files";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::unsetenv("TZ");
        // A private mount namespace, so the machine's own zone stays untouched.
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            !useZone("Etc/UTC", localtime))
            ::_exit(77);
        const DateTime utc = localClockNow();
        if (!useZone("Asia/Tokyo", localtime))
            ::_exit(77);
        const DateTime tokyo = localClockNow();
        ::_exit(hoursBetween(utc, tokyo) == 9 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no private mount namespace here (needs root)";
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "the zone file was replaced but the clock kept the old zone";
}
