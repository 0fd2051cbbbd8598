#!/usr/bin/env python3
"""Checks of the histdump reference model against the documented examples."""

import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import histdump_model as m  # noqa: E402

FAR_FUTURE = (2100, 1, 1)


def rec(y, mo, d, secs=3600, down=2048.0, up=1024.0):
    return struct.pack("<iiiidd", y, mo, d, secs, down, up)


def history(*records):
    return b"".join(rec(*r) if isinstance(r, tuple) else r for r in records)


def lines(data, today=FAR_FUTURE, start_day=1, bits=False, lang=0):
    out = m.render(data, today, start_day, bits, lang, False)
    return out.split(b"\n")[:-1]


def texts(data, **kw):
    """(level, image, text) of each row, plus the expand line."""
    result = []
    for line in lines(data, **kw):
        if line.startswith(b"expand "):
            result.append(line.decode("latin-1"))
        else:
            f = line.split(b"\t")
            result.append((int(f[0]), int(f[1]), f[2].decode("latin-1")))
    return result


class FormatVolumeTest(unittest.TestCase):
    def test_bytes_mode_steps(self):
        cases = [(1536, "1.5 KB"), (500, "0.5 KB"), (1048576, "1.0 MB"),
                 (1073741824, "1.0 GB"), (0, "0.0 KB")]
        for value, text in cases:
            with self.subTest(value=value):
                self.assertEqual(m.format_volume(float(value), False), text)

    def test_bits_mode_steps(self):
        cases = [(1536, "12.3 kbits"), (100, "0.8 Kbits"),
                 (125000000, "1.0 Gbits"), (0, "0.0 Kbits")]
        for value, text in cases:
            with self.subTest(value=value):
                self.assertEqual(m.format_volume(float(value), True), text)

    def test_values_outside_the_steps(self):
        # Negative values and NaN fail every comparison and take the
        # "times 0.001, prefix K" branch.
        self.assertEqual(m.format_volume(-2048.0, False), "-2.0 KB")
        self.assertEqual(m.format_volume(float("nan"), False), "nan KB")
        self.assertEqual(m.format_volume(-float("nan"), True), "-nan Kbits")
        self.assertEqual(m.format_volume(float("inf"), False), "inf GB")
        self.assertEqual(m.format_volume(-float("inf"), False), "-inf KB")
        self.assertEqual(m.format_volume(-0.0, False), "-0.0 KB")


class FormatDurationTest(unittest.TestCase):
    def test_examples(self):
        cases = [(3725, " 01:02:05"), (86400, " 24:00:00"), (0, " 00:00:00"),
                 (360000, "100:00:00")]
        for secs, text in cases:
            with self.subTest(secs=secs):
                self.assertEqual(m.format_duration(secs), text)

    def test_negative_follows_c_truncation(self):
        # -3725 s: hours -1, minutes -62 - (-60) = -2, seconds -3725 % 60 = -5;
        # the precision pads the digits, the sign comes on top.
        self.assertEqual(m.format_duration(-3725), "-01:-02:-05")


