#!/usr/bin/env python3
"""Differential test: the histdump binary against the Python reference model.

Generates random history files (plausible chronological histories, damaged
ones and pure noise), runs histdump on each with random options and compares
its standard output byte for byte with histdump_model.render().

    histdump_diff.py --histdump PATH [--count N] [--seed S] [--runner "wine"]
                     [--show N] [--keep DIR] [--only INDEX] [--encoding cp1252]

Every case is derived from (seed, index) alone, so "--seed S --only I"
reproduces case I of a run.  Exit status 1 when any case differs.
"""

import argparse
import datetime
import difflib
import os
import random
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import histdump_model  # noqa: E402

INT_MIN, INT_MAX = -2 ** 31, 2 ** 31 - 1
RECORD = struct.Struct("<iiiidd")

POS_NAN = struct.unpack("<d", struct.pack("<Q", 0x7FF8000000000000))[0]
NEG_NAN = struct.unpack("<d", struct.pack("<Q", 0xFFF8000000000000))[0]
POS_NAN_PAYLOAD = struct.unpack("<d", struct.pack("<Q", 0x7FF800000000BEEF))[0]
INF = float("inf")

# Values on and around the unit steps of both display modes, and values whose
# one-decimal text sits on a rounding edge.
EDGE_VOLUMES = [
    0.0, -0.0, 1.0, 49.0, 50.0, 51.0, 949.0, 950.0, 999.0, 999.9, 1000.0,
    1023.0, 1023.95, 1024.0, 1075.2, 1126.4, 1048524.8, 1048575.0,
    1048576.0, 1101004.8, 124999999.0, 124999999.99, 125000000.0,
    1073741823.0, 1073741824.0, 1127428915.2, 0.05, 0.049999999999999996,
    0.15, 0.25, 0.35, 1e-300, 5e-324, 1e15, 1.5e18, 2.0 ** 53, 2.0 ** 53 + 2,
    1e300, 1.7976931348623157e308, -1.0, -1024.0, -5e9, -1e300,
]


def fmt_g(x):
    return histdump_model.c_float(x, "%.17g")


# ---------------------------------------------------------------------------
# Case generation
# ---------------------------------------------------------------------------

class Volumes:
    """Draws volumes for one file.  NaN signs are kept uniform within a file
    (only NaNs of one sign can arise, also from inf + -inf), so the expected
    text does not depend on which NaN operand an addition propagates."""

    def __init__(self, rng, allow_weird):
        self.rng = rng
        self.allow_weird = allow_weird
        self.flavour = "none"
        if allow_weird and rng.random() < 0.35:
            self.flavour = rng.choice(["neg", "pos"])

    def clamp(self, v):
        # A file with positive NaNs must never overflow into opposite
        # infinities, whose sum would be the (negative) default NaN.
        if self.flavour == "pos" and abs(v) > 1e300:
            return 1e300 if v > 0 else -1e300
        return v

    def special(self):
        if self.flavour == "neg":
            return self.rng.choice([INF, -INF, NEG_NAN])
        return self.rng.choice([POS_NAN, POS_NAN_PAYLOAD])

    def typical(self, scale):
        r = self.rng.random()
        if r < 0.08:
            return 0.0
        if r < 0.25:
            return float(self.rng.randint(1, 5000))
        if r < 0.35:
            return self.rng.random() * 2048.0
        return float(int(self.rng.lognormvariate(17.0, 2.5) * scale))

    def draw(self, scale=1.0):
        rng = self.rng
        if self.allow_weird:
            r = rng.random()
            if self.flavour != "none" and r < 0.04:
                return self.special()
            if r < 0.25:
                return self.clamp(rng.choice(EDGE_VOLUMES))
            if r < 0.32:
                return self.clamp(-self.typical(scale))
            if r < 0.40:
                return rng.random() * 10.0 ** rng.randint(-3, 14)
        return self.typical(scale)


def pick_seconds(rng, weird):
    if weird and rng.random() < 0.3:
        return rng.choice([INT_MIN, -86400, -1, 0, 1, 59, 3599, 86399, 86400,
                           86401, 90000, 360000, INT_MAX,
                           rng.randint(INT_MIN, INT_MAX)])
    r = rng.random()
    if r < 0.1:
        return 0
    if r < 0.13:
        return 86400
    return rng.randint(1, 86399)


