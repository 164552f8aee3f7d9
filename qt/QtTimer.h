// A timer of Qt's event loop, always precise: the coarse default drifts by up to 5 %, and a
// very coarse one under 500 ms turns into a busy loop.
#pragma once

#include "windows/Timer.h"

#include <QTimer>

#include <functional>

class QtTimer : public Timer
{
public:
    explicit QtTimer(std::function<void()> timeout);

    void start(int intervalMs) override;
    void stop() override;
    bool isActive() const override;
    int interval() const override;

    const QTimer& timer() const { return m_timer; }

private:
    QTimer m_timer;
};
