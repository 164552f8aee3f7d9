#!/usr/bin/env bash
# The Windows program under Wine, copies side by side in their own directories:
#   A, empty: the tray icon appears, notepad keeps the focus, rupeta.ini is written in code
#     page 932 with a fresh ID and today's date; the tray menu (screenshot) runs "Sample" (the
#     popup, at the bottom-right rule, without the focus; a click hides it), "Reset" and "About";
#     a double click opens the settings dialog; a second start in A brings up A's settings
#     dialog and ends without writing; "Exit", chosen while that dialog runs, ends A and saves.
#   B, hand-edited settings with foreign lines and a link to a local document: the file is
#     normalised with those lines kept; a left click opens its menu; the links reach
#     ShellExecuteW unchanged (the document opens in notepad, the web address arrives whole at
#     the desktop's opener); taskkill ends B with its settings saved.
#   C: its icon comes back when the tray restarts ("TaskbarCreated"); the end of the session
#     ends it with its settings saved.
set -u
source "$RUPETA_SOURCE_DIR/tests/e2e/wine.sh"
: "${RUPETA_EXE:?rupeta.exe}"
fixtures=$RUPETA_SOURCE_DIR/tests/e2e/fixtures

ini() { iconv -f CP932 -t UTF-8 "$1/rupeta.ini"; }

# Rows of the tray menu as shown (the demo item hidden): S marks a separator.
MENU_ROWS=(I I I S I I S I I)
# Clicks row N of the open menu window WIN whose rows are given as the remaining arguments.
menu_click() {
    local win=$1 row=$2
    shift 2
    local rows=("$@") items=0 seps=0 r
    for r in "${rows[@]}"; do
        [ "$r" = S ] && seps=$((seps + 1)) || items=$((items + 1))
    done
    window_geometry "$win" || return 1
    # A 3-pixel border round items of one height and separators of another.
    local sep=9 item=$(((WIN_H - 6 - 9 * seps) / items)) y=$((WIN_Y + 3)) i
    for ((i = 0; i < row; i++)); do
        [ "${rows[i]}" = S ] && y=$((y + sep)) || y=$((y + item))
    done
    xdotool mousemove $((WIN_X + 40)) $((y + item / 2))
    sleep 0.3
    xdotool click 1
}

# The open menus of the program (override-redirect windows larger than an icon).
program_menus() {
    local w
    for w in $(xdotool search --onlyvisible --classname 'rupeta.exe' 2>/dev/null); do
        window_geometry "$w" || continue
        ((WIN_W > 32 && WIN_H > 60)) || continue
        xwininfo -id "$w" | grep -q 'Override Redirect State: yes' && echo "$w"
    done
    return 0
}
menu_open() { [ -n "$(program_menus)" ]; }
open_menu() {
    wine_tray_icon_centre "$1"
    xdotool mousemove "$ICON_X" "$ICON_Y" click 3
    wait_until 10 menu_open || desktop_fail "a right click on icon $1 opened no menu"
    MENU=$(program_menus | head -n1)
}

popup_at() {
    local w
    for w in $(xdotool search --onlyvisible --classname 'rupeta.exe' 2>/dev/null); do
        window_geometry "$w" && [ "$WIN_W" = 153 ] && [ "$WIN_H" = 57 ] || continue
        echo "$w $WIN_X $WIN_Y"
        return 0
    done
    return 1
}
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }

# Web links end at the desktop's opener (through Wine's browser helper): a stand-in records them.
opened=$DESKTOP_DIR/opened
mkdir -p "$opened"
chmod 0777 "$opened"
fake_opener "$opened"
wine_desktop_start || desktop_fail "no Wine desktop"
wine_notepad || desktop_fail "notepad did not start"
wine_copy "$RUPETA_SOURCE_DIR/resources/beep.wav" >/dev/null
exe=$(wine_copy "$RUPETA_EXE")

# --- A: first start in an empty directory.
a=$WINE_DIR/a
wine_run "$a" "$exe"
pid_a=$WINE_PID
wine_wait_tray 30 >/dev/null || desktop_fail "no icon in Wine's tray"
wait_for_file 10 "$a/rupeta.ini" || desktop_fail "no rupeta.ini written at the first start"
[ "$(xdotool getwindowfocus)" = "$NOTEPAD_WIN" ] || desktop_fail "the start took the focus"
iconv -f CP932 -t UTF-8 "$a/rupeta.ini" >/dev/null || desktop_fail "rupeta.ini is not CP932"
ini "$a" | grep -qE '^ID=[0-9]+(-[0-9]+)+'$'\r''?$' || desktop_fail "no fresh ID: $(ini "$a")"
ini "$a" | grep -q "^first-activated=$(date +%Y/%m/%d)" ||
    desktop_fail "first-activated is not today: $(ini "$a")"
