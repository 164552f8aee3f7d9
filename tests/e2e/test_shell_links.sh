#!/usr/bin/env bash
# The related-links submenu on a real desktop: captions from a code page 932 "url.ini", and a
# target full of shell syntax that reaches the desktop's opener unchanged, as one argument,
# with nothing run on the way.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
desktop_start || desktop_fail "no desktop"

run=$DESKTOP_DIR/run
mkdir -p "$run"
fake_opener "$DESKTOP_DIR"

target='http://x.example/a b;c&d|e $(touch pwned) `touch pwned2` "q" '"'s'"' > out'
{
    printf '[URLs]\r\n'
    printf 'Name1=\x83\x5c\x83\x74\x83\x67(&Q)\r\n' # ソフト(&Q)
    printf 'Name2=\r\n'
    printf 'Name3=-\r\n'
    printf 'URL1=%s\r\n' "$target"
} >"$run/url.ini"

rupeta_start "$run" "$DESKTOP_DIR/out.log"
pid=$RUPETA_PID
icon=$(wait_tray_icon 15 rupeta) || desktop_fail "no tray icon"

# Menu, then "関連情報(&I)", then the item by the access key of its converted caption.
click_window "$icon" 1
wait_until 5 popup_menu_window rupeta || desktop_fail "no menu"
xdotool key i
two_menus() { [ "$(popup_menu_windows rupeta | wc -l)" -ge 2 ]; }
wait_until 5 two_menus || desktop_fail "the links submenu did not open"
shot=$DESKTOP_DIR/links.png
screenshot "$shot"
save_artifact "$shot" shell-links-menu.png >/dev/null
xdotool key q
wait_for_file 10 "$DESKTOP_DIR/opened-0" || desktop_fail "the opener was not called"
sleep 0.5

expected=$DESKTOP_DIR/expected
printf '%s\0' "$target" >"$expected"
cmp -s "$expected" "$DESKTOP_DIR/opened-0" ||
    desktop_fail "the opener got: $(tr '\0' '|' <"$DESKTOP_DIR/opened-0")"
for f in pwned pwned2 out; do
    [ ! -e "$run/$f" ] && [ ! -e "$DESKTOP_DIR/$f" ] && [ ! -e "$DESKTOP_DIR/opener/$f" ] ||
        desktop_fail "a shell ran part of the target ($f exists)"
done
kill "$pid"
echo "PASS: links"
