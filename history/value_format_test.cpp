#include "value_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

TEST(FormatDoubleTest, OneSpellingOfSpecialValues) {
    EXPECT_EQ(FormatDouble("%.17g", 0.1), "0.10000000000000001");
    EXPECT_EQ(FormatDouble("%.17g", -0.0), "-0");
    EXPECT_EQ(FormatDouble("%.17g", 5e-324), "4.9406564584124654e-324");
    EXPECT_EQ(FormatDouble("%.17g", std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(FormatDouble("%.1f", -std::nan("")), "-nan");
}

}  // namespace
}  // namespace history
