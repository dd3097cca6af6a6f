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
