#!/usr/bin/python3
"""talvo over many tiles at once: 200 FG-GML DEM tiles in 4 zips, written here, exported and
drawn one output per tile with --jobs 2. A run killed (SIGKILL) three times at random moments and run again each
time ends with every output equal byte for byte to one uninterrupted run's, a manifest of 200 good
lines, no temporary file left, and --verify content until an output is cut short. Shards 1/3, 2/3
and 3/3 split the tiles disjointly, whatever the order of the inputs; a corrupt tile among good
ones fails alone, saying why. --mosaic of one zip gives the cells and place of the zip exported
alone; of two zips far apart, a sparse BigTIFF whose blocks between them are not written."""
import io
import json
import os
import random
import signal
import subprocess
import sys
import tempfile
import time
import zipfile

import numpy
from osgeo import gdal

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "peer"))
from fg_gml_text import fg_gml_document  # noqa: E402

gdal.UseExceptions()

ZIPS, TILES_PER_ZIP = 4, 50
NO_DATA = -9999.0
COLS, ROWS = 120, 100
CELL_LON, CELL_LAT = 0.0015, 0.001


def fg_gml(values, south, west, mesh):
    """A 5 m tile of the rows of values (None: no data)."""
    rows, cols = len(values), len(values[0])
    points = "".join("\n%s,%s" % (("地表面", repr(v)) if v is not None else ("データなし", "-9999."))
                     for row in values for v in row)
    return fg_gml_document(points, cols, rows, south, west, south + rows * CELL_LAT,
                           west + cols * CELL_LON, mesh, "5m")


def tile_values(seed):
    """A slope with a ridge, some sea and a corner of no data: every colour rule is drawn."""
    values = []
    for row in range(ROWS):
        line = []
        for col in range(COLS):
            if row < 5 and col < 5:
                line.append(None)
            elif col < 8:
                line.append(0.0)
            else:
                line.append(round((seed * 7 + row * 3.1 + col * 1.7 + (row * col) % 13) % 900, 2))
        values.append(line)
    return values


