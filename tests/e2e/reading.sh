#!/usr/bin/env bash
# Reading the sample book: keys, the wheel and clicks turn pages forward and back, the
# title names each page in order, and the page picture stands where it should.
source "$(dirname "$0")/lib.sh"

# The view's middle and a point in the upper paper margin of a fitted single page.
sample_points() {
    read_geometry
    CX=$((WX + WW / 2))
    CY=$((WY + WH / 2))
    MARGIN_Y=$((WY + WH * 15 / 100))
}
paper_at_centre() { shot "$1"; pixel "$1" "$CX" "$MARGIN_Y"; }

start_viewer "$SAMPLE_BOOK"
wait_until 10 title_ends_with "page01.jpg]" || fail "the sample book did not open: '$(title)'"
sample_points

shot first
page_pane=$(ink_count first $((WX + WW - 420)) $((WY + WH - 26)) 200 26 "rgb(0,0,0)" 40)
[ "$page_pane" -gt 5 ] || fail "the page pane shows no page counter"
paper1=$(pixel first "$CX" "$MARGIN_Y")
outside=$(pixel first $((WX + 10)) "$MARGIN_Y")
[ "$paper1" != "$outside" ] || fail "the first page is not in the middle of the view ($paper1)"

turn space "page02.jpg]"
paper2=$(paper_at_centre second)
[ "$paper2" != "$paper1" ] || fail "the picture did not change with the title"
turn Next "page03.jpg]"
turn Down "page04.jpg]"
turn Prior "page03.jpg]"
turn Up "page02.jpg]"
[ "$(paper_at_centre back2)" = "$paper2" ] || fail "page 2 looks different when turned back to"

# The wheel over the view: towards the reader turns forward, away turns back.
xdotool mousemove "$CX" "$CY"
turn_by_wheel() {
    local attempt
    for attempt in 1 2 3 4 5; do
        xdotool click "$1"
        wait_until 1 title_ends_with "$2" && return 0
    done
    fail "wheel button $1 left the title at '$(title)', expected '$2'"
}
turn_by_wheel 5 "page03.jpg]"
turn_by_wheel 4 "page02.jpg]"

# Clicks: the lower half of the view turns forward, the upper half back.
turn_by_click() {
    local attempt
    for attempt in 1 2 3 4 5; do
        xdotool mousemove "$CX" "$1" click 1
        wait_until 1 title_ends_with "$2" && return 0
    done
    fail "a click at y=$1 left the title at '$(title)', expected '$2'"
}
turn_by_click $((WY + WH * 3 / 4)) "page03.jpg]"
turn_by_click $((WY + WH / 4)) "page02.jpg]"

turn End "page12.jpg]"
turn Home "page01.jpg]"
[ "$(paper_at_centre home)" = "$paper1" ] || fail "Home did not show the first page again"

# Two pages side by side: page 1 on the left, page 2 on the right; Tab swaps them.
left_x=$((CX - WW * 45 / 100))
right_x=$((CX + WW * 5 / 100))
two_pages_are() {
    shot pair
    [ "$(pixel pair "$left_x" "$CY")" = "$1" ] && [ "$(pixel pair "$right_x" "$CY")" = "$2" ]
}
xdotool key 2
wait_until 5 two_pages_are "$paper1" "$paper2" ||
    fail "key 2 shows $(pixel pair "$left_x" "$CY") | $(pixel pair "$right_x" "$CY"), expected $paper1 | $paper2"
xdotool key Tab
wait_until 5 two_pages_are "$paper2" "$paper1" || fail "Tab did not swap the two pages"
# Key 1 goes back to one page: page 1 alone in the middle again.
xdotool key 1
one_page_again() {
    [ "$(paper_at_centre single)" = "$paper1" ] && [ "$(pixel single "$left_x" "$CY")" = "$outside" ]
}
wait_until 5 one_page_again || fail "key 1 did not go back to one page"

# Z shows the page at its own size: wider than fitted, so paper reaches further left.
natural_x=$((CX - 300))
shot fitted
fitted=$(pixel fitted "$natural_x" "$MARGIN_Y")
xdotool key z
natural_shown() { shot natural; [ "$(pixel natural "$natural_x" "$MARGIN_Y")" = "$paper1" ]; }
wait_until 5 natural_shown || fail "Z did not show the page at its own size (at x-300: $(pixel natural "$natural_x" "$MARGIN_Y"), fitted: $fitted)"
echo "reading: ok"
