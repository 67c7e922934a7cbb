#!/usr/bin/env bash
# The Debian package, made by CPack from this build tree and unpacked into a scratch root:
# it holds the program, the launcher, the icons, the metainfo and the PCO type; the
# unpacked program runs; and every library and Qt plugin it loads, and the Korean fonts,
# come from a package it depends on.
# Usage: package.sh BUILD_DIR EXPECTED_VERSION
set -euo pipefail
BUILD=$1
VERSION=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log" >&2; fail "cpack could not make the package"; }
arch=$(dpkg --print-architecture)
deb=$WORK/out/tavimo_${VERSION}_${arch}.deb
[ -f "$deb" ] || fail "no $deb; cpack made: $(ls "$WORK/out")"
[ "$(dpkg-deb -f "$deb" Version)" = "$VERSION" ] || fail "package version $(dpkg-deb -f "$deb" Version)"

ROOT=$WORK/root
dpkg-deb -x "$deb" "$ROOT"
SHARE=$ROOT/usr/share

# The unpacked program runs from the scratch root against the system's libraries.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$ROOT/usr/bin/tavimo" --version) ||
    fail "the packaged tavimo --version ended with status $?"
[ "$out" = "Tavimo $VERSION" ] || fail "the packaged tavimo says '$out'"

desktop-file-validate "$SHARE/applications/tavimo.desktop" || fail "the packaged launcher entry does not validate"
grep -qx "Exec=tavimo %f" "$SHARE/applications/tavimo.desktop" || fail "the launcher does not run tavimo"
grep -qx "Icon=tavimo" "$SHARE/applications/tavimo.desktop" || fail "the launcher does not show the tavimo icon"
appstreamcli validate --no-net "$SHARE/metainfo/com.zellory.Tavimo.metainfo.xml" >/dev/null ||
    fail "the packaged metainfo does not validate"
grep -q 'pattern="\*.pco"' "$SHARE/mime/packages/tavimo-pco.xml" || fail "the package does not declare .pco books"
[ -s "$SHARE/icons/hicolor/scalable/apps/tavimo.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
    png=$SHARE/icons/hicolor/${size}x${size}/apps/tavimo.png
    [ -f "$png" ] || fail "no ${size}x${size} icon"
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "$png is $(identify -format '%wx%h' "$png")"
done

# Every runtime need must come from a package the .deb depends on.
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/ //g')
owner() {
    local path=$1 alternative
    for alternative in "$path" "${path#/usr}" "/usr$path"; do
        dpkg-query -S "$alternative" 2>/dev/null | head -1 | cut -d: -f1 && return 0
    done
    echo "(no package for $path)"
}
require_owner_of() {
    local package
    package=$(owner "$1")
    grep -qx "$package" <<<"$depends" || fail "$2 ($1) comes from '$package', which the package does not depend on"
}

libraries=$(ldd "$ROOT/usr/bin/tavimo")
for needed in $(objdump -p "$ROOT/usr/bin/tavimo" | awk '$1 == "NEEDED" { print $2 }'); do
    [[ $needed == ld-linux* ]] && continue
    path=$(awk -v lib="$needed" '$1 == lib { print $3 }' <<<"$libraries")
    [ -n "$path" ] && [ "$path" != "not" ] || fail "$needed is not found on this system"
    require_owner_of "$path" "the linked library $needed"
done

plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/$(gcc -print-multiarch)/qt6/plugins)
for plugin in platforms/libqxcb.so imageformats/libqgif.so imageformats/libqjpeg.so; do
    [ -f "$plugins/$plugin" ] || fail "Qt plugin $plugin is not installed"
    require_owner_of "$plugins/$plugin" "the Qt plugin $plugin"
done

for family in NanumGothic NanumGothicCoding; do
    file=$(fc-match -f '%{file}' "$family")
    [ "$(fc-match -f '%{family[0]}' "$family")" = "$family" ] || fail "the font $family is not installed"
    require_owner_of "$file" "the Korean font $family"
done
echo "package $(basename "$deb") depends on: $(tr '\n' ' ' <<<"$depends")"
