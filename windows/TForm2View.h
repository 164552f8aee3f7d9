// The reminder popup's screen side: a small borderless window that never takes the focus.
#pragma once

#include "core/DialogPlace.h"

#include <cstdint>
#include <string>

class TForm2View
{
public:
    virtual ~TForm2View() = default;

    // The background colour, 0xBBGGRR (red in the low byte).
    virtual void setColor(std::uint32_t bgr) = 0;
    // Label_Message's text; the label takes the width of its text.
    virtual void setMessage(const std::string& text) = 0;
    // The window and its background shape take this size.
    virtual void resize(int width, int height) = 0;
    // Removes the frame (Shape2) that the popup has until its first blink.
    virtual void hideFrame() = 0;
    // The whole primary screen, taskbars included.
    virtual ScreenRect primaryScreen() const = 0;
    virtual void moveTo(int x, int y) = 0;
    // Shows the window on top without activating it; the view then calls FormShow().
    virtual void showNoActivate() = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    // Puts the window above every other one without activating it.
    virtual void raiseAbove() = 0;
    // True while one of the program's menus is open: it stays above the popup.
    virtual bool isMenuOpen() const = 0;
};
