#!/usr/bin/env bash
# The menu a StatusNotifierItem host gets over dbusmenu: the same items as the program's own
# menu, with captions and access keys, separators, the links of url.ini, the demo item (Ctrl and
# Shift held at start) and its check mark, and the dialog items disabled while a dialog runs,
# kept in step as they change. A stand-in watcher with a host makes Qt export the item; the
# host's "clicked" event gets its reply at once, also for the settings item.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/wayland.sh"
wayland_require_user "$@"
desktop_start || desktop_fail "no desktop"
export LANG=C.UTF-8 # xdotool matches Japanese window names only then

wayland_start_bus || desktop_fail "no session bus"
cat >"$DESKTOP_DIR/watcher.py" <<'EOF'
import dbus, dbus.service, dbus.mainloop.glib, sys
from gi.repository import GLib
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName("org.kde.StatusNotifierWatcher", bus)
class Watcher(dbus.service.Object):
    items = []
    @dbus.service.method("org.kde.StatusNotifierWatcher", in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, item, sender=None):
        self.items.append(sender)
        print("item", sender, flush=True)
    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        if prop == "IsStatusNotifierHostRegistered":
            return True
        if prop == "ProtocolVersion":
            return 0
        return dbus.Array(self.items, signature="s")
    # Qt reads the property through an interface built from this description.
    @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
    def Introspect(self):
        return """<node><interface name="org.kde.StatusNotifierWatcher">
<method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
<property name="ProtocolVersion" type="i" access="read"/>
<property name="RegisteredStatusNotifierItems" type="as" access="read"/>
</interface><interface name="org.freedesktop.DBus.Properties">
<method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
</interface></node>"""
Watcher(bus, "/StatusNotifierWatcher")
print("ready", flush=True)
GLib.MainLoop().run()
EOF
python3 -u "$DESKTOP_DIR/watcher.py" >"$DESKTOP_DIR/watcher.log" 2>&1 &
desktop_track $!
wait_until 10 grep -q ready "$DESKTOP_DIR/watcher.log" || desktop_fail "no stand-in watcher"

run=$DESKTOP_DIR/run
mkdir -p "$run"
{
    printf '[URLs]\r\n'
    printf 'Name1=\x83\x5c\x83\x74\x83\x67(&Q)\r\n' # ソフト(&Q)
    printf 'Name2=\r\n'
    printf 'Name3=-\r\n'
    printf 'Name4=Web(&W)\r\n'
    printf 'URL1=http://x.example/\r\n'
} >"$run/url.ini"
fake_opener "$DESKTOP_DIR"
xdotool keydown Control_L Shift_L
rupeta_start "$run" "$DESKTOP_DIR/out.log"
wait_until 15 grep -q '^item' "$DESKTOP_DIR/watcher.log" || desktop_fail "no item registered"
xdotool keyup Control_L Shift_L
item=$(sed -n 's/^item //p' "$DESKTOP_DIR/watcher.log" | head -n 1)

# menu: the layout as "caption|enabled|visible|kind|check" lines, submenu items indented;
# click N: the "clicked" event on the item of that caption, printing how long the reply took.
menu() {
    python3 - "$item" "$@" <<'EOF'
import dbus, sys, time
bus = dbus.SessionBus()
menu = dbus.Interface(bus.get_object(sys.argv[1], "/MenuBar"), "com.canonical.dbusmenu")
_, layout = menu.GetLayout(0, -1, [])
def walk(node, depth, out):
    for child in node[2]:
        _, props, _ = child
        kind = str(props.get("type", "standard"))
        if props.get("children-display") == "submenu":
            kind = "submenu"
        check = ""
        if props.get("toggle-type"):
            check = "%s=%d" % (props["toggle-type"], props.get("toggle-state", 0))
        out.append((int(child[0]), "  " * depth + "%s|%s|%s|%s|%s" % (
            props.get("label", ""), int(props.get("enabled", True)),
            int(props.get("visible", True)), kind, check)))
        walk(child, depth + 1, out)
    return out
items = walk(layout, 0, [])
if len(sys.argv) == 2:
    print("\n".join(line for _, line in items))
else:
    ident = next(i for i, line in items if line.strip().startswith(sys.argv[3] + "|"))
    start = time.monotonic()
    menu.Event(ident, "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0), timeout=10)
    print("%.2f" % (time.monotonic() - start))
EOF
}

expected=$(
    cat <<'EOF'
設定(_C)...|1|1|standard|
タイマーのリセット(_R)|1|1|standard|
タイマー表示サンプル(_B)...|1|1|standard|
|1|1|separator|
座ったままで簡単ストレッチ(_S)...|1|1|standard|
関連情報(_I)|1|1|submenu|
  ソフト(_Q)|1|1|standard|
  |0|0|standard|
  |1|1|separator|
  Web(_W)|1|1|standard|
  ルペタのサイト|1|1|standard|
デモ(_D)|1|1|standard|checkmark=0
|1|1|separator|
ルペタについて(_A)...|1|1|standard|
終了(_X)|1|1|standard|
EOF
)
got=$(menu)
diff <(echo "$expected") <(echo "$got") >&2 || desktop_fail "the exported menu differs (above)"

# The demo item's mark follows it.
delay=$(menu click 'デモ(_D)')
wait_until 5 eval 'menu | grep -qx "デモ(_D)|1|1|standard|checkmark=1"' ||
    desktop_fail "the demo item has no mark after it was chosen"

# The settings item: the reply comes at once, and while the dialog runs its items are disabled.
delay=$(menu click '設定(_C)...') || desktop_fail "no reply to the settings item's event"
awk -v d="$delay" 'BEGIN { exit !(d < 1) }' || desktop_fail "the settings item's event waited $delay s"
dialog() { xdotool search --onlyvisible --name '^ルペタ設定$' 2>/dev/null | head -n 1; }
wait_until 10 dialog || desktop_fail "the settings item opened no dialog"
disabled=$(
    cat <<'EOF'
設定(_C)...|0|1|standard|
タイマー表示サンプル(_B)...|0|1|standard|
座ったままで簡単ストレッチ(_S)...|0|1|standard|
ルペタについて(_A)...|0|1|standard|
EOF
)
while_open() { [ "$(menu | grep '|0|1|standard|$')" = "$disabled" ]; }
wait_until 5 while_open || desktop_fail "while the dialog runs the menu is: $(menu)"
xdotool windowactivate --sync "$(dialog)" key Escape
wait_until 5 eval '[ -z "$(dialog)" ]' || desktop_fail "the dialog did not close"
wait_until 5 eval '! menu | grep -q "|0|1|standard|$"' ||
    desktop_fail "after the dialog the menu is: $(menu)"

kill "$RUPETA_PID"
wait_for_exit 10 "$RUPETA_PID" || desktop_fail "the program did not end"
echo "PASS: menu over dbusmenu"
