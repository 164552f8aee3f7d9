// A stand-in Wayland compositor for tests: a seat and, as asked, ext-idle-notify-v1,
// org_kde_kwin_idle or neither. Lines on stdin ("idle", "resume") go out as events to every
// idle object; each new one is announced on stdout as "timeout MS".
//   idle-compositor SOCKET ext|kde|none      (SOCKET in $XDG_RUNTIME_DIR)
#include "ext-idle-notify-v1-server-protocol.h"
#include "idle-server-protocol.h"

#include <wayland-server.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// The implementation structs share their names with the interface tables: hence "struct".
namespace {

bool g_kde = false;
std::vector<wl_resource*> g_watches;

void forget(wl_resource* resource)
{
    g_watches.erase(std::remove(g_watches.begin(), g_watches.end(), resource), g_watches.end());
}

void destroyResource(wl_client*, wl_resource* resource)
{
    wl_resource_destroy(resource);
}

void watch(wl_client* client, wl_resource* parent, const wl_interface* interface,
           const void* implementation, uint32_t id, uint32_t timeout)
{
    wl_resource* resource = wl_resource_create(client, interface, 1, id);
    if (resource == nullptr) {
        wl_resource_post_no_memory(parent);
        return;
    }
    wl_resource_set_implementation(resource, implementation, nullptr, forget);
    g_watches.push_back(resource);
    std::printf("timeout %u\n", timeout);
    std::fflush(stdout);
}

const struct ext_idle_notification_v1_interface NotificationImpl
{
    destroyResource
};

const struct ext_idle_notifier_v1_interface NotifierImpl
{
    destroyResource,
        [](wl_client* client, wl_resource* resource, uint32_t id, uint32_t timeout, wl_resource*) {
            watch(client, resource, &ext_idle_notification_v1_interface, &NotificationImpl, id,
                  timeout);
        },
};

const struct org_kde_kwin_idle_timeout_interface KdeTimeoutImpl
{
    destroyResource, [](wl_client*, wl_resource*) {}
};

const struct org_kde_kwin_idle_interface KdeIdleImpl
{
    [](wl_client* client, wl_resource* resource, uint32_t id, wl_resource*, uint32_t timeout) {
        watch(client, resource, &org_kde_kwin_idle_timeout_interface, &KdeTimeoutImpl, id, timeout);
    },
};

const struct wl_seat_interface SeatImpl
{
    [](wl_client*, wl_resource*, uint32_t) {}, [](wl_client*, wl_resource*, uint32_t) {},
        [](wl_client*, wl_resource*, uint32_t) {}, destroyResource,
};

template <const wl_interface* Interface, auto Implementation>
void bind(wl_client* client, void*, uint32_t, uint32_t id)
{
    wl_resource* resource = wl_resource_create(client, Interface, 1, id);
    if (resource == nullptr) {
        wl_client_post_no_memory(client);
        return;
    }
    wl_resource_set_implementation(resource, Implementation, nullptr, nullptr);
}

int command(int fd, uint32_t, void* data)
{
    static std::string pending;
    char buffer[256];
    const ssize_t length = read(fd, buffer, sizeof buffer);
    if (length <= 0) {
        wl_display_terminate(static_cast<wl_display*>(data));
        return 0;
    }
    pending.append(buffer, static_cast<std::size_t>(length));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
        const bool idle = pending.compare(0, end, "idle") == 0;
        pending.erase(0, end + 1);
        for (wl_resource* resource : g_watches) {
            if (g_kde) {
                idle ? org_kde_kwin_idle_timeout_send_idle(resource)
                     : org_kde_kwin_idle_timeout_send_resumed(resource);
            } else {
                idle ? ext_idle_notification_v1_send_idled(resource)
                     : ext_idle_notification_v1_send_resumed(resource);
            }
        }
    }
    wl_display_flush_clients(static_cast<wl_display*>(data));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SOCKET ext|kde|none\n", argv[0]);
        return 2;
    }
    wl_display* display = wl_display_create();
    if (display == nullptr || wl_display_add_socket(display, argv[1]) != 0) {
        std::fprintf(stderr, "idle-compositor: cannot listen on %s\n", argv[1]);
        return 1;
    }
    wl_global_create(display, &wl_seat_interface, 1, nullptr, bind<&wl_seat_interface, &SeatImpl>);
    if (std::strcmp(argv[2], "ext") == 0) {
        wl_global_create(display, &ext_idle_notifier_v1_interface, 1, nullptr,
                         bind<&ext_idle_notifier_v1_interface, &NotifierImpl>);
    } else if (std::strcmp(argv[2], "kde") == 0) {
        g_kde = true;
        wl_global_create(display, &org_kde_kwin_idle_interface, 1, nullptr,
                         bind<&org_kde_kwin_idle_interface, &KdeIdleImpl>);
    }
    wl_event_loop_add_fd(wl_display_get_event_loop(display), STDIN_FILENO, WL_EVENT_READABLE,
                         command, display);
    std::printf("ready\n");
    std::fflush(stdout);
    wl_display_run(display);
    wl_display_destroy(display);
    return 0;
}
