#!/usr/bin/python3
"""A batch given mistakes and hostile names: a manifest that names an input, the settings, an
output, a foreign file or a device is refused and left as it was; nothing is written outside DIR;
a rerun with DIR (or a mosaic's output) inside an input folder keeps what it wrote; names that are
no UTF-8 or hold escape sequences are kept whole in the manifest and escaped on the terminal; a
loop of links and a file where a folder should be are told in our words; --verify finds a missing
world file; an output of another size is written again; loose files that share a name keep their
extensions. Each row: what, how it is set up (the arguments), the exit status, what must hold."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import struct
import zlib

# No UTF-8, a backslash, and an escape sequence that colours a terminal.
HOSTILE = b"bad\xff\x1b[31m\\red"


def png(path, width, height):
    """An all-black RGB PNG of width × height pixels, without a picture's memory."""
    def chunk(kind, data):
        crc = struct.pack(">I", zlib.crc32(kind + data))
        return struct.pack(">I", len(data)) + kind + data + crc
    packer, row = zlib.compressobj(1), b"\0" * (1 + 3 * width)
    rows = b"".join(packer.compress(row) for _ in range(height)) + packer.flush()
    with open(path, "wb") as f:
        header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", rows)
                + chunk(b"IEND", b""))


def lines(path):
    with open(path, "rb") as f:
        return [json.loads(line) for line in f]


def unescaped(text):
    """The bytes a manifest's name stands for: \\\\ is a backslash, \\xHH a byte."""
    out, at = bytearray(), 0
    while at < len(text):
        if text.startswith("\\\\", at):
            out += b"\\"
            at += 2
        elif text.startswith("\\x", at) and len(text) >= at + 4:
            out.append(int(text[at + 2:at + 4], 16))
            at += 4
        else:
            out += text[at].encode()
            at += 1
    return bytes(out)


