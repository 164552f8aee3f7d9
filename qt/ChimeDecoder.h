// Decodes the chime into 16-bit PCM with libsndfile, free of Qt so that it can be fuzzed.
#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ChimeDecoder
{
public:
    // The reminder hides after 30 s, so no more of the chime can ever play: 30 s of 16-bit
    // stereo at 44.1 kHz, about 5 MiB. Nothing a file says can make the program hold more.
    static constexpr std::size_t MaxBytes = 30 * 44100 * 2 * sizeof(std::int16_t);

    struct Chime
    {
        std::vector<std::int16_t> samples; // interleaved
        int sampleRate = 0;
        int channels = 0;
    };

    // Reads an opened sound in fixed pieces up to MaxBytes. The frame count in the header is
    // never used: a file can state any length. When the file yields no sound, the result is
    // empty and reason says why (in Japanese, for the error box).
    static std::optional<Chime> decode(SNDFILE* sound, const SF_INFO& info, std::string& reason);
};
