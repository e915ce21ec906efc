#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG with rsvg-convert (Debian: librsvg2-bin).
# The PNGs are committed, so that building and packaging need no SVG renderer: run this again
# after a change to the SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" org.kestrin.kestrin.svg -o "kestrin-$size.png"
done
