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


def accounting_start_day(month, year, start_day):
    """The day on which the accounting month named after `month` begins: the
    start day, at least 1 and at most the month's last day.  A start day above
    31 begins no month within a year and is returned as it is."""
    if start_day > 31:
        return start_day
    day = max(start_day, 1)
    days = days_in_month(month, year)
    return min(day, days) if days > 0 else day


# More than a line of 100 Gbit/s carries in a day, in bytes.
MAX_DAY_BYTES = 1030000000.0 * 1048576.0


def is_possible_volume(v):
    """A finite number of bytes from 0 to a day's maximum."""
    return math.isfinite(v) and 0 <= v <= MAX_DAY_BYTES


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

def build_summary(records, today, start_day, bits=False, lang=0, details=None):
    """Rows of the history tree and the position of the last year row.

    Each row is (level, image, text, col1, col2, col3, col4) with None for an
    unset column.  Where `details` is a list, it receives one entry per row:
    for a day row a dict of its date, the sums of its possible downloads and
    uploads, whether it has any of either, and its seconds; None otherwise.
    """
    rows = []
    if details is None:
        details = []

    def count(detail, down, up, secs):
        if is_possible_volume(down):
            detail["down"] += down
            detail["any_down"] = True
        if is_possible_volume(up):
            detail["up"] += up
            detail["any_up"] = True
        detail["secs"] += secs

    def append(row, detail=None):
        rows.append(row)
        details.append(detail)

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
            count(details[index], r_down, r_up, secs)
            last_day = (date, index, down, up, day_secs)
        else:
            if year > last_year[0]:
                if month_down != 0 and month_up != 0:
                    append(sum_row())
                append((0, 0, "%d" % year, None, None, None, None))
                month_down = 0.0
                month_up = 0.0
                last_year = date
                year_just_opened = True
                last_year_pos = len(rows) - 1

            if ((month != last_month[1] or year != last_month[0])
                    and (r_day >= accounting_start_day(month, year, start_day)
                         or year_just_opened)):
                if month_down != 0 and month_up != 0:
                    append(sum_row())
                append((1, 1, month_name(month, lang), None, None,
                        "%s/%d" % (c_int(month, 0, 2), year), None))
                month_down = 0.0
                month_up = 0.0
                month_secs = 0.0
                last_month = date
                year_just_opened = False

            image = 2 if day_of_week(date) == 1 else 3
            detail = {"date": date, "down": 0.0, "up": 0.0, "any_down": False,
                      "any_up": False, "secs": 0}
            count(detail, r_down, r_up, secs)
            append(day_row(date, image, r_down, r_up, secs), detail)
            last_day = (date, len(rows) - 1, r_down, r_up, secs)

        # Only possible volumes count, each on its own; seconds as shown.
        if is_possible_volume(r_down):
            month_down = month_down + r_down
        if is_possible_volume(r_up):
            month_up = month_up + r_up
        month_secs = month_secs + secs

    if records and month_down != 0 and month_up != 0:
        append(sum_row())
    return rows, last_year_pos


# ---------------------------------------------------------------------------
# CSV file of a row
# ---------------------------------------------------------------------------

CSV_CAPTIONS = {
    True: ["Datum", "Download (Bytes)", "Upload (Bytes)", "Summe (Bytes)", "Onlinezeit (s)"],
    False: ["Date", "Download (bytes)", "Upload (bytes)", "Total (bytes)", "Online time (s)"],
}


def whole_bytes(v):
    """A non-negative finite byte count rounded to a whole number, halves up."""
    floor = math.floor(v)
    whole = floor + 1 if v - floor >= 0.5 else floor
    return "%d" % whole


def render_csv(records, today, start_day, lang, level, text):
    """The viewer's CSV file of the first row of `level` whose key text is
    `text` (a month row's period label, else the row's text): the day rows
    under it, or, for a day or sum row, those of the row it hangs under."""
    details = []
    rows, _ = build_summary(records, today, start_day, False, lang, details)
    separator = ";" if lang <= 0 else ","
    out = [separator.join(CSV_CAPTIONS[lang == 0]) + "\r\n"]
    key = 5 if level == 1 else 2
    clicked = next((i for i, r in enumerate(rows) if r[0] == level and r[key] == text), None)
    if clicked is None:
        return "".join(out)
    if level == 2:
        begin = clicked
        while begin > 0 and rows[begin - 1][0] == 2:
            begin -= 1
        stop = rows[begin - 1][0] if begin > 0 else 1
    else:
        begin, stop = clicked + 1, level
    i = begin
    while i < len(rows) and rows[i][0] > stop:
        d = details[i]
        if d is not None:
            down = whole_bytes(d["down"]) if d["any_down"] else ""
            up = whole_bytes(d["up"]) if d["any_up"] else ""
            both = ""
            if d["any_down"] or d["any_up"]:
                # The sum of the two rounded doubles, as a double.
                both = whole_bytes(float(int(down) if down else 0) + float(int(up) if up else 0))
            y, mo, day = d["date"]
            date = "%s-%s-%s" % (c_zero_pad(y, 4), c_zero_pad(mo, 2), c_zero_pad(day, 2))
            out.append(separator.join([date, down, up, both, "%d" % d["secs"]]) + "\r\n")
        i += 1
    return "".join(out)


