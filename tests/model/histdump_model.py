#!/usr/bin/env python3
"""Reference model of the `histdump` tool, written independently of the C++ code.

`histdump` prints the history file either as the rows of the history tree
(one line per row: level, image, text, column 1..4, TAB-separated, followed by
an "expand N" line) or, with --records, as the raw day records.

The model works on bytes from end to end: the German month name "März" is the
single byte 0xE4 for the umlaut, as in the 8-bit code page the viewer uses.

Usage as a library:

    render(data, today=(2004, 6, 30), start_day=1, bits=False, lang=0,
           records_mode=False) -> bytes

Usage from the shell (same options as histdump):

    histdump_model.py [--today YYYY-MM-DD] [--start-day N] [--bits]
                      [--ini PATH] [--lang N] [--records] FILE
"""

import datetime
import math
import struct
import sys

RECORD_SIZE = 32
RECORD = struct.Struct("<iiiidd")

# Name tables, string IDs 108..114 (Saturday first) and 115..126 (January
# first).  The odd spellings are the texts the viewer really ships.
DAY_NAMES = {
    "de": ["Samstag", "Sonntag", "Montag", "Dienstag", "Mittwoch",
           "Donnerstag", "Freitag"],
    "en": ["Saturday", "Sunday", "Monday", "Tuesday", "Wensday",
           "Thursday", "Friday"],
}
MONTH_NAMES = {
    "de": ["Januar", "Februar", "M\u00e4rz", "April", "Mai", "Juni", "July",
           "August", "September", "Oktober", "November", "Dezember"],
    "en": ["January", "February", "March", "April", "May", "June", "July",
           "August", "September", "Oktober", "November", "December"],
}

# Initial value of the "last month/year row" dates: day -1, month -1,
# year 1980.  Dates below are tuples (year, month, day) so that tuple
# comparison is the year-month-day lexicographic order.
INITIAL_LAST = (1980, -1, -1)


# ---------------------------------------------------------------------------
# C printf emulation
# ---------------------------------------------------------------------------

def c_float(x, fmt):
    """printf-style formatting of a double as glibc prints it.

    Python's %-formatting agrees with glibc for finite values (both round
    correctly), but prints every NaN as "nan"; glibc prints "-nan" when the
    sign bit is set.
    """
    if math.isnan(x):
        return "-nan" if math.copysign(1.0, x) < 0 else "nan"
    if math.isinf(x):
        return "-inf" if x < 0 else "inf"
    return fmt % x


def c_int(value, width=0, precision=None):
    """C's "%<width>.<precision>d" for an int (sign counts toward the width,
    precision is the minimum number of digits)."""
    digits = str(abs(value))
    if precision is not None and len(digits) < precision:
        digits = "0" * (precision - len(digits)) + digits
    text = ("-" if value < 0 else "") + digits
    return text.rjust(width)


def c_zero_pad(value, width):
    """C's "%0<width>d": zeros go between the sign and the digits."""
    digits = str(abs(value))
    sign = "-" if value < 0 else ""
    return sign + digits.rjust(width - len(sign), "0")


def c_div(a, b):
    """C integer division (truncates toward zero)."""
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


def c_mod(a, b):
    """C integer remainder (takes the sign of the dividend)."""
    return a - b * c_div(a, b)


def c_trunc_to_int(x):
    """(int) of a double, for the values that occur (finite, in range)."""
    return int(x)


# ---------------------------------------------------------------------------
# Value formatting
# ---------------------------------------------------------------------------

def format_volume(byte_count, bits):
    """Volume text "<number> <prefix><unit>", e.g. "1.5 KB" or "12.3 kbits"."""
    if bits:
        v = byte_count * 8
        giga, mega, kilo, kilo_prefix, unit = 1000000000.0, 1000000.0, 1000.0, "k", "bits"
    else:
        v = byte_count
        giga, mega, kilo, kilo_prefix, unit = 1073741824.0, 1048576.0, 1024.0, "K", "B"
    # NaN compares false everywhere and so ends in the last case, as does
    # every negative value.
    if v >= giga:
        number, prefix = v / giga, "G"
    elif v >= mega:
        number, prefix = v / mega, "M"
    elif v >= kilo:
        number, prefix = v / kilo, kilo_prefix
    else:
        number, prefix = v * 0.001, "K"
    return "%s %s%s" % (c_float(number, "%.1f"), prefix, unit)


