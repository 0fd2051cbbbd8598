// "Diagramm" from the viewer's context menus: the chart window on the screen, modal over the
// viewer, with bar heights and colours read back pixel by pixel for a year and a month of known
// values. The expectations come from the pixels and the values alone, not from the layout code.
#include "chart_window.h"

#include <objbase.h>

#include <gtest/gtest.h>
#include <wincodec.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "allowance_store.h"
#include "last_error.h"
#include "modal_test_support.h"
#include "module_path.h"
#include "registry_key.h"
#include "screen_pixels.h"
#include "value_format.h"
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

// The allowance's values in the registry as a test found them, put back when it ends; none meanwhile,
// so that an allowance set on this machine (the demo's) changes no chart of the tests.
class KeptAllowanceValues {
public:
    KeptAllowanceValues() {
        for (const char* name : kNames) {
            Value value{name};
            DWORD size = sizeof value.data;
            value.held =
                Open() && RegQueryValueExA(key_, name, nullptr, &value.type, value.data, &size) == ERROR_SUCCESS;
            value.size = size;
            values_.push_back(value);
        }
        Clear();
    }
    ~KeptAllowanceValues() {
        Clear();
        for (const Value& value : values_) {
            if (value.held && Open())
                RegSetValueExA(key_, value.name, 0, value.type, value.data, value.size);
        }
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    KeptAllowanceValues(const KeptAllowanceValues&) = delete;
    KeptAllowanceValues& operator=(const KeptAllowanceValues&) = delete;

    void Clear() {
        for (const char* name : kNames) {
            if (Open())
                RegDeleteValueA(key_, name);
        }
    }

private:
    static constexpr const char* kNames[] = {"Allowance", "AllowanceCounts", "AllowanceOn"};
    struct Value {
        const char* name;
        bool held = false;
        DWORD type = 0, size = 0;
        BYTE data[256] = {};
    };
    bool Open() {
        return key_ != nullptr || RegCreateKeyExA(HKEY_CURRENT_USER, kCompanionsKey, 0, nullptr, 0,
                                                  KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) == ERROR_SUCCESS;
    }
    HKEY key_ = nullptr;
    std::vector<Value> values_;
};

// The allowance as the registry holds it: "Allowance", "AllowanceCounts", "AllowanceOn".
std::string StoredAllowance() {
    winapp::RegistryKey key;
    std::string text = "none";
    DWORD counts = 9, on = 9;
    if (key.OpenKey(HKEY_CURRENT_USER, kCompanionsKey)) {
        key.ReadStringValue("Allowance", text);
        key.ReadDwordValue("AllowanceCounts", counts);
        key.ReadDwordValue("AllowanceOn", on);
    }
    return text + " " + std::to_string(counts) + " " + std::to_string(on);
}

// An allowance kept in memory, or a store whose writes fail.
class MemoryAllowances : public AllowanceStore {
public:
    Allowance Load() override { return stored; }
    unsigned long Save(const Allowance& allowance) override {
        if (failWith != 0)
            return failWith;
        const double gigabytes = allowance.gigabytes > 0 ? allowance.gigabytes : stored.gigabytes;
        stored = allowance;
        stored.gigabytes = gigabytes;
        return 0;
    }
    Allowance stored;
    unsigned long failWith = 0;
};

ChartWindow& WindowOf(HWND chart) {
    return *dynamic_cast<ChartWindow*>(reinterpret_cast<winapp::Dialog*>(GetWindowLongPtrA(chart, DWLP_USER)));
}

// The allowance's figures as the chart now draws them.
std::vector<std::string> AllowanceFigures(HWND chart) {
    UpdateWindow(chart);
    std::vector<std::string> texts;
    for (const ChartText& figure : WindowOf(chart).geometry().allowanceFigures)
        texts.push_back(figure.text);
    return texts;
}

int PixelsOf(const winapp::ScreenPixels& shot, COLORREF colour, int top = 0, int bottom = -1) {
    int count = 0;
    for (int y = top; y < (bottom < 0 ? shot.height : bottom); ++y) {
        for (int x = 0; x < shot.width; ++x)
            count += shot.ColourAt(x, y) == colour;
    }
    return count;
}

// The colour just left of a bar, a few pixels above the baseline.
COLORREF LeftOfBar(const winapp::ScreenPixels& shot, const Reading& r, const Reading::Bar& bar) {
    int x = bar.centre;
    while (x > 0 && shot.ColourAt(x, r.baseline - 3) == ChartWindow::kDownload)
        --x;
    return shot.ColourAt(x, r.baseline - 3);
}

std::string ItemTextOf(HWND dialog, int id) {
    char text[128] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Runs the clipboard reader beside this test program: its exit code, the DIB in `file`.
DWORD ReadClipboardElsewhere(const std::string& file) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + history::FolderOfPath(self) + "clipboard_reader.exe\" \"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 1000;
    testing::PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 30000);
    DWORD code = 1001;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

class ChartWindowTest : public testing::ViewerFixture {
protected:
    // Opens the allowance dialog of the chart with its key; `act` runs in it.
    void InAllowanceDialog(HWND chart, const std::string& title, const std::function<void(HWND)>& act) {
        testing::WhenWindowShows whenShown(title, act);
        SendMessageA(chart, WM_KEYDOWN, 'A', 0);
        EXPECT_TRUE(whenShown.acted()) << "no dialog titled " << title;
        EXPECT_EQ(testing::ThreadWindowTitled(title), nullptr) << "the dialog stayed open";
    }
    // In the dialog: the switch, the text and the count set, then OK; whether the dialog ended.
    static bool Confirm(HWND dialog, bool on, const std::string& text, bool downloadOnly = false) {
        CheckDlgButton(dialog, IDC_ALLOWANCE_ON, on ? BST_CHECKED : BST_UNCHECKED);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ALLOWANCE_ON, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_ALLOWANCE_ON)));
        SetDlgItemTextA(dialog, IDC_ALLOWANCE_GB, text.c_str());
        CheckRadioButton(dialog, IDC_ALLOWANCE_BOTH, IDC_ALLOWANCE_DOWNLOAD,
                         downloadOnly ? IDC_ALLOWANCE_DOWNLOAD : IDC_ALLOWANCE_BOTH);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return reinterpret_cast<winapp::Dialog*>(GetWindowLongPtrA(dialog, DWLP_USER))->ended();
    }

    KeptAllowanceValues keptAllowance_;

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

