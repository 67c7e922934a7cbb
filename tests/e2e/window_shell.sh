#!/usr/bin/env bash
# The window appears titled "Tavimo" with its toolbar, its status bar's idle text and an
# empty page pane.
source "$(dirname "$0")/lib.sh"
journey <<'STEPS'
start_viewer | title_is Tavimo               | the first title is not Tavimo
:            | bars_shown && ! counter_shown | no toolbar or idle text, or a page counter before a book is open
STEPS
