#!/usr/bin/env bash
# Builds the benchmarks in their own optimised build folder and prints the figures.
source "$(dirname "$0")/../scripts/setup.sh"
BUILD_DIR="${KESTRIN_BUILD_DIR:-$ROOT/build-bench}"

install_missing_packages
build -DCMAKE_BUILD_TYPE=Release -DKESTRIN_BUILD_BENCH=ON -DKESTRIN_BUILD_TESTS=OFF -- \
    kestrin_bench kestrin_controllers_bench kestrin kestrin-cmd
# Qt wants a private runtime folder; outside a desktop session the benchmark brings its own.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d)"
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
"$BUILD_DIR/bin/kestrin_bench" "$@"
# The controllers' idle cost belongs to the whole run, not to the folder-size table.
[ "${1:-}" = "--scale" ] || "$BUILD_DIR/bin/kestrin_controllers_bench"
