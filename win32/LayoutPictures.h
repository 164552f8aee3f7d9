// The pictures of one window's static controls, loaded from the program's resources by the
// names the layout gives them and deleted with the window.
#pragma once

#include "win32/Layout.h"

#include <span>
#include <utility>
#include <vector>

class LayoutPictures
{
public:
    LayoutPictures() = default;
    ~LayoutPictures();
    LayoutPictures(const LayoutPictures&) = delete;
    LayoutPictures& operator=(const LayoutPictures&) = delete;

    // Shows its picture in every control of the table that names one; a picture missing from
    // the resources leaves its control empty.
    void show(HWND parent, std::span<const Layout::Control> controls);

private:
    std::vector<std::pair<HANDLE, UINT>> m_images;
};
