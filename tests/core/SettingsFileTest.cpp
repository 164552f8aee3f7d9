// Loading and saving "rupeta.ini" in the current directory.
#include "core/Settings.h"

#include "core/UserId.h"
#include "tests/core/FileBytes.h"
#include "tests/core/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#ifndef _WIN32
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// 2024-05-06 10:20:30 on the local clock: 1714990830 seconds since 1970.
const DateTime Now = encodeDate(2024, 5, 6) + encodeTime(10, 20, 30);
const DateTime Today = encodeDate(2024, 5, 6);
const DateTime Jan11 = encodeDate(2007, 1, 11);

// Each test runs in a fresh current directory, since that is where the file lives.
class SettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override { std::filesystem::current_path(m_scratch.path()); }
    void TearDown() override { std::filesystem::current_path(m_home); }

    static Settings loaded(bool* firstRun = nullptr)
    {
        Settings s;
        const bool first = SettingsFile::load(s, Now);
        if (firstRun)
            *firstRun = first;
        return s;
    }

    const std::filesystem::path m_home = std::filesystem::current_path();
    ScratchDir m_scratch{"rupeta-settings"};
};

} // namespace

TEST_F(SettingsFileTest, FirstStartUsesDefaultsAndWritesAllSevenKeysInOrder)
{
    // Why: the first start creates the file every later start and the web pages rely on.
    bool firstRun = false;
    const Settings s = loaded(&firstRun);
    EXPECT_TRUE(firstRun);
    EXPECT_EQ(s.TimerMinutes, 60);
    EXPECT_EQ(s.ResetMinutes, 10);
    EXPECT_TRUE(s.AutoReset);
    EXPECT_EQ(s.AlarmPosition, 3);
    EXPECT_EQ(s.UserID, makeUserId(1714990830u));
    EXPECT_EQ(s.FirstActivated, Today);
    EXPECT_EQ(s.SurveyPassword, "");

    EXPECT_TRUE(SettingsFile::save(s));
    EXPECT_EQ(readBytes("rupeta.ini"),
              "[Timer]\r\nTimer=60\r\nReset=10\r\nbReset=1\r\nPosition=3\r\n"
              "[User]\r\nID=" +
                  s.UserID + "\r\nfirst-activated=2024/05/06\r\nPassword=\r\n");

    // The next start reads back exactly what was written.
    Settings again;
    EXPECT_FALSE(SettingsFile::load(again, Now + 3));
    EXPECT_EQ(again.UserID, s.UserID);
    EXPECT_EQ(again.FirstActivated, Today);
}

