#!/usr/bin/env bash
# A desktop without any tray host: after its wait the program says once what is missing and
# where to read more, through the desktop's notification service (a stand-in on a private bus
# records it) or, with no service, in a small window of its own; it keeps running, and its
# icon appears when a tray comes up later.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"

# The X server alone: no window manager, no tray.
export XDG_RUNTIME_DIR=$DESKTOP_DIR/runtime
mkdir -p "$XDG_RUNTIME_DIR"
chmod 0700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
_desktop_start_xvfb || desktop_fail "no X server"

PID=""
start_rupeta() { # name
    mkdir -p "$DESKTOP_DIR/$1"
    (cd "$DESKTOP_DIR/$1" && exec "$RUPETA_BIN") >"$DESKTOP_DIR/$1.log" 2>&1 &
    PID=$!
    desktop_track "$PID"
}
windows_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null || true; }
# The notice's wait (10 s) and a margin for a loaded machine.
NOTICE_WAIT=16

# --- No notification service: the program's own window ----------------------------------------
start_rupeta alone
wait_for_file 20 "$DESKTOP_DIR/alone/rupeta.ini" || desktop_fail "the program did not start"
[ -z "$(windows_of "$PID")" ] || desktop_fail "a window came before the wait was over"
notice_window() {
    xdotool search --onlyvisible --pid "$PID" --name '^ルペタのアイコンを表示する場所がありません$' \
        2>/dev/null | head -n 1
}
wait_until "$NOTICE_WAIT" notice_window || desktop_fail "no notice window without a tray"
shot=$DESKTOP_DIR/notice.png
screenshot "$shot" && save_artifact "$shot" tray-no-host-notice.png >/dev/null
sleep 5
[ "$(windows_of "$PID" | wc -l)" = 1 ] || desktop_fail "more than one notice window"
kill -0 "$PID" || desktop_fail "the program ended"
kill "$PID"
wait_for_exit 10 "$PID" || desktop_fail "the program did not end"

# --- A notification service on the session bus ----------------------------------------------
bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
desktop_track "$(sed -n 2p <<<"$bus")"
record=$DESKTOP_DIR/notify.jsonl
/usr/bin/python3 - "$record" >"$DESKTOP_DIR/notifications.log" 2>&1 <<'PY' &
import json, sys
import dbus, dbus.mainloop.glib, dbus.service
from gi.repository import GLib
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName("org.freedesktop.Notifications", bus)
class Notifications(dbus.service.Object):
    @dbus.service.method("org.freedesktop.Notifications", in_signature="susssasa{sv}i",
                         out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        with open(sys.argv[1], "a") as f:
            f.write(json.dumps([str(app), str(summary), str(body)], ensure_ascii=False) + "\n")
        return 1
Notifications(bus, "/org/freedesktop/Notifications")
print("ready", flush=True)
GLib.MainLoop().run()
PY
desktop_track $!
wait_until 10 grep -q ready "$DESKTOP_DIR/notifications.log" || desktop_fail "no stand-in notification service"

start_rupeta served
wait_until "$NOTICE_WAIT" test -s "$record" || desktop_fail "no notification without a tray"
sleep 5
[ "$(wc -l <"$record")" = 1 ] || desktop_fail "notified $(wc -l <"$record") times"
/usr/bin/python3 - "$record" <<'PY' || desktop_fail "the notification: $(cat "$record")"
import json, sys
app, summary, body = json.loads(open(sys.argv[1]).readline())
assert app == "ルペタ", app
assert "通知領域" in body and "No icon in the tray?" in body, body
print("notified:", summary)
PY
[ -z "$(windows_of "$PID")" ] || desktop_fail "a window besides the notification"

# --- The tray comes up later: the icon appears, and nothing is said again ---------------------
_desktop_write_fluxbox_rc
HOME=$DESKTOP_DIR/fluxbox fluxbox -rc "$DESKTOP_DIR/fluxbox/init" >"$DESKTOP_DIR/fluxbox.log" 2>&1 &
DESKTOP_WM_PID=$!
desktop_track "$DESKTOP_WM_PID"
wait_until 15 _desktop_tray_owned || desktop_fail "the tray did not come up"
# shellcheck disable=SC2046 # one window id per word
icon() { first_icon_sized $(windows_of "$PID"); }
wait_until 15 icon || desktop_fail "no icon after the tray came up"
[ "$(wc -l <"$record")" = 1 ] || desktop_fail "notified again after the tray came up"
kill "$PID"
wait_for_exit 10 "$PID" || desktop_fail "the program did not end"
echo "PASS: no tray host"
