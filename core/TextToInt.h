// The one text-to-integer rule of the settings file and the settings dialog.
#pragma once

#include <cstdint>
#include <string_view>

// Optional leading blanks, an optional sign, then decimal digits or hexadecimal digits after
// "$", "x", "X", "0x" or "0X". Anything else, a trailing blank or a value outside 32 bits
// gives the fallback.
std::int32_t textToInt(std::string_view text, std::int32_t fallback);
