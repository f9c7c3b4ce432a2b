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
[ "$(wc -l <<<"$out")" -eq 30 ] || fail "sample: expected 30 lines, got $(wc -l <<<"$out")"
expect_line "$out" "MeshCode: 533945"
expect_line "$out" "Pts_WE: 200"
expect_line "$out" "Pts_NS: 200"
expect_line "$out" "Ido_WS: 36.302300"
expect_line "$out" "Kei_WS: -84.194900"
expect_line "$out" "Zu_name1: ジャックスボロ"
expect_line "$out" "MapKind: NM"
expect_line "$out" "CellSpacing: 500"
expect_line "$out" "RowsRead: 200"

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

# check_failure NAME EXPECTED-MESSAGE FILE: exit status 1, the message alone on stderr.
check_failure() {
    "$talvo" --info "$3" >"$tmp/out" 2>"$tmp/err"
    local status=$?
    [ $status -eq 1 ] || fail "$1: exit status $status"
    [ -s "$tmp/out" ] && fail "$1: wrote to standard output"
    [ "$(cat "$tmp/err")" = "$2" ] || fail "$1: stderr was '$(cat "$tmp/err")'"
}

: >"$tmp/empty.Mem"
check_failure empty "'' は整数ではありません" "$tmp/empty.Mem"
head -c 100 "$samples/jacksboro/533945.Mem" >"$tmp/truncated.Mem"
check_failure truncated "'' は整数ではありません" "$tmp/truncated.Mem"
head -c 20000 "$samples/jacksboro/533945.Mem" >"$tmp/cut.Mem"
check_failure cut-in-a-row "'' は整数ではありません" "$tmp/cut.Mem"
check_failure missing "ﾌｧｲﾙが見つかりません" "$tmp/none.Mem"
check_failure wrong-kind "' /SAM' は整数ではありません" "$samples/jacksboro/ad533945.e00"
check_failure folder "ﾌｧｲﾙ ｱｸｾｽが拒否されました" "$tmp"
cp "$samples/jacksboro/jacksboro.bil" "$tmp/alone.bil"
check_failure missing-header "ヘッダーファイルがみつかりません
$tmp/alone.hdr" "$tmp/alone.bil"
cp "$samples/jacksboro/EL533945.hdr" "$tmp/EL000001.hdr"
check_failure missing-data "メッシュファイルがみつかりません
$tmp/EL000001" "$tmp/EL000001.hdr"
head -c 1000 "$samples/jacksboro/jacksboro.bil" >"$tmp/cut.bil"
cp "$samples/jacksboro/jacksboro.hdr" "$tmp/cut.hdr"
check_failure short-raster "ﾌｧｲﾙの末尾以降を読み込みました" "$tmp/cut.bil"

# FG-GML DEM and GDAL rasters; without its GDAL module the program still opens all but the latter.
gdal_translate -q -a_srs EPSG:4326 "$samples/jacksboro/jacksboro.bil" "$tmp/j.tif"
mkdir "$tmp/lone"
cp "$talvo" "$tmp/lone/talvo"
for program in "$talvo" "$tmp/lone/talvo"; do
    out=$("$program" --info "$tile") || fail "$program: FG-GML: exit status $?"
    expect_line "$out" "MeshCode: 533945"
    expect_line "$out" "Ido_EN: 36.303000"
    expect_line "$out" "MapKind: FG"
    expect_line "$out" "CellSpacing: 50"
    expect_line "$out" "RowsRead: 3"
done
out=$("$talvo" --info "$tmp/j.tif") || fail "GeoTIFF: exit status $?"
expect_line "$out" "Pts_WE: 403"
expect_line "$out" "Ido_EN: 36.440000"
expect_line "$out" "Comment: GTiff"
expect_line "$out" "MapKind: GD"
expect_line "$out" "CellSpacing: 928"
expect_line "$out" "Driver: GTiff"
"$tmp/lone/talvo" --info "$tmp/j.tif" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 1 ] || fail "GeoTIFF without the module: exit status not 1"
grep -q "GDAL, which could not be loaded (libtalvo_gdal.so is not installed beside the program)" \
    "$tmp/err" || fail "GeoTIFF without the module: $(cat "$tmp/err")"

"$talvo" --info >/dev/null 2>&1
[ $? -eq 2 ] || fail "--info without FILE should exit 2"
"$talvo" --help | grep -q -- "--info FILE" || fail "--help"
"$talvo" --version | grep -qE '^talvo [0-9]' || fail "--version"

finish
