// Resource numbers of the pictures the dialogs show, by the names their layouts give them.
#pragma once

#include "win32/TrayIcons.h"

#include <windows.h>

namespace DialogPictures {

// The stretch guide's picture: resources/stretch/stretch.bmp as a bitmap resource (RLE8).
inline constexpr int Stretch = 201;

struct Picture
{
    const char* layoutName;
    int resource;
    UINT type; // IMAGE_ICON or IMAGE_BITMAP
};

inline constexpr Picture All[] = {
    {":/icons/rupeta-32.png", TrayIcons::Program, IMAGE_ICON},
    {":/stretch/stretch.bmp", Stretch, IMAGE_BITMAP},
};

} // namespace DialogPictures
