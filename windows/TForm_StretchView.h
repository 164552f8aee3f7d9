// The stretch guide's screen side: the picture, its advice and a close button.
#pragma once

#include "windows/DialogView.h"

class TForm_StretchView : public DialogView
{
};