TEST_F(SettingsFileTest, HandEditedValuesLoadAndAreWrittenBackNormalised)
{
    // Why: users edit the file; each value must load as decided and be rewritten cleanly.
    const std::string base = "[Timer]\nTimer=45\nReset=7\nbReset=1\nPosition=2\n"
                             "[User]\nID=1-2-3-4-5-6\nfirst-activated=2007/01/11\nPassword=\n";
    struct Case
    {
        const char* line; // replaces the line with the same key in base
        const char* written;
        std::int32_t timer = 45;
        std::int32_t reset = 7;
        bool autoReset = true;
        std::int32_t position = 2;
        const char* id = "1-2-3-4-5-6";
        DateTime first = Jan11;
        bool firstRun = false;
        const char* password = "";
    };
    const Case cases[] = {
        {.line = "Timer=0x3C", .written = "Timer=60", .timer = 60},
        {.line = "Timer=0x5A", .written = "Timer=90", .timer = 90},
        {.line = "Timer=abc", .written = "Timer=60", .timer = 60},
        {.line = "Timer=", .written = "Timer=60", .timer = 60},
        {.line = "Timer=0", .written = "Timer=60", .timer = 60},
        {.line = "Timer=-30", .written = "Timer=60", .timer = 60},
        {.line = "Timer=120", .written = "Timer=120", .timer = 120},
        {.line = "Timer = \" 45\"", .written = "Timer=45"},
        {.line = "Reset=0", .written = "Reset=10", .reset = 10},
        {.line = "Reset=-5", .written = "Reset=10", .reset = 10},
        {.line = "Reset=$F", .written = "Reset=15", .reset = 15},
        {.line = "bReset=0", .written = "bReset=0", .autoReset = false},
        {.line = "bReset=2", .written = "bReset=1"},
        {.line = "bReset=-1", .written = "bReset=1"},
        {.line = "bReset=", .written = "bReset=1"},
        {.line = "bReset=off", .written = "bReset=1"},
        {.line = "Position=7", .written = "Position=7", .position = 7},
        {.line = "Position=-1", .written = "Position=-1", .position = -1},
        {.line = "Position=x", .written = "Position=3", .position = 3},
        {.line = "ID=", .written = "ID=", .id = ""},
        {.line = "ID=  99-1 ", .written = "ID=99-1", .id = "99-1"},
        {.line = "first-activated=2007/02/30",
         .written = "first-activated=2024/05/06",
         .first = Today},
        {.line = "first-activated=soon", .written = "first-activated=2024/05/06", .first = Today},
        {.line = "first-activated=2007-1-11", .written = "first-activated=2007/01/11"},
        {.line = "first-activated=2007/1/11 9:05:07",
         .written = "first-activated=2007/01/11 09:05:07",
         .first = Jan11 + encodeTime(9, 5, 7)},
        {.line = "first-activated=",
         .written = "first-activated=2024/05/06",
         .first = Today,
         .firstRun = true},
        {.line = "Password=QXJ", .written = "Password=QXJ", .password = "QXJ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::string file = base;
        const std::string key =
            std::string(c.line).substr(0, std::string(c.line).find_first_of(" ="));
        const std::size_t at = file.find("\n" + key + "=") + 1;
        file.replace(at, file.find('\n', at) - at, c.line);
        writeBytes("rupeta.ini", file);

        bool firstRun = !c.firstRun;
        const Settings s = loaded(&firstRun);
        EXPECT_EQ(firstRun, c.firstRun);
        EXPECT_EQ(s.TimerMinutes, c.timer);
        EXPECT_EQ(s.ResetMinutes, c.reset);
        EXPECT_EQ(s.AutoReset, c.autoReset);
        EXPECT_EQ(s.AlarmPosition, c.position);
        EXPECT_EQ(s.UserID, c.id);
        EXPECT_EQ(s.FirstActivated, c.first);
        EXPECT_EQ(s.SurveyPassword, c.password);

        SettingsFile::save(s);
        std::string expected = file;
        expected.replace(at, std::string(c.line).size(), c.written);
        EXPECT_EQ(readBytes("rupeta.ini"), expected);
    }
}

TEST_F(SettingsFileTest, KeepsEveryLineItDoesNotOwnByteForByte)
{
    // Why: comments, other sections, odd spelling and line endings belong to the user.
    const std::string before = "\xEF\xBB\xBF; my settings\r\n"
                               "[timer]\r\n"
                               "  TIMER = 0x3C\r\n"
                               "Colour=red\n"
                               "\r\n"
                               "[Extra]\r\n"
                               "ID=not mine\r\n"
                               "[USER]\r\n"
                               "id=7-7-7-7-7-7\r\n"
                               "first-activated=2007/1/11\r\n"
                               "junk line \x83\x5C\x01\r\n";
    writeBytes("rupeta.ini", before);
    SettingsFile::save(loaded());
    EXPECT_EQ(readBytes("rupeta.ini"), "\xEF\xBB\xBF; my settings\r\n"
                                       "[timer]\r\n"
                                       "Timer=60\r\n"
                                       "Colour=red\n"
                                       "Reset=10\r\n"
                                       "bReset=1\r\n"
                                       "Position=3\r\n"
                                       "\r\n"
                                       "[Extra]\r\n"
                                       "ID=not mine\r\n"
                                       "[USER]\r\n"
                                       "ID=7-7-7-7-7-7\r\n"
                                       "first-activated=2007/01/11\r\n"
                                       "Password=\r\n"
                                       "junk line \x83\x5C\x01\r\n");
}

TEST_F(SettingsFileTest, NewLinesFollowTheFilesLineEnding)
{
    // Why: a file kept with Unix line endings must not gain Windows ones.
    writeBytes("rupeta.ini", "[Timer]\nTimer=45");
    SettingsFile::save(loaded());
    EXPECT_EQ(readBytes("rupeta.ini").find('\r'), std::string::npos);
}

TEST_F(SettingsFileTest, StoredIdIsNeverReplaced)
{
    // Why: the identifier ties the installation to its answers on the maker's pages.
    writeBytes("rupeta.ini", "[User]\r\nID=1-2-3-4-5-6\r\n");
    for (const DateTime now : {Now, Now + 1, Now + 1.0 / 86400}) {
        Settings s;
        SettingsFile::load(s, now);
        EXPECT_EQ(s.UserID, "1-2-3-4-5-6");
        SettingsFile::save(s);
    }
    // A fresh identifier depends on the second it was drawn.
    Settings a, b;
    std::filesystem::remove("rupeta.ini");
    SettingsFile::load(a, Now);
    SettingsFile::load(b, Now + 1.0 / 86400);
    EXPECT_NE(a.UserID, b.UserID);
}

TEST_F(SettingsFileTest, FreshIdIsSeededWithTheWholeSecond)
{
    // Why: the seed is the second the clock shows; half a second later is not the next one.
    Settings s;
    SettingsFile::load(s, Now + 0.6 / 86400);
    EXPECT_EQ(s.UserID, makeUserId(1714990830u));
}

TEST_F(SettingsFileTest, FileUnreadableAtStartIsNeverSavedOverThatRun)
{
    // Why: a file that becomes readable later holds the user's values, not the defaults the
    // program had to start with.
    std::filesystem::create_directory("rupeta.ini");
    Settings s = loaded();
    EXPECT_EQ(s.TimerMinutes, 60);
    std::filesystem::remove("rupeta.ini");
    const std::string users = "[Timer]\r\nTimer=45\r\n[User]\r\nID=1-2-3-4-5-6\r\n";
    writeBytes("rupeta.ini", users);
    s.TimerMinutes = 70;
    EXPECT_TRUE(SettingsFile::save(s));
    EXPECT_EQ(readBytes("rupeta.ini"), users);

    // The next run reads it and saves again.
    s = loaded();
    EXPECT_EQ(s.TimerMinutes, 45);
    s.TimerMinutes = 70;
    SettingsFile::save(s);
    EXPECT_NE(readBytes("rupeta.ini").find("Timer=70"), std::string::npos);
}

TEST_F(SettingsFileTest, SaveFailureIsSwallowedAndLeavesWhatWasThere)
{
    // Why: a broken save must neither stop the program nor destroy anything.
    std::filesystem::create_directory("rupeta.ini");
    writeBytes("rupeta.ini/inside", "keep");
    Settings s = loaded();
    EXPECT_EQ(s.TimerMinutes, 60);
    EXPECT_TRUE(SettingsFile::save(s));
    EXPECT_EQ(readBytes("rupeta.ini/inside"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);
}

TEST_F(SettingsFileTest, WorksInACurrentDirectoryDeeperThanPathMax)
{
    // Why: the file is found by its relative name, however long the absolute path is.
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps the current directory shorter than MAX_PATH";
#else
    const std::string part(200, 'd');
    int depth = 0;
    for (; depth < 25; ++depth) {
        ASSERT_EQ(mkdir(part.c_str(), 0700), 0);
        ASSERT_EQ(chdir(part.c_str()), 0);
    }
    char buffer[PATH_MAX];
    EXPECT_EQ(getcwd(buffer, sizeof buffer), nullptr);

    Settings s = loaded();
    s.TimerMinutes = 75;
    SettingsFile::save(s);
    Settings back;
    EXPECT_FALSE(SettingsFile::load(back, Now));
    EXPECT_EQ(back.TimerMinutes, 75);

    // Cleaned up by relative names too, since absolute ones are too long.
    EXPECT_EQ(unlink("rupeta.ini"), 0);
    for (; depth > 0; --depth) {
        ASSERT_EQ(chdir(".."), 0);
        ASSERT_EQ(rmdir(part.c_str()), 0);
    }
#endif
}
