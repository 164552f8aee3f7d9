# Shared harness for desktop tests on Wayland compositors: headless sway and headless Mutter,
# each with XWayland for the program's windows and a private session bus. Source it from bash
# after desktop.sh (`source .../desktop.sh; source .../wayland.sh`): desktop.sh's waiting,
# window and cleanup helpers then work here too (its EXIT trap kills what this file starts).
#
# User
#   wayland_require_user [ARG...]  sway refuses to run as root. As root: creates the ordinary
#                                  user rupeta-e2e once, copies what that user needs into a
#                                  folder of its own under /tmp (the test scripts, resources/,
#                                  "$0", the program with its chime, and the build-tree files
#                                  named in the array WAYLAND_USER_BUILD_FILES), so that nothing
#                                  depends on the modes of the checkout's parents; re-runs the
#                                  copy of "$0" ARG... as that user with a clean environment but
#                                  for the RUPETA_* variables (pointing into the copy) and
#                                  LANG=C.UTF-8, a private artifacts folder, copies the
#                                  artifacts back into $RUPETA_ARTIFACTS (owned like the
#                                  checkout) and exits with the script's status. Not root:
#                                  returns at once.
#
# Side by side
#   wayland_second_desktop   first thing in a ( ... ) subshell that starts another compositor
#                            beside the main one: its own scratch folder, tracked pids and
#                            cleanup at the subshell's exit.
#
# Session bus
#   wayland_start_bus        a private dbus-daemon; exports DBUS_SESSION_BUS_ADDRESS.
#
# sway (1.7, headless, pixman)
#   sway_start               starts it with a private config (XWayland, HEADLESS-1 at 1024x768,
#                            swaybar with its StatusNotifierItem tray) on a private session bus
#                            and a private XDG_RUNTIME_DIR (0700); waits until XWayland answers.
#                            Exports WAYLAND_DISPLAY, DISPLAY, SWAYSOCK, DBUS_SESSION_BUS_ADDRESS,
#                            XDG_RUNTIME_DIR. Sets SWAY_PID (and DESKTOP_WM_PID, so that
#                            desktop_wm_alive and desktop_fail speak of sway).
#   sway_alive               true while sway runs.
#   sway_open_terminal       a native Wayland window (foot) that takes the keyboard focus.
#   sway_type KEY...         types each key (wtype -k, xkb names: Return, space, a) into the
#                            focused Wayland window.
#   sway_pointer_move DX DY  moves the pointer by DX, DY.
#   sway_pointer_set X Y     puts the pointer at X, Y.
#   sway_click [BUTTON]      presses and releases a button (button1 by default).
#
# Mutter (43, headless)
#   mutter_start             mutter --wayland --headless --virtual-monitor 1024x768 on a private
#                            session bus; XWayland is reached through the environment Mutter
#                            gives a child it starts (DISPLAY and XAUTHORITY, which its XWayland
#                            requires). Exports WAYLAND_DISPLAY, DISPLAY, XAUTHORITY,
#                            DBUS_SESSION_BUS_ADDRESS, XDG_RUNTIME_DIR. Sets MUTTER_PID (and
#                            DESKTOP_WM_PID). Returns once its IdleMonitor answers.
#   mutter_alive             true while mutter runs.
#   mutter_input_start       one helper process holding an org.gnome.Mutter.RemoteDesktop session
#                            (it lives only as long as the helper's bus connection).
#   mutter_key KEYCODE       presses and releases an evdev key code (28 Enter, 57 Space).
#   mutter_pointer_move DX DY  relative pointer motion.
#   mutter_idle_ms           prints the compositor's idle time in ms (IdleMonitor).

set -u

WAYLAND_E2E_USER=rupeta-e2e
WAYLAND_USER_BUILD_FILES=()
SWAY_PID=""
MUTTER_PID=""
_WAYLAND_INPUT_FD=""

