// Where the reminder comes up: the settings value's meaning and the placement on the screen.
#pragma once

#include <cstdint>

// The settings file's "Position"; any value outside 0..3 means the centre.
enum class AlarmPosition : std::int32_t
{
    TopLeft = 0,
    BottomLeft = 1,
    TopRight = 2,
    BottomRight = 3,
    Centre = 4,
};

AlarmPosition alarmPositionFrom(std::int32_t value);

struct AlarmPlace
{
    int left = 0;
    int top = 0;
    bool operator==(const AlarmPlace&) const = default;
};

// Top-left corner of a width x height reminder on a screenWidth x screenHeight screen: 40
// pixels from the chosen corner, or centred horizontally at 65 % of the height.
AlarmPlace alarmPlace(AlarmPosition position, int screenWidth, int screenHeight, int width,
                      int height);
