// The chart of a year or an accounting month: a resizable window, modal over the viewer, that
// draws the bars laid out by ChartLayout into a memory bitmap and shows it in one piece.
#pragma once

#include <windows.h>

#include <string>

#include "chart_layout.h"
#include "handles.h"
#include "history_chart.h"
#include "message_map.h"
#include "prompts.h"
#include "window.h"

namespace viewer {

class ChartWindow : public winapp::Dialog {
public:
    explicit ChartWindow(HistoryChart chart);

    // "Verlauf 2026" for a year, "November 2026" for a month, in the active language.
    std::string Title() const;
    // As last drawn.
    const ChartGeometry& geometry() const { return geometry_; }

    static constexpr COLORREF kBackground = RGB(255, 255, 255);
    static constexpr COLORREF kDownload = RGB(31, 119, 180);
    static constexpr COLORREF kUpload = RGB(255, 127, 14);
    static constexpr COLORREF kGridline = RGB(218, 218, 218);
    static constexpr COLORREF kAxis = RGB(0, 0, 0);
    static constexpr COLORREF kMarkedDay = RGB(255, 236, 160);
    static constexpr COLORREF kText = RGB(0, 0, 0);
    // Smaller than this the window does not become.
    static constexpr int kMinWidth = 320;
    static constexpr int kMinHeight = 220;

protected:
    const winapp::MessageTable* Messages() const override { return &kMessages; }
    bool OnInitDialog() override;

private:
    static const winapp::MessageMap<ChartWindow> kMessages;

    bool OnPaint();
    bool OnEraseBackground(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSize(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam, LRESULT& result);

    void Draw(HDC dc, int width, int height);

    HistoryChart chart_;
    ChartGeometry geometry_;
    winapp::ImageList marks_;  // the tree's small images, for its Sunday mark
};

// The chart of the row last right-clicked in the viewer (its level, texts and item index), from
// the history read afresh (read only) with the tree's rules, shown modally over `owner`.
void ShowHistoryChart(HWND owner, winapp::Prompts& prompts, const std::string& caption, int level,
                      const std::string (&texts)[4], int item);

}  // namespace viewer
