#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang in their own build folder and runs each
# for KESTRIN_FUZZ_SECONDS (30 by default) from a small seed corpus. Fails when one finds a
# crash or a broken rule; the input that did it is left in the build folder.
source "$(dirname "$0")/setup.sh"
BUILD_DIR="${KESTRIN_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
SECONDS_EACH="${KESTRIN_FUZZ_SECONDS:-30}"

PACKAGES+=(clang libclang-rt-14-dev)
install_missing_packages
TARGETS=()
for source in "$ROOT"/tests/fuzz/*_fuzz.cpp; do
    TARGETS+=("$(basename "$source" .cpp)")
done
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1"
CC=clang CXX=clang++ build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_FUZZ=ON \
    -DKESTRIN_BUILD_TESTS=OFF -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -- \
    "${TARGETS[@]}"

# Seeds: what the parsers meet in a real folder, one file each.
seeds() {
    case "$1" in
    leading_number_fuzz) printf '%s\n' ' 15.5' '-&H1F' '1d-3' '60' '1,000.5' ;;
    settings_file_fuzz) printf '%s\n' ' 1 |1|7|2|1|0|||60|1|1|0|1| 60 |500|1|0|1|0|1|1|2|0' \
        '0|0|||0|0|||0|0|0|0|0|0|0|0|0|0||0|0|0|0|' ;;
    listing_fuzz) printf '%s\n' 'Harbor Run.bin|pong.BIN|.bin|h1|h2|h3|h4|h5|HARBOR~1 BIN  4 x|   2 files' ;;
    batch_line_fuzz) printf '%s\n' 'marlo -x -c0 GAME~1  > results.dat' 'dir /On /b *.bin > games.dat' ;;
    esac
}

failed=0
for target in "${TARGETS[@]}"; do
    program="$BUILD_DIR/bin/$target"
    corpus="$BUILD_DIR/corpus/$target"
    mkdir -p "$corpus"
    n=0
    while IFS= read -r seed; do
        n=$((n + 1))
        printf '%s' "$seed" | tr '|' '\n' > "$corpus/seed$n"
    done < <(seeds "$target")
    echo "== $target: ${SECONDS_EACH}s"
    if ! (cd "$BUILD_DIR" && "$program" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
        -artifact_prefix="$BUILD_DIR/$target-" "$corpus" 2>&1 | tail -n 25); then
        echo "== $target FAILED"
        failed=1
    fi
done
exit "$failed"
