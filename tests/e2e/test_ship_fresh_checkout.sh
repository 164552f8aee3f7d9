#!/usr/bin/env bash
# A fresh checkout in the hands of an ordinary user: a scratch unprivileged user runs
# scripts/run.sh on a git clone it owns; it builds from nothing, starts the program on the
# no-display path (virtual desktop, screenshots) and leaves no file owned by anyone else. Then
# root runs it as sudo would (SUDO_USER set): it carries on as that user, not as root. Last, the
# user installs the build into ~/.local without root.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: creating the scratch user needs root"
    exit 77
fi
src=$RUPETA_SOURCE_DIR
# A name of this run's own: test runs of other checkouts may be building as theirs meanwhile.
user=rupeta-fresh-$$
scratch=$(mktemp -d /tmp/rupeta-fresh.XXXXXX)
chmod 0755 "$scratch"
home=$scratch/home
cleanup() {
    local pid
    for pid in $(pgrep -u "$user" 2>/dev/null); do
        kill -9 "$pid" 2>/dev/null || true
    done
    userdel "$user" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

id "$user" >/dev/null 2>&1 && userdel "$user"
# Tests running side by side may hold the user database's lock for a moment.
for try in 1 2 3 4 5 6 7 8 9 10; do
    useradd --home-dir "$home" --create-home --shell /bin/bash --user-group "$user" && break
    [ "$try" -lt 10 ] || fail "could not create the user $user"
    sleep 0.5
done
# Copies, not hard links: a clone of a local path links its objects to the source's, and the
# chown below would then hand the source checkout's objects to the scratch user.
git clone -q --no-hardlinks "$src" "$home/rupeta"
echo "clone of $(git -C "$home/rupeta" log -1 --format='%h %s')"
chown -R "$user:$user" "$home"

# What a login shell of that user has: no display, no settings of the test environment.
as_user() {
    runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" \
        PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 "$@"
}
foreign_files() { find "$home" ! -user "$user" -print -quit; }

started=$SECONDS
(cd "$home" && as_user bash rupeta/scripts/run.sh) </dev/null >"$scratch/run.log" 2>&1 ||
    fail "scripts/run.sh as $user: $(tail -15 "$scratch/run.log")"
echo "scripts/run.sh as $user: built and started in $((SECONDS - started)) s"
for shot in tray-icon.png tray-icon-8x.png tray-menu.png; do
    [ -s "$home/rupeta/artifacts/run/$shot" ] || fail "no screenshot $shot: $(tail -5 "$scratch/run.log")"
done
grep -q '^\[Timer\]' "$home/rupeta/artifacts/run/rupeta.ini" || fail "the program wrote no rupeta.ini"
[ -z "$(foreign_files)" ] || fail "a file not owned by $user: $(foreign_files)"
# Helpers of the session (a bus autolaunched on the virtual display) go with the display.
no_processes() { [ -z "$(pgrep -u "$user")" ]; }
for _ in $(seq 50); do
    no_processes && break
    sleep 0.2
done
no_processes || fail "processes of $user left running: $(pgrep -a -u "$user")"

# As through sudo: root with SUDO_USER hands over to that user at once.
rm "$home/rupeta/artifacts/run/rupeta.ini"
(cd "$home" && env -u DISPLAY SUDO_USER="$user" bash rupeta/scripts/run.sh) </dev/null \
    >"$scratch/sudo.log" 2>&1 || fail "scripts/run.sh with SUDO_USER: $(tail -15 "$scratch/sudo.log")"
grep -q "as $user, not as root" "$scratch/sudo.log" || fail "no hand-over to $user: $(cat "$scratch/sudo.log")"
[ "$(stat -c %U "$home/rupeta/artifacts/run/rupeta.ini")" = "$user" ] ||
    fail "the program did not run as $user"
[ -z "$(foreign_files)" ] || fail "a file not owned by $user after the sudo run: $(foreign_files)"
echo "started as root with SUDO_USER=$user, it built and ran as $user"

# An install of one's own, without root.
(cd "$home/rupeta" && as_user sh -c "cmake --preset default -DCMAKE_INSTALL_PREFIX=$home/.local \
    -DRUPETA_BUILD_TESTS=OFF && cmake --build build -j$(nproc) && cmake --install build") \
    >"$scratch/install.log" 2>&1 || fail "install into ~/.local: $(tail -15 "$scratch/install.log")"
for file in .local/bin/rupeta .local/share/rupeta/beep.wav .local/share/applications/rupeta.desktop \
    .local/share/icons/hicolor/256x256/apps/rupeta.png .config/autostart/rupeta.desktop; do
    [ -e "$home/$file" ] || fail "the install into ~/.local lacks ~/$file"
done
[ -z "$(foreign_files)" ] || fail "a file not owned by $user after the install: $(foreign_files)"
echo "installed into ~/.local with its autostart entry in ~/.config/autostart"
