#!/usr/bin/env bash
# Renders the main window's logo from its SVG at 1x (134 x 107) and 2x with rsvg-convert (Debian:
# librsvg2-bin). The PNGs are committed, so that building needs no SVG renderer: run this again
# after a change to the SVG.
set -euo pipefail
cd "$(dirname "$0")"
rsvg-convert --width 134 --height 107 logo.svg -o logo.png
rsvg-convert --width 268 --height 214 logo.svg -o logo@2x.png
