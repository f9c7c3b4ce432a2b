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
    share/icons/hicolor/48x48/apps/talvo.png share/doc/talvo/copyright \
    share/man/man1/talvo.1.gz share/man/man1/talvo-viewer.1.gz; do
    [ -e "$tmp/prefix/$file" ] || fail "not installed: $file"
done
# Valid, and without a hint.
said=$(desktop-file-validate "$tmp/prefix/share/applications/talvo.desktop" 2>&1) &&
    [ -z "$said" ] || fail "desktop entry: $said"
grep -qx 'Exec=talvo %f' "$tmp/prefix/share/applications/talvo.desktop" || fail "Exec line"

# As a file manager sees them: FG-GML DEM files by name are Talvo's; other zip, XML and TIFF
# files are not.
mkdir "$tmp/data"
cp -r "$tmp/prefix/share/mime" "$tmp/prefix/share/applications" "$tmp/data/"
XDG_DATA_HOME=$tmp/data update-mime-database "$tmp/data/mime" || fail "map types"
update-desktop-database "$tmp/data/applications" || fail "desktop database"
grep -q 'application/x-numeric-map-mesh' "$tmp/data/mime/globs2" || fail "numeric map type"
printf 'PK\003\004' >"$tmp/FG-GML-5339-45-DEM10B.zip"
cp "$tmp/FG-GML-5339-45-DEM10B.zip" "$tmp/other.zip"
for file in FG-GML-5339-45-DEM10B.zip:application/x-fg-gml-dem-zip other.zip:application/zip; do
    type=$(XDG_DATA_HOME=$tmp/data gio info -a standard::content-type "$tmp/${file%%:*}" |
        sed -n 's/^ *standard::content-type: //p')
    [ "$type" = "${file#*:}" ] || fail "${file%%:*} is $type"
done
# GLib lists a desktop entry only when its program is on the PATH.
for type in application/zip application/xml image/tiff; do
    PATH=$tmp/prefix/bin:$PATH XDG_DATA_HOME=$tmp/data gio mime "$type" | grep -q talvo &&
        fail "Talvo claims $type"
done
PATH=$tmp/prefix/bin:$PATH XDG_DATA_HOME=$tmp/data gio mime application/x-fg-gml-dem-zip |
    grep -q talvo.desktop || fail "Talvo does not open FG-GML DEM zips"

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
