// "Diagramm" from the viewer's context menus: the chart window on the screen, modal over the
// viewer, with bar heights and colours read back pixel by pixel for a year and a month of known
// values. The expectations come from the pixels and the values alone, not from the layout code.
#include "chart_window.h"

#include <objbase.h>

#include <gtest/gtest.h>
#include <wincodec.h>

#include <cmath>
#include <string>
#include <vector>

#include "modal_test_support.h"
#include "screen_pixels.h"
#include "viewer_test_fixture.h"

namespace viewer {
namespace {

using history::Day;

constexpr double kGiB = 1073741824.0;
constexpr double kMiB = 1048576.0;

// The client area of a window as it is on the screen.
winapp::ScreenPixels CaptureClient(HWND window) {
    UpdateWindow(window);
    return winapp::CaptureScreenPixels(window);
}

// Text pixels: black, or dark where the font is smoothed.
bool Dark(COLORREF c) {
    return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
}

// What the pixels say about the chart.
struct Reading {
    int baseline = -1;  // the row of the longest black line
    int plotLeft = 0, plotRight = 0;
    int topGridline = -1;
    int gridlines = 0;
    struct Bar {
        int centre;
        int download;  // pixels of the download colour from the baseline up
        int upload;    // then of the upload colour
        int top;
    };
    std::vector<Bar> bars;
};

Reading Read(const winapp::ScreenPixels& shot) {
    Reading r;
    int longest = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0, run = 0; x < shot.width; ++x) {
            run = shot.ColourAt(x, y) == ChartWindow::kAxis ? run + 1 : 0;
            if (run > longest) {
                longest = run;
                r.baseline = y;
                r.plotRight = x + 1;
                r.plotLeft = x + 1 - run + 1;  // the axis line starts one left of the plot
            }
        }
    }
    if (r.baseline < 0)
        return r;
    for (int x = r.plotLeft; x < r.plotRight; ++x) {
        if (shot.ColourAt(x, r.baseline - 1) != ChartWindow::kDownload)
            continue;
        int end = x;
        while (end < r.plotRight && shot.ColourAt(end, r.baseline - 1) == ChartWindow::kDownload)
            ++end;
        Reading::Bar bar{(x + end - 1) / 2, 0, 0, 0};
        int y = r.baseline - 1;
        while (y >= 0 && shot.ColourAt(bar.centre, y) == ChartWindow::kDownload)
            --y, ++bar.download;
        while (y >= 0 && shot.ColourAt(bar.centre, y) == ChartWindow::kUpload)
            --y, ++bar.upload;
        bar.top = y + 1;
        r.bars.push_back(bar);
        x = end;
    }
    // The gridlines, in the first column of the plot (left of the first bar).
    for (int y = r.baseline - 1; y >= 0; --y) {
        if (shot.ColourAt(r.plotLeft + 1, y) == ChartWindow::kGridline) {
            ++r.gridlines;
            r.topGridline = y;
        }
    }
    return r;
}

class ChartWindowTest : public testing::ViewerFixture {
protected:
    // Chooses the chart from the clicked row's menu; `check` runs while the window is open, which
    // is then closed with Escape.
    void ShowChartOf(const std::string& row, const std::string& title, const std::function<void(HWND)>& check) {
        const int index = RowWithText(row);
        ASSERT_NE(index, -1) << row;
        RightClickRow(index);
        bool closed = false;
        testing::WhenWindowShows whenShown(title, [&](HWND chart) {
            EXPECT_FALSE(IsWindowEnabled(dialog_->hwnd())) << "not modal";
            EXPECT_EQ(GetWindow(chart, GW_OWNER), dialog_->hwnd());
            check(chart);
            PostMessageA(chart, WM_KEYDOWN, VK_ESCAPE, 0);
            closed = true;
        });
        SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_CHART, 0), 0);
        EXPECT_TRUE(whenShown.acted()) << "no window titled " << title;
        EXPECT_TRUE(closed);
        EXPECT_EQ(testing::ThreadWindowTitled(title), nullptr) << "Escape did not close it";
        EXPECT_TRUE(IsWindowEnabled(dialog_->hwnd()));
    }

    // Bars in proportion to `values` (download, upload) on a scale of `top` bytes, within a pixel.
    static void ExpectBars(const Reading& r, const std::vector<std::pair<double, double>>& values, double top) {
        ASSERT_EQ(r.bars.size(), values.size());
        const double height = r.baseline - r.topGridline;
        for (std::size_t i = 0; i < values.size(); ++i) {
            EXPECT_NEAR(r.bars[i].download, values[i].first / top * height, 1.0) << "bar " << i;
            EXPECT_NEAR(r.bars[i].download + r.bars[i].upload, (values[i].first + values[i].second) / top * height, 1.0)
                << "bar " << i;
        }
    }

    // The slot of `slots` equal ones across the plot that a bar's centre lies in.
    static int SlotOf(const Reading& r, const Reading::Bar& bar, int slots) {
        return (bar.centre - r.plotLeft) * slots / (r.plotRight - r.plotLeft);
    }
};

