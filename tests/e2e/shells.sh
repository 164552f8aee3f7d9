# Harness for desktop tests on full desktop shells, each headless with XWayland, a private session
# bus and real pointer and key input: GNOME Shell 43 with the AppIndicator extension, and KDE
# Plasma 5.27 (kwin_wayland and plasmashell). Source it after desktop.sh and wayland.sh, and call
# wayland_require_user first: both shells run as an ordinary user.
#
# Both
#   shell_do CMD...          hands one command to the shell's input helper and waits until it is
#                            done: "move X Y" (absolute), "click B", "press B", "release B"
#                            (B: 1 left, 3 right), "double" (two left clicks 80 ms apart),
#                            "key CODE" (evdev key code: 1 Esc, 28 Enter, 108 Down),
#                            "shot FILE" (a screenshot through the shell's own interface).
#   shell_monitor_start      records every method call on the session bus (dbus-monitor) in
#                            $DESKTOP_DIR/monitor.log.
#   shell_calls NAME         how many calls of method NAME the monitor saw.
#   shell_icon_box BEFORE AFTER  prints "X Y W H", the panel area that differs between two
#                            screenshots taken before and after the icon appeared.
#   shell_changed_box A B X Y W H  prints "X Y W H" of what differs between two screenshots within
#                            the given area, or fails when nothing does.
#   shell_menu_rows SHOT X Y W H  prints the middle y of each line of light text in the area, one
#                            a line, top to bottom (a menu's items; separators are too thin).
#   shell_item_tooltip       prints the tooltip title of the one registered tray item.
#   shell_reply_delay NAME [TEXT...]  prints the seconds between the last call of method NAME
#                            (whose arguments show every TEXT) and its reply, or fails when it
#                            has none.
#   program_window_class WIN prints the WM_CLASS of an X window as "instance,class".
#
# GNOME Shell 43
#   gnome_start              gnome-shell --headless with a private system bus, its own dconf
#                            settings (AppIndicator enabled, banners off) and XWayland; exports
#                            WAYLAND_DISPLAY, DISPLAY, XAUTHORITY. Returns once the
#                            StatusNotifierItem watcher has a host; then starts the input helper
#                            (Mutter RemoteDesktop, screenshots through org.gnome.Shell.Screenshot).
#
# KDE Plasma 5.27
#   plasma_start             kwin_wayland --virtual with XWayland (a copy of the binary: the
#                            installed one carries a file capability that containers refuse), kded5
#                            with the StatusNotifierItem watcher, then plasmashell; exports
#                            WAYLAND_DISPLAY, DISPLAY, XAUTHORITY. Returns once the watcher has a
#                            host; then starts the input helper: org_kde_kwin_fake_input through a
#                            small client built here (fixtures/kwin_fake_input.c), screenshots
#                            through org.kde.KWin.ScreenShot2.

set -u

SHELL_INPUT_FD=""

# --- common ------------------------------------------------------------------------------------

shell_do() {
    # Each command carries a tag of its own, also when sent from a subshell.
    local tag=$BASHPID.$SRANDOM
    echo "$tag $*" >&"$SHELL_INPUT_FD"
    wait_until 20 grep -q "^done $tag\$" "$DESKTOP_DIR/input.log" || {
        echo "shells.sh: the input helper did not do: $*" >&2
        tail -n 5 "$DESKTOP_DIR/input.log" >&2
        return 1
    }
    ! grep "^error $tag " "$DESKTOP_DIR/input.log" >&2
}

shell_monitor_start() {
    dbus-monitor --session "type='method_call'" "type='method_return'" "type='error'" \
        >"$DESKTOP_DIR/monitor.log" 2>&1 &
    desktop_track $!
    wait_until 5 test -s "$DESKTOP_DIR/monitor.log"
}

shell_calls() { grep -c "member=$1\$" "$DESKTOP_DIR/monitor.log" || true; }

shell_changed_box() {
    local a=$1 b=$2 x=$3 y=$4 w=$5 h=$6 box
    box=$("$DESKTOP_CONVERT" "$a" "$b" -crop "${w}x${h}+${x}+${y}" +repage -compose difference \
        -composite -colorspace gray -threshold 8% -format '%@' info: 2>/dev/null) || return 1
    # WxH+X+Y of the changed pixels; an unchanged area trims to nothing (0x0 or the whole).
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    local bw=${BASH_REMATCH[1]} bh=${BASH_REMATCH[2]}
    [ "$bw" -gt 0 ] && [ "$bh" -gt 0 ] && [ "$bw$bh" != "$w$h" ] || return 1
    echo "$((x + BASH_REMATCH[3])) $((y + BASH_REMATCH[4])) $bw $bh"
}

# The right half of the top bar: the clock in the middle changes by itself.
shell_icon_box() { shell_changed_box "$1" "$2" 600 0 424 32; }

