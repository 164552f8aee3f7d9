// Code page 932 <-> UTF-8 through the system's own code page 932.
#include "core/Cp932.h"

#include "core/Utf8.h"

#include <windows.h>

namespace {

constexpr UINT CodePage932 = 932;

// Windows gives 0x80, 0xA0 and 0xFD..0xFF code points of their own (U+0080, U+F8F0..U+F8F3)
// that the code page's standard table does not have; they are refused both ways so that a
// file reads the same on every system.
bool isWindowsOnlySingleByte(unsigned char byte)
{
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

std::string utf16ToUtf8(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace

std::string cp932ToUtf8(std::string_view cp932)
{
    std::wstring wide;
    wide.reserve(cp932.size());
    std::size_t i = 0;
    while (i < cp932.size()) {
        const auto lead = static_cast<unsigned char>(cp932[i]);
        if (lead < 0x80) {
            wide += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        // One byte at a time on failure: a lead byte whose trail does not fit must not
        // swallow the next character.
        const std::size_t n = IsDBCSLeadByteEx(CodePage932, lead) && i + 1 < cp932.size() ? 2 : 1;
        wchar_t unit = 0;
        if (!isWindowsOnlySingleByte(lead) &&
            MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, cp932.data() + i,
                                static_cast<int>(n), &unit, 1) == 1) {
            wide += unit;
            i += n;
        } else {
            wide += L'\xFFFD';
            ++i;
        }
    }
    return utf16ToUtf8(wide);
}

std::string utf8ToCp932(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out += utf8[i];
            ++i;
            continue;
        }
        // One character at a time, so that a character outside the code page (a surrogate
        // pair included) becomes a single "?".
        const std::size_t n = utf8CharLength(utf8.substr(i));
        wchar_t units[2];
        const int unitCount = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data() + i,
                                                  static_cast<int>(n), units, 2);
        char bytes[4];
        BOOL usedDefault = FALSE;
        // No best fit: "é" must not quietly become "e".
        const int byteCount =
            unitCount > 0
                ? WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, units, unitCount, bytes,
                                      static_cast<int>(sizeof bytes), "?", &usedDefault)
                : 0;
        if (byteCount <= 0 || usedDefault ||
            (byteCount == 1 && isWindowsOnlySingleByte(static_cast<unsigned char>(bytes[0]))))
            out += '?';
        else
            out.append(bytes, static_cast<std::size_t>(byteCount));
        i += n;
    }
    return out;
}
