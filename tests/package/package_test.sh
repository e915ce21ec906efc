#!/usr/bin/env bash
# Builds the Debian package of the build folder given as argument with cpack, unpacks it into a
# temporary root and checks what it installs: the programs run from there, the desktop entry and
# the metainfo validate, the icon resolves at every size, the dependencies come from the binaries.
set -euo pipefail
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack -G DEB --config "$1/CPackConfig.cmake" -B "$root/out" >"$root/cpack.log" ||
    { cat "$root/cpack.log"; fail "cpack"; }
deb="$(echo "$root"/out/kestrin_*.deb)"
dpkg-deb -x "$deb" "$root/fs"
usr="$root/fs/usr"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6 (>=' || fail "Depends: $(dpkg-deb -f "$deb" Depends)"
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "Recommends"

# kestrin-cmd lists a folder as the launcher's scan has it do; kestrin answers without a display.
touch "$root/Zap Zone.bin" && printf 'dir /On /b *.bin > games.dat\r\n' >"$root/getlist.bat"
(cd "$root" && "$usr/bin/kestrin-cmd" getlist.bat) || fail "kestrin-cmd"
[ "$(cat "$root/games.dat")" = $'Zap Zone.bin\r' ] || fail "listing"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/kestrin" --version)" = "kestrin 1.1" ] ||
    fail "kestrin --version"
[ -x "$usr/lib/kestrin/marlo" ] && ls "$usr/share/kestrin/demo/"*.bin >/dev/null ||
    fail "demo folder"

# The desktop entry and the metainfo: valid, naming each other, and the icon in every size.
desktop="$usr/share/applications/org.kestrin.kestrin.desktop"
metainfo="$usr/share/metainfo/org.kestrin.kestrin.metainfo.xml"
[ -z "$(desktop-file-validate "$desktop" 2>&1)" ] || fail "$(desktop-file-validate "$desktop" 2>&1)"
report="$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1)" || fail "$report"
! grep -E '^[EWIP]:' <<<"$report" || fail "metainfo"
grep -q '<launchable type="desktop-id">org.kestrin.kestrin.desktop</launchable>' "$metainfo" ||
    fail "launchable"
icon="$(sed -n 's/^Icon=//p' "$desktop")"
grep -q "^Exec=kestrin --choose-folder$" "$desktop" || fail "Exec"
for size in 16 22 24 32 48 64 128 256; do
    file "$usr/share/icons/hicolor/${size}x$size/apps/$icon.png" | grep -q "PNG image data, $size x $size" ||
        fail "icon $size"
done
file "$usr/share/icons/hicolor/scalable/apps/$icon.svg" | grep -q SVG || fail "scalable icon"