shell_menu_rows() {
    local shot=$1 x=$2 y=$3 w=$4 h=$5
    # The share of light pixels in each row of the area, then runs of rows that have some.
    "$DESKTOP_CONVERT" "$shot" -crop "${w}x${h}+${x}+${y}" +repage -colorspace gray \
        -threshold 60% -scale "1x${h}!" -depth 16 txt:- |
        /usr/bin/python3 -c '
import re, sys
top = int(sys.argv[1])
rows = [int(m.group(2)) for m in (re.match(r"(\d+),(\d+): \((\d+)", l) for l in sys.stdin) if m and int(m.group(3)) > 0]
band = []
for r in rows + [None]:
    if band and (r is None or r != band[-1] + 1):
        if len(band) >= 6:
            print(top + (band[0] + band[-1]) // 2)
        band = []
    if r is not None:
        band.append(r)
' "$y"
}

shell_item_tooltip() {
    /usr/bin/python3 - <<'EOF'
import dbus
bus = dbus.SessionBus()
watcher = bus.get_object("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")
items = watcher.Get("org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems",
                    dbus_interface="org.freedesktop.DBus.Properties")
# "BUSNAME/PATH"; GNOME's watcher writes "BUSNAME@/PATH".
name, _, path = str(items[0]).partition("/")
name = name.rstrip("@")
item = bus.get_object(name, "/" + (path or "StatusNotifierItem"))
tip = item.Get("org.kde.StatusNotifierItem", "ToolTip", dbus_interface="org.freedesktop.DBus.Properties")
print(str(tip[2]))
EOF
}

shell_reply_delay() {
    /usr/bin/python3 - "$DESKTOP_DIR/monitor.log" "$@" <<'EOF'
import re, sys
log, member, arg = open(sys.argv[1], errors="replace").read(), sys.argv[2], sys.argv[3:]
# A message is its header line and the indented argument lines under it.
messages = re.findall(r"^\S.*(?:\n[ \t].*)*", log, re.M)
calls = [m for m in messages if m.startswith("method call ") and
         m.split("\n")[0].endswith("member=" + member) and all(a in m for a in arg)]
if not calls:
    sys.exit("no call of " + member)
at, sender, serial = re.match(r"method call time=([\d.]+) sender=(\S+) .*? serial=(\d+) ", calls[-1]).groups()
for m in messages:
    reply = re.match(r"(?:method return|error) time=([\d.]+) sender=\S+ -> destination=(\S+) .*?reply_serial=(\d+)", m)
    if reply and reply.group(2) == sender and reply.group(3) == serial:
        print("%.2f" % (float(reply.group(1)) - float(at)))
        sys.exit(0)
sys.exit("no reply to " + member)
EOF
}

program_window_class() {
    xprop -id "$1" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "\(.*\)", "\(.*\)"$/\1,\2/p'
}

# The input helper of either shell: one python3 process, its script on stdin, that reads commands
# from a FIFO.
_shell_input_start() {
    local fifo=$DESKTOP_DIR/input
    mkfifo "$fifo"
    cat >"$DESKTOP_DIR/input.py"
    /usr/bin/python3 -u "$DESKTOP_DIR/input.py" "$fifo" >"$DESKTOP_DIR/input.log" 2>&1 &
    desktop_track $!
    exec {SHELL_INPUT_FD}>"$fifo"
    wait_until 20 grep -q '^ready' "$DESKTOP_DIR/input.log" || {
        echo "shells.sh: the input helper did not start" >&2
        cat "$DESKTOP_DIR/input.log" >&2
        return 1
    }
}

# --- GNOME Shell -------------------------------------------------------------------------------

_shell_host_ready() {
    gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
        IsStatusNotifierHostRegistered 2>/dev/null | grep -q true
}

gnome_start() {
    _wayland_runtime_dir
    export XDG_CONFIG_HOME=$DESKTOP_DIR/config XDG_DATA_HOME=$DESKTOP_DIR/data
    export XDG_CACHE_HOME=$DESKTOP_DIR/cache
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
    wayland_start_bus || return 1
    # The shell gives up without a system bus (its login manager code); an empty one serves.
    local out
    out=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1) || return 1
    export DBUS_SYSTEM_BUS_ADDRESS=$(sed -n 1p <<<"$out")
    desktop_track "$(sed -n 2p <<<"$out")"
    gsettings set org.gnome.shell disable-user-extensions false
    gsettings set org.gnome.shell enabled-extensions "['ubuntu-appindicators@ubuntu.com']"
    # A "Screen Lock disabled" banner would cover the tray menu.
    gsettings set org.gnome.desktop.notifications show-banners false
    gnome-shell --wayland --headless --virtual-monitor 1024x768 --wayland-display wayland-rupeta \
        >"$DESKTOP_DIR/gnome-shell.log" 2>&1 &
    DESKTOP_WM_PID=$!
    desktop_track "$DESKTOP_WM_PID"
    export WAYLAND_DISPLAY=wayland-rupeta
    wait_until 60 _shell_host_ready || {
        echo "shells.sh: no StatusNotifierItem host in GNOME Shell" >&2
        tail -n 20 "$DESKTOP_DIR/gnome-shell.log" >&2
        return 1
    }
    # XWayland's display and cookie, from its command line (Mutter picks the first free display).
    local xwayland
    wait_until 20 pgrep -P "$DESKTOP_WM_PID" Xwayland
    xwayland=$(pgrep -P "$DESKTOP_WM_PID" -a Xwayland)
    [[ $xwayland =~ \ (:[0-9]+)\  ]] || {
        echo "shells.sh: no XWayland ($xwayland)" >&2
        return 1
    }
    export DISPLAY=${BASH_REMATCH[1]}
    [[ $xwayland =~ -auth\ ([^ ]+) ]] && export XAUTHORITY=${BASH_REMATCH[1]}
    wait_until 20 xdpyinfo || {
        echo "shells.sh: GNOME's XWayland on $DISPLAY does not answer" >&2
        return 1
    }
    _shell_input_start <<'EOF' || return 1
import os, sys, time, dbus
bus = dbus.SessionBus()
# The shell lets only a few callers take screenshots, the screenshot tool among them.
bus.request_name("org.gnome.Screenshot")
shell = dbus.Interface(bus.get_object("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot"),
                       "org.gnome.Shell.Screenshot")
rd = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop",
                                   "/org/gnome/Mutter/RemoteDesktop"),
                    "org.gnome.Mutter.RemoteDesktop")
