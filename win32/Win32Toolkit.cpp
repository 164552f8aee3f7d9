// The program's toolkit in plain Win32.
#include "win32/Win32Toolkit.h"

#include "win32/Win32Form1.h"
#include "win32/Win32Form2.h"
#include "win32/Win32FormAbout.h"
#include "win32/Win32FormConfig.h"
#include "win32/Win32Form_Stretch.h"
#include "win32/Win32Timer.h"

std::unique_ptr<Timer> Win32Toolkit::createTimer(std::function<void()> timeout)
{
    return std::make_unique<Win32Timer>(m_timers, std::move(timeout));
}

std::int64_t Win32Toolkit::monotonicMs()
{
    return m_timers.nowMs();
}

void Win32Toolkit::quit()
{
    PostQuitMessage(0);
}

std::unique_ptr<TForm2View> Win32Toolkit::createView(TForm2& form)
{
    return std::make_unique<Win32Form2>(form, *this);
}

std::unique_ptr<TFormConfigView> Win32Toolkit::createView(TFormConfig& form)
{
    return std::make_unique<Win32FormConfig>(form);
}

std::unique_ptr<TFormAboutView> Win32Toolkit::createView(TFormAbout& form)
{
    return std::make_unique<Win32FormAbout>(form);
}

std::unique_ptr<TForm_StretchView> Win32Toolkit::createView(TForm_Stretch& form)
{
    return std::make_unique<Win32Form_Stretch>(form);
}

std::unique_ptr<TForm1View> Win32Toolkit::createView(TForm1& form)
{
    return std::make_unique<Win32Form1>(form, *this);
}
