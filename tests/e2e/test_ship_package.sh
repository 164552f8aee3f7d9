#!/usr/bin/env bash
# The Debian package, built twice from this source tree with the package preset (prefix /usr,
# dates from the last commit): both packages are the same bytes; lintian finds no errors; the
# desktop entries and the AppStream file validate; appstreamcli compose lists the program with
# its icon and its Japanese description; licence, changelog and version agree; and the program
# extracted from the package starts from its menu entry in the home directory, wherever the
# menu is opened from, shows its tray icon and writes rupeta.ini there.
set -euo pipefail
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/fixtures/ship_helpers.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

src=$RUPETA_SOURCE_DIR
scratch=$DESKTOP_DIR/package
mkdir -p "$scratch"
if git -C "$src" rev-parse HEAD >/dev/null 2>&1; then
    SOURCE_DATE_EPOCH=$(git -C "$src" log -1 --format=%ct)
else
    SOURCE_DATE_EPOCH=$(stat -c %Y "$src/CMakeLists.txt")
fi
export SOURCE_DATE_EPOCH

# Two builds in two folders, each from nothing: whatever differs between them (time, folder,
# order) must not show in the package. A private compiler cache spares the second build most
# compiling; it reuses an object only for the same preprocessed source and options, so a
# folder or a time that leaks into the code still makes a difference.
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_DIR=${CCACHE_DIR:-$scratch/ccache} \
        CCACHE_BASEDIR=$scratch
fi
build_package() { # folder
    local started=$SECONDS
    {
        (cd "$src" && cmake --preset package -B "$1") &&
            cmake --build "$1" -j"$(nproc)" &&
            cpack --config "$1/CPackConfig.cmake" -B "$1/out"
    } >"$1.log" 2>&1 || fail "package build in $1: $(tail -5 "$1.log")"
    echo "package built in $((SECONDS - started)) s"
}
build_package "$scratch/one"
build_package "$scratch/two"
deb=$(ls "$scratch"/one/out/rupeta_*.deb)
other=$(ls "$scratch"/two/out/rupeta_*.deb)
echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)"
if ! cmp -s "$deb" "$other"; then
    for d in "$deb" "$other"; do
        dpkg-deb -c "$d" >"$d.list"
        (dpkg-deb --fsys-tarfile "$d" | tar -xO | md5sum) >>"$d.list"
    done
    diff "$deb.list" "$other.list" >&2 || true
    fail "two builds of the package differ"
fi
echo "two builds gave the same bytes"

dpkg-deb -f "$deb" Package Version Section Depends Suggests | sed 's/^/  /'
for field in Maintainer Description Section; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "the package has no $field"
done
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6gui6 libqt6core6 libqt6network6 libqt6multimedia6 \
    qt6-qpa-plugins libsndfile1 libx11-6 libxi6 xdg-utils qt6-translations-l10n \
    "fonts-ipafont-gothic | fonts-vlgothic | fonts-noto-cjk"; do
    grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
[ "$(dpkg-deb -f "$deb" Suggests)" = gnome-shell-extension-appindicator ] ||
    fail "Suggests is not gnome-shell-extension-appindicator"

# lintian: no errors; warnings are listed.
lintian --tag-display-limit 0 --display-info "$deb" >"$scratch/lintian.log" 2>&1 || true
grep -v '^running with root privileges' "$scratch/lintian.log" | sed 's/^/  lintian: /'
! grep -q '^E:' "$scratch/lintian.log" || fail "lintian reports errors"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/rupeta usr/share/rupeta/beep.wav usr/share/doc/rupeta/url.ini \
    usr/share/doc/rupeta/copyright usr/share/doc/rupeta/README.md \
    usr/share/man/man1/rupeta.1.gz usr/share/applications/rupeta.desktop \
    usr/share/icons/hicolor/scalable/apps/rupeta.svg \
    etc/xdg/autostart/rupeta.desktop; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done
