#!/usr/bin/env bash
# Builds the benchmarks in their own optimised build folder and prints the figures.
source "$(dirname "$0")/../scripts/setup.sh"
BUILD_DIR="${KESTRIN_BUILD_DIR:-$ROOT/build-bench}"

install_missing_packages
build -DCMAKE_BUILD_TYPE=Release -DKESTRIN_BUILD_BENCH=ON -DKESTRIN_BUILD_TESTS=OFF -- \
    kestrin_bench kestrin kestrin-cmd
"$BUILD_DIR/bin/kestrin_bench"
