# The shared driver of the end-to-end journeys: the real viewer in a real X server with a
# window manager, driven by xdotool, watched through its window title, its settings file
# and screenshots. Each journey runs inside xvfb-run (see CMakeLists.txt), sources this
# file and hands its table of steps to `journey`.
set -euo pipefail

TAVIMO=$1
SAMPLE_BOOK=$2
WORK=$(mktemp -d)
export XDG_CONFIG_HOME=$WORK/config
CONFIG_FILE=$XDG_CONFIG_HOME/ZELLORY/TAVIMO.conf
mkdir -p "$XDG_CONFIG_HOME/ZELLORY"
APP_PID= WM_PID= WIN=
trap 'kill $APP_PID $WM_PID 2>/dev/null || true; rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -z "${E2E_KEEP_SHOTS:-}" ] || cp "$WORK"/*.png "$E2E_KEEP_SHOTS"/ 2>/dev/null || true
    exit 1
}

# wait_until SECONDS COMMAND...: polls COMMAND every 50 ms until it succeeds.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

find_window() { WIN=$(xdotool search --onlyvisible --name '^Tavimo' 2>/dev/null | head -1) && [ -n "$WIN" ]; }
# start_viewer [ARGUMENTS...]: starts the viewer and gives its window the keyboard.
start_viewer() {
    if [ -z "$WM_PID" ]; then
        openbox --startup "touch $WORK/wm-ready" >/dev/null 2>&1 &
        WM_PID=$!
        wait_until 10 test -e "$WORK/wm-ready" || fail "openbox did not start"
    fi
    "$TAVIMO" "$@" >"$WORK/viewer.log" 2>&1 &
    APP_PID=$!
    wait_until 20 find_window || fail "no visible window titled Tavimo"
    xdotool windowactivate --sync "$WIN" 2>/dev/null || true
    xdotool windowfocus --sync "$WIN"
    read_geometry
}
close_window() {
    xdotool key alt+F4
    wait_until 10 sh -c "! kill -0 $APP_PID 2>/dev/null" || fail "the viewer did not end after its window was closed"
    wait "$APP_PID" || fail "the viewer ended with an error"
    APP_PID=
}

title() { xdotool getwindowname "$WIN"; }
title_is() { [ "$(title)" = "$1" ]; }
title_ends_with() { [[ "$(title)" == *"$1" ]]; }
setting() { sed -n "s/^$1=//p" "$CONFIG_FILE"; }

# Sets WX WY WW WH to the window's client area on the screen (the size from xdotool, the
# origin by moving the pointer to the client's corner: the frame offsets the window's
# position), and the points the journeys look at: in a 960x768 window a fitted portrait
# page fills the height and about half the width from the left, so PAGE_X lies on its
# paper margin and OUTSIDE_X on the white beyond it, both at the height MARGIN_Y; in
# two-page view LEFT_X and RIGHT_X lie on the margins of the two pages.
read_geometry() {
    eval "$(xdotool mousemove --window "$WIN" 0 0 getmouselocation --shell)"
    WX=$X WY=$Y
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    WW=$WIDTH WH=$HEIGHT
    CX=$((WX + WW / 2)) CY=$((WY + WH / 2)) PAGE_X=$((WX + WW / 4)) OUTSIDE_X=$((WX + WW * 3 / 4))
    MARGIN_Y=$((WY + WH * 15 / 100)) LEFT_X=$((WX + WW * 5 / 100)) RIGHT_X=$((WX + WW * 55 / 100))
}
geometry_is() { read_geometry && [ "$WX,$WY,$WW,$WH" = "$1" ]; }

shot() { import -window root "$WORK/$1.png"; }
# pixel X Y: the colour at screen point (X, Y) of a fresh screenshot.
pixel() { shot screen && convert "$WORK/screen.png" -format "%[pixel:p{$1,$2}]" info:; }
# ink_count SHOT X Y W H COLOUR [FUZZ%]: how many pixels of the rectangle are near COLOUR.
ink_count() {
    convert "$WORK/$1.png" -crop "$4x$5+$2+$3" +repage -fuzz "${7:-12}%" -fill red -opaque "$6" \
        -fill black +opaque red -format "%[fx:round(mean.r*w*h)]" info:
}
# The bars at the last read geometry: the toolbar's button ink along the top, the status
# bar's idle text at the bottom left and the page pane's counter at the bottom right.
toolbar_shown() { shot bars && [ "$(ink_count bars "$WX" "$WY" "$WW" 40 "rgb(30,50,90)")" -gt 50 ]; }
status_shown() { shot bars && [ "$(ink_count bars "$WX" $((WY + WH - 26)) 100 26 "rgb(0,0,0)" 40)" -gt 10 ]; }
counter_shown() { shot bars && [ "$(ink_count bars $((WX + WW - 420)) $((WY + WH - 26)) 200 26 "rgb(0,0,0)" 40)" -gt 5 ]; }
bars_gone() { ! toolbar_shown && ! status_shown; }
bars_shown() { toolbar_shown && status_shown; }
# The page at the left: its paper at PAGE_X differs from OUTSIDE_X once it is fitted.
fitted() { PAPER=$(pixel "$PAGE_X" "$MARGIN_Y") && [ "$PAPER" != "$(pixel "$OUTSIDE_X" "$MARGIN_Y")" ]; }
paper_reaches_outside() { [ "$(pixel "$OUTSIDE_X" "$MARGIN_Y")" = "$PAPER" ]; }

# Dialogs, found by their titles: open_dialog TITLE COMMAND... runs COMMAND until a window
# titled TITLE shows, then gives it the keyboard; dialog_closed holds once it is gone.
find_dialog() { DIALOG=$(xdotool search --onlyvisible --name "^$DIALOG_TITLE\$" 2>/dev/null | head -1) && [ -n "$DIALOG" ]; }
dialog_closed() { ! find_dialog; }
open_dialog() {
    DIALOG_TITLE=$1
    shift
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$WIN" 2>/dev/null || true
        "$@"
        wait_until 5 find_dialog && xdotool windowactivate --sync "$DIALOG" 2>/dev/null && return 0
    done
    fail "'$*' did not open the dialog '$DIALOG_TITLE'"
}
# click_toolbar_button INDEX SEPARATORS: with 17x16 icons the buttons stand 26 pixels apart
# after a 12-pixel grip, a separator adds 7 pixels, and the first three (the open buttons)
# carry the recent books' menu arrow, 12 pixels wide each.
click_toolbar_button() {
    xdotool mousemove $((WX + 25 + 26 * $1 + 12 * ($1 < 3 ? $1 : 3) + 7 * $2)) $((WY + 15)) click 1
}

# journey: runs the table of steps on its input, one a line, "ACTION | CHECK | WHAT FAILS";
# '#' starts a comment line. ACTION runs once, or with a leading + again every two seconds
# up to five times (a turn is dropped while the one before it still prepares the next
# page); CHECK must then hold within five seconds.
journey() {
    local action check what
    while IFS='|' read -r action check what <&3; do
        [[ "$action" =~ ^[[:space:]]*(#|$) ]] && continue
        for _ in 1 2 3 4 5; do
            eval "${action#+}"
            wait_until $([[ "$action" == +* ]] && echo 2 || echo 5) eval "$check" && continue 2
            [[ "$action" == +* ]] || break
        done
        fail "${what# } (the title is '$(title)')"
    done 3<&0 </dev/null
    echo "$(basename "$0" .sh): ok"
}
