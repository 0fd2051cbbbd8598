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
constexpr int kFigureGap = 14;      // between two figures on the top line
constexpr int kFigureLineGap = 2;   // between two lines of figures
constexpr int kAllowanceGap = 2;    // between the figures and the allowance's (unscaled, as ever)
constexpr int kBandGap = 4;         // between the figures and the band above the plot
constexpr int kLabelRoom = 4;       // above a label over a full bar
constexpr int kAxisGap = 6;         // between a gridline label and the value axis
constexpr int kLegendGap = 8;       // between the labels under the plot and the legend
constexpr int kCategoryGap = 3;     // between the baseline and a category label
constexpr int kMarkGap = 1;         // between a category label and its Sunday mark
constexpr int kLabelSpacing = 4;    // at least between two category labels
constexpr int kBoundsInset = 3;     // of labels in the plot, right of the value axis
constexpr int kRightInset = 2;      // of labels from the window's right edge
constexpr int kBesideGap = 2;       // between a column and a label beside or above it
constexpr int kAlongStep = 2;       // of the search along the band above the plot
constexpr int kSwatchGap = 4;       // between a legend swatch and its caption
constexpr int kLegendSpacing = 16;  // between the legend's two entries
constexpr double kBarShare = 0.7;   // of its slot that a bar fills

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
            y += metrics.textHeight + metrics.Px(kFigureLineGap);
        }
        out.push_back(ChartText{piece, x, y, ChartText::Align::kLeft});
        x += w + metrics.Px(kFigureGap);
    }
    return out;
}

std::vector<std::string> BarFiguresIn(const ChartBar& bar, const ChartCaptions& captions, bool bytesMode) {
    const double download = Drawable(bar.downloadBytes), upload = Drawable(bar.uploadBytes);
    return {captions.download + " " + history::FormatVolume(download, false, bytesMode),
            captions.upload + " " + history::FormatVolume(upload, false, bytesMode),
            captions.total + " " + history::FormatVolume(download + upload, false, bytesMode),
            captions.online + " " + Duration(bar.onlineSeconds)};
}

// Lays one chart out stage by stage; the stages share the list of obstacles that later labels
// keep clear of, so their order is the order of the calls in Run.
class ChartLayouter {
public:
    ChartLayouter(const HistoryChart& chart, int width, int height, const ChartMetrics& metrics,
                  const ChartCaptions& captions, bool bytesMode, int highlighted)
        : chart_(chart),
          width_(width),
          height_(height),
          metrics_(metrics),
          captions_(captions),
          bytesMode_(bytesMode),
          highlighted_(highlighted),
          month_(chart.kind == HistoryChart::Kind::kMonth) {}

    ChartGeometry Run() {
        if (!chart_.HasRecords())
            return NoData();
        LayOutFigures();
        LayOutAllowanceFigures();
        ChooseScale();
        LayOutPlot();
        LayOutGridlines();
        LayOutBars();
        LayOutAllowanceLine();
        AddValueLabelObstacles();
        LayOutForecast();
        LayOutLargestTotal();
        geometry_.valueLabels = valueLabels_;
        LayOutLegend();
        return geometry_;
    }

private:
    int Px(int pixels) const { return metrics_.Px(pixels); }
    int TextHeight() const { return metrics_.textHeight; }
    int WidthOf(const std::string& text) const { return metrics_.textWidth(text); }
    ChartRect BoxOf(const ChartText& text) const { return TextBox(text, WidthOf(text.text), TextHeight()); }
    std::string Volume(double bytes) const { return history::FormatVolume(bytes, false, bytesMode_); }
    int YOf(double bytes) const {
        return geometry_.plot.bottom - HeightOf(bytes, geometry_.scale.Top(), geometry_.plot.Height());
    }
    void AddLineObstacle(int y) {
        obstacles_.push_back(ChartRect{geometry_.plot.left, y, geometry_.plot.right, y + 1});
    }

    ChartGeometry NoData() {
        geometry_.noData = true;
        geometry_.noDataText =
            ChartText{captions_.noData, width_ / 2, (height_ - TextHeight()) / 2, ChartText::Align::kCentre};
        return geometry_;
    }

