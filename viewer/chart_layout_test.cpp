#include "chart_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings_store.h"
#include "value_format.h"

namespace viewer {
namespace {

// A fixed-pitch font: 6 pixels a character, 13 high.
ChartMetrics Metrics() {
    ChartMetrics metrics;
    metrics.textWidth = [](const std::string& text) { return static_cast<int>(text.size()) * 6; };
    metrics.textHeight = 13;
    return metrics;
}

const ChartCaptions kCaptions{"Download", "Upload", "Keine Daten"};

std::vector<std::string> Labels(const ValueScale& scale, bool bytesMode) {
    std::vector<std::string> labels;
    for (int k = 1; k <= scale.lines; ++k)
        labels.push_back(history::FormatVolume(scale.step * k, false, bytesMode));
    return labels;
}

// The bytes a volume text stands for, read back by its unit.
double BytesOfText(const std::string& text, bool bytesMode, double value) {
    const double number = std::strtod(text.c_str(), nullptr);
    const char prefix = text[text.find(' ') + 1];
    const double shown = bytesMode ? value : value * 8;
    double unit = prefix == 'G'   ? (bytesMode ? 1073741824.0 : 1e9)
                  : prefix == 'M' ? (bytesMode ? 1048576.0 : 1e6)
                                  : (bytesMode ? 1024.0 : 1e3);
    if (shown < (bytesMode ? 1024.0 : 1e3))
        unit = 1000;  // below the kilo step the text divides by 1000
    return number * unit / (bytesMode ? 1 : 8);
}

TEST(ChartScale, RoundStepsNamedExactly) {
    const struct {
        double largest;
        bool bytesMode;
        std::vector<std::string> labels;
    } cases[] = {
        {3.7 * 1073741824.0, true, {"1.0 GB", "2.0 GB", "3.0 GB", "4.0 GB"}},
        {1.3 * 1073741824.0, true, {"512.0 MB", "1.0 GB", "1.5 GB", "2.0 GB"}},
        {1073741824.0, true, {"256.0 MB", "512.0 MB", "768.0 MB", "1.0 GB"}},
        {700 * 1048576.0, true, {"200.0 MB", "400.0 MB", "600.0 MB", "800.0 MB"}},
        {11.5 * 1048576.0, true, {"2.0 MB", "4.0 MB", "6.0 MB", "8.0 MB", "10.0 MB", "12.0 MB"}},
        {0, true, {"0.1 KB", "0.2 KB", "0.3 KB", "0.4 KB"}},
        {1.3e9, false, {"2.0 Gbits", "4.0 Gbits", "6.0 Gbits", "8.0 Gbits", "10.0 Gbits", "12.0 Gbits"}},
        {123456, false, {"200.0 kbits", "400.0 kbits", "600.0 kbits", "800.0 kbits", "1.0 Mbits"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Labels(ChooseValueScale(c.largest, c.bytesMode), c.bytesMode), c.labels) << c.largest;
    }
}

TEST(ChartScale, EveryMagnitudeGetsFourToSixExactLines) {
    for (bool bytesMode : {true, false}) {
        for (double largest = 1; largest < 1e16; largest *= 1.07) {
            const ValueScale scale = ChooseValueScale(largest, bytesMode);
            ASSERT_GE(scale.lines, 4) << largest;
            ASSERT_LE(scale.lines, 6) << largest;
            ASSERT_GE(scale.Top(), largest) << largest;
            // (Below 4 KB the texts' own rule, dividing by 1000 below 1024 bytes, leaves few exact steps.)
            if (largest > 4096) {
                EXPECT_LT(scale.Top(), 3 * largest) << largest << (bytesMode ? " bytes" : " bits");
            }
            for (int k = 1; k <= scale.lines; ++k) {
                const double value = scale.step * k;
                const std::string text = history::FormatVolume(value, false, bytesMode);
                ASSERT_NEAR(BytesOfText(text, bytesMode, value), value, value * 1e-9) << text;
            }
        }
    }
    // Beyond every step: the greatest one, and the bars are cut at its top.
    const ValueScale endless = ChooseValueScale(INFINITY, true);
    EXPECT_EQ(endless.lines, 6);
    EXPECT_GT(endless.Top(), 1e24);
}

HistoryChart MonthOf(const std::vector<std::pair<double, double>>& volumes) {
    HistoryChart chart;
    chart.kind = HistoryChart::Kind::kMonth;
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        ChartBar bar;
        bar.label = std::to_string(i + 1);
        bar.downloadBytes = volumes[i].first;
        bar.uploadBytes = volumes[i].second;
        bar.hasRecords = volumes[i].first != 0 || volumes[i].second != 0;
        bar.sunday = i % 7 == 1;
        bar.marked = i == 3;
        chart.bars.push_back(bar);
    }
    return chart;
}

bool Inside(const ChartRect& inner, int width, int height) {
    return inner.left >= 0 && inner.top >= 0 && inner.right <= width && inner.bottom <= height;
}

TEST(ChartLayout, BarsInProportionAtEverySize) {
    history::SetCurrentSettings(history::MonitorSettings{});
    std::vector<std::pair<double, double>> volumes;
    for (int day = 0; day < 30; ++day)
        volumes.push_back({1048576.0 * ((day * 37) % 23), 1048576.0 * ((day * 11) % 5)});
    volumes[12] = {-5, NAN};  // drawn as nothing
    const HistoryChart chart = MonthOf(volumes);
    const ChartMetrics metrics = Metrics();
    for (auto [width, height] : {std::pair{320, 200}, std::pair{560, 360}, std::pair{1600, 1000}}) {
        const ChartGeometry g = LayoutChart(chart, width, height, metrics, kCaptions);
        ASSERT_FALSE(g.noData);
        ASSERT_EQ(g.bars.size(), 30u);
        ASSERT_TRUE(Inside(g.plot, width, height));
        const double pixelsPerByte = g.plot.Height() / g.scale.Top();
        for (std::size_t i = 0; i < g.bars.size(); ++i) {
            const ChartBarShape& bar = g.bars[i];
            const double download = i == 12 ? 0 : volumes[i].first;
            const double total = i == 12 ? 0 : volumes[i].first + volumes[i].second;
            EXPECT_EQ(bar.download.bottom, g.plot.bottom);
            EXPECT_EQ(bar.upload.bottom, bar.download.top);  // stacked, no gap
            EXPECT_NEAR(bar.download.Height(), download * pixelsPerByte, 1.0) << width << " bar " << i;
            EXPECT_NEAR(g.plot.bottom - bar.upload.top, total * pixelsPerByte, 1.0) << width << " bar " << i;
            EXPECT_GE(bar.download.left, bar.slot.left);
            EXPECT_LE(bar.download.right, bar.slot.right);
            EXPECT_EQ(bar.marked, i == 3);
        }
        // Gridlines evenly spaced up to the plot's top, labelled left of it.
        ASSERT_EQ(g.gridlines.size(), static_cast<std::size_t>(g.scale.lines));
        EXPECT_EQ(g.gridlines.back(), g.plot.top);
        for (std::size_t k = 0; k < g.gridlines.size(); ++k) {
            EXPECT_NEAR(g.plot.bottom - g.gridlines[k], (k + 1) * g.plot.Height() / double(g.scale.lines), 0.5);
            EXPECT_EQ(g.valueLabels[k].text, history::FormatVolume(g.scale.step * (k + 1), false));
            EXPECT_GE(g.valueLabels[k].x - metrics.textWidth(g.valueLabels[k].text), 0);
        }
        // The largest total above its bar (day 7: 22 MB + 4 MB... whichever is largest).
        double largest = 0;
        std::size_t which = 0;
        for (std::size_t i = 0; i < volumes.size(); ++i) {
            if (i != 12 && volumes[i].first + volumes[i].second > largest)
                largest = volumes[i].first + volumes[i].second, which = i;
        }
        ASSERT_TRUE(g.hasLargest);
        EXPECT_EQ(g.largestTotal.text, history::FormatVolume(largest, false));
        EXPECT_LE(g.largestTotal.y + metrics.textHeight, g.bars[which].upload.top);
        EXPECT_GE(g.largestTotal.y, 0);
        // Category labels that do not touch, Sunday marks under every Sunday, the legend below all.
        for (std::size_t k = 1; k < g.categoryLabels.size(); ++k) {
            const ChartText& a = g.categoryLabels[k - 1];
            const ChartText& b = g.categoryLabels[k];
            EXPECT_LT(a.x + metrics.textWidth(a.text) / 2, b.x - metrics.textWidth(b.text) / 2) << width;
        }
        EXPECT_EQ(g.categoryLabels.front().text, "1");
        EXPECT_EQ(g.sundayMarks.size(), 5u);
        EXPECT_GE(g.downloadLegend.y, g.sundayMarks[0].y + metrics.markSize);
        EXPECT_LE(g.uploadLegend.y + metrics.textHeight, height);
        EXPECT_LT(g.downloadLegend.x + metrics.textWidth("Download"), g.uploadSwatch.left);
    }
}

TEST(ChartLayout, AYearHasNoSundayMarksAndAnEmptyPeriodOnlyItsText) {
    HistoryChart year;
    year.kind = HistoryChart::Kind::kYear;
    for (int m = 0; m < 12; ++m) {
        ChartBar bar;
        bar.label = "Jan";
        bar.sunday = true;
        year.bars.push_back(bar);
    }
    const ChartGeometry empty = LayoutChart(year, 400, 300, Metrics(), kCaptions);
    EXPECT_TRUE(empty.noData);
    EXPECT_EQ(empty.noDataText.text, "Keine Daten");
    EXPECT_EQ(empty.noDataText.x, 200);
    EXPECT_EQ(empty.noDataText.align, ChartText::Align::kCentre);
    EXPECT_TRUE(empty.bars.empty());

    year.bars[4].hasRecords = true;  // a month of zero volumes: a scale, no bars, no total
    const ChartGeometry zero = LayoutChart(year, 400, 300, Metrics(), kCaptions);
    EXPECT_FALSE(zero.noData);
    EXPECT_TRUE(zero.sundayMarks.empty());
    EXPECT_FALSE(zero.hasLargest);
    EXPECT_TRUE(zero.bars[4].upload.Empty());
    EXPECT_EQ(zero.categoryLabels.size(), 12u);
}

}  // namespace
}  // namespace viewer
