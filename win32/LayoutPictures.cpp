// Pictures of the static controls from the program's resources.
#include "win32/LayoutPictures.h"

#include "win32/DialogPictures.h"

#include <cstring>

LayoutPictures::~LayoutPictures()
{
    for (const auto& [image, type] : m_images) {
        if (type == IMAGE_ICON)
            DestroyIcon(static_cast<HICON>(image));
        else
            DeleteObject(image);
    }
}

void LayoutPictures::show(HWND parent, std::span<const Layout::Control> controls)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    for (const Layout::Control& c : controls) {
        if (c.picture == nullptr)
            continue;
        const DialogPictures::Picture* known = nullptr;
        for (const auto& picture : DialogPictures::All)
            if (std::strcmp(picture.layoutName, c.picture) == 0)
                known = &picture;
        // Bitmaps load in the screen's format: a DIB section cannot hold a compressed picture.
        const HANDLE image =
            known == nullptr ? nullptr
                             : LoadImageW(instance, MAKEINTRESOURCEW(known->resource), known->type,
                                          known->type == IMAGE_ICON ? c.rect.width : 0,
                                          known->type == IMAGE_ICON ? c.rect.height : 0, 0);
        if (image == nullptr)
            continue;
        m_images.emplace_back(image, known->type);
        SendDlgItemMessageW(parent, c.id, STM_SETIMAGE, known->type,
                            reinterpret_cast<LPARAM>(image));
    }
}
