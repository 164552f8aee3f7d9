// Private-profile reading and writing that keeps every byte the program does not own.
#include "core/ProfileFile.h"
#include "tests/core/FileBytes.h"
#include "tests/core/ScratchDir.h"
#include "tests/core/Utf8Path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace std::literals;

namespace {

class ProfileFileOnDisk : public ::testing::Test
{
protected:
    ScratchDir m_scratch{"rupeta-profile"};
    const std::filesystem::path m_dir = m_scratch.path();
};

} // namespace

TEST(ProfileFile, ReadsWithPrivateProfileRules)
{
    // Why: hand-edited files must read the way the platform's profile services read them.
    struct Case
    {
        std::string_view file;
        std::string_view section;
        std::string_view key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"[Timer]\r\nTimer=45\r\n", "Timer", "Timer", "45"},
        {"[timer]\nTIMER=45\n", "Timer", "Timer", "45"},
        {"[Timer]\nTimer=45", "TIMER", "timer", "45"},
        {" [ Timer ] \n \tTimer \t=  45 \t\n", "Timer", "Timer", "45"},
        {"[Timer]\nTimer=\"  45 \"\n", "Timer", "Timer", "  45 "},
        {"[Timer]\nTimer='45'\n", "Timer", "Timer", "45"},
        {"[Timer]\nTimer=\"45'\n", "Timer", "Timer", "\"45'"},
        {"[Timer]\nTimer=\"\n", "Timer", "Timer", "\""},
        {"[Timer]\nTimer=\n", "Timer", "Timer", ""},
        {"[Timer]\nTimer=a=b\n", "Timer", "Timer", "a=b"},
        {"[Timer]\nTimer=1\nTimer=2\n", "Timer", "Timer", "1"},
        {"[Timer]\nReset=1\n[Timer]\nTimer=2\n", "Timer", "Timer", std::nullopt},
        {"[Timer]\nReset=1\n[User]\nTimer=2\n", "Timer", "Timer", std::nullopt},
        {"Timer=1\n[Timer]\n", "Timer", "Timer", std::nullopt},
        {"[Timer]\n; Timer=1\nTimer 2\n=3\n", "Timer", "Timer", std::nullopt},
        {"\xEF\xBB\xBF[Timer]\r\nTimer=45\r\n", "Timer", "Timer", "45"},
        {"[Timer]\r\nTimer=4\r5\r\n", "Timer", "Timer", "4\r5"},
        // A CRLF file converted to CRLF once more: the extra carriage return is a blank.
        {"[Timer]\r\r\nTimer\r=45\r\r\n", "Timer", "Timer", "45"},
        {"[User]\r\r\nPassword=\"a\r\"\r\r\n", "User", "Password", "a\r"},
        {"[Timer]\nTimer=4\0"
         "5\n"sv,
         "Timer", "Timer",
         std::string("4\0"
                     "5",
                     3)},
        {"[User]\nID=\x83\x5C\x95\x5C\n", "User", "ID", "\x83\x5C\x95\x5C"},
        {"", "Timer", "Timer", std::nullopt},
        {"[Timer", "Timer", "Timer", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfileFile::parse(c.file).get(c.section, c.key), c.value)
            << testing::PrintToString(std::string(c.file));
}

TEST(ProfileFile, ValuesAreReadCutTo1023Bytes)
{
    // Why: the platform reads values into a 1024-byte buffer.
    const std::string longValue(5000, 'v');
    const auto file = ProfileFile::parse("[User]\nPassword=" + longValue + "\n");
    EXPECT_EQ(file.get("User", "Password"), std::string(1023, 'v'));
    EXPECT_EQ(
        ProfileFile::parse("[User]\nPassword=" + std::string(1023, 'w')).get("User", "Password"),
        std::string(1023, 'w'));
}

TEST(ProfileFile, SetChangesOnlyTheLinesItOwns)
{
    // Why: the user's comments, other sections and line endings must survive every save.
    struct Case
    {
        std::string_view before;
        std::string_view section;
        std::string_view key;
        std::string_view value;
        std::string_view after;
    };
    const Case cases[] = {
        // A new file uses CRLF.
        {"", "Timer", "Timer", "60", "[Timer]\r\nTimer=60\r\n"},
        // Replaced in place, keeping that line's own ending in a mixed file.
        {"[Timer]\nTimer=1\r\nReset=2\n", "timer", "TIMER", "60", "[Timer]\nTIMER=60\r\nReset=2\n"},
        {"[Timer]\r\nTimer=1", "Timer", "Timer", "60", "[Timer]\r\nTimer=60"},
        // Appended after the section's last key, before blank lines and the next section.
        {"[Timer]\nTimer=1\n\n; note\n[User]\nID=5\n", "Timer", "Reset", "10",
         "[Timer]\nTimer=1\nReset=10\n\n; note\n[User]\nID=5\n"},
        {"[Timer]\r\n\r\n[User]\r\n", "Timer", "Reset", "10",
         "[Timer]\r\nReset=10\r\n\r\n[User]\r\n"},
        {"[User]\nID=5", "User", "Password", "x", "[User]\nID=5\nPassword=x\n"},
        {"[User]", "User", "Password", "x", "[User]\r\nPassword=x\r\n"},
        // A new section at the end, after a final line ending is supplied.
        {"[Timer]\nTimer=1", "User", "ID", "7", "[Timer]\nTimer=1\n[User]\nID=7\n"},
        {"; just a comment\r\n", "User", "ID", "7", "; just a comment\r\n[User]\r\nID=7\r\n"},
        {"garbage without newline", "User", "ID", "7",
         "garbage without newline\r\n[User]\r\nID=7\r\n"},
        // Only the first of duplicate sections and keys is owned.
        {"[T]\nk=1\n[T]\nk=2\nk=3\n", "T", "k", "9", "[T]\nk=9\n[T]\nk=2\nk=3\n"},
        {"[T]\nk=1\nk=2\n", "T", "k", "9", "[T]\nk=9\nk=2\n"},
        // Values that reading would trim or unquote are written in quotes.
        {"[T]\n", "T", "k", " x", "[T]\nk=\" x\"\n"},
        {"[T]\n", "T", "k", "\"x\"", "[T]\nk=\"\"x\"\"\n"},
        {"[T]\n", "T", "k", "", "[T]\nk=\n"},
        // A value is one line.
        {"[T]\n", "T", "k", "a\r\nb", "[T]\nk=a\n"},
        // A byte order mark stays in front of the first section.
        {"\xEF\xBB\xBF[T]\r\nk=1\r\n", "T", "k", "2", "\xEF\xBB\xBF[T]\r\nk=2\r\n"},
    };
    for (const auto& c : cases) {
        auto file = ProfileFile::parse(c.before);
        file.set(c.section, c.key, c.value);
        EXPECT_EQ(file.bytes(), c.after) << testing::PrintToString(std::string(c.before));
    }
}

