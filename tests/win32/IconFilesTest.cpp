// The Windows icons hold exactly what the painter draws, in every size, with a mask that
// agrees with the alpha channel; read back by Qt's own .ico reader and by hand.
#include "resources/icons/IconPainter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

namespace {

const std::filesystem::path Dir = std::getenv("RUPETA_WIN32_ICONS");

std::string bytesOf(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

unsigned get16(const std::string& b, std::size_t at)
{
    return static_cast<unsigned char>(b.at(at)) | static_cast<unsigned char>(b.at(at + 1)) << 8;
}

std::uint32_t get32(const std::string& b, std::size_t at)
{
    return get16(b, at) | static_cast<std::uint32_t>(get16(b, at + 2)) << 16;
}

// Qt's reader gives colour and alpha; the 1-bit mask beside them is checked by hand: a mask
// that disagreed would show a black or white square on systems that draw with it.
void expectIcon(const std::string& file, const std::function<QImage(int)>& draw)
{
    SCOPED_TRACE(file);
    const auto path = Dir / file;
    QImageReader reader(QString::fromStdString(path.string()), "ico");
    ASSERT_EQ(reader.imageCount(), 3);
    std::set<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
        sizes.insert(read.width());
        EXPECT_EQ(read, draw(read.width()).convertToFormat(QImage::Format_ARGB32))
            << read.width() << " pixels";
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));

    const std::string b = bytesOf(path);
    ASSERT_EQ(get16(b, 2), 1u); // an icon
    for (unsigned i = 0; i < get16(b, 4); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int size = static_cast<unsigned char>(b.at(entry));
        const std::size_t header = get32(b, entry + 12);
        ASSERT_EQ(get32(b, header + 4), static_cast<std::uint32_t>(size));
        ASSERT_EQ(get32(b, header + 8), static_cast<std::uint32_t>(2 * size));
        ASSERT_EQ(get16(b, header + 14), 32u);
        const QImage drawn = draw(size).convertToFormat(QImage::Format_ARGB32);
        const std::size_t mask = header + 40 + static_cast<std::size_t>(size) * size * 4;
        const std::size_t rowBytes = static_cast<std::size_t>((size + 31) / 32) * 4;
        ASSERT_EQ(get32(b, entry + 8), 40 + (mask - header - 40) + rowBytes * size);
        int wrong = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const auto byte = static_cast<unsigned char>(
                    b.at(mask + rowBytes * static_cast<std::size_t>(size - 1 - y) + x / 8));
                const bool transparent = (byte >> (7 - x % 8)) & 1;
                wrong += transparent != (qAlpha(drawn.pixel(x, y)) == 0) ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << size << " pixels: mask bits that disagree with the drawing";
    }
}

} // namespace

TEST(IconFiles, TrayPicturesAreThePaintersDrawings)
{
    for (int n = 1; n <= 17; ++n) {
        expectIcon("image" + std::to_string(n) + ".ico",
                   [n](int size) { return IconPainter::trayImage(size, n); });
    }
}

TEST(IconFiles, ProgramIconIsThePaintersDrawing)
{
    expectIcon("rupeta.ico", IconPainter::programIcon);
}
