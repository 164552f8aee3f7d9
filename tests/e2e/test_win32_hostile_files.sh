#!/usr/bin/env bash
# rupeta.exe under Wine on files meant to break it, all copies side by side on one desktop,
# each in a working directory of its own. A chime that is missing or unusable (empty, text,
# cut short, a folder, another sound format) shows the error box naming the file, and the
# program ends with a non-zero status once it is closed. Sound files that may or may not play
# (cut in the samples, absurd chunk sizes, too big, a pipe) give the box or a running program,
# in bounded time. The hostile settings and links files of the Linux tests (those that are
# plain files: a pipe or a link means something else on Windows) neither crash nor hang it:
# every copy reaches its message loop, ends cleanly when asked, and leaves the files as on
# Linux.
set -u
source "$RUPETA_SOURCE_DIR/tests/e2e/wine.sh"
: "${RUPETA_PROGRAM:?rupeta.exe}"
: "${RUPETA_WINDOW_TEXTS:?window-texts.exe}"
cases=$RUPETA_SOURCE_DIR/tests/e2e/fixtures/hostile_cases.py
chime=$RUPETA_SOURCE_DIR/resources/beep.wav
corpus=$RUPETA_SOURCE_DIR/tests/core/chime-corpus
started=$SECONDS

wine_desktop_start || desktop_fail "no Wine desktop"
# No chime beside the program: each case's working directory decides.
exe=$(wine_copy "$RUPETA_PROGRAM")
texts=$(wine_copy "$RUPETA_WINDOW_TEXTS")
base=$WINE_DIR/cases
mkdir -p "$base/chime" "$base/settings"

# What each copy must do: "box" (the error box, then a non-zero end), "runs" (its main window,
# then a clean end), "either" (one or the other).
declare -A expect dir
chime_case() { # NAME EXPECT: the case's folder; sets file, where its beep.wav goes
    dir[$1]=$base/chime/$1
    expect[$1]=$2
    mkdir -p "${dir[$1]}"
    file=${dir[$1]}/beep.wav
}
chime_case missing box
chime_case empty box
: >"$file"
chime_case text box
printf '[Timer]\r\nTimer=60\r\n' >"$file"
chime_case truncated_header box
head -c 30 "$chime" >"$file"
chime_case folder box
mkdir "$file"
chime_case ogg box
cp "$corpus/tone.ogg" "$file"
chime_case flac box
cp "$corpus/tone.flac" "$file"
chime_case tone_wav runs
cp "$corpus/tone.wav" "$file"
chime_case stereo_8bit runs
cp "$corpus/stereo-8bit.wav" "$file"
chime_case truncated_samples either
head -c 2000 "$chime" >"$file"
# A PCM header whose RIFF, format and data chunks claim about 4 GB each.
chime_case absurd_sizes either
printf 'RIFF\377\377\377\377WAVEfmt \360\377\377\377\001\000\001\000\104\254\000\000\210\130\001\000\002\000\020\000data\377\377\377\377' >"$file"
head -c 4000 /dev/urandom >>"$file"
chime_case too_big either
head -c 44 "$chime" >"$file"
head -c $((16 << 20)) /dev/zero >>"$file"
# An open of a pipe waits for a writer that never comes.
chime_case fifo either
mkfifo "$file"

mapfile -t settings < <(python3 "$cases" plain)
python3 "$cases" prepare "$base/settings" "${settings[@]}"
for name in "${settings[@]}"; do
    dir[$name]=$base/settings/$name
    expect[$name]=runs
    cp "$chime" "${dir[$name]}/beep.wav"
done
[ ${#WINE_AS[@]} -eq 0 ] || chown -R nobody:nogroup "$base"

declare -A pid
for name in "${!dir[@]}"; do
    wine_run "${dir[$name]}" "$exe"
    pid[$name]=$WINE_PID
done

# The windows titled like the program, by Windows process: a box with its text, or a window.
windows() { wine_exec wine "$texts" 'ルペタ' 2>/dev/null | tr -d '\r'; }
box_of() { # NAME: the text of the box that names this case's chime
    # Through the environment: awk -v would take the backslashes as escapes.
    BOX_PATH="Z:$(tr / '\\' <<<"${dir[$1]}")\\beep.wav" awk -F '\t' \
        '$2 == "box" && index($3, ENVIRON["BOX_PATH"]) {print $3; exit}' <<<"$listing"
}
ready() {
    listing=$(windows)
    local name wanted=0 boxed=0
    for name in "${!expect[@]}"; do
        if [ -n "$(box_of "$name")" ]; then
            boxed=$((boxed + 1))
        elif [ "${expect[$name]}" = box ]; then
            return 1
        else
            wanted=$((wanted + 1))
        fi
    done
    local running boxes
    running=$(awk -F '\t' '$2 == "window" {print $1}' <<<"$listing" | sort -u | wc -l)
    boxes=$(awk -F '\t' '$2 == "box"' <<<"$listing" | wc -l)
    [ "$running" -eq "$wanted" ] && [ "$boxes" -eq "$boxed" ]
}
faults=()
if wait_until 100 ready; then
    echo "${#expect[@]} copies showed their boxes or windows within $((SECONDS - started)) s"
else
    faults+=("not every copy showed its box or its window in time:")
    faults+=("$(windows)")
fi
shot=$DESKTOP_DIR/hostile.png
screenshot "$shot"
save_artifact "$shot" wine-hostile-files.png >/dev/null
listing=$(windows)
for name in "${!expect[@]}"; do
    text=$(box_of "$name")
    case ${expect[$name]}:$text in
        runs:?*) faults+=("$name: error box: $text") ;;
        box:*) [[ $text == *'を開けません。 '?* ]] || faults+=("$name: box without a reason: $text") ;;
    esac
done

# WM_CLOSE to every copy's windows: the boxes end their programs with an error, the running
# copies end cleanly.
wine_exec wine taskkill /im rupeta.exe >/dev/null 2>&1
closing=$((SECONDS + 30))
for name in "${!expect[@]}"; do
    if ! wait_for_exit $((closing > SECONDS ? closing - SECONDS : 1)) "${pid[$name]}"; then
        faults+=("$name: still running 30 s after it was asked to close")
        continue
    fi
    text=$(box_of "$name")
    if [ -n "$text" ] && [ "$WAIT_STATUS" = 0 ]; then
        faults+=("$name: ended with status 0 after its error box")
    elif [ -z "$text" ] && [ "$WAIT_STATUS" != 0 ]; then
        faults+=("$name: ended with status $WAIT_STATUS")
    fi
done
[ ${#faults[@]} -eq 0 ] || desktop_fail "$(printf '%s\n' "${faults[@]}")"
python3 "$cases" check "$base/settings" "${settings[@]}" ||
    desktop_fail "settings files not as expected"
echo "PASS: ${#expect[@]} copies side by side in $((SECONDS - started)) s"
