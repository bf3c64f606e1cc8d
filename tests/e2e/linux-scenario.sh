#!/usr/bin/env bash
# The Linux build in a real window on a real X server, driven only by real input events:
# menus by mouse and by Alt mnemonics, the file dialogs by typing a path, Swap Fields by
# keyboard, a rectangle and a circle dragged with the pointer, the write options, the
# message boxes and Exit. Checks screenshots, the files written, the exit code, and that
# the keyboard focus is back on the main window whenever its dialogs have closed.
# With E2E_WM=openbox the same scenario runs under Openbox, whose theme gives the frame
# Windows' size: it also checks the outer window and its caption, ends the program with the
# frame's close box, and photographs a generated terrain for the README.
# Usage: linux-scenario.sh <skerrow program> [folder for screenshots and output]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
need_tools
program=$(realpath "$1")
E2E_OUT=${2:-$(mktemp -d)}
mkdir -p "$E2E_OUT"
E2E_OUT=$(cd "$E2E_OUT" && pwd)
rm -f "$E2E_OUT/failed"
rm -f "$E2E_OUT"/*.png "$E2E_OUT"/*.csv "$E2E_OUT"/*.txt
examples=$(cd "$here/../../examples" && pwd)
echo "screenshots and output in $E2E_OUT"
wm=${E2E_WM:-}
[ -z "$wm" ] || [ "$wm" = openbox ] || fail "E2E_WM=$wm: only openbox is known"
[ -z "$wm" ] || command -v openbox >/dev/null || fail "openbox is not installed"
start_x
[ -z "$wm" ] || start_openbox

# The layer puts the window content at (3, 26) for a frame at 0,0: the menu bar, then the
# 954 x 691 client area from (3, 46). Client pixel (x, y) is screen pixel (x + 3, y + 46).
cx() { echo $(($1 + 3)); }
cy() { echo $(($1 + 46)); }
click() { xdotool mousemove "$1" "$2" click 1; }
# Once a dialog or message box has closed, the main window has the keyboard focus again:
# with the pointer outside the window, Alt+F opens the File menu.
focus_back() {
    local focus="" i
    xdotool mousemove 1270 1010
    pointer_at 1270 1010
    for i in $(seq $((E2E_WAIT * 10))); do
        focus=$(xdotool getwindowfocus 2>/dev/null || true)
        [ "$focus" = "$main" ] && break
        sleep 0.1
    done
    [ "$focus" = "$main" ] || fail "the keyboard focus is on window $focus, not on the main window, after $1"
    popup xdotool key alt+f
    xdotool key Escape Escape
    menu_closed
}

# stakeout-header.csv without its header: X 633100 to 633347, Y 5288401 to 5288578, so the
# plot is height-limited, 630 / 177 pixels a unit, in the frame (38, 30) to (928, 670).
left=38 top=30 right=928 bottom=670
plot_region="$((right - left - 4))x$((bottom - top - 4))+$(cx $((left + 2)))+$(cy $((top + 2)))"

# The red frame is 3 pixels wide around the frame's outline, on both sides of it.
frame_drawn() {
    [ "$(colour_box "$1" "#FF0000")" = "$((right - left + 2))x$((bottom - top + 2))+$(cx $((left - 1)))+$(cy $((top - 1)))" ]
}
# The window cleared under a dialog: no red frame, no panel text.
plot_gone() {
    [ "$(count_colour "$1" "954x691+3+46" "#FF0000")" = 0 ] && [ "$(count_colour "$1" "250x22+$(cx 4)+$(cy 6)" "#FFFFFF")" = 0 ]
}
client_black() {
    [ "$(count_colour "$1" "954x691+3+46" "#000000")" = $((954 * 691)) ]
}

step "the window appears at its fixed place and size, black"
"$program" >"$E2E_OUT/program.log" 2>&1 &
pid=$!
main=$(wait_focused "^Skerrow v1\.0 ")
window_geometry "$main"
[ "$X,$Y,$WIDTH,$HEIGHT" = "3,26,954,711" ] || fail "window content at $X,$Y size ${WIDTH}x$HEIGHT, not 3,26 954x711"
until_screen start "the client area is not black at start" client_black
if [ -n "$wm" ]; then
    step "the frame: an outer window of 960 x 740 at 0,0 with the program's caption"
    # The theme draws the active window's border and title bar in one colour.
    framed_window() { [ "$(colour_box "$1" "#1E90FF")" = "960x740+0+0" ]; }
    until_screen frame "no active frame of 960 x 740 at 0,0" framed_window
    [[ "$(xdotool getwindowname "$main")" =~ ^Skerrow\ v1\.0\ \(.+\)$ ]] || fail "caption $(xdotool getwindowname "$main")"
    # The caption's text, right of the icon: pixels of the title bar that are not its colour.
    caption=$((400 * 18 - $(count_colour "$E2E_OUT/frame.png" "400x18+30+4" "#1E90FF")))
    [ "$caption" -gt 300 ] || fail "no caption text in the title bar ($caption text pixels)"
fi

step "File > Open by Alt mnemonics; the first-open note"
popup xdotool key alt+f
xdotool key o
wait_focused "^Note:$" >/dev/null
xdotool key Return
window_gone "^Note:$"

step "the open dialog takes a typed path"
wait_focused "^Open$" >/dev/null
xdotool type --delay 2 "$examples/stakeout-header.csv"
xdotool key Return

step "Swap Fields by keyboard: keep No, tick the header box, Enter"
wait_focused "^Swap Fields$" >/dev/null
# Backwards from the first tab stop: Cancel, OK, then the header check box.
xdotool key --delay 100 shift+Tab shift+Tab shift+Tab space
sleep 0.2
xdotool key Return
window_gone "^Swap Fields$"

step "the plot: red frame, panel texts, points in elevation colours"
until_screen plot "no red frame at ($left, $top) to ($right, $bottom)" frame_drawn
img="$E2E_OUT/plot.png"
for region in "250x22+$(cx 4)+$(cy 6)" "130x20+$(cx 5)+$(cy $((bottom + 4)))" \
    "130x20+$(cx 145)+$(cy $((bottom + 4)))" "180x20+$(cx 765)+$(cy $((bottom + 4)))" \
    "200x28+$(cx 380)+$(cy $((top - 34)))"; do
    lit=$(count_colour "$img" "$region" "#FFFFFF")
    [ "$lit" -gt 40 ] || fail "no white panel text in $region ($lit white pixels)"
done
points=$(lit_pixels "$img" "$plot_region")
[ "$points" -ge 100 ] && [ "$points" -le 120 ] || fail "$points lit pixels in the plot for 120 points"
[ "$(count_colour "$img" "$plot_region" "#000032")" -ge 1 ] || fail "the lowest point is not dark blue (0, 0, 50)"
[ "$(count_colour "$img" "$plot_region" "#FEFEFE")" -ge 1 ] || fail "the highest point is not near white (254, 254, 254)"
focus_back "the note, the open dialog and Swap Fields"

step "a rectangle dragged with the pointer; the pointer cannot leave the frame"
xdotool mousemove "$(cx 300)" "$(cy 200)" mousedown 1
for x in 350 420 500 560 600; do xdotool mousemove "$(cx $x)" "$(cy $((x - 150)))"; done
rectangle_shown() {
    # The outline inverts black to white along its top and left edges.
    [ "$(count_colour "$1" "280x1+$(cx 310)+$(cy 200)" "#FFFFFF")" -ge 250 ] &&
        [ "$(count_colour "$1" "1x230+$(cx 300)+$(cy 210)" "#FFFFFF")" -ge 200 ]
}
until_screen outline "no rectangle outline while dragging" rectangle_shown
xdotool mousemove 1270 1010
pointer_at "$(cx $((right - 1)))" "$(cy $((bottom - 1)))"
xdotool mousemove 0 0
pointer_at "$(cx $left)" "$(cy $top)"
xdotool mousemove "$(cx 600)" "$(cy 450)"
pointer_at "$(cx 600)" "$(cy 450)"
xdotool mouseup 1

step "Write File As with its defaults; the save dialog; File Saved"
wait_focused "Write File As$" >/dev/null
until_screen written-black "the plot is still there during the write" plot_gone
xdotool key Return
wait_focused "^Save As$" >/dev/null
xdotool type --delay 2 "$E2E_OUT/rectangle.csv"
xdotool key Return
wait_focused "^File Saved$" >/dev/null
xdotool key Return
window_gone "^File Saved$"
same_file "$here/expected/stakeout-rectangle.csv" "$E2E_OUT/rectangle.csv"
focus_back "Write File As, the save dialog and File Saved"
until_screen after-write "the window is not black after the write" client_black

step "Redraw by mouse brings the plot back"
click 140 36
until_screen redrawn "no plot after Redraw" frame_drawn
cmp -s <(convert "$img" -crop "$plot_region" +repage rgb:-) \
    <(convert "$E2E_OUT/redrawn.png" -crop "$plot_region" +repage rgb:-) ||
    fail "the redrawn points differ from the first drawing"

step "AreaType > Circle by mouse"
popup click 75 36
xdotool key c
menu_closed

step "a circle dragged from its centre; a typed factor of 10, space separated"
xdotool mousemove "$(cx 450)" "$(cy 300)" mousedown 1
for x in 470 500 530; do xdotool mousemove "$(cx $x)" "$(cy 300)"; done
circle_shown() { [ "$(count_colour "$1" "3x160+$(cx 529)+$(cy 220)" "#FFFFFF")" -ge 3 ]; }
until_screen circle "no circle outline while dragging" circle_shown
xdotool mouseup 1
# Keyboard first: backwards from the first tab stop to " Modify Values? ", ticked; then the
# space separated form by mouse, its place taken from the dialog's size in dialog units.
dialog=$(wait_focused "Write File As$")
xdotool key --delay 100 shift+Tab shift+Tab shift+Tab space
window_geometry "$dialog"
click $((X + (16 + 20) * WIDTH / 140)) $((Y + (29 + 7) * HEIGHT / 120))
sleep 0.2
xdotool key Return
window_gone "Write File As$"
wait_focused "^ Conversion$" >/dev/null
# "Enter factor--->>" is preset; backwards to its edit, past OK, Cancel and the check box.
xdotool key --delay 100 shift+Tab shift+Tab shift+Tab shift+Tab ctrl+a
xdotool type --delay 20 "10"
xdotool key Return
wait_focused "^Save As$" >/dev/null
xdotool type --delay 2 "$E2E_OUT/circle"
xdotool key Return
wait_focused "^File Saved$" >/dev/null
xdotool key Return
window_gone "^File Saved$"
# The save dialog added the space form's extension.
same_file "$here/expected/stakeout-circle-times10.txt" "$E2E_OUT/circle.txt"
focus_back "Write File As, Conversion, the save dialog and File Saved"

step "File > Open cancelled in its dialog gives the focus back"
popup xdotool key alt+f
xdotool key o
wait_focused "^Open$" >/dev/null
xdotool key Escape
window_gone "^Open$"
focus_back "a cancelled open dialog"

step "a second file by mouse and key"
popup click 22 36
xdotool key o
wait_focused "^Open$" >/dev/null
xdotool type --delay 2 "$examples/topo-knoll.csv"
xdotool key Return
wait_focused "^Swap Fields$" >/dev/null
xdotool key Return
window_gone "^Swap Fields$"
# topo-knoll.csv: X 512300 to 512719, Y 4102150 to 4102449; height-limited, 630 / 299.
left=35 top=30 right=928 bottom=670
topo_drawn() {
    [ "$(colour_box "$1" "#FF0000")" = "$((right - left + 2))x$((bottom - top + 2))+$(cx $((left - 1)))+$(cy $((top - 1)))" ] &&
        [ "$(count_colour "$1" "860x300+$(cx 50)+$(cy 250)" "#000000")" -lt $((860 * 300 - 100)) ]
}
until_screen topo "no plot of topo-knoll.csv" topo_drawn

step "Select All by Alt mnemonic, written as it stands"
popup xdotool key alt+s
xdotool key Return
wait_focused "Write File As$" >/dev/null
xdotool key Return
wait_focused "^Save As$" >/dev/null
xdotool type --delay 2 "$E2E_OUT/all.csv"
xdotool key Return
wait_focused "^File Saved$" >/dev/null
xdotool key Return
window_gone "^File Saved$"
sed 's/$/\r/' "$examples/topo-knoll.csv" >"$E2E_OUT/expected-all.csv"
same_file "$E2E_OUT/expected-all.csv" "$E2E_OUT/all.csv"
focus_back "Write File As, the save dialog and File Saved"

# Writes through Write File As with its defaults and the save dialog, to $1 in E2E_OUT.
write_as() {
    wait_focused "Write File As$" >/dev/null
    until_screen "$1-black" "the plot is still there during the write" plot_gone
    xdotool key Return
    wait_focused "^Save As$" >/dev/null
    xdotool type --delay 2 "$E2E_OUT/$1"
    xdotool key Return
    wait_focused "^File Saved$" >/dev/null
    xdotool key Return
    window_gone "^File Saved$"
}
# A row of n client pixels from (x, y) in a screenshot, as bytes, negated when asked.
row_rgb() { convert "$1" -crop "${4}x1+$(cx "$2")+$(cy "$3")" +repage "${@:5}" rgb:-; }
redraw_topo() {
    click 140 36
    until_screen "$1" "no plot of topo-knoll.csv after Redraw" topo_drawn
}

step "the pointer's coordinates show under the frame and go when it leaves the frame"
redraw_topo topo-redrawn
strip="270x18+$(cx 300)+$(cy $((bottom + 4)))"
xdotool mousemove "$(cx 400)" "$(cy 300)"
pointer_shown() { [ "$(count_colour "$1" "$strip" "#FFFFFF")" -gt 60 ]; }
until_screen pointer "no coordinates in the panel's strip" pointer_shown
# One pixel right is one unit further (512471 for 512470): the strip shows another text.
xdotool mousemove "$(cx 401)" "$(cy 300)"
pointer_moved() { ! cmp -s <(convert "$E2E_OUT/pointer.png" -crop "$strip" +repage rgb:-) <(convert "$1" -crop "$strip" +repage rgb:-); }
until_screen pointer-moved "the strip did not follow the pointer" pointer_moved
xdotool mousemove "$(cx 10)" "$(cy 300)"
as_redrawn() {
    cmp -s <(convert "$E2E_OUT/topo-redrawn.png" -crop "954x691+3+46" +repage rgb:-) <(convert "$1" -crop "954x691+3+46" +repage rgb:-)
}
until_screen pointer-gone "the window is not as drawn once the pointer left the frame" as_redrawn

step "a polygon of 6 vertices placed by clicks, a 7th taken back with Backspace, closed with Enter"
popup xdotool key alt+a
xdotool key p
menu_closed
for vertex in "200 150" "600 150" "850 350" "750 550" "550 480" "400 600" "150 600"; do
    read -r x y <<<"$vertex"
    click "$(cx "$x")" "$(cy "$y")"
done
xdotool mousemove "$(cx 400)" "$(cy 650)"
# The edge from (200, 150) to (600, 150) inverts exactly the row it runs along, and so does
# the one from (400, 600) to (150, 600).
placed() {
    cmp -s <(row_rgb "$E2E_OUT/topo-redrawn.png" 200 150 400 -negate) <(row_rgb "$1" 200 150 400) &&
        cmp -s <(row_rgb "$E2E_OUT/topo-redrawn.png" 160 600 230 -negate) <(row_rgb "$1" 160 600 230)
}
until_screen polygon "the polygon's edges do not invert exactly the pixels they cross" placed
xdotool key BackSpace
taken_back() {
    cmp -s <(row_rgb "$E2E_OUT/topo-redrawn.png" 160 600 230) <(row_rgb "$1" 160 600 230) &&
        cmp -s <(row_rgb "$E2E_OUT/topo-redrawn.png" 200 150 400 -negate) <(row_rgb "$1" 200 150 400)
}
until_screen taken-back "the edge taken back did not give its pixels back exactly" taken_back
xdotool key Return
write_as polygon.csv
same_file "$here/expected/topo-polygon.csv" "$E2E_OUT/polygon.csv"
focus_back "a polygon's write"

step "Points Outside with a rectangle writes every other point"
redraw_topo topo-redrawn-2
popup xdotool key alt+a
xdotool key r
menu_closed
popup xdotool key alt+a
xdotool key o
menu_closed
xdotool mousemove "$(cx 300)" "$(cy 200)" mousedown 1
for x in 350 450 550 600; do xdotool mousemove "$(cx $x)" "$(cy $((x - 150)))"; done
xdotool mouseup 1
write_as outside.csv
same_file "$here/expected/topo-outside.csv" "$E2E_OUT/outside.csv"
focus_back "the write of the points outside"
popup xdotool key alt+a
xdotool key o
menu_closed

step "a closer look dragged with the right button, then a rectangle in it"
redraw_topo topo-redrawn-3
xdotool mousemove "$(cx 200)" "$(cy 150)" mousedown 3
for x in 300 400 500 600; do xdotool mousemove "$(cx $x)" "$(cy $((x * 3 / 4)))"; done
zoom_box_shown() {
    cmp -s <(row_rgb "$E2E_OUT/topo-redrawn-3.png" 200 150 400 -negate) <(row_rgb "$1" 200 150 400)
}
until_screen zoom-box "no inverting outline of the zoom box" zoom_box_shown
xdotool mouseup 3
# X 512375 to 512564, Y 4102252 to 4102394, fitted: the frame (58, 28) to (907, 668), and
# the note under it.
zoomed() {
    [ "$(colour_box "$1" "#FF0000")" = "851x642+$(cx 57)+$(cy 27)" ] &&
        [ "$(count_colour "$1" "100x18+$(cx 590)+$(cy 672)" "#FFFFFF")" -gt 60 ] &&
        [ "$(lit_pixels "$1" "845x636+$(cx 60)+$(cy 30)")" -gt 50 ]
}
until_screen zoomed "no zoomed view of the box" zoomed
xdotool mousemove "$(cx 158)" "$(cy 128)" mousedown 1
for x in 200 300 400 458; do xdotool mousemove "$(cx $x)" "$(cy $((x * 5 / 6)))"; done
xdotool mousemove "$(cx 458)" "$(cy 378)"
xdotool mouseup 1
write_as zoom-rectangle.csv
same_file "$here/expected/topo-zoom-rectangle.csv" "$E2E_OUT/zoom-rectangle.csv"
focus_back "a rectangle's write in the zoomed view"
click 140 36
until_screen zoomed-redrawn "Redraw did not draw the zoomed view" zoomed
xdotool key alt+w
until_screen whole-again "Whole File did not bring the whole file back" topo_drawn

if [ -n "$wm" ]; then
    step "the README's pictures: a generated terrain of 200,000 points, its plot and a rectangle dragged over it"
    awk -f "$here/terrain.awk" >"$E2E_OUT/terrain.csv"
    popup xdotool key alt+f
    xdotool key o
    wait_focused "^Open$" >/dev/null
    xdotool type --delay 2 "$E2E_OUT/terrain.csv"
    xdotool key Return
    wait_focused "^Swap Fields$" >/dev/null
    xdotool key Return
    window_gone "^Swap Fields$"
    # X 512000 to 512850, Y 4102000 to 4102679: height-limited, 630 / 679 pixels a unit, in
    # the frame (82, 29) to (880, 668). Points on every second pixel fill about a quarter of
    # it, from the valley floor in dark blue to the hilltop in near white.
    terrain_drawn() {
        [ "$(colour_box "$1" "#FF0000")" = "800x641+$(cx 81)+$(cy 28)" ] &&
            [ "$(lit_pixels "$1" "790x630+$(cx 84)+$(cy 31)")" -gt 110000 ] &&
            [ "$(count_colour "$1" "790x630+$(cx 84)+$(cy 31)" "#000032")" -ge 1 ] &&
            [ "$(count_colour "$1" "790x630+$(cx 84)+$(cy 31)" "#FEFEFE")" -ge 1 ]
    }
    until_screen terrain "no plot of the terrain" terrain_drawn
    convert "$E2E_OUT/terrain.png" -crop 960x740+0+0 +repage "$E2E_OUT/skerrow-plot.png"
    popup xdotool key alt+a
    xdotool key r
    menu_closed
    xdotool mousemove "$(cx 200)" "$(cy 180)" mousedown 1
    for x in 260 340 420 500 560; do xdotool mousemove "$(cx $x)" "$(cy $((x - 60)))"; done
    # Dragged over the terrain, the outline inverts every pixel it crosses: none of its top
    # edge keeps the colour it had in the plot.
    outline_over_terrain() {
        cmp -s <(convert "$E2E_OUT/terrain.png" -crop "360x1+$(cx 200)+$(cy 180)" +repage -negate rgb:-) \
            <(convert "$1" -crop "360x1+$(cx 200)+$(cy 180)" +repage rgb:-)
    }
    until_screen dragging "no inverted outline over the terrain" outline_over_terrain
    convert "$E2E_OUT/dragging.png" -crop 960x740+0+0 +repage "$E2E_OUT/skerrow-drag.png"
    xdotool mouseup 1
    wait_focused "Write File As$" >/dev/null
    xdotool key Escape
    window_gone "Write File As$"
    focus_back "a cancelled Write File As"

    step "the frame's close box ends the process with 0, as Exit does"
    # The theme's close box turns red under the pointer.
    xdotool mousemove 947 13
    close_box_lit() { [ "$(count_colour "$1" "30x20+928+3" "#E81123")" -gt 50 ]; }
    until_screen close-box "the close box at the frame's top right does not light up under the pointer" close_box_lit
    xdotool click 1
else
    step "File > Exit by Alt mnemonics ends the process with 0"
    popup xdotool key alt+f
    xdotool key x
fi
code=0
timeout "$E2E_WAIT" tail --pid="$pid" -f /dev/null || fail "the program did not end after Exit"
wait "$pid" || code=$?
[ "$code" = 0 ] || fail "the program ended with $code"
echo "linux scenario passed"
