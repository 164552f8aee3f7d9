// Where a dialog appears when it opens.
#include "core/DialogPlace.h"

ScreenPoint centredOn(const ScreenRect& screen, int frameWidth, int frameHeight)
{
    return {screen.x + (screen.width - frameWidth) / 2,
            screen.y + (screen.height - frameHeight) / 2};
}