TEST_F(ChartWindowTest, AYearInProportionWithItsLargestTotal) {
    folder_.WriteHistory({Day(2024, 1, 3, 0.5 * kGiB, 0.25 * kGiB), Day(2024, 1, 10, 0.5 * kGiB, 0.25 * kGiB),
                          Day(2024, 3, 1, 3 * kGiB, 0.7 * kGiB), Day(2024, 6, 30, 0.25 * kGiB, 0.25 * kGiB),
                          Day(2024, 12, 31, 2 * kGiB, 1 * kGiB), Day(2025, 1, 1, 9 * kGiB, 9 * kGiB)});
    Open();
    ShowChartOf("2024", "Verlauf 2024", [&](HWND chart) {
        const winapp::ScreenPixels shot = CaptureClient(chart);
        const Reading r = Read(shot);
        ASSERT_GT(r.baseline, 0);
        // 3.7 GB at most: four gridlines a gigabyte apart.
        EXPECT_EQ(r.gridlines, 4);
        ExpectBars(r, {{1 * kGiB, 0.5 * kGiB}, {3 * kGiB, 0.7 * kGiB}, {0.25 * kGiB, 0.25 * kGiB}, {2 * kGiB, kGiB}},
                   4 * kGiB);
        std::vector<int> months;
        for (const Reading::Bar& bar : r.bars)
            months.push_back(SlotOf(r, bar, 12) + 1);
        EXPECT_EQ(months, (std::vector<int>{1, 3, 6, 12}));
        // The total written above March's bar, and above no other.
        auto textAbove = [&](const Reading::Bar& bar) {
            for (int y = std::max(0, bar.top - 16); y < bar.top - 1; ++y) {
                for (int x = bar.centre - 3; x <= bar.centre + 3; ++x) {
                    if (Dark(shot.ColourAt(x, y)))
                        return true;
                }
            }
            return false;
        };
        EXPECT_TRUE(textAbove(r.bars[1]));
        EXPECT_FALSE(textAbove(r.bars[0]));
        EXPECT_FALSE(textAbove(r.bars[3]));
    });
}

