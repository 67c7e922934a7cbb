#!/usr/bin/env bash
# The about box "Tavimo 정보" opens from its toolbar button and closes with Enter and with
# Escape; the viewer goes on taking keys afterwards.
source "$(dirname "$0")/lib.sh"

start_viewer
read_geometry
for key in Return Escape; do
    open_dialog "Tavimo 정보" click_toolbar_button 18 4
    xdotool key "$key"
    wait_until 5 dialog_closed || fail "$key did not close the about box"
done
title_is "Tavimo" || fail "the about box changed the title to '$(title)'"
xdotool windowfocus --sync "$WIN"
xdotool key grave
wait_until 5 bars_gone || fail "the viewer took no keys after the about box"
echo "about box: ok"
