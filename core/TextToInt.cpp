// The text-to-integer rule shared by the settings file and the settings dialog.
#include "core/TextToInt.h"

#include <cstdint>

namespace {

int digitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

std::int32_t textToInt(std::string_view text, std::int32_t fallback)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    std::string_view rest = text.substr(i);
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        i += 2;
    } else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        base = 16;
        i += 1;
    }
    if (i == text.size())
        return fallback;

    // The magnitude of INT32_MIN is one more than INT32_MAX; a 64-bit sum with an early stop
    // keeps any length of digits from overflowing.
    const std::int64_t limit = negative ? std::int64_t{INT32_MAX} + 1 : INT32_MAX;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return fallback;
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            return fallback;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}
