#!/usr/bin/env bash
# Builds Kestrin, prepares a demo folder (made-up game images and the stand-in emulator marlo)
# and opens Kestrin in it. Settings made in the demo stay in its config.dat between runs.
source "$(dirname "$0")/setup.sh"

install_missing_packages
build -- kestrin kestrin-cmd marlo

DEMO_DIR="${KESTRIN_DEMO_DIR:-$BUILD_DIR/demo}"
mkdir -p "$DEMO_DIR"
cp "$ROOT"/demo/* "$DEMO_DIR"/
cp "$BUILD_DIR/bin/marlo" "$DEMO_DIR"/
echo "Demo folder: $DEMO_DIR"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: neither DISPLAY nor WAYLAND_DISPLAY is set, and Kestrin is a desktop" >&2
    echo "program. Run this again from a desktop session (or over ssh -X)." >&2
    exit 1
fi
cd "$DEMO_DIR"
exec "$BUILD_DIR/bin/kestrin"
