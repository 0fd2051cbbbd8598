#include "chart_layout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "settings_store.h"
#include "value_format.h"

namespace viewer {
namespace {

constexpr int kMaxLines = 6;
constexpr int kMinLines = 4;
constexpr int kPad = 8;
constexpr int kSwatch = 10;
constexpr int kFigureGap = 14;  // between two figures on the top line

struct Unit {
    double size;  // in display units (bytes, or bits)
    char prefix;
};

// The units of the display mode, smallest first, as FormatVolume names them.
const Unit* UnitsOf(bool bytesMode) {
    static const Unit kBytes[] = {{1024.0, 'K'}, {1048576.0, 'M'}, {1073741824.0, 'G'}};
    static const Unit kBits[] = {{1e3, 'k'}, {1e6, 'M'}, {1e9, 'G'}};
    return bytesMode ? kBytes : kBits;
}

// The unit a value of `shown` display units is named in: the greatest that it reaches.
int UnitIndexOf(double shown, bool bytesMode) {
    const Unit* units = UnitsOf(bytesMode);
    for (int u = 2; u > 0; --u) {
        if (shown >= units[u].size * (1 - 1e-9))
            return u;
    }
    return 0;
}

struct Candidate {
    double step;  // in display units
    int unit;
};

// Candidate steps, ascending: 0.1, 0.2, 0.5 of each unit, then 1, 2, 2.5, 5 times its powers of ten.
std::vector<Candidate> CandidateSteps(bool bytesMode) {
    std::vector<Candidate> steps;
    const Unit* units = UnitsOf(bytesMode);
    for (int u = 0; u < 3; ++u) {
        for (double m : {0.1, 0.2, 0.5})
            steps.push_back({m * units[u].size, u});
        double decade = 1;
        for (int e = 0; e <= 15; ++e, decade *= 10) {
            for (double m : {1.0, 2.0, 2.5, 5.0})
                steps.push_back({m * decade * units[u].size, u});
        }
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [](const Candidate& a, const Candidate& b) { return a.step < b.step; });
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

std::string Duration(double seconds) {
    std::string text = history::FormatDuration(static_cast<std::int64_t>(seconds));
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

ChartRect Grown(const ChartRect& r, int by) {
    return ChartRect{r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// The first place for a text of `width` × `height` whose box (with a pixel around it) touches
// none of `obstacles` and lies inside `bounds`: each left edge of `lefts` in turn, its top tried
// from `preferredTop` outwards. False when there is none.
bool FindClearSpot(const std::vector<int>& lefts, int preferredTop, int width, int height, const ChartRect& bounds,
                   const std::vector<ChartRect>& obstacles, int& left, int& top) {
    auto clear = [&](int x, int y) {
        const ChartRect box{x, y, x + width, y + height};
        if (box.left < bounds.left || box.right > bounds.right || box.top < bounds.top || box.bottom > bounds.bottom)
            return false;
        const ChartRect margin = Grown(box, 1);
        return std::none_of(obstacles.begin(), obstacles.end(),
                            [&](const ChartRect& o) { return margin.Intersects(o); });
    };
    const int reach = std::max(bounds.Height(), 1);
    for (int x : lefts) {
        for (int d = 0; d <= reach; ++d) {
            if (clear(x, preferredTop - d)) {
                left = x, top = preferredTop - d;
                return true;
            }
            if (d > 0 && clear(x, preferredTop + d)) {
                left = x, top = preferredTop + d;
                return true;
            }
        }
    }
    return false;
}

// Lays the pieces out left to right, a new line where the next does not fit.
std::vector<ChartText> FlowFigures(const std::vector<std::string>& pieces, int width, const ChartMetrics& metrics) {
    std::vector<ChartText> out;
    const int pad = metrics.Px(kPad);
    int x = pad, y = pad;
    for (const std::string& piece : pieces) {
        const int w = metrics.textWidth(piece);
        if (x > pad && x + w > width - pad) {
            x = pad;
            y += metrics.textHeight + metrics.Px(2);
        }
        out.push_back(ChartText{piece, x, y, ChartText::Align::kLeft});
        x += w + metrics.Px(kFigureGap);
    }
    return out;
}

}  // namespace

ChartRect TextBox(const ChartText& text, int width, int height) {
    const int left = TextLeft(text, width);
    return ChartRect{left, text.y, left + width, text.y + height};
}

ValueScale ChooseValueScale(double largest, bool bytesMode) {
    const double factor = bytesMode ? 1 : 8;
    const Unit* units = UnitsOf(bytesMode);
    double shown = Drawable(largest) * factor;
    if (shown == 0)
        shown = units[0].size;  // nothing to show: 0..1 of the smallest unit
    static const std::vector<Candidate> kBytesSteps = CandidateSteps(true);
    static const std::vector<Candidate> kBitsSteps = CandidateSteps(false);
    const std::vector<Candidate>& steps = bytesMode ? kBytesSteps : kBitsSteps;
    for (const Candidate& c : steps) {
        const double needed = std::ceil(shown / c.step * (1 - 1e-12));
        if (!(needed <= kMaxLines))
            continue;
        const int lines = std::max(kMinLines, static_cast<int>(needed));
        if (UnitIndexOf(c.step * lines, bytesMode) != c.unit)
            continue;
        return ValueScale{c.step / factor, lines, units[c.unit].size / factor, units[c.unit].prefix};
    }
    const Candidate& last = steps.back();
    return ValueScale{last.step / factor, kMaxLines, units[last.unit].size / factor, units[last.unit].prefix};
}

std::string ValueLabel(const ValueScale& scale, int k, bool bytesMode) {
    const double number = scale.step * k / scale.unitBytes;
    return history::FormatOneDecimal(number) + " " + scale.prefix + (bytesMode ? "B" : "bits");
}

int ChartFontPoints(int width, int height) {
    // The smallest window's client area is about 340 × 225 pixels.
    const double growth = std::min(width / 340.0, height / 225.0);
    return std::clamp(static_cast<int>(std::floor(8 + 2 * (growth - 1))), 8, 12);
}

std::vector<std::string> BarFigures(const ChartBar& bar, const ChartCaptions& captions) {
    const double download = Drawable(bar.downloadBytes), upload = Drawable(bar.uploadBytes);
    return {captions.download + " " + history::FormatVolume(download, false),
            captions.upload + " " + history::FormatVolume(upload, false),
            captions.total + " " + history::FormatVolume(download + upload, false),
            captions.online + " " + Duration(bar.onlineSeconds)};
}

std::string BarTooltip(const ChartBar& bar, const ChartCaptions& captions) {
    std::string text = bar.name;
    for (const std::string& figure : BarFigures(bar, captions))
        text += "\r\n" + figure;
    return text;
}

std::string BarTooltip(const HistoryChart& chart, std::size_t bar, const ChartCaptions& captions) {
    std::string text = BarTooltip(chart.bars[bar], captions);
    const ChartAllowance& allowance = chart.allowance;
    if (allowance.shown && chart.kind == HistoryChart::Kind::kYear) {
        const double counted =
            CountedVolume(allowance.allowance, chart.bars[bar].downloadBytes, chart.bars[bar].uploadBytes);
        text += "\r\n" + Substitute(captions.allowance.share, ShareText(counted / allowance.allowance.Bytes()));
    }
    return text;
}

ChartGeometry LayoutChart(const HistoryChart& chart, int width, int height, const ChartMetrics& metrics,
                          const ChartCaptions& captions, int highlighted) {
    ChartGeometry geometry;
    const int textHeight = metrics.textHeight;
    if (!chart.HasRecords()) {
        geometry.noData = true;
        geometry.noDataText =
            ChartText{captions.noData, width / 2, (height - textHeight) / 2, ChartText::Align::kCentre};
        return geometry;
    }
    const bool bytesMode = history::CurrentSettings().DisplayBytes != 0;
    const bool month = chart.kind == HistoryChart::Kind::kMonth;

    // The figures at the top: the highlighted bar's, or the period's with its average. Their room
    // is what the longest of them all needs, so that the plot stays put as the highlight moves.
    auto barPieces = [&](const ChartBar& bar) {
        std::vector<std::string> pieces = BarFigures(bar, captions);
        pieces.insert(pieces.begin(), bar.name);
        return pieces;
    };
    const ChartBar total = chart.Total();
    std::vector<std::string> pieces = BarFigures(total, captions);
    const int periods = std::max(1, chart.BarsWithRecords());
    pieces.push_back(
        (month ? captions.perDay : captions.perMonth) + " " +
        history::FormatVolume((Drawable(total.downloadBytes) + Drawable(total.uploadBytes)) / periods, false));
    int figuresBottom = FlowFigures(pieces, width, metrics).back().y + textHeight;
    for (const ChartBar& bar : chart.bars) {
        if (bar.hasRecords)
            figuresBottom = std::max(figuresBottom, FlowFigures(barPieces(bar), width, metrics).back().y + textHeight);
    }
    if (highlighted >= 0 && static_cast<std::size_t>(highlighted) < chart.bars.size())
        pieces = barPieces(chart.bars[highlighted]);
    geometry.figures = FlowFigures(pieces, width, metrics);
    const ChartAllowance& allowance = chart.allowance;
    if (allowance.shown && allowance.hasFigures) {
        std::vector<std::string> texts;
        for (const AllowancePiece& piece : AllowancePieces(allowance.figures, captions.allowance)) {
            texts.push_back(piece.text);
            geometry.allowanceWarnings.push_back(piece.warning);
        }
        geometry.allowanceFigures = FlowFigures(texts, width, metrics);
        for (ChartText& figure : geometry.allowanceFigures)
            figure.y += figuresBottom + 2 - kPad;
        figuresBottom = geometry.allowanceFigures.back().y + textHeight;
    }

    double largest = 0;
    std::size_t largestBar = 0;
    for (std::size_t i = 0; i < chart.bars.size(); ++i) {
        const double total = Drawable(chart.bars[i].downloadBytes) + Drawable(chart.bars[i].uploadBytes);
        if (total > largest) {
            largest = total;
            largestBar = i;
        }
    }
    const ChartForecast& forecast = chart.forecast;
    const bool hasForecast = forecast.shown && forecast.monthDays > 0 && forecast.elapsedDays > 0 &&
                             (month || forecast.bar < chart.bars.size());
    double scaled = largest;
    if (hasForecast)
        scaled = std::max(scaled, Drawable(month ? forecast.PerDay() : forecast.Total()));
    // The allowance's line: a month's even daily share, a year's whole allowance.
    double lineValue = 0;
    if (allowance.shown && (!month || allowance.hasFigures))
        lineValue = month ? allowance.figures.EvenShare() : allowance.allowance.Bytes();
    scaled = std::max(scaled, lineValue);
    geometry.scale = ChooseValueScale(scaled, bytesMode);

    int labelWidth = 0;
    std::vector<std::string> labels;
    for (int k = 1; k <= geometry.scale.lines; ++k) {
        labels.push_back(ValueLabel(geometry.scale, k, bytesMode));
        labelWidth = std::max(labelWidth, metrics.textWidth(labels.back()));
    }

    // From the bottom: the legend, the Sunday marks of a month, the category labels.
    const auto px = [&metrics](int pixels) { return metrics.Px(pixels); };
    const int pad = px(kPad);
    const int legendTop = height - pad - textHeight;
    const int marks = month ? metrics.markSize + px(1) : 0;
    ChartRect& plot = geometry.plot;
    const int bandTop = figuresBottom + px(4);  // where labels above the bars may begin
    plot.left = pad + labelWidth + px(6);
    plot.right = std::max(plot.left + 1, width - 2 * pad);
    plot.top = bandTop + textHeight + px(4);  // room for a label above a full bar
    plot.bottom = std::max(plot.top + 1, legendTop - px(8) - marks - textHeight - px(3));

    std::vector<ChartRect> obstacles;
    obstacles.push_back(ChartRect{plot.left - 1, plot.top, plot.left, plot.bottom + 1});      // the value axis
    obstacles.push_back(ChartRect{plot.left - 1, plot.bottom, plot.right, plot.bottom + 1});  // the baseline
    // The gridline labels from the top down, each only where it keeps clear of the one above.
    std::vector<ChartText> valueLabels;
    ChartRect above;
    for (int k = geometry.scale.lines; k >= 1; --k) {
        const int y =
            plot.bottom - static_cast<int>(std::lround(static_cast<double>(k) / geometry.scale.lines * plot.Height()));
        geometry.gridlines.insert(geometry.gridlines.begin(), y);
        obstacles.push_back(ChartRect{plot.left, y, plot.right, y + 1});
        const ChartText label{labels[k - 1], plot.left - px(6), y - textHeight / 2, ChartText::Align::kRight};
        const ChartRect box = TextBox(label, metrics.textWidth(label.text), textHeight);
        if (above.Empty() || !Grown(box, 1).Intersects(above)) {
            valueLabels.insert(valueLabels.begin(), label);
            above = box;
        }
    }

    const double slot = static_cast<double>(plot.Width()) / static_cast<double>(chart.bars.size());
    const int barWidth = std::max(1, static_cast<int>(slot * 0.7));
    int widestLabel = 0;
    for (const ChartBar& bar : chart.bars)
        widestLabel = std::max(widestLabel, metrics.textWidth(bar.label));
    const int labelEvery = std::max(1, static_cast<int>(std::ceil((widestLabel + px(4)) / slot)));

    const double top = geometry.scale.Top();
    for (std::size_t i = 0; i < chart.bars.size(); ++i) {
        const ChartBar& bar = chart.bars[i];
        ChartBarShape shape;
        shape.marked = bar.marked;
        shape.highlighted = static_cast<int>(i) == highlighted;
        shape.slot = ChartRect{plot.left + static_cast<int>(std::lround(i * slot)), plot.top,
                               plot.left + static_cast<int>(std::lround((i + 1) * slot)), plot.bottom};
        const int left = plot.left + static_cast<int>(std::lround(i * slot + (slot - barWidth) / 2));
        const double download = Drawable(bar.downloadBytes), upload = Drawable(bar.uploadBytes);
        int total = HeightOf(download + upload, top, plot.Height());
        int lower = std::min(total, HeightOf(download, top, plot.Height()));
        // Something is never drawn as nothing: each part that holds anything keeps a pixel.
        if (download + upload > 0)
            total = std::max(total, 1);
        if (download > 0 && upload > 0 && total >= 2)
            lower = std::clamp(lower, 1, total - 1);
        else if (upload > 0 && download == 0)
            lower = 0;
        else if (download > 0 && upload == 0)
            lower = total;
        shape.download = ChartRect{left, plot.bottom - lower, left + barWidth, plot.bottom};
        shape.upload = ChartRect{left, plot.bottom - total, left + barWidth, plot.bottom - lower};
        geometry.bars.push_back(shape);
        obstacles.push_back(ChartRect{left, plot.bottom - total, left + barWidth, plot.bottom});

        const int centre = (shape.slot.left + shape.slot.right) / 2;
        if (bar.impossible) {
            const ChartText mark{"!", centre, std::max(plot.top, plot.bottom - total - textHeight - 1),
                                 ChartText::Align::kCentre};
            geometry.impossibleMarks.push_back(mark);
            obstacles.push_back(TextBox(mark, metrics.textWidth(mark.text), textHeight));
        }
        if (i % static_cast<std::size_t>(labelEvery) == 0) {
            ChartText label{bar.label, centre, plot.bottom + px(3), ChartText::Align::kCentre};
            KeepInside(label, metrics.textWidth(bar.label), width);
            geometry.categoryLabels.push_back(label);
        }
        if (bar.sunday && month)
            geometry.sundayMarks.push_back({centre - metrics.markSize / 2, plot.bottom + px(3) + textHeight + px(1)});
    }
    if (lineValue > 0) {
        const int y = plot.bottom - HeightOf(lineValue, top, plot.Height());
        geometry.hasAllowanceLine = true;
        geometry.allowanceLine = ChartGeometry::Line{y, plot.left, plot.right};
        obstacles.push_back(ChartRect{plot.left, y, plot.right, y + 1});
        for (std::size_t i = 0; i < chart.bars.size(); ++i) {
            const ChartBar& bar = chart.bars[i];
            if (CountedVolume(allowance.allowance, bar.downloadBytes, bar.uploadBytes) <= lineValue)
                continue;
            const ChartBarShape& shape = geometry.bars[i];
            geometry.overBars.push_back(i);
            geometry.overOutlines.push_back(
                ChartRect{shape.upload.left - 1, shape.upload.top - 1, shape.upload.right + 1, plot.bottom});
        }
    }
    for (const ChartText& label : valueLabels)
        obstacles.push_back(TextBox(label, metrics.textWidth(label.text), textHeight));

    // Labels inside the plot's columns, right of the value axis, between the figures and the baseline.
    const ChartRect bounds{plot.left + px(3), bandTop, width - px(2), plot.bottom - 1};
    auto place = [&](ChartText& text, const std::vector<int>& lefts, int preferredTop) {
        const int w = metrics.textWidth(text.text);
        int left = 0, y = 0;
        text.align = ChartText::Align::kLeft;
        // Else in the band above the plot, as near the column as it is clear.
        std::vector<int> along;
        for (int d = 0; d < width; d += 2) {
            along.push_back(lefts.front() + d);
            along.push_back(lefts.front() - d - 2);
        }
        const ChartRect band{bounds.left, bandTop, bounds.right, plot.top - 1};
        if (FindClearSpot(lefts, preferredTop, w, textHeight, bounds, obstacles, left, y) ||
            FindClearSpot(along, band.bottom - textHeight, w, textHeight, band, obstacles, left, y)) {
            text.x = left, text.y = y;
        } else {
            // Nowhere clear: above the bar all the same, and the gridline labels it would touch go.
            text.x = std::clamp(lefts.front(), bounds.left, std::max(bounds.left, bounds.right - w));
            text.y = std::max(bandTop, preferredTop);
            const ChartRect box = Grown(TextBox(text, w, textHeight), 1);
            valueLabels.erase(
                std::remove_if(valueLabels.begin(), valueLabels.end(),
                               [&](const ChartText& l) {
                                   return box.Intersects(TextBox(l, metrics.textWidth(l.text), textHeight));
                               }),
                valueLabels.end());
        }
        obstacles.push_back(TextBox(text, w, textHeight));
    };
    // Left edges: centred over the column, then beside it on the right, then on the left; each
    // kept right of the value axis.
    auto leftsBeside = [&](const ChartRect& column, int w) {
        const int centred = std::max(bounds.left, (column.left + column.right) / 2 - w / 2);
        return std::vector<int>{std::min(centred, std::max(bounds.left, bounds.right - w)), column.right + px(2),
                                column.left - px(2) - w};
    };

    geometry.hasForecast = hasForecast;
    if (hasForecast) {
        geometry.forecastLabel.text = captions.forecast + " " + history::FormatVolume(forecast.Total(), false);
        const int w = metrics.textWidth(geometry.forecastLabel.text);
        if (month) {
            const int y = plot.bottom - HeightOf(forecast.PerDay(), top, plot.Height());
            geometry.forecastLine = ChartGeometry::Line{y, plot.left, plot.right};
            obstacles.push_back(ChartRect{plot.left, y, plot.right, y + 1});
            place(geometry.forecastLabel, {bounds.right - w, bounds.left + px(2), (plot.left + plot.right - w) / 2},
                  y - textHeight - px(2));
        } else {
            const ChartBarShape& bar = geometry.bars[forecast.bar];
            const int y = plot.bottom - HeightOf(forecast.Total(), top, plot.Height());
            const ChartRect column{bar.upload.left, std::min(y, bar.upload.top), bar.upload.right, bar.upload.top};
            geometry.forecastOutline = column;
            obstacles.push_back(column);
            place(geometry.forecastLabel, leftsBeside(column, w), column.top - textHeight - px(2));
        }
    }

    const ChartBarShape& highest = geometry.bars[largestBar];
    geometry.hasLargest = largest > 0;
    if (geometry.hasLargest) {
        geometry.largestTotal.text = history::FormatVolume(largest, false);
        const int w = metrics.textWidth(geometry.largestTotal.text);
        const ChartRect column{highest.upload.left, highest.upload.top, highest.upload.right, plot.bottom};
        place(geometry.largestTotal, leftsBeside(column, w), column.top - textHeight - px(2));
    }
    geometry.valueLabels = valueLabels;

    // The legend, centred: swatch, caption, gap, swatch, caption.
    const int downloadWidth = metrics.textWidth(captions.download);
    const int uploadWidth = metrics.textWidth(captions.upload);
    const int swatch = px(kSwatch), beside = px(4), gap = px(16);
    const int legendWidth = swatch + beside + downloadWidth + gap + swatch + beside + uploadWidth;
    int x = std::max(pad, (width - legendWidth) / 2);
    const int swatchTop = legendTop + (textHeight - swatch) / 2;
    geometry.downloadSwatch = ChartRect{x, swatchTop, x + swatch, swatchTop + swatch};
    geometry.downloadLegend = ChartText{captions.download, x + swatch + beside, legendTop, ChartText::Align::kLeft};
    x += swatch + beside + downloadWidth + gap;
    geometry.uploadSwatch = ChartRect{x, swatchTop, x + swatch, swatchTop + swatch};
    geometry.uploadLegend = ChartText{captions.upload, x + swatch + beside, legendTop, ChartText::Align::kLeft};
    return geometry;
}

}  // namespace viewer
