// The chart of a year or an accounting month: a resizable window, modal over the viewer, that
// draws the bars laid out by ChartLayout into a memory bitmap and shows it in one piece. Hovering a
// bar shows its figures in a tooltip; Left and Right move a highlight from bar to bar; Ctrl+C
// copies the chart as a bitmap and Ctrl+S (or the context menu) saves it as a PNG file; A (or the
// context menu) sets the data allowance, whose lines and figures the chart then shows.
#pragma once

#include <windows.h>

#include <string>

#include "allowance_store.h"
#include "chart_layout.h"
#include "csv_export.h"
#include "gdi.h"
#include "handles.h"
#include "history_chart.h"
#include "message_map.h"
#include "prompts.h"
#include "window.h"

namespace viewer {

class ChartWindow : public winapp::Dialog {
public:
    // Messages go to `prompts` with `caption`; the image file is named through `chooser`.
    ChartWindow(HistoryChart chart, winapp::Prompts& prompts, FileChooser& chooser, std::string caption);

    // "Verlauf 2026" for a year, "November 2026" for a month, in the active language.
    std::string Title() const;
    // As last drawn.
    const ChartGeometry& geometry() const { return geometry_; }
    // The bar highlighted from the keyboard, or -1.
    int highlighted() const { return highlighted_; }
    HWND tooltip() const { return tooltip_; }
    // The DPI the chart is drawn at.
    UINT dpi() const { return dpi_; }

    // The allowance kept in `store`, worked out for the chart from `days` (the history's), with the
    // accounting months of `startDay`, seen on `today`; set before the window opens.
    void UseAllowance(AllowanceStore& store, std::vector<DayVolume> days, int startDay,
                      const history::CalendarDate& today);
    const HistoryChart& chart() const { return chart_; }

    // The name proposed for the image: "Lumetra 2026-11.png", "Lumetra 2026.png".
    static std::string ImageFileName(const HistoryChart& chart);

    static constexpr COLORREF kBackground = RGB(255, 255, 255);
    static constexpr COLORREF kDownload = RGB(31, 119, 180);
    static constexpr COLORREF kUpload = RGB(255, 127, 14);
    static constexpr COLORREF kGridline = RGB(218, 218, 218);
    static constexpr COLORREF kAxis = RGB(0, 0, 0);
    static constexpr COLORREF kMarkedDay = RGB(255, 236, 160);
    static constexpr COLORREF kHighlight = RGB(214, 228, 245);
    static constexpr COLORREF kForecast = RGB(96, 96, 96);
    static constexpr COLORREF kText = RGB(0, 0, 0);
    static constexpr COLORREF kAllowanceLine = RGB(0, 140, 70);
    static constexpr COLORREF kWarning = RGB(210, 0, 0);
    static constexpr COLORREF kImpossibleMark = RGB(200, 0, 0);
    // Smaller than this the window does not become (at 96 DPI; scaled to the window's).
    static constexpr int kMinWidth = 360;
    static constexpr int kMinHeight = 260;

protected:
    const winapp::MessageTable* Messages() const override { return &kMessages; }
    bool OnInitDialog() override;

private:
    static const winapp::MessageMap<ChartWindow> kMessages;

    bool OnPaint();
    bool OnEraseBackground(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSize(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnDpiChanged(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetDialogCode(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnKeyDown(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnContextMenu(WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnCopy();
    void OnSaveImage();
    void OnAllowance();

    // Lays the chart out for the size given and draws it.
    void Draw(HDC dc, int width, int height);
    // The tooltip's tools: one for each bar with records, over its slot.
    void UpdateTools();
    void MoveHighlight(int direction);
    // The chart as the window shows it, in a bitmap of the client area's size; null after a told failure.
    winapp::Bitmap Picture(const DWORD*& bits, int& width, int& height);

    HistoryChart chart_;
    winapp::Prompts& prompts_;
    FileChooser& chooser_;
    std::string caption_;
    ChartCaptions captions_;
    ChartGeometry geometry_;
    int highlighted_ = -1;
    winapp::ImageList marks_;  // the tree's small images, for its Sunday mark
    int markSize_ = 16;        // their side
    UINT dpi_ = 96;
    HWND tooltip_ = nullptr;  // destroyed with the window, which owns it
    std::vector<ChartRect> toolSlots_;
    bool toolTextsStale_ = false;  // the tooltips' texts changed with the allowance
    AllowanceStore* allowanceStore_ = nullptr;
    std::vector<DayVolume> days_;
    int startDay_ = 1;
    history::CalendarDate today_;
};

// The chart of the row last right-clicked in the viewer (its level, texts and item index), from
// the history read afresh (read only) with the tree's rules, shown modally over `owner`.
void ShowHistoryChart(HWND owner, winapp::Prompts& prompts, FileChooser& chooser, AllowanceStore& allowances,
                      const std::string& caption, int level, const std::string (&texts)[4], int item);

}  // namespace viewer
