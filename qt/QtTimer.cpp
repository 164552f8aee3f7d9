// A timer of Qt's event loop, always precise.
#include "qt/QtTimer.h"

QtTimer::QtTimer(std::function<void()> timeout)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, std::move(timeout));
}

void QtTimer::start(int intervalMs)
{
    m_timer.start(intervalMs);
}

void QtTimer::stop()
{
    m_timer.stop();
}

bool QtTimer::isActive() const
{
    return m_timer.isActive();
}

int QtTimer::interval() const
{
    return m_timer.interval();
}