// At the screen's DPI (96, or 144 in the high-DPI run) the legend's swatches and the Sunday marks
// are as much larger: 10 and 8 pixels a side at 96 DPI, within a pixel of 1.5 times that at 144.
TEST_F(ChartWindowTest, SwatchesAndSundayMarksScaleWithTheDpi) {
    UseLanguage(testing::Language::English);
    folder_.WriteHistory({Day(2024, 5, 5, 100 * kMiB, 50 * kMiB), Day(2024, 5, 9, 200 * kMiB, 100 * kMiB)});
    Open();
    const UINT dpi = testing::TestDpi();
    SelectRow(RowWithText("May"));
    SendMessageA(List(), WM_KEYDOWN, VK_ADD, 1);
    ShowChartOf("05/09/2024", "May 2024", [&](HWND chart) {
        EXPECT_EQ(winapp::DpiOf(chart), dpi);
        const winapp::ScreenPixels shot = CaptureClient(chart);
        const Reading r = Read(shot);
        ASSERT_GT(r.baseline, 0);
        // The extent of the first blob of a colour below the baseline, found from its top left.
        auto blob = [&](const std::function<bool(COLORREF)>& is, int& width, int& height) {
            for (int y = r.baseline + 1; y < shot.height; ++y) {
                for (int x = 0; x < shot.width; ++x) {
                    if (!is(shot.ColourAt(x, y)))
                        continue;
                    width = height = 0;
                    while (x + width < shot.width && is(shot.ColourAt(x + width, y)))
                        ++width;
                    while (y + height < shot.height && is(shot.ColourAt(x, y + height)))
                        ++height;
                    return true;
                }
            }
            return false;
        };
        int width = 0, height = 0;
        ASSERT_TRUE(blob([](COLORREF c) { return c == ChartWindow::kDownload; }, width, height)) << "no swatch";
        EXPECT_PRED3(testing::ScaledWithinAPixel, width, 10, dpi);
        EXPECT_PRED3(testing::ScaledWithinAPixel, height, 10, dpi);
        // The Sunday mark: a red square with its darker edge.
        ASSERT_TRUE(blob([](COLORREF c) { return GetRValue(c) > 100 && GetGValue(c) < 60 && GetBValue(c) < 60; }, width,
                         height))
            << "no Sunday mark";
        EXPECT_PRED3(testing::ScaledWithinAPixel, width, 8, dpi);
        EXPECT_PRED3(testing::ScaledWithinAPixel, height, 8, dpi);

        // Moved to a monitor of half as large a DPI again: the suggested place, and the chart
        // drawn for that DPI.
        const UINT target = dpi * 3 / 2;
        RECT before{};
        GetWindowRect(chart, &before);
        // (as large again as the screen allows)
        RECT suggested{0, 0, std::min<LONG>((before.right - before.left) * 3 / 2, GetSystemMetrics(SM_CXSCREEN) - 20),
                       std::min<LONG>((before.bottom - before.top) * 3 / 2, GetSystemMetrics(SM_CYSCREEN) - 20)};
        SendMessageA(chart, winapp::kDpiChangedMessage, MAKEWPARAM(target, target),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT after{};
        GetWindowRect(chart, &after);
        EXPECT_EQ(after.right - after.left, suggested.right - suggested.left);
        EXPECT_EQ(after.bottom - after.top, suggested.bottom - suggested.top);
        const winapp::ScreenPixels moved = CaptureClient(chart);
        const Reading m = Read(moved);
        ASSERT_GT(m.baseline, 0);
        width = height = 0;
        for (int y = m.baseline + 1; y < moved.height && width == 0; ++y) {
            for (int x = 0; x < moved.width; ++x) {
                if (moved.ColourAt(x, y) != ChartWindow::kDownload)
                    continue;
                while (x + width < moved.width && moved.ColourAt(x + width, y) == ChartWindow::kDownload)
                    ++width;
                while (y + height < moved.height && moved.ColourAt(x, y + height) == ChartWindow::kDownload)
                    ++height;
                break;
            }
        }
        EXPECT_PRED3(testing::ScaledWithinAPixel, width, 10, target) << "the swatch after the change";
        EXPECT_PRED3(testing::ScaledWithinAPixel, height, 10, target);
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

        // The context menu offers both, and the allowance.
        SendMessageA(chart, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(chart), MAKELPARAM(-1, -1));
        ASSERT_FALSE(prompts_.popups.empty());
        EXPECT_EQ(prompts_.popups.back(), (std::vector<UINT>{ID_CHART_COPY, ID_CHART_SAVE, 0, ID_CHART_ALLOWANCE}));
        EXPECT_EQ(prompts_.owners.back(), chart);

        // Ctrl+C: a picture of the client area on the clipboard; Ctrl+S: the PNG file.
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

    // Another program reads the copy once the chart is closed: a packed DIB of 32 bits, rows bottom up.
    const std::string dibFile = folder_.path() + "\\clipboard.dib";
    ASSERT_EQ(ReadClipboardElsewhere(dibFile), 0u) << "the clipboard reader failed";
    const std::string dib = history::ReadBytes(dibFile);
    BITMAPINFOHEADER header{};
    ASSERT_GE(dib.size(), sizeof header);
    std::memcpy(&header, dib.data(), sizeof header);
    EXPECT_EQ(header.biSize, sizeof header);
    EXPECT_EQ(header.biWidth, client.right);
    EXPECT_EQ(header.biHeight, client.bottom);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    ASSERT_EQ(dib.size(), sizeof header + 4u * client.right * client.bottom);
    auto dibAt = [&](int x, int y) {
        DWORD pixel = 0;
        std::memcpy(&pixel, dib.data() + sizeof header + 4u * ((client.bottom - 1 - y) * client.right + x), 4);
        return winapp::ColourOfPixel(pixel);
    };
    EXPECT_EQ(dibAt(r.bars[1].centre, r.baseline - 2), ChartWindow::kDownload);
    EXPECT_EQ(dibAt(r.bars[1].centre, r.bars[1].top + 1), ChartWindow::kUpload);
    EXPECT_EQ(dibAt(r.bars[0].centre, (r.bars[0].top + r.topGridline) / 2), ChartWindow::kHighlight);

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
        EXPECT_EQ(winapp::LoadText(IDS_CHART_ALLOWANCE), german ? "Kontingent\205" : "Allowance\205");
        EXPECT_EQ(winapp::LoadText(IDS_CHART_SAVE), german ? "Als Bild speichern\205" : "Save as image\205");
    }
}

// The text of the chart's tooltip at a point of its client area.
std::wstring ToolText(HWND chart, POINT at) {
    HWND tooltip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), NoteTooltip, reinterpret_cast<LPARAM>(&tooltip));
    TTHITTESTINFOA hit{};
    hit.hwnd = chart;
    hit.pt = at;
    hit.ti.cbSize = TTTOOLINFOA_V2_SIZE;
    if (tooltip == nullptr || !SendMessageA(tooltip, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)))
        return L"no tool";
    wchar_t text[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = hit.ti.hwnd;
    tool.uId = hit.ti.uId;
    tool.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// The running accounting month with an allowance entered in the dialog, in German and then, after a
// restart, in English: the figures worked out here from the records, the dashed line at the even
// daily share, today's bar above it outlined; refused texts leave what is stored; switched off,
// lines and figures are gone.
TEST_F(ChartWindowTest, TheRunningMonthsAllowanceFromTheDialogKeptAcrossARestart) {
    const history::CalendarDate today = history::CalendarDate::Today();
    const int periodDays = history::CalendarDate::DaysInMonth(today.month, today.year);
    history::CalendarDate before(1, today.month, today.year);
    before.PreviousDay();
    // Half a GB a day so far, a GB and a half today, five the day before the month (not counted).
    std::vector<history::DayRecord> records = {Day(before.year, before.month, before.day, 5 * kGiB, 0)};
    for (int d = 1; d < today.day; ++d)
        records.push_back(Day(today.year, today.month, d, 0.4 * kGiB, 0.1 * kGiB));
    records.push_back(Day(today.year, today.month, today.day, 1.25 * kGiB, 0.25 * kGiB));
    folder_.WriteHistory(records);

    // An allowance of as many GB as the month has days: the even share is 1 GB a day.
    const double used = 0.5 * kGiB * (today.day - 1) + 1.5 * kGiB;
    const double allowance = periodDays * kGiB;
    const int daysLeft = periodDays - today.day + 1;
    const double forecast = used / today.day * periodDays;
    auto percent = [](double share) {
        char text[32];
        std::snprintf(text, sizeof text, "%.0f %%", share * 100);
        return std::string(text);
    };
    using namespace std::string_literals;
    auto volume = [](double bytes) { return history::FormatVolume(bytes, false); };
    auto expected = [&](bool german) {
        const std::string perDay = volume((allowance - used) / daysLeft);
        return std::vector<std::string>{
            (german ? "Kontingent " : "Allowance ") + volume(allowance),
            (german ? "Verbraucht " : "Used ") + volume(used) + " (" + percent(used / allowance) + ")",
            (german ? "Rest " : "Left ") + volume(allowance - used),
            daysLeft == 1 ? perDay + (german ? " f\374r heute" : " for today")
                          : perDay + (german ? " pro Tag f\374r " : " per day for ") + std::to_string(daysLeft) +
                                (german ? " Tage" : " days"),
            german ? "Prognose " + percent(forecast / allowance) + " des Kontingents"
                   : "Forecast " + percent(forecast / allowance) + " of the allowance"s};
    };
    // The line, the outline around today's bar, none around another's; or none of them.
    auto expectLines = [&](HWND chart, bool shown) {
        const winapp::ScreenPixels shot = CaptureClient(chart);
        const Reading r = Read(shot);
        ASSERT_EQ(r.bars.size(), static_cast<std::size_t>(today.day));
        // 0.5 GB apart, up to 2 GB; the allowance's line covers the one at 1 GB where it begins.
        EXPECT_EQ(r.gridlines + (shown ? 1 : 0), 4);
        const int line = r.baseline - (r.baseline - r.topGridline) / 2;
        const int across = PixelsOf(shot, ChartWindow::kAllowanceLine, line - 1, line + 2);
        EXPECT_EQ(across > (r.plotRight - r.plotLeft) / 3, shown) << across << " pixels of the line";
        if (!shown) {
            EXPECT_EQ(PixelsOf(shot, ChartWindow::kAllowanceLine) + PixelsOf(shot, ChartWindow::kWarning), 0);
        }
        EXPECT_EQ(LeftOfBar(shot, r, r.bars.back()), shown ? ChartWindow::kWarning : ChartWindow::kBackground);
        if (r.bars.size() > 1) {
            EXPECT_EQ(LeftOfBar(shot, r, r.bars.front()), ChartWindow::kBackground);
        }
        // The forecast's figure is in the warning colour where it goes above the allowance.
        const std::vector<ChartText>& figures = WindowOf(chart).geometry().allowanceFigures;
        if (shown && !figures.empty()) {
            int red = 0;
            const ChartText& last = figures.back();
            for (int y = last.y; y < last.y + 14; ++y) {
                for (int x = last.x; x < std::min(shot.width, last.x + 300); ++x) {
                    const COLORREF c = shot.ColourAt(x, y);
                    red += GetRValue(c) > 150 && GetGValue(c) < 90 && GetBValue(c) < 90;
                }
            }
            EXPECT_EQ(red > 0, forecast > allowance) << red << " red pixels in " << last.text;
        }
    };
    const std::string month = history::CalendarDate::MonthNameAt(today.month - 1);
    const std::string allowanceText = std::to_string(periodDays);

    Open();
    ShowChartOf(month, month + " " + std::to_string(today.year), [&](HWND chart) {
        EXPECT_TRUE(AllowanceFigures(chart).empty());
        expectLines(chart, false);
        InAllowanceDialog(chart, "Kontingent", [&](HWND dialog) {
            EXPECT_EQ(ItemTextOf(dialog, IDC_ALLOWANCE_ON), "Kontingent je Abrechnungsmonat beachten");
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_ALLOWANCE_ON), static_cast<UINT>(BST_UNCHECKED));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ALLOWANCE_GB)));
            EXPECT_TRUE(Confirm(dialog, true, " " + allowanceText + ",0 "));
        });
        EXPECT_EQ(StoredAllowance(), allowanceText + " 0 1");
        EXPECT_EQ(AllowanceFigures(chart), expected(true));
        expectLines(chart, true);

        // Refused and told, each; the stored allowance stays.
        InAllowanceDialog(chart, "Kontingent", [&](HWND dialog) {
            EXPECT_EQ(ItemTextOf(dialog, IDC_ALLOWANCE_GB), allowanceText);
            for (const char* text : {"abc", "0", "-5", "1000001"}) {
                EXPECT_FALSE(Confirm(dialog, true, text, true)) << text;
                EXPECT_EQ(StoredAllowance(), allowanceText + " 0 1") << text;
            }
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        EXPECT_EQ(AllowanceFigures(chart), expected(true));
    });
    ASSERT_EQ(prompts_.messages.size(), 4u);
    EXPECT_EQ(prompts_.messages[0], "Bitte geben Sie das Kontingent als Zahl in GB ein, zum Beispiel 60 oder 2,5.");
    for (int i : {1, 2, 3})
        EXPECT_EQ(prompts_.messages[i], "Bitte geben Sie ein Kontingent \374ber 0 und h\366chstens 1000000 GB ein.");

    // A restart in English: the allowance is read from the registry again.
    dialog_.reset();
    prompts_.messages.clear();
    UseLanguage(testing::Language::English);
    Open();
    history::CalendarDate::ReloadNames();
    const std::string englishMonth = history::CalendarDate::MonthNameAt(today.month - 1);
    ShowChartOf(englishMonth, englishMonth + " " + std::to_string(today.year), [&](HWND chart) {
        EXPECT_EQ(AllowanceFigures(chart), expected(false));
        expectLines(chart, true);
        InAllowanceDialog(chart, "Allowance", [&](HWND dialog) {
            EXPECT_EQ(ItemTextOf(dialog, IDC_ALLOWANCE_ON), "Watch an allowance per accounting month");
            EXPECT_EQ(ItemTextOf(dialog, IDC_ALLOWANCE_GB), allowanceText);
            EXPECT_TRUE(Confirm(dialog, true, allowanceText + ".00"));
        });
        EXPECT_EQ(StoredAllowance(), allowanceText + " 0 1");
        EXPECT_EQ(AllowanceFigures(chart), expected(false));
        InAllowanceDialog(chart, "Allowance", [&](HWND dialog) {
            EXPECT_TRUE(Confirm(dialog, false, "abc"));  // off: the text does not matter
        });
        EXPECT_EQ(StoredAllowance(), allowanceText + " 0 0");
        EXPECT_TRUE(AllowanceFigures(chart).empty());
        expectLines(chart, false);
    });
    EXPECT_TRUE(prompts_.messages.empty()) << prompts_.messages.front();
}

