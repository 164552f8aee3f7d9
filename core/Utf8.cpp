// Walking UTF-8 text one character at a time.
#include "core/Utf8.h"

std::size_t utf8CharLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text.front());
    std::size_t n = 1;
    if (lead >= 0xF0 && lead <= 0xF4)
        n = 4;
    else if (lead >= 0xE0)
        n = lead <= 0xEF ? 3 : 1;
    else if (lead >= 0xC2)
        n = 2;
    for (std::size_t i = 1; i < n; ++i) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return i;
    }
    return n;
}
