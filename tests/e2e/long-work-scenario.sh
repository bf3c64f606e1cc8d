#!/usr/bin/env bash
# Long work a user watches and stops, in a real window on a real X server: a point file
# large enough that moving its points takes seconds on one worker. While the write runs
# the caption shows it and how far it has come; Esc stops it, which leaves the file it
# would have replaced with its old bytes and no new file beside it. The window answers
# meanwhile: a menu command given during the write starts nothing.
# Usage: long-work-scenario.sh <skerrow program> <make_points program> [folder for files]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
need_tools
program=$(realpath "$1")
make_points=$(realpath "$2")
E2E_OUT=${3:-$(mktemp -d)}
mkdir -p "$E2E_OUT"
E2E_OUT=$(cd "$E2E_OUT" && pwd)
rm -f "$E2E_OUT/failed" "$E2E_OUT"/*.png "$E2E_OUT"/*.csv "$E2E_OUT"/*.tmp
echo "screenshots and files in $E2E_OUT"
start_x

# Client pixel (x, y) is screen pixel (x + 3, y + 46), as in linux-scenario.sh.
cx() { echo $(($1 + 3)); }
cy() { echo $(($1 + 46)); }

step "a point file of 20 million lines, and a file an earlier write left"
"$make_points" 20000000 3 "$E2E_OUT/large.csv" >/dev/null
printf 'the points of an earlier write\r\n' >"$E2E_OUT/kept.csv"
cp "$E2E_OUT/kept.csv" "$E2E_OUT/kept-before.csv"

# The caption while a pass runs, seen within the limit; prints it.
caption_shows() {
    local pattern=$1 limit=$2 deadline name
    deadline=$((SECONDS + limit))
    while [ "$SECONDS" -lt "$deadline" ]; do
        name=$(xdotool getwindowname "$main" 2>/dev/null || true)
        if [[ "$name" =~ $pattern ]]; then
            echo "$name"
            return 0
        fi
        sleep 0.05
    done
    fail "the caption never matched '$pattern' within $limit s (last: $name)"
}

step "the program on one worker, so that every pass takes seconds"
SKERROW_THREADS=1 "$program" >"$E2E_OUT/program.log" 2>&1 &
pid=$!
main=$(wait_focused "^Skerrow v1\.0 ")
own=$(xdotool getwindowname "$main")

step "the Open of the large file"
popup xdotool key alt+f
xdotool key o
wait_focused "^Note:$" >/dev/null
xdotool key Return
window_gone "^Note:$"
wait_focused "^Open$" >/dev/null
xdotool type --delay 2 "$E2E_OUT/large.csv"
xdotool key Return
wait_focused "^Swap Fields$" >/dev/null
xdotool key Return
window_gone "^Swap Fields$"
# The drawing sets its points at its end: once they are there, the plot is drawn.
plot_drawn() { [ "$(lit_pixels "$1" "800x500+$(cx 80)+$(cy 100)")" -gt 50000 ]; }
until_screen plot "the plot of the large file was not drawn" plot_drawn
[ "$(xdotool getwindowname "$main")" = "$own" ] || fail "the caption is not the window's own after the Open"

step "Move All Pts. over the earlier file, seconds long on one worker: the caption shows it writing; Esc stops it"
popup xdotool key alt+s
# The menu opens on its first item; the move is the second, past the separator.
xdotool key Down Return
wait_focused "^Notice$" >/dev/null
xdotool key Return
wait_focused "^Save As$" >/dev/null
xdotool type --delay 2 "$E2E_OUT/kept.csv"
xdotool key Return
wait_focused "^Confirm Save As$" >/dev/null
xdotool key Return
writing=$(caption_shows " - Writing [0-9]+ % \(Esc stops\)$" 120)
echo "seen: $writing"
# The window answers but takes no command: Alt+F, O opens the menu and chooses Open, which
# is dropped.
popup xdotool key alt+f
xdotool key o
menu_closed
caption_shows " - Writing [0-9]+ % \(Esc stops\)$" 5 >/dev/null
xdotool key Escape
wait_focused "^Stopped$" >/dev/null
xdotool key Return
window_gone "^Stopped$"
cmp -s "$E2E_OUT/kept.csv" "$E2E_OUT/kept-before.csv" || fail "the stopped write changed the file it would have replaced"
if ls "$E2E_OUT"/*.skerrow-*.tmp >/dev/null 2>&1; then fail "the stopped write left its new file"; fi
[ "$(xdotool getwindowname "$main")" = "$own" ] || fail "the caption is not the window's own after the write"
if xdotool search --onlyvisible --name "^Open$" >/dev/null 2>&1; then fail "a command given during the write opened a dialog"; fi

step "Exit"
xdotool key alt+f x
timeout "$E2E_WAIT" tail --pid="$pid" -f /dev/null || fail "the program did not end after Exit"
echo "long work scenario passed"
