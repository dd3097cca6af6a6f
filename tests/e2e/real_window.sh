#!/bin/bash
# End to end, as a user would: the real platterbook binary in a fresh program
# folder on a real X server without a window manager, driven only by real
# input events (xdotool); then every byte of the files and the settings.
#
#   real_window.sh BINARY WIDTHxHEIGHT
set -uo pipefail
binary=$1
screen=${2:-1280x1024}
width=${screen%x*}
height=${screen#*x}
work=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/home"
cp "$binary" "$work/program/platterbook"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb

exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
read -r -t 10 number <&3 || { echo "no X server"; exit 1; }
export DISPLAY=":$number"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pause() { sleep "${1:-0.6}"; }
click() { xdotool mousemove "$1" "$2" click 1; pause; }
typeText() { xdotool type --delay 20 "$1"; pause 0.3; }
key() { xdotool key "$@"; pause; }

# Places on the screen: the message box (340 x 130) and the dialogs are
# centred; the main window stands at 267, 120 or as near as the screen allows.
box_x=$(( (width - 340) / 2 )); box_y=$(( (height - 130) / 2 ))
yes_x=$((box_x + 93)); yes_y=$((box_y + 111))     # Yes and Search
okay_x=$((box_x + 168)); okay_y=$((box_y + 111))  # Okay
main_x=$(( width - 718 < 267 ? width - 718 : 267 ))
main_h=$(( width == 800 ? 586 : 610 ))
main_y=$(( height - main_h < 120 ? height - main_h : 120 ))

start() {
    (cd "$work/program" && exec ./platterbook) >"$work/log" 2>&1 &
    app=$!
    pause 1.5
}

newDisc() { # name count
    click $((main_x + 62)) $((main_y + 29))                 # New disc
    local x=$(( (width - 376) / 2 )) y=$(( (height - 129) / 2 ))
    click $((x + 250)) $((y + 31)); typeText "$1"            # Disc Title
    click $((x + 200)) $((y + 63)); typeText "$2"            # Number of Tracks
    click $((x + 104)) $((y + 109))                         # Save
}

track() { # label artist title length date format comment
    local x=$(( (width - 376) / 2 )) y=$(( (height - 260) / 2 ))
    local tops=(24 48 72 96 120 144 172) i=0
    for value in "$@"; do
        click $((x + 250)) $((y + ${tops[$i]}))
        [ -n "$value" ] && typeText "$value"
        i=$((i + 1))
    done
    click $((x + 250)) $((y + 24))   # leave the format box so its code is read
    click $((x + 104)) $((y + 236))  # Save
    pause 0.4
    [ -n "${E2E_SHOTS:-}" ] && import -window root "$E2E_SHOTS/track-$3.png"
}

settings() { cat "$HOME/.config/Platterbook/Platterbook.conf" 2>/dev/null; }
expect_file() { # file expected-bytes (printf form)
    local want got
    want=$(printf "$2" | od -An -c)
    got=$(od -An -c "$1" 2>/dev/null)
    [ "$want" == "$got" ] || fail "$1 holds$(printf '\n%s' "$got")$(printf '\nnot\n%s' "$want")"
}

# A visible window of the program whose geometry matches a pattern:
# "Position: 67,67 " (the search results) or "Geometry: 340x130$" (a message).
window_shows() {
    local id
    for id in $(xdotool search --onlyvisible --pid $app 2>/dev/null); do
        xdotool getwindowgeometry "$id" | grep -q "$1" && return 0
    done
    return 1
}
window_at() { window_shows "Position: $1,$2 "; }
window_sized() { window_shows "Geometry: $1\$"; }

firstRun() {
    window_sized 340x130 || fail "no first-run question"
    click $yes_x $yes_y     # "Is this the first time you have used this program?"
    click $okay_x $okay_y   # the note on the new Data folder
    expect_file "$work/program/Data/index.txt" ''
}

# A disc of three tracks, a comment, a search with Show and Close, a removed
# track, and Ctrl+W from a comment box.
roadTrip() {
    newDisc "Road Trip" "3 songs"
    track "Island" "Bob Marley" "Jamming" "3:31" "1977" "l" ""
    track "Tamla" "Stevie Wonder" "Superstition" "4:26" "1972" "s" ""
    track "Stax" "Otis Redding" "Dock of the Bay" "2:43" "1968" "cd" "mono"
    # A comment in the second row, then a search that saves it first.
    click $((main_x + 617)) $((main_y + 129)); typeText "great"
    click $((main_x + 516)) $((main_y + 25))          # Search
    click $((box_x + 170)) $((box_y + 58)); typeText "jam"
    click $yes_x $yes_y                                # Search
    window_at 67 67 || fail "no search results"
    click $((67 + 80)) $((67 + 28))                    # the first hit
    click $((67 + 94)) $((67 + 180))                   # Show
    window_at 67 67 || fail "Show closed the search results"
    click $((67 + 250)) $((67 + 180))                  # Close
    window_at 67 67 && fail "Close left the search results open"
    # Remove the first track.
    click $((main_x + 516)) $((main_y + 65))           # Remove track
    rx=$((main_x + 359 - 170)); ry=$((main_y + (130 + 24 * 3) / 2 - 100))
    click $((rx + 80)) $((ry + 28))                    # its line
    click $((rx + 94)) $((ry + 180))                   # Remove
    click $yes_x $yes_y                                # "Are you really sure?"
    click $((main_x + 617)) $((main_y + 105))          # into a comment box
    key ctrl+w
    pause 1
    kill -0 $app 2>/dev/null && fail "Ctrl+W did not end the program"
    expect_file "$work/program/Data/index.txt" ' 1 \r\nRoad Trip\r\n2\r\n'
    expect_file "$work/program/Data/Road Trip.txt" \
        'Tamla\r\nStevie Wonder\r\nSuperstition\r\n1972\r\n4:26\r\nSingle\r\ngreat\r\nStax\r\nOtis Redding\r\nDock of the Bay\r\n1968\r\n2:43\r\nCD\r\nmono\r\n'
    [ "$(ls "$work/program/Data" | tr '\n' '|')" == "Road Trip.txt|index.txt|" ] ||
        fail "Data holds $(ls "$work/program/Data")"
    expect_file "$HOME/.config/Platterbook/Platterbook.conf" '[Road%%20Trip]\ndisclen=01:14:00\n'
}

case "$width" in
640)
    start
    window_sized 340x130 || fail "no refusal on a 640-pixel screen"
    click $okay_x $okay_y   # "The program will not run in 640x480 ..."
    pause 1
    kill -0 $app 2>/dev/null && fail "the program still runs on a 640-pixel screen"
    [ -e "$work/program/Data" ] && fail "a 640-pixel screen created Data"
    ;;