TEST_F(ChartWindowTest, AMonthFromADayRowWithTheDayAndTheSundaysMarked) {
    UseLanguage(testing::Language::English);
    folder_.WriteHistory({Day(2024, 4, 30, 9 * kGiB, 0), Day(2024, 5, 5, 100 * kMiB, 50 * kMiB),
                          Day(2024, 5, 9, 200 * kMiB, 100 * kMiB), Day(2024, 5, 20, 300 * kMiB, 100 * kMiB),
                          Day(2024, 6, 1, 9 * kGiB, 0)});
    Open();
    SelectRow(RowWithText("May"));
    SendMessageA(List(), WM_KEYDOWN, VK_ADD, 1);
    ShowChartOf("05/09/2024", "May 2024", [&](HWND chart) {
        const winapp::ScreenPixels shot = CaptureClient(chart);
        const Reading r = Read(shot);
        ASSERT_GT(r.baseline, 0);
        EXPECT_EQ(r.gridlines, 4);  // 100 MB apart
        ExpectBars(r, {{100 * kMiB, 50 * kMiB}, {200 * kMiB, 100 * kMiB}, {300 * kMiB, 100 * kMiB}}, 400 * kMiB);
        std::vector<int> days;
        for (const Reading::Bar& bar : r.bars)
            days.push_back(SlotOf(r, bar, 31) + 1);
        ASSERT_EQ(days, (std::vector<int>{5, 9, 20}));
        // The clicked day's column is marked above its bar, the others' are not.
        const int middle = (r.bars[1].top + r.topGridline) / 2;
        EXPECT_EQ(shot.ColourAt(r.bars[1].centre, middle), ChartWindow::kMarkedDay);
        EXPECT_EQ(shot.ColourAt(r.bars[0].centre, middle), ChartWindow::kBackground);
        // The tree's red Sunday mark under the Sundays 5, 12, 19 and 26 May, and under no other day.
        const double slot = (r.plotRight - r.plotLeft) / 31.0;
        auto redBelow = [&](int day) {
            const int x = r.plotLeft + static_cast<int>((day - 0.5) * slot);
            for (int y = r.baseline + 1; y < std::min(shot.height, r.baseline + 40); ++y) {
                const COLORREF c = shot.ColourAt(x, y);
                if (GetRValue(c) > 180 && GetGValue(c) < 60 && GetBValue(c) < 60)
                    return true;
            }
            return false;
        };
        for (int day = 1; day <= 31; ++day)
            EXPECT_EQ(redBelow(day), day % 7 == 5) << "day " << day;
    });
}

// Days of an infinite and of a 1e300-byte download draw no bar and leave the scale to the possible
// volumes; a red mark stands over each of them.
TEST_F(ChartWindowTest, ImpossibleVolumesLeaveTheScaleToThePossibleOnes) {
    folder_.WriteHistory({Day(2024, 5, 5, 100 * kMiB, 50 * kMiB), Day(2024, 5, 8, HUGE_VAL, 0),
                          Day(2024, 5, 9, 200 * kMiB, 100 * kMiB), Day(2024, 5, 14, 1e300, 0),
                          Day(2024, 5, 20, 300 * kMiB, 100 * kMiB)});
    Open();
    ASSERT_EQ(prompts_.messages.size(), 1u);  // the history's impossible volumes, told
    ShowChartOf("Mai", "Mai 2024", [&](HWND chart) {
        const winapp::ScreenPixels shot = CaptureClient(chart);
        const Reading r = Read(shot);
        ASSERT_GT(r.baseline, 0);
        EXPECT_EQ(r.gridlines, 4);  // 100 MB apart, as without the two days
        ExpectBars(r, {{100 * kMiB, 50 * kMiB}, {200 * kMiB, 100 * kMiB}, {300 * kMiB, 100 * kMiB}}, 400 * kMiB);
        const double slot = (r.plotRight - r.plotLeft) / 31.0;
        auto markOver = [&](int day) {
            for (int x = r.plotLeft + static_cast<int>((day - 1) * slot); x < r.plotLeft + static_cast<int>(day * slot);
                 ++x) {
                for (int y = r.topGridline; y < r.baseline; ++y) {
                    if (shot.ColourAt(x, y) == ChartWindow::kImpossibleMark)
                        return true;
                }
            }
            return false;
        };
        for (int day = 1; day <= 31; ++day)
            EXPECT_EQ(markOver(day), day == 8 || day == 14) << "day " << day;
    });
}

// Notes the thread's tooltip window in the HWND that `found` points to.
BOOL CALLBACK NoteTooltip(HWND window, LPARAM found) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == TOOLTIPS_CLASSA)
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

// Names the file without a dialog.
class ChosenImage : public FileChooser {
public:
    Result ChooseSaveFile(HWND, const std::string& title, const std::string&, const std::string& extension,
                          std::string& path, unsigned long&) override {
        titles.push_back(title + " ." + extension);
        proposed.push_back(path);
        path = chosen;
        return kChosen;
    }
    std::string chosen;
    std::vector<std::string> titles, proposed;
};

// A PNG file read back by the system's imaging component: its size and its pixels (0xRRGGBB).
struct Image {
    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;
    COLORREF At(int x, int y) const { return winapp::ColourOfPixel(pixels[static_cast<std::size_t>(y) * width + x]); }
};

