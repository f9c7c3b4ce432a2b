#!/usr/bin/env bash
# talvo --mesh on the bundled samples: counts and coordinates of the OBJ it writes, and the
# requests it refuses.
source "$(dirname "$0")/common.sh"

"$talvo" --mesh "$samples/jacksboro/EL533945.hdr" --region 0,0,200,200 -o "$tmp/t.obj" \
    --ini "$samples/jacksboro/Talvo.ini" || fail "exit status $?"
[ "$(grep -c '^f ' "$tmp/t.obj")" -eq $((2 * 199 * 199)) ] || fail "face count"
[ "$(grep -c '^v ' "$tmp/t.obj")" -eq 40000 ] || fail "vertex count"
materials=$(sed -n 's/^mtllib //p' "$tmp/t.obj")
[[ $materials =~ ^t\.[0-9a-f]{8}\.mtl$ ]] || fail "material library line: $materials"
[ -s "$tmp/$materials" ] || fail "no materials"
# The first sample (row 0, column 0) at x -100, z +100 (written -100: OBJ is right-handed).
head -3 "$tmp/t.obj" | grep -qE '^v -100 [0-9.]+ -100$' || fail "first vertex: $(sed -n 3p "$tmp/t.obj")"
grep -q '^f 1 2 201$' "$tmp/t.obj" || fail "first face"

"$talvo" --mesh "$samples/jacksboro/EL533945.hdr" --region 0,0,200,200 --step 2 --hscale 3 \
    -o "$tmp/s.obj" --ini "$samples/jacksboro/Talvo.ini" || fail "step 2: exit status $?"
[ "$(grep -c '^f ' "$tmp/s.obj")" -eq $((2 * 99 * 99)) ] || fail "step 2 face count"

# The output's extension in any letter case.
"$talvo" --mesh "$samples/jacksboro/533945.Mem" --region 0,0,10,10 -o "$tmp/u.OBJ" \
    --ini "$samples/jacksboro/Talvo.ini" || fail "upper-case .OBJ: exit status $?"
[ -s "$tmp/u.OBJ" ] || fail "upper-case .OBJ: nothing written"

# Heights of an FG-GML DEM tile and of a GeoTIFF.
gdal_translate -q -a_srs EPSG:4326 "$samples/jacksboro/jacksboro.bil" "$tmp/j.tif"
for map in "$tile|3" "$tmp/j.tif|20"; do
    "$talvo" --mesh "${map%|*}" --region "0,0,${map#*|},${map#*|}" -o "$tmp/n.obj" \
        --ini "$samples/jacksboro/Talvo.ini" || fail "${map%|*}: exit status $?"
    faces=$((2 * (${map#*|} - 1) * (${map#*|} - 1)))
    [ "$(grep -c '^f ' "$tmp/n.obj")" -eq $faces ] || fail "${map%|*}: face count"
done

# Refused: the exit status, a part of the message, the map, the output and the other arguments.
# Nothing may be written.
mkdir "$tmp/r"
# The refusals' own texts, as an English locale words them.
export LC_ALL=en_US.UTF-8
while IFS='|' read -r status says map out args; do
    # shellcheck disable=SC2086 # the arguments split at blanks
    "$talvo" --mesh "$samples/jacksboro/$map" -o "$tmp/r/$out" $args \
        --ini "$samples/jacksboro/Talvo.ini" >/dev/null 2>"$tmp/err"
    got=$?
    row="$map -o $out $args"
    [ $got -eq "$status" ] || fail "$row: exit status $got, not $status"
    grep -qF -- "$says" "$tmp/err" || fail "$row: message: $(cat "$tmp/err")"
    [ -z "$(ls -A "$tmp/r")" ] || fail "$row: wrote $(ls -A "$tmp/r" | tr '\n' ' ')"
    rm -rf "$tmp/r" && mkdir "$tmp/r"
done <<'TABLE'
1|outside the map|EL533945.hdr|x.obj|--region 300,0,200,200
1|step must be 1 or more|EL533945.hdr|x.obj|--region 0,0,10,10 --step 0
1|at least 2 samples|EL533945.hdr|x.obj|--region 0,0,0,10
1|at least 2 samples|EL533945.hdr|x.obj|--region 0,0,1,10
2|--hscale 1e39 is out of range|EL533945.hdr|x.obj|--region 0,0,10,10 --hscale 1e39
1|a mesh holds at most 536870911 samples|EL533945.hdr|x.obj|--region 0,0,30000,30000
1|kind LU|LU533945.hdr|x.obj|--region 0,0,10,10
1|end in .obj|EL533945.hdr|x.txt|--region 0,0,10,10
2|unknown option --bogus|EL533945.hdr|x.obj|--region 0,0,10,10 --bogus
TABLE

# An OBJ file and the files it names stay a set: a new mesh at the same name, draped or not,
# leaves only its own, and so does one written after a run cut short before its OBJ file was in
# place (its materials and picture, made here by a run elsewhere, left beside the OBJ file).
mkdir "$tmp/set" "$tmp/cut"
for run in "set 0,0,40,40 --drape" "cut 9,9,40,40 --drape" "set 5,5,30,30 --drape" "set 5,5,30,30"; do
    read -r folder region drape <<<"$run"
    # shellcheck disable=SC2086 # no --drape when empty
    "$talvo" --mesh "$samples/jacksboro/EL533945.hdr" --region "$region" $drape \
        -o "$tmp/$folder/m.obj" --ini "$samples/jacksboro/Talvo.ini" || fail "$run: exit status $?"
    [ "$folder" = cut ] && cp "$tmp"/cut/m.*.* "$tmp/set/" && continue
    materials=$(sed -n 's/^mtllib //p' "$tmp/set/m.obj")
    picture=$(sed -n 's/^map_Kd //p' "$tmp/set/$materials")
    expected=$(printf '%s\n' m.obj "$materials" $picture | sort | tr '\n' ' ')
    [ "$(ls "$tmp/set" | tr '\n' ' ')" = "$expected" ] || fail "$run: $(ls "$tmp/set" | tr '\n' ' ')"
done

finish
