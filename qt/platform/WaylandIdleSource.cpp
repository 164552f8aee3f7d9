// Idle reports from the compositor through ext-idle-notify-v1 or org_kde_kwin_idle.
#include "qt/platform/WaylandIdleSource.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"

#include <QSocketNotifier>

#include <wayland-client.h>

#include <cstring>

namespace {

WaylandIdleSource* self(void* data)
{
    return static_cast<WaylandIdleSource*>(data);
}

const wl_registry_listener RegistryListener{
    [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
        self(data)->global(registry, name, interface);
    },
    [](void*, wl_registry*, uint32_t) {},
};

const ext_idle_notification_v1_listener NotificationListener{
    [](void* data, ext_idle_notification_v1*) { self(data)->report(true); },
    [](void* data, ext_idle_notification_v1*) { self(data)->report(false); },
};

const org_kde_kwin_idle_timeout_listener KdeTimeoutListener{
    [](void* data, org_kde_kwin_idle_timeout*) { self(data)->report(true); },
    [](void* data, org_kde_kwin_idle_timeout*) { self(data)->report(false); },
};

} // namespace

std::unique_ptr<WaylandIdleSource> WaylandIdleSource::connect()
{
    std::unique_ptr<WaylandIdleSource> source(new WaylandIdleSource);
    source->m_display = wl_display_connect(nullptr);
    if (source->m_display == nullptr) {
        return nullptr;
    }
    source->m_registry = wl_display_get_registry(source->m_display);
    wl_registry_add_listener(source->m_registry, &RegistryListener, source.get());
    if (wl_display_roundtrip(source->m_display) < 0 || source->m_seat == nullptr) {
        return nullptr;
    }
    if (source->m_notifier != nullptr) {
        source->m_notification = ext_idle_notifier_v1_get_idle_notification(
            source->m_notifier, TimeoutMs, source->m_seat);
        ext_idle_notification_v1_add_listener(source->m_notification, &NotificationListener,
                                              source.get());
    } else if (source->m_kdeIdle != nullptr) {
        source->m_kdeTimeout =
            org_kde_kwin_idle_get_idle_timeout(source->m_kdeIdle, source->m_seat, TimeoutMs);
        org_kde_kwin_idle_timeout_add_listener(source->m_kdeTimeout, &KdeTimeoutListener,
                                               source.get());
    } else {
        return nullptr;
    }
    if (wl_display_flush(source->m_display) < 0) {
        return nullptr;
    }
    source->m_socket = std::make_unique<QSocketNotifier>(wl_display_get_fd(source->m_display),
                                                         QSocketNotifier::Read);
    QObject::connect(source->m_socket.get(), &QSocketNotifier::activated,
                     [s = source.get()] { s->read(); });
    return source;
}

WaylandIdleSource::~WaylandIdleSource()
{
    m_socket.reset();
    if (m_notification != nullptr) {
        ext_idle_notification_v1_destroy(m_notification);
    }
    if (m_notifier != nullptr) {
        ext_idle_notifier_v1_destroy(m_notifier);
    }
    if (m_kdeTimeout != nullptr) {
        org_kde_kwin_idle_timeout_release(m_kdeTimeout);
    }
    if (m_kdeIdle != nullptr) {
        org_kde_kwin_idle_destroy(m_kdeIdle);
    }
    if (m_seat != nullptr) {
        wl_seat_destroy(m_seat);
    }
    if (m_registry != nullptr) {
        wl_registry_destroy(m_registry);
    }
    if (m_display != nullptr) {
        wl_display_disconnect(m_display);
    }
}

void WaylandIdleSource::global(wl_registry* registry, unsigned name, const char* interface)
{
    // Version 1 of each has everything needed here; the first seat is the user's.
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && m_seat == nullptr) {
        m_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0) {
        m_notifier = static_cast<ext_idle_notifier_v1*>(
            wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    } else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0) {
        m_kdeIdle = static_cast<org_kde_kwin_idle*>(
            wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
    }
}

void WaylandIdleSource::report(bool idle)
{
    if (changed) {
        changed(idle);
    }
}

void WaylandIdleSource::read()
{
    while (wl_display_prepare_read(m_display) != 0) {
        wl_display_dispatch_pending(m_display);
    }
    if (wl_display_read_events(m_display) < 0) {
        // The compositor is gone: stop watching a socket that would stay readable for ever.
        m_socket->setEnabled(false);
        return;
    }
    wl_display_dispatch_pending(m_display);
}
