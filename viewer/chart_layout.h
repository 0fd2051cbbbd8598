// The geometry of the viewer's chart in pixels: the value scale with its round gridlines, the
// stacked bars, the labels of both axes, the period's figures, the forecast, the legend. The window
// only draws what this lays out.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history_chart.h"

namespace viewer {

struct ChartRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Intersects(const ChartRect& other) const {
        return !Empty() && !other.Empty() && left < other.right && other.left < right && top < other.bottom &&
               other.top < bottom;
    }
};

struct ChartText {
    enum class Align { kLeft, kCentre, kRight };
    std::string text;
    int x = 0;  // the left edge, the centre or the right edge, as `align` says
    int y = 0;  // the top
    Align align = Align::kLeft;
};

// The box a text covers when `width` pixels wide and `height` high.
ChartRect TextBox(const ChartText& text, int width, int height);

// Gridlines `step` bytes apart above the baseline, all named in one unit of `unitBytes` bytes (the
// unit of the top gridline) with one decimal.
struct ValueScale {
    double step = 0;
    int lines = 0;
    double unitBytes = 1024;
    char prefix = 'K';
    double Top() const { return step * lines; }
};

// The smallest round step (1, 2, 2.5 or 5 times a power of ten of the unit, at least a tenth of it)
// that fits `largest` bytes under 4 to 6 gridlines whose top lies in the unit they are named in.
// Nothing to show gets 0..1 of the smallest unit; a largest value too great for any step gets the
// greatest step, and bars above it are cut at the top.
ValueScale ChooseValueScale(double largest, bool bytesMode);
// The text of the k-th gridline from the bottom (1..lines): "1.5 GB", "200.0 kbits".
std::string ValueLabel(const ValueScale& scale, int k, bool bytesMode);

// The chart's font size in points for a client area of `width` × `height`: 8 at the window's
// smallest size, growing modestly with it.
int ChartFontPoints(int width, int height);

struct ChartBarShape {
    ChartRect slot;      // the bar's share of the plot, full height
    ChartRect download;  // standing on the baseline; empty for nothing
    ChartRect upload;    // on top of the download part
    bool marked = false;
    bool highlighted = false;
};

struct ChartGeometry {
    bool noData = false;  // then only `noDataText` is drawn
    ChartText noDataText;

    std::vector<ChartText> figures;  // the period's (or the highlighted bar's) figures at the top
    ChartRect plot;                  // the baseline is its bottom, the top gridline its top
    ValueScale scale;
    std::vector<int> gridlines;          // y of each gridline, from the lowest up
    std::vector<ChartText> valueLabels;  // of the gridlines whose label has room
    std::vector<ChartBarShape> bars;
    std::vector<ChartText> categoryLabels;  // only as many as fit side by side
    struct Point {
        int x, y;
    };
    std::vector<Point> sundayMarks;  // top left of the tree's Sunday image under each Sunday
    // A "!" over each bar that leaves an impossible volume of its days out.
    std::vector<ChartText> impossibleMarks;
    bool hasLargest = false;
    ChartText largestTotal;  // by the highest bar, clear of lines, labels and other bars

    // The forecast: in a year an outline on the month's bar up to the forecast, in a month a dashed
    // line at the forecast's average per day; labelled with the forecast total.
    bool hasForecast = false;
    ChartRect forecastOutline;  // a year's; empty in a month
    struct Line {
        int y = 0, left = 0, right = 0;
    };
    Line forecastLine;  // a month's; left == right in a year
    ChartText forecastLabel;

    // The allowance: its figures under the period's, a dashed line at the even daily share (a
    // month) or at the allowance (a year), and an outline around each bar that counts above it.
    std::vector<ChartText> allowanceFigures;
    std::vector<bool> allowanceWarnings;  // of each figure: drawn in the warning colour
    bool hasAllowanceLine = false;
    Line allowanceLine;
    std::vector<std::size_t> overBars;    // indices of the bars above the line
    std::vector<ChartRect> overOutlines;  // around them, a pixel out; open at the baseline

    ChartRect downloadSwatch, uploadSwatch;
    ChartText downloadLegend, uploadLegend;
};

struct ChartMetrics {
    std::function<int(const std::string&)> textWidth;
    int textHeight = 13;
    int markSize = 16;  // the Sunday image, square
    // The margins, gaps and swatches are given for 96 DPI and scaled to this one.
    int dpi = 96;
    int Px(int pixels) const { return dpi == 96 ? pixels : (pixels * dpi + 48) / 96; }
};

struct ChartCaptions {
    std::string download;
    std::string upload;
    std::string total;
    std::string online;
    std::string perDay;    // the average of a month's days
    std::string perMonth;  // of a year's months
    std::string forecast;
    std::string noData;
    AllowanceCaptions allowance;
};

// A bar's figures as the tree writes them: "Download 1.2 GB", upload, total, online time.
std::vector<std::string> BarFigures(const ChartBar& bar, const ChartCaptions& captions);
// The text of a bar's tooltip: its period in full, then its figures, one a line; in a year chart
// with an allowance, the share of it that the month used.
std::string BarTooltip(const ChartBar& bar, const ChartCaptions& captions);
std::string BarTooltip(const HistoryChart& chart, std::size_t bar, const ChartCaptions& captions);

// Lays the chart out in a client area of `width` × `height` pixels, with the bar `highlighted`
// (-1: none) named in the figures at the top instead of the whole period. Bar heights are the
// bars' totals in proportion to the scale's top, rounded to whole pixels (a part that holds
// anything keeps a pixel); volumes are scaled and written in bytes when `bytesMode`, else in bits.
ChartGeometry LayoutChart(const HistoryChart& chart, int width, int height, const ChartMetrics& metrics,
                          const ChartCaptions& captions, bool bytesMode, int highlighted = -1);

}  // namespace viewer
