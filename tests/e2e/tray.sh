# Helpers for desktop tests of the StatusNotifierItem tray: the program's item on the session
# bus, read and called the way a tray host does. Source after desktop.sh, with
# DBUS_SESSION_BUS_ADDRESS set (wayland.sh's compositors do that).
#
#   sni_item                    prints "service path" of the one registered item; fails if none.
#   sni_call METHOD X Y         calls Activate, ContextMenu or SecondaryActivate with the point,
#                               as a host does for a click there (no reply awaited).
#   sni_double_click X Y        two Activate calls 100 ms apart, from one process.
#   sni_tooltip                 prints the ToolTip's title (the text hosts show).
#   sni_pixmap SIZE FILE        writes the IconPixmap entry of SIZE x SIZE as a PNG; fails if
#                               there is none of that size.

_sni_python() {
    /usr/bin/python3 - "$@" <<'PY'
import dbus, subprocess, sys, time
bus = dbus.SessionBus()
watcher = bus.get_object("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")
items = watcher.Get("org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems",
                    dbus_interface="org.freedesktop.DBus.Properties")
if len(items) != 1:
    sys.exit("%d items registered" % len(items))
service, _, path = str(items[0]).partition("/")
item = bus.get_object(service, "/" + path)
props = dbus.Interface(item, "org.freedesktop.DBus.Properties")
what = sys.argv[1]
if what == "item":
    print(service, "/" + path)
elif what in ("call", "double"):
    method = "Activate" if what == "double" else sys.argv[2]
    point = (int(sys.argv[-2]), int(sys.argv[-1]))
    for n in range(2 if what == "double" else 1):
        if n:
            time.sleep(0.1)
        bus.call_async(service, "/" + path, "org.kde.StatusNotifierItem", method, "ii", point,
                       None, None)
        bus.flush()
elif what == "tooltip":
    print(str(props.Get("org.kde.StatusNotifierItem", "ToolTip")[2]))
elif what == "pixmap":
    size = int(sys.argv[2])
    for w, h, data in props.Get("org.kde.StatusNotifierItem", "IconPixmap"):
        if w == size and h == size:
            # ARGB32 in network byte order, as the protocol says; ImageMagick reads RGBA.
            argb = bytes(bytearray(data))
            rgba = b"".join(argb[i + 1:i + 4] + argb[i:i + 1] for i in range(0, len(argb), 4))
            subprocess.run(["convert", "-size", "%dx%d" % (w, h), "-depth", "8", "RGBA:-",
                            sys.argv[3]], input=rgba, check=True)
            break
    else:
        sys.exit("no %dx%d picture" % (size, size))
PY
}

sni_item() { _sni_python item; }
sni_call() { _sni_python call "$@"; }
sni_double_click() { _sni_python double "$@"; }
sni_tooltip() { _sni_python tooltip; }
sni_pixmap() { _sni_python pixmap "$@"; }
