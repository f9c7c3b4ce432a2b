"""Runs map_dump and parses what it prints."""
import subprocess


class Dump:
    def __init__(self, width, height, rows_read, corners, rows, line_numbers, layers):
        self.width, self.height, self.rows_read = width, height, rows_read
        self.corners = corners  # Ido_WS, Kei_WS, Ido_EN, Kei_EN as stored
        self.rows = rows  # cell values of each row read
        self.line_numbers = line_numbers
        self.layers = layers  # code -> list of (seq, lon, lat)


def run(dump, path, *window):
    """The map at path, or with window (x, y, w, h, cols, rows) that window of it read by window."""
    lines = subprocess.run([dump, path, *map(str, window)], check=True, capture_output=True,
                           text=True).stdout.splitlines()
    width, height, rows_read = map(int, lines[0].split())
    corners = list(map(float, lines[1].split()))
    rows, line_numbers = [], []
    for line in lines[2:2 + rows_read]:
        values = list(map(int, line.split()))
        line_numbers.append(values[0])
        rows.append(values[1:])
    layers, at = {}, 2 + rows_read
    while at < len(lines):
        _, code, count = lines[at].split()
        points = []
        for line in lines[at + 1:at + 1 + int(count)]:
            seq, lon, lat = line.split()
            points.append((int(seq), float(lon), float(lat)))
        layers[code] = points
        at += 1 + int(count)
    return Dump(width, height, rows_read, corners, rows, line_numbers, layers)


def report(problems):
    """Prints the problems and the closing line; returns the exit status."""
    for problem in problems[:20]:
        print("FAIL:", problem)
    print("%d passed, %d failed" % (0 if problems else 1, 1 if problems else 0))
    return 1 if problems else 0
