#!/bin/bash
# The real program against the ends a session brings, on a real X server
# driven by real input: a second copy on the same catalogue, a lock left by a
# killed copy, a comment typed and then SIGTERM, SIGHUP, a pause and SIGKILL,
# or the display going away. Every wait is for a condition, with a deadline.
#
#   session_end.sh BINARY
set -uo pipefail
binary=$1
work=$(mktemp -d)
prog="$work/program"
xvfb=""
apps=()
cleanup() {
    kill -9 "${apps[@]}" $xvfb 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$prog/Data" "$work/home"
cp "$binary" "$prog/platterbook"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb

source "$(dirname "${BASH_SOURCE[0]}")/x11.sh"

start() { # starts a copy of the program; its pid is in $app
    (cd "$prog" && exec ./platterbook) >>"$work/log" 2>&1 &
    app=$!
    disown "$app"
    apps+=("$app")
}

# The main window at 267,120: Rock chosen in the disc chooser, then a comment
# typed into the first row, then the Options window opened (it does not write
# comments), which proves every key before it was taken in.
type_comment() { # text
    wait_for 10 shows "$app" 718x610 || { fail "no main window"; return 1; }
    xdotool mousemove 367 188 click 1
    xdotool key Down Return
    wait_for 10 shows "$app" 718x178 || { fail "Rock was not shown"; return 1; }
    xdotool mousemove 879 225 click 1
    xdotool key ctrl+a
    xdotool type --delay 10 "$1"
    xdotool mousemove 879 145 click 1
    wait_for 10 shows "$app" 340x200 || { fail "no Options window"; return 1; }
}

rock() { # the comment of track 1
    printf 'L1\r\nA1\r\nT1\r\n1999\r\n4:05\r\nLP\r\n%s\r\nL2\r\nA2\r\nT2\r\n1999\r\n3:55\r\nCD\r\n\r\n' "$1"
}
holds() { [ "$(od -An -c "$prog/Data/Rock.txt")" == "$(rock "$1" | od -An -c)" ]; }
lock_gone() { [ ! -e "$prog/Data/.platterbook.lock" ]; }
kill_copy() { kill -9 "$1"; wait_for 10 ended "$1"; }
snapshot() { (cd "$prog/Data" && md5sum ./*.txt); }

printf ' 1 \r\nRock\r\n2\r\n' >"$prog/Data/index.txt"
rock "" >"$prog/Data/Rock.txt"
start_display 1280x1024

# A second copy on the same catalogue: its message, Enter, and it ends
# having written nothing; the first copy goes on.
start
first=$app
wait_for 10 shows "$first" 718x610 || fail "the first copy did not open"
before=$(snapshot)
start
second=$app
wait_for 10 message_box "$second" >/dev/null && press "$second" okay || fail "no message"
wait_for 10 ended "$second" || fail "the second copy did not end"
shows "$second" 718x610 && fail "the second copy opened the catalogue"
[ "$(snapshot)" == "$before" ] || fail "the second copy wrote to the catalogue"
running "$first" || fail "the first copy ended too"

# The first copy killed: its lock is taken over without a question.
kill_copy "$first"
start
wait_for 10 shows "$app" 718x610 || fail "a lock left by a killed copy kept the catalogue shut"
kill_copy "$app"

# A comment typed, then the session ends.
for signal in TERM HUP INT; do
    start
    type_comment "by SIG$signal" || continue
    kill -s "$signal" "$app"
    wait_for 10 ended "$app" || fail "SIG$signal did not end the program"
    holds "by SIG$signal" || fail "SIG$signal lost the comment: $(od -c "$prog/Data/Rock.txt")"
    lock_gone || fail "SIG$signal left the lock"
done

# A comment typed, a pause, and the program killed outright.
start
type_comment "after a pause"
wait_for 5 holds "after a pause" || fail "the comment was not written after the pause"
kill_copy "$app"
holds "after a pause" || fail "SIGKILL after the pause lost the comment"

# A comment typed, and the display goes away.
start
type_comment "display gone"
kill -9 $xvfb
wait_for 10 ended "$app" || fail "the program outlived its display"
holds "display gone" || fail "the lost display lost the comment"
lock_gone || fail "the lost display left the lock"

if [ $failures -ne 0 ]; then
    echo "the program said:"
    cat "$work/log"
    exit 1
fi
echo "session ends: every comment written, one program per catalogue"
