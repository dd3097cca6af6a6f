# Shared by the end-to-end scripts: a private X server, the program's windows
# found by size or place, real input, and waits for a condition with a
# deadline (never a fixed pause).

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits until a command succeeds, for at most the given seconds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.05
    done
}

start_display() { # WIDTHxHEIGHT
    exec 3<> <(:)
    # -noreset: the server must not restart when its last client leaves.
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    disown $xvfb
    read -r -t 10 number <&3 || { echo "no X server"; exit 1; }
    export DISPLAY=":$number"
}

# A visible window of a process whose geometry matches a pattern, such as
# "Geometry: 340x130$" or "Position: 67,67 ".
window_of() { # pid pattern
    local id
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "$2" && {
            echo "$id"
            return 0
        }
    done
    return 1
}
shows() { window_of "$1" "Geometry: $2\$" >/dev/null; }   # pid WxH
gone() { ! shows "$@"; }
at() { window_of "$1" "Position: $2,$3 " >/dev/null; }    # pid x y
not() { ! "$@"; }
visible() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | grep -qx "$2"; } # pid id
running() { kill -0 "$1" 2>/dev/null; }
ended() { ! running "$1"; }
click() { xdotool mousemove "$1" "$2" click 1; }

# The program's message box (340 pixels wide, as tall as its text needs) and
# a click on one of its buttons: yes (also Search), okay, no (also Cancel).
message_box() { # pid: the newest, not the remove or options dialog (340 x 200)
    local id found=""
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: 340x[0-9]*\$" &&
            ! xdotool getwindowgeometry "$id" | grep -q "Geometry: 340x200\$" && found=$id
    done
    [ -n "$found" ] && echo "$found"
}
in_box() { # pid dx dy: a click at that place of the message box
    local geometry
    geometry=$(xdotool getwindowgeometry "$(message_box "$1")")
    click $(($(sed -n 's/.*Position: \([0-9]*\),.*/\1/p' <<<"$geometry") + $2)) \
        $(($(sed -n 's/.*Position: [0-9]*,\([0-9]*\) .*/\1/p' <<<"$geometry") + $3))
}
press() { # pid yes|okay|no
    local id geometry x y h
    id=$(message_box "$1") || return 1
    geometry=$(xdotool getwindowgeometry "$id")
    x=$(sed -n 's/.*Position: \([0-9]*\),.*/\1/p' <<<"$geometry")
    y=$(sed -n 's/.*Position: [0-9]*,\([0-9]*\) .*/\1/p' <<<"$geometry")
    h=$(sed -n 's/.*Geometry: 340x\([0-9]*\).*/\1/p' <<<"$geometry")
    case "$2" in yes) x=$((x + 93)) ;; okay) x=$((x + 168)) ;; no) x=$((x + 240)) ;; esac
    click "$x" $((y + h - 19))
    wait_for 10 not visible "$1" "$id"
}
typeText() { xdotool type --delay 10 "$1"; }

# The colour of one screen pixel, as ImageMagick writes it (#RRGGBB).
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -1; }
pixel_is() { [ "$(pixel "$1" "$2")" == "$3" ]; }

expect_file() { # file expected-bytes (printf form)
    local want got
    want=$(printf "$2" | od -An -c)
    got=$(od -An -c "$1" 2>/dev/null)
    [ "$want" == "$got" ] || fail "$1 holds$(printf '\n%s' "$got")$(printf '\nnot\n%s' "$want")"
}
lines_in() { [ "$(tr -cd '\n' <"$1" 2>/dev/null | wc -c)" -eq "$2" ]; } # file count
