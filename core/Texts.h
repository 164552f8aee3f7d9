// The texts the program shows (UTF-8), in one place for every front-end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Texts {

inline constexpr const char* AppName = "ルペタ";

// Said once at start-up where the desktop shows the program no input.
inline constexpr const char* NoActivityNotice =
    "このデスクトップではキーボードやマウスの操作を検出できないため、"
    "操作がないときの自動リセットは行いません。";

// Said once when no tray has appeared some seconds after start.
inline constexpr const char* NoTraySummary = "ルペタのアイコンを表示する場所がありません";
inline constexpr const char* NoTrayBody =
    "このデスクトップには通知領域（システムトレイ）が見つかりません。ルペタは動き続け、"
    "休憩のお知らせも表示しますが、アイコンとメニューは通知領域ができるまで表示されません。"
    "GNOME では拡張機能 AppIndicator（パッケージ gnome-shell-extension-appindicator）を"
    "有効にしてください。通知領域ができればアイコンは自動的に現れます。"
    "詳しくは README の「No icon in the tray?」をご覧ください。";

// The reminder's message.
std::string elapsedMessage(std::int32_t timerMinutes);
inline constexpr const char* SurveyMessage = "※アンケートにご協力下さい";

// The about box's version line.
std::string versionLine();

// The error box when the chime cannot be loaded; reason comes from the decoder.
std::string soundFileError(std::string_view file, std::string_view reason);

} // namespace Texts
