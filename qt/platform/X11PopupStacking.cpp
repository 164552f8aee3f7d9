// The reminder's stacking on X11.
#include "qt/platform/X11PopupStacking.h"
#include "qt/platform/CreatePopupStacking.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

// Null under any other Qt platform (offscreen, a native Wayland one).
xcb_connection_t* connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

X11PopupStacking::X11PopupStacking()
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11PopupStacking::~X11PopupStacking()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

Qt::WindowFlags X11PopupStacking::windowFlags() const
{
    // A managed window is placed where the window manager likes (sway centres it), gets a
    // taskbar button (fluxbox) and loses its above state to whoever asks. Override-redirect
    // leaves place and stacking to the program; focus stays where it was, as nobody gives one.
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::Tool | Qt::WindowDoesNotAcceptFocus;
    if (connection())
        flags |= Qt::X11BypassWindowManagerHint;
    return flags;
}

void X11PopupStacking::watch(QWidget& popup, std::function<void()> lost)
{
    m_popup = &popup;
    m_window = static_cast<std::uint32_t>(popup.winId());
    m_lost = std::move(lost);
    xcb_connection_t* c = connection();
    if (!c)
        return;
    // Visibility notices say when another window covers the popup; Qt does not ask for them,
    // so they are added to the events it selects.
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, m_window), nullptr),
        &std::free);
    if (!attributes)
        return;
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE;
    xcb_change_window_attributes(c, m_window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
}

void X11PopupStacking::raiseAbove(QWidget& popup)
{
    xcb_connection_t* c = connection();
    if (!c) {
        popup.raise();
        return;
    }
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, static_cast<xcb_window_t>(popup.winId()), XCB_CONFIG_WINDOW_STACK_MODE,
                         &above);
    xcb_flush(c);
}

bool X11PopupStacking::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !m_popup || !m_lost)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_VISIBILITY_NOTIFY)
        return false;
    const auto* visibility = static_cast<const xcb_visibility_notify_event_t*>(message);
    if (visibility->window == m_window && visibility->state != XCB_VISIBILITY_UNOBSCURED)
        m_lost();
    return false;
}

std::unique_ptr<PopupStacking> createPopupStacking()
{
    return std::make_unique<X11PopupStacking>();
}
