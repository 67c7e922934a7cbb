#!/usr/bin/env bash
# The window appears titled "Tavimo" with its toolbar, status bar and an empty page pane.
source "$(dirname "$0")/lib.sh"

start_viewer
title_is "Tavimo" || fail "the first title is '$(title)'"
read_geometry
shot start
toolbar_ink=$(ink_count start "$WX" "$WY" "$WW" 40 "rgb(30,50,90)")
[ "$toolbar_ink" -gt 50 ] || fail "no toolbar buttons along the top ($toolbar_ink pixels of ink)"
idle_text=$(ink_count start "$WX" $((WY + WH - 26)) 100 26 "rgb(0,0,0)" 40)
[ "$idle_text" -gt 10 ] || fail "no idle text in the status bar ($idle_text dark pixels)"
page_pane=$(ink_count start $((WX + WW - 420)) $((WY + WH - 26)) 200 26 "rgb(0,0,0)" 40)
[ "$page_pane" -eq 0 ] || fail "the page pane shows text before a book is open"
echo "window shell: ok"