    std::vector<std::string> BarPieces(const ChartBar& bar) const {
        std::vector<std::string> pieces = BarFiguresIn(bar, captions_, bytesMode_);
        pieces.insert(pieces.begin(), bar.name);
        return pieces;
    }

    int BottomOf(const std::vector<std::string>& pieces) const {
        return FlowFigures(pieces, width_, metrics_).back().y + TextHeight();
    }

    // The figures at the top: the highlighted bar's, or the period's with its average. Their room
    // is what the longest of them all needs, so that the plot stays put as the highlight moves.
    void LayOutFigures() {
        const ChartBar total = chart_.Total();
        std::vector<std::string> pieces = BarFiguresIn(total, captions_, bytesMode_);
        const int periods = std::max(1, chart_.BarsWithRecords());
        pieces.push_back((month_ ? captions_.perDay : captions_.perMonth) + " " +
                         Volume((Drawable(total.downloadBytes) + Drawable(total.uploadBytes)) / periods));
        figuresBottom_ = BottomOf(pieces);
        for (const ChartBar& bar : chart_.bars) {
            if (bar.hasRecords)
                figuresBottom_ = std::max(figuresBottom_, BottomOf(BarPieces(bar)));
        }
        if (highlighted_ >= 0 && static_cast<std::size_t>(highlighted_) < chart_.bars.size())
            pieces = BarPieces(chart_.bars[highlighted_]);
        geometry_.figures = FlowFigures(pieces, width_, metrics_);
    }

    // The allowance's figures on the lines under the period's.
    void LayOutAllowanceFigures() {
        const ChartAllowance& allowance = chart_.allowance;
        if (!allowance.shown || !allowance.hasFigures)
            return;
        std::vector<std::string> texts;
        for (const AllowancePiece& piece : AllowancePieces(allowance.figures, captions_.allowance)) {
            texts.push_back(piece.text);
            geometry_.allowanceWarnings.push_back(piece.warning);
        }
        geometry_.allowanceFigures = FlowFigures(texts, width_, metrics_);
        for (ChartText& figure : geometry_.allowanceFigures)
            figure.y += figuresBottom_ + kAllowanceGap - kPad;
        figuresBottom_ = geometry_.allowanceFigures.back().y + TextHeight();
    }

    void FindLargest() {
        for (std::size_t i = 0; i < chart_.bars.size(); ++i) {
            const double total = Drawable(chart_.bars[i].downloadBytes) + Drawable(chart_.bars[i].uploadBytes);
            if (total > largest_) {
                largest_ = total;
                largestBar_ = i;
            }
        }
    }

    // The scale holds the highest bar, the forecast and the allowance's line.
    void ChooseScale() {
        FindLargest();
        const ChartForecast& forecast = chart_.forecast;
        hasForecast_ = forecast.shown && forecast.monthDays > 0 && forecast.elapsedDays > 0 &&
                       (month_ || forecast.bar < chart_.bars.size());
        double scaled = largest_;
        if (hasForecast_)
            scaled = std::max(scaled, Drawable(month_ ? forecast.PerDay() : forecast.Total()));
        // The allowance's line: a month's even daily share, a year's whole allowance.
        const ChartAllowance& allowance = chart_.allowance;
        if (allowance.shown && (!month_ || allowance.hasFigures))
            lineValue_ = month_ ? allowance.figures.EvenShare() : allowance.allowance.Bytes();
        scaled = std::max(scaled, lineValue_);
        geometry_.scale = ChooseValueScale(scaled, bytesMode_);
    }

