#!/usr/bin/env bash
# The about box "Tavimo 정보" opens from its toolbar button and closes with Enter and with
# Escape; the viewer goes on taking keys afterwards.
source "$(dirname "$0")/lib.sh"
journey <<'STEPS'
start_viewer | title_is Tavimo | the viewer did not start
open_dialog "Tavimo 정보" click_toolbar_button 18 4; xdotool key Return | dialog_closed | Enter did not close the about box
open_dialog "Tavimo 정보" click_toolbar_button 18 4; xdotool key Escape | dialog_closed && title_is Tavimo | Escape did not close the about box, or it changed the title
xdotool windowfocus --sync "$WIN"; xdotool key grave | bars_gone | the viewer took no keys after the about box
STEPS