# One session for the whole run: it lives as long as this connection, and its sharing indicator
# moves the tray icons, so every screenshot must be taken while it runs.
session = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", rd.CreateSession()),
                         "org.gnome.Mutter.RemoteDesktop.Session")
session.Start()
BUTTONS = {"1": 0x110, "3": 0x111}
def button(b, down):
    session.NotifyPointerButton(dbus.Int32(BUTTONS[b]), down)
print("ready", flush=True)
for line in open(sys.argv[1]):
    tag, *words = line.split()
    try:
        if words[0] == "move":
            # Relative motion stops at the screen's edge: from the bottom-right corner it is
            # absolute (the top-left one would open the overview).
            session.NotifyPointerMotionRelative(5000.0, 5000.0)
            session.NotifyPointerMotionRelative(float(words[1]) - 1023, float(words[2]) - 767)
        elif words[0] == "click":
            button(words[1], True)
            time.sleep(0.05)
            button(words[1], False)
        elif words[0] in ("press", "release"):
            button(words[1], words[0] == "press")
        elif words[0] == "double":
            for _ in range(2):
                button("1", True)
                button("1", False)
                time.sleep(0.08)
        elif words[0] == "key":
            session.NotifyKeyboardKeycode(dbus.UInt32(int(words[1])), True)
            session.NotifyKeyboardKeycode(dbus.UInt32(int(words[1])), False)
        elif words[0] == "shot":
            ok, used = shell.Screenshot(False, False, words[1])
            # The file may be complete a moment after the reply.
            for _ in range(50):
                if not ok or os.path.exists(used):
                    break
                time.sleep(0.1)
            if not ok or not os.path.exists(used):
                raise RuntimeError("no screenshot")
        time.sleep(0.1)
    except Exception as e:
        print("error", line.strip(), e, flush=True)
    print("done", tag, flush=True)
EOF
}

# --- KDE Plasma --------------------------------------------------------------------------------

