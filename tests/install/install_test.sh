#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it as a new user would: the desktop entry
# and the map types are valid, and the program run from another folder with an empty home draws
# the sample with the shipped palette and writes nothing.
# install_test.sh BUILD-DIR SAMPLES
set -u
build=$1
samples=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null || fail "cmake --install"
for file in bin/talvo bin/talvo-viewer share/talvo/Talvo.ini share/applications/talvo.desktop \
    share/mime/packages/talvo.xml share/icons/hicolor/scalable/apps/talvo.svg \
    share/icons/hicolor/48x48/apps/talvo.png share/doc/talvo/copyright; do
    [ -e "$tmp/prefix/$file" ] || fail "not installed: $file"
done
desktop-file-validate "$tmp/prefix/share/applications/talvo.desktop" || fail "desktop entry"
grep -qx 'Exec=talvo %f' "$tmp/prefix/share/applications/talvo.desktop" || fail "Exec line"
cp -r "$tmp/prefix/share/mime" "$tmp/mime"
update-mime-database "$tmp/mime" || fail "map types"
grep -q 'application/x-numeric-map-mesh' "$tmp/mime/globs2" || fail "numeric map type"

mkdir -p "$tmp/home" "$tmp/elsewhere"
cd "$tmp/elsewhere" || exit 1
env -u TALVO_INI -u XDG_CONFIG_HOME HOME="$tmp/home" "$tmp/prefix/bin/talvo" \
    --render "$samples/jacksboro/EL533945.hdr" -o installed.bmp 2>"$tmp/err" ||
    fail "render: $(cat "$tmp/err")"
[ -s "$tmp/err" ] && fail "render said: $(cat "$tmp/err")"
"$tmp/prefix/bin/talvo" --render "$samples/jacksboro/EL533945.hdr" -o palette.bmp \
    --ini "$samples/jacksboro/Talvo.ini" || fail "render with the palette"
cmp -s installed.bmp palette.bmp || fail "a first run does not draw with the shipped palette"
[ -z "$(ls -A "$tmp/home")" ] || fail "wrote into the home folder: $(ls -A "$tmp/home")"

# Rasters of GDAL through the installed module.
gdal_translate -q -of GTiff "$samples/jacksboro/jacksboro.bil" sample.tif || fail "gdal_translate"
"$tmp/prefix/bin/talvo" --info sample.tif | grep -qx "Driver: GTiff" || fail "GeoTIFF through the module"

echo "$((failures == 0 ? 1 : 0)) passed, $failures failed"
[ $failures -eq 0 ]
