#!/usr/bin/env bash
# The Linux build at a device pixel ratio of 2 (QT_SCALE_FACTOR=2) on a real X server:
# the window, the panel texts and the dialogs are twice their size; every point is still
# one logical pixel, drawn as a 2 x 2 block of one colour; a dragged outline inverts exactly
# the pixels it crosses and gives them back when it moves on; the pointer cannot leave the
# plot frame during the drag; a polygon's vertices land where the pointer clicks them,
# its edges inverting exactly two device rows, and it writes the very points it does at a
# ratio of 1. The screenshot at the dialog is hidpi.png.
# Usage: hidpi-scenario.sh <skerrow program> [folder for screenshots]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
need_tools
program=$(realpath "$1")
E2E_OUT=${2:-$(mktemp -d)}
mkdir -p "$E2E_OUT"
E2E_OUT=$(cd "$E2E_OUT" && pwd)
rm -f "$E2E_OUT/failed" "$E2E_OUT"/*.png "$E2E_OUT"/*.csv
examples=$(cd "$here/../../examples" && pwd)
echo "screenshots in $E2E_OUT"
E2E_SCREEN=2560x1600x24 start_x
export QT_SCALE_FACTOR=2

# Screen pixels are device pixels: client pixel (x, y) covers 2 (x + 3) and 2 (y + 46) and
# the pixel right of and below that.
dx() { echo $((2 * ($1 + 3))); }
dy() { echo $((2 * ($1 + 46))); }

step "the window's content is twice 954 x 711, at twice (3, 26)"
"$program" >"$E2E_OUT/program.log" 2>&1 &
pid=$!
main=$(wait_focused "^Skerrow v1\.0 ")
window_geometry "$main"
[ "$X,$Y,$WIDTH,$HEIGHT" = "6,52,1908,1422" ] || fail "window content at $X,$Y size ${WIDTH}x$HEIGHT, not 6,52 1908x1422"

step "topo-knoll.csv opened by keys"
popup xdotool key alt+f
xdotool key o
wait_focused "^Note:$" >/dev/null
xdotool key Return
wait_focused "^Open$" >/dev/null
xdotool type --delay 2 "$examples/topo-knoll.csv"
xdotool key Return
wait_focused "^Swap Fields$" >/dev/null
xdotool key Return
window_gone "^Swap Fields$"

step "the plot twice its size: red frame, panel texts, points as 2 x 2 blocks"
# topo-knoll.csv fits into the frame (35, 30) to (928, 670), 600 points.
left=35 top=30 right=928 bottom=670
frame_drawn() {
    [ "$(colour_box "$1" "#FF0000")" = "$((2 * (right - left + 2)))x$((2 * (bottom - top + 2)))+$(dx $((left - 1)))+$(dy $((top - 1)))" ]
}
until_screen plot "no red frame of twice the size of ($left, $top) to ($right, $bottom)" frame_drawn
img="$E2E_OUT/plot.png"
inside="$((2 * (right - left - 4)))x$((2 * (bottom - top - 4)))+$(dx $((left + 2)))+$(dy $((top + 2)))"
# Halved by taking every second pixel and doubled again, a picture of 2 x 2 blocks is the same.
convert "$img" -crop "$inside" +repage "$E2E_OUT/points.png"
convert "$E2E_OUT/points.png" -sample 50% -sample 200% "$E2E_OUT/points-resampled.png"
blocks=$(compare -metric AE "$E2E_OUT/points.png" "$E2E_OUT/points-resampled.png" null: 2>&1 || true)
[ "$blocks" = 0 ] || fail "$blocks device pixels of the plot are not in 2 x 2 blocks of one colour"
lit=$(lit_pixels "$img" "$inside")
[ $((lit % 4)) = 0 ] && [ "$lit" -ge $((4 * 400)) ] && [ "$lit" -le $((4 * 600)) ] ||
    fail "$lit lit device pixels for 600 points of 2 x 2"
for region in "500x44+$(dx 4)+$(dy 6)" "260x40+$(dx 5)+$(dy $((bottom + 4)))" "360x40+$(dx 765)+$(dy $((bottom + 4)))"; do
    white=$(count_colour "$img" "$region" "#FFFFFF")
    [ "$white" -gt 160 ] || fail "no panel text of twice the size in $region ($white white pixels)"
done

step "a rectangle dragged: its outline inverts exactly; the pointer stays in the frame"
xdotool mousemove "$(dx 300)" "$(dy 200)" mousedown 1
for x in 350 420 500 560 600; do xdotool mousemove "$(dx $x)" "$(dy $((x - 150)))"; done
# Its top edge, client row 200 from column 300 to 599, is two device rows inverted; the
# device row above it is as it was.
crop_rgb() { convert "$1" -crop "$2" +repage "${@:3}" rgb:-; }
top_edge="600x2+$(dx 300)+$(dy 200)"
above="600x1+$(dx 300)+$(($(dy 200) - 1))"
outline_exact() {
    cmp -s <(crop_rgb "$img" "$top_edge" -negate) <(crop_rgb "$1" "$top_edge") &&
        cmp -s <(crop_rgb "$img" "$above") <(crop_rgb "$1" "$above")
}
until_screen outline "the outline does not invert exactly the two device rows of its top edge" outline_exact
xdotool mousemove 2550 1590
pointer_at "$(dx $((right - 1)))" "$(dy $((bottom - 1)))"
xdotool mousemove 0 0
pointer_at "$(dx $left)" "$(dy $top)"
# Back to a smaller rectangle: the right part of the first top edge is given back exactly.
xdotool mousemove "$(dx 450)" "$(dy 350)"
pointer_at "$(dx 450)" "$(dy 350)"
given_back="280x2+$(dx 460)+$(dy 200)"
restored() { cmp -s <(crop_rgb "$img" "$given_back") <(crop_rgb "$1" "$given_back"); }
until_screen smaller "the first outline's pixels were not given back exactly" restored
xdotool mouseup 1

step "Write File As twice its size, in a face that scales"
dialog=$(wait_focused "Write File As$")
window_geometry "$dialog"
# MS Sans Serif has bitmap strikes only, so at this density the dialog is drawn in the
# fallback face, whose units are 7 x 14: 245 x 210 logical pixels.
[ "$WIDTH,$HEIGHT" = "490,420" ] || fail "Write File As is ${WIDTH}x$HEIGHT, not 490x420"
dialog_texts() { [ "$(count_colour "$1" "${WIDTH}x${HEIGHT}+$X+$Y" "#000000")" -gt 500 ]; }
until_screen hidpi "Write File As shows no text" dialog_texts
xdotool key Escape
window_gone "Write File As$"

step "a polygon placed by clicks in device pixels: its vertices where the pointer is"
xdotool key alt+r
until_screen redrawn "no plot after Redraw" frame_drawn
popup xdotool key alt+a
xdotool key p
menu_closed
for vertex in "200 150" "600 150" "850 350" "750 550" "550 480" "400 600" "150 600"; do
    read -r x y <<<"$vertex"
    xdotool mousemove "$(dx "$x")" "$(dy "$y")" click 1
done
xdotool mousemove "$(dx 400)" "$(dy 650)"
# The edges along client rows 150 and 600 are two device rows each, inverted exactly.
first_edge="800x2+$(dx 200)+$(dy 150)"
last_edge="460x2+$(dx 160)+$(dy 600)"
edges_exact() {
    cmp -s <(crop_rgb "$E2E_OUT/redrawn.png" "$first_edge" -negate) <(crop_rgb "$1" "$first_edge") &&
        cmp -s <(crop_rgb "$E2E_OUT/redrawn.png" "$last_edge" -negate) <(crop_rgb "$1" "$last_edge")
}
until_screen polygon "the polygon's edges do not invert exactly the device rows of their client rows" edges_exact
xdotool key BackSpace
taken_back() { cmp -s <(crop_rgb "$E2E_OUT/redrawn.png" "$last_edge") <(crop_rgb "$1" "$last_edge"); }
until_screen taken-back "the edge taken back did not give its device pixels back exactly" taken_back
xdotool key Return
wait_focused "Write File As$" >/dev/null
xdotool key Return
wait_focused "^Save As$" >/dev/null
xdotool type --delay 2 "$E2E_OUT/polygon.csv"
xdotool key Return
wait_focused "^File Saved$" >/dev/null
xdotool key Return
window_gone "^File Saved$"
cmp -s "$here/expected/topo-polygon.csv" "$E2E_OUT/polygon.csv" || fail "the polygon wrote other points than at a ratio of 1"

step "File > Exit ends the process with 0"
popup xdotool key alt+f
xdotool key x
code=0
timeout "$E2E_WAIT" tail --pid="$pid" -f /dev/null || fail "the program did not end after Exit"
wait "$pid" || code=$?
[ "$code" = 0 ] || fail "the program ended with $code"
echo "hidpi scenario passed"