wayland_require_user() {
    [ "$(id -u)" -eq 0 ] || return 0
    # Tests running side by side may change the user database at the same moment; useradd
    # then finds it locked and is tried again.
    local try
    for try in 1 2 3 4 5 6 7 8 9 10; do
        id -u "$WAYLAND_E2E_USER" >/dev/null 2>&1 && break
        useradd --system --user-group --create-home --home-dir "/var/lib/$WAYLAND_E2E_USER" \
            --shell /usr/sbin/nologin "$WAYLAND_E2E_USER" 2>/dev/null || sleep 0.5
    done
    id -u "$WAYLAND_E2E_USER" >/dev/null || return 1
    # The first X server to start creates the socket folder; made by the user's XWayland it
    # would belong to that user and shut everyone else out (Mutter refuses to start then).
    mkdir -p /tmp/.X11-unix /tmp/.ICE-unix
    chown root:root /tmp/.X11-unix /tmp/.ICE-unix
    chmod 1777 /tmp/.X11-unix /tmp/.ICE-unix
    # A copy of everything the user reads, in a folder it can reach: the checkout may sit in a
    # private home directory. Artifacts go to a folder of the user's in it and come back as
    # copies owned like the checkout, so nothing of another owner is left there.
    local stage src status=0
    stage=$(mktemp -d /tmp/rupeta-user.XXXXXX)
    trap 'rm -rf "'"$stage"'"; desktop_cleanup' EXIT
    chmod 0755 "$stage"
    src=$(cd "$RUPETA_SOURCE_DIR" && pwd -P)
    local script rel
    script=$(realpath "$0")
    rel=${script#"$src"/}
    [ "$rel" != "$script" ] || rel=tests/e2e/$(basename "$script")
    mkdir -p "$stage/src/tests" "$stage/src/$(dirname "$rel")"
    cp -r "$src/tests/e2e" "$stage/src/tests/"
    cp -r "$src/resources" "$stage/src/"
    cp "$script" "$stage/src/$rel"
    local build=$stage/build file
    stage_program "$build" >/dev/null
    for file in "${WAYLAND_USER_BUILD_FILES[@]}"; do
        mkdir -p "$build/$(dirname "$file")"
        cp "$RUPETA_BUILD_DIR/$file" "$build/$file"
    done
    chmod -R a+rX "$stage"
    mkdir "$stage/artifacts"
    chown "$WAYLAND_E2E_USER:" "$stage/artifacts"
    local home
    home=$(getent passwd "$WAYLAND_E2E_USER" | cut -d: -f6)
    # A clean environment but for the RUPETA_* settings (benchmark options, seeds), with the
    # trees and the program pointing into the copy.
    local name settings=()
    for name in $(compgen -e); do
        case $name in
        RUPETA_ARTIFACTS | RUPETA_SOURCE_DIR | RUPETA_BUILD_DIR | RUPETA_BIN) ;;
        RUPETA_*) settings+=("$name=${!name}") ;;
        esac
    done
    (cd "$stage" && runuser -u "$WAYLAND_E2E_USER" -- env -i \
        PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME="$home" LANG=C.UTF-8 \
        "${settings[@]}" RUPETA_SOURCE_DIR="$stage/src" RUPETA_BUILD_DIR="$build" \
        RUPETA_BIN="$build/rupeta" RUPETA_ARTIFACTS="$stage/artifacts" \
        bash "$stage/src/$rel" "$@") || status=$?
    if [ -n "${RUPETA_ARTIFACTS:-}" ] && [ -n "$(ls -A "$stage/artifacts")" ]; then
        mkdir -p "$RUPETA_ARTIFACTS"
        cp -r "$stage/artifacts"/. "$RUPETA_ARTIFACTS"/
        chown -R "$(stat -c %u:%g "$RUPETA_SOURCE_DIR")" "$RUPETA_ARTIFACTS"
    fi
    exit "$status"
}

wayland_second_desktop() {
    DESKTOP_PIDS=()
    DESKTOP_DIR=$(mktemp -d "${TMPDIR:-/tmp}/rupeta-desktop.XXXXXX")
    SWAY_PID=""
    MUTTER_PID=""
    DESKTOP_WM_PID=""
    _WAYLAND_INPUT_FD=""
    trap desktop_cleanup EXIT
}

wayland_start_bus() {
    local out
    out=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1) || return 1
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
    desktop_track "$(sed -n 2p <<<"$out")"
}

_wayland_runtime_dir() {
    export XDG_RUNTIME_DIR=$DESKTOP_DIR/runtime
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 0700 "$XDG_RUNTIME_DIR"
}

# Reads VAR=value lines written by a compositor's child and exports the named ones.
_wayland_import_env() {
    local file=$1 name value
    shift
    for name in "$@"; do
        value=$(sed -n "s/^$name=//p" "$file" | head -n 1)
        [ -n "$value" ] || return 1
        export "$name=$value"
    done
}

sway_alive() {
    [ -n "$SWAY_PID" ] && kill -0 "$SWAY_PID" 2>/dev/null
}

sway_start() {
    _wayland_runtime_dir
    wayland_start_bus || return 1
    local cfg=$DESKTOP_DIR/sway.cfg env=$DESKTOP_DIR/sway.env
    # The exec'd child sees what sway set up for its clients: the sockets and the X display.
    cat >"$cfg" <<EOF
xwayland enable
output HEADLESS-1 resolution 1024x768
bar {
    swaybar_command swaybar
    position bottom
    tray_output *
}
exec env >$env.part && mv $env.part $env
EOF
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$cfg" >"$DESKTOP_DIR/sway.log" 2>&1 &
    SWAY_PID=$!
    DESKTOP_WM_PID=$SWAY_PID
    desktop_track "$SWAY_PID"
    if ! wait_until 20 test -s "$env" ||
        ! _wayland_import_env "$env" WAYLAND_DISPLAY DISPLAY SWAYSOCK; then
        echo "wayland.sh: sway did not come up (alive: $(sway_alive && echo yes || echo no))" >&2
        tail -n 20 "$DESKTOP_DIR/sway.log" >&2
        return 1
    fi
    # XWayland starts on the first X connection.
    wait_until 20 xdpyinfo || {
        echo "wayland.sh: XWayland on $DISPLAY does not answer" >&2
        return 1
    }
}