def stored_form(rng, year, month, day, p_alias):
    """A date as stored, sometimes written with month 13 of the previous
    year or month 0 of the next year."""
    if month == 1 and rng.random() < p_alias:
        return year - 1, 13, day
    if month == 12 and rng.random() < p_alias:
        return year + 1, 0, day
    return year, month, day


def plausible_history(rng, vols):
    """A chronological history, as the monitor writes it, with gaps,
    adjacent duplicates and now and then months stored as 0 or 13."""
    first_year = rng.choice([1979, 1980, 1981, rng.randint(1995, 2012),
                             rng.randint(1995, 2012)])
    day = datetime.date(first_year, rng.randint(1, 12), rng.randint(1, 28))
    n = rng.choice([rng.randint(1, 12), rng.randint(10, 80),
                    rng.randint(60, 300)])
    p_alias = rng.choice([0.0, 0.0, 0.3, 1.0])
    records = []
    dates = []
    for _ in range(n):
        y, mo, d = stored_form(rng, day.year, day.month, day.day, p_alias)
        records.append([y, mo, d, pick_seconds(rng, False),
                        vols.draw(), vols.draw(0.2)])
        dates.append(day)
        r = rng.random()
        if r < 0.06:
            step = 0                                   # duplicate record
        elif r < 0.75:
            step = 1
        elif r < 0.93:
            step = rng.randint(2, 40)
        else:
            step = rng.choice([180, 300, 335, 365, 366, 400, 700])
        try:
            day += datetime.timedelta(days=step)
        except OverflowError:
            break
    return records, dates