800)
    start
    window_sized 340x130 || fail "no notice of the 19-track limit"
    click $okay_x $okay_y   # "... limited to 19 tracks each."
    firstRun
    newDisc "Long" "20"
    click $okay_x $okay_y   # "Discs with more than 19 tracks are unsupported."
    [ -e "$work/program/Data/Long.txt" ] && fail "a disc of 20 tracks was made on an 800-pixel screen"
    x=$(( (width - 376) / 2 )); y=$(( (height - 129) / 2 ))
    click $((x + 200)) $((y + 63)); key ctrl+a; typeText "19"
    click $((x + 104)) $((y + 109))
    [ -e "$work/program/Data/Long.txt" ] || fail "a disc of 19 tracks was refused"
    x=$(( (width - 376) / 2 )); y=$(( (height - 260) / 2 ))
    click $((x + 272)) $((y + 236))  # Cancel before the first track: the disc goes again
    expect_file "$work/program/Data/index.txt" ' 0 \r\n'
    [ -e "$work/program/Data/Long.txt" ] && fail "the dropped disc's file is still there"
    roadTrip
    ;;
*)
    start
    firstRun
    roadTrip
    ;;
esac

if [ $failures -ne 0 ]; then
    echo "the program said:"; cat "$work/log"
    echo "1 failed on $screen"
    exit 1
fi
echo "end to end on $screen: every file as expected"
