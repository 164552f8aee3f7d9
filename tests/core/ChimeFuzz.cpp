// libFuzzer target: the chime decoder on any bytes, handed to libsndfile through its
// virtual I/O, so every format it recognises is tried.
#include "qt/ChimeDecoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Memory
{
    const std::uint8_t* data;
    sf_count_t size;
    sf_count_t position;
};

Memory& memory(void* user)
{
    return *static_cast<Memory*>(user);
}

sf_count_t length(void* user)
{
    return memory(user).size;
}

sf_count_t seek(sf_count_t offset, int whence, void* user)
{
    Memory& m = memory(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m.position : m.size;
    if (offset < -base || offset > m.size - base)
        return -1;
    m.position = base + offset;
    return m.position;
}

sf_count_t read(void* buffer, sf_count_t count, void* user)
{
    Memory& m = memory(user);
    const sf_count_t n = std::clamp<sf_count_t>(m.size - m.position, 0, count);
    std::memcpy(buffer, m.data + m.position, static_cast<std::size_t>(n));
    m.position += n;
    return n;
}

sf_count_t write(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t tell(void* user)
{
    return memory(user).position;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    SF_VIRTUAL_IO io{length, seek, read, write, tell};
    Memory file{bytes, static_cast<sf_count_t>(size), 0};
    SF_INFO info{};
    SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (sound == nullptr)
        return 0;
    std::string reason;
    const auto chime = ChimeDecoder::decode(sound, info, reason);
    sf_close(sound);
    if (chime) {
        check(!chime->samples.empty() && chime->samples.size() % info.channels == 0);
        check(chime->samples.size() * sizeof(std::int16_t) <= ChimeDecoder::MaxBytes);
    } else {
        check(!reason.empty());
    }
    return 0;
}
