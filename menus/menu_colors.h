// The menu library's colour and geometry arithmetic, apart from the system: colour blends, the
// flat style's colour scheme, item measurements, gradient bands and shadow strengths. Colours are
// 0x00BBGGRR values; every product and quotient rounds as the platform's MulDiv does, and every
// channel of a result is held to 0..255.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace menus {

// The style bits of a menu item: what makes it a title and how the title looks.
enum TitleStyleBit : int {
    kTitleItem = 0x1,
    kTitleVertical = 0x2,  // a side bar
    kTitleGradient = 0x4,
    kTitleSunken = 0x8,
    kTitleEngraved = 0x10,  // two engraved lines
    kTitleRounded = 0x20,
    kTitleCentred = 0x40,
};

// The style identifiers, by look; each look with its own frame and without one. The numbers are
// the styles' ids (the demo takes them on its command line).
enum StyleId : int {
    kClassicStyle = 0,
    kClassicStyleUnframed = 1,
    kFlatStyle = 2,
    kFlatStyleUnframed = 3,
    kSpecialStyle = 4,
    kSpecialStyleUnframed = 5,
    kGradientStyle = 6,
    kGradientStyleUnframed = 7,
    kThemedStyle = 8,
    kThemedStyleUnframed = 9,
    kTintedStyle = 10,
    kTintedStyleUnframed = 11,
};

using Colour = std::uint32_t;
constexpr Colour kDefaultColour = 0xFF000000;  // "not set: take the default"

// round(a × b / c), halves away from zero; −1 for c = 0 or a result beyond 32 bits.
int MulDiv(int a, int b, int c);

constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr Colour MakeColour(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

Colour Blend86(Colour a, Colour b);  // 86/100 of a plus 14/100 of b
Colour Blend70(Colour a, Colour b);  // 7/10 of a plus 3/10 of b
Colour Darken(int n, Colour c);      // each channel × (255 − n) / 255
Colour Lighten(int n, Colour c);     // each channel + (255 − channel) × n / 255
Colour BluishDarken(Colour c);       // red and green × 7/10, (blue + 55) × 7/10
// (a × (255 − n) + b × n) / 256 per channel, truncated; −1 when b is −1.
Colour Mix(Colour a, Colour b, int n);

// The colour of band n (0, 2, 4, …) of a banded gradient `length` pixels long.
Colour GradientBandColour(Colour from, Colour to, int n, int length);

// The system colours that the drawing routines read.
struct SystemColours {
    Colour window = 0xFFFFFF;
    Colour menu = 0xF0F0F0;
    Colour btnFace = 0xF0F0F0;
    Colour btnText = 0x000000;
    Colour btnShadow = 0xA0A0A0;
    Colour btnHighlight = 0xFFFFFF;
    Colour highlight = 0xD77800;
    Colour highlightText = 0xFFFFFF;
    Colour menuText = 0x000000;
    Colour grayText = 0x6D6D6D;
    Colour activeCaption = 0xD1B499;
    Colour captionText = 0x000000;
};

// What the screen offers: its colour count (NUMCOLORS; more than 256 stored as 64000), the
// high-contrast setting, and the nearest displayable colour.
struct Display {
    int colourCount = 64000;
    bool highContrast = false;
    std::function<Colour(Colour)> nearest = [](Colour c) { return c; };
};

Colour GetSelectionFillColor(const SystemColours& system, const Display& display);

// The flat style's item colours (before the menu-bar adjustments).
struct FlatItemColours {
    Colour itemBack;
    Colour gutterBack;
    Colour selectionFill;
    Colour selectionFrame;
};
FlatItemColours FlatColoursOf(Colour menuColour, const SystemColours& system, const Display& display);

// The flat style's menu-window frame colours.
struct FlatFrameColours {
    Colour frame;
    Colour gutter;
    Colour outline;
};
FlatFrameColours FlatFrameColoursOf(Colour menuBack, const SystemColours& system, const Display& display);

// The Windows versions that the library tells apart (their index, as the platform probe finds it).
enum class WindowsVersion {
    kWin32s = 0,
    kNT3 = 1,
    kWindows95 = 2,
    kWindows98 = 3,
    kWindowsMe = 4,
    kNT4 = 5,
    kWindows2000 = 6,
    kXPOrLater = 7,
};

// Windows 95 and NT 4, which several of the rules treat alike.
inline bool IsWindows95OrNT4(WindowsVersion version) {
    return version == WindowsVersion::kWindows95 || version == WindowsVersion::kNT4;
}

// The themed colour pair of styles 8 to 11, from what the system gave.
struct ThemeProbe {
    WindowsVersion versionIndex = WindowsVersion::kXPOrLater;
    int styleId = kThemedStyle;
    bool themeActive = false;  // styles 8 and 9
    bool themeDataOpened = false;
    bool captionColourRead = false;  // property 3821, replaces b
    Colour captionColour = 0;
    bool windowColourRead = false;  // property 3805, replaces a
    Colour windowColour = 0;
};
struct ColourPair {
    Colour first;
    Colour second;
};
ColourPair ThemedColoursOf(const ThemeProbe& probe, bool forBar, const SystemColours& system, const Display& display);

struct Extent {
    int cx;
    int cy;
};

// A size given in pixels at 96 DPI, at `dpi` (rounded to the nearest pixel; unchanged at 96).
int ScaledPixels(int pixels, int dpi);

// MeasureFlatItem for a command item: `barHeight` is SM_CYMENU, `icon` the menu's icon size,
// `text` the extent of the item text (tabs measured as "nnn"). The icon size and the margins are
// 96-DPI values, scaled to `dpi`; the bar height and the text come measured at that DPI.
Extent FlatPopupItemExtent(int barHeight, Extent icon, Extent text, int dpi = 96);
Extent FlatBarItemExtent(int barHeight, Extent icon, Extent text, bool hasAmpersand, int dpi = 96);
// MeasureClassicItem (and MeasureGradientItem with `gradient`) for a command item.
Extent ClassicPopupItemExtent(int barHeight, int checkWidth, Extent icon, Extent text, bool gradient, int dpi = 96);
Extent ClassicBarItemExtent(int barHeight, int checkWidth, Extent icon, Extent text, bool hasAmpersand, bool gradient,
                            int dpi = 96);
// A title item: `iconBox` is the icon store's size (zero without an icon).
Extent TitleItemExtent(bool vertical, int styleBits, Extent iconBox, Extent text, int checkWidth, bool underWine);

// Whether a command identifier is one of the window menu's (masked, above 0xEFFF up to 0xF150).
bool IsSystemCommand(unsigned id);

// The darkening of the shadow beside a selected bar item whose popup is open, in column k (1 = the
// item's right edge) and row y; −1 where the menu colour is kept unchanged.
int BarItemShadowDarkness(int k, int y);

// The menu window's shadow in the 4 columns on the right and the 4 rows at the bottom, as the
// steps that paint it, in order (a later step over the same pixel wins). Coordinates count from the
// window's top-left corner.
struct ShadowStep {
    enum Kind { Copy, Darken, Solid } kind;  // Solid: COLOR_BTNSHADOW
    int x;
    int y;
    int darkness;  // for Darken
};
// `size` is the shadow's width, 4 at 96 DPI and scaled with it: the strength at the menu's edge
// and the fading over the first and last `size` pixels of each edge stay what they are at 4.
std::vector<ShadowStep> MenuShadowSteps(int width, int height, bool fewColours, int size = 4);

// The non-client widths of a framed menu window on each side. The frame's inner line lies one
// pixel inside the outline, so the client area starts and ends beyond it on all four sides: 2 on
// the left and top; on the right and bottom the two lines, plus the 4 shadow pixels when the
// system draws no shadow.
struct Insets {
    int left;
    int top;
    int right;
    int bottom;
};
// At `dpi` the frame and the shadow are as much wider (2 and 4 pixels at 96).
Insets MenuFrameInsets(bool systemShadow, int dpi = 96);
// The width of the library's own shadow at `dpi`.
int MenuShadowWidth(int dpi);
// How much wider and higher a menu window must be than the system made it, so that the client
// area keeps the size the system gave it (`system`: the non-client widths of the window's own
// styles, which the frame replaces). Negative where the frame takes less than the system did.
Extent MenuWindowGrowth(const Insets& frame, const Insets& system);

}  // namespace menus
