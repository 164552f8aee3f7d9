// What the tray icon shows: tooltip text and picture, and the cache that sends only changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Number N of the picture ImageN (1..17) of the main window; Image6 is the idle picture.
int trayImageFor(std::int32_t elapsedMinutes, std::int32_t timerMinutes, bool idle);
// The progress step 0..15 that ImageN shows; -1 for the idle picture. The picture generator
// draws each image from it.
int trayStepOfImage(int image);
// "<e>分経過しました\n(タイマー設定: <t>分間)" in UTF-8.
std::string trayTooltip(std::int32_t elapsedMinutes, std::int32_t timerMinutes);

struct TrayState
{
    std::string tooltip; // UTF-8
    // The picture to send, or nothing when the tray shows it already: most minutes change only
    // the tooltip, and re-sending the same picture costs the tray host a repaint.
    std::optional<int> image;
    bool operator==(const TrayState&) const = default;
};

class TrayStatus
{
public:
    // The tray icon is created showing this picture.
    static constexpr int FirstImage = 1;

    // The state to send, or nothing when minutes, period and idle flag are as last time.
    std::optional<TrayState> update(std::int32_t elapsedMinutes, std::int32_t timerMinutes,
                                    bool idle);

private:
    std::int32_t m_elapsedMinutes = 0;
    std::int32_t m_timerMinutes = 0;
    bool m_idle = false;
    int m_shownImage = FirstImage;
};
