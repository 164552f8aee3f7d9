// The texts the program shows.
#include "core/Texts.h"

#include "BuildConfig.h"

namespace Texts {

std::string elapsedMessage(std::int32_t timerMinutes)
{
    return std::to_string(timerMinutes) + "分たちました";
}

std::string versionLine()
{
    return std::string("Version ") + BuildConfig::Version;
}

std::string soundFileError(std::string_view file, std::string_view reason)
{
    // The decoder's reasons may end in a line break.
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ' ||
                               reason.back() == '\r' || reason.back() == '\t'))
        reason.remove_suffix(1);
    while (!reason.empty() && (reason.front() == '\n' || reason.front() == ' ' ||
                               reason.front() == '\r' || reason.front() == '\t'))
        reason.remove_prefix(1);
    return "サウンド ファイル \"" + std::string(file) + "\" を開けません。\n" + std::string(reason);
}

} // namespace Texts
