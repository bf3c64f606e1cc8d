#!/usr/bin/env bash
# The Debian package: installs with apt (which brings its Qt 6 dependencies), puts the
# program, desktop entry and icon in place, and the installed program opens its window
# under a private X server and ends with 0 on File > Exit. Removes the package afterwards.
# Needs root. Usage: package-test.sh <skerrow_*.deb> [folder for screenshots]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
need_tools apt-get
deb=$(realpath "$1")
E2E_OUT=${2:-$(mktemp -d)}
mkdir -p "$E2E_OUT"
E2E_OUT=$(cd "$E2E_OUT" && pwd)
rm -f "$E2E_OUT/failed"

step "apt-get installs the package"
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" >"$E2E_OUT/apt.log" 2>&1 ||
    fail "apt-get install failed: $(tail -n5 "$E2E_OUT/apt.log")"
start_x
trap 'kill "$E2E_XVFB" 2>/dev/null; DEBIAN_FRONTEND=noninteractive apt-get remove -y skerrow >/dev/null 2>&1' EXIT
for file in /usr/bin/skerrow /usr/share/applications/skerrow.desktop /usr/share/icons/hicolor/scalable/apps/skerrow.svg; do
    [ -f "$file" ] || fail "the package did not install $file"
done
grep -qx "Exec=skerrow %f" /usr/share/applications/skerrow.desktop || fail "the desktop entry does not start skerrow with the file"
# File managers list Skerrow under "Open with" for point files by the type the entry names.
grep -qx "MimeType=text/csv;" /usr/share/applications/skerrow.desktop || fail "the desktop entry names no text/csv"

step "the installed program opens its window and ends with 0 on Exit"
cd "$E2E_OUT"
/usr/bin/skerrow >"$E2E_OUT/program.log" 2>&1 &
pid=$!
main=$(wait_window "^Skerrow v1\.0 ")
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH,$HEIGHT" = "954,711" ] || fail "window content ${WIDTH}x$HEIGHT, not 954x711"
menu_shown() { [ "$(count_colour "$1" "400x18+3+27" "#000000")" -lt 7000 ]; }
until_screen installed "the window shows no menu bar" menu_shown
sleep 0.3
xdotool key alt+f
sleep 0.3
xdotool key x
code=0
timeout "$E2E_WAIT" tail --pid="$pid" -f /dev/null || fail "the program did not end after Exit"
wait "$pid" || code=$?
[ "$code" = 0 ] || fail "the installed program ended with $code: $(tail -n3 "$E2E_OUT/program.log")"
echo "package test passed"
