#!/usr/bin/env bash
# Enter opens the page list "파일 선택" on the current page; the arrow keys and Enter jump to
# another page and the title follows; Escape closes the list and the page stays.
source "$(dirname "$0")/lib.sh"

[ -f "$SAMPLE_BOOK" ] || fail "no sample book at $SAMPLE_BOOK (build the sample_book target)"
start_viewer "$SAMPLE_BOOK"
wait_until 10 title_ends_with "page01.jpg]" || fail "the sample book did not open: '$(title)'"
turn space "page02.jpg]"

# From page 2, four rows down is page 6: the list opened on the current page.
open_dialog "파일 선택" xdotool key Return
xdotool key Down Down Down Down Return
wait_until 5 dialog_closed || fail "Enter did not close the page list"
wait_until 5 title_ends_with "page06.jpg]" || fail "the chosen page was not shown: '$(title)'"

# Opened again it starts on page 6: one row up is page 5.
open_dialog "파일 선택" xdotool key Return
xdotool key Up Return
wait_until 5 title_ends_with "page05.gif]" || fail "the list did not open on page 6: '$(title)'"
wait_until 5 dialog_closed || fail "Enter did not close the page list"

# Escape after moving the selection leaves the page as it was.
open_dialog "파일 선택" xdotool key Return
xdotool key End Escape
wait_until 5 dialog_closed || fail "Escape did not close the page list"
title_ends_with "page05.gif]" || fail "Escape in the page list moved to '$(title)'"
# The viewer still reads on from there.
turn space "page06.jpg]"
echo "page dialog: ok"