class CalendarTest(unittest.TestCase):
    def test_weekday_examples(self):
        self.assertEqual(m.day_of_week((2004, 5, 2)), 1)   # Sunday
        self.assertEqual(m.day_of_week((1900, 1, 1)), 2)   # Monday
        self.assertEqual(m.day_of_week((2004, 5, 7)), 6)   # Friday

    def test_weekday_of_damaged_dates_stays_in_range(self):
        # Days of 0 or below (damaged records) still give an index 0..6.
        self.assertEqual(m.day_of_week((2004, 5, 2 - 7 * 40)), 1)
        self.assertEqual(m.day_of_week((1899, 1, -5)), 3)
        self.assertEqual(m.day_of_week((1899, 1, 0)), 1)

    def test_weekday_matches_the_gregorian_calendar_from_1900(self):
        import datetime
        # Python: Monday 0 .. Sunday 6; here Saturday 0 .. Friday 6.
        day = datetime.date(1900, 1, 1)
        while day.year < 2101:
            expected = (day.weekday() + 2) % 7
            self.assertEqual(m.day_of_week((day.year, day.month, day.day)),
                             expected, day)
            day += datetime.timedelta(days=13)

    def test_days_in_month(self):
        self.assertEqual(m.days_in_month(2, 1900), 28)
        self.assertEqual(m.days_in_month(2, 2000), 29)
        self.assertEqual(m.days_in_month(13, 2004), -1)

    def test_date_text_styles(self):
        self.assertEqual(m.date_text((2004, 7, 5), 0), "05.07.2004")
        self.assertEqual(m.date_text((2004, 7, 5), 1), "07/05/2004")
        self.assertEqual(m.date_text((2004, 7, 5), -1), "05.07.2004")
        self.assertEqual(m.date_text((2004, 7, 5), 7), "07/05/2004")

    def test_month_normalisation(self):
        self.assertEqual(m.set_month_normalized(2003, 13), (2004, 1))
        self.assertEqual(m.set_month_normalized(2004, 0), (2003, 12))
        self.assertEqual(m.set_month_normalized(2004, 14), (2004, 14))


class RecordReadingTest(unittest.TestCase):
    def test_trailing_fragment_is_ignored(self):
        data = history((2004, 5, 1), (2004, 5, 2)) + b"\x01" * 6
        self.assertEqual(len(data), 70)
        self.assertEqual(len(m.parse_records(data)), 2)

    def test_records_mode(self):
        data = history((2004, 5, 1, 7, 0.1, -0.0)) + b"\x00" * 31
        self.assertEqual(m.render(data, FAR_FUTURE, records_mode=True),
                         b"2004\t5\t1\t7\t0.10000000000000001\t-0\n")


