#include "chart_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
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

const ChartCaptions kCaptions{
    "Download",
    "Upload",
    "Summe",
    "Onlinezeit",
    "\330 pro Tag",
    "\330 pro Monat",
    "Prognose",
    "Keine Daten",
    {"Kontingent %1", "Verbraucht %1 (%2)", "Rest %1", "\334berschritten um %1", "%1 pro Tag f\374r %2 Tage",
     "%1 f\374r heute", "Prognose %1 des Kontingents", "%1 des Kontingents"}};

// The display mode of the settings each test sets, as the chart window passes it.
bool Bytes() {
    return history::CurrentSettings().DisplayBytes != 0;
}

std::vector<std::string> Labels(const ValueScale& scale, bool bytesMode) {
    std::vector<std::string> labels;
    for (int k = 1; k <= scale.lines; ++k)
        labels.push_back(ValueLabel(scale, k, bytesMode));
    return labels;
}

TEST(ChartScale, RoundStepsInOneUnit) {
    const struct {
        double largest;
        bool bytesMode;
        std::vector<std::string> labels;
    } cases[] = {
        {3.7 * 1073741824.0, true, {"1.0 GB", "2.0 GB", "3.0 GB", "4.0 GB"}},
        {1.6 * 1073741824.0, true, {"0.5 GB", "1.0 GB", "1.5 GB", "2.0 GB"}},
        {1073741824.0, true, {"0.2 GB", "0.4 GB", "0.6 GB", "0.8 GB", "1.0 GB"}},
        {700 * 1048576.0, true, {"200.0 MB", "400.0 MB", "600.0 MB", "800.0 MB"}},
        {11.5 * 1048576.0, true, {"2.0 MB", "4.0 MB", "6.0 MB", "8.0 MB", "10.0 MB", "12.0 MB"}},
        {3784 * 1073741824.0, true, {"1000.0 GB", "2000.0 GB", "3000.0 GB", "4000.0 GB"}},
        // Small values get a tight scale; nothing at all 0..1 of the smallest unit.
        {1.6 * 1024, true, {"0.5 KB", "1.0 KB", "1.5 KB", "2.0 KB"}},
        {100, true, {"0.1 KB", "0.2 KB", "0.3 KB", "0.4 KB"}},
        {0, true, {"0.2 KB", "0.4 KB", "0.6 KB", "0.8 KB", "1.0 KB"}},
        {0, false, {"0.2 kbits", "0.4 kbits", "0.6 kbits", "0.8 kbits", "1.0 kbits"}},
        {1.3e9, false, {"2.0 Gbits", "4.0 Gbits", "6.0 Gbits", "8.0 Gbits", "10.0 Gbits", "12.0 Gbits"}},
        {123456, false, {"0.2 Mbits", "0.4 Mbits", "0.6 Mbits", "0.8 Mbits", "1.0 Mbits"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Labels(ChooseValueScale(c.largest, c.bytesMode), c.bytesMode), c.labels) << c.largest;
    }
}

TEST(ChartScale, EveryMagnitudeGetsFourToSixExactLinesInTheTopsUnit) {
    for (bool bytesMode : {true, false}) {
        const double factor = bytesMode ? 1 : 8;
        for (double largest = 1; largest < 1e16; largest *= 1.07) {
            const ValueScale scale = ChooseValueScale(largest, bytesMode);
            ASSERT_GE(scale.lines, 4) << largest;
            ASSERT_LE(scale.lines, 6) << largest;
            ASSERT_GE(scale.Top(), largest) << largest;
            if (largest > 1024) {
                EXPECT_LT(scale.Top(), 3 * largest) << largest << (bytesMode ? " bytes" : " bits");
            }
            // The top reaches its unit (below the smallest, it is named in that) and stays below the
            // next; every line is named exactly in it.
            const double top = scale.Top() * factor, unit = scale.unitBytes * factor;
            if (scale.prefix != (bytesMode ? 'K' : 'k')) {
                EXPECT_GE(top, unit * (1 - 1e-9)) << largest;
            }
            if (scale.prefix != 'G') {
                EXPECT_LT(top, unit * (bytesMode ? 1024 : 1000)) << largest;
            }
            for (int k = 1; k <= scale.lines; ++k) {
                const std::string text = ValueLabel(scale, k, bytesMode);
                ASSERT_NEAR(std::strtod(text.c_str(), nullptr) * scale.unitBytes, scale.step * k, scale.step * k * 1e-9)
                    << text;
                ASSERT_EQ(text[text.find(' ') + 1], scale.prefix) << text;
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

// Every label that must keep clear, against every line, bar and other label it must not touch,
// named where they do touch (a pixel apart counts as touching).
std::vector<std::string> Collisions(const ChartGeometry& g, const ChartMetrics& metrics) {
    struct Thing {
        std::string name;
        ChartRect box;
    };
    auto box = [&](const ChartText& text) { return TextBox(text, metrics.textWidth(text.text), metrics.textHeight); };
    std::vector<Thing> fixed = {{"value axis", {g.plot.left - 1, g.plot.top, g.plot.left, g.plot.bottom + 1}},
                                {"baseline", {g.plot.left - 1, g.plot.bottom, g.plot.right, g.plot.bottom + 1}}};
    for (int y : g.gridlines)
        fixed.push_back({"gridline " + std::to_string(y), {g.plot.left, y, g.plot.right, y + 1}});
    for (std::size_t i = 0; i < g.bars.size(); ++i) {
        const ChartBarShape& bar = g.bars[i];
        fixed.push_back(
            {"bar " + std::to_string(i), {bar.upload.left, bar.upload.top, bar.download.right, g.plot.bottom}});
    }
    if (g.hasForecast) {
        fixed.push_back({"forecast outline", g.forecastOutline});
        fixed.push_back({"forecast line",
                         {g.forecastLine.left, g.forecastLine.y, g.forecastLine.right,
                          g.forecastLine.right > g.forecastLine.left ? g.forecastLine.y + 1 : 0}});
    }
    if (g.hasAllowanceLine) {
        fixed.push_back({"allowance line",
                         {g.allowanceLine.left, g.allowanceLine.y, g.allowanceLine.right, g.allowanceLine.y + 1}});
    }
    for (const ChartRect& outline : g.overOutlines)
        fixed.push_back({"outline", outline});
    std::vector<Thing> labels;
    for (const ChartText& figure : g.allowanceFigures)
        labels.push_back({"allowance figure " + figure.text, box(figure)});
    for (const ChartText& label : g.valueLabels)
        labels.push_back({"value label " + label.text, box(label)});
    for (const ChartText& figure : g.figures)
        labels.push_back({"figure " + figure.text, box(figure)});
    std::vector<Thing> placed;
    if (g.hasLargest)
        placed.push_back({"largest total " + g.largestTotal.text, box(g.largestTotal)});
    if (g.hasForecast)
        placed.push_back({"forecast " + g.forecastLabel.text, box(g.forecastLabel)});

    std::vector<std::string> found;
    auto touch = [](const ChartRect& a, const ChartRect& b) {
        return ChartRect{a.left - 1, a.top - 1, a.right + 1, a.bottom + 1}.Intersects(b);
    };
    for (std::size_t i = 0; i < placed.size(); ++i) {
        for (const std::vector<Thing>* others : {&fixed, &labels}) {
            for (const Thing& other : *others) {
                if (touch(placed[i].box, other.box))
                    found.push_back(placed[i].name + " / " + other.name);
            }
        }
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            if (touch(placed[i].box, placed[j].box))
                found.push_back(placed[i].name + " / " + placed[j].name);
        }
    }
    for (std::size_t i = 0; i < labels.size(); ++i) {
        for (std::size_t j = i + 1; j < labels.size(); ++j) {
            if (labels[i].box.Intersects(labels[j].box))
                found.push_back(labels[i].name + " / " + labels[j].name);
        }
    }
    return found;
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
        const ChartGeometry g = LayoutChart(chart, width, height, metrics, kCaptions, Bytes());
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
            if (i != 12 && volumes[i].second > 0) {
                EXPECT_GE(bar.upload.Height(), 1) << width << " bar " << i << ": a small upload vanished";
            }
        }
        // Gridlines evenly spaced up to the plot's top; their labels left of it, each at its line.
        ASSERT_EQ(g.gridlines.size(), static_cast<std::size_t>(g.scale.lines));
        EXPECT_EQ(g.gridlines.back(), g.plot.top);
        for (std::size_t k = 0; k < g.gridlines.size(); ++k)
            EXPECT_NEAR(g.plot.bottom - g.gridlines[k], (k + 1) * g.plot.Height() / double(g.scale.lines), 0.5);
        ASSERT_FALSE(g.valueLabels.empty());
        EXPECT_EQ(g.valueLabels.back().text, ValueLabel(g.scale, g.scale.lines, true));
        for (const ChartText& label : g.valueLabels) {
            const int centre = label.y + metrics.textHeight / 2;
            const auto line = std::find(g.gridlines.begin(), g.gridlines.end(), centre);
            ASSERT_NE(line, g.gridlines.end()) << label.text;
            EXPECT_EQ(label.text, ValueLabel(g.scale, static_cast<int>(line - g.gridlines.begin()) + 1, true));
            EXPECT_GE(label.x - metrics.textWidth(label.text), 0);
        }
        // The largest total by its bar.
        double largest = 0;
        for (std::size_t i = 0; i < volumes.size(); ++i) {
            if (i != 12)
                largest = std::max(largest, volumes[i].first + volumes[i].second);
        }
        ASSERT_TRUE(g.hasLargest);
        EXPECT_EQ(g.largestTotal.text, history::FormatVolume(largest, false));
        EXPECT_TRUE(Collisions(g, metrics).empty()) << width << ": " << Collisions(g, metrics).front();
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

// The cases where labels used to collide: the largest day first in the month (its label over the
// value axis), a year whose largest month lies just under a gridline (the line through its label),
// a day far greater than the rest (its label over the top gridline's); each with a forecast too.
TEST(ChartLayout, LabelsKeepClearOfLinesBarsAndEachOther) {
    history::SetCurrentSettings(history::MonitorSettings{});
    constexpr double kGiB = 1073741824.0;
    const ChartMetrics metrics = Metrics();

    std::vector<std::pair<double, double>> october;
    for (int day = 0; day < 31; ++day)
        october.push_back({(day == 0 ? 4.0 : 0.4 + 0.1 * (day % 9)) * kGiB, 0.2 * kGiB});
    HistoryChart year;
    year.kind = HistoryChart::Kind::kYear;
    for (int m = 0; m < 12; ++m) {
        ChartBar bar;
        bar.label = "Jan";
        bar.downloadBytes = (m == 5 ? 55.1 : 30.0 + m) * kGiB;
        bar.uploadBytes = 4 * kGiB;
        bar.hasRecords = true;
        year.bars.push_back(bar);
    }
    std::vector<std::pair<double, double>> terabyte(30, {2 * kGiB, 0.5 * kGiB});
    terabyte[0] = {3500 * kGiB, 284 * kGiB};

    struct Case {
        std::string name;
        HistoryChart chart;
    };
    std::vector<Case> cases = {{"October", MonthOf(october)}, {"year", year}, {"terabyte", MonthOf(terabyte)}};
    // With forecasts: a month heading above its days, the year's largest month still to grow.
    Case octoberAhead{"October ahead", MonthOf(october)};
    octoberAhead.chart.forecast = ChartForecast{true, 0, 60 * kGiB, 20, 31};
    Case yearAhead{"year ahead", year};
    yearAhead.chart.forecast = ChartForecast{true, 5, 60 * kGiB, 20, 30};
    cases.push_back(octoberAhead);
    cases.push_back(yearAhead);
    // With an allowance: the month's even share (its running figures above the plot), the year's
    // allowance across its months.
    Allowance allowance;
    allowance.on = true;
    allowance.gigabytes = 31;
    Case octoberAllowed{"October with an allowance", octoberAhead.chart};
    octoberAllowed.chart.allowance = ChartAllowance{true, allowance, true, AllowanceFigures{}};
    AllowanceFigures& figures = octoberAllowed.chart.allowance.figures;
    figures = AllowanceFigures{AllowanceFigures::When::kRunning, 31 * kGiB, 20.5 * kGiB, 31, 20, 12};
    allowance.gigabytes = 36;
    Case yearAllowed{"year with an allowance", yearAhead.chart};
    yearAllowed.chart.allowance = ChartAllowance{true, allowance, false, AllowanceFigures{}};
    cases.push_back(octoberAllowed);
    cases.push_back(yearAllowed);

    for (const Case& c : cases) {
        for (auto [width, height] :
             {std::pair{340, 225}, std::pair{560, 360}, std::pair{1000, 640}, std::pair{1600, 1000}}) {
            const ChartGeometry g = LayoutChart(c.chart, width, height, metrics, kCaptions, Bytes());
            ASSERT_TRUE(g.hasLargest);
            const std::vector<std::string> found = Collisions(g, metrics);
            EXPECT_TRUE(found.empty()) << c.name << " at " << width << "x" << height << ": " << found.front();
            EXPECT_EQ(g.hasForecast, c.chart.forecast.shown);
            // The top gridline keeps its label: it names the scale's unit.
            ASSERT_FALSE(g.valueLabels.empty());
            EXPECT_EQ(g.valueLabels.back().text, ValueLabel(g.scale, g.scale.lines, true)) << c.name;
        }
    }
    const ChartGeometry big = LayoutChart(yearAhead.chart, 1600, 1000, metrics, kCaptions, Bytes());
    EXPECT_EQ(big.forecastLabel.text, "Prognose 90.0 GB");
    EXPECT_EQ(big.forecastOutline.left, big.bars[5].upload.left);
    EXPECT_EQ(big.forecastOutline.bottom, big.bars[5].upload.top);
    EXPECT_NEAR(big.plot.bottom - big.forecastOutline.top, 90 / big.scale.Top() * kGiB * big.plot.Height(), 1.0);
    const ChartGeometry month = LayoutChart(octoberAhead.chart, 1600, 1000, metrics, kCaptions, Bytes());
    EXPECT_EQ(month.forecastLabel.text, "Prognose 93.0 GB");
    EXPECT_NEAR(month.plot.bottom - month.forecastLine.y, 3.0 * kGiB / month.scale.Top() * month.plot.Height(), 1.0);
    EXPECT_EQ(month.forecastLine.left, month.plot.left);
    EXPECT_EQ(month.forecastLine.right, month.plot.right);
    EXPECT_TRUE(month.allowanceFigures.empty());
    EXPECT_FALSE(month.hasAllowanceLine);

    // The month: its figures on a line of their own under the period's, the forecast's share over
    // the allowance in the warning colour, the line at 1 GB a day and the days above it outlined.
    const ChartGeometry allowed = LayoutChart(octoberAllowed.chart, 1600, 1000, metrics, kCaptions, Bytes());
    std::vector<std::string> texts;
    for (const ChartText& t : allowed.allowanceFigures)
        texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Kontingent 31.0 GB", "Verbraucht 20.5 GB (66 %)", "Rest 10.5 GB",
                                               "896.0 MB pro Tag f\374r 12 Tage", "Prognose 102 % des Kontingents"}));
    EXPECT_EQ(allowed.allowanceWarnings, (std::vector<bool>{false, false, false, false, true}));
    EXPECT_GT(allowed.allowanceFigures.front().y, allowed.figures.front().y);
    ASSERT_TRUE(allowed.hasAllowanceLine);
    EXPECT_NEAR(allowed.plot.bottom - allowed.allowanceLine.y, kGiB / allowed.scale.Top() * allowed.plot.Height(), 1.0);
    // (0.6 GB and a tenth for every day of nine: above 1 GB from the fifth of them on)
    EXPECT_EQ(allowed.overBars, (std::vector<std::size_t>{0, 5, 6, 7, 8, 14, 15, 16, 17, 23, 24, 25, 26}));
    EXPECT_EQ(allowed.overOutlines[0].top, allowed.bars[0].upload.top - 1);
    EXPECT_EQ(allowed.overOutlines[0].left, allowed.bars[0].upload.left - 1);

    // The year: the line at 36 GB, the months that count above it outlined, the share in the tooltips.
    const ChartGeometry yearly = LayoutChart(yearAllowed.chart, 1600, 1000, metrics, kCaptions, Bytes());
    EXPECT_TRUE(yearly.allowanceFigures.empty());
    ASSERT_TRUE(yearly.hasAllowanceLine);
    EXPECT_NEAR(yearly.plot.bottom - yearly.allowanceLine.y, 36 * kGiB / yearly.scale.Top() * yearly.plot.Height(),
                1.0);
    EXPECT_EQ(yearly.overBars, (std::vector<std::size_t>{3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(BarTooltip(yearAllowed.chart, 5, kCaptions),
              BarTooltip(year.bars[5], kCaptions) + "\r\n164 % des Kontingents");
    yearAllowed.chart.allowance.allowance.counts = AllowanceCounts::kDownloadOnly;
    EXPECT_EQ(LayoutChart(yearAllowed.chart, 1600, 1000, metrics, kCaptions, Bytes()).overBars,
              (std::vector<std::size_t>{5, 7, 8, 9, 10, 11}));  // July counts exactly 36 GB
}

// The line at the top: the period's figures and average, or the highlighted bar's; wrapped where
// the window is narrow. The font grows with the window from 8 points.
TEST(ChartLayout, FiguresOfThePeriodOrOfTheHighlightedBar) {
    history::SetCurrentSettings(history::MonitorSettings{});
    std::vector<std::pair<double, double>> volumes(30, {0, 0});
    volumes[1] = {1048576.0, 0.6 * 1048576.0};
    volumes[5] = {3 * 1048576.0, 0};
    HistoryChart chart = MonthOf(volumes);
    chart.bars[1].onlineSeconds = 3600;
    chart.bars[5].onlineSeconds = 90061;  // above a day, as a day of two records may show
    chart.bars[5].name = "06.11.2026";
    const ChartMetrics metrics = Metrics();
    auto texts = [](const ChartGeometry& g) {
        std::vector<std::string> out;
        for (const ChartText& t : g.figures)
            out.push_back(t.text);
        return out;
    };
    const ChartGeometry wide = LayoutChart(chart, 1000, 400, metrics, kCaptions, Bytes());
    EXPECT_EQ(texts(wide), (std::vector<std::string>{"Download 4.0 MB", "Upload 614.4 KB", "Summe 4.6 MB",
                                                     "Onlinezeit 26:01:01", "\330 pro Tag 2.3 MB"}));
    EXPECT_EQ(wide.figures.back().y, wide.figures.front().y);
    const ChartGeometry narrow = LayoutChart(chart, 340, 225, metrics, kCaptions, Bytes());
    EXPECT_EQ(texts(narrow), texts(wide));
    EXPECT_GT(narrow.figures.back().y, narrow.figures.front().y);
    for (const ChartText& t : narrow.figures)
        EXPECT_LE(t.x + metrics.textWidth(t.text), 340) << t.text;
    const ChartGeometry highlighted = LayoutChart(chart, 1000, 400, metrics, kCaptions, Bytes(), 5);
    EXPECT_EQ(texts(highlighted), (std::vector<std::string>{"06.11.2026", "Download 3.0 MB", "Upload 0.0 KB",
                                                            "Summe 3.0 MB", "Onlinezeit 25:01:01"}));
    EXPECT_TRUE(highlighted.bars[5].highlighted);
    EXPECT_FALSE(highlighted.bars[1].highlighted);
    EXPECT_EQ(BarTooltip(chart.bars[5], kCaptions),
              "06.11.2026\r\nDownload 3.0 MB\r\nUpload 0.0 KB\r\nSumme 3.0 MB\r\nOnlinezeit 25:01:01");

    EXPECT_EQ(ChartFontPoints(340, 225), 8);
    EXPECT_EQ(ChartFontPoints(2000, 225), 8);  // the smaller growth decides
    EXPECT_EQ(ChartFontPoints(680, 450), 10);
    EXPECT_EQ(ChartFontPoints(3000, 2000), 12);
}

// At 144 DPI the font is half as large again, and so is every margin, gap, swatch and mark: the
// chart of a window half as large again is the 96-DPI chart scaled by 1.5, give or take a pixel
// of rounding, and its figures wrap onto a second line where the first has no room.
TEST(ChartLayout, MarginsSwatchesAndMarksScaleWithTheDpi) {
    history::SetCurrentSettings(history::MonitorSettings{});
    std::vector<std::pair<double, double>> volumes;
    for (int day = 0; day < 30; ++day)
        volumes.push_back({1048576.0 * (day % 7 + 1), 524288.0 * (day % 3)});
    const HistoryChart chart = MonthOf(volumes);
    const ChartMetrics small = Metrics();
    ChartMetrics large;
    large.textWidth = [](const std::string& text) { return static_cast<int>(text.size()) * 9; };
    large.textHeight = 20;
    large.markSize = 24;
    large.dpi = 144;
    const ChartGeometry a = LayoutChart(chart, 600, 400, small, kCaptions, Bytes());
    const ChartGeometry b = LayoutChart(chart, 900, 600, large, kCaptions, Bytes());
    EXPECT_EQ(a.downloadSwatch.Width(), 10);
    EXPECT_EQ(a.downloadSwatch.Height(), 10);
    EXPECT_EQ(b.downloadSwatch.Width(), 15);
    EXPECT_EQ(b.uploadSwatch.Height(), 15);
    EXPECT_EQ(b.figures.front().x, 12);  // the margin
    EXPECT_EQ(b.figures.front().y, 12);
    auto near = [](int scaled, int original) { return std::abs(scaled - original * 3 / 2) <= 2; };
    EXPECT_PRED2(near, b.plot.left, a.plot.left);
    EXPECT_PRED2(near, b.plot.top, a.plot.top);
    EXPECT_PRED2(near, b.plot.right, a.plot.right);
    EXPECT_PRED2(near, b.plot.bottom, a.plot.bottom);
    EXPECT_PRED2(near, b.uploadSwatch.left, a.uploadSwatch.left);
    EXPECT_PRED2(near, b.uploadLegend.x, a.uploadLegend.x);
    ASSERT_EQ(b.sundayMarks.size(), a.sundayMarks.size());
    for (std::size_t i = 0; i < a.sundayMarks.size(); ++i) {
        EXPECT_PRED2(near, b.sundayMarks[i].x, a.sundayMarks[i].x);
        EXPECT_PRED2(near, b.sundayMarks[i].y, a.sundayMarks[i].y);
    }
    EXPECT_GE(b.downloadLegend.y, b.sundayMarks[0].y + large.markSize);

    // Too narrow for the figures on one line: two lines, each inside the window.
    const ChartGeometry narrow = LayoutChart(chart, 540, 400, large, kCaptions, Bytes());
    int lines = 1;
    for (std::size_t i = 1; i < narrow.figures.size(); ++i) {
        if (narrow.figures[i].y != narrow.figures[i - 1].y) {
            ++lines;
            EXPECT_EQ(narrow.figures[i].y, narrow.figures[i - 1].y + large.textHeight + 3);
            EXPECT_EQ(narrow.figures[i].x, 12);
        }
    }
    EXPECT_EQ(lines, 2);
    for (const ChartText& t : narrow.figures)
        EXPECT_LE(t.x + large.textWidth(t.text), 540 - 12) << t.text;
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
    const ChartGeometry empty = LayoutChart(year, 400, 300, Metrics(), kCaptions, Bytes());
    EXPECT_TRUE(empty.noData);
    EXPECT_EQ(empty.noDataText.text, "Keine Daten");
    EXPECT_EQ(empty.noDataText.x, 200);
    EXPECT_EQ(empty.noDataText.align, ChartText::Align::kCentre);
    EXPECT_TRUE(empty.bars.empty());

    year.bars[4].hasRecords = true;  // a month of zero volumes: a scale, no bars, no total
    const ChartGeometry zero = LayoutChart(year, 400, 300, Metrics(), kCaptions, Bytes());
    EXPECT_FALSE(zero.noData);
    EXPECT_TRUE(zero.sundayMarks.empty());
    EXPECT_FALSE(zero.hasLargest);
    EXPECT_TRUE(zero.bars[4].upload.Empty());
    EXPECT_EQ(zero.categoryLabels.size(), 12u);
}

}  // namespace
}  // namespace viewer
