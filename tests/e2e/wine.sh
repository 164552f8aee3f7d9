# Harness for desktop tests of the Windows program under Wine: a private virtual X desktop
# whose window manager (openbox) has no tray, so that Wine shows its own "Wine System Tray"
# window, whose icons take clicks (docked into an XEmbed tray Wine 8 loses them). Source it
# from bash after nothing else; it sources desktop.sh for the waiting, window and picture
# helpers and adds ending the Wine server to its EXIT trap. Run as root, Wine and everything
# it starts run as the user nobody.
#
#   wine_desktop_start         Xvfb on a free display (1024x768x24), openbox with a private
#                              configuration, a private XDG_RUNTIME_DIR, then a fresh prefix
#                              made while the desktop is up, with the layout font "ＭＳ Ｐゴシック"
#                              and the menus' Tahoma mapped to IPAPGothic. Exports DISPLAY,
#                              WINEPREFIX and the settings of cmake/wine-env.sh; sets WINE_DIR
#                              (scratch, the user's) and DESKTOP_WM_PID.
#   wine_start_pulse           a private PulseAudio with the null sink "nullsink" for Wine's
#                              sound (pulse_record_start and friends of desktop.sh record it).
#   wine_copy FILE...          copies files into WINE_DIR/bin, where the user can read them;
#                              prints the new path of the last.
#   wine_run DIR EXE [ARG...]  starts EXE under Wine with DIR as working directory (made and
#                              given to the user); sets WINE_PID (tracked), output in
#                              DIR/wine.log.
#   wine_notepad               starts Wine's notepad, the window that keeps the focus and takes
#                              typed keys, and waits until it has the focus; sets NOTEPAD_WIN.
#   wine_tray_window           prints the id of Wine's tray window (visible once an icon is
#                              in it); wine_wait_tray SECONDS waits for it.
#   wine_tray_icon_centre N    sets ICON_X, ICON_Y: the screen point at the middle of the N-th
#                              icon (from 0) in Wine's tray window.
#   wine_exec CMD...           runs CMD as the Wine user with the harness's environment
#                              (e.g. `wine_exec wine reg query ...`).
#   wine_end                   ends the prefix's Wine server and waits for it (run at exit).

source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../cmake/wine-env.sh"

# Japanese arguments (font names, file names) reach Wine unchanged only in a UTF-8 locale.
export LANG=C.UTF-8
unset LC_ALL
WINE_DIR=$DESKTOP_DIR/wine
# Never the user's own prefix, not even at cleanup.
unset WINEPREFIX
WINE_AS=()
WINE_PID=""
NOTEPAD_WIN=""

wine_exec() {
    "${WINE_AS[@]}" env HOME="$WINE_DIR/home" "$@"
}

wine_end() {
    if [ "${WINEPREFIX:-}" = "$WINE_DIR/prefix" ] && [ -d "$WINEPREFIX/dosdevices" ]; then
        wine_exec wineserver -k 2>/dev/null || true
        wine_exec wineserver -w 2>/dev/null || true
    fi
}

_wine_cleanup() {
    wine_end
    desktop_cleanup
}
trap _wine_cleanup EXIT

_wine_write_openbox_rc() {
    local d=$DESKTOP_DIR/openbox
    mkdir -p "$d"
    # No desktops to switch, no keys or mouse bindings that a test's clicks could trigger; new
    # windows get the focus, as on Windows, except Wine's tray window.
    cat >"$d/rc.xml" <<'EOF2'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <desktops><number>1</number></desktops>
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <keyboard></keyboard>
  <mouse></mouse>
  <applications>
    <!-- Wine's tray window appears with the first icon; it must not take the focus. -->
    <application title="Wine System Tray"><focus>no</focus></application>
  </applications>
</openbox_config>
EOF2
}

_wine_wm_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