def write_zips(folder):
    paths = []
    for z in range(ZIPS):
        path = os.path.join(folder, "FG-GML-%04d-DEM5A.zip" % (5339 + z))
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
            for t in range(TILES_PER_ZIP):
                mesh = "%04d%02d%02d" % (5339 + z, t // 10, t % 10)
                south, west = 35.0 + z + (t // 10) * ROWS * CELL_LAT, 139.0 + (t % 10) * COLS * CELL_LON
                archive.writestr("FG-GML-%s-DEMPT-20240101.xml" % mesh,
                                 fg_gml(tile_values(z * 100 + t), south, west, mesh))
        paths.append(path)
    return paths


def raster(path):
    """What GDAL reads of an export: its size, place, CRS, no-data value and cells."""
    dataset = gdal.Open(path)
    band = dataset.GetRasterBand(1)
    return {"size": (dataset.RasterXSize, dataset.RasterYSize),
            "transform": dataset.GetGeoTransform(), "crs": dataset.GetProjection(),
            "nodata": band.GetNoDataValue(), "cells": band.ReadAsArray()}


def same_raster(one, other):
    return all(numpy.array_equal(one[key], other[key]) if key == "cells" else one[key] == other[key]
               for key in one)


def tree(folder):
    """Every file under folder by its relative path, with its bytes."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = f.read()
    return files


def manifest(path):
    with open(path, encoding="utf-8") as f:
        return [json.loads(line) for line in f]


def resumed_set(talvo, command, zips, tmp, name, extension, rng, problems):
    """One uninterrupted run of command into tmp/name-single, then one killed three times at random
    moments and run again each time into tmp/name: the same files, whole, and a manifest of every
    tile. Returns the manifest's lines, the killed run's command and what it wrote."""
    started = time.monotonic()
    single = subprocess.run(command(os.path.join(tmp, name + "-single"), []), capture_output=True,
                            text=True)
    seconds = time.monotonic() - started
    if single.returncode != 0:
        sys.exit("%s: the uninterrupted run failed: %s" % (name, single.stderr))
    expected = tree(os.path.join(tmp, name + "-single"))
    outputs = [file for file in expected if file.endswith(extension)]
    if len(outputs) != ZIPS * TILES_PER_ZIP:
        problems.append("%s: %d outputs, not %d" % (name, len(outputs), ZIPS * TILES_PER_ZIP))

    out, lines_path = os.path.join(tmp, name), os.path.join(tmp, name + ".jsonl")
    resumable = command(out, ["--manifest", lines_path])
    done = []  # outputs whole after each kill
    for kill in range(3):
        process = subprocess.Popen(resumable, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(0.05, 0.9) * seconds)
        process.send_signal(signal.SIGKILL)
        process.wait()
        done.append(sum(file.endswith(extension) for file in tree(out)) if os.path.isdir(out) else 0)
    final = subprocess.run(resumable, capture_output=True, text=True)
    if final.returncode != 0:
        problems.append("%s: the resumed run exits %d: %s" % (name, final.returncode, final.stderr))
    written = tree(out)
    if written != expected:
        differ = sorted(set(written) ^ set(expected)) or sorted(
            file for file in written if written[file] != expected[file])
        problems.append("%s: the resumed outputs differ from one run's: %s" % (name, differ[:5]))
    left = [file for file in written if os.path.basename(file).startswith(".")]
    left += [file for file in os.listdir(tmp) if file.startswith(".")]
    if left:
        problems.append("%s: temporary files left: %s" % (name, left[:5]))
    lines = manifest(lines_path)
    inputs = {line["input"] for line in lines}
    if (len(lines) != ZIPS * TILES_PER_ZIP or len(inputs) != len(lines)
            or any(line["status"] != "ok" for line in lines)):
        problems.append("%s: the manifest holds %d lines for %d tiles, statuses %s"
                        % (name, len(lines), len(inputs), {line["status"] for line in lines}))
    print("batch: %s: one run %.2f s, outputs after each kill %s" % (name, seconds, done))
    return lines, resumable, expected


def main():
    talvo, samples = sys.argv[1], sys.argv[2]
    problems = []
    seed = int(os.environ.get("TALVO_BATCH_SEED", time.time_ns() % 100000))
    rng = random.Random(seed)
    with tempfile.TemporaryDirectory() as tmp:
        zips = write_zips(tmp)

        def command(action, inputs=zips):
            ini = ["--ini", os.path.join(samples, "jacksboro", "Talvo.ini")]
            return lambda out, extra: [talvo, action, *(ini if action == "--render" else []),
                                       "--jobs", "2", "-o", out + "/", *extra, *inputs]

        resumed_set(talvo, command("--render"), zips, tmp, "pictures", ".png", rng, problems)
        lines, resumable, expected = resumed_set(talvo, command("--export"), zips, tmp, "heights",
                                                 ".tif", rng, problems)
        lines_path = resumable[resumable.index("--manifest") + 1]
        keys = ["input", "output", "kind", "crs", "size", "cells", "sea", "nodata", "min", "max",
                "sha256", "beside", "seconds", "status", "message"]
        first = lines[0]
        if list(first) != keys or not os.path.isabs(first["output"]) or first["cells"] != COLS * ROWS \
                or first["nodata"] != 25 or first["kind"] != "FG" or len(first["sha256"]) != 64 \
                or first["size"] != os.path.getsize(first["output"]) or first["crs"] != "EPSG:6668":
            problems.append("a manifest line reads %s" % first)
        if not first["input"].startswith(zips[0] + "/FG-GML-"):
            problems.append("a zip's tile is not named ZIP/TILE: %s" % first["input"])

        verify = subprocess.run([talvo, "--verify", lines_path], capture_output=True, text=True)
        if verify.returncode != 0:
            problems.append("--verify of whole outputs exits %d: %s"
                            % (verify.returncode, verify.stderr))
        victim = lines[rng.randrange(len(lines))]["output"]
        with open(victim, "r+b") as f:
            f.truncate(os.path.getsize(victim) // 2)
        verify = subprocess.run([talvo, "--verify", lines_path], capture_output=True, text=True)
        if verify.returncode != 1 or victim not in verify.stderr:
            problems.append("--verify of a cut output exits %d and says %r"
                            % (verify.returncode, verify.stderr))
        resumed = subprocess.run(resumable, capture_output=True, text=True)
        if resumed.returncode != 0 or tree(os.path.join(tmp, "heights")) != expected:
            problems.append("a run after the cut did not write the cut output again")

        # Without a manifest an output is kept when it decodes whole, and written again when not.
        with open(victim, "r+b") as f:
            f.truncate(os.path.getsize(victim) // 2)
        plain = subprocess.run([part for part in resumable if part not in ("--manifest", lines_path)],
                               capture_output=True, text=True, env=dict(os.environ, LC_ALL="en_US.UTF-8"))
        kept = plain.stdout.count("verified, kept:")
        if plain.returncode != 0 or kept != len(lines) - 1 or tree(os.path.join(tmp, "heights")) != expected:
            problems.append("without a manifest: exit %d, %d outputs kept, the cut one %s"
                            % (plain.returncode, kept, "rewritten" if tree(os.path.join(tmp, "heights")) == expected else "left"))

        shards = []
        for index in (1, 2, 3):
            order = zips if index != 2 else list(reversed(zips))
            part = os.path.join(tmp, "shard%d.jsonl" % index)
            result = subprocess.run(command("--export", order)(
                os.path.join(tmp, "shards"), ["--shard", "%d/3" % index, "--manifest", part,
                                              "--crs", "EPSG:4326"]), capture_output=True)
            if result.returncode != 0:
                problems.append("shard %d/3 exits %d" % (index, result.returncode))
            shards.append({line["input"] for line in manifest(part)})
            if any(line["crs"] != "EPSG:4326" for line in manifest(part)):
                problems.append("shard %d/3 does not take --crs" % index)
        inputs = {line["input"] for line in lines}
        if any(a & b for a, b in [(shards[0], shards[1]), (shards[0], shards[2]),
                                  (shards[1], shards[2])]) or set().union(*shards) != inputs:
            problems.append("shards of %s tiles are not a partition of %d"
                            % ([len(s) for s in shards], len(inputs)))

        bad_zip = os.path.join(tmp, "mixed.zip")
        with zipfile.ZipFile(bad_zip, "w") as archive:
            for t in range(3):
                archive.writestr("good%d.xml" % t,
                                 fg_gml(tile_values(t), 35.0, 139.0 + t, "5339000%d" % t))
            archive.writestr("bad.xml", fg_gml(tile_values(9), 35.0, 140.0, "53390009")
                             .replace("地表面,".encode(), "地表面,x".encode(), 1))
        bad_lines = os.path.join(tmp, "bad.jsonl")
        mixed = subprocess.run(command("--export", [bad_zip])(
            os.path.join(tmp, "mixed"), ["--manifest", bad_lines]), capture_output=True, text=True)
        failed = [line for line in manifest(bad_lines) if line["status"] != "ok"]
        good = [file for file in os.listdir(os.path.join(tmp, "mixed", "mixed"))
                if file.endswith(".tif")]
        if mixed.returncode != 1 or len(failed) != 1 or not failed[0]["input"].endswith("bad.xml") \
                or "bad.xml" not in failed[0]["message"] or sorted(good) != [
                    "good0.tif", "good1.tif", "good2.tif"] or "bad.xml" not in mixed.stderr:
            problems.append("a corrupt tile: exit %d, failed lines %s, written %s, said %r"
                            % (mixed.returncode, failed, good, mixed.stderr))
        # GSI's bulk download, a zip of zips: one output per tile of every zip inside, under
        # DIR/PACK/INNER/, every date of a mesh kept; a name that would climb out of DIR does not.
        inner = io.BytesIO()
        with zipfile.ZipFile(inner, "w", zipfile.ZIP_DEFLATED) as archive:
            for date in ("20161001", "20230101"):
                archive.writestr("FG-GML-5339-00-00-DEM5A-%s.xml" % date,
                                 fg_gml(tile_values(1), 35.0, 139.0, "53390000"))
        with zipfile.ZipFile(os.path.join(tmp, "PackDLMap.zip"), "w") as archive:
            archive.writestr("FG-GML-5339-00-DEM5A.zip", inner.getvalue())
            archive.writestr("...zip", inner.getvalue())
        packed = subprocess.run([talvo, "--export", "-o", os.path.join(tmp, "packed") + "/",
                                 "--manifest", os.path.join(tmp, "packed.jsonl"),
                                 os.path.join(tmp, "PackDLMap.zip")], capture_output=True, text=True)
        written = sorted(tree(os.path.join(tmp, "packed")))
        expected_outputs = sorted("PackDLMap/%s/FG-GML-5339-00-00-DEM5A-%s.tif" % (folder, date)
                                  for folder in ("FG-GML-5339-00-DEM5A", "_")
                                  for date in ("20161001", "20230101"))
        inputs = {line["input"] for line in manifest(os.path.join(tmp, "packed.jsonl"))}
        if packed.returncode != 0 or written != expected_outputs or os.path.join(
                tmp, "PackDLMap.zip", "FG-GML-5339-00-DEM5A.zip",
                "FG-GML-5339-00-00-DEM5A-20230101.xml") not in inputs:
            problems.append("a pack of zips: exit %d, wrote %s, inputs %s, said %r"
                            % (packed.returncode, written, sorted(inputs), packed.stderr))

        # --mosaic: one zip as one map has the cells and place of the zip opened alone; two zips
        # far apart make one sparse BigTIFF over both, laid from the tiles a band at a time: the
        # blocks between them are not written, and each zip's cells lie where its own export's do.
        alone, laid = os.path.join(tmp, "alone.tif"), os.path.join(tmp, "laid.tif")
        subprocess.run([talvo, "--export", zips[0], "-o", alone], check=True)
        subprocess.run([talvo, "--export", "--mosaic", zips[0], "-o", laid], check=True)
        if not same_raster(raster(laid), raster(alone)):
            problems.append("--mosaic of one zip differs from the zip opened alone")
        north = os.path.join(tmp, "north.tif")
        subprocess.run([talvo, "--export", zips[3], "-o", north], check=True)
        both = subprocess.run([talvo, "--export", "-o", laid, "--jobs", "2", "--mosaic", zips[3],
                               zips[0]], capture_output=True, text=True)
        south_rows = 3 * int(round(1 / CELL_LAT))  # from the north zip's top to the south one's
        mosaic, parts = raster(laid), [raster(north), raster(alone)]
        dataset = gdal.Open(laid)
        written = [dataset.GetRasterBand(1).GetMetadataItem("BLOCK_OFFSET_0_%d" % row, "TIFF")
                   for row in range(7)]
        with open(laid, "rb") as header:
            big = header.read(4) == b"II+\0"
        if (both.returncode != 0 or not big or mosaic["size"] != (10 * COLS, south_rows + 5 * ROWS)
                or mosaic["transform"] != parts[0]["transform"] or mosaic["crs"] != parts[0]["crs"]
                or not numpy.array_equal(mosaic["cells"][:5 * ROWS], parts[0]["cells"])
                or not numpy.array_equal(mosaic["cells"][south_rows:], parts[1]["cells"])
                or (mosaic["cells"][5 * ROWS:south_rows] != NO_DATA).any()
                or [bool(offset) for offset in written] != [True, False, False, False, False, True, True]):
            problems.append("--mosaic of two zips far apart exits %d (%s), BigTIFF %s, blocks written %s"
                            % (both.returncode, both.stderr, big, written))

        # Command lines that cannot be run: exit 2, nothing written.
        for mistyped in (["--jobs", "0", "-o", tmp + "/x/"], ["--shard", "4/3", "-o", tmp + "/x/"],
                         ["--shard", "1", "-o", tmp + "/x/"], ["-o", tmp + "/x.tif"],
                         ["--manifest", tmp + "/x.jsonl", "-o", tmp + "/y.tif", zips[0]],
                         ["--mosaic", "-o", tmp + "/x/"]):
            result = subprocess.run([talvo, "--export", *mistyped, *zips], capture_output=True)
            if result.returncode != 2 or os.path.exists(tmp + "/x") or os.path.exists(tmp + "/x.tif"):
                problems.append("%s exits %d" % (" ".join(mistyped), result.returncode))
    for problem in problems:
        print("batch: " + problem)
    print("batch: seed %d" % seed)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
