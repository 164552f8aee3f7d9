// Code page 932 <-> UTF-8 through the C library's iconv ("CP932", not "SHIFT_JIS", which
// turns 0x5C into a yen sign).
#include "core/Cp932.h"

#include "core/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// Converts text with iconv; on a byte sequence that does not convert, appends the
// replacement and skips the length skip() gives for the bytes at that point.
template <typename Skip>
std::string convert(const char* to, const char* from, std::string_view text,
                    std::string_view replacement, Skip skip)
{
    std::string out;
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // Without the converter only ASCII, which both encodings share, is kept.
        for (const char c : text)
            out += static_cast<unsigned char>(c) < 0x80 ? std::string_view(&c, 1) : replacement;
        return out;
    }
    out.reserve(text.size() * 3 / 2 + 4);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // EILSEQ, or EINVAL for an incomplete sequence at the end.
            out += replacement;
            const std::size_t n = std::min(inLeft, skip(std::string_view(in, inLeft)));
            in += n;
            inLeft -= n;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    iconv_close(cd);
    return out;
}

} // namespace

std::string cp932ToUtf8(std::string_view cp932)
{
    // One byte at a time: a lead byte whose trail does not fit must not swallow the next
    // character.
    return convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD",
                   [](std::string_view) { return std::size_t{1}; });
}

std::string utf8ToCp932(std::string_view utf8)
{
    return convert("CP932", "UTF-8", utf8, "?", utf8CharLength);
}
