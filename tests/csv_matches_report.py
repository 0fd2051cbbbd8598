#!/usr/bin/env python3
"""histdump --csv read back with Python's CSV reader, value by value against the cells of
histdump --report for the same row: the same lines in the same order, each volume as a number in
the locale's decimal sign followed by its unit, numbers that a spreadsheet reads as numbers.

    csv_matches_report.py HISTDUMP DEMOHIST
"""
import csv
import io
import math
import os
import struct
import subprocess
import sys
import tempfile

# The separators each language's locale writes (German, English, French, and beyond the six).
SEPARATORS = {0: (";", ","), 1: (",", "."), 2: (";", ","), -1: (";", ","), 9: (",", ".")}


def run(histdump, args):
    result = subprocess.run([histdump] + args, stdout=subprocess.PIPE, check=True)
    return result.stdout


def report_cells(output):
    """CELL<TAB>text lines as {(row, column letter): text}."""
    cells = {}
    for line in output.decode("cp1252").split("\n"):
        if not line:
            continue
        name, text = line.split("\t", 1)
        cells[(int(name[1:]), name[0])] = text
    return cells


def check(histdump, options, level, text, path):
    language = 0
    if "--lang" in options:
        language = int(options[options.index("--lang") + 1])
    separator, decimal = SEPARATORS[language]
    raw = run(histdump, options + ["--csv", str(level), text, path])
    cells = report_cells(run(histdump, options + ["--report", str(level), text, path]))
    problems = []

    if b"\n" in raw.replace(b"\r\n", b""):
        problems.append("a line not ended by CR LF")
    rows = list(csv.reader(io.StringIO(raw.decode("cp1252"), newline=""), delimiter=separator))
    if any(len(row) != 8 for row in rows):
        problems.append("lines of other than eight fields: %r" % [len(r) for r in rows])
        return problems

    def expect(what, got, wanted):
        if got != wanted:
            problems.append("%s: %r, the report has %r" % (what, got, wanted))

    seen = set()

    def cell(row, column):
        seen.add((row, column))
        return cells.get((row, column), "")

    title, header, lines = rows[0], rows[1], rows[2:]
    expect("title", title[0], cell(1, "A"))
    expect("period", title[7], cell(1, "F"))
    expect("title line's middle", title[1:7], [""] * 6)
    cell(3, "A")
    for field, column in ((0, "B"), (1, "C"), (3, "D"), (5, "E"), (7, "F")):
        expect("caption " + column, header[field], cell(3, column))
    expect("unit captions", [header[2], header[4], header[6]], ["", "", ""])

    for index, line in enumerate(lines):
        row = 4 + index
        expect("date in row %d" % row, line[0], cell(row, "B"))
        for field, column in ((1, "C"), (3, "D"), (5, "E")):
            number, unit = line[field], line[field + 1]
            if "." in number if decimal == "," else "," in number:
                problems.append("row %d: %r carries the other decimal sign" % (row, number))
            expect("volume %s%d" % (column, row), number.replace(decimal, ".") + " " + unit, cell(row, column))
            value = float(number.replace(decimal, "."))  # a number, also for inf and nan
            if math.isfinite(value) and number != number.strip():
                problems.append("row %d: padded number %r" % (row, number))
        expect("online time in row %d" % row, line[7], cell(row, "F").lstrip(" "))
    missing = sorted(set(cells) - seen)
    if missing:
        problems.append("report cells without a CSV field: %r" % missing)
    return problems


def main():
    histdump, demohist = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp()
    demo = os.path.join(work, "demo.hst")
    subprocess.run([demohist, demo], check=True, stdout=subprocess.DEVNULL)
    odd = os.path.join(work, "odd.hst")
    rows = [(2004, 5, 1, 3725, 1.25 * 1048576, 0.05 * 1000), (2004, 5, 2, 90000, 1e300, -2048.0),
            (2004, 5, 3, -5, float("inf"), float("nan")), (2004, 5, 3, 86400, 7.0, 5e-324),
            (2004, 4, 30, 10, 1.0, 2.0), (2004, 13, 2, 360000, 2.0 ** 30, 2.0 ** 20)]
    with open(odd, "wb") as f:
        for r in rows:
            f.write(struct.pack("<iiiidd", *r))

    cases = [
        ([], 1, "11/2026", demo),
        (["--lang", "1"], 1, "11/2026", demo),
        (["--lang", "1", "--bits", "--start-day", "15"], 2, "01/20/2024", demo),
        (["--lang", "2", "--start-day", "15"], 1, "03/2025", demo),
        (["--lang", "-1"], 2, "15.06.2025", demo),
        (["--lang", "9"], 1, "02/2024", demo),
        ([], 1, "05/2004", odd),
        (["--lang", "1", "--bits"], 1, "05/2004", odd),
        ([], 1, "01/2005", odd),
        ([], 2, "Sum", demo),
    ]
    failed = 0
    for options, level, text, path in cases:
        problems = check(histdump, options, level, text, path)
        name = " ".join(options + [str(level), text, os.path.basename(path)])
        if problems:
            failed += 1
            print("FAILED %s" % name)
            for p in problems[:10]:
                print("    " + p)
    for name in os.listdir(work):
        os.remove(os.path.join(work, name))
    os.rmdir(work)
    print("csv against report: %d cases, %d failed" % (len(cases), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
