# Shared harness for desktop tests: a private virtual X desktop with a system tray.
# Source it from bash (`source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"`); it installs an EXIT
# trap that kills every process it started and removes its scratch directory.
#
# Desktop
#   desktop_start            Xvfb on a free display (1024x768x24) + fluxbox with a private rc
#                            (toolbar with iconbar, systemtray, clock; no wallpaper helper);
#                            waits until _NET_SYSTEM_TRAY_S0 has an owner. Exports DISPLAY,
#                            XDG_RUNTIME_DIR (private, 0700), unsets DBUS_SESSION_BUS_ADDRESS
#                            (so Qt uses the XEmbed tray). Sets DESKTOP_DIR (scratch, removed at
#                            exit), DESKTOP_XVFB_PID, DESKTOP_WM_PID.
#   desktop_wm_alive         true while the window manager still runs (check before trusting a
#                            failure).
#   desktop_track PID        kill PID (and its process group when it leads one) at cleanup.
#   desktop_cleanup          kill every tracked pid, newest first; runs from the EXIT trap.
#   desktop_fail MSG...      print "FAIL: MSG" to stderr, save a screenshot to the artifacts
#                            folder when possible, exit 1.
#
# Sound (optional)
#   desktop_start_pulse      private PulseAudio with a null sink "nullsink"; exports PULSE_SERVER.
#   pulse_record_start FILE  records the sink's monitor as raw s16le 44100 Hz stereo to FILE.
#   pulse_record_stop        stops that recording.
#   pulse_max_amplitude FILE the maximum amplitude (0..1) of such a raw recording.
#
# Program
#   rupeta_start DIR [LOG]     starts $RUPETA_BIN with DIR as its working directory, its output
#                              appended to LOG (default DIR/out.log); sets RUPETA_PID (tracked).
#   stage_program DIR          copies $RUPETA_BIN and the chime beside it into DIR (created,
#                              readable by everyone) and prints the copy's path: another user
#                              runs that copy, whatever the modes of the checkout's parents.
#   fake_opener [RECORD_DIR]   puts a stand-in xdg-open first in PATH, so no browser starts; with
#                              RECORD_DIR it records each call's arguments, NUL-terminated, in
#                              RECORD_DIR/opened-N (N counts from 0).
#
# Waiting
#   wait_until SECONDS CMD...  runs CMD every 0.1 s until it succeeds (0) or time runs out (1).
#   wait_for_file SECONDS FILE
#   wait_for_exit SECONDS PID  0 when PID ended in time; its exit status is then in WAIT_STATUS
#                              if PID is a child of this shell.
#
# Tray and windows
#   tray_icon_window NAME      prints the id of the visible window of class/instance NAME that
#                              is at most 32x32 (the embedded tray icon); fails when none.
#   wait_tray_icon SECONDS NAME  waits for it; prints the id.
#   window_geometry WIN        sets WIN_X, WIN_Y, WIN_W, WIN_H (absolute, re-read every call).
#   click_window WIN [BUTTON]  moves the pointer to the window's centre and clicks (1 left,
#                              3 right; default 1).
#   double_click_window WIN    two left clicks 80 ms apart at the window's centre.
#   visible_windows NAME       ids of the visible windows of class/instance NAME, one a line.
#   first_icon_sized WIN...    the first of the windows that is at most 32x32.
#   popup_window / no_popup    the visible reminder of "rupeta" (153x57) / true when none.
#   popup_menu_window NAME     the most recently created open menu of NAME (a visible
#                              override-redirect window larger than 32x32 that is no tooltip
#                              and no reminder);
#                              fails when none. popup_menu_windows NAME lists them all.
#   window_type WIN            its _NET_WM_WINDOW_TYPE atoms.
#
# Pictures
#   screenshot FILE                 the whole screen as PNG.
#   screenshot_window WIN FILE      one frameless window's area (popup, tray icon), cut from a
#                                   screenshot of the screen; for framed windows use
#                                   `import -frame -window WIN`: the geometry counts the frame twice.
#   pixel_at FILE X Y               prints the pixel as rrggbb (lower-case hex).
#   save_artifact FILE [NAME]       copies FILE into $RUPETA_ARTIFACTS (when set) and prints it.

