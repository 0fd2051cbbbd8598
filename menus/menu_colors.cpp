#include "menu_colors.h"

#include <algorithm>
#include <cstdlib>

namespace menus {

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    long long product = static_cast<long long>(a) * b;
    long long divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const long long half = divisor / 2;
    const long long result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > 2147483647LL || result < -2147483647LL)
        return -1;
    return static_cast<int>(result);
}

namespace {

// A channel value held to 0..255: a sum of rounded parts may reach 256 (7/10 of 255 plus 3/10 of
// 255 is 179 + 77), and MakeColour would wrap that to 0.
int Clamped(int channel) {
    return std::clamp(channel, 0, 255);
}

template <class Channel>
Colour PerChannel(Colour a, Colour b, Channel channel) {
    return MakeColour(Clamped(channel(RedOf(a), RedOf(b))), Clamped(channel(GreenOf(a), GreenOf(b))),
                      Clamped(channel(BlueOf(a), BlueOf(b))));
}

}  // namespace

Colour Blend86(Colour a, Colour b) {
    return PerChannel(a, b, [](int x, int y) { return MulDiv(x, 86, 100) + MulDiv(y, 14, 100); });
}

Colour Blend70(Colour a, Colour b) {
    return PerChannel(a, b, [](int x, int y) { return MulDiv(x, 7, 10) + MulDiv(y, 3, 10); });
}

Colour Darken(int n, Colour c) {
    return PerChannel(c, 0, [n](int x, int) { return MulDiv(x, 255 - n, 255); });
}

Colour Lighten(int n, Colour c) {
    return PerChannel(c, 0, [n](int x, int) { return x + MulDiv(255 - x, n, 255); });
}

Colour BluishDarken(Colour c) {
    return MakeColour(Clamped(MulDiv(RedOf(c), 7, 10)), Clamped(MulDiv(GreenOf(c), 7, 10)),
                      Clamped(MulDiv(BlueOf(c) + 55, 7, 10)));
}

Colour Mix(Colour a, Colour b, int n) {
    if (b == static_cast<Colour>(-1))
        return static_cast<Colour>(-1);
    return PerChannel(a, b, [n](int x, int y) { return (x * (255 - n) + y * n) / 256; });
}

Colour GradientBandColour(Colour from, Colour to, int n, int length) {
    return PerChannel(from, to, [n, length](int x, int y) { return x + MulDiv(y - x, n, length - 2); });
}

Colour GetSelectionFillColor(const SystemColours& system, const Display& display) {
    if (display.highContrast)
        return system.highlight;
    if (display.colourCount <= 256)
        return system.window;
    return Blend70(system.window, system.highlight);
}

FlatItemColours FlatColoursOf(Colour menuColour, const SystemColours& system, const Display& display) {
    FlatItemColours colours{};
    colours.itemBack = Blend86(system.window, menuColour);
    colours.gutterBack = display.colourCount <= 256 ? system.btnFace : Blend86(menuColour, system.window);
    colours.selectionFill = GetSelectionFillColor(system, display);
    colours.selectionFrame = display.highContrast ? system.btnText : system.highlight;
    if (display.nearest(colours.itemBack) == display.nearest(colours.gutterBack)) {
        colours.itemBack = system.window;
        colours.gutterBack = menuColour;
    }
    return colours;
}

FlatFrameColours FlatFrameColoursOf(Colour menuBack, const SystemColours& system, const Display& display) {
    FlatFrameColours colours{};
    colours.frame = Blend86(system.window, menuBack);
    colours.gutter = display.colourCount < 257 ? system.btnFace : Blend86(menuBack, system.window);
    colours.outline = Darken(128, menuBack);
    if (display.nearest(colours.frame) == display.nearest(colours.gutter)) {
        colours.frame = system.window;
        colours.gutter = menuBack;
    }
    return colours;
}

