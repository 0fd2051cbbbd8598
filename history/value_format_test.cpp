#include "value_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

#include "calendar_date.h"
#include "language.h"
#include "settings_store.h"

namespace history {
namespace {

struct VolumeCase {
    double bytes;
    bool bytesMode;
    const char* text;
};

TEST(FormatVolumeTest, StepsPrefixesAndUnitsOfBothModes) {
    const VolumeCase cases[] = {
        {1536, true, "1.5 KB"},
        {500, true, "0.5 KB"},  // below the kilo step: divided by 1000, not 1024
        {1023, true, "1.0 KB"},
        {1024, true, "1.0 KB"},
        {1048576, true, "1.0 MB"},
        {1048575, true, "1024.0 KB"},
        {1073741824, true, "1.0 GB"},
        {5.5 * 1073741824, true, "5.5 GB"},
        {0, true, "0.0 KB"},
        {1536, false, "12.3 kbits"},
        {100, false, "0.8 Kbits"},  // capital K below the kilo step
        {125000000, false, "1.0 Gbits"},
        {125000, false, "1.0 Mbits"},
        {125, false, "1.0 kbits"},
        {0, false, "0.0 Kbits"},
        {-2048, true, "-2.0 KB"},  // negative volumes fall through to the last case
        {1.1e12 * 1073741824, true, "1100000000000.0 GB"},
    };
    for (const VolumeCase& c : cases) {
        EXPECT_EQ(FormatVolume(c.bytes, false, c.bytesMode), c.text) << c.bytes << (c.bytesMode ? " B" : " bits");
    }
    EXPECT_EQ(FormatVolume(1536, true, true), "1.5 KB/s");
    EXPECT_EQ(FormatVolume(1536, true, false), "12.3 kbits/s");
}

TEST(FormatVolumeTest, RoundsHalfwayValuesTheSameEverywhere) {
    // 1.25 and 0.05 * 1000: the C99 printf rounds the exact binary value.
    EXPECT_EQ(FormatVolume(1.25 * 1048576, false, true), "1.2 MB");
    EXPECT_EQ(FormatVolume(1.75 * 1048576, false, true), "1.8 MB");
    EXPECT_EQ(FormatVolume(250, false, true), "0.2 KB");
}

TEST(FormatVolumeTest, HugeAndNonFiniteValuesAreSpelledOut) {
    const double huge = std::numeric_limits<double>::max();
    const std::string text = FormatVolume(huge, false, true);
    EXPECT_EQ(text.substr(text.size() - 5), ".0 GB");
    EXPECT_GT(text.size(), 300u);
    EXPECT_EQ(FormatVolume(std::numeric_limits<double>::infinity(), false, true), "inf GB");
    EXPECT_EQ(FormatVolume(-std::numeric_limits<double>::infinity(), false, true), "-inf KB");
    EXPECT_EQ(FormatVolume(std::nan(""), false, true), "nan KB");
    EXPECT_EQ(FormatVolume(-std::nan(""), false, false), "-nan Kbits");
}

TEST(FormatVolumeTest, ModeComesFromTheCurrentSettings) {
    MonitorSettings settings;
    SetCurrentSettings(settings);
    EXPECT_EQ(FormatVolume(1536, false), "1.5 KB");
    settings.DisplayBytes = 0;
    SetCurrentSettings(settings);
    EXPECT_EQ(FormatVolume(1536, false), "12.3 kbits");
    settings.DisplayBytes = -3;
    SetCurrentSettings(settings);
    EXPECT_EQ(FormatVolume(1536, false), "1.5 KB");
    SetCurrentSettings(MonitorSettings());
}

TEST(FormatDurationTest, HoursMinutesSeconds) {
    EXPECT_EQ(FormatDuration(3725), " 01:02:05");
    EXPECT_EQ(FormatDuration(86400), " 24:00:00");
    EXPECT_EQ(FormatDuration(0), " 00:00:00");
    EXPECT_EQ(FormatDuration(360000), "100:00:00");
    EXPECT_EQ(FormatDuration(59), " 00:00:59");
    EXPECT_EQ(FormatDuration(-5), " 00:00:-05");
    EXPECT_EQ(FormatDuration(86400LL * 100000), "2400000:00:00");
}

// The texts made without printf are printf's, to the last digit: ties, neighbours of every tenth,
// values across all magnitudes, and the edges where printf takes over again.
TEST(QuickTextsTest, AreWhatPrintfWrites) {
    std::mt19937_64 random(20261209);
    std::vector<double> values = {
        0.0,          5e-324, 0.05,  0.25,  0.75, 1.25, 2.5, 1023.95, 99999999999999.95, 1e14, 1e14 * (1 - 1e-16),
        123456789.25, -0.0,   -0.04, -1.25, 1e300};
    for (int tenth = 0; tenth < 20000; ++tenth) {
        const double exact = tenth / 10.0 + 0.05;  // halfway between two tenths, or its nearest double
        values.push_back(exact);
        values.push_back(std::nextafter(exact, 0.0));
        values.push_back(std::nextafter(exact, 1e300));
    }
    std::uniform_real_distribution<double> exponent(-30, 47);
    for (int i = 0; i < 300000; ++i)
        values.push_back(std::pow(2.0, exponent(random)));
    for (int i = 0; i < 100000; ++i)
        values.push_back(static_cast<double>(random() % 10000000) / 4);
    for (double value : values)
        ASSERT_EQ(FormatOneDecimal(value), FormatDouble("%.1f", value)) << std::hexfloat << value;

    char text[80];
    for (std::int64_t seconds : {std::int64_t{0}, std::int64_t{1}, std::int64_t{-1}, std::int64_t{359999},
                                 std::int64_t{360000}, std::int64_t{3599999}, std::int64_t{3600000}}) {
        std::snprintf(text, sizeof text, "%3.2lld:%2.2lld:%2.2lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 - 60 * (seconds / 3600)),
                      static_cast<long long>(seconds % 60));
        EXPECT_EQ(FormatDuration(seconds), text) << seconds;
    }
    for (int seconds = 0; seconds < 400000; seconds += 7) {
        std::snprintf(text, sizeof text, "%3.2d:%2.2d:%2.2d", seconds / 3600, seconds / 60 - 60 * (seconds / 3600),
                      seconds % 60);
        ASSERT_EQ(FormatDuration(seconds), text) << seconds;
    }
    for (int language : {0, 1}) {
        SetLanguageIndex(language);
        for (int year : {-5, 0, 999, 1000, 1900, 2004, 9999, 10000, 123456})
            for (int month = -1; month <= 100; ++month)
                for (int day : {-3, 0, 1, 9, 10, 31, 99, 100}) {
                    language == 0 ? std::snprintf(text, sizeof text, "%02d.%02d.%d", day, month, year)
                                  : std::snprintf(text, sizeof text, "%02d/%02d/%d", month, day, year);
                    ASSERT_EQ(CalendarDate(day, month, year).ToText(), text);
                }
    }
    SetLanguageIndex(0);
}

TEST(FormatDoubleTest, OneSpellingOfSpecialValues) {
    EXPECT_EQ(FormatDouble("%.17g", 0.1), "0.10000000000000001");
    EXPECT_EQ(FormatDouble("%.17g", -0.0), "-0");
    EXPECT_EQ(FormatDouble("%.17g", 5e-324), "4.9406564584124654e-324");
    EXPECT_EQ(FormatDouble("%.17g", std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(FormatDouble("%.1f", -std::nan("")), "-nan");
}

// Language settings and the years and months of row labels are read this way.
TEST(DecimalPrefixTest, ReadsTheLeadingNumber) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"1", 1},
                 {"0", 0},
                 {"", 0},
                 {"x", 0},
                 {"7", 7},
                 {"-1", -1},
                 {" 2", 2},
                 {"3abc", 3},
                 {"012", 12},
                 {"2024", 2024},
                 {"03/2024", 3},
                 {"99999999999999", INT_MAX},
                 {"-99999999999999", INT_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(DecimalPrefix(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace history
