// The platform services on an X11 desktop.
#include "X11Platform.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <chrono>
#include <ctime>

X11Platform::X11Platform()
{
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
    if (m_display == nullptr) {
        return std::nullopt;
    }
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int buttons = 0;
    // False when the pointer is on another screen of the display.
    if (!XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &rootX, &rootY,
                       &winX, &winY, &buttons)) {
        return std::nullopt;
    }
    return CursorPos{rootX, rootY};
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
    const auto clock = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(clock);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           encodeTime(local.tm_hour, local.tm_min, local.tm_sec) +
           static_cast<double>(millis) / (24.0 * 60 * 60 * 1000);
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