grep -q $'\r$' "$a/rupeta.ini" || desktop_fail "rupeta.ini has no Windows line ends"

# --- B: a hand-edited file and a link to a local document, beside A.
b=$WINE_DIR/b
mkdir -p "$b"
# A foreign Japanese line, which must come back in code page 932.
{
    cat "$fixtures/other_sections_kept.ini"
    printf '[メモ]\r\n名前=ルペタの設定\r\n' | iconv -f UTF-8 -t CP932
} >"$b/rupeta.ini"
doc="資料 メモ.txt"
echo "linked" >"$b/$doc"
winpath='Z:'$(sed 's|/|\\|g' <<<"$b")'\'"$doc"
url='http://www.rupeta.example/a%20b/?x=1&y=日本#top'
printf '[URLs]\r\nName1=資料を開く(&O)\r\nURL1=%s\r\nName2=ウェブ(&W)\r\nURL2=%s\r\n' \
    "$winpath" "$url" | iconv -f UTF-8 -t CP932 >"$b/url.ini"
chown -R nobody:nogroup "$b" 2>/dev/null || true
before=$(md5sum <"$b/rupeta.ini")
wine_run "$b" "$exe"
pid_b=$WINE_PID
wait_until 20 sh -c "[ \"\$(md5sum <'$b/rupeta.ini')\" != '$before' ]" ||
    desktop_fail "B's hand-edited file was not normalised"
for line in '; comment' '# another comment' '[Other]' 'Timer=99' 'Password=pw' 'Timer=30' \
    ';end' '[メモ]' '名前=ルペタの設定'; do
    ini "$b" | tr -d '\r' | grep -qxF "$line" || desktop_fail "B lost \"$line\": $(ini "$b")"
done
ini "$b" | grep -q '^ID=' || desktop_fail "B's file got no ID"
sleep 1

# --- A's menu: a screenshot, Sample, Reset, About.
open_menu 0
shot=$DESKTOP_DIR/menu.png
screenshot "$shot"
save_artifact "$shot" wine-program-menu.png >/dev/null
menu_click "$MENU" 2 "${MENU_ROWS[@]}" # タイマー表示サンプル
wait_until 10 popup_at || desktop_fail "Sample showed no popup"
read -r popup x y < <(popup_at)
[ "$x,$y" = "831,671" ] || desktop_fail "the popup is at ($x, $y), not (831, 671)"
[ "$(xdotool getwindowfocus)" = "$NOTEPAD_WIN" ] || desktop_fail "the popup took the focus"
shot=$DESKTOP_DIR/popup.png
screenshot_window "$popup" "$shot"
save_artifact "$shot" wine-program-popup.png >/dev/null
xdotool mousemove $((x + 10)) $((y + 50)) click 1
wait_until 5 sh -c '! xwininfo -id '"$popup"' | grep -q IsViewable' ||
    desktop_fail "a click left the popup up"

open_menu 0
menu_click "$MENU" 1 "${MENU_ROWS[@]}" # タイマーのリセット
sleep 1
kill -0 "$pid_a" || desktop_fail "A ended at Reset"
open_menu 0
menu_click "$MENU" 7 "${MENU_ROWS[@]}" # ルペタについて
wait_until 10 window_named 'ルペタについて' || desktop_fail "About opened no dialog"
about=$(window_named 'ルペタについて')
xdotool windowactivate --sync "$about" key Return
wait_until 10 sh -c '! xdotool search --onlyvisible --name ルペタについて' ||
    desktop_fail "Enter did not close the about dialog"

# --- A: a double click opens the settings dialog; Esc closes it.
wine_tray_icon_centre 0
xdotool mousemove "$ICON_X" "$ICON_Y" click --repeat 2 --delay 80 1
wait_until 10 window_named 'ルペタ設定' || desktop_fail "a double click opened no settings dialog"
sleep 1 # the menu that a lone click would open must not follow
[ -z "$(program_menus)" ] || desktop_fail "the double click also opened the menu"
settings=$(window_named 'ルペタ設定')
xdotool windowactivate --sync "$settings" key Escape
wait_until 10 sh -c '! xdotool search --onlyvisible --name ルペタ設定' ||
    desktop_fail "Esc did not close the settings dialog"

# --- A: a second start there brings up A's settings dialog and writes nothing.
before=$(md5sum <"$a/rupeta.ini")
wine_run "$a" "$exe"
wait_for_exit 20 "$WINE_PID" || desktop_fail "the second copy did not end"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "the second copy ended with $WAIT_STATUS"
wait_until 10 window_named 'ルペタ設定' || desktop_fail "the second start showed no settings"
[ "$(md5sum <"$a/rupeta.ini")" = "$before" ] || desktop_fail "the second copy wrote rupeta.ini"
settings=$(window_named 'ルペタ設定')
xdotool windowactivate --sync "$settings" key Escape
wait_until 10 sh -c '! xdotool search --onlyvisible --name ルペタ設定' ||
    desktop_fail "Esc did not close the settings dialog"

