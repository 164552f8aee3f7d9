#!/usr/bin/env bash
# The program under file-system faults: a read-only working directory, a read-only
# rupeta.ini, the directory removed while it runs, "rupeta.ini" being a directory, a full disk,
# and SIGKILL at random moments around its saves. It keeps running where it can, never
# crashes, rupeta.ini is always either the old file or a complete new one, and the temporary
# files of killed saves go at the next save.
set -euo pipefail
# In a private mount namespace where possible, so that no mount outlives the test.
if [ -z "${SHIP_FAULTS_NS:-}" ] && unshare --mount --propagation private true 2>/dev/null; then
    SHIP_FAULTS_NS=1 exec unshare --mount --propagation private bash "$0" "$@"
fi
source "$RUPETA_SOURCE_DIR/tests/e2e/desktop.sh"
source "$RUPETA_SOURCE_DIR/tests/e2e/fixtures/ship_helpers.sh"

desktop_start || desktop_fail "no desktop"
fake_opener
work=$DESKTOP_DIR/work
mkdir -p "$work"
mounts=()
cleanup_mounts() {
    local m
    for m in "${mounts[@]}"; do
        umount -l "$m" 2>/dev/null || true
    done
}
trap 'cleanup_mounts; desktop_cleanup; [ -z "${nobody_dir:-}" ] || rm -rf "$nobody_dir"' EXIT

valid_ini() {
    printf '[Timer]\r\nTimer=45\r\nReset=7\r\nbReset=0\r\nPosition=1\r\n[User]\r\nID=1-2-3-4-5-6\r\nfirst-activated=2020/01/02\r\nPassword=\r\n; %s\r\n' "$1"
}

# Starts the program in DIR; sets PID once its tray icon is there.
start_in() {
    rupeta_start "$1" "$work/program.log"
    PID=$RUPETA_PID
    wait_until 20 tray_icon_of "$PID" || desktop_fail "$2: no tray icon"
}

# The same as an unprivileged user, for root, whom file modes do not stop. That user runs a
# copy of the program in a folder it can reach (the checkout may sit in a private home
# directory), with a runtime directory of its own.
nobody_dir=""
start_as_nobody() {
    if [ -z "$nobody_dir" ]; then
        nobody_dir=$(mktemp -d /tmp/rupeta-nobody.XXXXXX)
        stage_program "$nobody_dir/bin" >/dev/null
        chmod 0755 "$nobody_dir"
        mkdir -m 0700 "$nobody_dir/runtime"
        chown nobody:nogroup "$nobody_dir/runtime"
    fi
    (cd "$1" && exec setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env XDG_RUNTIME_DIR="$nobody_dir/runtime" "$nobody_dir/bin/rupeta") \
        >>"$work/program.log" 2>&1 &
    PID=$!
    desktop_track "$PID"
    wait_until 20 tray_icon_of "$PID" || desktop_fail "$2: no tray icon"
}

# Ends PID through the menu and insists on a clean exit.
end_cleanly() {
    exit_via_menu "$PID" || desktop_fail "$1: did not end through the tray menu"
    [ "$WAIT_STATUS" = 0 ] || desktop_fail "$1: exit status $WAIT_STATUS"
}

no_temp_files() {
    ! compgen -G "$1/.rupeta.ini.*" >/dev/null || desktop_fail "$2: temporary file left: $(ls -a "$1")"
}

can_mount=0
mkdir -p "$work/probe"
if mount -t tmpfs -o size=64k tmpfs "$work/probe" 2>/dev/null; then
    umount "$work/probe"
    can_mount=1
fi

# 1. Read-only working directory: nothing can be saved, the program runs all the same.
name=read-only
dir=$work/$name
mkdir -p "$dir"
valid_ini "$name" >"$dir/rupeta.ini"
cp "$dir/rupeta.ini" "$work/$name.before"
if [ $can_mount = 1 ]; then
    mount --bind "$dir" "$dir" && mounts+=("$dir")
    mount -o remount,bind,ro "$dir"
    start_in "$dir" "$name"
elif [ "$(id -u)" != 0 ]; then
    chmod 0555 "$dir"
    start_in "$dir" "$name"
