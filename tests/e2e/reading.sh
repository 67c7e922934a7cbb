#!/usr/bin/env bash
# Reading the sample book: keys, the wheel and clicks turn pages forward and back, the
# title names each page in order, and the page picture stands where it should.
source "$(dirname "$0")/lib.sh"

# Pages stand at the top-left corner of their slot. In a 960x768 window a fitted portrait
# page fills the height and about half the width: PAGE_X lies on its paper margin, beside
# the number, and OUTSIDE_X on the white beyond it, both at the height MARGIN_Y above the
# number. In two-page view LEFT_X and RIGHT_X lie on the margins of the two pages.
sample_points() {
    read_geometry
    CX=$((WX + WW / 2))
    CY=$((WY + WH / 2))
    PAGE_X=$((WX + WW / 4))
    OUTSIDE_X=$((WX + WW * 3 / 4))
    MARGIN_Y=$((WY + WH * 15 / 100))
    LEFT_X=$((WX + WW * 5 / 100))
    RIGHT_X=$((WX + WW / 2 + WW * 5 / 100))
}
paper_at_page() { shot "$1"; pixel "$1" "$PAGE_X" "$MARGIN_Y"; }

[ -f "$SAMPLE_BOOK" ] || fail "no sample book at $SAMPLE_BOOK (build the sample_book target)"
start_viewer "$SAMPLE_BOOK"
wait_until 10 title_ends_with "page01.jpg]" || fail "the sample book did not open: '$(title)'"
sample_points

# The page appears unscaled first and fitted a moment later.
fitted_first_page() {
    shot first
    paper1=$(pixel first "$PAGE_X" "$MARGIN_Y")
    outside=$(pixel first "$OUTSIDE_X" "$MARGIN_Y")
    [ "$paper1" != "$outside" ]
}
wait_until 5 fitted_first_page || fail "the first page is not fitted at the left of the view ($paper1)"
page_pane=$(ink_count first $((WX + WW - 420)) $((WY + WH - 26)) 200 26 "rgb(0,0,0)" 40)
[ "$page_pane" -gt 5 ] || fail "the page pane shows no page counter"

turn space "page02.jpg]"
second_page_shown() { paper2=$(paper_at_page second); [ "$paper2" != "$paper1" ]; }
wait_until 5 second_page_shown || fail "the picture did not change with the title"
turn Next "page03.jpg]"
turn Down "page04.jpg]"
turn Prior "page03.jpg]"
turn Up "page02.jpg]"
# shows_paper SHOT PAPER: the page margin shows PAPER.
shows_paper() { [ "$(paper_at_page "$1")" = "$2" ]; }
wait_until 5 shows_paper back2 "$paper2" || fail "page 2 looks different when turned back to"

# The wheel over the view: towards the reader turns forward, away turns back.
xdotool mousemove "$CX" "$CY"
turn_with "page03.jpg]" xdotool click 5
turn_with "page02.jpg]" xdotool click 4

# Clicks: the lower half of the view turns forward, the upper half back.
turn_with "page03.jpg]" xdotool mousemove "$CX" $((WY + WH * 3 / 4)) click 1
turn_with "page02.jpg]" xdotool mousemove "$CX" $((WY + WH / 4)) click 1

turn End "page12.jpg]"
turn Home "page01.jpg]"
wait_until 5 shows_paper home "$paper1" || fail "Home did not show the first page again"

# Shift+Delete is an edit key that does nothing, although Delete turns the page. The grave
# accent key after it hides the bars, so once they are gone Shift+Delete has been handled.
xdotool key shift+Delete grave
wait_until 5 bars_gone || fail "the grave accent key did not hide the bars"
title_ends_with "page01.jpg]" || fail "Shift+Delete turned the page to '$(title)'"
xdotool key grave
wait_until 5 bars_shown || fail "the grave accent key did not bring the bars back"
turn Delete "page02.jpg]"
turn Home "page01.jpg]"

# Two pages side by side: page 1 on the left, page 2 on the right; Tab swaps them.
two_pages_are() {
    shot pair
    [ "$(pixel pair "$LEFT_X" "$CY")" = "$1" ] && [ "$(pixel pair "$RIGHT_X" "$CY")" = "$2" ]
}
xdotool key 2
wait_until 5 two_pages_are "$paper1" "$paper2" ||
    fail "key 2 shows $(pixel pair "$LEFT_X" "$CY") | $(pixel pair "$RIGHT_X" "$CY"), expected $paper1 | $paper2"
xdotool key Tab
wait_until 5 two_pages_are "$paper2" "$paper1" || fail "Tab did not swap the two pages"
# Key 1 goes back to one page: page 1 alone in the middle again.
xdotool key 1
one_page_again() {
    [ "$(paper_at_page single)" = "$paper1" ] && [ "$(pixel single "$OUTSIDE_X" "$MARGIN_Y")" = "$outside" ]
}
wait_until 5 one_page_again || fail "key 1 did not go back to one page"

# Z shows the page at its own size, 800 pixels wide: its paper reaches OUTSIDE_X.
xdotool key z
natural_shown() { shot natural; [ "$(pixel natural "$OUTSIDE_X" "$MARGIN_Y")" = "$paper1" ]; }
wait_until 5 natural_shown || fail "Z did not show the page at its own size"
xdotool key z
wait_until 5 one_page_again || fail "Z again did not fit the page to the window"

# R turns the page a quarter: lying on its side it is wide, and its paper reaches OUTSIDE_X.
xdotool key r
rotated_shown() { shot rotated; [ "$(pixel rotated "$OUTSIDE_X" "$MARGIN_Y")" = "$paper1" ]; }
wait_until 5 rotated_shown || fail "R did not turn the page"
xdotool key r
wait_until 5 one_page_again || fail "R again did not turn the page back"
echo "reading: ok"