plasma_start() {
    _wayland_runtime_dir
    export XDG_CONFIG_HOME=$DESKTOP_DIR/config XDG_DATA_HOME=$DESKTOP_DIR/data
    export XDG_CACHE_HOME=$DESKTOP_DIR/cache
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$DESKTOP_DIR/bin"
    wayland_start_bus || return 1
    # The input client, built here from the protocol KWin ships.
    local xml=/usr/share/plasma-wayland-protocols/fake-input.xml bin=$DESKTOP_DIR/bin
    wayland-scanner client-header "$xml" "$bin/fake-input-client-protocol.h" &&
        wayland-scanner private-code "$xml" "$bin/fake-input-protocol.c" &&
        cc -I"$bin" -o "$bin/kwin-fake-input" "$RUPETA_SOURCE_DIR/tests/e2e/fixtures/kwin_fake_input.c" \
            "$bin/fake-input-protocol.c" -lwayland-client || return 1
    # A file capability on the installed binary makes exec fail in containers; a copy has none.
    cp /usr/bin/kwin_wayland "$bin/kwin_wayland"
    # Fake input and screenshots are for programs KWin trusts; in this private session, all.
    KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
        "$bin/kwin_wayland" --virtual --width 1024 --height 768 --socket wayland-rupeta \
        --xwayland --no-lockscreen >"$DESKTOP_DIR/kwin.log" 2>&1 &
    DESKTOP_WM_PID=$!
    desktop_track "$DESKTOP_WM_PID"
    export WAYLAND_DISPLAY=wayland-rupeta
    wait_until 30 pgrep -P "$DESKTOP_WM_PID" Xwayland || {
        echo "shells.sh: KWin or its XWayland did not come up" >&2
        tail -n 20 "$DESKTOP_DIR/kwin.log" >&2
        return 1
    }
    local xwayland
    xwayland=$(pgrep -P "$DESKTOP_WM_PID" -a Xwayland)
    [[ $xwayland =~ \ (:[0-9]+)\  ]] || {
        echo "shells.sh: no XWayland ($xwayland)" >&2
        return 1
    }
    export DISPLAY=${BASH_REMATCH[1]}
    [[ $xwayland =~ -auth\ ([^ ]+) ]] && export XAUTHORITY=${BASH_REMATCH[1]}
    wait_until 20 xdpyinfo || {
        echo "shells.sh: KWin's XWayland on $DISPLAY does not answer" >&2
        return 1
    }
    # Services started by the bus (kactivitymanagerd, kded5) need the session's variables.
    dbus-update-activation-environment XDG_RUNTIME_DIR WAYLAND_DISPLAY QT_QPA_PLATFORM=wayland \
        DISPLAY XAUTHORITY XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
    kbuildsycoca5 >/dev/null 2>&1
    # kded5 keeps the StatusNotifierItem watcher; a session starts it before the shell.
    QT_QPA_PLATFORM=wayland kded5 >"$DESKTOP_DIR/kded5.log" 2>&1 &
    desktop_track $!
    wait_until 20 gdbus call --session --dest org.kde.kded5 --object-path /kded \
        --method org.kde.kded5.loadModule statusnotifierwatcher || {
        echo "shells.sh: kded5 has no StatusNotifierItem watcher" >&2
        return 1
    }
    QT_QPA_PLATFORM=wayland plasmashell --no-respawn >"$DESKTOP_DIR/plasmashell.log" 2>&1 &
    desktop_track $!
    wait_until 60 _shell_host_ready || {
        echo "shells.sh: no StatusNotifierItem host in Plasma" >&2
        tail -n 20 "$DESKTOP_DIR/plasmashell.log" >&2
        return 1
    }
    _shell_input_start <<'EOF' || return 1
import os, subprocess, sys, time, dbus
bus = dbus.SessionBus()
shots = dbus.Interface(bus.get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"),
                       "org.kde.KWin.ScreenShot2")
client = subprocess.Popen([os.path.join(os.path.dirname(sys.argv[0]), "bin", "kwin-fake-input")],
                          stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
if client.stdout.readline().strip() != "ready":
    sys.exit("no fake input")
def send(command):
    client.stdin.write(command + "\n")
    client.stdin.flush()
    if client.stdout.readline().strip() != "done":
        raise RuntimeError("fake input ended")
BUTTONS = {"1": 0x110, "3": 0x111}
def button(b, down):
    send("button %d %d" % (BUTTONS[b], down))
def shot(path):
    r, w = os.pipe()
    meta = shots.CaptureArea(0, 0, dbus.UInt32(1024), dbus.UInt32(768), {}, dbus.types.UnixFd(w))
    os.close(w)
    data = b""
    with os.fdopen(r, "rb") as f:
        data = f.read()
    raw = path + ".bgra"
    with open(raw, "wb") as f:
        f.write(data)
    width, height, stride = int(meta["width"]), int(meta["height"]), int(meta["stride"])
    subprocess.run(["convert", "-size", "%dx%d" % (stride // 4, height), "-depth", "8",
                    "bgra:" + raw, "-crop", "%dx%d+0+0" % (width, height), "-alpha", "off",
                    path], check=True)
    os.remove(raw)
print("ready", flush=True)
for line in open(sys.argv[1]):
    tag, *words = line.split()
    try:
        if words[0] == "move":
            send("move %s %s" % (words[1], words[2]))
        elif words[0] == "click":
            button(words[1], 1)
            time.sleep(0.05)
            button(words[1], 0)
        elif words[0] in ("press", "release"):
            button(words[1], words[0] == "press")
        elif words[0] == "double":
            for _ in range(2):
                button("1", 1)
                button("1", 0)
                time.sleep(0.08)
        elif words[0] == "key":
            send("key %s 1" % words[1])
            send("key %s 0" % words[1])
        elif words[0] == "shot":
            shot(words[1])
        time.sleep(0.1)
    except Exception as e:
        print("error", line.strip(), e, flush=True)
    print("done", tag, flush=True)
EOF
}