def format_duration(seconds):
    """"%3.2d:%2.2d:%2.2d" of hours, minutes, seconds with C int arithmetic."""
    hours = c_div(seconds, 3600)
    minutes = c_div(seconds, 60) - 60 * hours
    secs = c_mod(seconds, 60)
    return "%s:%s:%s" % (c_int(hours, 3, 2), c_int(minutes, 2, 2),
                         c_int(secs, 2, 2))


# ---------------------------------------------------------------------------
# Calendar
# ---------------------------------------------------------------------------

def is_leap_year(year):
    return (year % 4 == 0 and year % 100 != 0) or year % 400 == 0


def days_in_month(month, year):
    if month < 1 or month > 12:
        return -1
    if month == 2:
        return 29 if is_leap_year(year) else 28
    if month in (4, 6, 9, 11):
        return 30
    return 31


def _leap_years_up_to(n):
    """Number of leap years in 1..n (n >= 0)."""
    return n // 4 - n // 100 + n // 400


def day_of_week(date):
    """Index into the day names, 0 = Saturday .. 6 = Friday.

    Counted from 2 for 1 January 1900, only forward: years before 1900 get no
    year steps.  Months past 12 add DaysInMonth's -1 each.  The result is the
    mathematical remainder, always in 0..6.
    """
    year, month, day = date
    count = 2
    if year > 1900:
        span = year - 1900                       # years 1900 .. year-1
        leaps = _leap_years_up_to(year - 1) - _leap_years_up_to(1899)
        count += 365 * span + leaps
    if month > 1:
        regular = min(month - 1, 12)
        count += sum(days_in_month(m, year) for m in range(1, regular + 1))
        count -= (month - 1) - regular           # DaysInMonth(m > 12) == -1
    return (count + day - 1) % 7


def month_name(month, lang):
    if 1 <= month <= 12:
        return MONTH_NAMES[language_names(lang)][month - 1]
    return ""


def language_names(lang):
    return "de" if lang == 0 else "en"


def date_text(date, lang):
    """ToText of a date built field by field (never "Problem" here)."""
    year, month, day = date
    if lang >= 1:
        return "%s/%s/%d" % (c_zero_pad(month, 2), c_zero_pad(day, 2), year)
    return "%s.%s.%d" % (c_zero_pad(day, 2), c_zero_pad(month, 2), year)


def set_month_normalized(year, month):
    if month == 13:
        return year + 1, 1
    if month == 0:
        return year - 1, 12
    return year, month


# ---------------------------------------------------------------------------
# History file
# ---------------------------------------------------------------------------

def parse_records(data):
    """Day records of a history file; a trailing fragment is ignored."""
    count = len(data) // RECORD_SIZE
    return [RECORD.unpack_from(data, i * RECORD_SIZE) for i in range(count)]


# ---------------------------------------------------------------------------
# Summary
# ---------------------------------------------------------------------------

def build_summary(records, today, start_day, bits=False, lang=0):
    """Rows of the history tree and the position of the last year row.

    Each row is (level, image, text, col1, col2, col3, col4) with None for an
    unset column.
    """
    rows = []
    last_day = None        # (date, row index, download, upload, seconds) of the last day row
    last_month = INITIAL_LAST
    last_year = INITIAL_LAST
    month_down = 0.0
    month_up = 0.0
    month_secs = 0.0
    year_just_opened = False
    last_year_pos = 0

    def sum_row():
        return (2, 4, "Sum",
                format_volume(month_down, bits),
                format_volume(month_up, bits),
                format_volume(month_up + month_down, bits),
                format_duration(c_trunc_to_int(month_secs)))

    def day_row(date, image, down, up, secs):
        return (2, image, date_text(date, lang),
                format_volume(down, bits),
                format_volume(up, bits),
                format_volume(up + down, bits),
                format_duration(secs))

    for (r_year, r_month, r_day, r_secs, r_down, r_up) in records:
        year, month = set_month_normalized(r_year, r_month)
        date = (year, month, r_day)

        if date > today:
            continue
        secs = 0 if (r_secs < 0 or r_secs > 86400) else r_secs

        if last_day is not None and date == last_day[0]:
            # Another record of the day just shown: the row shows the sums.
            _, index, down, up, day_secs = last_day
            down, up, day_secs = down + r_down, up + r_up, day_secs + secs
            rows[index] = day_row(date, rows[index][1], down, up, day_secs)
            last_day = (date, index, down, up, day_secs)
        else:
            if year > last_year[0]:
                if month_down != 0 and month_up != 0:
                    rows.append(sum_row())
                rows.append((0, 0, "%d" % year, None, None, None, None))
                month_down = 0.0
                month_up = 0.0
                last_year = date
                year_just_opened = True
                last_year_pos = len(rows) - 1

            if ((month != last_month[1] or year != last_month[0])
                    and (r_day >= start_day or year_just_opened)):
                if month_down != 0 and month_up != 0:
                    rows.append(sum_row())
                rows.append((1, 1, month_name(month, lang), None, None,
                             "%s/%d" % (c_int(month, 0, 2), year), None))
                month_down = 0.0
                month_up = 0.0
                month_secs = 0.0
                last_month = date
                year_just_opened = False

            image = 2 if day_of_week(date) == 1 else 3
            rows.append(day_row(date, image, r_down, r_up, secs))
            last_day = (date, len(rows) - 1, r_down, r_up, secs)

        month_down = month_down + r_down
        month_up = month_up + r_up
        if 0 < secs < 86400:
            month_secs = month_secs + secs

    if records and month_down != 0 and month_up != 0:
        rows.append(sum_row())
    return rows, last_year_pos


