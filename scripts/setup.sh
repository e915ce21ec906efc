# Shared by demo.sh, test.sh and bench/run.sh: installs the Debian 12 packages that are missing
# and configures and builds Kestrin. Source it; it defines ROOT, BUILD_DIR and JOBS.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${KESTRIN_BUILD_DIR:-$ROOT/build}"
JOBS="${KESTRIN_JOBS:-$(nproc)}"

PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins zlib1g-dev
          libxcb1-dev libsdl2-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb openbox xdotool
          x11-utils dbus at-spi2-core python3-pyatspi xauth imagemagick fonts-dejavu-core clang-format
          dpkg-dev file desktop-file-utils appstream weston qt6-wayland qt6-gtk-platformtheme
          lintian man-db)

# Runs apt-get only when a package is missing, so that a second run starts building at once.
install_missing_packages() {
    local missing=() p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update </dev/null
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends \
        "${missing[@]}" </dev/null
}

# build [cmake options...] -- [targets...]: configures BUILD_DIR and builds the targets (all
# when none are named).
build() {
    local options=() targets=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    targets=("$@")
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja "${options[@]}"
    if [ ${#targets[@]} -gt 0 ]; then
        cmake --build "$BUILD_DIR" -j "$JOBS" --target "${targets[@]}"
    else
        cmake --build "$BUILD_DIR" -j "$JOBS"
    fi
}
