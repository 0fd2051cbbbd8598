#include "chart_window.h"

#include <commctrl.h>

#include <windowsx.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "allowance_dialog.h"
#include "app_texts.h"
#include "calendar_date.h"
#include "chart_image.h"
#include "csv_report.h"
#include "dpi.h"
#include "history_reading.h"
#include "history_summary.h"
#include "last_error.h"
#include "resource.h"
#include "resources.h"
#include "settings_store.h"
#include "tree_list_ctrl.h"

namespace viewer {
namespace {

constexpr int kSundayImage = 2;  // the tree's mark of a Sunday
constexpr int kDash = 5, kDashGap = 3;

using Font = winapp::UniqueHandle<HFONT, winapp::GdiObjectTraits>;

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

// The dialog font's face at the size the chart's area calls for: the area as it would be at 96 DPI
// picks the size in points, which the window's DPI makes pixels.
Font ChartFont(UINT dpi, int width, int height) {
    const int points = ChartFontPoints(winapp::Unscaled(width, dpi), winapp::Unscaled(height, dpi));
    return Font(CreateFontA(-MulDiv(points, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_SWISS, "MS Shell Dlg 2"));
}

bool ControlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

}  // namespace

const winapp::MessageMap<ChartWindow> ChartWindow::kMessages = {
    winapp::OnPaint(&ChartWindow::OnPaint),
    winapp::OnMessage(WM_ERASEBKGND, &ChartWindow::OnEraseBackground),
    winapp::OnMessage(WM_SIZE, &ChartWindow::OnSize),
    winapp::OnMessage(WM_GETMINMAXINFO, &ChartWindow::OnGetMinMaxInfo),
    winapp::OnMessage(winapp::kDpiChangedMessage, &ChartWindow::OnDpiChanged),
    winapp::OnMessage(WM_GETDLGCODE, &ChartWindow::OnGetDialogCode),
    winapp::OnMessage(WM_KEYDOWN, &ChartWindow::OnKeyDown),
    winapp::OnMessage(WM_CONTEXTMENU, &ChartWindow::OnContextMenu),
    winapp::OnCommand(ID_CHART_COPY, &ChartWindow::OnCopy),
    winapp::OnCommand(ID_CHART_SAVE, &ChartWindow::OnSaveImage),
    winapp::OnCommand(ID_CHART_ALLOWANCE, &ChartWindow::OnAllowance),
};

ChartWindow::ChartWindow(HistoryChart chart, winapp::Prompts& prompts, FileChooser& chooser, std::string caption)
    : Dialog(IDD_CHART), chart_(std::move(chart)), prompts_(prompts), chooser_(chooser), caption_(std::move(caption)) {}

std::string ChartWindow::Title() const {
    const std::string year = std::to_string(chart_.year);
    if (chart_.kind == HistoryChart::Kind::kYear)
        return winapp::LoadText(IDS_CHART_YEAR_TITLE, "%d", year);
    const std::string month =
        chart_.month >= 1 && chart_.month <= 12 ? history::CalendarDate::MonthNameAt(chart_.month - 1) : std::string();
    return month.empty() ? year : month + " " + year;
}

void ChartWindow::UseAllowance(AllowanceStore& store, std::vector<DayVolume> days, int startDay,
                               const history::CalendarDate& today) {
    allowanceStore_ = &store;
    days_ = std::move(days);
    startDay_ = startDay;
    today_ = today;
    chart_.allowance = ChartAllowanceOf(chart_, store.Load(), days_, startDay_, today_);
}

void ChartWindow::OnAllowance() {
    if (allowanceStore_ == nullptr)
        return;
    AllowanceDialog dialog(prompts_, *allowanceStore_, allowanceStore_->Load());
    const INT_PTR result = dialog.DoModal(hwnd());
    if (result == -1) {
        prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_ALLOWANCE_FAILED), caption_, MB_OK | MB_ICONWARNING);
        return;
    }
    if (result != IDOK)
        return;
    chart_.allowance = ChartAllowanceOf(chart_, dialog.allowance(), days_, startDay_, today_);
    toolTextsStale_ = true;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

std::string ChartWindow::ImageFileName(const HistoryChart& chart) {
    char name[64];
    if (chart.year < 1 || chart.year > 9999)
        return "Lumetra.png";
    if (chart.kind == HistoryChart::Kind::kYear || chart.month < 1 || chart.month > 12)
        wsprintfA(name, "Lumetra %04d.png", chart.year);
    else
        wsprintfA(name, "Lumetra %04d-%02d.png", chart.year, chart.month);
    return name;
}

bool ChartWindow::OnInitDialog() {
    SetWindowTextA(hwnd(), Title().c_str());
    HICON icon = winapp::LoadIconResource(IDR_MAINFRAME);
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    dpi_ = winapp::DpiOf(hwnd());
    marks_ = LoadSmallImages(dpi_, markSize_);
    captions_ = ChartCaptions{
        winapp::LoadText(history::kCaptionDownloadId),
        winapp::LoadText(history::kCaptionUploadId),
        winapp::LoadText(IDS_CHART_TOTAL),
        winapp::LoadText(IDS_COLUMN_ONLINE),
        winapp::LoadText(IDS_CHART_PER_DAY),
        winapp::LoadText(IDS_CHART_PER_MONTH),
        winapp::LoadText(IDS_CHART_FORECAST),
        winapp::LoadText(IDS_CHART_NO_DATA),
        AllowanceCaptions{winapp::LoadText(IDS_ALLOWANCE_FIGURE), winapp::LoadText(IDS_ALLOWANCE_USED),
                          winapp::LoadText(IDS_ALLOWANCE_LEFT), winapp::LoadText(IDS_ALLOWANCE_OVER_BY),
                          winapp::LoadText(IDS_ALLOWANCE_PER_DAY), winapp::LoadText(IDS_ALLOWANCE_PER_DAY_TODAY),
                          winapp::LoadText(IDS_ALLOWANCE_FORECAST), winapp::LoadText(IDS_ALLOWANCE_SHARE)}};

    // The bars' figures on hover; without the tooltip the chart still shows them from the keyboard.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               winapp::ResourceInstance(), nullptr);
    if (tooltip_ != nullptr)
        SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, winapp::Scaled(400, dpi_));  // several lines
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
    limits->ptMinTrackSize.x = winapp::Scaled(kMinWidth, dpi_);
    limits->ptMinTrackSize.y = winapp::Scaled(kMinHeight, dpi_);
    result = 0;
    return true;
}

