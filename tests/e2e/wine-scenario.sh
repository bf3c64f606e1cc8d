#!/usr/bin/env bash
# The Windows build, skerrow.exe, under Wine on a private X server, driven by real input
# events through Wine's own Win32 dialogs: open a sample file, check the plot, select all,
# write, exit. Checks a screenshot, the file written and the exit code. The first run also
# picks as the Linux scenario does: the pointer's coordinates, a polygon with a vertex taken
# back, the points outside a rectangle, and a rectangle in a zoomed view.
# Given the installer too, it then installs it silently, checks the installed files and
# the Start-menu entry, runs the installed program through the same scenario, and
# uninstalls it again, all in the one Wine prefix.
# Usage: wine-scenario.sh <skerrow.exe> [folder for screenshots and output] [installer]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
need_tools wine wineserver
exe=$(realpath "$1")
E2E_OUT=${2:-$(mktemp -d)}
mkdir -p "$E2E_OUT"
E2E_OUT=$(cd "$E2E_OUT" && pwd)
rm -f "$E2E_OUT/failed"
rm -f "$E2E_OUT"/*.png "$E2E_OUT"/*.csv
examples=$(cd "$here/../../examples" && pwd)
echo "screenshots and output in $E2E_OUT"
[ -f "$exe" ] || fail "no $exe: build it first (tools/run-tests.sh cross-builds it)"
installer=${3:+$(realpath "$3")}
[ -z "$installer" ] || [ -f "$installer" ] || fail "no $installer: make it first (cd build-win && cpack -G NSIS)"
E2E_WAIT=${E2E_WAIT_WINE:-90}  # Wine's first start of a fresh prefix is slow
start_x

# A fresh Wine prefix of our own, without the Mono and Gecko installers.
export WINEPREFIX="$E2E_OUT/wineprefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null; kill "$E2E_XVFB" 2>/dev/null' EXIT
step "a fresh Wine prefix"
timeout 300 wine wineboot --init >"$E2E_OUT/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -n3 "$E2E_OUT/wineboot.log")"
timeout 60 wineserver -w || true
windows_path() { echo "Z:$(echo "$1" | tr / '\\')"; }

# One run of the scenario with a skerrow.exe: $1 its path, $2 a name for its files.
scenario() {
    local exe=$1 run=$2 pid main box rest frameX frameY clientX clientY inside lit code
    step "$run: the window appears"
    wine "$1" >"$E2E_OUT/$run-program.log" 2>&1 &
    pid=$!
    main=$(wait_window "^Skerrow v1\.0 ")
    sleep 1

    step "$run: File > Open by Alt mnemonics, the note, a typed path, Swap Fields"
    xdotool key alt+f
    sleep 0.5
    xdotool key o
    wait_window "^Note:$" >/dev/null
    sleep 0.5
    xdotool key Return
    wait_window "^Open$" >/dev/null
    sleep 1
    xdotool type --delay 5 "$(windows_path "$examples/topo-knoll.csv")"
    xdotool key Return
    wait_window "^Swap Fields$" >/dev/null
    sleep 0.5
    xdotool key Return

    step "$run: the plot: red frame of the fitted size, points inside"
    # topo-knoll.csv fits into the frame (35, 30) to (928, 670): a red box of 895 x 642 that
    # starts 34, 29 from the client area's corner, wherever Wine puts the client area.
    framed() {
        local box
        box=$(colour_box "$1" "#FF0000")
        [ "${box%%+*}" = "895x642" ]
    }
    until_screen "$run-plot" "no red frame of 895 x 642 pixels" framed
    box=$(colour_box "$E2E_OUT/$run-plot.png" "#FF0000")
    rest=${box#*+}
    frameX=${rest%%+*} frameY=${rest#*+}
    clientX=$((frameX - 34)) clientY=$((frameY - 29))
    eval "$(xdotool getwindowgeometry --shell "$main")"
    [ "$clientX" = "$X" ] || fail "the client area starts at x $clientX, the window at $X"
    inside="886x636+$((frameX + 3))+$((frameY + 3))"
    lit=$(lit_pixels "$E2E_OUT/$run-plot.png" "$inside")
    [ "$lit" -ge 400 ] && [ "$lit" -le 600 ] || fail "$lit lit pixels in the plot for 600 points"
    [ "$(count_colour "$E2E_OUT/$run-plot.png" "$inside" "#000032")" -ge 1 ] || fail "the lowest point is not dark blue (0, 0, 50)"
    [ "$(count_colour "$E2E_OUT/$run-plot.png" "$inside" "#FEFEFE")" -ge 1 ] || fail "the highest point is not near white"
    [ "$(count_colour "$E2E_OUT/$run-plot.png" "250x22+$((clientX + 4))+$((clientY + 6))" "#FFFFFF")" -gt 40 ] ||
        fail "no file name in the panel"

    step "$run: Select All by Alt mnemonic, Write File As, the save dialog, File Saved"
    xdotool key alt+s
    sleep 0.5
    xdotool key Return
    wait_window "Write File As$" >/dev/null
    sleep 0.5
    xdotool key Return
    wait_window "^Save As$" >/dev/null
    sleep 1
    xdotool type --delay 5 "$(windows_path "$E2E_OUT/$run-all.csv")"
    xdotool key Return
    wait_window "^File Saved$" >/dev/null
    sleep 0.5
    xdotool key Return
    window_gone "^File Saved$"
    sed 's/$/\r/' "$examples/topo-knoll.csv" >"$E2E_OUT/expected-all.csv"
    same_file "$E2E_OUT/expected-all.csv" "$E2E_OUT/$run-all.csv"
    nothing_red() { [ "$(count_colour "$1" "954x691+$clientX+$clientY" "#FF0000")" = 0 ]; }
    until_screen "$run-after-write" "the plot is still shown after the write" nothing_red

    [ "$run" != bare ] || picking

    step "$run: File > Exit ends the process with 0"
    xdotool key alt+f
    sleep 0.5
    xdotool key x
    code=0
    timeout "$E2E_WAIT" tail --pid="$pid" -f /dev/null || fail "skerrow.exe did not end after Exit"
    wait "$pid" || code=$?
    [ "$code" = 0 ] || fail "skerrow.exe ended with $code"
}

# Picking on the plot of topo-knoll.csv, its window black after a write: client pixel
# (x, y) is screen pixel (clientX + x, clientY + y). The written files are the Linux
# scenario's, byte for byte.
picking() {
    local x y vertex
    sx() { echo $((clientX + $1)); }
    sy() { echo $((clientY + $1)); }
    client="954x691+$clientX+$clientY"
    row_rgb() { convert "$1" -crop "${4}x1+$(sx "$2")+$(sy "$3")" +repage "${@:5}" rgb:-; }
    redraw() {
        xdotool key alt+r
        until_screen "$1" "no plot after Redraw" framed
    }
    menu_item() {
        xdotool key alt+a
        sleep 0.5
        xdotool key "$1"
        sleep 0.5
    }
    write_as() {
        wait_window "Write File As$" >/dev/null
        sleep 0.5
        xdotool key Return
        wait_window "^Save As$" >/dev/null
        sleep 1
        xdotool type --delay 5 "$(windows_path "$E2E_OUT/$1")"
        xdotool key Return
        wait_window "^File Saved$" >/dev/null
        sleep 0.5
        xdotool key Return
        window_gone "^File Saved$"
        same_file "$here/expected/$2" "$E2E_OUT/$1"
    }

    step "$run: the pointer's coordinates show under the frame and go when it leaves the frame"
    redraw "$run-redrawn"
    strip="270x18+$(sx 300)+$(sy 674)"
    xdotool mousemove "$(sx 400)" "$(sy 300)"
    pointer_shown() { [ "$(count_colour "$1" "$strip" "#FFFFFF")" -gt 60 ]; }
    until_screen "$run-pointer" "no coordinates in the panel's strip" pointer_shown
    xdotool mousemove "$(sx 10)" "$(sy 300)"
    as_redrawn() { cmp -s <(convert "$E2E_OUT/$run-redrawn.png" -crop "$client" +repage rgb:-) <(convert "$1" -crop "$client" +repage rgb:-); }
    until_screen "$run-pointer-gone" "the window is not as drawn once the pointer left the frame" as_redrawn

    step "$run: a polygon of 6 vertices, a 7th taken back with Backspace, closed with Enter"
    menu_item p
    for vertex in "200 150" "600 150" "850 350" "750 550" "550 480" "400 600" "150 600"; do
        read -r x y <<<"$vertex"
        xdotool mousemove "$(sx "$x")" "$(sy "$y")" click 1
        sleep 0.2
    done
    xdotool mousemove "$(sx 400)" "$(sy 650)"
    placed() {
        cmp -s <(row_rgb "$E2E_OUT/$run-redrawn.png" 200 150 400 -negate) <(row_rgb "$1" 200 150 400) &&
            cmp -s <(row_rgb "$E2E_OUT/$run-redrawn.png" 160 600 230 -negate) <(row_rgb "$1" 160 600 230)
    }
    until_screen "$run-polygon" "the polygon's edges do not invert exactly the pixels they cross" placed
    xdotool key BackSpace
    taken_back() {
        cmp -s <(row_rgb "$E2E_OUT/$run-redrawn.png" 160 600 230) <(row_rgb "$1" 160 600 230) &&
            cmp -s <(row_rgb "$E2E_OUT/$run-redrawn.png" 200 150 400 -negate) <(row_rgb "$1" 200 150 400)
    }
    until_screen "$run-taken-back" "the edge taken back did not give its pixels back exactly" taken_back
    xdotool key Return
    write_as "$run-polygon.csv" topo-polygon.csv

    step "$run: Points Outside with a rectangle writes every other point"
    redraw "$run-redrawn-2"
    menu_item r
    menu_item o
    xdotool mousemove "$(sx 300)" "$(sy 200)" mousedown 1
    for x in 350 450 550 600; do xdotool mousemove "$(sx $x)" "$(sy $((x - 150)))"; sleep 0.1; done
    xdotool mouseup 1
    write_as "$run-outside.csv" topo-outside.csv
    menu_item o

    step "$run: a closer look dragged with the right button, then a rectangle in it"
    redraw "$run-redrawn-3"
    xdotool mousemove "$(sx 200)" "$(sy 150)" mousedown 3
    for x in 300 400 500 600; do xdotool mousemove "$(sx $x)" "$(sy $((x * 3 / 4)))"; sleep 0.1; done
    xdotool mouseup 3
    zoomed() {
        [ "$(colour_box "$1" "#FF0000")" = "851x642+$(sx 57)+$(sy 27)" ] &&
            [ "$(count_colour "$1" "100x18+$(sx 590)+$(sy 672)" "#FFFFFF")" -gt 60 ]
    }
    until_screen "$run-zoomed" "no zoomed view of the box" zoomed
    xdotool mousemove "$(sx 158)" "$(sy 128)" mousedown 1
    for x in 200 300 400 458; do xdotool mousemove "$(sx $x)" "$(sy $((x * 5 / 6)))"; sleep 0.1; done
    xdotool mousemove "$(sx 458)" "$(sy 378)"
    xdotool mouseup 1
    write_as "$run-zoom-rectangle.csv" topo-zoom-rectangle.csv
    xdotool key alt+w
    until_screen "$run-whole-again" "Whole File did not bring the whole file back" framed
}

scenario "$exe" bare
[ -n "$installer" ] || { echo "wine scenario passed"; exit 0; }

step "the installer, silently: the program, README, examples, a Start-menu entry and an uninstaller"
timeout 120 wine "$installer" /S >"$E2E_OUT/install.log" 2>&1 || fail "the installer failed: $(tail -n3 "$E2E_OUT/install.log")"
installed="$WINEPREFIX/drive_c/Program Files/Skerrow"
for file in skerrow.exe README.md examples/topo-knoll.csv Uninstall.exe; do
    [ -f "$installed/$file" ] || fail "the installer did not put $file in $installed"
done
start_menu_entry() { find "$WINEPREFIX/drive_c" -path "*Start Menu/Programs/Skerrow*/$1" 2>/dev/null | head -n1; }
[ -n "$(start_menu_entry Skerrow.lnk)" ] || fail "no Start-menu entry Skerrow.lnk"
[ -n "$(start_menu_entry Uninstall.lnk)" ] || fail "no Start-menu entry Uninstall.lnk"

scenario "$installed/skerrow.exe" installed

step "the uninstaller, silently, removes the program and its Start-menu entries"
# It copies itself out of the folder it removes and goes on from there: wait for the files.
timeout 60 wine "$installed/Uninstall.exe" /S >"$E2E_OUT/uninstall.log" 2>&1 || fail "the uninstaller failed"
for i in $(seq $((E2E_WAIT * 10))); do
    [ ! -e "$installed/skerrow.exe" ] && [ -z "$(start_menu_entry Skerrow.lnk)" ] && break
    sleep 0.1
done
[ ! -e "$installed/skerrow.exe" ] || fail "the uninstaller left $installed/skerrow.exe"
[ -z "$(start_menu_entry Skerrow.lnk)" ] || fail "the uninstaller left the Start-menu entry"
echo "wine scenario passed"