Image ReadPng(const std::string& path) {
    Image image;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    const std::wstring name(path.begin(), path.end());
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(name.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&image.width, &image.height))) {
        image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
        if (FAILED(converter->CopyPixels(nullptr, image.width * 4, image.width * image.height * 4,
                                         reinterpret_cast<BYTE*>(image.pixels.data()))))
            image = Image();
    }
    for (IUnknown* object : std::initializer_list<IUnknown*>{converter, frame, decoder, factory}) {
        if (object != nullptr)
            object->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return image;
}

// The chart as a tool: a bar's figures on hover and from the keyboard, the picture on the
// clipboard after Ctrl+C and in a PNG file after Ctrl+S, each read back.
TEST_F(ChartWindowTest, TooltipHighlightClipboardAndPngOfTheChart) {
    folder_.WriteHistory({Day(2024, 5, 5, 100 * kMiB, 50 * kMiB, 3725), Day(2024, 5, 9, 200 * kMiB, 100 * kMiB, 60),
                          Day(2024, 5, 20, 500 * kMiB, 100 * kMiB, 60)});
    Open();
    ChosenImage chooser;
    chooser.chosen = folder_.path() + "\\chart.png";
    dialog_->setFileChooser(chooser);
    RECT client{};
    Reading r;
    ShowChartOf("Mai", "Mai 2024", [&](HWND chart) {
        GetClientRect(chart, &client);
        r = Read(CaptureClient(chart));
        ASSERT_EQ(r.bars.size(), 3u);

        // The tooltip's text of the first bar, as hovering it shows it.
        HWND tooltip = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), NoteTooltip, reinterpret_cast<LPARAM>(&tooltip));
        ASSERT_NE(tooltip, nullptr);
        TTHITTESTINFOA hit{};
        hit.hwnd = chart;
        hit.pt = POINT{r.bars[0].centre, r.baseline - 2};
        hit.ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ASSERT_TRUE(SendMessageA(tooltip, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)));
        // (The ANSI form of the query gives at most 80 characters.)
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = hit.ti.hwnd;
        tool.uId = hit.ti.uId;
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text),
                  L"05.05.2024\r\nDownload 100.0 MB\r\nUpload 50.0 MB\r\nSumme 150.0 MB\r\nOnlinezeit 01:02:05");
        hit.pt = POINT{r.plotLeft + (r.plotRight - r.plotLeft) / 62, r.baseline - 2};  // the 1st: no day row
        EXPECT_FALSE(SendMessageA(tooltip, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)));

        // Right highlights the first bar with a day row, Right again the next.
        EXPECT_TRUE(SendMessageA(chart, WM_GETDLGCODE, VK_RIGHT, 0) & DLGC_WANTARROWS);
        const int above = (r.bars[0].top + r.topGridline) / 2;
        SendMessageA(chart, WM_KEYDOWN, VK_RIGHT, 0);
        winapp::ScreenPixels shot = CaptureClient(chart);
        EXPECT_EQ(shot.ColourAt(r.bars[0].centre, above), ChartWindow::kHighlight);
        SendMessageA(chart, WM_KEYDOWN, VK_RIGHT, 0);
        shot = CaptureClient(chart);
        EXPECT_EQ(shot.ColourAt(r.bars[0].centre, above), ChartWindow::kBackground);
        EXPECT_EQ(shot.ColourAt(r.bars[1].centre, (r.bars[1].top + r.topGridline) / 2), ChartWindow::kHighlight);
        SendMessageA(chart, WM_KEYDOWN, VK_LEFT, 0);

        // The context menu offers both.
        SendMessageA(chart, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(chart), MAKELPARAM(-1, -1));
        ASSERT_FALSE(prompts_.popups.empty());
        EXPECT_EQ(prompts_.popups.back(), (std::vector<UINT>{ID_CHART_COPY, ID_CHART_SAVE}));
        EXPECT_EQ(prompts_.owners.back(), chart);

        // Ctrl+C: a bitmap of the client area on the clipboard; Ctrl+S: the PNG file.
        BYTE keys[256] = {}, saved[256] = {};
        GetKeyboardState(saved);
        std::copy(saved, saved + 256, keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
        SendMessageA(chart, WM_KEYDOWN, 'C', 0);
        SendMessageA(chart, WM_KEYDOWN, 'S', 0);
        SetKeyboardState(saved);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
        BITMAP copied{};
        HANDLE held = GetClipboardData(CF_BITMAP);
        EXPECT_TRUE(held != nullptr && GetObjectA(held, sizeof copied, &copied) == sizeof copied);
        CloseClipboard();
        EXPECT_EQ(copied.bmWidth, client.right);
        EXPECT_EQ(copied.bmHeight, client.bottom);
    });
    EXPECT_TRUE(prompts_.messages.empty()) << prompts_.messages.front();
    EXPECT_EQ(chooser.titles, (std::vector<std::string>{"Als Bild speichern .png"}));
    EXPECT_EQ(chooser.proposed, (std::vector<std::string>{DocumentsFolder() + "\\Lumetra 2024-05.png"}));
    const Image image = ReadPng(chooser.chosen);
    EXPECT_EQ(image.width, static_cast<UINT>(client.right));
    EXPECT_EQ(image.height, static_cast<UINT>(client.bottom));
    ASSERT_FALSE(image.pixels.empty());
    EXPECT_EQ(image.At(r.bars[1].centre, r.baseline - 2), ChartWindow::kDownload);
    EXPECT_EQ(image.At(r.bars[1].centre, r.bars[1].top + 1), ChartWindow::kUpload);
    EXPECT_EQ(image.At(r.bars[0].centre, (r.bars[0].top + r.topGridline) / 2), ChartWindow::kHighlight);

    // A file that cannot be written is told, and nothing is left behind.
    chooser.chosen = folder_.path() + "\\missing\\chart.png";
    ShowChartOf("Mai", "Mai 2024", [&](HWND chart) { SendMessageA(chart, WM_COMMAND, ID_CHART_SAVE, 0); });
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_NE(prompts_.messages[0].find(chooser.chosen), std::string::npos) << prompts_.messages[0];
    EXPECT_EQ(GetFileAttributesA(chooser.chosen.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ChartWindowTest, APeriodWithoutRecordsSaysSoAndTheMenusNameTheCommands) {
    folder_.WriteHistory({Day(2024, 5, 2)});
    Open();
    // The history loses May before the chart is asked for: the row is gone.
    RightClickRow(RowWithText("2024"));
    folder_.WriteHistory({Day(2023, 5, 2)});
    bool checked = false;
    testing::WhenWindowShows whenShown("Verlauf 2024", [&](HWND chart) {
        const winapp::ScreenPixels shot = CaptureClient(chart);
        EXPECT_TRUE(Read(shot).bars.empty());
        int dark = 0;
        for (int x = 0; x < shot.width; ++x)
            dark += Dark(shot.ColourAt(x, shot.height / 2 + 2));
        EXPECT_GT(dark, 0) << "no text across the middle";
        checked = true;
        PostMessageA(chart, WM_CLOSE, 0, 0);
    });
    SendMessageA(dialog_->hwnd(), WM_COMMAND, MAKEWPARAM(ID_CHART, 0), 0);
    EXPECT_TRUE(checked);

    for (testing::Language language : {testing::Language::German, testing::Language::English}) {
        UseLanguage(language);
        const bool german = language == testing::Language::German;
        EXPECT_EQ(winapp::LoadText(IDS_CHART_NO_DATA), german ? "Keine Daten" : "No data");
        for (int id : {IDR_MENU_YEAR, IDR_MENU_ROWS}) {
            winapp::Menu menu = winapp::LoadMenuResource(id);
            char text[64] = {};
            GetMenuStringA(GetSubMenu(menu.get(), 0), ID_CHART, text, sizeof text, MF_BYCOMMAND);
            EXPECT_STREQ(text, german ? "Diagramm" : "Chart");
        }
        winapp::Menu rows = winapp::LoadMenuResource(IDR_MENU_ROWS);
        char text[64] = {};
        GetMenuStringA(GetSubMenu(rows.get(), 0), ID_CSV_EXPORT, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(text, "CSV Export");
        EXPECT_EQ(winapp::LoadText(IDS_CHART_COPY), german ? "Kopieren" : "Copy");
        EXPECT_EQ(winapp::LoadText(IDS_CHART_SAVE), german ? "Als Bild speichern\205" : "Save as image\205");
    }
}

}  // namespace
}  // namespace viewer