for size in 16 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x$size/apps/rupeta.png
    identify -format '%wx%h' "$icon" | grep -qx "${size}x$size" ||
        fail "the ${size}x$size icon is missing or has another size"
done
# The scalable icon draws the same picture: rendered at 256 px, it differs from the 256 px one
# only along edges (1.9 % of the pixels when written).
rsvg-convert -w 256 -h 256 "$root/usr/share/icons/hicolor/scalable/apps/rupeta.svg" \
    -o "$scratch/svg-256.png" || fail "the scalable icon does not render"
differing=$(compare -metric AE "$scratch/svg-256.png" \
    "$root/usr/share/icons/hicolor/256x256/apps/rupeta.png" null: 2>&1 || true)
echo "scalable icon: $differing of 65536 pixels differ from the 256 px icon"
((differing < 65536 * 4 / 100)) || fail "the scalable icon shows another picture"
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /etc/xdg/autostart/rupeta.desktop ||
    fail "the autostart entry is not a conffile"

# Licence: MIT, named in the machine-readable copyright file with the text of LICENSE, and
# no address in it but the format's.
copyright=$root/usr/share/doc/rupeta/copyright
head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not machine-readable"
grep -qx 'License: Expat' "$copyright" || fail "the copyright file does not name the MIT (Expat) licence"
diff <(sed -n '/^ Permission/,$p' "$copyright" | sed 's/^ //; s/^\.$//') \
    <(sed -n '/^Permission/,$p' "$src/LICENSE") >/dev/null ||
    fail "the licence text in the copyright file is not the one in LICENSE"
! grep -vx 'Format: .*' "$copyright" | grep -qE '[a-z]+://' || fail "the copyright file names an address"

# The changelog names the package's version; its date is the release date in the metainfo.
version=$(dpkg-deb -f "$deb" Version)
changelog=$(zcat "$root/usr/share/doc/rupeta/changelog.Debian.gz")
head -1 <<<"$changelog" | grep -qF "rupeta ($version) " || fail "the changelog is not at $version"
release_date=$(date -u -d "$(sed -n 's/^ -- .*>  //p' <<<"$changelog" | head -1)" +%F)

desktop-file-validate "$root/usr/share/applications/rupeta.desktop" ||
    fail "desktop-file-validate: menu entry"
desktop-file-validate "$root/etc/xdg/autostart/rupeta.desktop" ||
    fail "desktop-file-validate: autostart entry"
grep -qx StartupNotify=false "$root/etc/xdg/autostart/rupeta.desktop" ||
    fail "the autostart entry lacks StartupNotify=false"
grep -q '^Keywords\[ja\]=' "$root/usr/share/applications/rupeta.desktop" ||
    fail "the menu entry has no Japanese keywords"
! grep '^Keywords=' "$root/usr/share/applications/rupeta.desktop" | grep -qP '[^\x00-\x7f]' ||
    fail "the menu entry's English keywords hold Japanese"

id=example.rupeta.rupeta
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
[ -f "$metainfo" ] || fail "no metainfo for $id: $(ls "$root/usr/share/metainfo")"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
python3 - "$metainfo" "$version" "$release_date" <<'PY' || fail "the metainfo file is not as expected"
import sys
import xml.etree.ElementTree as ET

LANG = "{http://www.w3.org/XML/1998/namespace}lang"
root = ET.parse(sys.argv[1]).getroot()
version, date = sys.argv[2].split("-")[0], sys.argv[3]
problems = []
if root.findtext("project_license") != "MIT":
    problems.append("project_license is not MIT")
paragraphs = root.find("description").findall("p")
for i, p in enumerate(paragraphs):
    if p.get(LANG) is None and (i + 1 == len(paragraphs) or paragraphs[i + 1].get(LANG) != "ja"):
        problems.append("paragraph %d has no Japanese translation after it" % (i + 1))
release = root.find("releases/release")
if (release.get("version"), release.get("date")) != (version, date):
    problems.append("release %s of %s, not %s of %s"
                    % (release.get("version"), release.get("date"), version, date))
