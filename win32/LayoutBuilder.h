// Makes a window's controls from its control table (Layouts.h): each child at its rectangle,
// with its font, colour-independent settings, up-down range and password character.
#pragma once

#include "win32/Layout.h"

#include <span>
#include <utility>
#include <vector>

// The fonts of one window's controls, made once per distinct font and deleted with it.
class LayoutFonts
{
public:
    LayoutFonts() = default;
    ~LayoutFonts();
    LayoutFonts(const LayoutFonts&) = delete;
    LayoutFonts& operator=(const LayoutFonts&) = delete;

    HFONT get(const Layout::Font& font);

private:
    std::vector<std::pair<Layout::Font, HFONT>> m_fonts;
};

// Creates the controls as children of parent, in table order (which is the tab order); false
// when one cannot be made, the ones made so far then stay for the parent to destroy.
bool createControls(HWND parent, std::span<const Layout::Control> controls, LayoutFonts& fonts);
