// Reading and replacing the settings and links files whatever the user or others put there:
// read-only files, symbolic links, pipes, devices, huge files and leftovers of killed saves.
#include "core/FileAccess.h"
#include "tests/core/FileBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Someone else: the conventional unprivileged user.
constexpr uid_t Nobody = 65534;

mode_t modeOf(const std::filesystem::path& path)
{
    struct stat st
    {
    };
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

// Runs the check in a child process with limited memory, as the given user when we are root,
// and gives its exit status, or -1 when it had to be killed after a few seconds: a read that
// hangs or grows without end fails the test instead of hanging or exhausting the machine.
int inChild(const std::function<bool()>& check, uid_t user = ::geteuid())
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        // 256 MiB on top of what the process maps already, which a sanitizer makes huge.
        std::size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (256 << 20);
        const rlimit memory{limit, limit};
        ::setrlimit(RLIMIT_AS, &memory);
        if (user != ::geteuid() && (::setgid(user) != 0 || ::setuid(user) != 0))
            ::_exit(3);
        // Nothing may unwind into the test framework's copy in this process.
        try {
            ::_exit(check() ? 0 : 1);
        } catch (...) {
            ::_exit(4);
        }
    }
    for (int i = 0; i < 500; ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

class FileAccessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/rupeta-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        // Open to the unprivileged user the root runs use.
        ::chmod(m_dir.c_str(), 0777);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::size_t entries(const std::filesystem::path& dir) const
    {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(dir), {}));
    }

    std::filesystem::path m_dir;
};

} // namespace

TEST_F(FileAccessTest, OnlySmallRegularFilesAreReadAndNothingBlocks)
{
    // Why: a pipe hung the start for good, a link to /dev/zero grew until the program aborted
    // and 50 MB of blank lines took seconds and gigabytes.
    const auto fifo = m_dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto zero = m_dir / "zero";
    std::filesystem::create_symlink("/dev/zero", zero);
    const auto atCap = m_dir / "at-cap";
    writeBytes(atCap, std::string(FileAccess::MaxFileBytes, '\n'));
    const auto overCap = m_dir / "over-cap";
    writeBytes(overCap, std::string(FileAccess::MaxFileBytes + 1, '\n'));
    const auto plain = m_dir / "plain";
    writeBytes(plain, "[Timer]\r\nTimer=45\r\n");

    struct Case
    {
        std::filesystem::path path;
        std::optional<std::string> content;
    };
    const Case cases[] = {
        {m_dir / "missing", ""},
        {m_dir / "missing-dir" / "file", ""},
        {plain, "[Timer]\r\nTimer=45\r\n"},
        {atCap, std::string(FileAccess::MaxFileBytes, '\n')},
        {overCap, std::nullopt},
        {fifo, std::nullopt},
        {zero, std::nullopt},
        {m_dir, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.filename().string());
        EXPECT_EQ(inChild([&c] { return FileAccess::readRegularFile(c.path) == c.content; }), 0);
    }
}

TEST_F(FileAccessTest, ReadOnlyFileIsNotReplacedExceptByRoot)
{
    // Why: the rename needs only the directory's permission, yet a file the user made
    // read-only must stay as it is; root writes it, as a plain write would.
    const auto path = m_dir / "rupeta.ini";
    writeBytes(path, "old");
    ::chmod(path.c_str(), 0444);
    const uid_t user = ::geteuid() == 0 ? Nobody : ::geteuid();
    ASSERT_EQ(::chown(path.c_str(), user, static_cast<gid_t>(-1)), 0);

    EXPECT_EQ(inChild([&path] { return !FileAccess::replaceFile(path, "new"); }, user), 0);
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(entries(m_dir), 1u);

    if (::geteuid() == 0) {
        EXPECT_TRUE(FileAccess::replaceFile(path, "new"));
        EXPECT_EQ(readBytes(path), "new");
        EXPECT_EQ(modeOf(path) & 07777, 0444u);
    }
}

