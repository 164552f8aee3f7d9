// What a chime file must be before MCI sees it: a plain file of bounded size that holds a RIFF
// WAVE sound of PCM samples with a well-formed header. MCI parses the file itself; a hostile
// header must never reach it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ChimeFileCheck {

// Thirty seconds of 44.1 kHz 16-bit stereo, with room for the header.
inline constexpr std::size_t MaxBytes = 30 * 44100 * 2 * 2 + 4096;

// Empty when the bytes (the whole file) are a playable WAVE, else the reason (UTF-8).
std::string checkWave(std::span<const std::uint8_t> bytes);

} // namespace ChimeFileCheck