// On a monitor of another DPI the window takes the place the system suggests; the font, the marks
// and the layout follow at the next paint.
bool ChartWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam, LRESULT&) {
    dpi_ = LOWORD(wParam) != 0 ? LOWORD(wParam) : winapp::DpiOf(hwnd());
    int size = 0;
    if (winapp::ImageList marks = LoadSmallImages(dpi_, size)) {
        marks_ = std::move(marks);
        markSize_ = size;
    }
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
    return false;
}

// The arrow keys move the highlight, not the focus (there is no control to move it to).
bool ChartWindow::OnGetDialogCode(WPARAM, LPARAM, LRESULT& result) {
    result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return true;
}

bool ChartWindow::OnKeyDown(WPARAM key, LPARAM, LRESULT& result) {
    result = 0;
    if (key == VK_LEFT || key == VK_RIGHT) {
        MoveHighlight(key == VK_LEFT ? -1 : 1);
    } else if (key == 'C' && ControlDown()) {
        OnCopy();
    } else if (key == 'S' && ControlDown()) {
        OnSaveImage();
    } else if (key == 'A' && !ControlDown()) {
        OnAllowance();
    } else {
        return false;
    }
    return true;
}

bool ChartWindow::OnContextMenu(WPARAM, LPARAM lParam, LRESULT& result) {
    result = 0;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) {  // from the keyboard: the middle of the chart
        RECT client{};
        GetClientRect(hwnd(), &client);
        at = POINT{client.right / 2, client.bottom / 2};
        ClientToScreen(hwnd(), &at);
    }
    winapp::Menu menu(CreatePopupMenu());
    if (!menu || !AppendMenuA(menu.get(), MF_STRING, ID_CHART_COPY, winapp::LoadText(IDS_CHART_COPY).c_str()) ||
        !AppendMenuA(menu.get(), MF_STRING, ID_CHART_SAVE, winapp::LoadText(IDS_CHART_SAVE).c_str()) ||
        (allowanceStore_ != nullptr &&
         (!AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr) ||
          !AppendMenuA(menu.get(), MF_STRING, ID_CHART_ALLOWANCE, winapp::LoadText(IDS_CHART_ALLOWANCE).c_str())))) {
        MessageBeep(MB_ICONWARNING);
        return true;
    }
    prompts_.TrackPopup(menu.get(), TPM_RIGHTBUTTON, at, hwnd());
    return true;
}

