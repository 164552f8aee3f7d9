// libFuzzer target: profile files, the text-to-integer rule and the date texts.
#include "core/Cp932.h"
#include "core/DateTime.h"
#include "core/ProfileFile.h"
#include "core/TextToInt.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<std::string> lines(std::string_view bytes)
{
    std::vector<std::string> out;
    while (!bytes.empty()) {
        const std::size_t nl = bytes.find('\n');
        const std::size_t len = nl == std::string_view::npos ? bytes.size() : nl + 1;
        out.emplace_back(bytes.substr(0, len));
        bytes.remove_prefix(len);
    }
    return out;
}

// One set changes one stretch of lines: at most one old line, which is either the key's own
// line or an unterminated last line that gains a line ending, gives way to at most two new
// lines, the key line and its section header. Everything around that stretch is unchanged.
void checkOnlyOwnedLinesChanged(std::string_view before, std::string_view after,
                                std::string_view section, std::string_view key)
{
    const auto in = lines(before);
    const auto out = lines(after);
    std::size_t prefix = 0;
    while (prefix < in.size() && prefix < out.size() && in[prefix] == out[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < in.size() - prefix && suffix < out.size() - prefix &&
           in[in.size() - 1 - suffix] == out[out.size() - 1 - suffix])
        ++suffix;
    const std::vector<std::string> oldLines(in.begin() + prefix, in.end() - suffix);
    std::vector<std::string> newLines(out.begin() + prefix, out.end() - suffix);
    check(oldLines.size() <= 1);

    const std::string keyPrefix = std::string(key) + "=";
    const std::string header = "[" + std::string(section) + "]";
    if (oldLines.size() == 1) {
        const std::string& old = oldLines.front();
        const bool terminated =
            !newLines.empty() && prefix + 1 == in.size() && !old.ends_with('\n') &&
            (newLines.front() == old + "\n" || newLines.front() == old + "\r\n");
        if (terminated)
            newLines.erase(newLines.begin());
        else
            check(newLines.size() == 1 && newLines.front().starts_with(keyPrefix) &&
                  !old.starts_with('['));
    }
    check(newLines.size() <= 2);
    for (const auto& line : newLines)
        check(line.starts_with(keyPrefix) || line.starts_with(header));
}

// A second implementation of the rule, for comparison.
std::int32_t referenceTextToInt(std::string_view text, std::int32_t fallback)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return fallback;
    text.remove_prefix(start);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    int base = 10;
    for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.starts_with(prefix)) {
            text.remove_prefix(prefix.size());
            base = 16;
            break;
        }
    }
    const std::size_t digits = text.find_first_not_of("0123456789abcdefABCDEF"); // checked below
    if (text.empty() || digits != std::string_view::npos ||
        (base == 10 && text.find_first_not_of("0123456789") != std::string_view::npos))
        return fallback;
    text.remove_prefix(std::min(text.find_first_not_of('0'), text.size() - 1));
    if (text.size() > 10)
        return fallback;
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, base);
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX)
        return fallback;
    return static_cast<std::int32_t>(value);
}

void fuzzProfile(std::string_view data)
{
    const auto file = ProfileFile::parse(data);
    check(file.bytes() == data);
    // Which key and value to set come from the data itself.
    static constexpr std::string_view Sections[] = {"Timer", "User", "URLs"};
    static constexpr std::string_view Keys[] = {"Timer", "ID", "first-activated", "Name1"};
    const auto pick = data.empty() ? 0u : static_cast<unsigned char>(data.back());
    const std::string_view section = Sections[pick % 3];
    const std::string_view key = Keys[pick / 3 % 4];
    const std::string_view value = data.substr(data.size() / 2, 1100);

    auto changed = file;
    changed.set(section, key, value);
    const std::string after = changed.bytes();
    std::string_view expected = value.substr(0, value.find_first_of("\r\n"));
    expected = expected.substr(0, ProfileFile::MaxValueBytes);
    check(ProfileFile::parse(after).get(section, key) == expected);
    checkOnlyOwnedLinesChanged(data, after, section, key);
    changed.set(section, key, value);
    check(changed.bytes() == after);
}

void fuzzDates(std::string_view data)
{
    if (const auto value = parseDateTime(data)) {
        const std::string text = formatDateTime(*value);
        check(parseDateTime(text) == *value);
        check(formatDateTime(*value) == text);
    }
    if (data.size() >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        const std::string text = formatDateTime(value);
        if (!text.empty()) {
            const auto back = parseDateTime(text);
            check(back && std::fabs(*back - value) <= 0.5 / 86400 + 1e-9 * std::fabs(value));
            check(formatDateTime(*back) == text);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);
    fuzzProfile(data);
    check(textToInt(data, -777) == referenceTextToInt(data, -777));
    fuzzDates(data);
    (void)utf8ToCp932(cp932ToUtf8(data));
    return 0;
}
