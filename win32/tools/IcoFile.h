// Windows icon files (.ico): one picture in several sizes, each stored as 32-bit BGRA with the
// 1-bit transparency mask that Windows still reads beside the alpha channel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace IcoFile {

// A picture of up to 256 x 256 pixels, rows from the top, each pixel 0xAARRGGBB (not
// premultiplied).
struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

// The bytes of an .ico file holding the pictures in the order given; a pixel with alpha 0 is
// transparent in the mask as well.
std::string encode(const std::vector<Picture>& pictures);

} // namespace IcoFile
