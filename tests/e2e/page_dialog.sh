#!/usr/bin/env bash
# Enter opens the page list "파일 선택" on the current page; the arrow keys and Enter jump to
# another page and the title follows; Escape closes the list and the page stays.
source "$(dirname "$0")/lib.sh"
journey <<'STEPS'
start_viewer "$SAMPLE_BOOK" | title_ends_with page01.jpg] | the sample book did not open
+xdotool key space          | title_ends_with page02.jpg] | Space did not turn to page 2
open_dialog "파일 선택" xdotool key Return; xdotool key Down Down Down Down Return | dialog_closed && title_ends_with page06.jpg] | four rows down from page 2 and Enter did not show page 6
open_dialog "파일 선택" xdotool key Return; xdotool key Up Return | dialog_closed && title_ends_with page05.gif] | the list did not open on page 6 again
open_dialog "파일 선택" xdotool key Return; xdotool key End Escape | dialog_closed && title_ends_with page05.gif] | Escape in the page list moved the page
+xdotool key space          | title_ends_with page06.jpg] | the viewer did not read on after the page list
STEPS
