#!/usr/bin/env bash
# The remote control as the desktop uses it: playerctl drives the real
# program on a private session bus (run under dbus-run-session): play-pause
# starts and pauses a reading, the metadata name the card, stop ends the
# reading without a question.
# Usage: dbus-run-session -- mpris_playerctl.sh <QtUtakaze executable>
set -euo pipefail
APP=$1
WORK=$(mktemp -d)
PID=
cleanup() {
    if [ -n "$PID" ]; then kill "$PID" 2>/dev/null; wait "$PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to 10 s for a command's output to match a pattern.
expect() {
    local pattern=$1; shift
    local out=
    for _ in $(seq 200); do
        out=$("$@" 2>/dev/null || true)
        [[ $out =~ $pattern ]] && return 0
        sleep 0.05
    done
    fail "'$*' gave '$out', expected /$pattern/"
}

# A program copy in its own folder with a voice of three-second tones.
cp "$APP" "$WORK/QtUtakaze"
mkdir "$WORK/Music"
sox -q -n -r 44100 -c 1 -b 16 "$WORK/tone.wav" synth 3 sine 440
oggenc -Q -o "$WORK/tone.ogg" "$WORK/tone.wav"
# Copies written by one tee: a link made by a process for each of the 201
# files took seconds.
VERSES=("$WORK/Music/rindou_000_2.ogg")
for c in $(seq 1 100); do
    for h in 1 2; do
        printf -v name '%s/Music/rindou_%03d_%d.ogg' "$WORK" "$c" "$h"
        VERSES+=("$name")
    done
done
tee "${VERSES[@]}" <"$WORK/tone.ogg" >/dev/null
printf '[SETTING]\nchk_joka=false\nWait1Time=1\nWait2Time=1\n' > "$WORK/QtUtakaze.ini"

(cd "$WORK" && env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
    SDL_AUDIODRIVER=dummy ./QtUtakaze) &
PID=$!

P=(playerctl -p QtUtakaze)
expect '^Stopped$' "${P[@]}" status
"${P[@]}" play-pause
expect '^Playing$' "${P[@]}" status
expect "^'?/io/github/qtutakaze/card/[0-9]+'?\\|第[0-9]+首 .+\\|.+$" \
    "${P[@]}" metadata --format '{{mpris:trackid}}|{{xesam:title}}|{{xesam:artist}}'
"${P[@]}" metadata
"${P[@]}" play-pause
expect '^Paused$' "${P[@]}" status
"${P[@]}" play
expect '^Playing$' "${P[@]}" status
"${P[@]}" pause
expect '^Paused$' "${P[@]}" status
"${P[@]}" stop
expect '^Stopped$' "${P[@]}" status

echo "PASS"