print("\n".join(problems) or "metainfo: MIT, every paragraph in Japanese too, release %s of %s"
      % (version, date))
sys.exit(1 if problems else 0)
PY

# What a software centre's catalogue makes of the installed tree.
appstreamcli compose --no-net --origin=rupeta --result-root="$scratch/compose" \
    --hints-dir="$scratch/compose/hints" "$root" >"$scratch/compose.log" 2>&1 ||
    fail "appstreamcli compose: $(cat "$scratch/compose.log")"
catalog=$(zcat "$scratch"/compose/usr/share/swcatalog/xml/rupeta.xml.gz)
grep -q "<id>$id</id>" <<<"$catalog" || fail "the catalogue lacks $id: $(cat "$scratch/compose.log")"
grep -q '<icon type="cached"' <<<"$catalog" || fail "the catalogue has no icon for $id"
grep -q '<description xml:lang="ja">' <<<"$catalog" || fail "the catalogue has no Japanese description"
ls "$scratch"/compose/usr/share/swcatalog/icons/rupeta/128x128/$id.png >/dev/null 2>&1 ||
    fail "compose cached no icon"
echo "appstreamcli compose lists $id with its icon and Japanese description"

# The example links file is code page 932 and names all ten keys.
iconv -f CP932 -t UTF-8 "$root/usr/share/doc/rupeta/url.ini" >"$scratch/url.utf8" ||
    fail "the example url.ini is not code page 932"
[ "$(grep -cE '^(Name|URL)[1-5]=.' "$scratch/url.utf8")" = 10 ] ||
    fail "the example url.ini does not hold the ten links: $(cat "$scratch/url.utf8")"

# The menu and the autostart entry start the program the same way: in the home directory.
exec_of() { sed -n 's/^Exec=//p' "$1"; }
[ "$(exec_of "$root/usr/share/applications/rupeta.desktop")" = \
    "$(exec_of "$root/etc/xdg/autostart/rupeta.desktop")" ] ||
    fail "the menu and autostart entries start the program differently"

# Start the extracted program from its menu entry, launched from another directory, in a
# fresh home holding a copy of the example links file. Extracted, the program finds the
# package's chime through its second place, beside the executable.
desktop_start || desktop_fail "no desktop"
cp "$root/usr/share/rupeta/beep.wav" "$root/usr/bin/beep.wav"
home=$scratch/home
mkdir -p "$home" "$scratch/elsewhere"
cp "$root/usr/share/doc/rupeta/url.ini" "$home/url.ini"
printf '#!/bin/sh\nexit 0\n' >"$scratch/xdg-open"
chmod +x "$scratch/xdg-open"
ln -s "$scratch/xdg-open" "$root/usr/bin/xdg-open"
(cd "$scratch/elsewhere" && HOME=$home PATH=$root/usr/bin:$PATH \
    exec gio launch "$root/usr/share/applications/rupeta.desktop") ||
    desktop_fail "gio could not launch the menu entry"
wait_until 20 tray_icon_window rupeta || desktop_fail "no tray icon from the packaged program"
pid=$(xdotool getwindowpid "$(tray_icon_window rupeta)")
desktop_track "$pid"
[ "$(readlink "/proc/$pid/cwd")" = "$home" ] ||
    desktop_fail "the menu entry started it in $(readlink "/proc/$pid/cwd"), not in the home directory"
exit_via_menu "$pid" || desktop_fail "the packaged program did not end through its menu"
for key in Timer Reset bReset Position ID first-activated Password; do
    grep -qa "^$key=" "$home/rupeta.ini" || desktop_fail "rupeta.ini in the home directory lacks $key"
done
cmp -s "$home/url.ini" "$root/usr/share/doc/rupeta/url.ini" || desktop_fail "url.ini was changed"
[ ! -e "$scratch/elsewhere/rupeta.ini" ] || desktop_fail "rupeta.ini written outside the home directory"
echo "the packaged program ran from its menu entry in the home directory"
