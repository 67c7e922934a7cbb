#!/usr/bin/env bash
# Closing the window writes all ten settings, with the switches as the reader left them
# and whether the window was maximized. The view's keys are keys of the keyboard: Shift+2
# (which types @) is key 2, while Alt+2 and Ctrl+2 are left to the accelerators.
source "$(dirname "$0")/lib.sh"
all_written() {
    local name
    for name in bFlipPage bInterpolation bSharpen bStretech bView2Page bCacheNextFile bAutoDetectWidth \
        bIsMaximized bRotate sRecentFolder; do
        grep -q "^$name=" "$CONFIG_FILE" || return 1
    done
}
journey <<'STEPS'
start_viewer                        | title_is Tavimo | the viewer did not start
xdotool key shift+2 alt+2 ctrl+2 z; close_window | all_written | not all ten settings were written
:                                   | [ "$(setting bView2Page)$(setting bStretech)$(setting bIsMaximized)" = 100 ] | Shift+2 (and only it) or Z not kept, or a normal window recorded as maximized
sed -i 's/^bIsMaximized=.*/bIsMaximized=1/' "$CONFIG_FILE"; start_viewer | read_geometry && [ $WW = 1280 ] | the window did not start maximized
close_window                        | [ "$(setting bIsMaximized)" = 1 ] | a maximized window was recorded as not maximized
STEPS
