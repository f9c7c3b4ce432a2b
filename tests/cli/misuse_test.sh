#!/usr/bin/env bash
# Command lines talvo cannot run: exit 2, the reason on the first line of standard error, the usage
# after it, nothing on standard output.
source "$(dirname "$0")/common.sh"
export LANG=en_US.UTF-8
n="an option was given without the command that uses it"
batch="--jobs, --force, --manifest, --shard and --quiet go with -o DIR/"
while IFS='|' read -r args said; do
    read -ra words <<<"$args"
    "$talvo" "${words[@]}" >"$tmp/out" 2>"$tmp/err"
    status=$?
    first=$(head -1 "$tmp/err")
    [ $status -eq 2 ] && [ "$first" = "talvo: $said" ] && [ ! -s "$tmp/out" ] ||
        fail "talvo $args: exit $status, said '$first'"
done <<EOF2
--info a b|--info takes exactly one FILE
--info --render x -o y|give one of --info, --render, --export, --mesh, --at and --profile
--info --at x y|give one of --info, --render, --export, --mesh, --at and --profile
--at x y --profile x --from 1,2 --to 3,4|give one of --info, --render, --export, --mesh, --at and --profile
--sea 0 --info x|$n
--sea 0|$n
--render x -o y --from 1,2|$n
-o x|$n
--layers ad --mesh x -o y.obj --region 0,0,1,1|$n
--shade hillshade --mesh x -o y.obj --region 0,0,1,1|$n
--drape --render x -o y|$n
--step 2 --render x -o y|$n
--ini a.ini --info x|$n
--no-world-file --export x -o y.tif|$n
--product slope --render x -o y|$n
--shade combined --export x -o y.tif|$n
--azimuth 10 --export x -o y.tif|this option goes with --export --product
--export x -o y.tif --product relief|no product 'relief': --product takes hillshade, hillshade:multidirectional, hillshade:combined, hillshade:igor, slope or redrelief
--export x -o y.tif --product slope -z steep|-z takes a number: 'steep'
--export x -o y.tif --product redrelief --radius 0|--radius takes a positive number of metres: '0'
--render x -o y --shade sepia|no shading 'sepia': --shade takes ramp, hillshade, multidirectional, combined or redrelief
--crs EPSG:4326 --profile x --from 1,2 --to 3,4|$n
--jobs 2 --info x|$batch
--quiet --render x -o y|$batch
--render x|--render needs a FILE and -o OUT
--render x -o y --jobs|--jobs needs a value
--crs 4326 --render x -o y|--crs takes the form EPSG:N: '4326'
x y|the viewer opens one FILE
--bogus|unknown option --bogus
--profile x --from 1,2|--profile needs a FILE, --from LON,LAT and --to LON,LAT
--at x|--at needs a FILE and a point (LON,LAT, --xy E,N or col:row)
--mosaic --info x|--mosaic goes with --render or --export and -o OUT, a file, not a folder
--render a b -o y|several inputs need -o DIR/ (one output per tile) or --mosaic (one map)
--verify|--verify needs one MANIFEST
--export x -o y.tif --sea deep|--sea takes a number: 'deep'
--export x -o y.tif --sea 1e39|--sea 1e39 is out of range: the exported cells hold values within ±3.4e38
--mesh x -o y.obj --region 0,0,a,2|--region takes four numbers: X,Y,W,H
--mesh x -o y.obj --region 0,0,2,2 --step x|--step takes a number: 'x'
--mesh x -o y.obj --region 0,0,2,2 --hscale y|--hscale takes a number: 'y'
--render x -o y --size 0x3|--size takes two whole numbers of at least 1 as WxH: '0x3'
--render x -o y --size 30|--size takes two whole numbers of at least 1 as WxH: '30'
--export x -o y.tif --size 3x3|$n
--render x -o d/ --size 3x3|--size and --region draw one map, not a folder of tiles
EOF2
finish
