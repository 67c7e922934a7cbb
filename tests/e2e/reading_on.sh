#!/usr/bin/env bash
# Reading on: a folder book left on its third page opens there again at the next start
# when bResumePage is on, and on its first page when it is off.
source "$(dirname "$0")/lib.sh"
journey <<'STEPS'
unzip -q "$SAMPLE_BOOK" -d "$WORK/book"; printf '[General]\nbResumePage=1\n' >"$CONFIG_FILE" | : | -
start_viewer "$WORK/book" | title_ends_with page01.jpg] | the book did not open
+xdotool key space        | title_ends_with page02.jpg] | Space did not turn to page 2
+xdotool key space        | title_ends_with page03.jpg] | Space did not turn to page 3
close_window; start_viewer "$WORK/book" | title_ends_with page03.jpg] | with bResumePage=1 the book did not open on the page left
close_window; sed -i 's/^bResumePage=.*/bResumePage=0/' "$CONFIG_FILE"; start_viewer "$WORK/book" | title_ends_with page01.jpg] | with bResumePage=0 the book did not open on its first page
STEPS
