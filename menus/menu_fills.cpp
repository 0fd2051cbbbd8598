// Gradients, the menu-bar brushes of the styles and the themed colour pair of styles 8 to 11.
#include <algorithm>
#include <vector>

#include "gdi_helpers.h"
#include "menu_draw.h"
#include "menu_styles.h"
#include "menu_system.h"
#include "procedures.h"
#include "styled_menu.h"

namespace menus {
namespace {

struct CachedBrush {
    int kind;
    Colour first;
    Colour second;
    HBRUSH brush;
};

std::vector<CachedBrush>& BrushCache() {
    static std::vector<CachedBrush> cache;
    return cache;
}

std::size_t& LastBrush() {
    static std::size_t last = 0;
    return last;
}

// The menus that were given a bar brush, with the background each had before.
struct BrushedMenu {
    HMENU menu;
    HBRUSH previous;
};

std::vector<BrushedMenu>& BrushedMenus() {
    static std::vector<BrushedMenu> menus;
    return menus;
}

HBRUSH MenuBrushOf(HMENU menu) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    return GetMenuInfo(menu, &info) ? info.hbrBack : nullptr;
}

void SetMenuBrush(HMENU menu, HBRUSH brush) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = brush;
    SetMenuInfo(menu, &info);
}

bool IsCachedBrush(HBRUSH brush) {
    for (const CachedBrush& cached : BrushCache())
        if (cached.brush == brush)
            return true;
    return false;
}

HBRUSH BarBrush(int kind, Colour first, Colour second) {
    auto& cache = BrushCache();
    std::size_t& last = LastBrush();
    if (last < cache.size() && cache[last].kind == kind && cache[last].first == first && cache[last].second == second)
        return cache[last].brush;
    for (std::size_t i = 0; i < cache.size(); ++i) {
        if (cache[i].kind == kind && cache[i].first == first && cache[i].second == second) {
            last = i;
            return cache[i].brush;
        }
    }
    HBRUSH brush = nullptr;
    if (kind == 2 || IsWindows95OrNT4(ThePlatform().versionIndex)) {
        brush = CreateSolidBrush(first);
    } else {
        const int width = (GetSystemMetrics(SM_CXFULLSCREEN) + 16) / 8 * 8;
        winapp::Bitmap bitmap;
        {
            const winapp::WindowDc screen(nullptr);
            const winapp::MemoryDc memory(CreateCompatibleDC(screen.get()));
            bitmap.Reset(CreateCompatibleBitmap(screen.get(), width, 20));
            const winapp::Selection selected(memory.get(), bitmap.get());
            const int gradientWidth = std::min<int>(width, 700);
            FillGradient(memory.get(), RECT{0, 0, gradientWidth, 20}, first, second, true, false);
            if (width > gradientWidth)
                Fill(memory.get(), RECT{gradientWidth, 0, width, 20}, second);
        }
        brush = CreatePatternBrush(bitmap.get());
    }
    if (brush == nullptr)
        return nullptr;
    cache.push_back({kind, first, second, brush});
    last = cache.size() - 1;
    return brush;
}

}  // namespace

void GetThemedColors(Colour& first, Colour& second, bool forBar) {
    ThemeProbe probe;
    const Platform& platform = ThePlatform();
    probe.versionIndex = platform.versionIndex;
    const CStyledMenuStyle* style = ActiveStyle();
    probe.styleId = style != nullptr ? style->id : kThemedStyle;
    probe.themeActive = IsThemeActiveNow();
    if (probe.themeActive && (probe.styleId == kThemedStyle || probe.styleId == kThemedStyleUnframed) &&
        platform.themeLibrary != nullptr) {
        auto open = winapp::LoadedFunction<decltype(::OpenThemeData)>(platform.themeLibrary, "OpenThemeData");
        auto color = winapp::LoadedFunction<decltype(::GetThemeColor)>(platform.themeLibrary, "GetThemeColor");
        auto close = winapp::LoadedFunction<decltype(::CloseThemeData)>(platform.themeLibrary, "CloseThemeData");
        HANDLE theme = open != nullptr ? open(nullptr, L"Window") : nullptr;
        if (theme != nullptr) {
            probe.themeDataOpened = true;
            COLORREF value = 0;
            if (color != nullptr && SUCCEEDED(color(theme, 1, 1, 3821, &value))) {
                probe.captionColourRead = true;
                probe.captionColour = value;
            }
            if (color != nullptr && SUCCEEDED(color(theme, 1, 1, 3805, &value))) {
                probe.windowColourRead = true;
                probe.windowColour = value;
            }
            if (close != nullptr)
                close(theme);
        }
    }
    HDC screen = GetDC(nullptr);
    const ColourPair pair = ThemedColoursOf(probe, forBar, SystemColoursNow(), DisplayOf(screen));
    ReleaseDC(nullptr, screen);
    first = pair.first;
    second = pair.second;
}