def main():
    talvo, samples = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    jacksboro = os.path.join(samples, "jacksboro")
    ini = os.path.join(jacksboro, "Talvo.ini")
    problems = []
    tmp = tempfile.mkdtemp()
    os.chdir(tmp)
    os.mkdir("in")
    shutil.copy(os.path.join(jacksboro, "533945.Mem"), "in/a.Mem")
    shutil.copy(os.path.join(jacksboro, "Talvo.ini"), "my.ini")
    shutil.copy(os.path.join(jacksboro, "jacksboro.tif"), "in/j.tif")
    with open("foreign.jsonl", "w") as f:
        f.write("my notes\n")
    with open("long.jsonl", "w") as f:
        f.write('{"input":"x","status":"ok"}\n' + "x" * (2 << 20) + "\n")
    open("empty.jsonl", "w").close()
    os.mkfifo("fifo")
    os.makedirs("out/a")
    os.makedirs("loops/sub")
    shutil.copy(os.path.join(jacksboro, "jacksboro.tif"), "loops/")
    os.symlink("loop", "loops/loop")
    os.symlink("..", "loops/sub/up")
    os.makedirs(b"names/" + HOSTILE)
    shutil.copy(os.path.join(jacksboro, "jacksboro.tif"), b"names/" + HOSTILE + b".tif")
    with open(b"names/" + HOSTILE + b"/" + HOSTILE + b"2.tif", "wb") as f:
        f.write(b"II*\0broken")
    shutil.copytree(jacksboro, "data")
    os.makedirs("rerun")
    shutil.copy(os.path.join(jacksboro, "jacksboro.tif"), "rerun/")
    os.makedirs("mosaic")
    shutil.unpack_archive(os.path.join(jacksboro, "FG-GML-5339-45-DEM10B.zip"), "mosaic")
    os.makedirs("dots")
    shutil.copy(os.path.join(jacksboro, "FG-GML-5339-45-DEM10B.zip"), "dots/...zip")
    shutil.copy(os.path.join(jacksboro, "jacksboro.tif"), "dots/...")
    os.makedirs("big/out")
    shutil.copy(os.path.join(jacksboro, "533945.Mem"), "big/")
    os.makedirs("wf-in")
    shutil.copy(os.path.join(jacksboro, "533945.Mem"), "wf-in/a.Mem")

    def run(args):
        try:
            return subprocess.run([talvo, *args], capture_output=True, timeout=60,
                                  env=dict(os.environ, LC_ALL="en_US.UTF-8"))
        except subprocess.TimeoutExpired as hung:  # a FIFO or a device read for ever
            return subprocess.CompletedProcess(hung.cmd, -9, hung.stdout or b"", hung.stderr or b"")

    def unchanged(path, before):
        return lambda r: None if open(path, "rb").read() == before else "%s was changed" % path

    def said(text):
        return lambda r: None if text.encode() in r.stderr else "said %r" % r.stderr[-300:]

    def rerun_keeps(args):
        def check(r):
            again = run(args)
            if again.returncode != 0 or b"written:" in again.stdout:
                return "the rerun exits %d: %r" % (again.returncode, again.stdout + again.stderr)
        return check

    def verify_finds_world_file(r):
        if not os.path.exists("wf/a.pgw"):
            return "no world file was written"
        os.remove("wf/a.pgw")
        verify = run(["--verify", "wf.jsonl"])
        again = run(["--render", "--ini", ini, "--manifest", "wf.jsonl", "-o", "wf/", "wf-in/a.Mem"])
        if verify.returncode != 1 or b"a.pgw" not in verify.stderr or not os.path.exists("wf/a.pgw"):
            return "a deleted world file: --verify exits %d, the rerun %d" % (verify.returncode,
                                                                             again.returncode)

    def big_written_again(r):
        if os.path.getsize("big/out/533945.png") > 1000000:
            return "the 20000-pixel PNG was kept"

    def names_kept(r):
        if b"\x1b" in r.stdout + r.stderr or b"\\x1B[31m" not in r.stderr:
            return "an escape sequence reached the terminal: %r" % (r.stdout + r.stderr)[-300:]
        inputs = sorted(unescaped(line["input"]) for line in lines("names.jsonl"))
        want = sorted(os.path.abspath(b"names/" + HOSTILE + name)
                      for name in (b".tif", b"/" + HOSTILE + b"2.tif"))
        if inputs != want:
            return "the manifest's names read back as %r" % inputs

    def read_only(r):
        return None if b"filesystem error" not in r.stderr and b"read-only" in r.stderr else \
            "a read-only file system: %r" % r.stderr

    export = ["--export", "--quiet"]
    rows = [
        # The manifest is an output: never an input, the settings, an output or a foreign file.
        ("manifest is the map", export + ["--manifest", "in/a.Mem", "-o", "out/", "in/a.Mem"], 1,
         unchanged("in/a.Mem", open("in/a.Mem", "rb").read())),
        ("manifest is the settings", ["--render", "--ini", "my.ini", "--manifest", "my.ini", "-o", "out/",
                                      "in/a.Mem"], 1, unchanged("my.ini", open("my.ini", "rb").read())),
        ("manifest is an output", export + ["--manifest", "out/a.tif", "-o", "out/", "in/a.Mem"], 1,
         lambda r: "an output was written" if os.path.exists("out/a.tif") else None),
        ("manifest is foreign", export + ["--manifest", "foreign.jsonl", "-o", "out/", "in/a.Mem"], 1,
         unchanged("foreign.jsonl", b"my notes\n")),
        # A manifest is read back and replaced: a regular file, lines bounded; --verify needs one.
        ("manifest is standard output", export + ["--manifest", "/dev/stdout", "-o", "out/", "in/a.Mem"], 2,
         said("regular file")),
        ("verify /dev/zero", ["--verify", "/dev/zero"], 2, said("regular file")),
        ("verify a FIFO", ["--verify", "fifo"], 2, said("regular file")),
        ("verify a folder", ["--verify", "out"], 2, said("regular file")),
        ("verify no manifest", ["--verify", "none.jsonl"], 1, said("not found")),
        ("verify an empty manifest", ["--verify", "empty.jsonl"], 1, said("no line")),
        ("verify an endless line", ["--verify", "long.jsonl"], 1, said("1048576 bytes")),
        ("manifest in a new folder", export + ["--manifest", "new/m.jsonl", "-o", "out/", "in/a.Mem"], 0,
         lambda r: None if os.path.getsize("new/m.jsonl") > 0 else "an empty manifest"),
        # Names that cannot climb out of DIR.
        ("names ...zip and ...", export + ["-o", "dots/out/", "dots/...zip", "dots/..."], 0,
         lambda r: None if sorted(os.listdir("dots")) == ["...", "...zip", "out"] else
         "wrote beside DIR: %s" % os.listdir("dots")),
        # A rerun finds DIR (or a mosaic's output) in its input folder and keeps what it wrote.
        ("DIR/ inside the input", export + ["-o", "rerun/out/", "rerun"], 0,
         rerun_keeps(export[:1] + ["-o", "rerun/out/", "rerun"])),
        ("--mosaic . beside its output", ["--export", "--mosaic", "mosaic", "-o", "mosaic/m.tif"], 0,
         rerun_keeps(["--export", "--mosaic", "mosaic", "-o", "mosaic/m.tif"])),
        # Names kept whole in the manifest, escaped on the terminal; the broken tile fails alone.
        ("hostile names", ["--export", "--manifest", "names.jsonl", "-o", "names-out/", "names"], 1, names_kept),
        # A loop of links is skipped with one line; other file-system errors in our words.
        ("a loop of links", export + ["-o", "loops-out/", "loops"], 0, said("skipped %s/loops/loop: a loop" % tmp)),
        ("DIR is a file", export + ["-o", "foreign.jsonl/", "in/j.tif"], 1, said("cannot be written: not a folder")),
        # World files are in the manifest; without one, an output of another size is written again.
        ("world files", ["--render", "--ini", ini, "--manifest", "wf.jsonl", "-o", "wf/", "wf-in/a.Mem"], 0,
         verify_finds_world_file),
        ("a PNG of another size", ["--render", "--ini", ini, "-o", "big/out/", "big/533945.Mem"], 0,
         big_written_again),
        # The README's example on the samples folder: jacksboro.bil and .tif keep their extensions.
        ("shard 1/2 of the samples", export + ["--jobs", "1", "--shard", "1/2", "-o", "shared/", "data"], 0,
         lambda r: None),
        ("shard 2/2 of the samples", export + ["--jobs", "1", "--shard", "2/2", "-o", "shared/", "data"], 0,
         lambda r: None if sorted(n for n in os.listdir("shared") if n.startswith("jacksboro")) == [
             "jacksboro.bil.tif", "jacksboro.tif.tif"] else "wrote %s" % sorted(os.listdir("shared"))),
    ]
    if os.geteuid() == 0 and subprocess.run(["mount", "-t", "tmpfs", "-o", "ro,size=1m", "tmpfs", "out/a"],
                                            capture_output=True).returncode == 0:
        rows.append(("a read-only file system", export + ["-o", "out/a/x/", "in/j.tif"], 1, read_only))
    else:
        print("batch names: skipped a read-only file system, which needs root to mount")
    png("big/out/533945.png", 20000, 20000)
    for beside in ("big/out/533945.pgw", "big/out/533945.png.aux.xml"):
        open(beside, "w").close()
    try:
        for what, args, status, check in rows:
            result = run(args)
            problem = check(result)
            if result.returncode != status or problem or b"filesystem error" in result.stderr:
                problems.append("%s: exit %d (not %d), %s" % (what, result.returncode, status,
                                                             problem or result.stderr[-300:]))
    finally:
        subprocess.run(["umount", "out/a"], capture_output=True)
        shutil.rmtree(tmp)
    for problem in problems:
        print("batch names: " + problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
