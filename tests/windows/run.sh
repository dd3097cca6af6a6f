#!/bin/bash
# The real platterbook.exe under Wine on a private X server, against the Linux
# build on the same input: a first run, --add-disc from FLAC and MP3 files,
# --export-csv -, a comment typed and then the end of the session,
# --duplicates and --stats, each compared byte for byte; then the installer,
# silently, for this user.
#
#   run.sh SOURCE OUT VERSION LINUX_PROGRAM   (packaging/windows/build.sh test)
set -uo pipefail
here=$1 out=$2 version=$3 linux=$4
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; kill -9 $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QT_QPA_PLATFORM=
source "$here/tests/e2e/x11.sh"
start_display 1280x1024
wineboot -i >/dev/null 2>&1
ours() { (cd "$work/windows" && timeout 60 wine platterbook.exe "$@" </dev/null 2>/dev/null); }
theirs() { "$linux" --data "$work/linux/Data" "$@" 2>/dev/null; }
# The shown window of the given size, whichever program it is: its id.
sized() { for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    xdotool getwindowgeometry "$id" | grep -q "Geometry: $1\$" && echo "$id" && return 0; done; return 1; }
at() { # a click at a place in the window of the given size
    local position
    position=$(xdotool getwindowgeometry "$(sized "$1")" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\) .*/\1 \2/p')
    set -- "$1" "$2" "$3" $position
    click $(($4 + $2)) $(($5 + $3))
}

# 1. A first run, in a portable folder: Yes, then Okay, makes Data and the
# empty index that the Linux build's first run makes (its own tests see to it).
mkdir -p "$work/linux/Data" && : >"$work/linux/Data/index.txt"
cp -r "$out/Platterbook" "$work/windows"
(cd "$work/windows" && wine platterbook.exe >/dev/null 2>&1) &
wait_for 60 sized 340x130 >/dev/null || fail "no first-run question"
at 340x130 93 111
wait_for 20 sized 340x136 >/dev/null && xdotool key Return
wait_for 20 sized 718x610 >/dev/null || fail "no main window after the first run"
xdotool key ctrl+w
wait_for 20 not sized 718x610 >/dev/null || fail "Ctrl+W did not end the program"
cmp "$work/linux/Data/index.txt" "$work/windows/Data/index.txt" || fail "the first run's index"

# 2. The same disc from the same files, and the same spreadsheet.
python3 -c "import wave; [(w := wave.open('$work/t%d.wav' % n, 'wb'), w.setnchannels(1),
    w.setsampwidth(2), w.setframerate(8000), w.writeframes(b'\0\0' * 8000 * n)) for n in (1, 2)]"
flac -s -T "ARTIST=Mireille Dubois" -T "TITLE=Café du Port" -T DATE=1974 -o "$work/a.flac" "$work/t1.wav"
lame --quiet --ta "Kenji Aoyama" --tt "Night Tram" --ty 1981 "$work/t2.wav" "$work/b.mp3"
theirs --add-disc Mix --format lp "$work/a.flac" "$work/b.mp3" >/dev/null
ours --add-disc Mix --format lp "$(winepath -w "$work/a.flac")" "$(winepath -w "$work/b.mp3")" >/dev/null
for f in index.txt Mix.txt; do cmp "$work/linux/Data/$f" "$work/windows/Data/$f" || fail "$f"; done
theirs --export-csv - >"$work/linux.csv"
ours --export-csv - | cmp - "$work/linux.csv" || fail "--export-csv -"

# 3. A comment typed into the first row, then the end of the session: the
# comment is in the file as the Linux build writes it.
python3 -c "import sys; l = open(sys.argv[1], 'rb').read().split(b'\r\n'); l[6] = b'late note'
open(sys.argv[1], 'wb').write(b'\r\n'.join(l))" "$work/linux/Data/Mix.txt"
x86_64-w64-mingw32-gcc -o "$work/endsession.exe" "$here/tests/windows/endsession.c"
(cd "$work/windows" && wine platterbook.exe >/dev/null 2>&1) &
wait_for 60 sized 718x610 >/dev/null || fail "no main window"
at 718x610 150 68 && xdotool key Down Return
wait_for 20 sized 718x178 >/dev/null || fail "Mix was not shown"
at 718x178 616 107 && xdotool type "late note"
# The messages are sent, not posted: the program has answered them once the
# tool returns.
wine "$work/endsession.exe" || fail "no window to end the session of"
cmp -s "$work/linux/Data/Mix.txt" "$work/windows/Data/Mix.txt" ||
    fail "the comment is not in the file after the end of the session"
wait_for 20 not sized 718x178 >/dev/null || fail "the end of the session did not end the program"

# 4. A second disc from the first file: the duplicates and the figures, to a
# pipe, are the Linux build's bytes (UTF-8, LF).
theirs --add-disc Again "$work/a.flac" >/dev/null
ours --add-disc Again "$(winepath -w "$work/a.flac")" >/dev/null
for task in duplicates stats; do
    theirs --$task >"$work/$task.txt"
    ours --$task | cmp - "$work/$task.txt" || fail "--$task"
done
grep -q "Again, track 1: Mireille Dubois – Café du Port" "$work/duplicates.txt" ||
    fail "--duplicates did not find the song on both discs"

# 5. The installer: the installed program keeps its catalogue in the user's
# data folder, and the uninstaller leaves it there.
timeout 120 wine "$out/platterbook-$version-setup.exe" /S /CurrentUser
installed=$(find "$WINEPREFIX/drive_c" -name platterbook.exe -path "*Programs/Platterbook*")
appdata=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -name Roaming)/Platterbook/Data
[ -f "$(dirname "$installed")/platterbook.installed" ] || fail "not installed"
mkdir -p "$appdata" && cp "$work/linux/Data/"* "$appdata/"
theirs --export-csv - >"$work/linux.csv"
timeout 60 wine "$installed" --export-csv - </dev/null 2>/dev/null | cmp -s - "$work/linux.csv" ||
    fail "the installed program did not find its catalogue in the user's data folder"
timeout 120 wine "$(dirname "$installed")/uninstall.exe" /S /CurrentUser
wait_for 30 not test -f "$installed" || fail "the uninstaller left the program"
cmp -s "$appdata/Mix.txt" "$work/linux/Data/Mix.txt" || fail "the uninstaller touched the catalogue"

echo "windows end to end: $failures failures"
exit $((failures > 0))
