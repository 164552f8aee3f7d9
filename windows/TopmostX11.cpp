// Keeping the reminder in the window manager's "above" layer on X11.
#include "TopmostX11.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct Atoms
{
    xcb_atom_t state = 0;
    xcb_atom_t above = 0;
};

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t intern(xcb_connection_t* c, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

const Atoms& atoms(xcb_connection_t* c)
{
    static const Atoms known{intern(c, "_NET_WM_STATE"), intern(c, "_NET_WM_STATE_ABOVE")};
    return known;
}

} // namespace

bool x11AboveStateLost(const QWidget& window, const void* xcbEvent)
{
    const auto* event = static_cast<const xcb_generic_event_t*>(xcbEvent);
    if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY)
        return false;
    xcb_connection_t* c = connection();
    if (!c)
        return false;
    const auto* notify = static_cast<const xcb_property_notify_event_t*>(xcbEvent);
    const xcb_window_t id = static_cast<xcb_window_t>(window.winId());
    if (notify->window != id || notify->atom != atoms(c).state)
        return false;

    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, id, atoms(c).state, XCB_ATOM_ATOM, 0, 32);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, cookie, nullptr), &std::free);
    if (!reply)
        return false;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i)
        if (values[i] == atoms(c).above)
            return false;
    return true;
}

void x11RequestAbove(const QWidget& window)
{
    xcb_connection_t* c = connection();
    if (!c)
        return;
    // The EWMH request a client sends to change its own state, addressed to the root window.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window.winId());
    message.type = atoms(c).state;
    message.data.data32[0] = 1; // _NET_WM_STATE_ADD
    message.data.data32[1] = atoms(c).above;
    message.data.data32[3] = 1; // from a normal application
    xcb_send_event(c, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}
