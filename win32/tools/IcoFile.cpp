// The .ico layout: a directory of 16-byte entries, then per picture a BITMAPINFOHEADER of
// twice the height, the colour rows and the mask rows, both from the bottom row up.
#include "win32/tools/IcoFile.h"

#include <stdexcept>

namespace IcoFile {
namespace {

void put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}

void put32(std::string& out, std::uint32_t value)
{
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

// Mask rows are padded to whole 32-bit words.
std::size_t maskRowBytes(int width)
{
    return static_cast<std::size_t>((width + 31) / 32) * 4;
}

std::string bitmap(const Picture& p)
{
    const std::size_t colourBytes = static_cast<std::size_t>(p.width) * p.height * 4;
    const std::size_t maskBytes = maskRowBytes(p.width) * p.height;
    std::string out;
    put32(out, 40); // biSize
    put32(out, static_cast<std::uint32_t>(p.width));
    put32(out, static_cast<std::uint32_t>(p.height * 2)); // colour and mask together
    put16(out, 1);                                        // planes
    put16(out, 32);                                       // bits per pixel
    put32(out, 0);                                        // BI_RGB
    put32(out, static_cast<std::uint32_t>(colourBytes + maskBytes));
    for (int i = 0; i < 4; ++i)
        put32(out, 0); // resolution and palette: unused
    for (int y = p.height - 1; y >= 0; --y) {
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t c = p.argb[static_cast<std::size_t>(y) * p.width + x];
            out += static_cast<char>(c & 0xff);         // blue
            out += static_cast<char>((c >> 8) & 0xff);  // green
            out += static_cast<char>((c >> 16) & 0xff); // red
            out += static_cast<char>(c >> 24);          // alpha
        }
    }
    for (int y = p.height - 1; y >= 0; --y) {
        std::string row(maskRowBytes(p.width), '\0');
        for (int x = 0; x < p.width; ++x) {
            if (p.argb[static_cast<std::size_t>(y) * p.width + x] >> 24 == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        }
        out += row;
    }
    return out;
}

} // namespace

std::string encode(const std::vector<Picture>& pictures)
{
    std::string directory;
    put16(directory, 0); // reserved
    put16(directory, 1); // icon, not cursor
    put16(directory, static_cast<unsigned>(pictures.size()));
    std::string images;
    const std::size_t start = 6 + 16 * pictures.size();
    for (const Picture& p : pictures) {
        if (p.width < 1 || p.width > 256 || p.height < 1 || p.height > 256 ||
            p.argb.size() != static_cast<std::size_t>(p.width) * p.height)
            throw std::invalid_argument("an icon picture is 1 to 256 pixels square");
        const std::string image = bitmap(p);
        directory += static_cast<char>(p.width & 0xff); // 256 is written as 0
        directory += static_cast<char>(p.height & 0xff);
        directory += '\0'; // no palette
        directory += '\0';
        put16(directory, 1);  // planes
        put16(directory, 32); // bits per pixel
        put32(directory, static_cast<std::uint32_t>(image.size()));
        put32(directory, static_cast<std::uint32_t>(start + images.size()));
        images += image;
    }
    return directory + images;
}

} // namespace IcoFile
