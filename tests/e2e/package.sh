#!/bin/bash
# The package as a user gets it: the .deb built, installed with dpkg, its menu
# entry and software centre entry validated, the installed program started
# with the menu entry's command in a fresh home, its first-run question
# answered, and its catalogue found in the user's data folder; then the
# package is removed again. Needs root (CI runs as root); skipped otherwise.
#
#   package.sh BUILD_DIR
set -uo pipefail
build=$1
[ "$(id -u)" -eq 0 ] || { echo "installing a package needs root"; exit 77; }
work=$(mktemp -d)
app=""
xvfb=""
installed=""
trap 'kill -9 $app $xvfb 2>/dev/null; [ -n "$installed" ] && dpkg -r platterbook >/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/x11.sh"
id=org.platterbook.Platterbook

(cd "$build" && cpack -G DEB >/dev/null) || { echo "cpack failed"; exit 1; }
deb=$(ls "$build"/platterbook_*.deb | head -1)
dpkg -i "$deb" >/dev/null || { echo "dpkg -i failed"; exit 1; }
installed=yes
desktop-file-validate "/usr/share/applications/$id.desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "the metainfo does not validate"
for size in 16x16 32x32 48x48 256x256 scalable; do
    ls /usr/share/icons/hicolor/$size/apps/$id.* >/dev/null 2>&1 || fail "no $size icon"
done

# The command of the menu entry, with no display for the terminal answers.
command=$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop")
[ "$(command -v "$command")" == /usr/bin/platterbook ] || fail "the menu runs '$command'"
[ "$(env -u DISPLAY "$command" --version)" == "platterbook 1.0" ] || fail "--version"
env -u DISPLAY "$command" --help | grep -q -- '--data' || fail "--help"
env -u DISPLAY "$command" --no-such-option 2>/dev/null
[ $? -eq 2 ] || fail "an unknown option does not end with status 2"

# A fresh home: the first-run question, answered yes; the catalogue in the
# user's data folder, not beside the installed program.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
export QT_QPA_PLATFORM=xcb
start_display 1280x1024
"$command" >"$work/log" 2>&1 &
app=$!
disown $app
if wait_for 15 message_box $app >/dev/null; then
    press $app yes                             # the first time: yes
    wait_for 10 message_box $app >/dev/null || fail "no note on the new folder"
    press $app okay
    wait_for 10 shows $app 718x610 || fail "the main window did not open"
else
    fail "no first-run question"
fi
data="$XDG_DATA_HOME/Platterbook/Data"
wait_for 10 test -f "$data/index.txt" || fail "no catalogue in $data"
[ -s "$data/index.txt" ] && fail "the new index is not empty"
[ -e /usr/bin/Data ] && fail "a Data folder beside the installed program"
xdotool key ctrl+w
wait_for 10 ended $app || fail "Ctrl+W did not end the installed program"

if [ $failures -ne 0 ]; then
    echo "the program said:"
    cat "$work/log"
    exit 1
fi
echo "the package installs, validates, and keeps its catalogue in $data"
