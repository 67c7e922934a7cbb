# Shared steps of the end-to-end tests: the real viewer in a real X server with a window
# manager, driven by xdotool, watched through its window title and screenshots.
# Each test runs inside xvfb-run (see CMakeLists.txt) and sources this file.
set -euo pipefail

TAVIMO=$1
SAMPLE_BOOK=$2
WORK=$(mktemp -d)
export XDG_CONFIG_HOME=$WORK/config
CONFIG_FILE=$XDG_CONFIG_HOME/ZELLORY/TAVIMO.conf
mkdir -p "$XDG_CONFIG_HOME/ZELLORY"
APP_PID=
WM_PID=
WIN=

cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${E2E_KEEP_SHOTS:-}" ] && ls "$WORK"/*.png >/dev/null 2>&1; then
        cp "$WORK"/*.png "$E2E_KEEP_SHOTS"/ || true
    fi
    exit 1
}

# wait_until SECONDS COMMAND...: polls COMMAND every 50 ms until it succeeds.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.05
    done
}

start_window_manager() {
    [ -n "$WM_PID" ] && return 0
    openbox --startup "touch $WORK/wm-ready" >/dev/null 2>&1 &
    WM_PID=$!
    wait_until 10 test -e "$WORK/wm-ready" || fail "openbox did not start"
}

find_window() { WIN=$(xdotool search --onlyvisible --name '^Tavimo' 2>/dev/null | head -1); [ -n "$WIN" ]; }

# start_viewer [ARGUMENTS...]: starts the viewer and gives its window the keyboard.
start_viewer() {
    start_window_manager
    "$TAVIMO" "$@" >"$WORK/viewer.log" 2>&1 &
    APP_PID=$!
    wait_until 20 find_window || fail "no visible window titled Tavimo"
    xdotool windowactivate --sync "$WIN" 2>/dev/null || true
    xdotool windowfocus --sync "$WIN"
}

title() { xdotool getwindowname "$WIN"; }
title_is() { [ "$(title)" = "$1" ]; }
title_ends_with() { [[ "$(title)" == *"$1" ]]; }

# Sets WX WY WW WH to the window's client area on the screen. The size comes from
# getwindowgeometry; its position is off by the window manager's frame, so the origin is
# taken by moving the pointer to the client's corner and reading it back.
read_geometry() {
    eval "$(xdotool mousemove --window "$WIN" 0 0 getmouselocation --shell)"
    WX=$X WY=$Y
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    WW=$WIDTH WH=$HEIGHT
}
geometry_is() {
    read_geometry
    [ "$WX,$WY,$WW,$WH" = "$1" ]
}

shot() { import -window root "$WORK/$1.png"; }
# pixel SHOT X Y: the colour at screen point (X, Y), as ImageMagick writes it.
pixel() { convert "$WORK/$1.png" -format "%[pixel:p{$2,$3}]" info:; }
# ink_count SHOT X Y W H COLOUR [FUZZ%]: how many pixels of the rectangle are near COLOUR.
ink_count() {
    convert "$WORK/$1.png" -crop "$4x$5+$2+$3" +repage -fuzz "${7:-12}%" -fill red -opaque "$6" \
        -fill black +opaque red -format "%[fx:round(mean.r*w*h)]" info:
}

# The bars as seen on screen, at the window's last read geometry: the toolbar's button
# ink along the top, the status bar's idle text at the bottom left.
toolbar_shown() {
    shot bars
    [ "$(ink_count bars "$WX" "$WY" "$WW" 40 "rgb(30,50,90)")" -gt 50 ]
}
status_shown() {
    shot bars
    [ "$(ink_count bars "$WX" $((WY + WH - 26)) 100 26 "rgb(0,0,0)" 40)" -gt 10 ]
}
bars_gone() { ! toolbar_shown && ! status_shown; }
bars_shown() { toolbar_shown && status_shown; }

# turn_with EXPECTED_TITLE_END COMMAND...: runs COMMAND (a key, a click, a wheel notch)
# until the title ends with EXPECTED_TITLE_END. A turn is refused while the previous one
# is still preparing the next page, so an input that changed nothing within two seconds
# is given again.
turn_with() {
    local expected=$1 attempt
    shift
    for attempt in 1 2 3 4 5; do
        "$@"
        wait_until 2 title_ends_with "$expected" && return 0
    done
    fail "after '$*' the title is '$(title)', expected it to end with '$expected'"
}
turn() { turn_with "$2" xdotool key "$1"; }

close_window() {
    xdotool key alt+F4
    wait_until 10 sh -c "! kill -0 $APP_PID 2>/dev/null" || fail "the viewer did not end after its window was closed"
    wait "$APP_PID" || fail "the viewer ended with an error"
    APP_PID=
}

# Dialogs, found by their titles. open_dialog TITLE COMMAND... runs COMMAND (a key, a
# click) in the viewer until a window titled TITLE shows, then gives that window the
# keyboard; dialog_closed holds once it is gone again.
DIALOG=
DIALOG_TITLE=
find_dialog() { DIALOG=$(xdotool search --onlyvisible --name "^$DIALOG_TITLE\$" 2>/dev/null | head -1); [ -n "$DIALOG" ]; }
dialog_closed() { ! find_dialog; }
open_dialog() {
    local attempt
    DIALOG_TITLE=$1
    shift
    for attempt in 1 2 3; do
        xdotool windowfocus --sync "$WIN" 2>/dev/null || true
        "$@"
        if wait_until 5 find_dialog; then
            xdotool windowactivate --sync "$DIALOG" 2>/dev/null || true
            xdotool windowfocus --sync "$DIALOG"
            return 0
        fi
    done
    fail "'$*' did not open the dialog '$DIALOG_TITLE'"
}

# click_toolbar_button INDEX SEPARATORS: clicks the toolbar's button number INDEX (from 0,
# separators not counted) that has SEPARATORS separators before it, at the window's last read
# geometry. With 17x16 icons the buttons stand 26 pixels apart after a 12-pixel grip, and a
# separator adds 7 pixels. The first three (the open buttons) carry the recent books' menu
# arrow, 12 pixels wide each; a click on an open button aims at its left part.
click_toolbar_button() {
    local arrows=$(($1 < 3 ? $1 : 3))
    xdotool mousemove $((WX + 25 + 26 * $1 + 12 * arrows + 7 * $2)) $((WY + 15)) click 1
}
