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
app=""
xvfb=""
trap 'kill -9 $app $xvfb 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/home"
cp "$binary" "$work/program/platterbook"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb
source "$(dirname "${BASH_SOURCE[0]}")/x11.sh"
start_display "$screen"

# Places on the screen: the dialogs are centred; the main window stands at
# 267, 120 or as near as the screen allows.
main_x=$(( width - 718 < 267 ? width - 718 : 267 ))
main_h=$(( width == 800 ? 586 : 610 ))
main_y=$(( height - main_h < 120 ? height - main_h : 120 ))
newd_x=$(( (width - 376) / 2 )); newd_y=$(( (height - 129) / 2 ))
newt_x=$(( (width - 376) / 2 )); newt_y=$(( (height - 260) / 2 ))
data="$work/program/Data"

start() {
    (cd "$work/program" && exec ./platterbook) >"$work/log" 2>&1 &
    app=$!
    disown $app
}
box() { wait_for 10 message_box $app >/dev/null || fail "no message box ($1)"; }
# Answers the message box on show, then waits for it to go.
answer() { press $app "$1" || fail "the message box stayed"; } # yes|okay|no
mainShows() { wait_for 10 window_of $app "Position: $main_x,$main_y " >/dev/null || fail "no main window"; }

newDisc() { # name count
    click $((main_x + 62)) $((main_y + 29))                 # New disc
    wait_for 10 shows $app 376x129 || { fail "no new disc dialog"; return; }
    click $((newd_x + 250)) $((newd_y + 31)); typeText "$1" # Disc Title
    click $((newd_x + 200)) $((newd_y + 63)); typeText "$2" # Number of Tracks
    click $((newd_x + 104)) $((newd_y + 109))               # Save
}

# The title box of the track window, as it shows when a track can be typed.
boxColour='#1A2130'
trackWindow() {
    wait_for 10 shows $app 376x260 || { fail "no track window"; return 1; }
    wait_for 5 pixel_is $((newt_x + 340)) $((newt_y + 72)) $boxColour || fail "no boxes"
}
track() { # k label artist title length date format comment
    local k=$1 tops=(24 48 72 96 120 144 172) i=0
    shift
    for value in "$@"; do
        click $((newt_x + 250)) $((newt_y + ${tops[$i]}))
        [ -n "$value" ] && typeText "$value"
        i=$((i + 1))
    done
    click $((newt_x + 250)) $((newt_y + 24))   # leave the format box so its code is read
    click $((newt_x + 104)) $((newt_y + 236))  # Save
    wait_for 10 lines_in "$data/Road Trip.txt" $((7 * k)) || fail "track $k was not stored"
    [ -n "${E2E_SHOTS:-}" ] && import -window root "$E2E_SHOTS/track-$3.png"
    # Between two tracks the window blanks for a moment: the next track is
    # typed once its boxes show again.
    if [ "$k" -lt 3 ]; then
        # (A blank too short to be seen here is over by the time this gives up.)
        wait_for 1 not pixel_is $((newt_x + 340)) $((newt_y + 72)) $boxColour
        wait_for 5 pixel_is $((newt_x + 340)) $((newt_y + 72)) $boxColour ||
            fail "the track window stayed blank"
    fi
}

settings() { cat "$HOME/.config/Platterbook/Platterbook.conf" 2>/dev/null; }

firstRun() {
    box "first-run question"
    answer yes     # "Is this the first time you have used this program?"
    box "note on the new folder"
    answer okay   # the note on the new Data folder
    mainShows
    expect_file "$data/index.txt" ''
}

# A disc of three tracks, a comment, a search with Show and Close, a removed
# track, and Ctrl+W from a comment box.
roadTrip() {
    newDisc "Road Trip" "3 songs"
    trackWindow || return
    track 1 "Island" "Bob Marley" "Jamming" "3:31" "1977" "l" ""
    track 2 "Tamla" "Stevie Wonder" "Superstition" "4:26" "1972" "s" ""
    track 3 "Stax" "Otis Redding" "Dock of the Bay" "2:43" "1968" "cd" "mono"
    wait_for 10 gone $app 376x260 || fail "the track window stayed open"
    wait_for 10 shows $app 718x202 || fail "the new disc is not shown"
    # A comment in the second row, then a search that saves it first.
    click $((main_x + 617)) $((main_y + 129)); typeText "great"
    click $((main_x + 516)) $((main_y + 25))          # Search
    box "search prompt"
    in_box $app 170 58; typeText "jam"                 # into the search box
    answer yes                                         # Search
    wait_for 10 at $app 67 67 || fail "no search results"
    click $((67 + 80)) $((67 + 28))                    # the first hit
    click $((67 + 94)) $((67 + 180))                   # Show
    click $((67 + 250)) $((67 + 180))                  # Close
    wait_for 10 not at $app 67 67 || fail "Close left the search results open"
    # Remove the first track.
    click $((main_x + 516)) $((main_y + 65))           # Remove track
    wait_for 10 shows $app 340x200 || fail "no remove dialog"
    rx=$((main_x + 359 - 170)); ry=$((main_y + (130 + 24 * 3) / 2 - 100))
    click $((rx + 80)) $((ry + 28))                    # its line
    click $((rx + 94)) $((ry + 180))                   # Remove
    box "Are you really sure?"
    answer yes
    wait_for 10 shows $app 718x178 || fail "the removed track still shows"
    click $((main_x + 617)) $((main_y + 105))          # into a comment box
    xdotool key ctrl+w
    wait_for 10 ended $app || fail "Ctrl+W did not end the program"
    expect_file "$data/index.txt" ' 1 \r\nRoad Trip\r\n2\r\n'
    expect_file "$data/Road Trip.txt" \
        'Tamla\r\nStevie Wonder\r\nSuperstition\r\n1972\r\n4:26\r\nSingle\r\ngreat\r\nStax\r\nOtis Redding\r\nDock of the Bay\r\n1968\r\n2:43\r\nCD\r\nmono\r\n'
    [ "$(ls -A "$data" | tr '\n' '|')" == "Road Trip.txt|index.txt|" ] ||
        fail "Data holds $(ls -A "$data")"
    expect_file "$HOME/.config/Platterbook/Platterbook.conf" '[Road%%20Trip]\ndisclen=01:14:00\n'
}

case "$width" in
640)
    start
    box "refusal on a 640-pixel screen"
    answer okay   # "The program will not run in 640x480 ..."
    wait_for 10 ended $app || fail "the program still runs on a 640-pixel screen"
    [ -e "$data" ] && fail "a 640-pixel screen created Data"
    ;;
800)
    start
    box "notice of the 19-track limit"
    answer okay   # "... limited to 19 tracks each."
    firstRun
    newDisc "Long" "20"
    box "refusal of 20 tracks"
    answer okay   # "Discs with more than 19 tracks are unsupported."
    [ -e "$data/Long.txt" ] && fail "a disc of 20 tracks was made on an 800-pixel screen"
    click $((newd_x + 200)) $((newd_y + 63)); xdotool key ctrl+a; typeText "19"
    click $((newd_x + 104)) $((newd_y + 109))
    wait_for 10 shows $app 376x260 || fail "a disc of 19 tracks was refused"
    [ -e "$data/Long.txt" ] || fail "the disc of 19 tracks has no file"
    click $((newt_x + 272)) $((newt_y + 236))  # Cancel before the first track: the disc goes again
    wait_for 10 gone $app 376x260 || fail "Cancel left the track window open"
    expect_file "$data/index.txt" ' 0 \r\n'
    [ -e "$data/Long.txt" ] && fail "the dropped disc's file is still there"
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
