// The tray icon's tooltip and progress picture, sent only when they change.
#include "core/TrayStatus.h"

#include <array>

namespace {

// Picture number for each of the sixteen progress steps.
constexpr std::array<int, 16> StepImages = {1, 10, 7, 14, 2, 15, 8, 11, 3, 16, 9, 12, 4, 17, 5, 13};
constexpr int IdleImage = 6;

} // namespace

int trayImageFor(std::int32_t elapsedMinutes, std::int32_t timerMinutes, bool idle)
{
    if (idle)
        return IdleImage;
    // 64-bit so that no minute count overflows; a period of zero or less has no progress.
    const std::int64_t step =
        timerMinutes > 0 ? std::int64_t{elapsedMinutes} * 16 / timerMinutes : 0;
    if (step <= 0)
        return StepImages.front();
    if (step >= 15)
        return StepImages.back();
    return StepImages[static_cast<std::size_t>(step)];
}

int trayStepOfImage(int image)
{
    if (image == IdleImage)
        return -1;
    for (std::size_t step = 0; step < StepImages.size(); ++step)
        if (StepImages[step] == image)
            return static_cast<int>(step);
    return -1;
}

std::string trayTooltip(std::int32_t elapsedMinutes, std::int32_t timerMinutes)
{
    return std::to_string(elapsedMinutes) +
           "分経過しました\n(タイマー設定: " + std::to_string(timerMinutes) + "分間)";
}

std::optional<TrayState> TrayStatus::update(std::int32_t elapsedMinutes, std::int32_t timerMinutes,
                                            bool idle)
{
    if (elapsedMinutes == m_elapsedMinutes && timerMinutes == m_timerMinutes && idle == m_idle)
        return std::nullopt;
    m_elapsedMinutes = elapsedMinutes;
    m_timerMinutes = timerMinutes;
    m_idle = idle;
    TrayState state{trayTooltip(elapsedMinutes, timerMinutes), std::nullopt};
    const int image = trayImageFor(elapsedMinutes, timerMinutes, idle);
    if (image != m_shownImage) {
        m_shownImage = image;
        state.image = image;
    }
    return state;
}