# --- B's link: its menu by a single left click (opened once the double-click time has passed),
# then the submenu; notepad opens the very document.
wine_tray_icon_centre 1
xdotool mousemove "$ICON_X" "$ICON_Y" click 1
wait_until 10 menu_open || desktop_fail "a left click on icon 1 opened no menu"
MENU=$(program_menus | head -n1)
menu_click "$MENU" 5 "${MENU_ROWS[@]}" # 関連情報
two_menus() { [ "$(program_menus | wc -l)" -ge 2 ]; }
wait_until 5 two_menus || desktop_fail "no links submenu"
# The two links of url.ini, then the three default ones.
submenu=$(program_menus | grep -vx "$MENU" | head -n1)
menu_click "$submenu" 0 I I I I I
wait_until 20 window_named '資料 メモ' || desktop_fail "the link did not open \"$doc\""
open_menu 1
menu_click "$MENU" 5 "${MENU_ROWS[@]}" # 関連情報
wait_until 5 two_menus || desktop_fail "no links submenu"
submenu=$(program_menus | grep -vx "$MENU" | head -n1)
menu_click "$submenu" 1 I I I I I
wait_for_file 20 "$opened/opened-0" || desktop_fail "the web link reached no opener"
[ "$(tr -d '\0' <"$opened/opened-0")" = "$url" ] ||
    desktop_fail "the opener got \"$(tr '\0' ' ' <"$opened/opened-0")\", not \"$url\""

# --- A: Exit, chosen while the settings dialog runs, ends it and saves (the file, removed
# meanwhile, comes back).
wine_tray_icon_centre 0
xdotool mousemove "$ICON_X" "$ICON_Y" click --repeat 2 --delay 80 1
wait_until 10 window_named 'ルペタ設定' || desktop_fail "a double click opened no settings dialog"
rm -f "$a/rupeta.ini"
open_menu 0
menu_click "$MENU" 8 "${MENU_ROWS[@]}" # 終了
wait_for_exit 10 "$pid_a" || desktop_fail "Exit did not end A"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "A ended with $WAIT_STATUS"
[ -s "$a/rupeta.ini" ] || desktop_fail "Exit did not save A's settings"

# --- B: taskkill (WM_CLOSE) ends it cleanly, saving.
rm -f "$b/rupeta.ini"
wine_exec wine taskkill /im rupeta.exe >/dev/null 2>&1
wait_for_exit 15 "$pid_b" || desktop_fail "taskkill did not end B"
[ "$WAIT_STATUS" = 0 ] || desktop_fail "B ended with $WAIT_STATUS"
ini "$b" | tr -d '\r' | grep -qxF 'Timer=30' || desktop_fail "taskkill did not save B's settings"

# --- C: the end of the session (WM_QUERYENDSESSION, WM_ENDSESSION) ends it, saving.
c=$WINE_DIR/c
wine_run "$c" "$exe"
pid_c=$WINE_PID
wait_for_file 20 "$c/rupeta.ini" || desktop_fail "C wrote no settings at its start"
sleep 1

# --- C: the tray restarts, knowing no icons, and says so with "TaskbarCreated": C's icon comes
# back and takes clicks.
restart=$(wine_copy "$RUPETA_TRAY_RESTART")
wine_exec wine "$restart" forget || desktop_fail "C's tray icon could not be removed"
wait_until 10 sh -c '! xdotool search --onlyvisible --name "^Wine System Tray\$"' ||
    desktop_fail "the tray kept C's icon"
wine_exec wine "$restart" announce || desktop_fail "\"TaskbarCreated\" could not be sent"
wine_wait_tray 10 >/dev/null || desktop_fail "\"TaskbarCreated\" did not bring C's icon back"
open_menu 0
menu_click "$MENU" 1 "${MENU_ROWS[@]}" # タイマーのリセット
menu_closed() { ! menu_open; }
wait_until 5 menu_closed || desktop_fail "C's menu did not close"
rm -f "$c/rupeta.ini"
wine_exec wine wineboot --end-session >/dev/null 2>&1
wait_for_exit 15 "$pid_c" || desktop_fail "the end of the session did not end C"
[ -s "$c/rupeta.ini" ] || desktop_fail "the end of the session did not save C's settings"

echo "PASS: first start, normalised file, menu, popup at (831, 671), dialogs, second start," \
    "links, Exit, taskkill, the tray's restart and the session's end"