TEST(ProfileFile, SetValuesReadBack)
{
    // Why: a file written by the program must read back unchanged.
    const std::vector<std::string> values = {
        "60", "", " padded ", "\"q\"", "'", "a=b", "\x83\x5C", "n\0ul"s, std::string(1023, 'z')};
    for (const auto& value : values) {
        auto file = ProfileFile::parse("[User]\r\nID=old\r\n");
        file.set("User", "ID", value);
        EXPECT_EQ(ProfileFile::parse(file.bytes()).get("user", "id"), value);
        file.set("Other", "Key", value);
        EXPECT_EQ(ProfileFile::parse(file.bytes()).get("Other", "Key"), value);
    }
}

TEST(ProfileFile, UnownedBytesSurviveExactly)
{
    // Why: garbage, NUL bytes and a huge line in a user's file are the user's business.
    std::string before = "\xEF\xBB\xBF; header\r\n";
    before += "bin\0ary\xFF\xFE\r\n"s;
    before += std::string(1 << 20, 'L') + "\n";
    before += "[Timer]\r\nTimer=30\r\n[Other]\r\nx=1\r\n\x1A";
    auto file = ProfileFile::parse(before);
    EXPECT_EQ(file.bytes(), before);
    file.set("Timer", "Timer", "45");
    std::string expected = before;
    expected.replace(expected.find("Timer=30"), 8, "Timer=45");
    EXPECT_EQ(file.bytes(), expected);
}

TEST_F(ProfileFileOnDisk, LoadsMissingAndSavesAtomically)
{
    // Why: saving replaces the file whole, with the old permissions and no leftovers.
    const auto path = m_dir / "rupeta.ini";
    EXPECT_TRUE(ProfileFile::load(utf8Path(path)).bytes().empty());
    ASSERT_TRUE(ProfileFile::read(utf8Path(path)));

    writeBytes(path, "[Timer]\nTimer=1\n");
#ifndef _WIN32
    chmod(path.c_str(), 0640);
#endif
    auto file = ProfileFile::load(utf8Path(path));
    file.set("Timer", "Timer", "2");
    ASSERT_TRUE(file.saveAtomically(utf8Path(path)));
    EXPECT_EQ(readBytes(path), "[Timer]\nTimer=2\n");
#ifndef _WIN32
    struct stat st
    {
    };
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
#endif
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1);
}

TEST_F(ProfileFileOnDisk, FailedSaveLeavesTheOldFileAndNoTemporary)
{
    // Why: a save that cannot complete must never cost the user the file they had.
    const auto file = ProfileFile::parse("[Timer]\r\nTimer=2\r\n");

    const auto directory = m_dir / "rupeta.ini";
    std::filesystem::create_directory(directory);
    writeBytes(directory / "inside", "keep");
    EXPECT_FALSE(file.saveAtomically(utf8Path(directory)));
    EXPECT_EQ(readBytes(directory / "inside"), "keep");

    const auto notADirectory = m_dir / "plain";
    writeBytes(notADirectory, "plain");
    EXPECT_FALSE(file.saveAtomically(utf8Path(notADirectory / "rupeta.ini")));
    EXPECT_EQ(readBytes(notADirectory), "plain");
    EXPECT_FALSE(ProfileFile::read(utf8Path(directory)));

    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 2);
}

TEST_F(ProfileFileOnDisk, ReadOnlyDirectoryKeepsTheOldFile)
{
    // Why: without write access to the directory the old file must stay as it was.
#ifdef _WIN32
    GTEST_SKIP() << "Windows ignores the read-only mark on a folder; only access lists deny "
                    "writes there";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only directories";
#endif
    const auto path = m_dir / "rupeta.ini";
    writeBytes(path, "old");
    using std::filesystem::perms;
    std::filesystem::permissions(m_dir, perms::owner_read | perms::owner_exec);
    EXPECT_FALSE(ProfileFile::parse("new").saveAtomically(utf8Path(path)));
    std::filesystem::permissions(m_dir, perms::owner_all);
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1);
}