else
    # Root ignores file modes: run as an unprivileged user in a directory it may not write.
    chmod 0555 "$dir"
    start_as_nobody "$dir" "$name"
fi
end_cleanly "$name"
cmp -s "$dir/rupeta.ini" "$work/$name.before" || desktop_fail "$name: rupeta.ini changed"
no_temp_files "$dir" "$name"
echo "ok: $name"

# 1b. A rupeta.ini the user made read-only in a directory they may write: never replaced.
name=read-only-file
dir=$work/$name
mkdir -p "$dir"
valid_ini "$name" >"$dir/rupeta.ini"
chmod 0444 "$dir/rupeta.ini"
cp "$dir/rupeta.ini" "$work/$name.before"
if [ "$(id -u)" != 0 ]; then
    start_in "$dir" "$name"
else
    # Root may write any file, as a plain write would: run as the file's unprivileged owner.
    chown -R nobody:nogroup "$dir"
    start_as_nobody "$dir" "$name"
fi
end_cleanly "$name"
cmp -s "$dir/rupeta.ini" "$work/$name.before" || desktop_fail "$name: rupeta.ini changed"
[ "$(stat -c %a "$dir/rupeta.ini")" = 444 ] || desktop_fail "$name: rupeta.ini mode changed"
no_temp_files "$dir" "$name"
echo "ok: $name"

# 2. The working directory removed while the program runs; it exits normally.
name=removed
dir=$work/$name
mkdir -p "$dir"
start_in "$dir" "$name"
rm -rf "$dir"
sleep 2
tray_icon_of "$PID" >/dev/null || desktop_fail "$name: the program went away"
end_cleanly "$name"
[ ! -e "$dir" ] || desktop_fail "$name: the removed directory came back"
echo "ok: $name"

# 3. "rupeta.ini" is a directory: defaults in memory, the directory left as it was.
name=ini-is-directory
dir=$work/$name
mkdir -p "$dir/rupeta.ini"
echo keep >"$dir/rupeta.ini/inside"
start_in "$dir" "$name"
end_cleanly "$name"
[ -d "$dir/rupeta.ini" ] && [ "$(cat "$dir/rupeta.ini/inside")" = keep ] ||
    desktop_fail "$name: the directory was touched"
no_temp_files "$dir" "$name"
echo "ok: $name"

# 4. A full disk: the saves fail, the old file stays complete, no partial file appears.
name=full-disk
if [ $can_mount = 1 ]; then
    dir=$work/$name
    mkdir -p "$dir"
    mount -t tmpfs -o size=256k,nr_inodes=64 tmpfs "$dir" && mounts+=("$dir")
    mkdir "$dir/old" "$dir/none"
    valid_ini "$name" >"$dir/old/rupeta.ini"
    cp "$dir/old/rupeta.ini" "$work/$name.before"
    dd if=/dev/zero of="$dir/filler" bs=4k 2>/dev/null || true
    # The last free bytes too, so that not even a small file fits.
    for i in $(seq 1 16); do head -c 512 /dev/zero >"$dir/filler$i" 2>/dev/null || break; done
    for sub in old none; do
        start_in "$dir/$sub" "$name/$sub"
        end_cleanly "$name/$sub"
        no_temp_files "$dir/$sub" "$name/$sub"
    done
    cmp -s "$dir/old/rupeta.ini" "$work/$name.before" || desktop_fail "$name: rupeta.ini changed"
    [ ! -s "$dir/none/rupeta.ini" ] || desktop_fail "$name: a file appeared on a full disk"
    echo "ok: $name"
else
    echo "SKIP: $name (mounting a small tmpfs is not allowed here)"
fi

# 5. SIGKILL at random moments around the saves at start and at exit: afterwards rupeta.ini is
# the old file or a complete new one, never a mix or a torn write. A large foreign part (still
# below the 1 MiB that the program reads at most) makes each save take long enough to be hit.
name=sigkill
dir=$work/$name
mkdir -p "$dir"
{
    valid_ini "$name"
    head -c 1000000 /dev/zero | tr '\0' 'x' | fold -w 200 | sed 's/^/; /'
} >"$dir/rupeta.ini"
[ "$(stat -c %s "$dir/rupeta.ini")" -lt 1048576 ] || desktop_fail "$name: test file over the cap"
python3 - "$dir" "$RUPETA_BIN" <<'EOF' || desktop_fail "$name: see above"
import os, random, re, signal, subprocess, sys, time

