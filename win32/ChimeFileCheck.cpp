// What a chime file must be before MCI sees it.
#include "win32/ChimeFileCheck.h"

#include <cstring>

namespace ChimeFileCheck {

namespace {

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
           std::uint32_t{b[at + 3]} << 24;
}

std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

bool tagAt(std::span<const std::uint8_t> b, std::size_t at, const char* tag)
{
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

constexpr const char* NotWave = "WAVE 形式の音声ファイルではありません。";
constexpr const char* BadHeader = "WAVE ファイルのヘッダーが壊れています。";
constexpr const char* Unsupported =
    "対応していない音声形式です（PCM 8/16 ビット、1〜2 チャンネルのみ）。";
constexpr const char* NoSamples = "音声データがありません。";

std::string checkFormat(std::span<const std::uint8_t> b, std::size_t at, std::uint32_t size)
{
    if (size < 16)
        return BadHeader;
    const std::uint16_t tag = le16(b, at);
    const std::uint16_t channels = le16(b, at + 2);
    const std::uint32_t rate = le32(b, at + 4);
    const std::uint32_t byteRate = le32(b, at + 8);
    const std::uint16_t blockAlign = le16(b, at + 12);
    const std::uint16_t bits = le16(b, at + 14);
    // WAVE_FORMAT_EXTENSIBLE counts as PCM when its sub-format is PCM.
    static constexpr std::uint8_t PcmSubFormat[16] = {1,    0, 0, 0,    0, 0,    0x10, 0,
                                                      0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    const bool extensiblePcm =
        tag == 0xFFFE && size >= 40 && std::memcmp(b.data() + at + 24, PcmSubFormat, 16) == 0;
    if ((tag != 1 && !extensiblePcm) || channels < 1 || channels > 2 || (bits != 8 && bits != 16) ||
        rate < 8000 || rate > 192000)
        return Unsupported;
    if (blockAlign != channels * bits / 8 || byteRate != rate * blockAlign)
        return BadHeader;
    return {};
}

} // namespace

std::string checkWave(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > MaxBytes)
        return "ファイルが大きすぎます。";
    if (bytes.size() < 12 || !tagAt(bytes, 0, "RIFF") || !tagAt(bytes, 8, "WAVE"))
        return NotWave;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = le32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body)
            return BadHeader;
        if (tagAt(bytes, at, "fmt ")) {
            if (haveFormat)
                return BadHeader;
            if (std::string reason = checkFormat(bytes, body, size); !reason.empty())
                return reason;
            haveFormat = true;
        } else if (tagAt(bytes, at, "data")) {
            if (!haveFormat)
                return BadHeader;
            return size == 0 ? NoSamples : std::string();
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
    }
    return haveFormat ? NoSamples : NotWave;
}

} // namespace ChimeFileCheck
