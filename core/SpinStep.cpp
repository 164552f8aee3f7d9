// The up-down spinner's rule.
#include "core/SpinStep.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

std::optional<int> plainDecimal(std::string_view text)
{
    constexpr std::string_view Blanks = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(Blanks) - first + 1);
    // One sign at most; from_chars takes "-" but not "+".
    const bool plus = text.front() == '+';
    if (plus)
        text.remove_prefix(1);
    if (plus && (text.empty() || text.front() == '-'))
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

int SpinRange::clamp(int value) const
{
    return std::clamp(value, minimum, std::max(minimum, maximum));
}

int spinStep(const SpinRange& range, int position, std::string_view typed, int direction)
{
    if (const auto number = plainDecimal(typed);
        number && *number >= range.minimum && *number <= range.maximum)
        position = *number;
    const long long next =
        static_cast<long long>(position) +
        (direction > 0 ? range.increment : -static_cast<long long>(range.increment));
    return static_cast<int>(
        std::clamp<long long>(next, range.minimum, std::max(range.minimum, range.maximum)));
}
