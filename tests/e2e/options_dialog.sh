#!/usr/bin/env bash
# The options dialog "환경 설정", opened by its toolbar button: clearing "확대" from the
# keyboard and confirming shows the page at its own size at once and stores the switch;
# setting it again fits the page again; Escape changes nothing.
source "$(dirname "$0")/lib.sh"

setting() { sed -n "s/^$1=//p" "$CONFIG_FILE"; }

[ -f "$SAMPLE_BOOK" ] || fail "no sample book at $SAMPLE_BOOK (build the sample_book target)"
start_viewer "$SAMPLE_BOOK"
wait_until 10 title_ends_with "page01.jpg]" || fail "the sample book did not open: '$(title)'"
read_geometry
# In a 960x768 window the fitted portrait page covers about half the width; at its own size
# (800 pixels wide) its paper also reaches PAST_FIT_X. Both points lie on the page's margin.
PAGE_X=$((WX + WW / 4))
PAST_FIT_X=$((WX + WW * 3 / 4))
MARGIN_Y=$((WY + WH * 15 / 100))
fitted() {
    shot screen
    paper=$(pixel screen "$PAGE_X" "$MARGIN_Y")
    [ "$paper" != "$(pixel screen "$PAST_FIT_X" "$MARGIN_Y")" ]
}
own_size() {
    shot screen
    [ "$(pixel screen "$PAST_FIT_X" "$MARGIN_Y")" = "$paper" ]
}
wait_until 5 fitted || fail "the first page is not fitted to the window"

# The focus starts on OK; "확대" comes after OK and Cancel in the tab order.
open_options() { open_dialog "환경 설정" click_toolbar_button 4 1; }
open_options
xdotool key Tab Tab space Return
wait_until 5 dialog_closed || fail "Enter did not close the options dialog"
wait_until 5 own_size || fail "clearing 확대 did not show the page at its own size"
[ "$(setting bStretech)" = 0 ] || fail "OK did not store bStretech=0 at once: '$(setting bStretech)'"
title_ends_with "page01.jpg]" || fail "the options moved the page to '$(title)'"

# Escape after changing a box: nothing changes.
open_options
xdotool key Tab Tab space Escape
wait_until 5 dialog_closed || fail "Escape did not close the options dialog"
own_size || fail "Escape in the options dialog changed the picture"
[ "$(setting bStretech)" = 0 ] || fail "Escape in the options dialog stored bStretech=$(setting bStretech)"

open_options
xdotool key Tab Tab space Return
wait_until 5 fitted || fail "setting 확대 again did not fit the page"
[ "$(setting bStretech)" = 1 ] || fail "OK did not store bStretech=1: '$(setting bStretech)'"
echo "options dialog: ok"