wine_desktop_start() {
    if [ "$(id -u)" -eq 0 ]; then
        # The user needs a way to its own folders inside the scratch directory.
        chmod 0711 "$DESKTOP_DIR"
        WINE_AS=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    mkdir -p "$WINE_DIR/home" "$WINE_DIR/bin" "$WINE_DIR/runtime"
    chmod 0700 "$WINE_DIR/runtime"
    [ ${#WINE_AS[@]} -eq 0 ] || chown -R nobody:nogroup "$WINE_DIR"
    export XDG_RUNTIME_DIR=$WINE_DIR/runtime
    unset DBUS_SESSION_BUS_ADDRESS
    _desktop_start_xvfb || return 1
    _wine_write_openbox_rc
    HOME=$DESKTOP_DIR/openbox openbox --sm-disable --config-file "$DESKTOP_DIR/openbox/rc.xml" \
        >"$DESKTOP_DIR/openbox.log" 2>&1 &
    DESKTOP_WM_PID=$!
    desktop_track "$DESKTOP_WM_PID"
    wait_until 15 _wine_wm_ready || {
        echo "wine.sh: openbox did not start" >&2
        return 1
    }
    if _desktop_tray_owned; then
        echo "wine.sh: something owns the X tray; Wine would dock into it and lose the clicks" >&2
        return 1
    fi
    export WINEPREFIX=$WINE_DIR/prefix
    wine_exec wineboot -i >"$WINE_DIR/wineboot.log" 2>&1 || {
        echo "wine.sh: wineboot failed:" >&2
        cat "$WINE_DIR/wineboot.log" >&2
        return 1
    }
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
    wine_exec wine reg add "$key\\FontSubstitutes" /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic \
        /f >/dev/null 2>&1 &&
        wine_exec wine reg add "$key\\FontLink\\SystemLink" /v Tahoma /t REG_MULTI_SZ \
            /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1 || {
        echo "wine.sh: could not map the fonts" >&2
        return 1
    }
    # Read back from Linux's side, so a name that a wrong locale mangled does not pass.
    local export=$WINE_DIR/home/fonts.reg
    wine_exec wine reg export "$key\\FontSubstitutes" 'Z:'"${export//\//\\}" /y \
        >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$export" 2>/dev/null | grep -qF '"ＭＳ Ｐゴシック"="IPAPGothic"' || {
        echo "wine.sh: the layout font's mapping did not land under its name" >&2
        return 1
    }
}

wine_start_pulse() {
    command -v pulseaudio >/dev/null || {
        echo "wine.sh: pulseaudio is not installed" >&2
        return 1
    }
    local sock=$XDG_RUNTIME_DIR/pa.sock
    wine_exec pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
        --use-pid-file=no -L "module-null-sink sink_name=nullsink" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$sock" \
        -L module-always-sink >"$DESKTOP_DIR/pulse.log" 2>&1 &
    desktop_track $!
    export PULSE_SERVER=unix:$sock
    wait_until 10 pactl info
}

wine_copy() {
    local file target=""
    for file in "$@"; do
        target=$WINE_DIR/bin/$(basename "$file")
        cp "$file" "$target"
        [ ${#WINE_AS[@]} -eq 0 ] || chown nobody:nogroup "$target"
    done
    echo "$target"
}

wine_run() {
    local dir=$1
    shift
    mkdir -p "$dir"
    [ ${#WINE_AS[@]} -eq 0 ] || chown nobody:nogroup "$dir"
    (cd "$dir" && exec "${WINE_AS[@]}" env HOME="$WINE_DIR/home" wine "$@") \
        >>"$dir/wine.log" 2>&1 &
    WINE_PID=$!
    desktop_track "$WINE_PID"
}

_wine_notepad_focused() {
    NOTEPAD_WIN=$(xdotool search --onlyvisible --name 'Notepad' 2>/dev/null | head -n1)
    [ -n "$NOTEPAD_WIN" ] && [ "$(xdotool getwindowfocus)" = "$NOTEPAD_WIN" ]
}

wine_notepad() {
    mkdir -p "$WINE_DIR/notepad"
    wine_run "$WINE_DIR/notepad" notepad
    wait_until 30 _wine_notepad_focused || {
        echo "wine.sh: notepad did not take the focus" >&2
        return 1
    }
    _wine_notepad_focused
}

wine_tray_window() {
    local id
    id=$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -n1)
    [ -n "$id" ] && echo "$id"
}

wine_wait_tray() {
    wait_until "$1" wine_tray_window && wine_tray_window
}

# Wine's tray window lays its icons out left to right, each SM_CXSMICON (16) wide plus a
# border of 2 on each side; xwininfo gives the client area's place on the screen.
wine_tray_icon_centre() {
    local win
    win=$(wine_tray_window) || return 1
    local info x y
    info=$(xwininfo -id "$win")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    ICON_X=$((x + 20 * $1 + 10))
    ICON_Y=$((y + 10))
}
