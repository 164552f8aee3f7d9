// The reminder's stacking for the window system this program is built for; each platform file
// defines it.
#pragma once

#include "qt/PopupStacking.h"

#include <memory>

std::unique_ptr<PopupStacking> createPopupStacking();