TEST_F(FileAccessTest, OwnLinkStaysALinkAndItsTargetIsSaved)
{
    // Why: a user who keeps the file elsewhere and links it here must not find the link
    // replaced by a copy and the real file never written again.
    std::filesystem::create_directories(m_dir / "real" / "deeper");
    writeBytes(m_dir / "real" / "deeper" / "settings.ini", "old");
    ::chmod((m_dir / "real" / "deeper" / "settings.ini").c_str(), 0640);
    // A chain: a relative link to an absolute one.
    std::filesystem::create_symlink(m_dir / "real" / "deeper" / "settings.ini",
                                    m_dir / "real" / "middle.ini");
    std::filesystem::create_symlink("real/middle.ini", m_dir / "rupeta.ini");

    ASSERT_TRUE(FileAccess::replaceFile(m_dir / "rupeta.ini", "new"));
    EXPECT_TRUE(S_ISLNK(modeOf(m_dir / "rupeta.ini")));
    EXPECT_TRUE(S_ISLNK(modeOf(m_dir / "real" / "middle.ini")));
    EXPECT_EQ(readBytes(m_dir / "real" / "deeper" / "settings.ini"), "new");
    EXPECT_EQ(modeOf(m_dir / "real" / "deeper" / "settings.ini") & 07777, 0640u);
    EXPECT_EQ(entries(m_dir), 2u);
    EXPECT_EQ(entries(m_dir / "real" / "deeper"), 1u);

    // A link to a file not there yet creates it, as a plain write would.
    std::filesystem::create_symlink("real/new.ini", m_dir / "url.ini");
    ASSERT_TRUE(FileAccess::replaceFile(m_dir / "url.ini", "created"));
    EXPECT_TRUE(S_ISLNK(modeOf(m_dir / "url.ini")));
    EXPECT_EQ(readBytes(m_dir / "real" / "new.ini"), "created");
}

TEST_F(FileAccessTest, LinkInvolvingSomeoneElseCountsAsUnwritable)
{
    // Why: a link planted in a shared directory made the save copy a private file, setgid
    // bit and all, where others could read it.
    if (::geteuid() != 0)
        GTEST_SKIP() << "files of another user can only be made by root";
    const auto secret = m_dir / "secret";
    writeBytes(secret, "private");
    ::chmod(secret.c_str(), 02640);

    // Their link to our file, and our link to their file.
    std::filesystem::create_symlink(secret, m_dir / "theirs.ini");
    ASSERT_EQ(::lchown((m_dir / "theirs.ini").c_str(), Nobody, Nobody), 0);
    EXPECT_FALSE(FileAccess::replaceFile(m_dir / "theirs.ini", "new"));
    // Writable to all, so that only whose it is stops the save.
    ::chmod(secret.c_str(), 0666);
    std::filesystem::create_symlink(secret, m_dir / "ours.ini");
    ASSERT_EQ(::lchown((m_dir / "ours.ini").c_str(), Nobody, Nobody), 0);
    EXPECT_EQ(
        inChild([this] { return !FileAccess::replaceFile(m_dir / "ours.ini", "new"); }, Nobody), 0);
    EXPECT_EQ(readBytes(secret), "private");
    EXPECT_EQ(modeOf(secret) & 07777, 0666u);
    EXPECT_TRUE(S_ISLNK(modeOf(m_dir / "theirs.ini")));
    EXPECT_TRUE(S_ISLNK(modeOf(m_dir / "ours.ini")));
    EXPECT_EQ(entries(m_dir), 3u);
}

TEST_F(FileAccessTest, ReplacementGetsPermissionBitsOnly)
{
    // Why: a setuid, setgid or sticky bit must never be passed on to a file the program wrote.
    const auto path = m_dir / "rupeta.ini";
    for (const mode_t mode : {06755u, 01644u, 0600u}) {
        writeBytes(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(FileAccess::replaceFile(path, "new"));
        EXPECT_EQ(modeOf(path) & 07777, mode & 0777) << std::oct << mode;
    }
}

TEST_F(FileAccessTest, TemporariesOfEndedProcessesAreRemovedAtTheNextSave)
{
    // Why: a save killed half way left its temporary file behind for good, but one of a live
    // second instance may be in the middle of its own save.
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const std::string dead = ".rupeta.ini." + std::to_string(ended) + ".0.tmp";
    const std::string live = ".rupeta.ini." + std::to_string(::getppid()) + ".3.tmp";
    const std::string others[] = {".url.ini." + std::to_string(ended) + ".0.tmp",
                                  ".rupeta.ini.x.0.tmp", ".rupeta.ini." + std::to_string(ended)};
    for (const auto& name : {dead, live})
        writeBytes(m_dir / name, "half");
    for (const auto& name : others)
        writeBytes(m_dir / name, "not ours");

    ASSERT_TRUE(FileAccess::replaceFile(m_dir / "rupeta.ini", "new"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / dead));
    EXPECT_TRUE(std::filesystem::exists(m_dir / live));
    for (const auto& name : others)
        EXPECT_TRUE(std::filesystem::exists(m_dir / name)) << name;
    EXPECT_EQ(entries(m_dir), 5u);
}
