// The icons compiled into the program load through the Windows API in every size the tray and
// Explorer ask for, keep their transparent background and are all different pictures.
#include "win32/TrayIcons.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

constexpr std::uint32_t Background = 0x00ff00ff;

// The icon drawn over a magenta background, as BGRX pixels from the top row.
std::vector<std::uint32_t> drawn(int id, int size)
{
    const HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
    if (icon == nullptr) {
        ADD_FAILURE() << "icon " << id << " at " << size << " pixels does not load";
        return {};
    }
    ICONINFO info{};
    BITMAP colour{};
    EXPECT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(GetObjectW(info.hbmColor, sizeof colour, &colour));
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    EXPECT_EQ(colour.bmBitsPixel, 32) << "icon " << id;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size;
    format.bmiHeader.biHeight = -size;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP target = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, target);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, Background);
    std::memcpy(bits, pixels.data(), pixels.size() * 4);
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * 4);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    DestroyIcon(icon);
    for (auto& p : pixels)
        p &= 0xffffff;
    return pixels;
}

} // namespace

TEST(TrayIcons, EveryPictureLoadsInEachSizeOverItsBackground)
{
    for (const int size : {16, 32, 48}) {
        std::set<std::vector<std::uint32_t>> different;
        for (int n = 0; n < TrayIcons::ImageCount; ++n) {
            SCOPED_TRACE("Image" + std::to_string(n + 1) + " at " + std::to_string(size));
            const auto pixels = drawn(TrayIcons::FirstImage + n, size);
            ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size) * size);
            // The top right corner is empty; the monitor's frame starts at the left edge.
            EXPECT_EQ(pixels[static_cast<std::size_t>(size - 1)], Background);
            EXPECT_EQ(pixels[static_cast<std::size_t>(size / 2) * size], 0x000000u);
            different.insert(pixels);
        }
        EXPECT_EQ(different.size(), static_cast<std::size_t>(TrayIcons::ImageCount));
    }
}

TEST(TrayIcons, ProgramIconLoads)
{
    for (const int size : {16, 32, 48}) {
        const auto pixels = drawn(TrayIcons::Program, size);
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size) * size);
        EXPECT_EQ(pixels[static_cast<std::size_t>(size - 1)], Background);
    }
}
