// The instance lock with flock(2) on a file in the runtime directory.
#include "core/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string currentDirectoryKey()
{
    struct stat st
    {
    };
    if (::stat(".", &st) != 0)
        return {};
    return InstanceLock::keyFor(::geteuid(), st.st_dev, st.st_ino);
}

} // namespace

InstanceLock::InstanceLock(std::string folder)
    : m_folder(std::move(folder)), m_key(currentDirectoryKey())
{
}

InstanceLock::~InstanceLock()
{
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
}

InstanceLock::Claim InstanceLock::claim()
{
    if (m_handle >= 0)
        return Claim::Claimed;
    if (m_key.empty() || m_folder.empty())
        return Claim::Unguarded;
    const std::filesystem::path path = std::filesystem::path(m_folder) / (m_key + ".lock");
    // Not blocking on a FIFO, not following a link someone planted in a shared folder.
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return Claim::Unguarded;
    struct stat st
    {
    };
    // Someone else's file could be held by them for ever: only our own regular file counts.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return Claim::Unguarded;
    }
    // The file stays; the lock on it goes with the last descriptor, that is with the process.
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Claim::HeldElsewhere : Claim::Unguarded;
    }
    m_handle = fd;
    return Claim::Claimed;
}

std::string InstanceLock::defaultFolder()
{
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "/tmp";
}
