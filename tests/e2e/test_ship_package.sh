#!/usr/bin/env bash
# The Debian package: cpack builds it from this build, lintian finds no errors, the desktop
# entries and the AppStream file validate, and the program extracted from the package starts
# from its autostart entry in the home directory, shows its tray icon and writes rupeta.ini.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/fixtures/ship_helpers.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$RUPETA_BUILD_DIR/CMakeCache.txt")
# The program looks for its chime under the prefix it was built for; a package of a
# /usr/local build would install it where the program never looks.
[ "$prefix" = /usr ] ||
    fail "this build's prefix is $prefix; configure with -DCMAKE_INSTALL_PREFIX=/usr to package it"

scratch=$DESKTOP_DIR/package
mkdir -p "$scratch"
cpack --config "$RUPETA_BUILD_DIR/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack: $(tail -5 "$scratch/cpack.log")"
deb=$(ls "$scratch"/rupeta_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Package Version Section Depends | sed 's/^/  /'
for field in Maintainer Description Section; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "the package has no $field"
done
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6gui6 libqt6core6 libqt6multimedia6 qt6-qpa-plugins \
    libsndfile1 libx11-6 libxi6 fonts-ipafont-gothic xdg-utils qt6-translations-l10n; do
    grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

# lintian: no errors; warnings are listed.
lintian --tag-display-limit 0 --display-info "$deb" >"$scratch/lintian.log" 2>&1 || true
grep -v '^running with root privileges' "$scratch/lintian.log" | sed 's/^/  lintian: /'
! grep -q '^E:' "$scratch/lintian.log" || fail "lintian reports errors"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/rupeta usr/share/rupeta/beep.wav usr/share/doc/rupeta/url.ini \
    usr/share/doc/rupeta/copyright usr/share/man/man1/rupeta.1.gz \
    usr/share/applications/rupeta.desktop etc/xdg/autostart/rupeta.desktop \
    usr/share/icons/hicolor/{16x16,32x32,48x48}/apps/rupeta.png; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done
for size in 16 32 48; do
    identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x$size/apps/rupeta.png" |
        grep -qx "${size}x$size" || fail "the ${size}x$size icon has another size"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /etc/xdg/autostart/rupeta.desktop ||
    fail "the autostart entry is not a conffile"
desktop-file-validate "$root/usr/share/applications/rupeta.desktop" ||
    fail "desktop-file-validate: menu entry"
desktop-file-validate "$root/etc/xdg/autostart/rupeta.desktop" ||
    fail "desktop-file-validate: autostart entry"
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
# The example links file is code page 932 and names all ten keys.
iconv -f CP932 -t UTF-8 "$root/usr/share/doc/rupeta/url.ini" >"$scratch/url.utf8" ||
    fail "the example url.ini is not code page 932"
[ "$(grep -cE '^(Name|URL)[1-5]=.' "$scratch/url.utf8")" = 10 ] ||
    fail "the example url.ini does not hold the ten links: $(cat "$scratch/url.utf8")"

# Start the extracted program the way a session does: from its autostart entry, in a fresh
# home directory holding a copy of the example links file. The program finds its chime at the
# compiled-in /usr/share/rupeta only when installed; extracted, it finds the package's copy
# through its second place, beside the executable.
desktop_start || desktop_fail "no desktop"
cp "$root/usr/share/rupeta/beep.wav" "$root/usr/bin/beep.wav"
home=$scratch/home
mkdir -p "$home" "$scratch/elsewhere"
cp "$root/usr/share/doc/rupeta/url.ini" "$home/url.ini"
printf '#!/bin/sh\nexit 0\n' >"$scratch/xdg-open"
chmod +x "$scratch/xdg-open"
ln -s "$scratch/xdg-open" "$root/usr/bin/xdg-open"
(cd "$scratch/elsewhere" && HOME=$home PATH=$root/usr/bin:$PATH \
    exec gio launch "$root/etc/xdg/autostart/rupeta.desktop") ||
    desktop_fail "gio could not launch the autostart entry"
wait_until 20 tray_icon_window rupeta || desktop_fail "no tray icon from the packaged program"
pid=$(xdotool getwindowpid "$(tray_icon_window rupeta)")
desktop_track "$pid"
[ "$(readlink "/proc/$pid/cwd")" = "$home" ] ||
    desktop_fail "the autostart entry started it in $(readlink "/proc/$pid/cwd"), not in the home directory"
exit_via_menu "$pid" || desktop_fail "the packaged program did not end through its menu"
for key in Timer Reset bReset Position ID first-activated Password; do
    grep -qa "^$key=" "$home/rupeta.ini" || desktop_fail "rupeta.ini in the home directory lacks $key"
done
cmp -s "$home/url.ini" "$root/usr/share/doc/rupeta/url.ini" || desktop_fail "url.ini was changed"
[ ! -e "$scratch/elsewhere/rupeta.ini" ] || desktop_fail "rupeta.ini written outside the home directory"
echo "the packaged program ran from its autostart entry in the home directory"