void FillGradient(HDC dc, const RECT& rect, Colour from, Colour to, bool horizontal, bool useNearest) {
    const GradientFillProc gradientFill = ThePlatform().gradientFill;
    if (gradientFill != nullptr && (GetScreenColorCount() > 256 || !useNearest)) {
        TRIVERTEX corners[2] = {};
        corners[0].x = rect.left;
        corners[0].y = rect.top;
        corners[0].Red = static_cast<COLOR16>(RedOf(from) << 8);
        corners[0].Green = static_cast<COLOR16>(GreenOf(from) << 8);
        corners[0].Blue = static_cast<COLOR16>(BlueOf(from) << 8);
        corners[1].x = rect.right;
        corners[1].y = rect.bottom;
        corners[1].Red = static_cast<COLOR16>(RedOf(to) << 8);
        corners[1].Green = static_cast<COLOR16>(GreenOf(to) << 8);
        corners[1].Blue = static_cast<COLOR16>(BlueOf(to) << 8);
        GRADIENT_RECT span{0, 1};
        gradientFill(dc, corners, 2, &span, 1, horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    auto shown = [dc, useNearest](Colour c) { return useNearest ? static_cast<Colour>(GetNearestColor(dc, c)) : c; };
    Fill(dc, rect, shown(to));
    const int length = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    for (int n = 0; n <= length - 2 && length > 2; n += 2) {
        RECT band = rect;
        if (horizontal) {
            band.left = rect.left + n;
            band.right = band.left + 2;
        } else {
            band.top = rect.top + n;
            band.bottom = band.top + 2;
        }
        Fill(dc, band, shown(GradientBandColour(from, to, n, length)));
    }
}

void ApplyMenuBarBrush(CStyledMenu* menu) {
    const CStyledMenuStyle* style = ActiveStyle();
    if (style == nullptr || menu == nullptr)
        return;
    int kind;
    Colour first;
    Colour second = 0;
    if (style->id == kFlatStyle || style->id == kFlatStyleUnframed) {
        kind = 2;
        first = GetSysColor(COLOR_BTNFACE);
    } else if (style->id >= kThemedStyle && style->id <= kTintedStyleUnframed) {
        GetThemedColors(first, second, true);
        kind = style->id <= kThemedStyleUnframed ? 8 : 10;
        if (GetScreenColorCount() < 256 || ThePlatform().highContrast)
            kind = 2;
    } else {
        // No bar brush in this look: a bar that got one from an earlier style gets back what it had.
        for (const BrushedMenu& entry : BrushedMenus())
            if (entry.menu == menu->handle() && IsLiveMenu(entry.menu) && IsCachedBrush(MenuBrushOf(entry.menu)))
                SetMenuBrush(entry.menu, entry.previous);
        return;
    }
    HBRUSH brush = BarBrush(kind, first, second);
    if (brush == nullptr || CStyledMenu::FromHandle(menu->handle()) != menu)
        return;
    auto& brushed = BrushedMenus();
    const bool known = std::any_of(brushed.begin(), brushed.end(),
                                   [menu](const BrushedMenu& entry) { return entry.menu == menu->handle(); });
    if (!known)
        brushed.push_back({menu->handle(), MenuBrushOf(menu->handle())});
    SetMenuBrush(menu->handle(), brush);
}

void ClearMenuBarBrushes() {
    // A live menu still painted with one of these brushes gets its own background back first.
    for (const BrushedMenu& entry : BrushedMenus())
        if (IsLiveMenu(entry.menu) && IsCachedBrush(MenuBrushOf(entry.menu)))
            SetMenuBrush(entry.menu, entry.previous);
    BrushedMenus().clear();
    for (const CachedBrush& cached : BrushCache())
        DeleteObject(cached.brush);
    BrushCache().clear();
    LastBrush() = 0;
}

}  // namespace menus
