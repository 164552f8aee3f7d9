// The single-instance lock: one holder per user and working directory, taken in one step and
// let go of by the kernel when the holder ends, whatever waits in the lock's place.
#include "core/InstanceLock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class InstanceLockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/rupeta-lock-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        std::filesystem::create_directories(m_root / "runtime");
        std::filesystem::create_directories(m_root / "work");
        std::filesystem::create_directories(m_root / "other");
        m_old = std::filesystem::current_path();
        std::filesystem::current_path(m_root / "work");
    }
    void TearDown() override
    {
        std::filesystem::current_path(m_old);
        std::filesystem::remove_all(m_root);
    }

    std::filesystem::path runtime() const { return m_root / "runtime"; }

    std::filesystem::path m_root;
    std::filesystem::path m_old;
};

// Every way into one directory must meet the same lock, or two copies would share one
// settings file; another directory has its own.
TEST_F(InstanceLockTest, KeyIsTheDirectoryItselfNotItsPath)
{
    const std::string work = InstanceLock(runtime()).key();
    ASSERT_FALSE(work.empty());
    std::filesystem::create_directory_symlink(m_root / "work", m_root / "link");
    std::filesystem::current_path(m_root / "link");
    EXPECT_EQ(InstanceLock(runtime()).key(), work);
    std::filesystem::current_path(m_root / "other");
    EXPECT_NE(InstanceLock(runtime()).key(), work);
    EXPECT_NE(InstanceLock::keyFor(1000, 5, 7), InstanceLock::keyFor(1001, 5, 7));
    EXPECT_NE(InstanceLock::keyFor(1000, 5, 7), InstanceLock::keyFor(1000, 7, 5));
}

// The second start in a directory is turned away while the first runs, a start elsewhere is
// not, and the directory is free again once the first has gone.
TEST_F(InstanceLockTest, OneHolderPerDirectoryUntilItEnds)
{
    auto first = std::make_unique<InstanceLock>(runtime());
    ASSERT_EQ(first->claim(), InstanceLock::Claim::Claimed);
    InstanceLock second(runtime());
    EXPECT_EQ(second.claim(), InstanceLock::Claim::HeldElsewhere);

    std::filesystem::current_path(m_root / "other");
    InstanceLock elsewhere(runtime());
    EXPECT_EQ(elsewhere.claim(), InstanceLock::Claim::Claimed);

    first.reset();
    EXPECT_EQ(second.claim(), InstanceLock::Claim::Claimed);
}

// A copy killed outright leaves its lock file behind; the lock on it must not outlive it.
TEST_F(InstanceLockTest, KilledHolderLeavesNoLock)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        InstanceLock lock(runtime());
        const char answer = lock.claim() == InstanceLock::Claim::Claimed ? 'y' : 'n';
        if (::write(ready[1], &answer, 1) != 1)
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(answer, 'y');
    InstanceLock next(runtime());
    EXPECT_EQ(next.claim(), InstanceLock::Claim::HeldElsewhere);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(next.claim(), InstanceLock::Claim::Claimed);
}

// Whatever sits where the lock file goes, start-up neither hangs nor fails: the copy runs
// unguarded, as it would without a runtime directory.
TEST_F(InstanceLockTest, OddThingInTheLockFilesPlaceLeavesTheCopyUnguarded)
{
    const std::string name = InstanceLock(runtime()).key() + ".lock";
    const std::filesystem::path place = runtime() / name;
    std::ofstream(m_root / "target") << "x";
    struct Case
    {
        const char* what;
        std::function<bool()> make;
    };
    const Case cases[] = {
        {"a FIFO", [&] { return ::mkfifo(place.c_str(), 0600) == 0; }},
        {"a directory", [&] { return std::filesystem::create_directory(place); }},
        {"a symbolic link to a file",
         [&] { return ::symlink((m_root / "target").c_str(), place.c_str()) == 0; }},
        {"another user's file",
         [&] {
             std::ofstream(place) << "";
             return ::geteuid() == 0 && ::chown(place.c_str(), 65534, 65534) == 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(place);
        if (!c.make()) {
            EXPECT_STREQ(c.what, "another user's file") << "could not be made";
            continue;
        }
        InstanceLock lock(runtime());
        EXPECT_EQ(lock.claim(), InstanceLock::Claim::Unguarded);
    }
    InstanceLock nowhere(m_root / "missing");
    EXPECT_EQ(nowhere.claim(), InstanceLock::Claim::Unguarded);
}

} // namespace
