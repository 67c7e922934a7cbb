#!/usr/bin/env bash
# Reading on: a folder book left on its third page opens there again at the next start
# when bResumePage is on, and on its first page when it is off.
source "$(dirname "$0")/lib.sh"

BOOK=$WORK/book
mkdir -p "$BOOK"
unzip -q "$SAMPLE_BOOK" -d "$BOOK" || fail "the sample book could not be unpacked"

# read_and_reopen RESUME EXPECTED_TITLE_END
read_and_reopen() {
    rm -f "$CONFIG_FILE"
    printf '[General]\nbResumePage=%s\n' "$1" >"$CONFIG_FILE"
    start_viewer "$BOOK"
    wait_until 10 title_ends_with "page01.jpg]" || fail "the book did not open: '$(title)'"
    turn space "page02.jpg]"
    turn space "page03.jpg]"
    close_window
    start_viewer "$BOOK"
    wait_until 10 title_ends_with "$2" || fail "with bResumePage=$1 the book reopened on '$(title)', expected '$2'"
    close_window
}

read_and_reopen 1 "page03.jpg]"
read_and_reopen 0 "page01.jpg]"
echo "reading_on: ok"
