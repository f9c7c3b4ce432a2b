#!/usr/bin/env bash
# What talvo writes is written whole or not at all, never over a file it reads, and the settings
# it draws with are the ones the user meant.
source "$(dirname "$0")/common.sh"
ini=$samples/jacksboro/Talvo.ini
cp "$samples"/jacksboro/{EL533945,EL533945.hdr,ad533945.e00} "$tmp/"
map=$tmp/EL533945.hdr

# refused NAME OUT [OPTIONS...]: exit 1, a message, and OUT as it was.
refused() {
    local name=$1 out=$2
    shift 2
    local before
    before=$(md5sum <"$out" 2>/dev/null)
    "$talvo" --render "$map" -o "$out" "$@" >/dev/null 2>"$tmp/err"
    local status=$?
    [ $status -eq 1 ] || fail "$name: exit status $status"
    [ -s "$tmp/err" ] || fail "$name: no message"
    [ "$(md5sum <"$out" 2>/dev/null)" = "$before" ] || fail "$name: $out changed"
    ls -A "$(dirname "$out")" | grep -q '^\.' && fail "$name: a temporary file was left"
}

# An output that is one of the inputs, by any name.
cp "$ini" "$tmp/mine.ini"
ln -s "$tmp/EL533945" "$tmp/data-link.bmp"
ln "$tmp/ad533945.e00" "$tmp/overlay-hardlink.png"
refused data-through-a-link "$tmp/data-link.bmp" --ini "$ini"
refused overlay-hard-link "$tmp/overlay-hardlink.png" --ini "$ini" --layers ad
refused settings "$tmp/mine.ini" --ini "$tmp/mine.ini"
refused header-renamed "$tmp/EL533945.hdr" --ini "$ini"
refused unknown-crs "$tmp/crs.png" --ini "$ini" --crs EPSG:0
# The materials of an OBJ file at the name of the map's data: the name is learnt from a first run.
"$talvo" --mesh "$map" --region 0,0,20,20 -o "$tmp/mesh.obj" --ini "$ini" || fail "mesh"
materials=$(sed -n 's/^mtllib //p' "$tmp/mesh.obj")
rm -f "$tmp/mesh.obj" "$tmp/$materials"
ln -sf "$tmp/EL533945" "$tmp/$materials"
"$talvo" --mesh "$map" --region 0,0,20,20 -o "$tmp/mesh.obj" --ini "$ini" 2>/dev/null
[ $? -eq 1 ] || fail "an OBJ whose .mtl is the map's data should be refused"
cmp -s "$tmp/EL533945" "$samples/jacksboro/EL533945" || fail "the data behind the .mtl changed"
[ -e "$tmp/mesh.obj" ] && fail "an OBJ was written without its materials"
rm -f "$tmp/$materials"
# More tiles at once than the processor runs threads: as many as it runs, said in our words.
mkdir "$tmp/jobs"
cp "$map" "$tmp/EL533945" "$tmp/jobs/"
"$talvo" --render "$tmp/jobs" -o "$tmp/jobs-out/" --jobs 70000 --quiet --ini "$ini" 2>"$tmp/err" ||
    fail "--jobs 70000: exit status $?"
[ -s "$tmp/err" ] && fail "--jobs 70000 --quiet said: $(cat "$tmp/err")"

# A picture that cannot be encoded (JPEG is limited to 65,500 pixels a side) is refused before
# it is drawn and leaves the earlier file; PNG takes a million pixels a side, and libpng's own
# words never reach the terminal.
printf 'NBITS 8\nNCOLS 70000\nNROWS 1\n' >"$tmp/wide.hdr"
head -c 70000 /dev/zero >"$tmp/wide.bil"
echo earlier >"$tmp/wide.jpg"
"$talvo" --render "$tmp/wide.bil" -o "$tmp/wide.jpg" --ini "$ini" 2>"$tmp/err"
[ $? -eq 1 ] || fail "a 70000-pixel JPEG should fail"
[ "$(cat "$tmp/err")" = "JPEG の図は 1 辺 65,500 画素までです。この図は 70,000 × 1 画素です" ] ||
    fail "a 70000-pixel JPEG: said '$(cat "$tmp/err")'"
[ "$(cat "$tmp/wide.jpg")" = earlier ] || fail "the earlier JPEG was destroyed"
ls -A "$tmp" | grep -q '^\.wide' && fail "a temporary JPEG was left"
printf 'NBITS 8\nNCOLS 1000001\nNROWS 1\n' >"$tmp/wider.hdr"
head -c 1000001 /dev/zero >"$tmp/wider.bil"
"$talvo" --render "$tmp/wider.bil" -o "$tmp/wider.png" --ini "$ini" 2>"$tmp/err" ||
    fail "a 1000001-pixel PNG: exit status $?"
[ -s "$tmp/err" ] && fail "a 1000001-pixel PNG: said '$(cat "$tmp/err")'"