sway_open_terminal() {
    foot --app-id=rupeta-e2e-foot sh -c 'cat >/dev/null' >"$DESKTOP_DIR/foot.log" 2>&1 &
    desktop_track $!
    wait_until 15 _sway_focused rupeta-e2e-foot
}

_sway_focused() {
    swaymsg -t get_tree 2>/dev/null |
        python3 -c '
import json, sys
def walk(n):
    if n.get("focused") and n.get("app_id") == sys.argv[1]:
        sys.exit(0)
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))
sys.exit(1)' "$1"
}

sway_type() {
    local key
    for key in "$@"; do
        wtype -k "$key"
    done
}

sway_pointer_move() { swaymsg -q seat seat0 cursor move "$1" "$2"; }
sway_pointer_set() { swaymsg -q seat seat0 cursor set "$1" "$2"; }
sway_click() {
    local button=${1:-button1}
    swaymsg -q seat seat0 cursor press "$button"
    swaymsg -q seat seat0 cursor release "$button"
}

mutter_alive() {
    [ -n "$MUTTER_PID" ] && kill -0 "$MUTTER_PID" 2>/dev/null
}

mutter_start() {
    _wayland_runtime_dir
    wayland_start_bus || return 1
    local env=$DESKTOP_DIR/mutter.env
    # Mutter starts the child once XWayland is up and hands it DISPLAY and XAUTHORITY; without
    # that cookie its XWayland refuses every X client. The child stays so the session does.
    mutter --wayland --headless --virtual-monitor 1024x768 --wayland-display=wayland-rupeta \
        -- sh -c "{ env; echo CHILD_PID=\$\$; } >$env.part && mv $env.part $env && exec sleep infinity" \
        >"$DESKTOP_DIR/mutter.log" 2>&1 &
    MUTTER_PID=$!
    DESKTOP_WM_PID=$MUTTER_PID
    desktop_track "$MUTTER_PID"
    if ! wait_until 30 test -s "$env" ||
        ! _wayland_import_env "$env" WAYLAND_DISPLAY DISPLAY XAUTHORITY; then
        echo "wayland.sh: mutter did not come up (alive: $(mutter_alive && echo yes || echo no))" >&2
        tail -n 20 "$DESKTOP_DIR/mutter.log" >&2
        return 1
    fi
    desktop_track "$(sed -n 's/^CHILD_PID=//p' "$env")"
    wait_until 20 xdpyinfo || {
        echo "wayland.sh: Mutter's XWayland on $DISPLAY does not answer" >&2
        return 1
    }
    # Its bus services come up on their own schedule; a program started earlier sees none.
    wait_until 20 _mutter_idle_known || {
        echo "wayland.sh: Mutter's IdleMonitor does not answer" >&2
        return 1
    }
}

_mutter_idle_known() { [ -n "$(mutter_idle_ms)" ]; }

mutter_input_start() {
    local fifo=$DESKTOP_DIR/mutter-input
    mkfifo "$fifo"
    python3 -u - "$fifo" >"$DESKTOP_DIR/mutter-input.log" 2>&1 <<'EOF' &
import sys, dbus
bus = dbus.SessionBus()
rd = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop",
                                   "/org/gnome/Mutter/RemoteDesktop"),
                    "org.gnome.Mutter.RemoteDesktop")
path = rd.CreateSession()
session = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", path),
                         "org.gnome.Mutter.RemoteDesktop.Session")
session.Start()
print("ready", flush=True)
for line in open(sys.argv[1]):
    words = line.split()
    if words[0] == "key":
        session.NotifyKeyboardKeycode(dbus.UInt32(int(words[1])), True)
        session.NotifyKeyboardKeycode(dbus.UInt32(int(words[1])), False)
    elif words[0] == "motion":
        session.NotifyPointerMotionRelative(float(words[1]), float(words[2]))
    print("done", line.strip(), flush=True)
EOF
    desktop_track $!
    exec {_WAYLAND_INPUT_FD}>"$fifo"
    wait_until 10 grep -q ready "$DESKTOP_DIR/mutter-input.log"
}

mutter_key() { echo "key $1" >&"$_WAYLAND_INPUT_FD"; }
mutter_pointer_move() { echo "motion $1 $2" >&"$_WAYLAND_INPUT_FD"; }

mutter_idle_ms() {
    gdbus call --session --dest org.gnome.Mutter.IdleMonitor \
        --object-path /org/gnome/Mutter/IdleMonitor/Core \
        --method org.gnome.Mutter.IdleMonitor.GetIdletime | sed -n 's/^(uint64 \([0-9]*\),)$/\1/p'
}