set -u

DESKTOP_PIDS=()
DESKTOP_DIR=$(mktemp -d "${TMPDIR:-/tmp}/rupeta-desktop.XXXXXX")
DESKTOP_WM_PID=""
DESKTOP_XVFB_PID=""
PULSE_RECORD_PID=""

# The real ImageMagick, also where a wrapper earlier in PATH stands in for it.
if [ -x /usr/bin/convert ]; then
    DESKTOP_CONVERT=/usr/bin/convert
else
    DESKTOP_CONVERT=convert
fi

desktop_track() {
    DESKTOP_PIDS+=("$1")
}

desktop_cleanup() {
    local i pid
    for ((i = ${#DESKTOP_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${DESKTOP_PIDS[i]}
        kill "$pid" 2>/dev/null || true
    done
    # Give them a moment to go, then insist.
    for ((i = 0; i < 20; i++)); do
        local alive=0
        for pid in "${DESKTOP_PIDS[@]}"; do
            kill -0 "$pid" 2>/dev/null && alive=1
        done
        [ $alive -eq 0 ] && break
        sleep 0.05
    done
    for pid in "${DESKTOP_PIDS[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
    done
    DESKTOP_PIDS=()
    [ -n "${DESKTOP_DIR:-}" ] && rm -rf "$DESKTOP_DIR"
}
trap desktop_cleanup EXIT

wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    # SECONDS is coarse; count tries too so short timeouts are honoured.
    local tries=$((seconds * 10))
    while ((tries-- > 0)); do
        "$@" >/dev/null 2>&1 && return 0
        ((SECONDS > deadline)) && break
        sleep 0.1
    done
    "$@" >/dev/null 2>&1
}

wait_for_file() {
    wait_until "$1" test -e "$2"
}

WAIT_STATUS=""
wait_for_exit() {
    local seconds=$1 pid=$2
    if wait_until "$seconds" _desktop_gone "$pid"; then
        WAIT_STATUS=""
        wait "$pid" 2>/dev/null && WAIT_STATUS=0 || WAIT_STATUS=$?
        return 0
    fi
    return 1
}

_desktop_gone() {
    ! kill -0 "$1" 2>/dev/null || [ "$(ps -o stat= -p "$1" 2>/dev/null | cut -c1)" = Z ]
}

# Owner of the tray selection, through Xlib itself: no standard tool prints selection owners.
_desktop_tray_owned() {
    python3 - <<'EOF'
import ctypes, ctypes.util, os, sys
x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGetSelectionOwner.restype = ctypes.c_ulong
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(os.environ["DISPLAY"].encode())
if not d:
    sys.exit(2)
owner = x.XGetSelectionOwner(d, x.XInternAtom(d, b"_NET_SYSTEM_TRAY_S0", 0))
x.XCloseDisplay(d)
sys.exit(0 if owner else 1)
EOF
}

desktop_wm_alive() {
    [ -n "$DESKTOP_WM_PID" ] && kill -0 "$DESKTOP_WM_PID" 2>/dev/null
}

_desktop_start_xvfb() {
    local n
    # Start at a random display so parallel runs rarely collide; Xvfb refuses a taken one.
    local base=$((100 + RANDOM % 400))
    for ((n = base; n < base + 40; n++)); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$DESKTOP_DIR/xvfb.log" 2>&1 &
        local pid=$!
        desktop_track "$pid"
        if wait_until 10 xdpyinfo -display ":$n" && kill -0 "$pid" 2>/dev/null; then
            export DISPLAY=":$n"
            DESKTOP_XVFB_PID=$pid
            return 0
        fi
        kill "$pid" 2>/dev/null || true
    done
    echo "desktop.sh: could not start Xvfb" >&2
    return 1
}

_desktop_write_fluxbox_rc() {
    local d=$DESKTOP_DIR/fluxbox
    mkdir -p "$d"
    : >"$d/menu"
    : >"$d/keys"
    : >"$d/apps"
    echo "background: none" >"$d/overlay"
    # With its current configVersion fluxbox uses this file as it is instead of rewriting it
    # from its defaults on the first start in a fresh HOME.
    mkdir -p "$d/.fluxbox"
    cat >"$d/init" <<EOF
session.configVersion: 13
session.screen0.toolbar.tools: iconbar, systemtray, clock
session.screen0.toolbar.visible: true
session.screen0.toolbar.placement: BottomCenter
session.screen0.toolbar.widthPercent: 100
session.screen0.rootCommand:
session.styleOverlay: $d/overlay
session.menuFile: $d/menu
session.keyFile: $d/keys
session.appsFile: $d/apps
session.screen0.workspaces: 1
EOF
}

desktop_start() {
    export XDG_RUNTIME_DIR=$DESKTOP_DIR/runtime
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 0700 "$XDG_RUNTIME_DIR"
    unset DBUS_SESSION_BUS_ADDRESS
    _desktop_start_xvfb || return 1
    _desktop_write_fluxbox_rc
    # Its own HOME so fluxbox writes nothing into the user's.
    HOME=$DESKTOP_DIR/fluxbox fluxbox -rc "$DESKTOP_DIR/fluxbox/init" \
        >"$DESKTOP_DIR/fluxbox.log" 2>&1 &
    DESKTOP_WM_PID=$!
    desktop_track "$DESKTOP_WM_PID"
    if ! wait_until 15 _desktop_tray_owned; then
        echo "desktop.sh: no system tray appeared (fluxbox alive: $(desktop_wm_alive && echo yes || echo no))" >&2
        return 1
    fi
}

desktop_start_pulse() {
    command -v pulseaudio >/dev/null || {
        echo "desktop.sh: pulseaudio is not installed" >&2
        return 1
    }
    local sock=$XDG_RUNTIME_DIR/pa.sock
    HOME=$DESKTOP_DIR pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
        --use-pid-file=no -L "module-null-sink sink_name=nullsink" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$sock" \
        -L module-always-sink >"$DESKTOP_DIR/pulse.log" 2>&1 &
    desktop_track $!
    export PULSE_SERVER=unix:$sock
    wait_until 10 pactl info
}

pulse_record_start() {
    parec -d nullsink.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=20 >"$1" &
    PULSE_RECORD_PID=$!
    desktop_track "$PULSE_RECORD_PID"
}

pulse_record_stop() {
    [ -n "$PULSE_RECORD_PID" ] && kill "$PULSE_RECORD_PID" 2>/dev/null
    wait "$PULSE_RECORD_PID" 2>/dev/null
    PULSE_RECORD_PID=""
    return 0
}

pulse_max_amplitude() {
    if [ ! -s "$1" ]; then
        echo 0
        return
    fi
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n stat 2>&1 |
        awk '/^Maximum amplitude/ {print $3}'
}

rupeta_start() {
    local dir=$1 log=${2:-$1/out.log}
    (cd "$dir" && exec "$RUPETA_BIN") >>"$log" 2>&1 &
    RUPETA_PID=$!
    desktop_track "$RUPETA_PID"
}

stage_program() {
    local dir=$1 bin=${RUPETA_BIN:-$RUPETA_BUILD_DIR/rupeta}
    mkdir -p "$dir"
    cp "$bin" "$dir/rupeta"
    cp "$(dirname "$bin")/beep.wav" "$dir/beep.wav"
    chmod 0755 "$dir" "$dir/rupeta"
    chmod 0644 "$dir/beep.wav"
    echo "$dir/rupeta"
}

fake_opener() {
    local bin=$DESKTOP_DIR/opener
    mkdir -p "$bin"
    if [ -n "${1:-}" ]; then
        cat >"$bin/xdg-open" <<EOT
#!/bin/sh
n=\$(ls "$1" | grep -c '^opened-' || true)
printf '%s\\0' "\$@" >"$1/opened-\$n"
EOT
    else
        printf '#!/bin/sh\nexit 0\n' >"$bin/xdg-open"
    fi
    chmod +x "$bin/xdg-open"
    export PATH=$bin:$PATH
}

visible_windows() {
    {
        xdotool search --onlyvisible --classname "$1" 2>/dev/null
        xdotool search --onlyvisible --class "$1" 2>/dev/null
    } | sort -u
}

window_geometry() {
    local out
    out=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
    WIN_X=$(sed -n 's/^X=//p' <<<"$out")
    WIN_Y=$(sed -n 's/^Y=//p' <<<"$out")
    WIN_W=$(sed -n 's/^WIDTH=//p' <<<"$out")
    WIN_H=$(sed -n 's/^HEIGHT=//p' <<<"$out")
}

# Prints the first of the given windows that is icon-sized (an embedded tray icon).
first_icon_sized() {
    local w
    for w in "$@"; do
        window_geometry "$w" || continue
        if ((WIN_W <= 32 && WIN_H <= 32 && WIN_W > 1 && WIN_H > 1)); then
            echo "$w"
            return 0
        fi
    done
    return 1
}

tray_icon_window() {
    # shellcheck disable=SC2046 # one window id per word
    first_icon_sized $(visible_windows "$1")
}

wait_tray_icon() {
    wait_until "$1" tray_icon_window "$2" && tray_icon_window "$2"
}

# The reminder popup of the normal appearance (153 x 57); no_popup: none is shown.
popup_window() {
    local w
    for w in $(visible_windows rupeta); do
        window_geometry "$w" && [ "$WIN_W" = 153 ] && [ "$WIN_H" = 57 ] && echo "$w" && return 0
    done
    return 1
}
no_popup() { ! popup_window >/dev/null; }

window_type() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | sed -n 's/.*= //p'
}

popup_menu_windows() {
    local w
    for w in $(visible_windows "$1"); do
        window_geometry "$w" || continue
        ((WIN_W > 32 || WIN_H > 32)) || continue
        xwininfo -id "$w" -all 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
        # Tooltips, and the reminder (a utility window that bypasses the window manager too).
        case $(window_type "$w") in
        *TOOLTIP* | *UTILITY*) ;;
        *) echo "$w" ;;
        esac
    done
}