// A year with an allowance: the line across the months, the months above it outlined, the share in
// their tooltips; a past month: its share and its overage; a store that cannot keep it is told.
TEST_F(ChartWindowTest, AYearAndAPastMonthWithAnAllowance) {
    UseLanguage(testing::Language::English);
    folder_.WriteHistory({Day(2024, 3, 1, 3 * kGiB, 1 * kGiB), Day(2024, 3, 2, 1 * kGiB, 0),
                          Day(2024, 6, 30, 1 * kGiB, 0.5 * kGiB), Day(2024, 9, 9, 2 * kGiB, 1 * kGiB)});
    MemoryAllowances allowances;
    allowances.stored = Allowance{true, 3, AllowanceCounts::kDownloadAndUpload};
    Open();
    dialog_->setAllowanceStore(allowances);
    ShowChartOf("2024", "History 2024", [&](HWND chart) {
        const winapp::ScreenPixels shot = CaptureClient(chart);
        const Reading r = Read(shot);
        ASSERT_EQ(r.bars.size(), 3u);
        EXPECT_EQ(r.gridlines, 4);  // 1 GB apart, up to 5 GB, the one at 3 GB covered by the allowance's line
        const int line = r.baseline - static_cast<int>(std::lround(3.0 / 5 * (r.baseline - r.topGridline)));
        EXPECT_GT(PixelsOf(shot, ChartWindow::kAllowanceLine, line - 1, line + 2), (r.plotRight - r.plotLeft) / 3);
        // March's 5 GB is above the 3 GB; June's 1.5 and September's 3 are not.
        EXPECT_EQ(LeftOfBar(shot, r, r.bars[0]), ChartWindow::kWarning);
        EXPECT_EQ(LeftOfBar(shot, r, r.bars[1]), ChartWindow::kBackground);
        EXPECT_EQ(LeftOfBar(shot, r, r.bars[2]), ChartWindow::kBackground);
        EXPECT_TRUE(AllowanceFigures(chart).empty());
        EXPECT_EQ(ToolText(chart, POINT{r.bars[2].centre, r.baseline - 2}),
                  L"September 2024\r\nDownload 2.0 GB\r\nUpload 1.0 GB\r\nTotal 3.0 GB\r\nOnlinetime 00:01:00\r\n100 % "
                  L"of the allowance");

        // 2.5 GB of downloads only: March stays above it; a store that fails is told with its reason.
        InAllowanceDialog(chart, "Allowance", [&](HWND dialog) {
            allowances.failWith = ERROR_ACCESS_DENIED;
            EXPECT_FALSE(Confirm(dialog, true, "3", true));
            allowances.failWith = 0;
            EXPECT_TRUE(Confirm(dialog, true, "2.5", true));
        });
        EXPECT_EQ(allowances.stored.gigabytes, 2.5);
        EXPECT_EQ(allowances.stored.counts, AllowanceCounts::kDownloadOnly);
        const winapp::ScreenPixels after = CaptureClient(chart);
        EXPECT_EQ(LeftOfBar(after, r, r.bars[0]), ChartWindow::kWarning);
        EXPECT_EQ(WindowOf(chart).geometry().overBars, (std::vector<std::size_t>{2}));
        const std::wstring september = ToolText(chart, POINT{r.bars[2].centre, r.baseline - 2});
        EXPECT_EQ(september.substr(september.rfind(L"\r\n") + 2), L"80 % of the allowance");

        // The copy carries the line and the outline too, for another program as well.
        SendMessageA(chart, WM_COMMAND, MAKEWPARAM(ID_CHART_COPY, 0), 0);
        const std::string dibFile = folder_.path() + "\\year.dib";
        ASSERT_EQ(ReadClipboardElsewhere(dibFile), 0u);
        const std::string dib = history::ReadBytes(dibFile);
        ASSERT_EQ(dib.size(), sizeof(BITMAPINFOHEADER) + 4u * after.width * after.height);
        int same = 0, differing = 0;
        for (int y = 0; y < after.height; ++y) {
            for (int x = 0; x < after.width; ++x) {
                DWORD pixel = 0;
                std::memcpy(&pixel,
                            dib.data() + sizeof(BITMAPINFOHEADER) + 4u * ((after.height - 1 - y) * after.width + x), 4);
                const COLORREF screen = after.ColourAt(x, y);
                if (screen == ChartWindow::kWarning || screen == ChartWindow::kAllowanceLine)
                    (winapp::ColourOfPixel(pixel) == screen ? same : differing) += 1;
            }
        }
        EXPECT_GT(same, 100);
        EXPECT_EQ(differing, 0);
    });
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0], "The allowance could not be saved.\n\n" + winapp::ErrorText(ERROR_ACCESS_DENIED));

    ShowChartOf("March", "March 2024", [&](HWND chart) {
        EXPECT_EQ(AllowanceFigures(chart),
                  (std::vector<std::string>{"Allowance 2.5 GB", "Used 4.0 GB (160 %)", "Over by 1.5 GB"}));
        EXPECT_EQ(WindowOf(chart).geometry().allowanceWarnings, (std::vector<bool>{false, false, true}));
    });
}

}  // namespace
}  // namespace viewer