class SummaryTest(unittest.TestCase):
    def test_empty_file(self):
        self.assertEqual(m.render(b"", FAR_FUTURE), b"")
        self.assertEqual(m.render(b"\x00" * 31, FAR_FUTURE), b"")

    def test_only_future_records_still_expand(self):
        data = history((2004, 5, 1))
        self.assertEqual(m.render(data, (2004, 4, 30)), b"expand 0\n")

    def test_may_june_example(self):
        data = history((2004, 5, 1), (2004, 5, 2), (2004, 6, 1))
        self.assertEqual(texts(data), [
            (0, 0, "2004"), (1, 1, "Mai"), (2, 3, "01.05.2004"),
            (2, 2, "02.05.2004"), (2, 4, "Sum"), (1, 1, "Juni"),
            (2, 3, "01.06.2004"), (2, 4, "Sum"), "expand 0"])

    def test_full_lines_of_may_june_example(self):
        data = history((2004, 5, 1, 3600, 1536.0, 500.0),
                       (2004, 5, 2, 90000, 1048576.0, 0.0),
                       (2004, 6, 1, 86400, 1.0, 1.0))
        self.assertEqual(lines(data), [
            b"0\t0\t2004\t\t\t\t",
            b"1\t1\tMai\t\t\t05/2004\t",
            b"2\t3\t01.05.2004\t1.5 KB\t0.5 KB\t2.0 KB\t 01:00:00",
            # Seconds above 86400 show as 0 and are not summed.
            b"2\t2\t02.05.2004\t1.0 MB\t0.0 KB\t1.0 MB\t 00:00:00",
            b"2\t4\tSum\t1.0 MB\t0.5 KB\t1.0 MB\t 01:00:00",
            b"1\t1\tJuni\t\t\t06/2004\t",
            # A full day online is shown and counted.
            b"2\t3\t01.06.2004\t0.0 KB\t0.0 KB\t0.0 KB\t 24:00:00",
            b"2\t4\tSum\t0.0 KB\t0.0 KB\t0.0 KB\t 24:00:00",
            b"expand 0"])

    def test_english_slashed_names(self):
        data = history((2004, 3, 2))
        self.assertEqual(lines(data, lang=1)[1:3], [
            b"1\t1\tMarch\t\t\t03/2004\t",
            b"2\t3\t03/02/2004\t2.0 KB\t1.0 KB\t3.0 KB\t 01:00:00"])
        self.assertEqual(lines(data, lang=0)[1], b"1\t1\tM\xe4rz\t\t\t03/2004\t")
        self.assertEqual(texts(data, lang=-1)[1:3],
                         [(1, 1, "March"), (2, 3, "02.03.2004")])

    def test_adjacent_records_of_a_day_make_one_row(self):
        data = history((2004, 5, 3, 10, 1024.0, 1024.0),
                       (2004, 5, 3, 90000, 4096.0, 4096.0),
                       (2004, 5, 3, 86400, 0.0, 0.0),
                       (2004, 5, 4, 30, 1024.0, 1024.0),
                       (2004, 5, 3, 40, 1024.0, 1024.0))
        out = lines(data)
        self.assertEqual(out[2:-1], [
            # 10 + 0 (above a day) + 86400 seconds, shown as they are.
            b"2\t3\t03.05.2004\t5.0 KB\t5.0 KB\t10.0 KB\t 24:00:10",
            b"2\t3\t04.05.2004\t1.0 KB\t1.0 KB\t2.0 KB\t 00:00:30",
            b"2\t3\t03.05.2004\t1.0 KB\t1.0 KB\t2.0 KB\t 00:00:40",
            b"2\t4\tSum\t7.0 KB\t7.0 KB\t14.0 KB\t 24:01:20"])

    def test_start_day_10(self):
        data = history((2004, 5, 12), (2004, 6, 3), (2004, 6, 11))
        self.assertEqual(texts(data, start_day=10), [
            (0, 0, "2004"), (1, 1, "Mai"), (2, 3, "12.05.2004"),
            (2, 3, "03.06.2004"), (2, 4, "Sum"), (1, 1, "Juni"),
            (2, 3, "11.06.2004"), (2, 4, "Sum"), "expand 0"])

    def test_start_day_15(self):
        data = history((2004, 5, 20), (2004, 6, 10), (2004, 7, 5), (2004, 7, 20))
        self.assertEqual(texts(data, start_day=15), [
            (0, 0, "2004"), (1, 1, "Mai"), (2, 3, "20.05.2004"),
            (2, 3, "10.06.2004"), (2, 3, "05.07.2004"), (2, 4, "Sum"),
            (1, 1, "July"), (2, 3, "20.07.2004"), (2, 4, "Sum"), "expand 0"])

    def test_year_change_closes_the_month(self):
        data = history((2003, 12, 30), (2004, 1, 2))
        self.assertEqual(texts(data), [
            (0, 0, "2003"), (1, 1, "Dezember"), (2, 3, "30.12.2003"),
            (2, 4, "Sum"), (0, 0, "2004"), (1, 1, "Januar"),
            (2, 3, "02.01.2004"), (2, 4, "Sum"), "expand 4"])

    def test_month_13_moves_into_next_year(self):
        data = history((2003, 12, 30), (2003, 13, 2))
        self.assertEqual(texts(data)[4:7], [
            (0, 0, "2004"), (1, 1, "Januar"), (2, 3, "02.01.2004")])

    def test_start_day_outside_the_month(self):
        data = history((2004, 5, 12), (2004, 6, 3), (2004, 7, 31))
        self.assertEqual([t for t in texts(data, start_day=32) if t[0] == 1],
                         [(1, 1, "Mai")])
        self.assertEqual(texts(data, start_day=0), texts(data, start_day=1))
        self.assertEqual(texts(data, start_day=-1), texts(data, start_day=1))

    def test_start_days_past_a_months_end_begin_it_on_its_last_day(self):
        # Every day of a leap and of a common year: each of the twelve months
        # gets its row, February on its last day, January with its year.
        def first_days(year, start_day):
            data = history(*[(year, mo, d) for mo in range(1, 13)
                             for d in range(1, m.days_in_month(mo, year) + 1)])
            rows = texts(data, start_day=start_day)
            return [rows[i + 1][2] for i in range(len(rows) - 1)
                    if isinstance(rows[i], tuple) and rows[i][0] == 1]
        for year, start_day, february, march in [
                (2024, 31, "29.02.2024", "31.03.2024"),
                (2023, 31, "28.02.2023", "31.03.2023"),
                (2024, 30, "29.02.2024", "30.03.2024"),
                (2023, 30, "28.02.2023", "30.03.2023"),
                (2024, 29, "29.02.2024", "29.03.2024"),
                (2023, 29, "28.02.2023", "29.03.2023")]:
            with self.subTest(year=year, start_day=start_day):
                days = first_days(year, start_day)
                self.assertEqual(len(days), 12)
                self.assertEqual(days[:3], ["01.01.%d" % year, february, march])
                self.assertEqual(days[3], "30.04.%d" % year if start_day >= 30
                                 else "29.04.%d" % year)

    def test_impossible_volumes_are_shown_but_not_summed(self):
        nan, inf = float("nan"), float("inf")
        data = history((2025, 3, 1, 60, 1048576.0, 1024.0),
                       (2025, 3, 2, 60, nan, 2048.0),
                       (2025, 3, 3, 60, inf, -inf),
                       (2025, 3, 4, 60, -1024.0, 1e300),
                       (2025, 3, 5, 60, 5e-324, 1024.0),
                       (2025, 4, 1, 60, nan, 1024.0))
        out = lines(data)
        self.assertEqual(out[3], b"2\t2\t02.03.2025\tnan KB\t2.0 KB\tnan KB\t 00:01:00")
        self.assertTrue(out[4].startswith(b"2\t3\t03.03.2025\tinf GB\t-inf KB\t"))
        self.assertTrue(out[5].startswith(b"2\t3\t04.03.2025\t-1.0 KB\t9313225746"))
        self.assertEqual(out[6], b"2\t3\t05.03.2025\t0.0 KB\t1.0 KB\t1.0 KB\t 00:01:00")
        # The month's Sum: only the possible volumes, each on its own.
        self.assertEqual(out[7], b"2\t4\tSum\t1.0 MB\t4.0 KB\t1.0 MB\t 00:05:00")
        # April has no possible download: no Sum row.
        self.assertEqual(out[8:], [b"1\t1\tApril\t\t\t04/2025\t",
                                   b"2\t3\t01.04.2025\tnan KB\t1.0 KB\tnan KB\t 00:01:00",
                                   b"expand 0"])
        self.assertTrue(m.is_possible_volume(m.MAX_DAY_BYTES))
        self.assertFalse(m.is_possible_volume(m.MAX_DAY_BYTES * (1 + 2 ** -52)))
        self.assertTrue(m.is_possible_volume(-0.0))

    def test_zero_total_month_has_no_sum(self):
        data = history((2004, 5, 1, 0, 1024.0, 0.0), (2004, 6, 1))
        self.assertEqual([t[2] for t in texts(data)[:-1]],
                         ["2004", "Mai", "01.05.2004", "Juni", "01.06.2004", "Sum"])

    def test_same_month_of_the_next_year_is_a_month_of_its_own(self):
        data = history((2003, 5, 20), (2004, 5, 1), (2004, 5, 21))
        for start_day in (1, 15):
            self.assertEqual(texts(data, start_day=start_day), [
                (0, 0, "2003"), (1, 1, "Mai"), (2, 3, "20.05.2003"),
                (2, 4, "Sum"), (0, 0, "2004"), (1, 1, "Mai"),
                (2, 3, "01.05.2004"), (2, 3, "21.05.2004"), (2, 4, "Sum"),
                "expand 4"])
        self.assertEqual(lines(data)[5], b"1\t1\tMai\t\t\t05/2004\t")

    def test_years_up_to_1980_open_no_year_row(self):
        data = history((1899, 5, 5), (1980, 6, 1), (1981, 1, 1))
        self.assertEqual(texts(data), [
            (1, 1, "Mai"), (2, 3, "05.05.1899"), (2, 4, "Sum"),
            (1, 1, "Juni"), (2, 2, "01.06.1980"),   # a Sunday
            (2, 4, "Sum"), (0, 0, "1981"), (1, 1, "Januar"),
            (2, 3, "01.01.1981"), (2, 4, "Sum"), "expand 6"])

    def test_future_records_are_skipped(self):
        data = history((2004, 5, 1), (2004, 5, 3), (2004, 5, 2))
        self.assertEqual([t[2] for t in texts(data, today=(2004, 5, 2))[:-1]],
                         ["2004", "Mai", "01.05.2004", "02.05.2004", "Sum"])


