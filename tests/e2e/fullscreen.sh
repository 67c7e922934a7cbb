#!/usr/bin/env bash
# Escape enters fullscreen (the window covers the screen, the bars go) and leaves it (the
# window and its bars come back as they were); the middle button does the same; the grave
# accent key hides and shows both bars.
source "$(dirname "$0")/lib.sh"
journey <<'STEPS'
start_viewer; BEFORE="$WX,$WY,$WW,$WH" | toolbar_shown                       | no toolbar before fullscreen
xdotool key Escape                     | geometry_is 0,0,1280,1024 && bars_gone | Escape did not cover the screen without the bars
xdotool key Escape                     | geometry_is "$BEFORE" && toolbar_shown | Escape did not bring back the window and its bars
xdotool key grave                      | bars_gone                           | the grave accent key did not hide both bars
xdotool key grave                      | bars_shown                          | the grave accent key did not bring both bars back
xdotool mousemove $CX $CY click 2      | geometry_is 0,0,1280,1024           | the middle button did not enter fullscreen
xdotool key Escape                     | geometry_is "$BEFORE"               | Escape after the middle button did not leave fullscreen
STEPS