void ChartWindow::MoveHighlight(int direction) {
    const int count = static_cast<int>(chart_.bars.size());
    int i = highlighted_ < 0 ? (direction > 0 ? -1 : count) : highlighted_;
    for (i += direction; i >= 0 && i < count; i += direction) {
        if (chart_.bars[i].hasRecords) {
            highlighted_ = i;
            InvalidateRect(hwnd(), nullptr, FALSE);
            return;
        }
    }
}

winapp::Bitmap ChartWindow::Picture(const DWORD*& bits, int& width, int& height) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    width = std::max(1L, client.right - client.left);
    height = std::max(1L, client.bottom - client.top);
    winapp::Bitmap picture = DrawIntoBitmap(
        width, height, [&](HDC dc) { Draw(dc, width, height); }, bits);
    if (!picture) {
        prompts_.ShowMessage(hwnd(),
                             winapp::LoadText(IDS_CHART_IMAGE_FAILED, "%s", winapp::ErrorText(ERROR_NOT_ENOUGH_MEMORY)),
                             caption_, MB_OK | MB_ICONSTOP);
    }
    return picture;
}

void ChartWindow::OnCopy() {
    const DWORD* bits = nullptr;
    int width = 0, height = 0;
    winapp::Bitmap picture = Picture(bits, width, height);
    if (!picture)
        return;
    const DWORD error = PutDibOnClipboard(hwnd(), bits, width, height);
    if (error != 0) {
        prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_CLIPBOARD_FAILED, "%s", winapp::ErrorText(error)), caption_,
                             MB_OK | MB_ICONSTOP);
    }
}

void ChartWindow::OnSaveImage() {
    const std::string folder = DocumentsFolder();
    std::string path = (folder.empty() ? std::string() : folder + "\\") + ImageFileName(chart_);
    unsigned long error = 0;
    switch (chooser_.ChooseSaveFile(hwnd(), winapp::LoadText(IDS_CHART_SAVE_TITLE), winapp::LoadText(IDS_PNG_FILTER),
                                    "png", path, error)) {
        case FileChooser::kChosen:
            break;
        case FileChooser::kCancelled:
            return;
        case FileChooser::kFailed:
            prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_SAVE_DIALOG_FAILED, "%u", std::to_string(error)),
                                 caption_, MB_OK | MB_ICONSTOP);
            return;
    }
    const DWORD* bits = nullptr;
    int width = 0, height = 0;
    const winapp::Bitmap picture = Picture(bits, width, height);
    if (!picture)
        return;
    std::string png;
    const HRESULT encoded = EncodePng(bits, width, height, png);
    if (FAILED(encoded)) {
        prompts_.ShowMessage(hwnd(), winapp::LoadText(IDS_CHART_IMAGE_FAILED, "%s", ResultText(encoded)), caption_,
                             MB_OK | MB_ICONSTOP);
        return;
    }
    unsigned long writeError = 0;
    if (!report::WriteFileReplacing(path, png, history::RealFileSystem(), &writeError)) {
        prompts_.ShowMessage(hwnd(),
                             winapp::WithErrorText(winapp::LoadText(IDS_PNG_WRITE_FAILED, "%s", path), writeError),
                             caption_, MB_OK | MB_ICONSTOP);
    }
}

