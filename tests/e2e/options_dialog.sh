#!/usr/bin/env bash
# The options dialog "환경 설정", opened by its toolbar button: clearing "확대" from the
# keyboard (it comes after OK and Cancel in the tab order) and confirming shows the page at
# its own size at once and stores the switch; Escape changes nothing; setting it again
# fits the page again.
source "$(dirname "$0")/lib.sh"
journey <<'STEPS'
start_viewer "$SAMPLE_BOOK" | title_ends_with page01.jpg] && fitted | the sample book did not open fitted to the window
open_dialog "환경 설정" click_toolbar_button 4 1; xdotool key Tab Tab space Return | dialog_closed && paper_reaches_outside && [ "$(setting bStretech)" = 0 ] | clearing 확대 did not show the page at its own size and store bStretech=0
open_dialog "환경 설정" click_toolbar_button 4 1; xdotool key Tab Tab space Escape | dialog_closed && paper_reaches_outside && [ "$(setting bStretech)" = 0 ] | Escape in the options dialog changed the picture or the setting
open_dialog "환경 설정" click_toolbar_button 4 1; xdotool key Tab Tab space Return | fitted && [ "$(setting bStretech)" = 1 ] && title_ends_with page01.jpg] | setting 확대 again did not fit the page and store bStretech=1
STEPS
