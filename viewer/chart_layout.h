// The geometry of the viewer's chart in pixels: the value scale with its round gridlines, the
// stacked bars, the labels of both axes, the legend. The window only draws what this lays out.
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
};

struct ChartText {
    enum class Align { kLeft, kCentre, kRight };
    std::string text;
    int x = 0;  // the left edge, the centre or the right edge, as `align` says
    int y = 0;  // the top
    Align align = Align::kLeft;
};

// Gridlines `step` bytes apart above the baseline.
struct ValueScale {
    double step = 0;
    int lines = 0;
    double Top() const { return step * lines; }
};

// The smallest round step that fits `largest` bytes under 4 to 6 gridlines, each of which the
// volume text of the display mode (FormatVolume) names exactly, with at most three significant
// digits ("512.0 MB", "1.5 GB", never a rounded "1.2 GB" for 1.25 GB). A largest value too great
// for any step gets the greatest step; bars above it are cut at the top.
ValueScale ChooseValueScale(double largest, bool bytesMode);

struct ChartBarShape {
    ChartRect slot;      // the bar's share of the plot, full height
    ChartRect download;  // standing on the baseline; empty for nothing
    ChartRect upload;    // on top of the download part
    bool marked = false;
};

struct ChartGeometry {
    bool noData = false;  // then only `noDataText` is drawn
    ChartText noDataText;

    ChartRect plot;  // the baseline is its bottom, the top gridline its top
    ValueScale scale;
    std::vector<int> gridlines;  // y of each gridline, from the lowest up
    std::vector<ChartText> valueLabels;
    std::vector<ChartBarShape> bars;
    std::vector<ChartText> categoryLabels;  // only as many as fit side by side
    struct Point {
        int x, y;
    };
    std::vector<Point> sundayMarks;  // top left of the tree's Sunday image under each Sunday
    bool hasLargest = false;
    ChartText largestTotal;  // above the highest bar
    ChartRect downloadSwatch, uploadSwatch;
    ChartText downloadLegend, uploadLegend;
};

struct ChartMetrics {
    std::function<int(const std::string&)> textWidth;
    int textHeight = 13;
    int markSize = 16;  // the Sunday image, square
};

struct ChartCaptions {
    std::string download;
    std::string upload;
    std::string noData;
};

// Lays the chart out in a client area of `width` × `height` pixels. Bar heights are the bars'
// totals in proportion to the scale's top, rounded to whole pixels; volume texts follow the
// display mode of the current settings.
ChartGeometry LayoutChart(const HistoryChart& chart, int width, int height, const ChartMetrics& metrics,
                          const ChartCaptions& captions);

}  // namespace viewer
