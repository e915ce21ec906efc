#!/usr/bin/env bash
# Builds Kestrin with its tests and runs them all. Extra arguments go to cmake's configure step
# (.ci/run passes -DKESTRIN_SANITIZE=ON with another KESTRIN_BUILD_DIR).
source "$(dirname "$0")/setup.sh"

install_missing_packages
build -DKESTRIN_BUILD_TESTS=ON "$@"
cd "$BUILD_DIR"
# The tests bring their own displays and session bus; without the user's display no test can
# open a window on it, nor have a session bus started that outlives the run.
env -u DISPLAY -u WAYLAND_DISPLAY \
    ctest --output-on-failure --timeout 600 -j "$JOBS" </dev/null
