#include "chart_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "settings_store.h"
#include "value_format.h"

namespace viewer {
namespace {

constexpr int kMaxLines = 6;
constexpr int kMinLines = 4;
constexpr int kPad = 8;
constexpr int kSwatch = 10;

// The number FormatVolume writes before the unit for `shown` bytes, or bits in bits mode.
double ShownNumber(double shown, bool bytesMode) {
    const double giga = bytesMode ? 1073741824.0 : 1e9;
    const double mega = bytesMode ? 1048576.0 : 1e6;
    const double kilo = bytesMode ? 1024.0 : 1e3;
    if (shown >= giga)
        return shown / giga;
    if (shown >= mega)
        return shown / mega;
    if (shown >= kilo)
        return shown / kilo;
    return shown * 0.001;  // the text's own rule below the kilo step
}

// Whether one decimal shows the number exactly, with at most three significant digits.
bool IsRoundLabel(double number) {
    const double tenths = number * 10;
    const double whole = std::round(tenths);
    if (whole < 1 || std::fabs(tenths - whole) > 1e-6 * whole)
        return false;
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.0f", whole);
    std::string text(digits);
    while (text.size() > 1 && text.back() == '0')
        text.pop_back();
    return text.size() <= 3;
}

// Candidate steps in display units (bytes, or bits), ascending.
std::vector<double> CandidateSteps(bool bytesMode) {
    const double units[] = {1, bytesMode ? 1024.0 : 1e3, bytesMode ? 1048576.0 : 1e6, bytesMode ? 1073741824.0 : 1e9};
    std::vector<double> steps;
    for (double unit : units) {
        double decade = 0.1;
        for (int e = -1; e <= 15; ++e, decade *= 10) {
            for (double mantissa : {1.0, 2.0, 2.5, 5.0})
                steps.push_back(unit * decade * mantissa);
        }
    }
    std::sort(steps.begin(), steps.end());
    steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
    return steps;
}

// A volume that can be drawn: no negative or undefined parts.
double Drawable(double bytes) {
    return std::isnan(bytes) || bytes < 0 ? 0 : bytes;
}

// The height in pixels of `bytes` on a scale whose top is `height` pixels up.
int HeightOf(double bytes, double top, int height) {
    if (!(bytes > 0) || top <= 0)
        return 0;
    if (bytes >= top)
        return height;
    return static_cast<int>(std::lround(bytes / top * height));
}

int TextLeft(const ChartText& text, int width) {
    switch (text.align) {
        case ChartText::Align::kCentre:
            return text.x - width / 2;
        case ChartText::Align::kRight:
            return text.x - width;
        default:
            return text.x;
    }
}

// Moves a centred text inside [0, limit) where it would stick out.
void KeepInside(ChartText& text, int width, int limit) {
    const int left = TextLeft(text, width);
    if (left + width > limit)
        text.x -= left + width - limit;
    if (TextLeft(text, width) < 0)
        text.x -= TextLeft(text, width);
}

}  // namespace

ValueScale ChooseValueScale(double largest, bool bytesMode) {
    const double factor = bytesMode ? 1 : 8;
    const double shown = Drawable(largest) * factor;
    static const std::vector<double> kBytesSteps = CandidateSteps(true);
    static const std::vector<double> kBitsSteps = CandidateSteps(false);
    const std::vector<double>& steps = bytesMode ? kBytesSteps : kBitsSteps;
    for (double step : steps) {
        const double needed = std::ceil(shown / step);
        if (!(needed <= kMaxLines))
            continue;
        const int lines = std::max(kMinLines, static_cast<int>(needed));
        bool round = true;
        for (int k = 1; k <= lines && round; ++k)
            round = IsRoundLabel(ShownNumber(step * k, bytesMode));
        if (round)
            return ValueScale{step / factor, lines};
    }
    return ValueScale{steps.back() / factor, kMaxLines};
}

ChartGeometry LayoutChart(const HistoryChart& chart, int width, int height, const ChartMetrics& metrics,
                          const ChartCaptions& captions) {
    ChartGeometry geometry;
    const int textHeight = metrics.textHeight;
    if (!chart.HasRecords()) {
        geometry.noData = true;
        geometry.noDataText =
            ChartText{captions.noData, width / 2, (height - textHeight) / 2, ChartText::Align::kCentre};
        return geometry;
    }
    const bool bytesMode = history::CurrentSettings().DisplayBytes != 0;

    double largest = 0;
    std::size_t largestBar = 0;
    for (std::size_t i = 0; i < chart.bars.size(); ++i) {
        const double total = Drawable(chart.bars[i].downloadBytes) + Drawable(chart.bars[i].uploadBytes);
        if (total > largest) {
            largest = total;
            largestBar = i;
        }
    }
    geometry.scale = ChooseValueScale(largest, bytesMode);

    int labelWidth = 0;
    std::vector<std::string> labels;
    for (int k = 1; k <= geometry.scale.lines; ++k) {
        labels.push_back(history::FormatVolume(geometry.scale.step * k, false, bytesMode));
        labelWidth = std::max(labelWidth, metrics.textWidth(labels.back()));
    }

    // From the bottom: the legend, the Sunday marks of a month, the category labels.
    const int legendTop = height - kPad - textHeight;
    const int marks = chart.kind == HistoryChart::Kind::kMonth ? metrics.markSize + 1 : 0;
    ChartRect& plot = geometry.plot;
    plot.left = kPad + labelWidth + 6;
    plot.right = std::max(plot.left + 1, width - 2 * kPad);
    plot.top = kPad + textHeight + 4;  // room for the largest total above a full bar
    plot.bottom = std::max(plot.top + 1, legendTop - 8 - marks - textHeight - 3);

    for (int k = 1; k <= geometry.scale.lines; ++k) {
        const int y =
            plot.bottom - static_cast<int>(std::lround(static_cast<double>(k) / geometry.scale.lines * plot.Height()));
        geometry.gridlines.push_back(y);
        geometry.valueLabels.push_back(
            ChartText{labels[k - 1], plot.left - 6, y - textHeight / 2, ChartText::Align::kRight});
    }

    const double slot = static_cast<double>(plot.Width()) / static_cast<double>(chart.bars.size());
    const int barWidth = std::max(1, static_cast<int>(slot * 0.7));
    int widestLabel = 0;
    for (const ChartBar& bar : chart.bars)
        widestLabel = std::max(widestLabel, metrics.textWidth(bar.label));
    const int labelEvery = std::max(1, static_cast<int>(std::ceil((widestLabel + 4) / slot)));

    const double top = geometry.scale.Top();
    for (std::size_t i = 0; i < chart.bars.size(); ++i) {
        const ChartBar& bar = chart.bars[i];
        ChartBarShape shape;
        shape.marked = bar.marked;
        shape.slot = ChartRect{plot.left + static_cast<int>(std::lround(i * slot)), plot.top,
                               plot.left + static_cast<int>(std::lround((i + 1) * slot)), plot.bottom};
        const int left = plot.left + static_cast<int>(std::lround(i * slot + (slot - barWidth) / 2));
        const double download = Drawable(bar.downloadBytes);
        const int total = HeightOf(download + Drawable(bar.uploadBytes), top, plot.Height());
        const int lower = std::min(total, HeightOf(download, top, plot.Height()));
        shape.download = ChartRect{left, plot.bottom - lower, left + barWidth, plot.bottom};
        shape.upload = ChartRect{left, plot.bottom - total, left + barWidth, plot.bottom - lower};
        geometry.bars.push_back(shape);

        const int centre = (shape.slot.left + shape.slot.right) / 2;
        if (i % static_cast<std::size_t>(labelEvery) == 0) {
            ChartText label{bar.label, centre, plot.bottom + 3, ChartText::Align::kCentre};
            KeepInside(label, metrics.textWidth(bar.label), width);
            geometry.categoryLabels.push_back(label);
        }
        if (bar.sunday && chart.kind == HistoryChart::Kind::kMonth)
            geometry.sundayMarks.push_back({centre - metrics.markSize / 2, plot.bottom + 3 + textHeight + 1});
    }

    const ChartBarShape& highest = geometry.bars[largestBar];
    geometry.hasLargest = largest > 0;
    geometry.largestTotal =
        ChartText{history::FormatVolume(largest, false, bytesMode), (highest.slot.left + highest.slot.right) / 2,
                  std::max(0, highest.upload.top - textHeight - 2), ChartText::Align::kCentre};
    KeepInside(geometry.largestTotal, metrics.textWidth(geometry.largestTotal.text), width);

    // The legend, centred: swatch, caption, gap, swatch, caption.
    const int downloadWidth = metrics.textWidth(captions.download);
    const int uploadWidth = metrics.textWidth(captions.upload);
    const int legendWidth = kSwatch + 4 + downloadWidth + 16 + kSwatch + 4 + uploadWidth;
    int x = std::max(kPad, (width - legendWidth) / 2);
    const int swatchTop = legendTop + (textHeight - kSwatch) / 2;
    geometry.downloadSwatch = ChartRect{x, swatchTop, x + kSwatch, swatchTop + kSwatch};
    geometry.downloadLegend = ChartText{captions.download, x + kSwatch + 4, legendTop, ChartText::Align::kLeft};
    x += kSwatch + 4 + downloadWidth + 16;
    geometry.uploadSwatch = ChartRect{x, swatchTop, x + kSwatch, swatchTop + kSwatch};
    geometry.uploadLegend = ChartText{captions.upload, x + kSwatch + 4, legendTop, ChartText::Align::kLeft};
    return geometry;
}

}  // namespace viewer
