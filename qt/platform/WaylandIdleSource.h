// Idle reports over a Wayland connection of the program's own: ext-idle-notify-v1 where the
// compositor has it, else the older org_kde_kwin_idle (sway 1.7, KWin 5).
#pragma once

#include "shell/platform/IdleSource.h"

#include <memory>

class QSocketNotifier;
struct wl_display;
struct wl_registry;
struct wl_seat;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;

class WaylandIdleSource : public IdleSource
{
public:
    // Nothing when $WAYLAND_DISPLAY cannot be reached or offers neither interface.
    static std::unique_ptr<WaylandIdleSource> connect();
    ~WaylandIdleSource() override;
    WaylandIdleSource(const WaylandIdleSource&) = delete;
    WaylandIdleSource& operator=(const WaylandIdleSource&) = delete;

    // Registry and idle listeners (C callbacks).
    void global(wl_registry* registry, unsigned name, const char* interface);
    void report(bool idle);

private:
    WaylandIdleSource() = default;
    void read();

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    ext_idle_notifier_v1* m_notifier = nullptr;
    ext_idle_notification_v1* m_notification = nullptr;
    org_kde_kwin_idle* m_kdeIdle = nullptr;
    org_kde_kwin_idle_timeout* m_kdeTimeout = nullptr;
    std::unique_ptr<QSocketNotifier> m_socket;
};
