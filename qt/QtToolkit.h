// The program's toolkit in Qt: precise timers, a monotonic clock, the views from the layouts.
#pragma once

#include "shell/ShellToolkit.h"

#include <QElapsedTimer>
#include <QPointer>

class PopupStacking;
class QWidget;

class QtToolkit : public ShellToolkit
{
public:
    // The windows are owned by `owner`, the main window, which takes them along when it goes;
    // the reminder stays on top through `stacking`.
    QtToolkit(QWidget* owner, PopupStacking& stacking);

    std::unique_ptr<Timer> createTimer(std::function<void()> timeout) override;
    std::int64_t monotonicMs() override;
    void quit() override;
    std::unique_ptr<TForm2View> createView(TForm2& form) override;
    std::unique_ptr<TFormConfigView> createView(TFormConfig& form) override;
    std::unique_ptr<TFormAboutView> createView(TFormAbout& form) override;
    std::unique_ptr<TForm_StretchView> createView(TForm_Stretch& form) override;
    std::unique_ptr<TForm1View> createView(TForm1& form) override;

private:
    QPointer<QWidget> m_owner;
    PopupStacking& m_stacking;
    QElapsedTimer m_clock;
};
