#!/usr/bin/env python3
"""histdump --csv read back with Python's CSV reader and held to the history's own records: one
line per day row (adjacent records of a date are one row), plain whole numbers that add up to the
records' totals, the captions and separator of the language, CR LF after every line.

    csv_sums_records.py HISTDUMP DEMOHIST
"""
import csv
import io
import math
import os
import struct
import subprocess
import sys
import tempfile

CAPTIONS = {
    0: (";", ["Datum", "Download (Bytes)", "Upload (Bytes)", "Summe (Bytes)", "Onlinezeit (s)"]),
    1: (",", ["Date", "Download (bytes)", "Upload (bytes)", "Total (bytes)", "Online time (s)"]),
}
TODAY = (2026, 12, 8)


def shown_date(year, month, day):
    if month == 13:
        return year + 1, 1, day
    if month == 0:
        return year - 1, 12, day
    return year, month, day


def expected_days(data, selects):
    """(date, download, upload, seconds) per day row of the selected records, summed over each run
    of adjacent records of one date; the files here are in order, with start day 1."""
    days = []
    last = None
    for i in range(len(data) // 32):
        year, month, day, secs, down, up = struct.unpack_from("<iiiidd", data, 32 * i)
        date = shown_date(year, month, day)
        if date > TODAY:
            continue
        secs = 0 if secs < 0 or secs > 86400 else secs
        if date == last:
            if selects(date):
                d, a, b, s = days[-1]
                days[-1] = (d, a + down, b + up, s + secs)
            continue
        last = date
        if selects(date):
            days.append((date, down, up, secs))
    return days


def whole(value):
    """Rounded to a whole number, halves away from zero."""
    return str(int(math.copysign(math.floor(abs(value) + 0.5), value)))


def check(histdump, path, language, level, text, selects):
    separator, captions = CAPTIONS[language]
    raw = subprocess.run([histdump, "--today", "%04d-%02d-%02d" % TODAY, "--lang", str(language), "--csv",
                          str(level), text, path], stdout=subprocess.PIPE, check=True).stdout
    problems = []
    if not raw.endswith(b"\r\n") or b"\n" in raw.replace(b"\r\n", b""):
        problems.append("a line not ended by CR LF")
    if any(byte > 127 for byte in raw):
        problems.append("bytes beyond ASCII")
    rows = list(csv.reader(io.StringIO(raw.decode("ascii", "replace"), newline=""), delimiter=separator))
    if rows[:1] != [captions]:
        problems.append("captions %r" % rows[:1])
    lines = rows[1:]
    with open(path, "rb") as f:
        days = expected_days(f.read(), selects)
    if len(lines) != len(days):
        return problems + ["%d lines for %d day rows" % (len(lines), len(days))]
    totals = [0, 0, 0, 0]
    for line, (date, down, up, secs) in zip(lines, days):
        wanted = ["%04d-%02d-%02d" % date, whole(down), whole(up), str(int(whole(down)) + int(whole(up))), str(secs)]
        if line != wanted:
            problems.append("line %r, the records give %r" % (line, wanted))
        for i in range(4):
            totals[i] += int(line[i + 1])  # plain integers, as a spreadsheet reads them
    # The columns add up to the records' own totals, to the rounding of each row.
    for i, wanted in enumerate((sum(d[1] for d in days), sum(d[2] for d in days))):
        if abs(totals[i] - wanted) > 0.5 * len(days):
            problems.append("column %d sums to %d, the records to %r" % (i + 1, totals[i], wanted))
    if totals[2] != totals[0] + totals[1]:
        problems.append("the total column is not download plus upload")
    if not days:
        problems.append("no day rows: the case checks nothing")
    return problems


def main():
    histdump, demohist = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp()
    demo = os.path.join(work, "demo.hst")
    subprocess.run([demohist, demo], check=True, stdout=subprocess.DEVNULL)
    odd = os.path.join(work, "odd.hst")
    rows = [(2003, 12, 30, 100, 1.5, 2.5), (2003, 13, 2, 3725, 1048576.4, 512.5), (2004, 1, 2, 90000, 0.5, 0.0),
            (2004, 1, 2, 86400, 1e15, 3.0), (2004, 1, 3, -5, 7.0, 8.0)]
    with open(odd, "wb") as f:
        for r in rows:
            f.write(struct.pack("<iiiidd", *r))

    cases = [
        (demo, 0, 1, "11/2026", lambda d: d[:2] == (2026, 11)),
        (demo, 1, 1, "11/2026", lambda d: d[:2] == (2026, 11)),
        (demo, 0, 0, "2025", lambda d: d[0] == 2025),
        (demo, 1, 2, "03/15/2024", lambda d: d[:2] == (2024, 3)),
        (odd, 0, 1, "01/2004", lambda d: d[:2] == (2004, 1)),
        (odd, 1, 0, "2004", lambda d: d[0] == 2004),
    ]
    failed = 0
    for path, language, level, text, selects in cases:
        problems = check(histdump, path, language, level, text, selects)
        if problems:
            failed += 1
            print("FAILED --lang %d --csv %d %s %s" % (language, level, text, os.path.basename(path)))
            for p in problems[:10]:
                print("    " + p)
    for name in os.listdir(work):
        os.remove(os.path.join(work, name))
    os.rmdir(work)
    print("csv against records: %d cases, %d failed" % (len(cases), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
