// Decodes the chime in fixed pieces up to a hard limit.
#include "qt/ChimeDecoder.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t PieceFrames = 4096;

} // namespace

std::optional<ChimeDecoder::Chime> ChimeDecoder::decode(SNDFILE* sound, const SF_INFO& info,
                                                        std::string& reason)
{
    if (info.channels < 1 || info.channels > 2) {
        reason = std::to_string(info.channels) + " チャンネルの音は鳴らせません。";
        return std::nullopt;
    }
    if (info.samplerate <= 0) {
        reason =
            "サンプリング周波数 " + std::to_string(info.samplerate) + " Hz の音は鳴らせません。";
        return std::nullopt;
    }
    const auto channels = static_cast<std::size_t>(info.channels);
    const std::size_t maxSamples = MaxBytes / sizeof(std::int16_t) / channels * channels;
    Chime chime;
    chime.sampleRate = info.samplerate;
    chime.channels = info.channels;
    auto& samples = chime.samples;
    // Room for the most there can be, never more: pages are only made resident as the pieces
    // fill them, and the buffer is not copied as it grows.
    samples.reserve(maxSamples);
    std::array<std::int16_t, PieceFrames * 2> piece;
    while (samples.size() < maxSamples) {
        const std::size_t frames = std::min(PieceFrames, (maxSamples - samples.size()) / channels);
        const sf_count_t read =
            sf_readf_short(sound, piece.data(), static_cast<sf_count_t>(frames));
        const auto got = static_cast<std::size_t>(
            std::clamp<sf_count_t>(read, 0, static_cast<sf_count_t>(frames)));
        samples.insert(samples.end(), piece.begin(),
                       piece.begin() + static_cast<std::ptrdiff_t>(got * channels));
        if (got < frames) {
            break;
        }
    }
    if (samples.empty()) {
        reason = sf_error(sound) != SF_ERR_NO_ERROR
                     ? std::string("音のデータを読めません: ") + sf_strerror(sound)
                     : std::string("音のデータがありません。");
        return std::nullopt;
    }
    return chime;
}
