#!/usr/bin/env bash
# Builds Kestrin and opens it with `kestrin --demo` in a demo folder of the user's own: the
# made-up game images and the stand-in emulator marlo are copied there where they are missing.
# Settings made in the demo stay in its config.dat between runs.
source "$(dirname "$0")/setup.sh"

# Kestrin is a desktop program: say so at once rather than after the build.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: neither DISPLAY nor WAYLAND_DISPLAY is set, and Kestrin is a desktop" >&2
    echo "program. Run this again from a desktop session (or over ssh -X)." >&2
    exit 1
fi

install_missing_packages
build -- kestrin kestrin-cmd marlo
echo "Demo folder: ${XDG_DATA_HOME:-$HOME/.local/share}/kestrin/demo"

# Outside a desktop session (ssh -X, a bare X server) there is no session bus, and the first
# program that asks for one would start one that outlives it: Kestrin gets a bus of its own
# that ends with it.
session=()
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ ! -S "${XDG_RUNTIME_DIR:-/nonexistent}/bus" ]; then
    session=(dbus-run-session --)
fi
exec "${session[@]}" "$BUILD_DIR/bin/kestrin" --demo
