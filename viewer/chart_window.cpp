#include "chart_window.h"

#include <utility>
#include <vector>

#include "app_texts.h"
#include "calendar_date.h"
#include "gdi.h"
#include "history_reading.h"
#include "history_summary.h"
#include "resource.h"
#include "resources.h"
#include "settings_store.h"

namespace viewer {
namespace {

constexpr COLORREF kSmallImagesMask = RGB(255, 0, 255);
constexpr int kSundayImage = 2;  // the tree's mark of a Sunday

RECT ToRect(const ChartRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{};
    if (!GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size))
        return static_cast<int>(text.size()) * 7;
    return size.cx;
}

void DrawChartText(HDC dc, const ChartText& text) {
    const int width = TextWidth(dc, text.text);
    int left = text.x;
    if (text.align == ChartText::Align::kCentre)
        left -= width / 2;
    else if (text.align == ChartText::Align::kRight)
        left -= width;
    TextOutA(dc, left, text.y, text.text.c_str(), static_cast<int>(text.text.size()));
}

}  // namespace

const winapp::MessageMap<ChartWindow> ChartWindow::kMessages = {
    winapp::OnPaint(&ChartWindow::OnPaint),
    winapp::OnMessage(WM_ERASEBKGND, &ChartWindow::OnEraseBackground),
    winapp::OnMessage(WM_SIZE, &ChartWindow::OnSize),
    winapp::OnMessage(WM_GETMINMAXINFO, &ChartWindow::OnGetMinMaxInfo),
};

ChartWindow::ChartWindow(HistoryChart chart) : Dialog(IDD_CHART), chart_(std::move(chart)) {}

std::string ChartWindow::Title() const {
    const std::string year = std::to_string(chart_.year);
    if (chart_.kind == HistoryChart::Kind::kYear)
        return winapp::LoadText(IDS_CHART_YEAR_TITLE, "%d", year);
    const std::string month =
        chart_.month >= 1 && chart_.month <= 12 ? history::CalendarDate::MonthNameAt(chart_.month - 1) : std::string();
    return month.empty() ? year : month + " " + year;
}

bool ChartWindow::OnInitDialog() {
    SetWindowTextA(hwnd(), Title().c_str());
    HICON icon = winapp::LoadIconResource(IDR_MAINFRAME);
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    marks_ = winapp::LoadImageList(winapp::ResourceInstance(), IDB_SMALL_IMAGES, 16, 1, kSmallImagesMask);
    return true;
}

// The whole client area is painted from the bitmap: erasing first would only flicker.
bool ChartWindow::OnEraseBackground(WPARAM, LPARAM, LRESULT& result) {
    result = 1;
    return true;
}

bool ChartWindow::OnSize(WPARAM, LPARAM, LRESULT& result) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    result = 0;
    return true;
}

bool ChartWindow::OnGetMinMaxInfo(WPARAM, LPARAM lParam, LRESULT& result) {
    auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
    limits->ptMinTrackSize.x = kMinWidth;
    limits->ptMinTrackSize.y = kMinHeight;
    result = 0;
    return true;
}

bool ChartWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(hwnd(), &paint);
    if (target == nullptr)
        return true;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width > 0 && height > 0) {
        winapp::MemoryDc memory(CreateCompatibleDC(target));
        winapp::Bitmap bitmap(memory ? CreateCompatibleBitmap(target, width, height) : nullptr);
        if (bitmap) {
            winapp::Selection selected(memory.get(), bitmap.get());
            Draw(memory.get(), width, height);
            BitBlt(target, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
        } else {
            Draw(target, width, height);  // without memory for a bitmap, straight onto the window
        }
    }
    EndPaint(hwnd(), &paint);
    return true;
}

void ChartWindow::Draw(HDC dc, int width, int height) {
    winapp::Selection font(dc, reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    TEXTMETRICA text{};
    GetTextMetricsA(dc, &text);

    ChartMetrics metrics;
    metrics.textWidth = [dc](const std::string& s) { return TextWidth(dc, s); };
    metrics.textHeight = text.tmHeight > 0 ? text.tmHeight : 13;
    const ChartCaptions captions{winapp::LoadText(history::kCaptionDownloadId),
                                 winapp::LoadText(history::kCaptionUploadId), winapp::LoadText(IDS_CHART_NO_DATA)};
    geometry_ = LayoutChart(chart_, width, height, metrics, captions);
    const ChartGeometry& g = geometry_;

    winapp::FillSolid(dc, RECT{0, 0, width, height}, kBackground);
    if (g.noData) {
        DrawChartText(dc, g.noDataText);
        return;
    }
    for (const ChartBarShape& bar : g.bars) {
        if (bar.marked)
            winapp::FillSolid(dc, ToRect(bar.slot), kMarkedDay);
    }
    for (int y : g.gridlines)
        winapp::FillSolid(dc, RECT{g.plot.left, y, g.plot.right, y + 1}, kGridline);
    for (const ChartBarShape& bar : g.bars) {
        winapp::FillSolid(dc, ToRect(bar.download), kDownload);
        winapp::FillSolid(dc, ToRect(bar.upload), kUpload);
    }
    // The axes: the value axis left of the plot, the baseline under it.
    winapp::FillSolid(dc, RECT{g.plot.left - 1, g.plot.top, g.plot.left, g.plot.bottom + 1}, kAxis);
    winapp::FillSolid(dc, RECT{g.plot.left - 1, g.plot.bottom, g.plot.right, g.plot.bottom + 1}, kAxis);

    for (const ChartText& label : g.valueLabels)
        DrawChartText(dc, label);
    for (const ChartText& label : g.categoryLabels)
        DrawChartText(dc, label);
    for (const ChartGeometry::Point& mark : g.sundayMarks) {
        if (marks_)
            ImageList_Draw(marks_.get(), kSundayImage, dc, mark.x, mark.y, ILD_TRANSPARENT);
    }
    if (g.hasLargest)
        DrawChartText(dc, g.largestTotal);

    winapp::FillSolid(dc, ToRect(g.downloadSwatch), kDownload);
    winapp::FillSolid(dc, ToRect(g.uploadSwatch), kUpload);
    DrawChartText(dc, g.downloadLegend);
    DrawChartText(dc, g.uploadLegend);
}

void ShowHistoryChart(HWND owner, winapp::Prompts& prompts, const std::string& caption, int level,
                      const std::string (&texts)[4], int item) {
    // No history yet is an empty chart; one that is there but cannot be read is told.
    std::vector<history::DayRecord> records;
    if (!ReadHistoryOrTell(owner, prompts, caption, records))
        return;
    const int startDay = history::CurrentSettings().g_History_StartDayOfMonth;
    const history::HistorySummary summary =
        history::BuildHistorySummary(records, history::CalendarDate::Today(), startDay);
    ChartWindow window(BuildHistoryChart(summary, level, texts, item, startDay));
    if (window.DoModal(owner) == -1)
        prompts.ShowMessage(owner, winapp::LoadText(IDS_CHART_FAILED), caption, MB_OK | MB_ICONWARNING);
}

}  // namespace viewer
