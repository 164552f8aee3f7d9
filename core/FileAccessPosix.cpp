// Reading and replacing small text files with POSIX calls.
#include "core/FileAccess.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, std::string_view data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Where a save really goes: the path itself, or the end of a chain of symbolic links that all
// belong to us. Nothing when a link is someone else's or the chain does not end.
struct Target
{
    std::filesystem::path path;
    bool exists = false;
    bool viaLink = false;
    struct stat st
    {
    };
};

std::optional<Target> resolve(const std::filesystem::path& path)
{
    Target target;
    target.path = path;
    // The same limit the kernel puts on a chain of links.
    for (int hop = 0; hop < 40; ++hop) {
        if (::lstat(target.path.c_str(), &target.st) != 0)
            return errno == ENOENT ? std::optional(target) : std::nullopt;
        if (!S_ISLNK(target.st.st_mode)) {
            target.exists = true;
            return target;
        }
        // A link planted by someone else must not lead our save into their file.
        if (target.st.st_uid != ::geteuid())
            return std::nullopt;
        // Some file systems report no size for a link.
        std::string text(
            std::max<std::size_t>(static_cast<std::size_t>(target.st.st_size), 4095) + 1, '\0');
        const ssize_t n = ::readlink(target.path.c_str(), text.data(), text.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= text.size())
            return std::nullopt;
        text.resize(static_cast<std::size_t>(n));
        // A relative link is relative to the directory the link is in.
        target.path = target.path.parent_path() / std::filesystem::path(text);
        target.viaLink = true;
    }
    return std::nullopt;
}

// The temporary files of this name are ".<name>.<pid>.<n>.tmp" beside the target.
std::optional<pid_t> temporaryOwner(std::string_view entry, std::string_view prefix)
{
    if (!entry.starts_with(prefix) || !entry.ends_with(".tmp"))
        return std::nullopt;
    entry.remove_prefix(prefix.size());
    entry.remove_suffix(4);
    const std::size_t dot = entry.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == entry.size())
        return std::nullopt;
    pid_t pid = 0;
    unsigned counter = 0;
    const auto pidEnd = entry.data() + dot;
    const auto [p, pe] = std::from_chars(entry.data(), pidEnd, pid);
    const auto [c, ce] = std::from_chars(pidEnd + 1, entry.data() + entry.size(), counter);
    if (pe != std::errc{} || p != pidEnd || ce != std::errc{} || c != entry.data() + entry.size() ||
        pid <= 0)
        return std::nullopt;
    return pid;
}

// A save killed half way leaves its temporary file; the next save clears those of processes
// that no longer exist. A live second instance may be writing its own right now.
void removeStaleTemporaries(const std::filesystem::path& target)
{
    const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
    DIR* listing = ::opendir(dir.c_str());
    if (listing == nullptr)
        return;
    const std::string prefix = "." + target.filename().string() + ".";
    while (const dirent* entry = ::readdir(listing)) {
        const auto pid = temporaryOwner(entry->d_name, prefix);
        // Saves of this process never overlap, so its own leftovers are stale as well.
        if (pid && (*pid == ::getpid() || (::kill(*pid, 0) != 0 && errno == ESRCH)))
            (void)::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

} // namespace

namespace FileAccess {

std::optional<std::string> readRegularFile(const std::string& path)
{
    // Without O_NONBLOCK opening a pipe waits for a writer that never comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::string();
        return std::nullopt;
    }
    struct stat st
    {
    };
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              static_cast<std::uintmax_t>(st.st_size) <= MaxFileBytes;
    std::string bytes;
    if (ok)
        bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    // One byte more than the size said, to notice a file that grew past the cap meanwhile.
    while (ok && done < MaxFileBytes + 1) {
        if (done == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, MaxFileBytes + 1));
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (!ok || done > MaxFileBytes)
        return std::nullopt;
    bytes.resize(done);
    return bytes;
}

bool replaceFile(const std::string& pathText, std::string_view bytes)
{
    const std::filesystem::path path(pathText);
    if (path.empty() || !path.has_filename())
        return false;
    const auto target = resolve(path);
    if (!target)
        return false;
    if (target->exists) {
        if (!S_ISREG(target->st.st_mode))
            return false;
        if (target->viaLink && target->st.st_uid != ::geteuid())
            return false;
        // The rename needs only the directory's permission; a file the user made read-only
        // must stay as it is. Root passes here, as a plain write would.
        if (::faccessat(AT_FDCWD, target->path.c_str(), W_OK, AT_EACCESS) != 0)
            return false;
    }
    removeStaleTemporaries(target->path);

    // The temporary file sits beside the target under a name relative to the same base as
    // the target, so a working directory nested beyond PATH_MAX still works.
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target->path;
        temp.replace_filename("." + target->path.filename().string() + "." +
                              std::to_string(::getpid()) + "." + std::to_string(counter++) +
                              ".tmp");
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    // Permission bits only: a setuid, setgid or sticky bit is never passed on.
    if (target->exists)
        (void)::fchmod(fd, target->st.st_mode & 0777);

    // Some file systems cannot sync at all; the rename is then as safe as they allow.
    bool ok = writeAll(fd, bytes) && (::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP);
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target->path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; the new file is already complete if this fails.
    const std::filesystem::path dir =
        target->path.has_parent_path() ? target->path.parent_path() : ".";
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace FileAccess