namespace {

// The tuned menu colours of the three well-known colour schemes (olive, silver, blue), and what
// gives them: the scheme's caption colour, or the blend of window and caption colour that the
// scheme makes.
constexpr Colour kOliveMenu = 0xAADADA;
constexpr Colour kSilverMenu = 0xE5D7D7;
constexpr Colour kBlueMenu = 0xF5C2A3;
constexpr Colour kOliveCaption = 0x86B8AA;
constexpr Colour kSilverCaption = 0xBEA3A4;
constexpr Colour kBlueCaption = 0xE55400;
constexpr Colour kOliveBlend = 0xCCDCD6;
constexpr Colour kSilverBlend = 0xE6E6E6;
constexpr Colour kBlueBlend = 0xF0C5AC;

Colour TunedThemeColour(Colour c) {
    switch (c) {
        case kOliveBlend:
            return kOliveMenu;
        case kSilverBlend:
            return kSilverMenu;
        case kBlueBlend:
            return kBlueMenu;
        default:
            return c;
    }
}

}  // namespace

ColourPair ThemedColoursOf(const ThemeProbe& probe, bool forBar, const SystemColours& system, const Display& display) {
    if (IsWindows95OrNT4(probe.versionIndex))
        return {system.menu, system.menu};
    if (probe.styleId == kTintedStyle || probe.styleId == kTintedStyleUnframed) {
        const Colour c = TunedThemeColour(display.nearest(Blend70(Darken(10, system.window), system.activeCaption)));
        return {c, Lighten(110, c)};
    }
    if (!probe.themeActive)
        return {system.menu, Mix(system.menu, system.window, 220)};

    Colour a = Darken(10, system.window);
    Colour b = system.activeCaption;
    Colour first;
    if (probe.themeDataOpened) {
        if (probe.captionColourRead && probe.captionColour != 1)
            b = probe.captionColour;
        if (probe.windowColourRead && probe.windowColour != 1)
            a = probe.windowColour;
        if (b == kOliveCaption)
            first = kOliveMenu;
        else if (b == kSilverCaption)
            first = kSilverMenu;
        else if (b == kBlueCaption)
            first = kBlueMenu;
        else
            first = display.nearest(Blend70(a, b));
    } else {
        first = TunedThemeColour(display.nearest(Blend70(a, b)));
    }
    if (forBar)
        return {first, Lighten(probe.themeDataOpened ? 110 : 100, first)};
    return {Darken(20, first), Lighten(200, first)};
}

int ScaledPixels(int pixels, int dpi) {
    return dpi == 96 || dpi <= 0 ? pixels : MulDiv(pixels, dpi, 96);
}

Extent FlatPopupItemExtent(int barHeight, Extent icon, Extent text, int dpi) {
    Extent size{barHeight / 2 + ScaledPixels(icon.cx + 6, dpi) + text.cx, barHeight};
    if (ScaledPixels(icon.cy + 8, dpi) >= barHeight)
        size.cy = ScaledPixels(icon.cy + 7, dpi);
    size.cy = std::max(size.cy, text.cy);
    return size;
}

Extent FlatBarItemExtent(int barHeight, Extent icon, Extent text, bool hasAmpersand, int dpi) {
    return {hasAmpersand ? text.cx - ScaledPixels(6, dpi) : text.cx,
            std::max({barHeight, ScaledPixels(icon.cy + 2, dpi), text.cy})};
}

Extent ClassicPopupItemExtent(int barHeight, int, Extent icon, Extent text, bool gradient, int dpi) {
    return {text.cx + ScaledPixels(2 * icon.cx + 2, dpi),
            std::max({barHeight, ScaledPixels(icon.cy + (gradient ? 6 : 4), dpi), text.cy})};
}

Extent ClassicBarItemExtent(int barHeight, int checkWidth, Extent icon, Extent text, bool hasAmpersand, bool gradient,
                            int dpi) {
    return {hasAmpersand ? text.cx - checkWidth / 2 : text.cx,
            std::max({barHeight, ScaledPixels(icon.cy + (gradient ? 6 : 4), dpi), text.cy})};
}

Extent TitleItemExtent(bool vertical, int styleBits, Extent iconBox, Extent text, int checkWidth, bool underWine) {
    Extent icon = iconBox;
    if (icon.cx != 0 || icon.cy != 0) {
        icon.cx += 2;
        icon.cy += 2;
    }
    if (vertical) {
        Extent size{std::max(icon.cx, text.cy), 0};
        if (!underWine)
            size.cx -= checkWidth;
        if (styleBits & kTitleEngraved)
            size.cx += 8;
        else if (styleBits & kTitleRounded)
            size.cx += 4;
        return size;
    }
    Extent size{icon.cx + text.cx, std::max(icon.cy, text.cy)};
    if (styleBits & kTitleEngraved)
        size.cy += 8;
    return size;
}

