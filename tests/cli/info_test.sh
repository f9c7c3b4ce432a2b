#!/usr/bin/env bash
# talvo --info on the bundled sample and on files a user may pick by mistake.
source "$(dirname "$0")/common.sh"

# expect_line OUTPUT LINE: OUTPUT holds LINE as a whole line.
expect_line() {
    grep -qxF -- "$2" <<<"$1" || fail "missing line '$2'"
}

out=$("$talvo" --info "$samples/jacksboro/533945.Mem" 2>"$tmp/err")
[ $? -eq 0 ] || fail "sample: exit status $?"
[ -s "$tmp/err" ] && fail "sample: wrote to standard error: $(cat "$tmp/err")"
[ "$(wc -l <<<"$out")" -eq 35 ] || fail "sample: expected 35 lines, got $(wc -l <<<"$out")"
expect_line "$out" "MeshCode: 533945"
expect_line "$out" "Pts_WE: 200"
expect_line "$out" "Pts_NS: 200"
expect_line "$out" "Ido_WS: 36.302300"
expect_line "$out" "Kei_WS: -84.194900"
expect_line "$out" "Zu_name1: ジャックスボロ"
expect_line "$out" "MapKind: NM"
expect_line "$out" "CellSpacing: 500"
expect_line "$out" "RowsRead: 200"
for line in "Cells: 40000" "Sea: 0" "NoData: 0" "Min: 266" "Max: 1040"; do
    expect_line "$out" "$line"
done

for raster in EL533945.hdr LU533945.hdr VG533945.hdr jacksboro.bil; do
    out=$("$talvo" --info "$samples/jacksboro/$raster") || fail "$raster: exit status $?"
    expect_line "$out" "Pts_WE: 403"
    expect_line "$out" "Ido_WS: 36.264650"
    expect_line "$out" "Kei_EN: -84.044050"
    expect_line "$out" "RowsRead: 344"
done
out=$("$talvo" --info "$samples/jacksboro/VG533945.hdr")
expect_line "$out" "MeshCode: 533945"
expect_line "$out" "MapKind: VG"
expect_line "$out" "BytesPerCell: 1"
out=$("$talvo" --info "$samples/jacksboro/jacksboro.bil")
expect_line "$out" "MeshCode: "
expect_line "$out" "MapKind: BL"
expect_line "$out" "CRS: WGS 84 (EPSG:4326)"

# Refusals come before memory is taken: they run within 1 GB of address space (not in a sanitized
# build, whose shadow memory alone takes more).
within_memory=()
ldd "$talvo" | grep -q libasan || within_memory=(prlimit --as=1000000000)

# check_failure NAME EXPECTED-MESSAGE FILE: exit status 1, the message alone on stderr, in time.
check_failure() {
    timeout 60 "${within_memory[@]}" "$talvo" --info "$3" >"$tmp/out" 2>"$tmp/err"
    local status=$?
    [ $status -eq 1 ] || fail "$1: exit status $status"
    [ -s "$tmp/out" ] && fail "$1: wrote to standard output"
    [ "$(cat "$tmp/err")" = "$2" ] || fail "$1: stderr was '$(cat "$tmp/err")'"
}

# A message about a file: the text, then the file's full path, with the line of a text file.
: >"$tmp/empty.Mem"
check_failure empty "'' は整数ではありません
$tmp/empty.Mem:1" "$tmp/empty.Mem"
head -c 100 "$samples/jacksboro/533945.Mem" >"$tmp/truncated.Mem"
check_failure truncated "'' は整数ではありません
$tmp/truncated.Mem:1" "$tmp/truncated.Mem"
head -c 20000 "$samples/jacksboro/533945.Mem" >"$tmp/cut.Mem"
check_failure cut-in-a-row "'' は整数ではありません
$tmp/cut.Mem:20" "$tmp/cut.Mem"
check_failure missing "ﾌｧｲﾙが見つかりません
$tmp/none.Mem" "$tmp/none.Mem"
check_failure wrong-kind "' /SAM' は整数ではありません
$samples/jacksboro/ad533945.e00:1" "$samples/jacksboro/ad533945.e00"
check_failure folder "フォルダーです。地図ファイルではありません
$tmp" "$tmp"
check_failure endless-line "1048576 バイトを超える行があります
/dev/zero:1" /dev/zero
cp "$samples/jacksboro/jacksboro.bil" "$tmp/alone.bil"
check_failure missing-header "ヘッダーファイルがみつかりません
$tmp/alone.hdr" "$tmp/alone.bil"
cp "$samples/jacksboro/EL533945.hdr" "$tmp/EL000001.hdr"
check_failure missing-data "メッシュファイルがみつかりません
$tmp/EL000001" "$tmp/EL000001.hdr"
head -c 1000 "$samples/jacksboro/jacksboro.bil" >"$tmp/cut.bil"
cp "$samples/jacksboro/jacksboro.hdr" "$tmp/cut.hdr"
check_failure short-raster "ﾌｧｲﾙの末尾以降を読み込みました
$tmp/cut.bil" "$tmp/cut.bil"
printf 'NBITS 16\nNCOLS 2x\n' >"$tmp/badkey.hdr"
: >"$tmp/badkey.bil"
check_failure bad-header "'2x' は整数ではありません
$tmp/badkey.hdr:2" "$tmp/badkey.bil"