def render(data, today, start_day=1, bits=False, lang=0, records_mode=False):
    """The bytes histdump prints for the history file contents `data`."""
    records = parse_records(data)
    out = []
    if records_mode:
        for (y, m, d, s, down, up) in records:
            out.append("%d\t%d\t%d\t%d\t%s\t%s\n" % (
                y, m, d, s, c_float(down, "%.17g"), c_float(up, "%.17g")))
    else:
        rows, expand = build_summary(records, tuple(today), start_day, bits, lang)
        for row in rows:
            out.append("\t".join("" if f is None else str(f) for f in row) + "\n")
        if records:
            out.append("expand %d\n" % expand)
    return "".join(out).encode("latin-1")


# ---------------------------------------------------------------------------
# Command line
# ---------------------------------------------------------------------------

def _read_ini(path):
    """The two settings the tool uses, read from section "Settings".

    Keys are matched case-insensitively; an integer value is read from its
    leading (optionally signed) decimal digits.  A rough stand-in for the
    platform's own reader, good enough for manual comparisons.
    """
    found = {}
    try:
        with open(path, "rb") as f:
            text = f.read().decode("latin-1")
    except OSError:
        return found
    section = None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and "]" in line:
            section = line[1:line.index("]")].strip().lower()
            continue
        if section != "settings" or "=" not in line:
            continue
        key, value = line.split("=", 1)
        key = key.strip().lower()
        if key not in ("displaybytes", "g_history_startdayofmonth") or key in found:
            continue
        value = value.strip()
        sign = 1
        if value.startswith(("+", "-")):
            sign = -1 if value[0] == "-" else 1
            value = value[1:]
        digits = ""
        for ch in value:
            if not ch.isdigit():
                break
            digits += ch
        found[key] = sign * int(digits) if digits else 0
    return found


def main(argv=None):
    import argparse

    parser = argparse.ArgumentParser(description="Reference model of histdump.")
    parser.add_argument("--today")
    parser.add_argument("--start-day", type=int)
    parser.add_argument("--bits", action="store_true")
    parser.add_argument("--ini")
    parser.add_argument("--lang", type=int, default=0)
    parser.add_argument("--records", action="store_true")
    parser.add_argument("file")
    args = parser.parse_args(argv)

    if args.today:
        try:
            t = datetime.date.fromisoformat(args.today)
        except ValueError:
            parser.error("bad --today: %s" % args.today)
        today = (t.year, t.month, t.day)
    else:
        t = datetime.date.today()
        today = (t.year, t.month, t.day)

    start_day, bits = 1, False
    if args.ini:
        settings = _read_ini(args.ini)
        if "displaybytes" in settings:
            bits = settings["displaybytes"] == 0
        if "g_history_startdayofmonth" in settings:
            start_day = settings["g_history_startdayofmonth"]
    if args.start_day is not None:
        start_day = args.start_day
    if args.bits:
        bits = True

    try:
        with open(args.file, "rb") as f:
            data = f.read()
    except OSError as exc:
        sys.stderr.write("histdump_model: cannot read %s: %s\n" % (args.file, exc))
        return 1
    sys.stdout.buffer.write(render(data, today, start_day, bits, args.lang,
                                   args.records))
    return 0


if __name__ == "__main__":
    sys.exit(main())