popup_menu_window() {
    local last
    last=$(popup_menu_windows "$1" | tail -n 1)
    [ -n "$last" ] || return 1
    echo "$last"
}

click_window() {
    local win=$1 button=${2:-1}
    window_geometry "$win" || return 1
    xdotool mousemove $((WIN_X + WIN_W / 2)) $((WIN_Y + WIN_H / 2))
    sleep 0.1
    xdotool click "$button"
}

double_click_window() {
    window_geometry "$1" || return 1
    xdotool mousemove $((WIN_X + WIN_W / 2)) $((WIN_Y + WIN_H / 2))
    sleep 0.1
    xdotool click --repeat 2 --delay 80 1
}

screenshot() {
    import -window root "$1"
}

screenshot_window() {
    local win=$1 file=$2
    window_geometry "$win" || return 1
    import -window root "$DESKTOP_DIR/full.png" &&
        "$DESKTOP_CONVERT" "$DESKTOP_DIR/full.png" \
            -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$file"
}

pixel_at() {
    "$DESKTOP_CONVERT" "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6 | tr 'A-F' 'a-f'
}

save_artifact() {
    local file=$1 name=${2:-$(basename "$1")}
    [ -n "${RUPETA_ARTIFACTS:-}" ] || return 0
    mkdir -p "$RUPETA_ARTIFACTS"
    cp "$file" "$RUPETA_ARTIFACTS/$name"
    echo "$RUPETA_ARTIFACTS/$name"
}

desktop_fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && [ -n "${RUPETA_ARTIFACTS:-}" ]; then
        local shot=$DESKTOP_DIR/failure.png
        screenshot "$shot" 2>/dev/null &&
            save_artifact "$shot" "failure-$(basename "$0" .sh).png" >&2
    fi
    desktop_wm_alive || echo "(the window manager is not running)" >&2
    exit 1
}
