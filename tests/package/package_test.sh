#!/usr/bin/env bash
# Builds the Debian package of the build folder given as argument with cpack, unpacks it into a
# temporary root and checks what it installs: the programs run from there, the desktop entry and
# the metainfo validate, the icon resolves at every size, the dependencies come from the binaries,
# lintian finds nothing to complain of, and the manual pages format and document what they must.
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
[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland, qt6-gtk-platformtheme" ] || fail "Recommends"

# lintian: no error, no warning, and in a hardened build no hardening note (those are
# informational, hence -I). A sanitized or Debug build is no package to ship and lacks the flags.
report="$(lintian -I --fail-on error,warning "$deb" 2>&1)" || fail "lintian: $report"
[ "$2" = 0 ] || ! grep -E 'hardening-' <<<"$report" || fail "lintian: hardening"

# The manual pages format without a warning; every option of kestrin --help and every exit status
# of kestrin-cmd's own errors is documented.
src="$(cd "$(dirname "$0")/../.." && pwd)"
page() {
    MANWIDTH=200 man --warnings -l "$usr/share/man/man1/$1.1.gz" 2>"$root/man.err" | col -b ||
        fail "man $1"
    [ ! -s "$root/man.err" ] || fail "man $1: $(cat "$root/man.err")"
}
kestrin_page="$(page kestrin)"
cmd_page="$(page kestrin-cmd)"
options="$("$usr/bin/kestrin" --help | grep -oE '^ +(-[a-z], )?--[a-z-]+' | grep -oE -- '--[a-z-]+')"
grep -qx -- --help <<<"$options" || fail "kestrin --help: $options"
for option in $options; do
    grep -qE -- "^ +(-[a-z], )?$option\b" <<<"$kestrin_page" || fail "kestrin(1) lacks $option"
done
codes="$(grep -oE 'constexpr int k[A-Za-z]+ = [0-9]+' "$src/interpreter/interpreter.h" | grep -oE '[0-9]+$')"
grep -qx 122 <<<"$codes" || fail "no exit statuses in interpreter.h"
for code in $codes; do
    grep -qE "^ +$code\b" <<<"$cmd_page" || fail "kestrin-cmd(1) lacks exit status $code"
done

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
grep -q "^Exec=kestrin --demo$" "$desktop" || fail "demo action"
for size in 16 22 24 32 48 64 128 256; do
    file "$usr/share/icons/hicolor/${size}x$size/apps/$icon.png" | grep -q "PNG image data, $size x $size" ||
        fail "icon $size"
done
file "$usr/share/icons/hicolor/scalable/apps/$icon.svg" | grep -q SVG || fail "scalable icon"