# ---------------------------------------------------------------------------
# Spreadsheet report of a row
# ---------------------------------------------------------------------------

REPORT_CAPTIONS = {
    True: ["Zeitraum", "Download", "Upload", "Up&Download", "Onlinezeit"],
    False: ["Date", "Download", "Upload", "Up&Download", "Onlinetime"],
}


def accounting_month(month, year, start_day):
    """(first, last) of the accounting month named after `month` of `year`
    (1..12, a year of the calendar module): from its start day to the day
    before the next one begins.  January begins with its year and December
    ends with it; above 31 the months are calendar months."""
    def begins(m):
        if m == 1:
            return datetime.date(year, 1, 1)
        day = 1 if start_day > 31 else accounting_start_day(m, year, start_day)
        return datetime.date(year, m, day)
    first = begins(month)
    last = (datetime.date(year, 12, 31) if month == 12
            else begins(month + 1) - datetime.timedelta(days=1))
    return first, last


def leading_number(text):
    """A text's leading decimal number as strtol reads it, 0 without one."""
    t = text.lstrip(" \t\n\v\f\r")
    sign = 1
    if t[:1] in ("+", "-"):
        sign = -1 if t[0] == "-" else 1
        t = t[1:]
    digits = ""
    for ch in t:
        if not ch.isdigit():
            break
        digits += ch
    return sign * int(digits) if digits else 0


def report_period(level, text, start_day, lang):
    """(first, last, F1 label) of the report of a month row (its period label)
    or of a day row (its label in the language's date style)."""
    if level == 1:
        month, year = leading_number(text[0:2]), leading_number(text[3:7])
        year, month = set_month_normalized(year, month)
        first, last = accounting_month(month, year, start_day)
        return first, last, text
    separator = "." if lang <= 0 else "/"
    digits = text.replace(separator, "")
    a, b, year = (leading_number(digits[0:2]), leading_number(digits[2:4]),
                  leading_number(digits[4:8]))
    day, month = (a, b) if lang <= 0 else (b, a)
    year, month = set_month_normalized(year, month)
    # A day the month has not (31 April) is the day as many days after its 1st.
    date = datetime.date(year, month, 1) + datetime.timedelta(days=day - 1)
    named = month
    if month > 1 and date < accounting_month(month, year, start_day)[0]:
        named = month - 1
    first, last = accounting_month(named, year, start_day)
    return first, last, "%02d/%d" % (named, year)


def render_report(records, start_day, bits, lang, level, text):
    """The written cells of the report, row by row, as "CELL<TAB>text"."""
    first, last, label = report_period(level, text, start_day, lang)
    start = (first.year, first.month, first.day)
    end = (last.year, last.month, last.day)
    captions = REPORT_CAPTIONS[lang == 0]
    cells = ["A1\tLumetra Report", "F1\t" + label, "A3\t"]
    cells += ["%s3\t%s" % (c, t) for c, t in zip("BCDEF", captions)]
    down_total = up_total = 0.0
    secs_total = 0
    row = 3
    for (r_year, r_month, r_day, r_secs, r_down, r_up) in records:
        year, month = set_month_normalized(r_year, r_month)
        date = (year, month, r_day)
        if not start <= date <= end:
            continue
        secs = 0 if (r_secs < 0 or r_secs > 86400) else r_secs
        if is_possible_volume(r_down):
            down_total += r_down
        if is_possible_volume(r_up):
            up_total += r_up
        secs_total += secs
        row += 1
        cells += ["B%d\t%s" % (row, date_text(date, lang)),
                  "C%d\t%s" % (row, format_volume(r_down, bits)),
                  "D%d\t%s" % (row, format_volume(r_up, bits)),
                  "E%d\t%s" % (row, format_volume(r_up + r_down, bits)),
                  "F%d\t%s" % (row, format_duration(secs))]
    if records and down_total != 0 and up_total != 0:
        row += 1
        cells += ["C%d\t%s" % (row, format_volume(down_total, bits)),
                  "D%d\t%s" % (row, format_volume(up_total, bits)),
                  "E%d\t%s" % (row, format_volume(up_total + down_total, bits)),
                  "F%d\t%s" % (row, format_duration(secs_total))]
    return "".join(cell + "\n" for cell in cells)


def render(data, today, start_day=1, bits=False, lang=0, records_mode=False,
           csv=None, report=None):
    """The bytes histdump prints for the history file contents `data`; `csv`
    and `report` are (level, text) of the row a file or report is made of."""
    records = parse_records(data)
    out = []
    if csv is not None:
        return render_csv(records, tuple(today), start_day, lang, *csv).encode("latin-1")
    if report is not None:
        return render_report(records, start_day, bits, lang, *report).encode("latin-1")
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