def damage(rng, records, vols):
    """Corrupts some fields and shuffles a few records around."""
    for _ in range(rng.randint(1, max(1, len(records) // 5))):
        rec = rng.choice(records)
        field = rng.randrange(6)
        if field == 0:
            rec[0] = rng.choice([1899, 1900, 1980, rec[0] - 1, rec[0] + 1,
                                 rec[0] + 30, 0, -5])
        elif field == 1:
            rec[1] = rng.choice([0, 13, 14, 15, -1, 20, 100, rng.randint(-30, 30)])
        elif field == 2:
            rec[2] = rng.choice([0, -1, -6, -13, 32, 35, 60, 99,
                                 rng.randint(-1000, 1000)])
        elif field == 3:
            rec[3] = pick_seconds(rng, True)
        else:
            rec[field] = vols.draw()
    for _ in range(rng.randint(0, 3)):
        if len(records) < 2:
            break
        a, b = rng.randrange(len(records)), rng.randrange(len(records))
        if rng.random() < 0.5:
            records[a], records[b] = records[b], records[a]
        else:
            records.insert(a, list(records[b]))        # repeated date
    return records


def noise_history(rng, vols):
    years = [-1, 0, 1, 1899, 1900, 1901, 1979, 1980, 1981, 1999, 2000, 2003,
             2004, 2005, 2030, 9999, 10000, 100000]
    months = [-100, -1, 0, 0, 13, 13, 14, 15, 20, 100, 1000] + list(range(1, 13)) * 2
    days = [-1000, -30, -7, -6, -1, 0, 32, 35, 60, 1000] + list(range(1, 32)) * 2
    n = rng.randint(1, 40)
    base = rng.choice(years + [rng.randint(1970, 2040)] * 6)
    records = []
    for _ in range(n):
        if rng.random() < 0.5:
            year = base + rng.randint(-1, 1)
        else:
            year = rng.choice(years + [rng.randint(1970, 2040)] * 4)
        records.append([year, rng.choice(months), rng.choice(days),
                        pick_seconds(rng, True), vols.draw(), vols.draw()])
    if records and rng.random() < 0.3:
        # A run of equal dates, adjacent.
        i = rng.randrange(len(records))
        for _ in range(rng.randint(1, 3)):
            dup = list(records[i])
            dup[3:] = [pick_seconds(rng, True), vols.draw(), vols.draw()]
            records.insert(i + 1, dup)
    return records


def pick_today(rng, dates):
    if dates and rng.random() < 0.75:
        anchor = rng.choice([dates[-1], dates[-1], rng.choice(dates)])
        offset = rng.choice([0, 0, 1, -1, rng.randint(-60, 60),
                             rng.randint(0, 4000)])
        try:
            t = anchor + datetime.timedelta(days=offset)
        except OverflowError:
            t = anchor
    else:
        t = datetime.date(rng.randint(1979, 2035), rng.randint(1, 12),
                          rng.randint(1, 28))
    return (t.year, t.month, t.day)


def pick_start_day(rng):
    r = rng.random()
    if r < 0.3:
        return 1
    if r < 0.5:
        return rng.choice([10, 15, 20, 28, 29, 30, 31])
    return rng.randint(-1, 35)


def make_case(seed, index):
    rng = random.Random("%s/%d" % (seed, index))
    kind = rng.choices(["empty", "plausible", "damaged", "noise"],
                       weights=[3, 42, 30, 25])[0]
    vols = Volumes(rng, allow_weird=(kind != "plausible"))
    records, dates = [], []
    if kind == "plausible":
        records, dates = plausible_history(rng, vols)
    elif kind == "damaged":
        records, dates = plausible_history(rng, vols)
        records = damage(rng, records, vols)
    elif kind == "noise":
        records = noise_history(rng, vols)
        dates = []
        for y, mo, d, _, _, _ in records:
            if 1 <= y <= 9999 and 1 <= mo <= 12 and 1 <= d <= 28:
                dates.append(datetime.date(y, mo, d))

    data = b"".join(RECORD.pack(*r) for r in records)
    if kind == "empty" or rng.random() < 0.15:
        data += bytes(rng.randrange(256) for _ in range(rng.randint(0, 31)))

    case = {
        "index": index,
        "kind": kind,
        "data": data,
        "today": pick_today(rng, dates),
        "start_day": pick_start_day(rng),
        "bits": rng.random() < 0.3,
        "lang": rng.choice([-1, 0, 0, 1, 1, 7]),
        "records": rng.random() < 0.1,
        "csv": None,
        "report": None,
    }
    if not case["records"]:
        r = rng.random()
        if r < 0.2:
            case["csv"] = pick_row(rng, case, [0, 1, 2])
        elif r < 0.4:
            case["report"] = pick_row(rng, case, [1, 2])
    return case


def pick_row(rng, case, levels):
    """(level, text) of a row of the case's tree, now and then of none. A
    report's row names a month of the calendar in the years 1900..2100."""
    level = rng.choice(levels)
    rows, _ = histdump_model.build_summary(
        histdump_model.parse_records(case["data"]), case["today"], case["start_day"],
        case["bits"], case["lang"])
    key = 5 if level == 1 else 2
    texts = [row[key] for row in rows if row[0] == level]
    if case["csv"] is None and level != 0:
        # The report reads its month from the text: keep to dates of the calendar.
        texts = [t for t in texts if t != "Sum" and reportable(t, level, case["lang"])]
    if texts and rng.random() < 0.9:
        return level, rng.choice(texts)
    y, m, d = rng.randint(1990, 2030), rng.randint(1, 12), rng.randint(1, 28)
    if level == 0:
        return level, "%d" % y
    if level == 1:
        return level, "%02d/%d" % (m, y)
    return level, histdump_model.date_text((y, m, d), case["lang"])


def reportable(text, level, lang):
    if level == 1:
        fields = text.split("/")
    else:
        fields = text.split("." if lang <= 0 else "/")
        if lang > 0:
            fields = [fields[1], fields[0], fields[2]] if len(fields) == 3 else fields
        fields = fields[1:] if len(fields) == 3 else []
    if len(fields) != 2 or not all(f.isdigit() for f in fields) or len(fields[0]) != 2 or len(fields[1]) != 4:
        return False
    if level == 2 and not text.replace(".", "").replace("/", "").isdigit():
        return False
    return 1 <= int(fields[0]) <= 12 and 1900 <= int(fields[1]) <= 2100


# ---------------------------------------------------------------------------
# Running and reporting
# ---------------------------------------------------------------------------

def case_args(case, file_name):
    y, m, d = case["today"]
    args = ["--today", "%04d-%02d-%02d" % (y, m, d),
            "--start-day", str(case["start_day"]), "--lang", str(case["lang"])]
    if case["bits"]:
        args.append("--bits")
    if case["records"]:
        args.append("--records")
    if case["csv"] is not None:
        args += ["--csv", str(case["csv"][0]), case["csv"][1]]
    if case["report"] is not None:
        args += ["--report", str(case["report"][0]), case["report"][1]]
    return args + [file_name]


def expected_output(case):
    return histdump_model.render(case["data"], case["today"], case["start_day"],
                                 case["bits"], case["lang"], case["records"],
                                 case["csv"], case["report"])


def dump_case(case, out):
    data = case["data"]
    out.write("case %d (%s): histdump %s\n" % (
        case["index"], case["kind"], " ".join(case_args(case, "FILE"))))
    count = len(data) // 32
    out.write("  %d bytes, %d records\n" % (len(data), count))
    for i in range(count):
        chunk = data[32 * i:32 * i + 32]
        y, mo, d, s, down, up = RECORD.unpack(chunk)
        out.write("  #%-4d %6d %5d %5d %11d %-24s %-24s %s\n" % (
            i, y, mo, d, s, fmt_g(down), fmt_g(up), chunk.hex()))
    if len(data) % 32:
        out.write("  fragment: %s\n" % data[32 * count:].hex())


def show_lines(raw):
    """Output lines with visible TABs; a missing final newline shows up as an
    extra last line."""
    lines = raw.decode("latin-1").split("\n")
    if lines[-1] == "":
        lines.pop()
    else:
        lines[-1] += "  [no newline at end]"
    return [l.replace("\t", "\\t") for l in lines]


def report_mismatch(case, expected, got, rc, stderr, out, max_diff_lines=60):
    out.write("=" * 72 + "\n")
    dump_case(case, out)
    if rc != 0:
        out.write("  exit status %d; stderr: %s\n" % (
            rc, stderr.decode("latin-1", "replace").strip()))
    exp_lines, got_lines = show_lines(expected), show_lines(got)
    first = next((i for i, (a, b) in enumerate(zip(exp_lines, got_lines))
                  if a != b), min(len(exp_lines), len(got_lines)))
    out.write("  first difference at output line %d\n" % (first + 1))
    diff = list(difflib.unified_diff(exp_lines, got_lines, "model", "histdump",
                                     n=2, lineterm=""))
    for line in diff[:max_diff_lines]:
        out.write("  " + line + "\n")
    if len(diff) > max_diff_lines:
        out.write("  ... (%d more diff lines)\n" % (len(diff) - max_diff_lines))


def run_case(command, case, workdir, timeout):
    path = os.path.join(workdir, "case.hst")
    with open(path, "wb") as f:
        f.write(case["data"])
    proc = subprocess.run(command + case_args(case, "case.hst"), cwd=workdir,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=timeout)
    return proc.returncode, proc.stdout, proc.stderr


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--histdump", required=True, help="path of the histdump binary")
    parser.add_argument("--count", type=int, default=400)
    parser.add_argument("--seed", default="1")
    parser.add_argument("--runner", default="",
                        help='command put in front of histdump, e.g. "wine"')
    parser.add_argument("--show", type=int, default=3,
                        help="print details of at most this many failing cases")
    parser.add_argument("--keep", help="copy the files of failing cases here")
    parser.add_argument("--only", type=int, help="run only the case with this index")
    parser.add_argument("--timeout", type=float, default=30.0)
    parser.add_argument("--encoding", default="utf-8",
                        help="of histdump's texts: utf-8 natively, cp1252 for the Windows build")
    args = parser.parse_args(argv)

    command = shlex.split(args.runner) + [os.path.abspath(args.histdump)]
    indices = [args.only] if args.only is not None else range(args.count)
    passed = failed = 0
    workdir = tempfile.mkdtemp(prefix="histdump_diff.")
    try:
        for index in indices:
            case = make_case(args.seed, index)
            expected = expected_output(case)
            try:
                rc, got, stderr = run_case(command, case, workdir, args.timeout)
            except subprocess.TimeoutExpired:
                rc, got, stderr = -1, b"", b"timed out"
            # The model speaks the viewer's 8-bit code page; histdump writes the same texts in
            # its own encoding.
            if rc == 0 and got.decode(args.encoding, "replace") == expected.decode("latin-1"):
                passed += 1
                continue
            failed += 1
            if failed <= args.show:
                report_mismatch(case, expected, got, rc, stderr, sys.stdout)
            if args.keep:
                os.makedirs(args.keep, exist_ok=True)
                name = os.path.join(args.keep, "case%d.hst" % index)
                with open(name, "wb") as f:
                    f.write(case["data"])
                with open(name + ".args", "w") as f:
                    f.write(" ".join(case_args(case, name)) + "\n")
    finally:
        shutil.rmtree(workdir, ignore_errors=True)

    print("histdump model: %d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
