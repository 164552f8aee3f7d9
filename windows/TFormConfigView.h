// The settings dialog's screen side.
#pragma once

#include "core/SpinStep.h"
#include "windows/DialogView.h"

#include <string>

class TFormConfigView : public DialogView
{
public:
    // The edit boxes (any text, UTF-8) with their spinners' ranges and positions.
    virtual void setTimer(const std::string& text, const SpinRange& range, int position) = 0;
    virtual void setReset(const std::string& text, const SpinRange& range, int position) = 0;
    virtual std::string timerText() const = 0;
    virtual std::string resetText() const = 0;
    virtual void setAutoReset(bool checked) = 0;
    virtual bool autoReset() const = 0;
    // RadioButton1..RadioButton5 as 0..4; exactly one is checked.
    virtual void checkPosition(int radio) = 0;
    virtual int checkedPosition() const = 0;
    // The idle minutes' box, spinner and label.
    virtual void enableResetControls(bool on) = 0;
};
