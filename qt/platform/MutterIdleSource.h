// Idle reports from GNOME Mutter's org.gnome.Mutter.IdleMonitor on the session bus: an idle
// watch, and after it fires a one-shot user-active watch.
#pragma once

#include "shell/platform/IdleSource.h"

#include <QObject>

#include <memory>

class QDBusInterface;

class MutterIdleSource : public QObject, public IdleSource
{
    Q_OBJECT

public:
    // Nothing when the session bus has no IdleMonitor or it refuses the idle watch.
    static std::unique_ptr<MutterIdleSource> connect();
    ~MutterIdleSource() override;

private slots:
    void watchFired(quint32 id);

private:
    MutterIdleSource();

    std::unique_ptr<QDBusInterface> m_monitor;
    quint32 m_idleWatch = 0;
    quint32 m_activeWatch = 0;
};
