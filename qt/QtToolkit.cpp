// The program's toolkit in Qt.
#include "qt/QtToolkit.h"

#include "qt/QtForm1.h"
#include "qt/QtForm2.h"
#include "qt/QtFormAbout.h"
#include "qt/QtFormConfig.h"
#include "qt/QtForm_Stretch.h"
#include "qt/QtTimer.h"

#include <QCoreApplication>
#include <QWidget>

QtToolkit::QtToolkit(QWidget* owner, PopupStacking& stacking) : m_owner(owner), m_stacking(stacking)
{
    m_clock.start();
}

std::unique_ptr<Timer> QtToolkit::createTimer(std::function<void()> timeout)
{
    return std::make_unique<QtTimer>(std::move(timeout));
}

std::int64_t QtToolkit::monotonicMs()
{
    return m_clock.elapsed();
}

void QtToolkit::quit()
{
    // Also ends a dialog's nested loop.
    QCoreApplication::exit(0);
}

std::unique_ptr<TForm2View> QtToolkit::createView(TForm2& form)
{
    return std::make_unique<QtForm2>(form, m_owner, m_stacking);
}

std::unique_ptr<TFormConfigView> QtToolkit::createView(TFormConfig& form)
{
    return std::make_unique<QtFormConfig>(form, m_owner);
}

std::unique_ptr<TFormAboutView> QtToolkit::createView(TFormAbout& form)
{
    return std::make_unique<QtFormAbout>(form, m_owner);
}

std::unique_ptr<TForm_StretchView> QtToolkit::createView(TForm_Stretch& form)
{
    return std::make_unique<QtForm_Stretch>(form, m_owner);
}

std::unique_ptr<TForm1View> QtToolkit::createView(TForm1& form)
{
    return std::make_unique<QtForm1>(form, *m_owner);
}