class CsvAndReportTest(unittest.TestCase):
    def test_csv_counts_a_full_day_and_only_possible_volumes(self):
        data = history((2025, 3, 1, 86400, 1536.4, 512.5),
                       (2025, 3, 2, 60, float("nan"), 1024.0),
                       (2025, 3, 3, 60, float("inf"), -1.0),
                       (2025, 3, 3, 90000, 5e-324, 1e300))
        out = m.render(data, FAR_FUTURE, lang=1, csv=(1, "03/2025"))
        self.assertEqual(out.split(b"\r\n"), [
            b"Date,Download (bytes),Upload (bytes),Total (bytes),Online time (s)",
            b"2025-03-01,1536,513,2049,86400",
            b"2025-03-02,,1024,1024,60",
            # Two records: the denormal download counts, nothing of the upload.
            b"2025-03-03,0,,0,60",
            b""])

    def test_report_periods_with_late_start_days(self):
        def period(level, text, start_day, lang=0):
            first, last, label = m.report_period(level, text, start_day, lang)
            return str(first), str(last), label
        cases = [
            ((1, "02/2024", 31), ("2024-02-29", "2024-03-30", "02/2024")),
            ((1, "02/2023", 31), ("2023-02-28", "2023-03-30", "02/2023")),
            ((1, "02/2024", 30), ("2024-02-29", "2024-03-29", "02/2024")),
            ((1, "02/2023", 29), ("2023-02-28", "2023-03-28", "02/2023")),
            ((1, "01/2024", 15), ("2024-01-01", "2024-02-14", "01/2024")),
            ((1, "12/2024", 15), ("2024-12-15", "2024-12-31", "12/2024")),
            ((1, "03/2024", 40), ("2024-03-01", "2024-03-31", "03/2024")),
            ((2, "15.03.2023", 31), ("2023-02-28", "2023-03-30", "02/2023")),
            ((2, "29.02.2024", 30), ("2024-02-29", "2024-03-29", "02/2024")),
            ((2, "28.02.2024", 30), ("2024-01-01", "2024-02-28", "01/2024")),
        ]
        for args, expected in cases:
            with self.subTest(args=args):
                self.assertEqual(period(*args), expected)
        self.assertEqual(period(2, "03/15/2023", 31, 1), ("2023-02-28", "2023-03-30", "02/2023"))

    def test_report_lines_as_stored_and_totals_of_possible_volumes(self):
        data = history((2025, 3, 1, 86400, 1048576.0, 2048.0),
                       (2025, 3, 2, 60, float("nan"), 1024.0),
                       (2025, 3, 3, 60, -5.0, 1e300))
        cells = m.render(data, FAR_FUTURE, report=(1, "03/2025")).split(b"\n")
        self.assertIn(b"C5\tnan KB", cells)
        self.assertIn(b"C6\t-0.0 KB", cells)
        self.assertEqual(cells[-5:], [b"C7\t1.0 MB", b"D7\t3.0 KB", b"E7\t1.0 MB",
                                      b"F7\t 24:02:00", b""])


if __name__ == "__main__":
    unittest.main()
