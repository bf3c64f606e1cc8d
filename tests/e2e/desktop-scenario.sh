#!/usr/bin/env bash
# Files the desktop hands over, driven by real input events on a private X server:
# - the Linux build started with a relative path in a folder with a blank (as a file
#   manager's "Open with" or the desktop entry's %f starts it): the note and Swap Fields by
#   keyboard, then the plot; a file dragged from another program (skerrow-drag-source, in
#   a file manager's stead) and dropped on the window replaces it; two paths get a message;
# - skerrow.exe under Wine with a path on its command line, and with two;
# - given the installer, its silent install registers Skerrow in the "Open with" list of
#   .csv files (wine reg query) without touching .csv's own value (given one first, as
#   another program would have), the registered command opens a file, and the silent
#   uninstall removes exactly those keys.
# Usage: desktop-scenario.sh <skerrow program> <skerrow-drag-source> [folder for screenshots
#        and output] [skerrow.exe] [installer]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
need_tools
program=$(realpath "$1")
source_program=$(realpath "$2")
E2E_OUT=${3:-$(mktemp -d)}
mkdir -p "$E2E_OUT"
E2E_OUT=$(cd "$E2E_OUT" && pwd)
rm -f "$E2E_OUT/failed"
rm -f "$E2E_OUT"/*.png "$E2E_OUT"/*.txt
exe=${4:+$(realpath "$4")}
installer=${5:+$(realpath "$5")}
examples=$(cd "$here/../../examples" && pwd)
echo "screenshots and output in $E2E_OUT"
[ -x "$source_program" ] || fail "no $source_program: build the tests first"
start_x

# The layer puts the client area at (3, 46) for a window at 0,0, without a window manager.
cx() { echo $(($1 + 3)); }
cy() { echo $(($1 + 46)); }
client_black() { [ "$(count_colour "$1" "954x691+3+46" "#000000")" = $((954 * 691)) ]; }
# Under a dialog: no red frame and no panel text.
plot_gone() {
    [ "$(count_colour "$1" "954x691+3+46" "#FF0000")" = 0 ] && [ "$(count_colour "$1" "250x22+$(cx 4)+$(cy 6)" "#FFFFFF")" = 0 ]
}
# The file name at the panel's top left, in white.
panel_name() { [ "$(count_colour "$1" "250x22+$(cx 4)+$(cy 6)" "#FFFFFF")" -gt 40 ]; }
# Pixels lit inside the red frame, wherever it is (its 3-pixel outline left out).
lit_in_frame() {
    local box size rest w h x y
    box=$(colour_box "$1" "#FF0000")
    size=${box%%+*} rest=${box#*+}
    w=${size%%x*} h=${size#*x} x=${rest%%+*} y=${rest#*+}
    [ -n "$box" ] && [ "$w" -gt 6 ] && [ "$h" -gt 6 ] || { echo 0; return; }
    lit_pixels "$1" "$((w - 6))x$((h - 6))+$((x + 3))+$((y + 3))"
}
# topo-knoll.csv fits the frame (35, 30) to (928, 670): 600 points, a few sharing a pixel.
topo_drawn() {
    [ "$(colour_box "$1" "#FF0000")" = "895x642+$(cx 34)+$(cy 29)" ] && panel_name "$1" &&
        lit=$(lit_in_frame "$1") && [ "$lit" -ge 400 ] && [ "$lit" -le 600 ]
}
# pad-windows.csv: 300 points on a grid, X 701200 to 701295 and Y 3305400 to 3305470, in a
# narrower frame.
pad_drawn() {
    local box
    box=$(colour_box "$1" "#FF0000")
    [ -n "$box" ] && [ "$box" != "895x642+$(cx 34)+$(cy 29)" ] && panel_name "$1" &&
        lit=$(lit_in_frame "$1") && [ "$lit" -ge 250 ] && [ "$lit" -le 300 ]
}
ends_with_zero() {
    local pid=$1 code=0
    timeout "$E2E_WAIT" tail --pid="$pid" -f /dev/null || fail "the program did not end after Exit"
    wait "$pid" || code=$?
    [ "$code" = 0 ] || fail "the program ended with $code"
}
answer_note_and_swap() {
    wait_focused "^Note:$" >/dev/null
    xdotool key Return
    window_gone "^Note:$"
    wait_focused "^Swap Fields$" >/dev/null
    xdotool key Return
    window_gone "^Swap Fields$"
}

step "Linux: started with a relative path in a folder with a blank; the note, Swap Fields, the plot"
survey="$E2E_OUT/Survey Data"
mkdir -p "$survey"
cp "$examples/topo-knoll.csv" "$examples/pad-windows.csv" "$survey/"
(cd "$survey" && exec "$program" topo-knoll.csv) >"$E2E_OUT/program.log" 2>&1 &
pid=$!
wait_window "^Skerrow v1\.0 " >/dev/null
answer_note_and_swap
until_screen linux-command-line "no plot of topo-knoll.csv after the start with its path" topo_drawn

step "Linux: pad-windows.csv dragged from another program and dropped on the plot replaces it"
"$source_program" "$survey/pad-windows.csv" >"$E2E_OUT/drag-source.log" 2>&1 &
source_pid=$!
wait_window "^Drag source$" >/dev/null
sleep 0.5
xdotool mousemove 1160 160 mousedown 1
# The drag starts once the pointer has moved a little; then over the window, in steps.
for x in 1150 1120 1000 800 600 500; do
    xdotool mousemove "$x" "$((160 + (1160 - x) / 2))"
    sleep 0.1
done
sleep 0.3
xdotool mouseup 1
# A file is shown: no note now, the window cleared, Swap Fields, the new plot.
wait_focused "^Swap Fields$" >/dev/null
kill "$source_pid"
until_screen linux-drop-cleared "the plot is still shown under Swap Fields" plot_gone
xdotool key Return
window_gone "^Swap Fields$"
until_screen linux-drop "no plot of pad-windows.csv after the drop" pad_drawn
xdotool key alt+f
sleep 0.3
xdotool key x
ends_with_zero "$pid"

step "Linux: two paths on the command line get a message; the window stays black"
"$program" "$survey/topo-knoll.csv" "$survey/pad-windows.csv" >"$E2E_OUT/program-two.log" 2>&1 &
pid=$!
wait_focused "^Error$" >/dev/null
until_screen linux-two-paths "a plot is shown under the message" plot_gone
xdotool key Return
window_gone "^Error$"
until_screen linux-two-paths-after "the window is not black after the message" client_black
wait_focused "^Skerrow v1\.0 " >/dev/null
xdotool key alt+f
sleep 0.3
xdotool key x
ends_with_zero "$pid"

[ -n "$exe" ] || { echo "desktop scenario passed (Linux only)"; exit 0; }
need_tools wine wineserver
[ -f "$exe" ] || fail "no $exe: build it first (tools/run-tests.sh cross-builds it)"
[ -z "$installer" ] || [ -f "$installer" ] || fail "no $installer: make it first (cd build-win && cpack -G NSIS)"
E2E_WAIT=${E2E_WAIT_WINE:-90}  # Wine's first start of a fresh prefix is slow

step "Wine: a fresh prefix"
export WINEPREFIX="$E2E_OUT/wineprefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null; kill "$E2E_XVFB" 2>/dev/null' EXIT
timeout 300 wine wineboot --init >"$E2E_OUT/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -n3 "$E2E_OUT/wineboot.log")"
timeout 60 wineserver -w || true
windows_path() { echo "Z:$(echo "$1" | tr / '\\')"; }
# Wine puts the client area where it will; the red frame tells where the plot is.
wine_topo_drawn() {
    [ "$(colour_box "$1" "#FF0000" | cut -d+ -f1)" = "895x642" ] && lit=$(lit_in_frame "$1") &&
        [ "$lit" -ge 400 ] && [ "$lit" -le 600 ]
}
# One run of a skerrow.exe given topo-knoll.csv on its command line: $1 the program, $2 a name.
wine_command_line() {
    local pid
    wine "$1" "$(windows_path "$survey/topo-knoll.csv")" >"$E2E_OUT/$2.log" 2>&1 &
    pid=$!
    wait_window "^Skerrow v1\.0 " >/dev/null
    wait_window "^Note:$" >/dev/null
    sleep 0.5
    xdotool key Return
    wait_window "^Swap Fields$" >/dev/null
    sleep 0.5
    xdotool key Return
    until_screen "$2" "no plot of topo-knoll.csv from skerrow.exe's command line" wine_topo_drawn
    xdotool key alt+f
    sleep 0.5
    xdotool key x
    ends_with_zero "$pid"
}

step "Wine: skerrow.exe with a path on its command line opens it"
wine_command_line "$exe" wine-command-line

step "Wine: skerrow.exe with two paths gets a message"
wine "$exe" "$(windows_path "$survey/topo-knoll.csv")" "$(windows_path "$survey/pad-windows.csv")" \
    >"$E2E_OUT/wine-two.log" 2>&1 &
pid=$!
wait_window "^Error$" >/dev/null
sleep 0.5
xdotool key Return
window_gone "^Error$"
nothing_red() { [ "$(count_colour "$1" "960x740+0+0" "#FF0000")" = 0 ]; }
until_screen wine-two-paths "a plot is shown after two paths" nothing_red
xdotool key alt+f
sleep 0.5
xdotool key x
ends_with_zero "$pid"

[ -n "$installer" ] || { echo "desktop scenario passed (without the installer)"; exit 0; }
classes='HKLM\Software\Classes'
# What reg lists for a key, without Windows' line ends; its own values are the indented lines.
reg_values() { timeout 60 wine reg query "$@" 2>/dev/null | tr -d '\r' || true; }
csv_values() { reg_values "$classes\\.csv" | grep '^ ' | grep -v '(value not set)' || true; }
# .csv already opens with another program, as on most Windows machines.
timeout 60 wine reg add "$classes\\.csv" /ve /d "Survey.CSV" /f >/dev/null 2>&1 || fail "reg add failed"
csv_before=$(csv_values)
[ -n "$csv_before" ] || fail "reg lists no default value for .csv after reg add"

step "Wine: the silent install puts Skerrow in the Open-with list of .csv files"
timeout 120 wine "$installer" /S >"$E2E_OUT/install.log" 2>&1 || fail "the installer failed: $(tail -n3 "$E2E_OUT/install.log")"
installed="$WINEPREFIX/drive_c/Program Files/Skerrow"
[ -f "$installed/skerrow.exe" ] || fail "the installer did not put skerrow.exe in $installed"
reg_values "$classes\\Applications\\skerrow.exe" /s >"$E2E_OUT/registered.txt"
command=$(reg_values "$classes\\Applications\\skerrow.exe\\shell\\open\\command" /ve |
    sed -n -E 's/^ *\(Default\) +REG_SZ +//p')
[ "$command" = '"C:\Program Files\Skerrow\skerrow.exe" "%1"' ] || fail "the open command is '$command'"
reg_values "$classes\\Applications\\skerrow.exe\\SupportedTypes" | grep -Eq '^ *\.csv +REG_SZ' ||
    fail "no .csv among the supported types: $(cat "$E2E_OUT/registered.txt")"
timeout 60 wine reg query "HKCR\\.csv\\OpenWithList\\skerrow.exe" >/dev/null 2>&1 ||
    fail "skerrow.exe is not in the Open-with list of .csv files"
[ "$(csv_values)" = "$csv_before" ] || fail ".csv's own values changed: before '$csv_before', after '$(csv_values)'"

step "Wine: the registered command opens a file"
registered=$(echo "$command" | sed -E 's/^"([^"]*)".*/\1/')
wine_command_line "$registered" wine-registered

step "Wine: the silent uninstall removes exactly what the install added"
timeout 60 wine "$installed/Uninstall.exe" /S >"$E2E_OUT/uninstall.log" 2>&1 || fail "the uninstaller failed"
for i in $(seq $((E2E_WAIT * 10))); do
    [ ! -e "$installed/skerrow.exe" ] && break
    sleep 0.1
done
[ ! -e "$installed/skerrow.exe" ] || fail "the uninstaller left $installed/skerrow.exe"
for key in "$classes\\Applications\\skerrow.exe" "$classes\\.csv\\OpenWithList\\skerrow.exe"; do
    ! timeout 60 wine reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left $key"
done
[ "$(csv_values)" = "$csv_before" ] ||
    fail ".csv's own values changed by the uninstall: before '$csv_before', after '$(csv_values)'"
# The list the install made for .csv goes with it, .csv itself stays.
! timeout 60 wine reg query "$classes\\.csv\\OpenWithList" >/dev/null 2>&1 || fail "the uninstaller left .csv's empty OpenWithList"
echo "desktop scenario passed"
