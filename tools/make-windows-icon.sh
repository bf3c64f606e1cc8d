#!/usr/bin/env bash
# Makes resources/skerrow.ico, the icon of skerrow.exe, from packaging/skerrow.svg, the icon
# of the desktop entry: the picture drawn at 16, 24, 32, 48 and 256 pixels (each size from
# the drawing itself, not one bitmap scaled down), the first four stored as bitmaps, the
# largest as PNG, as Windows Vista and later read it. The .ico is checked in, so that the
# build needs no SVG renderer; run this again after changing the SVG, and commit both.
# Needs rsvg-convert (package librsvg2-bin) and icotool (package icoutils).
# Usage: tools/make-windows-icon.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-packages.sh librsvg2-bin icoutils
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
small=()
for size in 16 24 32 48; do
    rsvg-convert --width "$size" --height "$size" --output "$work/$size.png" packaging/skerrow.svg
    small+=("$work/$size.png")
done
rsvg-convert --width 256 --height 256 --output "$work/256.png" packaging/skerrow.svg
icotool --create --output resources/skerrow.ico "${small[@]}" --raw="$work/256.png"
icotool --list resources/skerrow.ico
