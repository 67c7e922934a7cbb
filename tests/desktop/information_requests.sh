#!/usr/bin/env bash
# `tavimo --help` and `tavimo --version` answer on a machine with no display at all: they
# are read before the program connects to one.
# Usage: information_requests.sh TAVIMO EXPECTED_VERSION
set -euo pipefail
TAVIMO=$1
VERSION=$2

fail() { echo "FAIL: $*" >&2; exit 1; }
without_display() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$TAVIMO" "$@"; }

for option in --version -v; do
    out=$(without_display "$option" 2>/dev/null) || fail "'tavimo $option' ended with status $?"
    [ "$out" = "Tavimo $VERSION" ] || fail "'tavimo $option' printed '$out', expected 'Tavimo $VERSION'"
done

for option in --help -h; do
    out=$(without_display "$option" 2>/dev/null) || fail "'tavimo $option' ended with status $?"
    for expected in "Usage: $TAVIMO [options] [BOOK]" "a folder, a .zip or .cbz archive or a .pco book" \
                    "--version" "--help"; do
        grep -qF -- "$expected" <<<"$out" || fail "'tavimo $option' does not say '$expected':
$out"
    done
done

# Qt's own options may come first; they must not swallow the request.
out=$(without_display -style fusion --version 2>/dev/null) || fail "'-style fusion --version' failed"
[ "$out" = "Tavimo $VERSION" ] || fail "'-style fusion --version' printed '$out'"

# Nothing but the answer on stdout, nothing at all on stderr.
err=$(without_display --version 2>&1 >/dev/null)
[ -z "$err" ] || fail "'tavimo --version' wrote to stderr: $err"
echo "help and version answer without a display"