# An output that is a link to standard output, judged on what the link leads to: the pipe.
"$talvo" --render "$map" -o "$tmp/shown.bmp" --ini "$ini" || fail "picture to compare"
ln -s /dev/stdout "$tmp/to-stdout.bmp"
"$talvo" --render "$map" -o "$tmp/to-stdout.bmp" --ini "$ini" 2>"$tmp/err" | cmp -s - "$tmp/shown.bmp" ||
    fail "-o a link to /dev/stdout: not the picture on the pipe ($(cat "$tmp/err"))"

# small_disk SIZE: a file system of SIZE at $tmp/small, which fills up; false where it cannot be
# mounted (not root).
small_disk() {
    [ "$(id -u)" -eq 0 ] && mkdir -p "$tmp/small" &&
        mount -t tmpfs -o "size=$1" tmpfs "$tmp/small" 2>/dev/null
}

# fills_disk NAME OUT TALVO-ARGS...: talvo writing OUT on the small disk fails with the disk
# full, named as OUT's; the earlier OUT stays and nothing is left beside it.
fills_disk() {
    local name=$1 out=$2
    shift 2
    echo earlier >"$out"
    "$talvo" "$@" 2>"$tmp/err"
    local status=$?
    [ $status -eq 1 ] || fail "$name: exit status $status"
    [ "$(cat "$tmp/err")" = "$out に書き込めません (ディスクに空きがありません)" ] ||
        fail "$name: message '$(cat "$tmp/err")'"
    [ "$(cat "$out")" = earlier ] || fail "$name: the earlier file changed"
    [ "$(ls -A "$(dirname "$out")")" = "$(basename "$out")" ] ||
        fail "$name: left $(ls -A "$(dirname "$out")")"
}

# A full disk leaves the earlier file and no temporary file (a small file system of our own).
if small_disk 128k; then
    fills_disk "disk full" "$tmp/small/full.bmp" --render "$map" -o "$tmp/small/full.bmp" --ini "$ini"
    # The OBJ fills the disk, not its few hundred bytes of materials: the message names it.
    "$talvo" --mesh "$map" --region 0,0,200,200 -o "$tmp/small/m.obj" --ini "$ini" 2>"$tmp/err"
    [ "$(cat "$tmp/err")" = "$tmp/small/m.obj に書き込めません (ディスクに空きがありません)" ] ||
        fail "disk full: --mesh said '$(cat "$tmp/err")'"
    [ "$(ls -A "$tmp/small")" = full.bmp ] || fail "disk full: --mesh left $(ls -A "$tmp/small")"
    umount "$tmp/small"
else
    echo "skipped: a full disk needs root to mount a small file system"
fi

# Killed at any moment, the earlier picture is whole: the one before, or the new one.
printf 'NBITS 16\nNCOLS 3000\nNROWS 3000\n' >"$tmp/big.hdr"
head -c 18000000 /dev/urandom >"$tmp/big.bil"

# An export that fills the disk while GDAL writes it, overviews and all: the earlier file stays,
# and neither the temporary file nor GDAL's own beside it are left.
if small_disk 1m; then
    fills_disk "export, disk full" "$tmp/small/full.tif" --export "$tmp/big.bil" -o "$tmp/small/full.tif"
    umount "$tmp/small"
else
    echo "skipped: a full disk needs root to mount a small file system"
fi

# What GDAL makes beside a temporary file (overviews in the making) goes with it once its writer is
# gone, and stays while the writer holds its lock.
touch "$tmp"/.l.tif.{AbCdEf.ovr.tmp,GhIjKl,GhIjKl.ovr.tmp,MnOpQr,MnOpQr.ovr.tmp}
exec 9>"$tmp/.l.tif.MnOpQr"
flock 9
"$talvo" --export "$map" -o "$tmp/l.tif" || fail "export beside leftovers"
left=$(ls -A "$tmp" | grep '^\.l\.tif' | tr '\n' ' ')
[ "$left" = ".l.tif.MnOpQr .l.tif.MnOpQr.ovr.tmp " ] || fail "beside the export's leftovers: $left"
exec 9>&-
"$talvo" --render "$tmp/big.bil" -o "$tmp/big.bmp" --ini "$ini" || fail "big render"
whole=$(md5sum <"$tmp/big.bmp")
for delay in 0.02 0.05 0.1 0.15 0.2 0.3; do
    "$talvo" --render "$tmp/big.bil" -o "$tmp/big.bmp" --ini "$ini" &
    sleep "$delay"
    kill -9 $! 2>/dev/null
    wait $! 2>/dev/null
    [ "$(md5sum <"$tmp/big.bmp")" = "$whole" ] || fail "killed after $delay s: the picture changed"
done

