// The stretch guide: a picture of stretches to do while seated, with one line of advice.
#pragma once

#include <memory>

class MainForm;
class TForm_StretchView;

class TForm_Stretch
{
public:
    explicit TForm_Stretch(MainForm& main);
    ~TForm_Stretch();
    TForm_Stretch(const TForm_Stretch&) = delete;
    TForm_Stretch& operator=(const TForm_Stretch&) = delete;

    // Opens the guide unless it is already open, and runs it.
    static void run(MainForm& main);

    // The view's event.
    void Button1Click();

    TForm_StretchView& view() { return *m_view; }

private:
    std::unique_ptr<TForm_StretchView> m_view;
};
