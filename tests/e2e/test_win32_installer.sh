#!/usr/bin/env bash
# The installer under Wine, as a user without administrator rights would run it: silent
# install; the program, its chime, the Start-menu entry and the autostart shortcut (both read
# back through IShellLinkW: target, and the profile folder as working directory), the uninstall
# entry in the user's list of apps; the program started from each shortcut keeps rupeta.ini in
# the profile folder. Then the registered quiet uninstall ends the running copy, removes the
# program, the shortcuts and the entry, and keeps rupeta.ini.
set -u
source "$RUPETA_SOURCE_DIR/tests/e2e/wine.sh"
: "${RUPETA_SETUP:?the installer (.exe)}"
: "${RUPETA_PROGRAM:?the rupeta.exe it should install}"
: "${RUPETA_SHORTCUT_READER:?shortcut-reader.exe}"
: "${RUPETA_PROCESS_FIGURES:?process-figures.exe}"
: "${RUPETA_VERSION:?the program version}"
chime=$RUPETA_SOURCE_DIR/resources/beep.wav
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\rupeta'

wine_desktop_start || desktop_fail "no Wine desktop"
setup=$(wine_copy "$RUPETA_SETUP")
reader=$(wine_copy "$RUPETA_SHORTCUT_READER")
probe=$(wine_copy "$RUPETA_PROCESS_FIGURES")

wine_out() { wine_exec wine "$@" 2>/dev/null | tr -d '\r'; }
# A folder of the Wine user's, as Windows names it and where it lies on Linux's side.
win_env() { wine_out cmd /c echo "%$1%"; }
unix_path() { wine_exec winepath -u "$1" 2>/dev/null | tr -d '\r'; }
rupeta_running() { wine_exec wine "$probe" rupeta.exe >/dev/null 2>&1; }

profile=$(win_env USERPROFILE)
appdata=$(win_env APPDATA)
instdir="$(win_env LOCALAPPDATA)\\Programs\\rupeta"
[[ $profile == C:\\* && $appdata == C:\\* && $instdir == C:\\* ]] ||
    desktop_fail "the user's folders: '$profile' '$appdata' '$instdir'"
programs="$appdata\\Microsoft\\Windows\\Start Menu\\Programs"
menu_lnk="$programs\\ルペタ.lnk"
startup_lnk="$programs\\Startup\\ルペタ.lnk"
unix_profile=$(unix_path "$profile")
unix_instdir=$(unix_path "$instdir")
unix_menu_lnk=$(unix_path "$menu_lnk")
unix_startup_lnk=$(unix_path "$startup_lnk")
[ -d "$unix_profile" ] || desktop_fail "no profile folder at $unix_profile"

wine_exec wine "$setup" /S >"$WINE_DIR/setup.log" 2>&1 ||
    desktop_fail "the silent install ended with status $?: $(cat "$WINE_DIR/setup.log")"

# The files, byte for byte what the build made.
cmp -s "$unix_instdir/rupeta.exe" "$RUPETA_PROGRAM" || desktop_fail "rupeta.exe not installed"
cmp -s "$unix_instdir/beep.wav" "$chime" || desktop_fail "beep.wav not installed"
for f in uninstall.exe README.txt LICENSE.txt; do
    [ -s "$unix_instdir/$f" ] || desktop_fail "$f not installed"
done

# Both shortcuts start the installed program in the profile folder.
field() { sed -n "s/^$1=//p" <<<"$fields"; }
for lnk in "$menu_lnk" "$startup_lnk"; do
    fields=$(wine_out "$reader" "$lnk") || desktop_fail "cannot read $lnk"
    [ "$(field target)" = "$instdir\\rupeta.exe" ] ||
        desktop_fail "$lnk: target '$(field target)'"
    [ "$(field workdir)" = "$profile" ] || desktop_fail "$lnk: working directory '$(field workdir)'"
    [ -z "$(field arguments)" ] || desktop_fail "$lnk: arguments '$(field arguments)'"
    [ "$(field icon)" = "$instdir\\rupeta.exe,0" ] || desktop_fail "$lnk: icon '$(field icon)'"
done