    // From the bottom: the legend, the Sunday marks of a month, the category labels; on the left
    // the widest gridline label.
    void LayOutPlot() {
        int labelWidth = 0;
        for (int k = 1; k <= geometry_.scale.lines; ++k) {
            gridLabels_.push_back(ValueLabel(geometry_.scale, k, bytesMode_));
            labelWidth = std::max(labelWidth, WidthOf(gridLabels_.back()));
        }
        const int pad = Px(kPad);
        legendTop_ = height_ - pad - TextHeight();
        const int marks = month_ ? metrics_.markSize + Px(kMarkGap) : 0;
        ChartRect& plot = geometry_.plot;
        bandTop_ = figuresBottom_ + Px(kBandGap);
        plot.left = pad + labelWidth + Px(kAxisGap);
        plot.right = std::max(plot.left + 1, width_ - 2 * pad);
        plot.top = bandTop_ + TextHeight() + Px(kLabelRoom);
        plot.bottom = std::max(plot.top + 1, legendTop_ - Px(kLegendGap) - marks - TextHeight() - Px(kCategoryGap));
        obstacles_.push_back(ChartRect{plot.left - 1, plot.top, plot.left, plot.bottom + 1});      // value axis
        obstacles_.push_back(ChartRect{plot.left - 1, plot.bottom, plot.right, plot.bottom + 1});  // baseline
        bounds_ = ChartRect{plot.left + Px(kBoundsInset), bandTop_, width_ - Px(kRightInset), plot.bottom - 1};
    }

    // The gridline labels from the top down, each only where it keeps clear of the one above.
    void LayOutGridlines() {
        const ChartRect& plot = geometry_.plot;
        const int lines = geometry_.scale.lines;
        ChartRect above;
        for (int k = lines; k >= 1; --k) {
            const int y = plot.bottom - static_cast<int>(std::lround(static_cast<double>(k) / lines * plot.Height()));
            geometry_.gridlines.insert(geometry_.gridlines.begin(), y);
            AddLineObstacle(y);
            const ChartText label{gridLabels_[k - 1], plot.left - Px(kAxisGap), y - TextHeight() / 2,
                                  ChartText::Align::kRight};
            const ChartRect box = BoxOf(label);
            if (above.Empty() || !Grown(box, 1).Intersects(above)) {
                valueLabels_.insert(valueLabels_.begin(), label);
                above = box;
            }
        }
    }

    // The bar's download part standing on the baseline and its upload part on top; each part that
    // holds anything keeps a pixel, so that something is never drawn as nothing.
    ChartBarShape ShapeOf(std::size_t i, double slot, int barWidth) const {
        const ChartBar& bar = chart_.bars[i];
        const ChartRect& plot = geometry_.plot;
        const double top = geometry_.scale.Top();
        ChartBarShape shape;
        shape.marked = bar.marked;
        shape.highlighted = static_cast<int>(i) == highlighted_;
        shape.slot = ChartRect{plot.left + static_cast<int>(std::lround(i * slot)), plot.top,
                               plot.left + static_cast<int>(std::lround((i + 1) * slot)), plot.bottom};
        const int left = plot.left + static_cast<int>(std::lround(i * slot + (slot - barWidth) / 2));
        const double download = Drawable(bar.downloadBytes), upload = Drawable(bar.uploadBytes);
        int total = HeightOf(download + upload, top, plot.Height());
        int lower = std::min(total, HeightOf(download, top, plot.Height()));
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
        return shape;
    }

    // Under each bar its label (as many as fit side by side) and a month's Sunday mark; over a bar
    // that leaves an impossible volume out, a "!".
    void LayOutBarMarks(std::size_t i, const ChartBarShape& shape, int labelEvery) {
        const ChartBar& bar = chart_.bars[i];
        const ChartRect& plot = geometry_.plot;
        const int centre = (shape.slot.left + shape.slot.right) / 2;
        if (bar.impossible) {
            const ChartText mark{"!", centre, std::max(plot.top, shape.upload.top - TextHeight() - 1),
                                 ChartText::Align::kCentre};
            geometry_.impossibleMarks.push_back(mark);
            obstacles_.push_back(BoxOf(mark));
        }
        const int labelTop = plot.bottom + Px(kCategoryGap);
        if (i % static_cast<std::size_t>(labelEvery) == 0) {
            ChartText label{bar.label, centre, labelTop, ChartText::Align::kCentre};
            KeepInside(label, WidthOf(bar.label), width_);
            geometry_.categoryLabels.push_back(label);
        }
        if (bar.sunday && month_)
            geometry_.sundayMarks.push_back({centre - metrics_.markSize / 2, labelTop + TextHeight() + Px(kMarkGap)});
    }

