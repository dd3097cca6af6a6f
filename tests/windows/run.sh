#!/bin/bash
# The Windows build under Wine on a private X server: its core and window
# tests, then the real platterbook.exe against the Linux build on the same
# input (a first run, --add-disc, --export-csv -, a comment typed, the end of
# the session), the bytes compared with cmp, and the installer.
#
#   run.sh SOURCE OUT VERSION    (packaging/windows/build.sh test calls it)
set -uo pipefail
here=$1 out=$2 version=$3
linux="${PLATTERBOOK_BUILD:-$here/build}/platterbook"
work=$(mktemp -d)
cleanup() { wineserver -k 2>/dev/null; kill -9 $xvfb 2>/dev/null; rm -rf "$work"; }; trap cleanup EXIT
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QT_QPA_PLATFORM=
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"; mkdir -p "$HOME"
source "$here/tests/e2e/x11.sh"
start_display 1280x1024
wineboot -i >/dev/null 2>&1
win() { winepath -w "$1"; }
# A visible window of the given size, whichever program it is.
sized() { for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    xdotool getwindowgeometry "$id" | grep -q "Geometry: $1\$" && return 0; done; return 1; }

# 1. The tests, cross-built: on an offscreen screen of 1280 pixels.
screen="offscreen:configfile=$(win "$out/cross/tests/screen1280.json" | sed 's#\\#/#g')"
QT_QPA_PLATFORM="$screen" wine "$out/cross/tests/core_tests.exe" --gtest_brief=1 || fail "core tests"
QT_QPA_PLATFORM="$screen" wine "$out/cross/tests/window_tests.exe" --gtest_brief=1 \
    --gtest_filter=-X11.* || fail "window tests"

# 2. The same bytes as the Linux build. The program folders are portable
# copies; the catalogue starts with a first run.
mkdir -p "$work/linux" && cp -r "$out/Platterbook" "$work/windows" && cp "$linux" "$work/linux/platterbook"
(cd "$work/windows" && wine platterbook.exe >"$work/log" 2>&1) &
wait_for 60 sized 340x130 || fail "no first-run question under Wine"
xdotool key Tab space                                   # Yes
wait_for 20 sized 340x1[0-9][0-9] && xdotool key Return # the note, Okay
wait_for 20 sized 718x610 || fail "no main window after the first run"
xdotool key ctrl+w
wait_for 20 not sized 718x610 || fail "Ctrl+W did not end the program"
i="$work/windows/Data/index.txt"; [ -f "$i" ] && [ ! -s "$i" ] || fail "the first run made no empty index"
mkdir -p "$work/linux/Data" && : >"$work/linux/Data/index.txt"

python3 -c "import wave; [(w := wave.open('$work/t%d.wav' % n, 'wb'), w.setnchannels(1), w.setsampwidth(2),
    w.setframerate(8000), w.writeframes(b'\0\0' * 8000 * n)) for n in (1, 2)]"
flac -s -f -T "ARTIST=Mireille Dubois" -T "TITLE=Café du Port" -T "DATE=1974" -o "$work/a.flac" "$work/t1.wav"
lame --quiet --ta "Kenji Aoyama" --tt "Night Tram" --ty 1981 "$work/t2.wav" "$work/b.mp3"
"$work/linux/platterbook" --data "$work/linux/Data" --add-disc "Mix" --format lp \
    "$work/a.flac" "$work/b.mp3" >/dev/null
(cd "$work/windows" && wine platterbook.exe --add-disc Mix --format lp "$(win "$work/a.flac")" \
    "$(win "$work/b.mp3")" >/dev/null 2>&1)
for f in index.txt Mix.txt; do cmp "$work/linux/Data/$f" "$work/windows/Data/$f" || fail "$f differs"; done
"$work/linux/platterbook" --data "$work/linux/Data" --export-csv - >"$work/linux.csv"
(cd "$work/windows" && wine platterbook.exe --export-csv - >"$work/windows.csv" 2>/dev/null)
cmp "$work/linux.csv" "$work/windows.csv" || fail "--export-csv - differs"

# 3. A comment typed into the first row, then the end of the session: the
# comment is in the file, byte for byte as the Linux build writes it.
python3 -c "import sys; l = open(sys.argv[1], 'rb').read().split(b'\r\n'); l[6] = b'late note'
open(sys.argv[1], 'wb').write(b'\r\n'.join(l))" "$work/linux/Data/Mix.txt"
x86_64-w64-mingw32-gcc -municode -o "$work/endsession.exe" "$here/tests/windows/endsession.c"
(cd "$work/windows" && wine platterbook.exe >>"$work/log" 2>&1) &
wait_for 60 sized 718x610 || fail "no main window"
xdotool mousemove 367 188 click 1 && xdotool key Down Return
wait_for 20 sized 718x178 || fail "Mix was not shown"
xdotool mousemove 880 226 click 1 && xdotool type "late note"
wine "$work/endsession.exe" "Platterbook – Mix" || fail "no window to end the session of"
wait_for 20 cmp -s "$work/linux/Data/Mix.txt" "$work/windows/Data/Mix.txt" ||
    fail "the comment is not in the file after the end of the session"
wineserver -k 2>/dev/null

# 4. The installer, silently for this user: the installed program keeps its
# catalogue in the user's data folder, and the uninstaller leaves it there.
wine "$out/platterbook-$version-setup.exe" /S /CurrentUser
installed=$(find "$WINEPREFIX/drive_c" -name platterbook.exe -path "*Platterbook*" | head -1)
appdata="$WINEPREFIX/drive_c/users/$USER/AppData/Roaming/Platterbook/Data"
[ -n "$installed" ] && [ -f "$(dirname "$installed")/platterbook.installed" ] || fail "not installed"
mkdir -p "$appdata" && cp "$work/linux/Data/"* "$appdata/"
wine "$installed" --export-csv - 2>/dev/null | cmp -s - "$work/linux.csv" ||
    fail "the installed program did not find its catalogue in the user's data folder"
wine "$(dirname "$installed")/uninstall.exe" /S /CurrentUser
wait_for 30 not test -f "$installed" || fail "the uninstaller left the program"
cmp -s "$appdata/Mix.txt" "$work/linux/Data/Mix.txt" || fail "the uninstaller touched the catalogue"

echo "windows tests: $failures failures"
exit $((failures > 0))
