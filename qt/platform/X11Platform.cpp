// The platform services on an X11 desktop.
#include "qt/platform/X11Platform.h"

#include "shell/platform/LocalClock.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <cstdlib>

X11Platform::X11Platform()
{
    int screen = 0;
    m_pointer = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(m_pointer) != 0) {
        xcb_disconnect(m_pointer);
        m_pointer = nullptr;
    } else {
        auto roots = xcb_setup_roots_iterator(xcb_get_setup(m_pointer));
        for (; roots.rem > 0 && screen > 0; --screen) {
            xcb_screen_next(&roots);
        }
        m_pointerRoot = roots.rem > 0 ? roots.data->root : 0;
    }

    // A connection of our own: Qt's xcb connection must not see the raw events, and our
    // replies must not wait behind its traffic.
    m_display = XOpenDisplay(nullptr);
    if (m_display == nullptr) {
        return;
    }
    int event = 0;
    int error = 0;
    // 2.2, not 2.0: with 2.0 the server withholds raw events while another client holds a
    // keyboard grab (an open menu, for instance).
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(m_display, "XInputExtension", &m_xiOpcode, &event, &error) ||
        XIQueryVersion(m_display, &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 2)) {
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(m_display, DefaultRootWindow(m_display), &mask, 1);
    XFlush(m_display);

    m_notifier =
        std::make_unique<QSocketNotifier>(ConnectionNumber(m_display), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { drain(); });
}

X11Platform::~X11Platform()
{
    m_notifier.reset();
    if (m_display != nullptr) {
        XCloseDisplay(m_display);
    }
    if (m_pointer != nullptr) {
        xcb_disconnect(m_pointer);
    }
}

void X11Platform::drain()
{
    if (m_display == nullptr) {
        return;
    }
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_xiOpcode ||
            !XGetEventData(m_display, cookie)) {
            continue;
        }
        if (cookie->evtype == XI_RawKeyPress) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            const KeySym sym =
                XkbKeycodeToKeysym(m_display, static_cast<KeyCode>(raw->detail), 0, 0);
            if (sym == XK_Return || sym == XK_KP_Enter) {
                m_enterPressed = true;
            } else if (sym == XK_space) {
                m_spacePressed = true;
            }
        }
        XFreeEventData(m_display, cookie);
    }
}

bool X11Platform::enterPressedSinceLastQuery()
{
    // Any reply wait on this connection may have pulled events off the socket without the
    // notifier seeing them, so read what is queued before answering.
    drain();
    const bool pressed = m_enterPressed;
    m_enterPressed = false;
    return pressed;
}

bool X11Platform::spacePressedSinceLastQuery()
{
    drain();
    const bool pressed = m_spacePressed;
    m_spacePressed = false;
    return pressed;
}

std::optional<CursorPos> X11Platform::cursorPos()
{
    if (m_pointer == nullptr || m_pointerRoot == 0) {
        return std::nullopt;
    }
    // Waiting for the reply would wake the program a second time each tick. So the query
    // goes out without waiting and its reply, arrived long since on a socket no notifier
    // watches, is read at the next tick: each tick sees the cursor as the last one left it,
    // and consecutive ticks still compare positions a tick apart. Only the first call waits.
    if (!m_pointerQuery) {
        m_pointerQuery = xcb_query_pointer(m_pointer, m_pointerRoot).sequence;
    }
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(m_pointer, xcb_query_pointer_cookie_t{*m_pointerQuery}, nullptr);
    m_pointerQuery = xcb_query_pointer(m_pointer, m_pointerRoot).sequence;
    xcb_flush(m_pointer);
    if (reply == nullptr) {
        return std::nullopt;
    }
    // same_screen is false when the pointer is on another screen of the display.
    const std::optional<CursorPos> pos =
        reply->same_screen != 0 ? std::optional(CursorPos{reply->root_x, reply->root_y})
                                : std::nullopt;
    std::free(reply);
    return pos;
}

bool X11Platform::ctrlAndShiftDown()
{
    if (m_display == nullptr) {
        return false;
    }
    char keys[32] = {};
    XQueryKeymap(m_display, keys);
    const auto down = [&](KeySym sym) {
        const KeyCode code = XKeysymToKeycode(m_display, sym);
        return code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0;
    };
    return (down(XK_Control_L) || down(XK_Control_R)) && (down(XK_Shift_L) || down(XK_Shift_R));
}

void X11Platform::openDocument(const std::string& text)
{
    // One argument, no shell: the text reaches the opener exactly as given.
    QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(text)});
}

DateTime X11Platform::now()
{
    return localClockNow();
}

bool X11Platform::showNotification(const std::string& summary, const std::string& body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Application name, no notice to replace, no icon, the texts, no actions, no hints, and
    // the server's own display time.
    call << QStringLiteral("ルペタ") << 0u << QString() << QString::fromStdString(summary)
         << QString::fromStdString(body) << QStringList() << QVariantMap() << -1;
    // No answer within a few seconds counts as no service: the message window says it then.
    return bus.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}

// The test Qt makes when it creates the tray icon: with a StatusNotifierItem host it exports
// the icon over D-Bus (and a menu given to it over dbusmenu), otherwise it docks into an XEmbed
// tray, where the program draws its menu.
bool X11Platform::trayHostReadsMenus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.kde.StatusNotifierWatcher")
        << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}