    void LayOutBars() {
        const double slot = static_cast<double>(geometry_.plot.Width()) / static_cast<double>(chart_.bars.size());
        const int barWidth = std::max(1, static_cast<int>(slot * kBarShare));
        int widestLabel = 0;
        for (const ChartBar& bar : chart_.bars)
            widestLabel = std::max(widestLabel, WidthOf(bar.label));
        const int labelEvery = std::max(1, static_cast<int>(std::ceil((widestLabel + Px(kLabelSpacing)) / slot)));
        for (std::size_t i = 0; i < chart_.bars.size(); ++i) {
            const ChartBarShape shape = ShapeOf(i, slot, barWidth);
            geometry_.bars.push_back(shape);
            obstacles_.push_back(
                ChartRect{shape.upload.left, shape.upload.top, shape.upload.right, geometry_.plot.bottom});
            LayOutBarMarks(i, shape, labelEvery);
        }
    }

    // The allowance's dashed line and an outline around each bar that counts above it.
    void LayOutAllowanceLine() {
        if (!(lineValue_ > 0))
            return;
        const ChartRect& plot = geometry_.plot;
        const int y = YOf(lineValue_);
        geometry_.hasAllowanceLine = true;
        geometry_.allowanceLine = ChartGeometry::Line{y, plot.left, plot.right};
        AddLineObstacle(y);
        for (std::size_t i = 0; i < chart_.bars.size(); ++i) {
            const ChartBar& bar = chart_.bars[i];
            if (CountedVolume(chart_.allowance.allowance, bar.downloadBytes, bar.uploadBytes) <= lineValue_)
                continue;
            const ChartBarShape& shape = geometry_.bars[i];
            geometry_.overBars.push_back(i);
            geometry_.overOutlines.push_back(
                ChartRect{shape.upload.left - 1, shape.upload.top - 1, shape.upload.right + 1, plot.bottom});
        }
    }

    void AddValueLabelObstacles() {
        for (const ChartText& label : valueLabels_)
            obstacles_.push_back(BoxOf(label));
    }

    // Left edges: centred over the column, then beside it on the right, then on the left; each
    // kept right of the value axis.
    std::vector<int> LeftsBeside(const ChartRect& column, int w) const {
        const int centred = std::max(bounds_.left, (column.left + column.right) / 2 - w / 2);
        return std::vector<int>{std::min(centred, std::max(bounds_.left, bounds_.right - w)),
                                column.right + Px(kBesideGap), column.left - Px(kBesideGap) - w};
    }

    // Nowhere clear: above the bar all the same, and the gridline labels it would touch go.
    void PlaceOverlapping(ChartText& text, int firstLeft, int preferredTop, int w) {
        text.x = std::clamp(firstLeft, bounds_.left, std::max(bounds_.left, bounds_.right - w));
        text.y = std::max(bandTop_, preferredTop);
        const ChartRect box = Grown(TextBox(text, w, TextHeight()), 1);
        valueLabels_.erase(std::remove_if(valueLabels_.begin(), valueLabels_.end(),
                                          [&](const ChartText& l) { return box.Intersects(BoxOf(l)); }),
                           valueLabels_.end());
    }

    // A label inside the plot's columns, right of the value axis, between the figures and the
    // baseline; else in the band above the plot, as near the column as it is clear.
    void Place(ChartText& text, const std::vector<int>& lefts, int preferredTop) {
        const int w = WidthOf(text.text);
        const int h = TextHeight();
        int left = 0, y = 0;
        text.align = ChartText::Align::kLeft;
        std::vector<int> along;
        for (int d = 0; d < width_; d += kAlongStep) {
            along.push_back(lefts.front() + d);
            along.push_back(lefts.front() - d - kAlongStep);
        }
        const ChartRect band{bounds_.left, bandTop_, bounds_.right, geometry_.plot.top - 1};
        if (FindClearSpot(lefts, preferredTop, w, h, bounds_, obstacles_, left, y) ||
            FindClearSpot(along, band.bottom - h, w, h, band, obstacles_, left, y)) {
            text.x = left, text.y = y;
        } else {
            PlaceOverlapping(text, lefts.front(), preferredTop, w);
        }
        obstacles_.push_back(TextBox(text, w, h));
    }

    int AboveTop(int y) const { return y - TextHeight() - Px(kBesideGap); }

