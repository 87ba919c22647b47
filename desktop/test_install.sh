#!/usr/bin/env bash
# Installs the build into a temporary prefix, as `cmake --install` does for
# a user, and checks the program, the launcher entry and the icons there.
# Usage: test_install.sh CMAKE BUILD-DIR
set -uo pipefail

cmake=$1
build=$2
prefix=$(mktemp -d /tmp/quor-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! "$cmake" --install "$build" --prefix "$prefix" >"$prefix/install.log" 2>&1; then
    cat "$prefix/install.log"
    fail "cmake --install"
    exit 1
fi

[ -x "$prefix/bin/quor" ] || fail "bin/quor is missing or not executable"

entry=$prefix/share/applications/quor.desktop
if [ ! -f "$entry" ]; then
    fail "no desktop entry in share/applications"
else
    # Warnings count too: a menu may drop an entry it merely warns about.
    said=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate failed"
    [ -z "$said" ] || fail "desktop-file-validate: $said"
    value() { grep -m1 "^$1=" "$entry" | cut -d= -f2-; }
    [ "$(value 'Name')" = "Quor Paint" ] || fail "English name: $(value 'Name')"
    [ "$(value 'Name\[zh_CN\]')" = "Quor 画图" ] || fail "Chinese name: $(value 'Name\[zh_CN\]')"
    [ -n "$(value 'Comment')" ] && [ -n "$(value 'Comment\[zh_CN\]')" ] || fail "comments"
    [ "$(value 'Categories')" = "Graphics;2DGraphics;RasterGraphics;" ] || fail "categories"
    for type in image/bmp image/gif image/jpeg image/vnd.microsoft.icon image/wmf image/emf \
                image/png image/webp image/tiff image/x-portable-pixmap; do
        [[ ";$(value 'MimeType')" == *";$type;"* ]] || fail "MIME type $type not listed"
    done
    exec_name=$(value 'Exec' | cut -d' ' -f1)
    [ -x "$prefix/bin/$exec_name" ] || fail "Exec names $exec_name, not installed in bin/"
    [[ "$(value 'Exec')" == *"%F"* ]] || fail "Exec does not take files (%F)"
    icon=$(value 'Icon')
fi

theme=$prefix/share/icons/hicolor
svg=$theme/scalable/apps/${icon:-quor}.svg
[ -f "$svg" ] || fail "no scalable icon $svg"
for size in 16 22 24 32 48 64 128 256; do
    png=$theme/${size}x${size}/apps/${icon:-quor}.png
    if [ ! -f "$png" ]; then
        fail "no ${size}x${size} icon"
        continue
    fi
    got=$(identify -format '%m %wx%h' "$png" 2>&1)
    [ "$got" = "PNG ${size}x${size}" ] || fail "${size}x${size} icon is $got"
done

# The vector icon, drawn by another renderer, looks like the bitmap one.
if [ -f "$svg" ] && [ -f "$theme/64x64/apps/quor.png" ]; then
    if rsvg-convert -w 64 -h 64 -o "$prefix/svg-64.png" "$svg"; then
        # RMSE over all channels, alpha included, normalised to 0..1.
        rmse=$(compare -metric RMSE "$prefix/svg-64.png" "$theme/64x64/apps/quor.png" null: 2>&1 \
               | sed -n 's/.*(\(.*\)).*/\1/p')
        awk -v e="$rmse" 'BEGIN { exit !(e != "" && e < 0.03) }' \
            || fail "the SVG icon differs from the PNG one (RMSE ${rmse:-unknown})"
        ink=$(convert "$prefix/svg-64.png" -alpha extract -format '%[fx:mean]' info:)
        awk -v m="$ink" 'BEGIN { exit !(m > 0.3) }' || fail "the SVG icon is nearly empty ($ink)"
    else
        fail "rsvg-convert can't read the SVG icon"
    fi
fi

# The installed program starts and keeps running until it is stopped.
mkdir -p "$prefix/home"
HOME=$prefix/home XDG_CONFIG_HOME=$prefix/home/.config QT_QPA_PLATFORM=offscreen \
    timeout 5 "$prefix/bin/quor" >"$prefix/run.log" 2>&1
code=$?
if [ $code -ne 124 ]; then
    cat "$prefix/run.log"
    fail "the installed program stopped by itself (exit $code)"
fi

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "installed and checked in a temporary prefix"
