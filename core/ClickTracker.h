// What counts as a click on a control: the left button pressed over it and released over it.
#pragma once

class ClickTracker
{
public:
    void press(bool leftButton) { m_leftPressed = leftButton; }
    // True when this release completes a click.
    bool release(bool leftButton, bool inside)
    {
        const bool click = m_leftPressed && leftButton && inside;
        m_leftPressed = false;
        return click;
    }

private:
    bool m_leftPressed = false;
};
