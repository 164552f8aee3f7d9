// Writes the Windows program's icons, drawn by the same painter as the Linux pictures:
//   rupeta-make-icons <dir>  ->  <dir>/image{1..17}.ico (the tray pictures at 16, 32 and 48
//                                pixels), <dir>/rupeta.ico (the program icon, the same sizes)
#include "resources/icons/IconPainter.h"
#include "win32/tools/IcoFile.h"

#include <QImage>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

IcoFile::Picture picture(const QImage& drawn)
{
    const QImage image = drawn.convertToFormat(QImage::Format_ARGB32);
    IcoFile::Picture p{image.width(), image.height(), {}};
    p.argb.reserve(static_cast<std::size_t>(p.width) * p.height);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x)
            p.argb.push_back(image.pixel(x, y));
    }
    return p;
}

bool write(const std::filesystem::path& path, std::initializer_list<int> sizes,
           const std::function<QImage(int)>& draw)
{
    std::vector<IcoFile::Picture> pictures;
    for (const int size : sizes)
        pictures.push_back(picture(draw(size)));
    const std::string bytes = IcoFile::encode(pictures);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: rupeta-make-icons <output directory>\n", stderr);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    bool ok = true;
    for (int n = 1; n <= 17; ++n) {
        ok = write(dir / ("image" + std::to_string(n) + ".ico"), {16, 32, 48},
                   [n](int size) { return IconPainter::trayImage(size, n); }) &&
             ok;
    }
    ok = write(dir / "rupeta.ico", {16, 32, 48}, IconPainter::programIcon) && ok;
    if (!ok)
        std::fprintf(stderr, "rupeta-make-icons: cannot write into %s\n", argv[1]);
    return ok ? 0 : 1;
}
