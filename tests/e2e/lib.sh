# Helpers shared by the end-to-end scenarios: a private X server, waiting for windows,
# screenshots and pixel checks, and failing with a clear message and a screenshot.
# Sourced by the scenario scripts; they set E2E_OUT (a folder for screenshots and files).

E2E_STEP="start"
E2E_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Any command that fails unexpectedly fails the scenario loudly, with a screenshot.
set -E
trap 'fail "unexpected failure of: $BASH_COMMAND (line $LINENO)"' ERR
E2E_WAIT=${E2E_WAIT:-30}  # seconds any one window or picture may take to appear

step() {
    E2E_STEP=$1
    echo "-- $1"
}

shot() { import -window root "$E2E_OUT/$1.png"; }

fail() {
    trap - ERR
    # A failure inside a command substitution ends only that subshell; its caller stops
    # here too, without telling the same failure twice.
    local mark=${E2E_OUT:+$E2E_OUT/failed}
    [ -n "$mark" ] && [ -e "$mark" ] && exit 1
    [ -z "$mark" ] || : >"$mark"
    echo "FAIL [$E2E_STEP]: $*" >&2
    if [ -n "${DISPLAY:-}" ] && shot failure 2>/dev/null; then
        echo "screenshot of the screen at the failure: $E2E_OUT/failure.png" >&2
    fi
    exit 1
}

# Runs the program only when asked to: these tests need an X server, xdotool and
# ImageMagick, and take a minute or more.
need_tools() {
    if [ "${SKERROW_E2E:-0}" != 1 ]; then
        echo "end-to-end test skipped: set SKERROW_E2E=1 to run it (tools/test-stages/40-end-to-end.sh does)"
        exit 77
    fi
    local tool
    for tool in Xvfb xdotool xwininfo import convert "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is not installed"
    done
}

# A private X server on a free display (E2E_SCREEN sets its size); it ends with the script.
start_x() {
    local displayFile="$E2E_OUT/display" i
    : >"$displayFile"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$displayFile" >"$E2E_OUT/xvfb.log" 2>&1 &
    E2E_XVFB=$!
    trap 'kill "$E2E_XVFB" 2>/dev/null' EXIT
    for i in $(seq 100); do
        [ -s "$displayFile" ] && break
        sleep 0.1
    done
    [ -s "$displayFile" ] || fail "Xvfb did not start: $(cat "$E2E_OUT/xvfb.log")"
    export DISPLAY=":$(head -n1 "$displayFile")"
}

# Openbox on the private X server, with the configuration and theme of tests/e2e/openbox (a
# frame of Windows' size, focus by click only, no key bindings); it ends with the script.
start_openbox() {
    local ready="$E2E_OUT/openbox-ready" i
    rm -f "$ready"
    XDG_DATA_HOME="$E2E_LIB/openbox" XDG_CONFIG_HOME="$E2E_OUT/config" \
        openbox --config-file "$E2E_LIB/openbox/rc.xml" --startup "touch $ready" >"$E2E_OUT/openbox.log" 2>&1 &
    E2E_OPENBOX=$!
    trap 'kill "$E2E_OPENBOX" "$E2E_XVFB" 2>/dev/null' EXIT
    for i in $(seq 100); do
        [ -e "$ready" ] && return 0
        sleep 0.1
    done
    fail "Openbox did not start: $(cat "$E2E_OUT/openbox.log")"
}

# Sets X, Y, WIDTH and HEIGHT to a window's place on the screen and size. xwininfo rather
# than xdotool, which adds the frame's offset again for a window a window manager reparented.
window_geometry() {
    eval "$(xwininfo -id "$1" | sed -n -E 's/^ *Absolute upper-left X: *(-?[0-9]+)$/X=\1/p
        s/^ *Absolute upper-left Y: *(-?[0-9]+)$/Y=\1/p; s/^ *Width: *([0-9]+)$/WIDTH=\1/p; s/^ *Height: *([0-9]+)$/HEIGHT=\1/p')"
}

# Prints the id of the visible window whose title matches the pattern, once there is one.
# xdotool's own wait gives up when a window vanishes while it searches, so it is repeated
# until the deadline.
wait_window() {
    local id="" limit=${2:-$E2E_WAIT} deadline
    deadline=$((SECONDS + limit))
    while [ -z "$id" ] && [ "$SECONDS" -lt "$deadline" ]; do
        id=$(timeout 2 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
    done
    [ -n "$id" ] || fail "no window titled '$1' appeared within $limit s"
    echo "$id"
}

window_gone() {
    local i
    for i in $(seq $((E2E_WAIT * 10))); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the window titled '$1' did not close within $E2E_WAIT s"
}

# Repeats a check (a command) on fresh screenshots until it holds; the screen follows the
# program's drawing with a short delay. The screenshot is $E2E_OUT/$1.png afterwards.
until_screen() {
    local name=$1 what=$2 i
    shift 2
    for i in $(seq $((E2E_WAIT * 5))); do
        shot "$name"
        "$@" "$E2E_OUT/$name.png" && return 0
        sleep 0.2
    done
    fail "$what (last screenshot: $E2E_OUT/$name.png)"
}

# Number of pixels of one colour (#RRGGBB) inside a region (WxH+X+Y).
count_colour() {
    local n
    n=$(convert "$1" -crop "$2" +repage -depth 8 -format %c histogram:info:- | sed -n -E "s/^ *([0-9]+):.* $3 .*/\1/ip")
    echo "${n:-0}"
}

# Bounding box (WxH+X+Y, screen pixels) of every pixel of one colour.
colour_box() {
    convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format %@ info: 2>/dev/null
}

# Number of pixels in a region that are not black.
lit_pixels() {
    local black
    black=$(count_colour "$1" "$2" "#000000")
    local w=${2%%x*} rest=${2#*x}
    local h=${rest%%+*}
    echo $((w * h - black))
}

# Opens a menu of the main window (by keys or a click) and waits for its popup: one more
# visible window (Qt names popups late, so they are counted rather than searched by name).
shown_windows() { xdotool search --onlyvisible --name "" 2>/dev/null | wc -l || true; }
popup() {
    local i
    before=$(shown_windows)
    "$@"
    for i in $(seq $((E2E_WAIT * 10))); do
        [ "$(shown_windows)" -gt "$before" ] && return 0
        sleep 0.1
    done
    fail "no menu opened on: $*"
}
menu_closed() {
    local i
    for i in $(seq $((E2E_WAIT * 10))); do
        [ "$(shown_windows)" -le "$before" ] && return 0
        sleep 0.1
    done
    fail "the menu did not close"
}
# Moves the pointer and waits until X reports it where the program is expected to keep it.
pointer_at() {
    local X Y i
    for i in $(seq 50); do
        eval "$(xdotool getmouselocation --shell)"
        [ "$X" = "$1" ] && [ "$Y" = "$2" ] && return 0
        sleep 0.1
    done
    fail "the pointer is at $X,$Y instead of $1,$2"
}

same_file() {
    cmp -s "$1" "$2" || fail "$2 differs from the expected $1: $(cmp "$1" "$2" 2>&1 | head -n1)"
}

# Prints the id of a window once it is shown and has the keyboard focus, so that keys
# typed next reach it.
wait_focused() {
    local id focus i
    id=$(wait_window "$@")
    for i in $(seq $((E2E_WAIT * 10))); do
        focus=$(xdotool getwindowfocus 2>/dev/null || true)
        [ "$focus" = "$id" ] && echo "$id" && return 0
        sleep 0.1
    done
    fail "the window titled '$1' did not get the keyboard focus"
}
