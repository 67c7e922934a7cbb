#!/usr/bin/env bash
# Escape enters fullscreen (the window covers the screen, the bars go) and leaves it (the
# window and its bars come back as they were); the middle button does the same, and the
# grave accent key hides and shows both bars.
source "$(dirname "$0")/lib.sh"

toolbar_gone() { ! toolbar_shown; }

start_viewer
read_geometry
before="$WX,$WY,$WW,$WH"
wait_until 5 toolbar_shown || fail "no toolbar before fullscreen"

xdotool key Escape
wait_until 10 geometry_is "0,0,1280,1024" || fail "fullscreen window at $WX,$WY ${WW}x$WH"
wait_until 5 toolbar_gone || fail "the toolbar stayed in fullscreen"
shot full
status_text=$(ink_count full 0 1000 200 24 "rgb(0,0,0)")
[ "$status_text" -eq 0 ] || fail "the status bar stayed in fullscreen"

xdotool key Escape
wait_until 10 geometry_is "$before" || fail "after fullscreen the window is at $WX,$WY ${WW}x$WH, was $before"
wait_until 5 toolbar_shown || fail "the toolbar did not come back"

xdotool key grave
wait_until 5 bars_gone || fail "the grave accent key did not hide both bars"
xdotool key grave
wait_until 5 bars_shown || fail "the grave accent key did not bring both bars back"

xdotool mousemove $((WX + WW / 2)) $((WY + WH / 2)) click 2
wait_until 10 geometry_is "0,0,1280,1024" || fail "the middle button did not enter fullscreen"
xdotool key Escape
wait_until 10 geometry_is "$before" || fail "Escape after the middle button did not leave fullscreen"
echo "fullscreen: ok"
