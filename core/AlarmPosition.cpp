// Where the reminder comes up: the settings value's meaning and the placement on the screen.
#include "core/AlarmPosition.h"

namespace {
constexpr int Margin = 40;
}

AlarmPosition alarmPositionFrom(std::int32_t value)
{
    return value >= 0 && value <= 3 ? static_cast<AlarmPosition>(value) : AlarmPosition::Centre;
}

AlarmPlace alarmPlace(AlarmPosition position, int screenWidth, int screenHeight, int width,
                      int height)
{
    const int right = screenWidth - width - Margin;
    const int bottom = screenHeight - height - Margin;
    switch (position) {
    case AlarmPosition::TopLeft:
        return {Margin, Margin};
    case AlarmPosition::BottomLeft:
        return {Margin, bottom};
    case AlarmPosition::TopRight:
        return {right, Margin};
    case AlarmPosition::BottomRight:
        return {right, bottom};
    case AlarmPosition::Centre:
        break;
    }
    // Truncated toward zero, like the integer division and the floating-point product.
    return {(screenWidth - width) / 2, static_cast<int>(screenHeight * 0.65)};
}
