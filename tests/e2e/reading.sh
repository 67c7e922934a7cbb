#!/usr/bin/env bash
# Reading the sample book: keys, the wheel and clicks turn pages forward and back, the
# title names each page in order, the page picture stands where it should, and the keys
# for two pages, flipping, natural size and rotation change the picture.
source "$(dirname "$0")/lib.sh"
journey <<'STEPS'
start_viewer "$SAMPLE_BOOK"     | title_ends_with page01.jpg]    | the sample book did not open
:                               | fitted && P1=$PAPER && counter_shown | the first page is not fitted at the left of the view, or no page counter
+xdotool key space              | title_ends_with page02.jpg]    | Space did not turn to page 2
:                               | P2=$(pixel $PAGE_X $MARGIN_Y) && [ "$P2" != "$P1" ] | the picture did not change with the title
+xdotool key Next               | title_ends_with page03.jpg]    | Page Down did not turn to page 3
+xdotool key Down               | title_ends_with page04.jpg]    | Down did not turn to page 4
+xdotool key Prior              | title_ends_with page03.jpg]    | Page Up did not turn back to page 3
+xdotool key Up                 | title_ends_with page02.jpg]    | Up did not turn back to page 2
:                               | [ "$(pixel $PAGE_X $MARGIN_Y)" = "$P2" ] | page 2 looks different when turned back to
# The wheel towards the reader turns forward, away back; a click in the lower half of the
# view forward, in the upper half back.
xdotool mousemove $CX $CY       | :                              | -
+xdotool click 5                | title_ends_with page03.jpg]    | the wheel did not turn forward
+xdotool click 4                | title_ends_with page02.jpg]    | the wheel did not turn back
+xdotool mousemove $CX $((WY + WH * 3 / 4)) click 1 | title_ends_with page03.jpg] | a click in the lower half did not turn forward
+xdotool mousemove $CX $((WY + WH / 4)) click 1     | title_ends_with page02.jpg] | a click in the upper half did not turn back
+xdotool key End                | title_ends_with page12.jpg]    | End did not show the last page
+xdotool key Home               | title_ends_with page01.jpg]    | Home did not show the first page
:                               | [ "$(pixel $PAGE_X $MARGIN_Y)" = "$P1" ] | Home did not show the first page's picture
# Shift+Delete is an edit key that does nothing, although Delete turns; the grave accent
# key after it hides the bars, so once they are gone Shift+Delete has been handled.
xdotool key shift+Delete grave  | bars_gone && title_ends_with page01.jpg] | Shift+Delete turned the page, or grave did not hide the bars
xdotool key grave               | bars_shown                     | the grave accent key did not bring the bars back
+xdotool key Delete             | title_ends_with page02.jpg]    | Delete did not turn to page 2
+xdotool key Home               | title_ends_with page01.jpg]    | Home did not show the first page
# Two pages side by side, page 1 on the left; Tab swaps them; 1 goes back to one page.
xdotool key 2                   | [ "$(pixel $LEFT_X $CY)$(pixel $RIGHT_X $CY)" = "$P1$P2" ] | key 2 did not show pages 1 and 2 side by side
xdotool key Tab                 | [ "$(pixel $LEFT_X $CY)$(pixel $RIGHT_X $CY)" = "$P2$P1" ] | Tab did not swap the two pages
xdotool key 1                   | fitted && [ "$PAPER" = "$P1" ] | key 1 did not go back to one page
# Z shows the page at its own size, 800 pixels wide, and R turns it a quarter: either way
# its paper reaches OUTSIDE_X; pressed again each goes back.
xdotool key z                   | paper_reaches_outside          | Z did not show the page at its own size
xdotool key z                   | fitted                         | Z again did not fit the page to the window
xdotool key r                   | paper_reaches_outside          | R did not turn the page
xdotool key r                   | fitted                         | R again did not turn the page back
STEPS
