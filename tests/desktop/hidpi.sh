#!/usr/bin/env bash
# On a screen of twice the usual density (QT_SCALE_FACTOR=2, a 2560x1600 Xvfb screen) the
# viewer draws at the screen's own pixels: toolbar icons have sharp edges rather than the
# 2x2 blocks of an enlarged small picture, and a page shown at natural size (fit off)
# maps one picture pixel to one screen pixel, so a one-pixel checkerboard stays one.
# Usage (inside xvfb-run): hidpi.sh TAVIMO SAMPLE_BOOK
source "$(dirname "$0")/../e2e/lib.sh"
export QT_SCALE_FACTOR=2

# A book of one page larger than the window: a checkerboard of single black and white
# pixels (ImageMagick's 50% grey pattern), stored losslessly.
BOOK=$WORK/checkerboard
mkdir -p "$BOOK"
convert -size 2400x1800 pattern:gray50 "BMP3:$BOOK/page01.bmp"

start_viewer "$BOOK"
wait_until 10 title_ends_with "page01.bmp]" || fail "the checkerboard book did not open: '$(title)'"
read_geometry
EVEN_X=$((WX / 2 * 2))
EVEN_Y=$((WY / 2 * 2))

# alternation SHOT X Y W H: the mean difference between each pixel of the rectangle and its
# right-hand and lower neighbours, 0 (flat) to 1 (every neighbour the opposite extreme).
alternation() {
    convert "$WORK/$1.png" -crop "$4x$5+$2+$3" +repage -colorspace gray \
        \( -clone 0 -roll -1+0 \) \( -clone 0 -roll +0-1 \) \
        \( -clone 0,1 -compose difference -composite \) \( -clone 0,2 -compose difference -composite \) \
        -delete 0-2 -compose darken -composite -crop "$(($4 - 1))x$(($5 - 1))+0+0" \
        -format "%[fx:mean]" info:
}
# off_block_pixels SHOT X Y W H: how many pixels of the rectangle (at even coordinates) differ by
# more than a quarter of full scale from the 2x2 block they lie in; 0 for an enlarged
# picture of half the resolution.
off_block_pixels() {
    convert "$WORK/$1.png" -crop "$4x$5+$2+$3" +repage -colorspace gray \
        \( +clone -sample 50% -sample 200% \) -compose difference -composite \
        -threshold 25% -format "%[fx:round(mean*w*h)]" info:
}
greater() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Fit off: the page at its natural size fills the view; a patch in its middle must hold
# the checkerboard pixel for pixel.
PATCH_X=$((EVEN_X + WW / 2))
PATCH_Y=$((EVEN_Y + WH / 2))
natural_checkerboard() {
    shot page
    a=$(alternation page "$PATCH_X" "$PATCH_Y" 64 64)
    greater "$a" 0.9
}
xdotool key z
wait_until 10 natural_checkerboard ||
    fail "with fit off the page is not a one-pixel checkerboard on the screen (alternation $a)"

# Toolbar: the first buttons' icons, at even screen pixels, above the view's top edge.
# They must have ink and edges that fall between the pixels of a 2x2 block.
TOOLBAR_W=240
TOOLBAR_H=56
shot toolbar
ink=$(ink_count toolbar "$EVEN_X" "$EVEN_Y" "$TOOLBAR_W" "$TOOLBAR_H" "rgb(30,50,90)" 25)
[ "$ink" -gt 200 ] || fail "no toolbar icons at the top of the window ($ink dark pixels)"
sharp=$(off_block_pixels toolbar "$EVEN_X" "$EVEN_Y" "$TOOLBAR_W" "$TOOLBAR_H")
[ "$sharp" -gt 40 ] || fail "toolbar icons look like an enlarged small picture ($sharp pixels off the 2x2 blocks)"
echo "checkerboard alternation $a; toolbar: $ink dark pixels, $sharp off the 2x2 blocks"
close_window