dir_, binary = sys.argv[1], sys.argv[2]
path = os.path.join(dir_, "rupeta.ini")
KEYS = [b"Timer", b"Reset", b"bReset", b"Position", b"ID", b"first-activated", b"Password"]


def foreign(data):
    return [l for l in data.split(b"\n") if not re.match(rb"\[|(%s)=" % b"|".join(KEYS), l)]


def complete(data, old):
    keys = {l.split(b"=")[0] for l in data.split(b"\r\n") if b"=" in l}
    return all(k in keys for k in KEYS) and foreign(data) == foreign(old)


def start():
    return subprocess.Popen([binary], cwd=dir_, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


# When does the start-up save land? The file's inode changes with the rename.
old_inode = os.stat(path).st_ino
t0 = time.monotonic()
p = start()
while os.stat(path).st_ino == old_inode and time.monotonic() - t0 < 20:
    time.sleep(0.001)
save_at = time.monotonic() - t0
p.kill()
p.wait()
print("start-up save after %.0f ms" % (save_at * 1000))

rng = random.Random(int(os.environ.get("RUPETA_SEED", "1209")))
runs, olds, news, torn = 40, 0, 0, 0
for i in range(runs):
    before, inode = open(path, "rb").read(), os.stat(path).st_ino
    p = start()
    time.sleep(max(0.0, save_at + rng.uniform(-0.08, 0.12)))
    p.send_signal(signal.SIGKILL)
    p.wait()
    torn += any(f.startswith(".rupeta.ini.%d." % p.pid) for f in os.listdir(dir_))
    after = open(path, "rb").read()
    # The program rewrites the same values, so only the inode tells the new file apart.
    if os.stat(path).st_ino == inode and after == before:
        olds += 1
    elif os.stat(path).st_ino != inode and complete(after, before):
        news += 1
    else:
        print("run %d: rupeta.ini is neither the old nor a complete new file (%d bytes)"
              % (i, len(after)))
        sys.exit(1)
print("%d kills: %d left the old file, %d a new complete one; %d killed inside a save "
      "(temporary file left behind)" % (runs, olds, news, torn))
EOF
# The same around the save at exit: "終了(&X)", then SIGKILL a moment later.
for i in 1 2 3 4 5 6; do
    cp "$dir/rupeta.ini" "$work/$name.before"
    start_in "$dir" "$name"
    open_menu_of "$PID" || desktop_fail "$name: no tray menu"
    xdotool key x
    sleep "0.0$((RANDOM % 5))$((RANDOM % 10))"
    kill -KILL "$PID" 2>/dev/null || true
    wait_for_exit 10 "$PID" || desktop_fail "$name: still running after SIGKILL"
    # The values were normalised already, so the old and a complete new file have the same
    # bytes; anything else is a torn write.
    cmp -s "$dir/rupeta.ini" "$work/$name.before" ||
        desktop_fail "$name: rupeta.ini torn by a kill during the exit save"
done
# The program still starts on what the kills left and ends normally; its first save clears
# the temporary files of ended processes (one is planted for sure), never one of a live
# second instance.
sh -c 'exit 0' &
dead=$!
wait "$dead" || true
sleep 120 &
live=$!
desktop_track "$live"
: >"$dir/.rupeta.ini.$dead.0.tmp"
: >"$dir/.rupeta.ini.$live.0.tmp"
start_in "$dir" "$name"
end_cleanly "$name"
[ -e "$dir/.rupeta.ini.$live.0.tmp" ] || desktop_fail "$name: a live process's temporary file removed"
kill "$live"
rm "$dir/.rupeta.ini.$live.0.tmp"
no_temp_files "$dir" "$name"
echo "ok: $name"

grep -E 'runtime error|AddressSanitizer|Segmentation' "$work/program.log" &&
    desktop_fail "the program reported errors"
echo "all fault cases passed"