    // In a month a line at the forecast's average per day, in a year an outline on the month's bar
    // up to the forecast; labelled with the forecast total.
    void LayOutForecast() {
        geometry_.hasForecast = hasForecast_;
        if (!hasForecast_)
            return;
        const ChartForecast& forecast = chart_.forecast;
        const ChartRect& plot = geometry_.plot;
        geometry_.forecastLabel.text = captions_.forecast + " " + Volume(forecast.Total());
        const int w = WidthOf(geometry_.forecastLabel.text);
        if (month_) {
            const int y = YOf(forecast.PerDay());
            geometry_.forecastLine = ChartGeometry::Line{y, plot.left, plot.right};
            AddLineObstacle(y);
            Place(geometry_.forecastLabel,
                  {bounds_.right - w, bounds_.left + Px(kBesideGap), (plot.left + plot.right - w) / 2}, AboveTop(y));
        } else {
            const ChartBarShape& bar = geometry_.bars[forecast.bar];
            const int y = YOf(forecast.Total());
            const ChartRect column{bar.upload.left, std::min(y, bar.upload.top), bar.upload.right, bar.upload.top};
            geometry_.forecastOutline = column;
            obstacles_.push_back(column);
            Place(geometry_.forecastLabel, LeftsBeside(column, w), AboveTop(column.top));
        }
    }

    // The largest total, by the highest bar.
    void LayOutLargestTotal() {
        geometry_.hasLargest = largest_ > 0;
        if (!geometry_.hasLargest)
            return;
        const ChartBarShape& highest = geometry_.bars[largestBar_];
        geometry_.largestTotal.text = Volume(largest_);
        const int w = WidthOf(geometry_.largestTotal.text);
        const ChartRect column{highest.upload.left, highest.upload.top, highest.upload.right, geometry_.plot.bottom};
        Place(geometry_.largestTotal, LeftsBeside(column, w), AboveTop(column.top));
    }

    // The legend, centred: swatch, caption, gap, swatch, caption.
    void LayOutLegend() {
        const int downloadWidth = WidthOf(captions_.download);
        const int uploadWidth = WidthOf(captions_.upload);
        const int swatch = Px(kSwatch), beside = Px(kSwatchGap), gap = Px(kLegendSpacing);
        const int legendWidth = swatch + beside + downloadWidth + gap + swatch + beside + uploadWidth;
        int x = std::max(Px(kPad), (width_ - legendWidth) / 2);
        const int swatchTop = legendTop_ + (TextHeight() - swatch) / 2;
        geometry_.downloadSwatch = ChartRect{x, swatchTop, x + swatch, swatchTop + swatch};
        geometry_.downloadLegend =
            ChartText{captions_.download, x + swatch + beside, legendTop_, ChartText::Align::kLeft};
        x += swatch + beside + downloadWidth + gap;
        geometry_.uploadSwatch = ChartRect{x, swatchTop, x + swatch, swatchTop + swatch};
        geometry_.uploadLegend = ChartText{captions_.upload, x + swatch + beside, legendTop_, ChartText::Align::kLeft};
    }

    const HistoryChart& chart_;
    const int width_, height_;
    const ChartMetrics& metrics_;
    const ChartCaptions& captions_;
    const bool bytesMode_;
    const int highlighted_;
    const bool month_;

    ChartGeometry geometry_;
    std::vector<ChartRect> obstacles_;     // what later labels keep clear of
    std::vector<ChartText> valueLabels_;   // the gridline labels still shown
    std::vector<std::string> gridLabels_;  // the text of every gridline, from the lowest up
    int figuresBottom_ = 0;
    int bandTop_ = 0;  // where labels above the bars may begin
    int legendTop_ = 0;
    ChartRect bounds_;  // of labels inside the plot's columns
    double largest_ = 0;
    std::size_t largestBar_ = 0;
    bool hasForecast_ = false;
    double lineValue_ = 0;  // the allowance's line, 0 for none
};
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
    return BarFiguresIn(bar, captions, history::CurrentSettings().DisplayBytes != 0);
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
                          const ChartCaptions& captions, bool bytesMode, int highlighted) {
    return ChartLayouter(chart, width, height, metrics, captions, bytesMode, highlighted).Run();
}

}  // namespace viewer
