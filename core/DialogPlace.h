// Where a dialog appears when it opens: centred, frame included, on the primary screen.
#pragma once

struct ScreenRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint
{
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The top-left corner of a frameWidth x frameHeight window centred on the screen, whatever the
// position of its (hidden) owner; odd leftovers go to the right and bottom.
ScreenPoint centredOn(const ScreenRect& screen, int frameWidth, int frameHeight);