# A NUL byte in a quoted value is shown escaped: the message and the file's name after it stay
# whole.
{ head -c 1201 "$samples/jacksboro/533945.Mem"; printf '\0'; tail -c +1203 "$samples/jacksboro/533945.Mem"; } >"$tmp/nul.Mem"
check_failure nul-in-a-row "' \x00890' は整数ではありません
$tmp/nul.Mem:2" "$tmp/nul.Mem"
printf 'NBITS 16\nNCOLS 2\0x\n' >"$tmp/nul.hdr"
: >"$tmp/nul.bil"
check_failure nul-in-a-header "'2\x00x' は整数ではありません
$tmp/nul.hdr:2" "$tmp/nul.bil"
sed 's|地表面,12.35|地表面,12\x0035|' "$tile" >"$tmp/nul.xml"
check_failure nul-in-a-point "'地表面,12\x0035' は点ではありません: 種別、コンマ、10 進の値が必要です
$tmp/nul.xml:31" "$tmp/nul.xml"

# A document is refused before it takes more memory than it can fill: a tile of 1 KB declaring
# 23170 × 23170 points, an endless stream, a file beyond what is read of one document.
sed 's|<gml:high>3 2</gml:high>|<gml:high>23169 23169</gml:high>|' "$tile" >"$tmp/vast.xml"
check_failure vast-grid "点の並びが gml:low と gml:high の 23170 × 23170 点の半分にも足りません
$tmp/vast.xml:18" "$tmp/vast.xml"
ln -s /dev/zero "$tmp/zero.xml"
check_failure endless-document "XML 文書ではありません: 先頭が '<' ではありません
$tmp/zero.xml" "$tmp/zero.xml"
truncate -s 4294967297 "$tmp/huge.xml"
check_failure huge-document "ファイルが 4096 MiB を超えています。1 つの文書として読める大きさを超えています
$tmp/huge.xml" "$tmp/huge.xml"

# Relative paths are named in full.
here=$(cd "$tmp" && pwd -P)
cd "$tmp" || fail "cd $tmp"
check_failure relative "'' は整数ではありません
$here/empty.Mem:1" empty.Mem
check_failure relative-companion "ヘッダーファイルがみつかりません
$here/alone.hdr" ./alone.bil
cd - >/dev/null || fail "cd back"

# A corner far too large for a map is printed whole.
printf 'NBITS 16\nNCOLS 1\nNROWS 1\nULYMAP 1e200\n' >"$tmp/far.hdr"
printf 'ab' >"$tmp/far.bil"
out=$("$talvo" --info "$tmp/far.bil") || fail "far: exit status $?"
grep -qxE 'Ido_EN: [0-9]{200}\.0{6}' <<<"$out" || fail "far: $(grep Ido_EN <<<"$out" | head -c 300)"

# FG-GML DEM and GDAL rasters; without its GDAL module the program still opens all but the latter.
gdal_translate -q -a_srs EPSG:4326 "$samples/jacksboro/jacksboro.bil" "$tmp/j.tif"
mkdir "$tmp/lone"
cp "$talvo" "$tmp/lone/talvo"
# GSI's bulk download: the zip of a mesh's tiles inside a zip.
/usr/bin/python3 - "$tile" "$tmp" <<'PACK' || fail "writing the pack"
import io, sys, zipfile
inner = io.BytesIO()
with zipfile.ZipFile(inner, "w", zipfile.ZIP_DEFLATED) as archive:
    archive.write(sys.argv[1], "FG-GML-5339-45-01-DEM5A-20161001.xml")
with zipfile.ZipFile(sys.argv[2] + "/PackDLMap.zip", "w") as archive:
    archive.writestr("FG-GML-5339-45-DEM5A.zip", inner.getvalue())
PACK
for program in "$talvo" "$tmp/lone/talvo"; do
    for map in "$tile" "$tmp/PackDLMap.zip"; do
        out=$("$program" --info "$map") || fail "$program: $map: exit status $?"
        expect_line "$out" "MeshCode: 533945"
        expect_line "$out" "Ido_EN: 36.303000"
        expect_line "$out" "MapKind: FG"
        expect_line "$out" "CellSpacing: 50"
        expect_line "$out" "RowsRead: 3"
        expect_line "$out" "CRS: JGD2011 (EPSG:6668)"
    done
done
# The datum srsName names; JGD2024 is JGD2011 horizontally; a label Talvo does not know gives no CRS.
for datum in "jgd2000|CRS: JGD2000 (EPSG:4612)" "jgd2024|CRS: JGD2024 (EPSG:6668)" "jgd2099|"; do
    sed "s|jgd2011|${datum%%|*}|" "$tile" >"$tmp/datum.xml"
    said=$("$talvo" --info "$tmp/datum.xml" | grep '^CRS: ')
    [ "$said" = "${datum#*|}" ] || fail "srsName ${datum%%|*}: said '$said'"