# A temporary file is locked while it is written: another run leaves it be, and once its writer
# is gone (killed) the next run removes it, so that a killed run leaves nothing behind.
caught=
for _ in 1 2 3 4 5; do
    rm -f "$tmp"/.big.bmp.* # an attempt's own leftover, which is not the one to catch
    "$talvo" --render "$tmp/big.bil" -o "$tmp/big.bmp" --ini "$ini" &
    writer=$!
    for _ in $(seq 1000); do
        caught=$(ls -A "$tmp" | grep -m1 '^\.big\.bmp\.')
        [ -n "$caught" ] && kill -STOP $writer && break
        sleep 0.005
    done
    # Caught once it holds the lock (not between making the file and locking it).
    [ -n "$caught" ] && [ -e "$tmp/$caught" ] && ! flock -n "$tmp/$caught" true && break
    kill -9 $writer 2>/dev/null
    wait $writer 2>/dev/null
    caught=
done
if [ -n "$caught" ]; then
    "$talvo" --render "$tmp/big.bil" -o "$tmp/big.bmp" --ini "$ini" || fail "beside a writer"
    [ -e "$tmp/$caught" ] || fail "the temporary file of a run still writing was removed"
    kill -9 $writer
    wait $writer 2>/dev/null
    "$talvo" --render "$tmp/big.bil" -o "$tmp/big.bmp" --ini "$ini" || fail "after a kill"
    [ -e "$tmp/$caught" ] && fail "a killed run's temporary file was left"
    [ "$(md5sum <"$tmp/big.bmp")" = "$whole" ] || fail "after a kill: another picture"
else
    fail "no run was caught writing its temporary file"
fi

# Settings: a named file that is missing or unreadable is an error naming it; nothing is drawn.
for named in "$tmp/none.ini" "$tmp"; do
    TALVO_INI=$named "$talvo" --render "$map" -o "$tmp/named.png" 2>"$tmp/err"
    [ $? -eq 1 ] || fail "TALVO_INI=$named should exit 1"
    grep -qF "$named" "$tmp/err" || fail "TALVO_INI=$named: message '$(cat "$tmp/err")'"
    "$talvo" --render "$map" -o "$tmp/named.png" --ini "$named" 2>/dev/null
    [ $? -eq 1 ] || fail "--ini $named should exit 1"
done
[ -e "$tmp/named.png" ] && fail "a picture was drawn without its settings"

# A first run from a copy of the program: the shipped palette, no message, nothing written.
mkdir -p "$tmp/prog/share/talvo" "$tmp/home"
cp "$talvo" "$tmp/prog/talvo"
cp "$ini" "$tmp/prog/share/talvo/Talvo.ini"
chmod a-w "$tmp/prog"
HOME=$tmp/home XDG_CONFIG_HOME= TALVO_INI= "$tmp/prog/talvo" --render "$map" -o "$tmp/first.bmp" \
    2>"$tmp/err" || fail "first run: exit status $?"
[ -s "$tmp/err" ] && fail "first run: said '$(cat "$tmp/err")'"
[ -z "$(ls -A "$tmp/home")" ] || fail "first run: wrote $(ls -A "$tmp/home")"
"$talvo" --render "$map" -o "$tmp/shipped.bmp" --ini "$ini"
cmp -s "$tmp/first.bmp" "$tmp/shipped.bmp" || fail "first run: not the shipped palette"
chmod u+w "$tmp/prog"

# A settings file that starts with a byte-order mark reads as its UTF-8 twin: UTF-8, and UTF-16
# of either byte order (as Windows Notepad saves).
printf '\xef\xbb\xbf' | cat - "$ini" >"$tmp/bom.ini"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$ini"; } >"$tmp/utf16le.ini"
{ printf '\xfe\xff'; iconv -f UTF-8 -t UTF-16BE "$ini"; } >"$tmp/utf16be.ini"
for encoded in bom utf16le utf16be; do
    "$talvo" --render "$map" -o "$tmp/$encoded.bmp" --ini "$tmp/$encoded.ini" || fail "$encoded"
    cmp -s "$tmp/$encoded.bmp" "$tmp/shipped.bmp" || fail "$encoded: another picture"
done

# Settings that say nothing Talvo knows are an error naming the file, not a black picture.
: >"$tmp/empty.ini"
printf '\x00\x01\xfe binary\x00\n\x7f' >"$tmp/binary.ini"
printf '[Other]\nkey=1\n' >"$tmp/other.ini"
for said in "$tmp/empty.ini" "$tmp/binary.ini" "$tmp/other.ini" /dev/null; do
    "$talvo" --render "$map" -o "$tmp/nothing.png" --ini "$said" 2>"$tmp/err"
    [ $? -eq 1 ] || fail "--ini $said: exit status not 1"
    grep -qxF "$said" "$tmp/err" || fail "--ini $said: message '$(cat "$tmp/err")'"
done
[ -e "$tmp/nothing.png" ] && fail "a picture was drawn with settings that say nothing"

finish
