// The about dialog's screen side.
#pragma once

#include "windows/DialogView.h"

#include <string>

class TFormAboutView : public DialogView
{
public:
    virtual void setVersion(const std::string& text) = 0;
    // The survey panel (GroupBox_Monitor) shown or hidden.
    virtual void showSurveyPanel(bool shown) = 0;
    // The dialog's fixed client size and the close button's top edge.
    virtual void resize(int width, int height) = 0;
    virtual void moveOkButton(int top) = 0;
    // What the password box holds (UTF-8).
    virtual std::string passwordText() const = 0;
    // The survey button and the password box.
    virtual void disableSurveyControls() = 0;
};