bool ChartWindow::OnPaint() {
    const winapp::PaintDc paint(hwnd());
    HDC target = paint.get();
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
        UpdateTools();
    }
    return true;
}

void ChartWindow::UpdateTools() {
    if (tooltip_ == nullptr)
        return;
    std::vector<ChartRect> slots;
    for (const ChartBarShape& bar : geometry_.bars)
        slots.push_back(bar.slot);
    auto same = [](const ChartRect& a, const ChartRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    if (!toolTextsStale_ && slots.size() == toolSlots_.size() &&
        std::equal(slots.begin(), slots.end(), toolSlots_.begin(), same))
        return;
    toolTextsStale_ = false;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = hwnd();
    for (std::size_t i = 0; i < toolSlots_.size(); ++i) {
        tool.uId = i;
        SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    toolSlots_.clear();
    for (std::size_t i = 0; i < slots.size() && i < chart_.bars.size(); ++i) {
        if (!chart_.bars[i].hasRecords)
            continue;
        std::string text = BarTooltip(chart_, i, captions_);
        tool.uFlags = TTF_SUBCLASS;
        tool.uId = i;
        tool.rect = ToRect(slots[i]);
        tool.lpszText = text.data();
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    toolSlots_ = slots;
}

void ChartWindow::Draw(HDC dc, int width, int height) {
    Font font = ChartFont(dpi_, width, height);
    winapp::Selection selectedFont(
        dc, font ? static_cast<HGDIOBJ>(font.get()) : reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    TEXTMETRICA text{};
    GetTextMetricsA(dc, &text);

    ChartMetrics metrics;
    metrics.textWidth = [dc](const std::string& s) { return TextWidth(dc, s); };
    metrics.textHeight = text.tmHeight > 0 ? text.tmHeight : 13;
    metrics.markSize = markSize_;
    metrics.dpi = static_cast<int>(dpi_);
    geometry_ = LayoutChart(chart_, width, height, metrics, captions_, history::CurrentSettings().DisplayBytes != 0,
                            highlighted_);
    const ChartGeometry& g = geometry_;

    winapp::FillSolid(dc, RECT{0, 0, width, height}, kBackground);
    if (g.noData) {
        DrawChartText(dc, g.noDataText);
        return;
    }
    for (const ChartBarShape& bar : g.bars) {
        if (bar.highlighted || bar.marked)
            winapp::FillSolid(dc, ToRect(bar.slot), bar.highlighted ? kHighlight : kMarkedDay);
    }
    for (int y : g.gridlines)
        winapp::FillSolid(dc, RECT{g.plot.left, y, g.plot.right, y + 1}, kGridline);
    for (const ChartBarShape& bar : g.bars) {
        winapp::FillSolid(dc, ToRect(bar.download), kDownload);
        winapp::FillSolid(dc, ToRect(bar.upload), kUpload);
    }
    if (g.hasForecast) {
        const ChartRect& o = g.forecastOutline;
        if (!o.Empty()) {  // the part still to come: outlined, not filled
            winapp::FillSolid(dc, RECT{o.left, o.top, o.right, o.top + 1}, kForecast);
            winapp::FillSolid(dc, RECT{o.left, o.top, o.left + 1, o.bottom}, kForecast);
            winapp::FillSolid(dc, RECT{o.right - 1, o.top, o.right, o.bottom}, kForecast);
        }
        for (int x = g.forecastLine.left; x < g.forecastLine.right; x += kDash + kDashGap) {
            winapp::FillSolid(
                dc, RECT{x, g.forecastLine.y, std::min(x + kDash, g.forecastLine.right), g.forecastLine.y + 1},
                kForecast);
        }
    }
    // The allowance: its dashed line, and the bars above it outlined in the warning colour.
    if (g.hasAllowanceLine) {
        for (int x = g.allowanceLine.left; x < g.allowanceLine.right; x += kDash + kDashGap) {
            winapp::FillSolid(
                dc, RECT{x, g.allowanceLine.y, std::min(x + kDash, g.allowanceLine.right), g.allowanceLine.y + 1},
                kAllowanceLine);
        }
    }
    for (const ChartRect& o : g.overOutlines) {
        winapp::FillSolid(dc, RECT{o.left, o.top, o.right, o.top + 1}, kWarning);
        winapp::FillSolid(dc, RECT{o.left, o.top, o.left + 1, o.bottom}, kWarning);
        winapp::FillSolid(dc, RECT{o.right - 1, o.top, o.right, o.bottom}, kWarning);
    }
    // The axes: the value axis left of the plot, the baseline under it.
    winapp::FillSolid(dc, RECT{g.plot.left - 1, g.plot.top, g.plot.left, g.plot.bottom + 1}, kAxis);
    winapp::FillSolid(dc, RECT{g.plot.left - 1, g.plot.bottom, g.plot.right, g.plot.bottom + 1}, kAxis);

    for (const ChartText& figure : g.figures)
        DrawChartText(dc, figure);
    for (std::size_t i = 0; i < g.allowanceFigures.size(); ++i) {
        SetTextColor(dc, i < g.allowanceWarnings.size() && g.allowanceWarnings[i] ? kWarning : kText);
        DrawChartText(dc, g.allowanceFigures[i]);
    }
    SetTextColor(dc, kText);
    for (const ChartText& label : g.valueLabels)
        DrawChartText(dc, label);
    for (const ChartText& label : g.categoryLabels)
        DrawChartText(dc, label);
    for (const ChartGeometry::Point& mark : g.sundayMarks) {
        if (marks_)
            ImageList_Draw(marks_.get(), kSundayImage, dc, mark.x, mark.y, ILD_TRANSPARENT);
    }
    SetTextColor(dc, kImpossibleMark);
    for (const ChartText& mark : g.impossibleMarks)
        DrawChartText(dc, mark);
    SetTextColor(dc, kText);
    if (g.hasLargest)
        DrawChartText(dc, g.largestTotal);
    if (g.hasForecast) {
        // Red where the pace goes above the allowance.
        SetTextColor(dc, chart_.allowance.hasFigures && chart_.allowance.figures.ForecastOver() ? kWarning : kForecast);
        DrawChartText(dc, g.forecastLabel);
        SetTextColor(dc, kText);
    }

    winapp::FillSolid(dc, ToRect(g.downloadSwatch), kDownload);
    winapp::FillSolid(dc, ToRect(g.uploadSwatch), kUpload);
    DrawChartText(dc, g.downloadLegend);
    DrawChartText(dc, g.uploadLegend);
}

void ShowHistoryChart(HWND owner, winapp::Prompts& prompts, FileChooser& chooser, AllowanceStore& allowances,
                      const std::string& caption, int level, const std::string (&texts)[4], int item) {
    // No history yet is an empty chart; one that is there but cannot be read is told.
    std::vector<history::DayRecord> records;
    if (!ReadHistoryOrTell(owner, prompts, caption, records))
        return;
    const int startDay = history::CurrentSettings().g_History_StartDayOfMonth;
    const history::CalendarDate today = history::CalendarDate::Today();
    const history::HistorySummary summary = history::BuildHistorySummary(records, today, startDay);
    ChartWindow window(BuildHistoryChart(summary, level, texts, item, startDay, today), prompts, chooser, caption);
    window.UseAllowance(allowances, DayVolumesOf(records), startDay, today);
    if (window.DoModal(owner) == -1)
        prompts.ShowMessage(owner, winapp::LoadText(IDS_CHART_FAILED), caption, MB_OK | MB_ICONWARNING);
}

}  // namespace viewer
