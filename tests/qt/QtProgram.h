// The main window as main() builds it, for the Qt tests: the hidden window, the toolkit, TForm1.
#pragma once

#include "qt/PopupStacking.h"
#include "qt/QtToolkit.h"
#include "qt/platform/CreatePopupStacking.h"
#include "shell/TForm1.h"

#include <QWidget>

#include <memory>

class Program : public QWidget
{
public:
    Program(Platform& platform, Chime& sound)
        : stacking(createPopupStacking()), kit(this, *stacking), main(platform, sound, kit)
    {
    }
    std::unique_ptr<PopupStacking> stacking;
    QtToolkit kit;
    TForm1 main;
};
