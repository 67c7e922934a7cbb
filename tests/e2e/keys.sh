#!/usr/bin/env bash
# The view's keys are keys of the keyboard, not the characters they type: Shift+2 (which
# types @) is key 2, and Alt+2 and Ctrl+2 are left to the accelerators, which have nothing
# on them.
source "$(dirname "$0")/lib.sh"

setting() { sed -n "s/^$1=//p" "$CONFIG_FILE"; }

start_viewer
xdotool key shift+2 alt+2 ctrl+2
close_window
[ "$(setting bView2Page)" = 1 ] ||
    fail "after Shift+2, Alt+2 and Ctrl+2 bView2Page=$(setting bView2Page), expected only Shift+2 to switch it"
echo "keys: ok"
