#!/usr/bin/env bash
# Closing the window writes all ten settings, with the switches as the reader left them and
# whether the window was maximized.
source "$(dirname "$0")/lib.sh"

setting() { sed -n "s/^$1=//p" "$CONFIG_FILE"; }

start_viewer
xdotool key 2 z
close_window
[ -f "$CONFIG_FILE" ] || fail "no settings file at $CONFIG_FILE"
for name in bFlipPage bInterpolation bSharpen bStretech bView2Page bCacheNextFile bAutoDetectWidth \
    bIsMaximized bRotate sRecentFolder; do
    grep -q "^$name=" "$CONFIG_FILE" || fail "$name missing from the settings file"
done
[ "$(setting bView2Page)" = 1 ] || fail "key 2 was not kept: bView2Page=$(setting bView2Page)"
[ "$(setting bStretech)" = 0 ] || fail "key Z was not kept: bStretech=$(setting bStretech)"
[ "$(setting bIsMaximized)" = 0 ] || fail "a normal window was recorded as maximized"

# Started maximized, closed maximized: the setting stays on.
sed -i 's/^bIsMaximized=.*/bIsMaximized=1/' "$CONFIG_FILE"
start_viewer
read_geometry
wait_until 10 sh -c "xdotool getwindowgeometry --shell $WIN | grep -qx WIDTH=1280" ||
    fail "the window did not start maximized"
close_window
[ "$(setting bIsMaximized)" = 1 ] || fail "a maximized window was recorded as not maximized"
echo "settings: ok"
