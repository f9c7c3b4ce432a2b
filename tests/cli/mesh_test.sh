#!/usr/bin/env bash
# talvo --mesh on the bundled elevation sample: counts and coordinates of the OBJ it writes.
source "$(dirname "$0")/common.sh"

"$talvo" --mesh "$samples/jacksboro/EL533945.hdr" --region 0,0,200,200 -o "$tmp/t.obj" \
    --ini "$samples/jacksboro/Talvo.ini" || fail "exit status $?"
[ "$(grep -c '^f ' "$tmp/t.obj")" -eq $((2 * 199 * 199)) ] || fail "face count"
[ "$(grep -c '^v ' "$tmp/t.obj")" -eq 40000 ] || fail "vertex count"
grep -q '^mtllib t.mtl$' "$tmp/t.obj" || fail "material library line"
[ -s "$tmp/t.mtl" ] || fail "no materials"
# The first sample (row 0, column 0) at x -100, z +100 (written -100: OBJ is right-handed).
head -3 "$tmp/t.obj" | grep -qE '^v -100 [0-9.]+ -100$' || fail "first vertex: $(sed -n 3p "$tmp/t.obj")"
grep -q '^f 1 2 201$' "$tmp/t.obj" || fail "first face"

"$talvo" --mesh "$samples/jacksboro/EL533945.hdr" --region 0,0,200,200 --step 2 --hscale 3 \
    -o "$tmp/s.obj" --ini "$samples/jacksboro/Talvo.ini" || fail "step 2: exit status $?"
[ "$(grep -c '^f ' "$tmp/s.obj")" -eq $((2 * 99 * 99)) ] || fail "step 2 face count"

"$talvo" --mesh "$samples/jacksboro/EL533945.hdr" --region 300,0,200,200 -o "$tmp/x.obj" \
    2>"$tmp/err"
[ $? -eq 1 ] || fail "a region outside the map should exit 1"
grep -q "outside the map" "$tmp/err" || fail "region message: $(cat "$tmp/err")"
"$talvo" --mesh "$samples/jacksboro/EL533945.hdr" --region 0,0,10,10 --step 0 -o "$tmp/x.obj" \
    2>/dev/null
[ $? -eq 1 ] || fail "step 0 should exit 1"

finish