# The entry in the list of apps, read from Linux's side (.reg files are UTF-16).
reg_values() {
    local export=$WINE_DIR/home/uninstall.reg
    rm -f "$export"
    wine_exec wine reg export "$uninstall_key" 'Z:'"${export//\//\\}" /y >/dev/null 2>&1 &&
        iconv -f UTF-16 -t UTF-8 "$export" | tr -d '\r'
}
values=$(reg_values) || desktop_fail "no uninstall entry $uninstall_key"
reg_string() { # NAME: the value as Windows holds it (.reg doubles backslashes, escapes quotes)
    sed -n "s/^\"$1\"=\"\\(.*\\)\"\$/\\1/p" <<<"$values" | sed 's/\\\\/\\/g; s/\\"/"/g'
}
expect_string() { # NAME VALUE
    [ "$(reg_string "$1")" = "$2" ] || desktop_fail "uninstall entry: $1 is '$(reg_string "$1")', not '$2'"
}
expect_string DisplayName "ルペタ"
expect_string DisplayVersion "$RUPETA_VERSION"
expect_string DisplayIcon "$instdir\\rupeta.exe,0"
expect_string InstallLocation "$instdir"
expect_string UninstallString "\"$instdir\\uninstall.exe\""
expect_string QuietUninstallString "\"$instdir\\uninstall.exe\" /S"
[ -n "$(reg_string Publisher)" ] || desktop_fail "uninstall entry: no Publisher"
# In KB: at least the program and its chime, at most everything installed plus rounding.
size_kb=$((16#$(sed -n 's/^"EstimatedSize"=dword://p' <<<"$values")))
least=$((($(stat -c %s "$RUPETA_PROGRAM") + $(stat -c %s "$chime")) / 1024))
most=$(($(du -sk --apparent-size "$unix_instdir" | cut -f1) + 8))
((size_kb >= least && size_kb <= most)) ||
    desktop_fail "uninstall entry: EstimatedSize $size_kb KB, not within $least..$most"

# Started from a shortcut, wherever the starter stands, the program works in the profile
# folder. First the autostart's, ended again; then the Start menu's, left running for the
# uninstaller.
start_from() { # LNK
    wine_run "$WINE_DIR/elsewhere" start "$1"
    wait_until 30 rupeta_running || desktop_fail "$1 started no rupeta.exe"
    wait_for_file 30 "$unix_profile/rupeta.ini" ||
        desktop_fail "$1: no rupeta.ini in the profile folder $unix_profile"
    [ ! -e "$unix_instdir/rupeta.ini" ] && [ ! -e "$WINE_DIR/elsewhere/rupeta.ini" ] ||
        desktop_fail "$1: rupeta.ini written outside the profile folder"
}
start_from "$startup_lnk"
wine_exec wine taskkill /im rupeta.exe >/dev/null 2>&1
wait_until 15 eval '! rupeta_running' || desktop_fail "the autostarted copy did not end"
rm -f "$unix_profile/rupeta.ini"
start_from "$menu_lnk"
wine_wait_tray 30 >/dev/null || desktop_fail "no icon in Wine's tray window"
shot=$DESKTOP_DIR/installed.png
screenshot "$shot"
save_artifact "$shot" wine-installed.png >/dev/null

# The quiet uninstall, as the list of apps would run it. The uninstaller copies itself away
# and returns at once; its copy does the work.
quiet=$(reg_string QuietUninstallString)
[[ $quiet =~ ^\"(.*)\"\ /S$ ]] || desktop_fail "QuietUninstallString '$quiet'"
wine_exec wine "${BASH_REMATCH[1]}" /S >"$WINE_DIR/uninstall.log" 2>&1 ||
    desktop_fail "the silent uninstall ended with status $?"
wait_until 30 test ! -e "$unix_instdir" ||
    desktop_fail "the program folder is still there: $(ls -A "$unix_instdir")"
wait_until 15 eval '! rupeta_running' || desktop_fail "the running copy was not ended"
[ ! -e "$unix_menu_lnk" ] || desktop_fail "the Start-menu entry is still there"
[ ! -e "$unix_startup_lnk" ] || desktop_fail "the autostart shortcut is still there"
! wine_exec wine reg query "$uninstall_key" >/dev/null 2>&1 ||
    desktop_fail "the uninstall entry is still there"
[ -s "$unix_profile/rupeta.ini" ] || desktop_fail "the uninstaller took rupeta.ini"
echo "PASS: silent install into $instdir, shortcuts working in $profile, entry of $size_kb KB;" \
    "silent uninstall ended the copy, removed them and kept rupeta.ini"
