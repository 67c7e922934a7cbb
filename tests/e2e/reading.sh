#!/usr/bin/env bash
# Reading the sample book: keys, the wheel and clicks turn pages forward and back.
source "$(dirname "$0")/lib.sh"
start_viewer "$SAMPLE_BOOK"
wait_until 10 title_ends_with "page01.jpg]" || fail "the sample book did not open: '$(title)'"
echo "reading: ok"
