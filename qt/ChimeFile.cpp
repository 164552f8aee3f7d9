// Opens the chime without blocking and hands only a regular file to libsndfile.
#include "qt/ChimeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* notRegular(mode_t mode)
{
    if (S_ISDIR(mode))
        return "通常のファイルではなく、フォルダーです。";
    if (S_ISFIFO(mode))
        return "通常のファイルではなく、名前付きパイプです。";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "通常のファイルではなく、デバイスです。";
    return "通常のファイルではありません。";
}

} // namespace

SNDFILE* ChimeFile::open(const std::filesystem::path& path, SF_INFO& info, std::string& reason)
{
    // A FIFO would hold a blocking open until someone writes to it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = notRegular(st.st_mode);
        ::close(fd);
        return nullptr;
    }
    // libsndfile owns the descriptor from here on, also when it fails.
    SNDFILE* sound = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (sound == nullptr)
        reason = sf_strerror(nullptr);
    return sound;
}
