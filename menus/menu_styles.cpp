#include "menu_styles.h"

#include <algorithm>

#include "dpi.h"
#include "gdi_helpers.h"
#include "menu_draw.h"
#include "menu_system.h"
#include "menu_window.h"
#include "styled_menu.h"

namespace menus {
namespace {

struct Registry {
    std::vector<std::unique_ptr<CStyledMenuStyle>> owned;
    std::vector<CStyledMenuStyle*> styles;  // the same objects, in the registry's order
    CStyledMenuStyle* active = nullptr;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void RegisterStyle(std::unique_ptr<CStyledMenuStyle> style) {
    auto& styles = TheRegistry().styles;
    if (style == nullptr)
        return;
    if (styles.empty())
        styles.reserve(10);
    styles.push_back(style.get());
    TheRegistry().owned.push_back(std::move(style));
}

void RegisterStyles() {
    if (!TheRegistry().styles.empty())
        return;
    struct Entry {
        int id;
        bool flat;
        bool frame;
        MeasureRoutine measure;
        DrawRoutine draw;
    };
    const Entry table[] = {
        {kGradientStyle, false, true, MeasureGradientItem, DrawGradientItem},
        {kGradientStyleUnframed, false, false, MeasureGradientItem, DrawGradientItem},
        {kClassicStyle, false, true, MeasureClassicItem, DrawClassicItem},
        {kClassicStyleUnframed, false, false, MeasureClassicItem, DrawClassicItem},
        {kFlatStyle, true, true, MeasureFlatItem, DrawFlatItem},
        {kFlatStyleUnframed, true, false, MeasureFlatItem, DrawFlatItem},
        {kThemedStyle, true, true, MeasureFlatItem, DrawThemedItem},
        {kThemedStyleUnframed, true, false, MeasureFlatItem, DrawThemedItem},
        {kTintedStyle, true, true, MeasureFlatItem, DrawThemedItem},
        {kTintedStyleUnframed, true, false, MeasureFlatItem, DrawThemedItem},
        {kSpecialStyle, false, true, MeasureClassicItem, DrawSpecialItem},
        {kSpecialStyleUnframed, false, false, MeasureClassicItem, DrawSpecialItem},
    };
    for (const Entry& entry : table) {
        const int flags = entry.frame ? CStyledMenuStyle::kFrameBit : 0;
        std::unique_ptr<CStyledMenuStyle> style;
        if (entry.flat)
            style = std::make_unique<CStyledMenuFlatStyle>(entry.id, flags, entry.measure, entry.draw, DrawTitleItem);
        else
            style = std::make_unique<CStyledMenuStyle>(entry.id, flags, entry.measure, entry.draw, DrawTitleItem);
        RegisterStyle(std::move(style));
    }
    TheRegistry().active = FindStyle(kFlatStyle);
}

void DeleteStyles() {
    Registry& registry = TheRegistry();
    registry.active = nullptr;
    registry.styles.clear();
    registry.styles.shrink_to_fit();
    registry.owned.clear();
}

const std::vector<CStyledMenuStyle*>& Styles() {
    return TheRegistry().styles;
}

CStyledMenuStyle* FindStyle(int id) {
    for (CStyledMenuStyle* style : TheRegistry().styles)
        if (style->id == id)
            return style;
    return nullptr;
}

CStyledMenuStyle* ActiveStyle() {
    return TheRegistry().active;
}

bool SetActiveStyle(int id) {
    CStyledMenuStyle* style = FindStyle(id);
    if (style == nullptr)
        return false;
    TheRegistry().active = style;
    return true;
}

// ---- the styles' window operations

namespace {

// The band between `outer` and the client rectangle, as four solid strips.
void FillBand(HDC dc, const RECT& outer, const RECT& client, Colour colour) {
    Fill(dc, RECT{outer.left, outer.top, outer.right, client.top}, colour);
    Fill(dc, RECT{outer.left, client.bottom, outer.right, outer.bottom}, colour);
    Fill(dc, RECT{outer.left, client.top, client.left, client.bottom}, colour);
    Fill(dc, RECT{client.right, client.top, outer.right, client.bottom}, colour);
}

}  // namespace

int CStyledMenuStyle::Attach(HWND window) {
    MenuWindowState* state = StateOf(window);
    if (state == nullptr || !state->drawBorder || !(flags & kFrameBit))
        return 0;
    state->flags.Set(WindowFlag::StyleChanged);
    SetWindowLongA(window, GWL_STYLE, state->savedStyle & ~static_cast<LONG>(WS_BORDER));
    SetWindowLongA(window, GWL_EXSTYLE,
                   state->savedExStyle & ~static_cast<LONG>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
    return 1;
}

int CStyledMenuStyle::Detach(HWND window) {
    MenuWindowState* state = StateOf(window);
    if (state == nullptr)
        return 1;
    if (IsLiveMenu(state->menu)) {
        if (CStyledMenu* menu = CStyledMenu::FromHandle(state->menu))
            menu->OnPopupClosed();
    }
    if (state->flags.Has(WindowFlag::StyleChanged)) {
        SetLastError(0);
        SetWindowLongA(window, GWL_STYLE,
                       state->flags.Has(WindowFlag::SubclassedLate) ? state->savedStyle | static_cast<LONG>(WS_VISIBLE)
                                                                    : state->savedStyle);
        ReportLastError();
        SetLastError(0);
        SetWindowLongA(window, GWL_EXSTYLE, state->savedExStyle);
        ReportLastError();
    }
    return 1;
}

// The frame's widths, the client area ending before its inner line on every side.
int CStyledMenuStyle::CalcNonClient(HWND window, NCCALCSIZE_PARAMS* params) {
    if (!(flags & kFrameBit))
        return 0;
    const int dpi = static_cast<int>(winapp::DpiOf(window));
    const Insets insets = MenuFrameInsets(IsSystemDropShadowOn(), dpi);
    RECT& rect = params->rgrc[0];
    rect.left += ScaledPixels(insetLeft, dpi);
    rect.top += ScaledPixels(insetTop, dpi);
    rect.right -= insets.right;
    rect.bottom -= insets.bottom;
    return 0;
}

// The system sized the window for its items and its own border, which the frame replaces (Attach
// takes the border styles away): the window grows or shrinks by the difference, so that the items
// keep the room the system gave them. Systems differ in that border (three pixels on some, none on
// others, which draw their edge inside the client area), so it is read from the saved styles.
int CStyledMenuStyle::AdjustWindowPos(HWND window, WINDOWPOS* position) {
    if (!(flags & kFrameBit))
        return 0;
    RECT border{0, 0, 0, 0};
    if (const MenuWindowState* state = StateOf(window))
        AdjustWindowRectEx(&border, static_cast<DWORD>(state->savedStyle), FALSE,
                           static_cast<DWORD>(state->savedExStyle));
    const int dpi = static_cast<int>(winapp::DpiOf(window));
    Insets frame = MenuFrameInsets(IsSystemDropShadowOn(), dpi);
    frame.left = ScaledPixels(insetLeft, dpi);
    frame.top = ScaledPixels(insetTop, dpi);
    const Extent growth = MenuWindowGrowth(frame, Insets{-border.left, -border.top, border.right, border.bottom});
    position->cx += growth.cx;
    position->cy += growth.cy;
    position->y -= 1;
    return 1;
}

int CStyledMenuStyle::GetBorderRect(HWND window, RECT* rect) {
    if (!GetWindowRect(window, rect))
        return 0;
    const Insets insets = MenuFrameInsets(IsSystemDropShadowOn(), static_cast<int>(winapp::DpiOf(window)));
    const int farSide = insets.right + 1;
    rect->left += insets.left;
    rect->top += insets.top;
    rect->right -= farSide;
    rect->bottom -= farSide;
    return 1;
}

int CStyledMenuStyle::EraseBackground(HWND window, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    client.left -= 2;
    Fill(dc, client, GetSysColor(COLOR_MENU));
    return 1;
}

int CStyledMenuFlatStyle::EraseBackground(HWND window, HDC dc) {
    MenuWindowState* state = StateOf(window);
    if (state == nullptr || state->menu == nullptr)
        return CStyledMenuStyle::EraseBackground(window, dc);
    RECT client{};
    GetClientRect(window, &client);
    client.left -= 2;
    Fill(dc, client, GetMenuBarColor(state->menu));
    return 1;
}

int CStyledMenuStyle::DrawBorder(HWND window, HDC dc, int skipBand) {
    CaptureBackground(window);
    if (!(flags & kFrameBit))
        return 0;
    const WindowGeometry g = GeometryOf(window);
    const bool highContrast = ThePlatform().highContrast;
    const Colour line = highContrast ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_HIGHLIGHT);
    const int shadow = MenuShadowWidth(static_cast<int>(winapp::DpiOf(window)));
    if (IsSystemDropShadowOn()) {
        if (!skipBand)
            FillBand(dc, RECT{1, 1, g.width - 1, g.height - 1}, g.client, GetMenuBackgroundColor(nullptr));
        Outline(dc, RECT{0, 0, g.width, g.height}, line);
        return 1;
    }
    if (!skipBand)
        FillBand(dc, RECT{1, 1, g.width - shadow - 1, g.height - shadow - 1}, g.client,
                 GetMenuBackgroundColor(nullptr));
    Outline(dc, RECT{0, 0, g.width - shadow, g.height - shadow}, line);
    if (!highContrast)
        DrawMenuShadow(window, dc);
    return 1;
}

int CStyledMenuFlatStyle::DrawBorder(HWND window, HDC dc, int skipBand) {
    CaptureBackground(window);
    if (!(flags & kFrameBit))
        return 0;
    MenuWindowState* state = StateOf(window);
    const WindowGeometry g = GeometryOf(window);
    const SystemColours system = SystemColoursNow();
    const Display display = DisplayOf(dc);
    const FlatFrameColours colours =
        FlatFrameColoursOf(GetMenuBackgroundColor(state != nullptr ? state->menu : nullptr), system, display);
    const int w = g.width;
    const int h = g.height;
    const int shadow = MenuShadowWidth(static_cast<int>(winapp::DpiOf(window)));
    if (IsSystemDropShadowOn()) {
        if (!skipBand)
            FillBand(dc, RECT{1, 1, w - 1, h - 1}, g.client, colours.frame);
        if (display.highContrast) {
            Outline(dc, RECT{0, 0, w, h}, system.btnText);
        } else {
            Outline(dc, RECT{1, 1, w - 1, h - 1}, colours.frame);
            Fill(dc, RECT{1, 2, 2, 2 + h - 4}, colours.gutter);
            Outline(dc, RECT{0, 0, w, h}, colours.outline);
        }
        DrawBarJoint(window, dc);
        return 1;
    }
    if (!skipBand)
        FillBand(dc, RECT{1, 1, w - shadow - 1, h - shadow - 1}, g.client, colours.frame);
    if (display.highContrast) {
        Outline(dc, RECT{0, 0, w - shadow, h - shadow}, system.btnText);
        DrawBarJoint(window, dc);
        return 1;
    }
    Outline(dc, RECT{1, 1, w - shadow - 1, h - shadow - 1}, colours.frame);
    Fill(dc, RECT{1, 2, 2, h - shadow - 2}, colours.gutter);
    Outline(dc, RECT{0, 0, w - shadow, h - shadow}, colours.outline);
    DrawMenuShadow(window, dc);
    DrawBarJoint(window, dc);
    return 1;
}

}  // namespace menus
