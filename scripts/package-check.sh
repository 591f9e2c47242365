#!/usr/bin/env bash
# scripts/package-check.sh [BUILD_DIR] — CI: the Debian package holds what it should and its
# programs run from where they are unpacked (`make package-check`).
#
# Builds the package (the `package` target of BUILD_DIR, default build), unpacks it with
# dpkg -x into a throwaway root, checks its files, desktop entry and metainfo, lets the
# unpacked telvia-sample (with the unpacked zendari-build) make a small sample directory,
# searches it with the unpacked zendari, and starts Halvern through the desktop entry's Exec
# line under xvfb-run with a fresh user data folder. Halvern saves a screenshot
# (out/package-halvern.png, the last line printed) and quits. The unpacked root must be
# unchanged afterwards: what the program writes goes to the user's data folder.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
app_id=org.telvia.Halvern
fail() { echo "package-check: $*" >&2; exit 1; }

cmake --build "$build" --target package
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$(ls -t "$build"/telvia_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no telvia_*.deb in $build"
case "$(basename "$deb")" in
telvia_*_"$(dpkg --print-architecture)".deb) ;;
*) fail "unexpected package name $(basename "$deb")" ;;
esac
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
    fail "package version $(dpkg-deb -f "$deb" Version), project version $version"
echo "package-check: $deb"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
dpkg -x "$deb" "$root"

# --- contents ---------------------------------------------------------------------------------
sizes=(16 24 32 48 64 128 256)
expected=(usr/bin/halvern usr/bin/zendari usr/bin/zendari-build usr/bin/telvia-sample
          usr/lib/telvia/Halvern usr/lib/telvia/Zendari20.so usr/lib/telvia/libtelvia-prompt.so
          usr/lib/telvia/zendari usr/lib/telvia/zendari-build usr/lib/telvia/telvia-sample
          usr/lib/telvia/Halvern.userdata usr/lib/telvia/Pro/Docs/adDocs.cad
          usr/lib/telvia/chb.cad
          usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml
          usr/share/icons/hicolor/scalable/apps/$app_id.svg
          usr/share/man/man1/zendari.1.gz usr/share/man/man1/zendari-build.1.gz
          usr/share/man/man1/telvia-sample.1.gz)
for size in "${sizes[@]}"; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for f in "${expected[@]}"; do
    [ -e "$root/$f" ] || fail "the package lacks /$f"
done
for size in "${sizes[@]}"; do
    # file(1) reads a PNG's size from its header: "PNG image data, 16 x 16, ..."
    got=$(file -b "$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
    [[ "$got" == "PNG image data, ${size} x ${size},"* ]] || fail "the ${size}x${size} icon is $got"
done
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libsqlcipher0 qt6-qpa-plugins; do
    grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/$app_id.desktop"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null
fi

# --- the unpacked tools ---------------------------------------------------------------------
listing() { (cd "$root" && find . -printf '%p %s %T@ %m\n' | sort); }
before=$(listing)
"$root/usr/bin/telvia-sample" --subscribers 20000 --seed 1 --out "$tmp/sample" 2>/dev/null ||
    fail "the unpacked telvia-sample could not make a sample directory"
found=$(WINDIR=$tmp/sample/windows QT_QPA_PLATFORM=offscreen \
        "$root/usr/bin/zendari" search --region 10 홍길동 2>/dev/null)
grep -q '(02)735-1234' <<<"$found" || fail "the unpacked zendari did not find 홍길동: $found"

# --- Halvern through the desktop entry ---------------------------------------------------------
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$app_id.desktop")
mkdir -p "$tmp/run" "$top/out"
chmod 700 "$tmp/run"
shot=$top/out/package-halvern.png
rm -f "$shot"
status=0
# Exec holds a program name looked up in PATH and no field codes.
env PATH="$root/usr/bin:$PATH" HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" \
    XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/run" TELVIA_REGISTRY="$tmp/registry.ini" \
    WINDIR="$tmp/sample/windows" TELVIA_CDROM_DIRS="$tmp/sample/cd" TELVIA_SCREENSHOT="$shot" \
    xvfb-run -a -s "-screen 0 1024x768x24" $exec_line || status=$?
[ "$status" -eq 0 ] && [ -f "$shot" ] ||
    fail "Halvern from the desktop entry ($exec_line) ended with status $status and no screenshot"

for f in Pro/Docs/adDocs.cad chb.cad dat; do
    [ -e "$tmp/data/telvia/$f" ] || fail "the first start did not make $f in the user's data folder"
done
[ "$(listing)" = "$before" ] || {
    diff <(echo "$before") <(listing) >&2 || true
    fail "the programs changed the unpacked package's files"
}
echo "$shot"