done
out=$("$talvo" --info "$tmp/j.tif") || fail "GeoTIFF: exit status $?"
expect_line "$out" "Pts_WE: 403"
expect_line "$out" "Ido_EN: 36.435850"
expect_line "$out" "Comment: GTiff"
expect_line "$out" "MapKind: GD"
expect_line "$out" "CellSpacing: 928"
expect_line "$out" "Driver: GTiff"
LC_ALL=en_US.UTF-8 "$tmp/lone/talvo" --info "$tmp/j.tif" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 1 ] || fail "GeoTIFF without the module: exit status not 1"
grep -q "GDAL, which could not be loaded (libtalvo_gdal.so is not installed beside the program)" \
    "$tmp/err" || fail "GeoTIFF without the module: $(cat "$tmp/err")"

# A .bil's .prj is read by GDAL: without the module the map claims no CRS. Float32 cells are
# GDAL's; a .prj it cannot read and a NODATA that is no number are refused by name.
cp "$samples/jacksboro/jacksboro.bil" "$tmp/prj.bil"
cp "$samples/jacksboro/jacksboro.hdr" "$tmp/prj.hdr"
echo 'not a CRS' >"$tmp/prj.prj"
check_failure garbage-prj ".prj ファイルに GDAL の読める座標参照系がありません
$tmp/prj.prj" "$tmp/prj.bil"
cp "$tmp"/prj.* "$tmp/lone/"
expect_line "$("$tmp/lone/talvo" --info "$tmp/lone/prj.bil")" "CRS: none (taken as degrees)"
printf 'NBITS 32\nPIXELTYPE FLOAT\nNCOLS 1\nNROWS 1\n' >"$tmp/lone/f.hdr"
printf 'abcd' >"$tmp/lone/f.bil"
"$tmp/lone/talvo" --info "$tmp/lone/f.bil" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 1 ] && grep -q "GDAL を読み込めませんでした" "$tmp/err" || fail "Float32 .bil without GDAL"
printf 'NBITS 16\nNODATA none\n' >"$tmp/nodata.hdr"
: >"$tmp/nodata.bil"
check_failure nodata-not-a-number "'none' は浮動小数点数ではありません
$tmp/nodata.hdr:2" "$tmp/nodata.bil"

# Without a display the viewer is not started: one line says why and what works without one.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
"${headless[@]}" "$talvo" --info "$tile" >/dev/null || fail "--info without a display"
for lang in "C.UTF-8|ビューアには画面" "en_US.UTF-8|the viewer needs a display"; do
    said=$(LANG=${lang%%|*} timeout 60 "${headless[@]}" "$talvo" "$tile" 2>&1)
    status=$?
    [ $status -eq 1 ] || fail "viewer without a display (LANG=${lang%%|*}): exit status $status"
    [ "$(wc -l <<<"$said")" -eq 1 ] && grep -qF "${lang#*|}" <<<"$said" &&
        grep -qF -- "--verify" <<<"$said" && grep -qF QT_QPA_PLATFORM <<<"$said" || fail "viewer without a display: said '$said'"
done

# A plain gdal_translate of the geographic .bil names no CRS: its corners and cells are taken as
# degrees, so that its shading and 3D keep a cell spacing.
gdal_translate -q -of GTiff "$samples/jacksboro/jacksboro.bil" "$tmp/plain.tif"
out=$("$talvo" --info "$tmp/plain.tif") || fail "GeoTIFF without a CRS: exit status $?"
expect_line "$out" "CRS: none (taken as degrees)"
grep -qx "CellSpacing: 0" <<<"$out" && fail "GeoTIFF without a CRS: no cell spacing"

"$talvo" --info >/dev/null 2>&1
[ $? -eq 2 ] || fail "--info without FILE should exit 2"
"$talvo" --help | grep -q -- "--info FILE" || fail "--help"
"$talvo" --version | grep -qE '^talvo [0-9]' || fail "--version"
# "--" ends the options: a map whose name starts with "-".
cp "$samples/jacksboro/533945.Mem" "$tmp/-x.Mem"
(cd "$tmp" && "$talvo" --info -- -x.Mem) | grep -qx "MeshCode: 533945" || fail "-- before -x.Mem"
(cd "$tmp" && "$talvo" --info -x.Mem >/dev/null 2>&1)
[ $? -eq 2 ] || fail "-x.Mem without -- should be an unknown option"

# The language follows the locale: English under an English one, the documented Japanese else.
for lang in "en_US.UTF-8|File not found" "C.UTF-8|ﾌｧｲﾙが見つかりません" "ja_JP.UTF-8|ﾌｧｲﾙが見つかりません"; do
    said=$(LANG=${lang%%|*} "$talvo" --info "$tmp/none.Mem" 2>&1)
    [ "$said" = "${lang#*|}
$tmp/none.Mem" ] || fail "LANG=${lang%%|*}: said '$said'"
done
LANGUAGE=en LANG=de_DE.UTF-8 "$talvo" --info "$tmp/none.Mem" 2>&1 | grep -q "File not found" ||
    fail "LANGUAGE=en should choose English"

finish