bool IsSystemCommand(unsigned id) {
    const unsigned masked = id & 0xFFF0;
    return masked > 0xEFFF && masked <= 0xF150;
}

int BarItemShadowDarkness(int k, int y) {
    if (y < 4)
        return -1;
    if (y < 8)
        return 6 * k * (y - 3);
    return 30 * k;
}

std::vector<ShadowStep> MenuShadowSteps(int width, int height, bool fewColours, int size) {
    std::vector<ShadowStep> steps;
    const int w = width;
    const int h = height;
    const int n = std::max(size, 1);
    // Column (or row) k of n at its full strength, and on the fading ends at step `along` of n
    // (120 of 255 next to the menu; 30k and 6k per step at n = 4).
    const int fade = n * (n + 1);
    if (!fewColours) {
        for (int k = 1; k <= n; ++k) {  // the right-hand columns, k = 1 outermost
            const int x = w - k;
            const int full = 120 * k / n;
            for (int y = 0; y <= n - 1 && y < h; ++y)
                steps.push_back({ShadowStep::Copy, x, y, 0});
            for (int y = n; y <= 2 * n - 1 && y < h; ++y)
                steps.push_back({ShadowStep::Darken, x, y, 120 * k * (y - n + 1) / fade});
            for (int y = 2 * n; y <= h - n - 1; ++y)
                steps.push_back({ShadowStep::Darken, x, y, full});
            for (int y = std::max(h - n, 0); y <= h - 1; ++y)
                steps.push_back({ShadowStep::Darken, x, y, 120 * k * (h - y) / fade});
        }
        for (int k = 1; k <= n; ++k) {  // the bottom rows, k = 1 the last
            const int y = h - k;
            const int full = 120 * k / n;
            for (int x = 0; x <= n - 1 && x < w; ++x)
                steps.push_back({ShadowStep::Copy, x, y, 0});
            for (int x = n; x <= 2 * n - 1 && x < w; ++x)
                steps.push_back({ShadowStep::Darken, x, y, 120 * k * (x - n + 1) / fade});
            for (int x = 2 * n; x <= w - n - 1; ++x)
                steps.push_back({ShadowStep::Darken, x, y, full});
        }
        return steps;
    }
    // Few colours: the outer half unchanged, the inner half solid, from n pixels in.
    const int outer = n / 2;
    for (int x = std::max(w - outer, 0); x < w; ++x)
        for (int y = 0; y < h; ++y)
            steps.push_back({ShadowStep::Copy, x, y, 0});
    for (int y = std::max(h - outer, 0); y < h; ++y)
        for (int x = 0; x < w; ++x)
            steps.push_back({ShadowStep::Copy, x, y, 0});
    for (int x = w - outer - 1; x >= w - n; --x) {
        for (int y = 0; y <= n - 1 && y < h; ++y)
            steps.push_back({ShadowStep::Copy, x, y, 0});
        for (int y = n; y <= h - outer - 1; ++y)
            steps.push_back({ShadowStep::Solid, x, y, 0});
    }
    for (int y = h - outer - 1; y >= h - n; --y) {
        for (int x = 0; x <= n - 1 && x < w; ++x)
            steps.push_back({ShadowStep::Copy, x, y, 0});
        for (int x = n; x <= w - n - 1; ++x)
            steps.push_back({ShadowStep::Solid, x, y, 0});
    }
    return steps;
}

int MenuShadowWidth(int dpi) {
    return ScaledPixels(4, dpi);
}

Insets MenuFrameInsets(bool systemShadow, int dpi) {
    const int frame = ScaledPixels(2, dpi);
    const int far = systemShadow ? frame : frame + MenuShadowWidth(dpi);
    return Insets{frame, frame, far, far};
}

Extent MenuWindowGrowth(const Insets& frame, const Insets& system) {
    return {frame.left + frame.right - system.left - system.right,
            frame.top + frame.bottom - system.top - system.bottom};
}

}  // namespace menus
