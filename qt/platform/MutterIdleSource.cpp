// Idle reports from GNOME Mutter's IdleMonitor.
#include "qt/platform/MutterIdleSource.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>

namespace {

const QString Service = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString Path = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString Interface = QStringLiteral("org.gnome.Mutter.IdleMonitor");

} // namespace

MutterIdleSource::MutterIdleSource() = default;

std::unique_ptr<MutterIdleSource> MutterIdleSource::connect()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(Service).value()) {
        return nullptr;
    }
    std::unique_ptr<MutterIdleSource> source(new MutterIdleSource);
    source->m_monitor = std::make_unique<QDBusInterface>(Service, Path, Interface, bus);
    // Connected before the watch exists, so that no early firing is lost.
    if (!bus.connect(Service, Path, Interface, QStringLiteral("WatchFired"), source.get(),
                     SLOT(watchFired(quint32)))) {
        return nullptr;
    }
    const QDBusReply<quint32> watch =
        source->m_monitor->call(QStringLiteral("AddIdleWatch"), static_cast<quint64>(TimeoutMs));
    if (!watch.isValid()) {
        return nullptr;
    }
    source->m_idleWatch = watch.value();
    return source;
}

MutterIdleSource::~MutterIdleSource()
{
    if (m_monitor) {
        m_monitor->call(QDBus::NoBlock, QStringLiteral("RemoveWatch"), m_idleWatch);
        if (m_activeWatch != 0) {
            m_monitor->call(QDBus::NoBlock, QStringLiteral("RemoveWatch"), m_activeWatch);
        }
    }
}

void MutterIdleSource::watchFired(quint32 id)
{
    if (id == m_idleWatch) {
        // The user-active watch fires once, at the next input, and is then gone.
        const QDBusReply<quint32> active = m_monitor->call(QStringLiteral("AddUserActiveWatch"));
        m_activeWatch = active.isValid() ? active.value() : 0;
        if (changed) {
            changed(true);
        }
    } else if (id == m_activeWatch && id != 0) {
        m_activeWatch = 0;
        if (changed) {
            changed(false);
        }
    }
}
