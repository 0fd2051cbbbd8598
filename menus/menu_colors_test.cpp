#include "menu_colors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace menus {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZeroAndFailsAsThePlatformDoes) {
    EXPECT_EQ(MulDiv(7, 1, 2), 4);
    EXPECT_EQ(MulDiv(-7, 1, 2), -4);
    EXPECT_EQ(MulDiv(7, -1, -2), 4);
    EXPECT_EQ(MulDiv(240, 127, 255), 120);  // 119.53
    EXPECT_EQ(MulDiv(5, 3, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 2, 1), -1);
}

TEST(ColourFunctions, MatchHandComputedValues) {
    EXPECT_EQ(Blend86(0xFFFFFF, 0xF0F0F0), 0xFDFDFDu);  // 219 + 34
    EXPECT_EQ(Blend86(0xF0F0F0, 0xFFFFFF), 0xF2F2F2u);  // 206 + 36
    EXPECT_EQ(Blend70(0xFFFFFF, 0xD77800), 0xF4D7B3u);  // red 179, green 179+36, blue 179+65
    // A pure highlight channel on white would come to 179 + 77 = 256: held at 255, not wrapped to 0.
    EXPECT_EQ(Blend70(0xFFFFFF, 0xFF0000), 0xFFB3B3u);
    EXPECT_EQ(Blend70(0xFFFFFF, 0x00FFFF), 0xB3FFFFu);
    EXPECT_EQ(Darken(128, 0xF0F0F0), 0x787878u);
    EXPECT_EQ(Darken(30, 0x808080), 0x717171u);
    EXPECT_EQ(Darken(0, 0x123456), 0x123456u);
    EXPECT_EQ(Lighten(110, 0x000000), 0x6E6E6Eu);
    EXPECT_EQ(Lighten(200, 0x102030), MakeColour(210, 207, 203));
    EXPECT_EQ(BluishDarken(0xFFFFFF), MakeColour(179, 179, 217));
    EXPECT_EQ(Mix(0xF0F0F0, 0xFFFFFF, 220), 0xFBFBFBu);  // 64500 / 256, truncated
    EXPECT_EQ(Mix(0xF0F0F0, static_cast<Colour>(-1), 220), static_cast<Colour>(-1));
    // Channels never leak into each other.
    EXPECT_EQ(Darken(255, 0xFFFFFF), 0u);
    EXPECT_EQ(Lighten(255, 0x000000), 0xFFFFFFu);
}

// Every result is a colour: for any two channel values each function stays within one of its
// exact value, never wrapping past 255 or below 0, and greys stay grey (nothing carries into the
// next channel).
TEST(ColourFunctions, StayInRangeForEveryPairOfChannelValues) {
    struct Function {
        const char* name;
        std::function<Colour(int, int)> apply;
        std::function<double(int, int)> exact;
    };
    auto grey = [](int v) { return MakeColour(v, v, v); };
    const Function functions[] = {
        {"Blend86", [&](int a, int b) { return Blend86(grey(a), grey(b)); },
         [](int a, int b) { return (86.0 * a + 14.0 * b) / 100; }},
        {"Blend70", [&](int a, int b) { return Blend70(grey(a), grey(b)); },
         [](int a, int b) { return (7.0 * a + 3.0 * b) / 10; }},
        {"Darken", [&](int n, int c) { return Darken(n, grey(c)); },
         [](int n, int c) { return c * (255.0 - n) / 255; }},
        {"Lighten", [&](int n, int c) { return Lighten(n, grey(c)); },
         [](int n, int c) { return c + (255.0 - c) * n / 255; }},
        {"Mix", [&](int a, int b) { return Mix(grey(a), grey(b), 220); },
         [](int a, int b) { return (a * 35.0 + b * 220.0) / 256; }},
        {"Mix by n", [&](int n, int a) { return Mix(grey(a), grey(255), n); },
         [](int n, int a) { return (a * (255.0 - n) + 255.0 * n) / 256; }},
        {"GradientBandColour", [&](int a, int b) { return GradientBandColour(grey(a), grey(b), 40, 100); },
         [](int a, int b) { return a + (b - a) * 40.0 / 98; }},
    };
    for (const Function& function : functions) {
        int failures = 0;
        std::string first;
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                const Colour result = function.apply(a, b);
                const int red = RedOf(result);
                const bool fine = (result >> 24) == 0 && GreenOf(result) == red && BlueOf(result) == red &&
                                  std::abs(red - function.exact(a, b)) <= 1.0;
                if (!fine && failures++ == 0) {
                    char text[64];
                    std::snprintf(text, sizeof text, "(%d, %d) gives 0x%06X", a, b, static_cast<unsigned>(result));
                    first = text;
                }
            }
        }
        EXPECT_EQ(failures, 0) << function.name << ": first at " << first;
    }
}

TEST(ColourFunctions, GradientBandsRunFromTheFirstColourTowardsTheLast) {
    EXPECT_EQ(GradientBandColour(0x000000, 0x0000FF, 0, 10), 0x000000u);
    EXPECT_EQ(GradientBandColour(0x000000, 0x0000FF, 4, 10), 0x000080u);  // 127.5 rounds up
    EXPECT_EQ(GradientBandColour(0x0000FF, 0x000000, 8, 10), 0x000000u);
    EXPECT_EQ(GradientBandColour(0xFF0000, 0x000000, 4, 10), 0x7F0000u);  // 255 − 127.5 → 255 − 128
}

TEST(FlatColours, FollowTheDisplay) {
    SystemColours system;  // window white, menu and face 0xF0F0F0, highlight 0xD77800
    Display display;
    FlatItemColours c = FlatColoursOf(0xF0F0F0, system, display);
    EXPECT_EQ(c.itemBack, 0xFDFDFDu);
    EXPECT_EQ(c.gutterBack, 0xF2F2F2u);
    EXPECT_EQ(c.selectionFill, 0xF4D7B3u);
    EXPECT_EQ(c.selectionFrame, system.highlight);

    display.colourCount = 256;
    system.btnFace = 0xC0C0C0;
    c = FlatColoursOf(0xF0F0F0, system, display);
    EXPECT_EQ(c.gutterBack, 0xC0C0C0u);
    EXPECT_EQ(c.selectionFill, system.window);

    display.colourCount = 64000;
    display.highContrast = true;
    system.btnText = 0x00FFFF;
    c = FlatColoursOf(0xF0F0F0, system, display);
    EXPECT_EQ(c.selectionFill, system.highlight);
    EXPECT_EQ(c.selectionFrame, 0x00FFFFu);
}

TEST(FlatColours, CollapseToPlainColoursWhenTheScreenCannotTellThemApart) {
    SystemColours system;
    Display display;
    display.nearest = [](Colour c) { return c & 0x808080; };  // eight colours
    const FlatItemColours items = FlatColoursOf(0xF0F0F0, system, display);
    EXPECT_EQ(items.itemBack, system.window);
    EXPECT_EQ(items.gutterBack, 0xF0F0F0u);
    const FlatFrameColours frame = FlatFrameColoursOf(0xF0F0F0, system, display);
    EXPECT_EQ(frame.frame, system.window);
    EXPECT_EQ(frame.gutter, 0xF0F0F0u);
    EXPECT_EQ(frame.outline, 0x787878u);
}

TEST(FlatColours, FrameColoursUseTheFaceColourUpTo256Colours) {
    SystemColours system;
    system.btnFace = 0xC0C0C0;
    Display display;
    display.colourCount = 256;
    EXPECT_EQ(FlatFrameColoursOf(0xF0F0F0, system, display).gutter, 0xC0C0C0u);
    display.colourCount = 64000;
    const FlatFrameColours frame = FlatFrameColoursOf(0xF0F0F0, system, display);
    EXPECT_EQ(frame.frame, 0xFDFDFDu);
    EXPECT_EQ(frame.gutter, 0xF2F2F2u);
}

TEST(ThemedColours, FollowVersionStyleAndTheme) {
    SystemColours system;
    Display display;
    ThemeProbe probe;
    probe.versionIndex = WindowsVersion::kNT4;
    ColourPair pair = ThemedColoursOf(probe, true, system, display);
    EXPECT_EQ(pair.first, system.menu);
    EXPECT_EQ(pair.second, system.menu);

    probe.versionIndex = WindowsVersion::kXPOrLater;
    probe.styleId = 10;
    pair = ThemedColoursOf(probe, true, system, display);
    EXPECT_EQ(pair.first, MakeColour(218, 226, 235));
    EXPECT_EQ(pair.second, MakeColour(234, 239, 244));

    Display tuned = display;
    tuned.nearest = [](Colour) { return Colour{0xCCDCD6}; };
    EXPECT_EQ(ThemedColoursOf(probe, true, system, tuned).first, 0xAADADAu);

    probe.styleId = 8;  // no theme
    pair = ThemedColoursOf(probe, false, system, display);
    EXPECT_EQ(pair.first, system.menu);
    EXPECT_EQ(pair.second, 0xFBFBFBu);

    probe.themeActive = true;
    probe.themeDataOpened = true;
    probe.captionColourRead = true;
    probe.captionColour = 0x86B8AA;
    pair = ThemedColoursOf(probe, true, system, display);
    EXPECT_EQ(pair.first, 0xAADADAu);
    EXPECT_EQ(pair.second, Lighten(110, 0xAADADA));
    pair = ThemedColoursOf(probe, false, system, display);
    EXPECT_EQ(pair.first, Darken(20, 0xAADADA));
    EXPECT_EQ(pair.second, Lighten(200, 0xAADADA));

    probe.captionColour = 1;  // "no value": the caption colour stays
    pair = ThemedColoursOf(probe, true, system, display);
    EXPECT_EQ(pair.first, MakeColour(218, 226, 235));
    probe.themeDataOpened = false;
    EXPECT_EQ(ThemedColoursOf(probe, true, system, display).second, Lighten(100, MakeColour(218, 226, 235)));
}

TEST(Measurements, FollowTheFlatAndClassicRules) {
    const Extent icon{16, 15};
    EXPECT_EQ(FlatPopupItemExtent(19, icon, {60, 13}).cx, 91);
    EXPECT_EQ(FlatPopupItemExtent(19, icon, {60, 13}).cy, 22);  // icon height + 8 ≥ bar height
    EXPECT_EQ(FlatPopupItemExtent(24, icon, {60, 13}).cy, 24);
    EXPECT_EQ(FlatPopupItemExtent(24, icon, {60, 30}).cy, 30);
    EXPECT_EQ(FlatBarItemExtent(19, icon, {40, 13}, true).cx, 34);
    EXPECT_EQ(FlatBarItemExtent(19, icon, {40, 13}, false).cx, 40);
    EXPECT_EQ(FlatBarItemExtent(19, icon, {40, 13}, false).cy, 19);
    EXPECT_EQ(ClassicPopupItemExtent(19, 13, icon, {60, 13}, false).cx, 94);
    EXPECT_EQ(ClassicPopupItemExtent(19, 13, icon, {60, 13}, false).cy, 19);
    EXPECT_EQ(ClassicPopupItemExtent(19, 13, icon, {60, 13}, true).cy, 21);
    EXPECT_EQ(ClassicBarItemExtent(19, 13, icon, {40, 13}, true, false).cx, 34);

    // At 144 DPI the icon room and the margins grow by half (the bar height and the text come
    // measured at that DPI): the 22-pixel row becomes 33, the gutter's share 33 instead of 22.
    EXPECT_EQ(FlatPopupItemExtent(27, icon, {90, 20}, 144).cx, 27 / 2 + 33 + 90);
    EXPECT_EQ(FlatPopupItemExtent(27, icon, {90, 20}, 144).cy, 33);
    EXPECT_EQ(FlatPopupItemExtent(36, icon, {90, 20}, 144).cy, 36);
    EXPECT_EQ(FlatBarItemExtent(27, icon, {60, 20}, true, 144).cx, 51);
    EXPECT_EQ(ClassicPopupItemExtent(27, 20, icon, {90, 20}, false, 144).cx, 90 + 51);
    EXPECT_EQ(ClassicPopupItemExtent(20, 20, icon, {90, 20}, true, 144).cy, 32);
}

TEST(Measurements, TitlesStandOrLie) {
    const Extent text{80, 16};
    const Extent vertical = TitleItemExtent(true, 0x13, {16, 16}, text, 13, false);
    EXPECT_EQ(vertical.cx, 13);  // 18 − 13 + 8
    EXPECT_EQ(vertical.cy, 0);
    EXPECT_EQ(TitleItemExtent(true, 0x23, {16, 16}, text, 13, true).cx, 22);  // under Wine: no check width
    const Extent lying = TitleItemExtent(false, 0x11, {16, 16}, text, 13, false);
    EXPECT_EQ(lying.cx, 98);
    EXPECT_EQ(lying.cy, 26);
    EXPECT_EQ(TitleItemExtent(false, 0x1, {0, 0}, text, 13, false).cx, 80);  // no icon: no margin
}

TEST(Measurements, SystemCommandsAreTheWindowMenus) {
    EXPECT_TRUE(IsSystemCommand(0xF000));
    EXPECT_TRUE(IsSystemCommand(0xF060));
    EXPECT_TRUE(IsSystemCommand(0xF061));
    EXPECT_TRUE(IsSystemCommand(0xF150));
    EXPECT_FALSE(IsSystemCommand(0xF160));
    EXPECT_FALSE(IsSystemCommand(0xEFF0));
    EXPECT_FALSE(IsSystemCommand(100));
}

TEST(Shadows, BarItemShadowFadesInOverFourRows) {
    EXPECT_EQ(BarItemShadowDarkness(1, 0), -1);
    EXPECT_EQ(BarItemShadowDarkness(4, 3), -1);
    EXPECT_EQ(BarItemShadowDarkness(2, 5), 24);
    EXPECT_EQ(BarItemShadowDarkness(4, 7), 96);
    EXPECT_EQ(BarItemShadowDarkness(4, 20), 120);
}

// The step that paints a pixel last.
const ShadowStep* FinalStep(const std::vector<ShadowStep>& steps, int x, int y) {
    const ShadowStep* found = nullptr;
    for (const ShadowStep& step : steps)
        if (step.x == x && step.y == y)
            found = &step;
    return found;
}

TEST(Shadows, MenuShadowIsStrongestBesideTheMenuAndFadesAtTheEnds) {
    const auto steps = MenuShadowSteps(100, 50, false);
    auto darkness = [&](int x, int y) {
        const ShadowStep* step = FinalStep(steps, x, y);
        return step == nullptr ? -1 : step->kind == ShadowStep::Copy ? 0 : step->darkness;
    };
    EXPECT_EQ(darkness(99, 25), 30);
    EXPECT_EQ(darkness(96, 25), 120);
    EXPECT_EQ(darkness(99, 2), 0);
    EXPECT_EQ(darkness(99, 5), 12);
    EXPECT_EQ(darkness(99, 48), 12);
    EXPECT_EQ(darkness(99, 49), 6);  // the corner keeps the first pass's value
    EXPECT_EQ(darkness(50, 49), 30);
    EXPECT_EQ(darkness(50, 46), 120);
    EXPECT_EQ(darkness(5, 49), 12);
    EXPECT_EQ(darkness(2, 49), 0);
    EXPECT_EQ(darkness(50, 25), -1);  // the menu itself is not touched
    EXPECT_LE(steps.size(), 4u * (100 + 50));
}

// At 144 DPI the shadow is 6 pixels wide, with the same strength beside the menu and the fading
// stretched over 6 pixels at each end.
TEST(Shadows, AWiderShadowKeepsItsStrengthAndFading) {
    const auto steps = MenuShadowSteps(100, 50, false, 6);
    auto darkness = [&](int x, int y) {
        const ShadowStep* step = FinalStep(steps, x, y);
        return step == nullptr ? -1 : step->kind == ShadowStep::Copy ? 0 : step->darkness;
    };
    EXPECT_EQ(darkness(99, 25), 20);
    EXPECT_EQ(darkness(94, 25), 120);
    EXPECT_EQ(darkness(93, 25), -1);
    EXPECT_EQ(darkness(94, 5), 0);
    EXPECT_EQ(darkness(94, 6), 120 * 6 * 1 / 42);
    EXPECT_EQ(darkness(94, 11), 120 * 6 * 6 / 42);
    EXPECT_EQ(darkness(94, 12), 120);
    EXPECT_EQ(darkness(50, 44), 120);
    EXPECT_EQ(darkness(50, 43), -1);
    EXPECT_EQ(darkness(5, 49), 0);
    EXPECT_EQ(darkness(6, 49), 120 / 42);
    EXPECT_LE(steps.size(), 6u * (100 + 50));

    const auto few = MenuShadowSteps(40, 30, true, 6);
    EXPECT_EQ(FinalStep(few, 37, 10)->kind, ShadowStep::Copy);  // the outer three
    EXPECT_EQ(FinalStep(few, 36, 10)->kind, ShadowStep::Solid);
    EXPECT_EQ(FinalStep(few, 34, 10)->kind, ShadowStep::Solid);
    EXPECT_EQ(FinalStep(few, 34, 5)->kind, ShadowStep::Copy);
    EXPECT_EQ(FinalStep(few, 33, 10), nullptr);
    EXPECT_EQ(FinalStep(few, 20, 24)->kind, ShadowStep::Solid);
}

TEST(Shadows, LowMenusGetOnlyTheCorners) {
    const auto steps = MenuShadowSteps(60, 10, false);
    // Row 6 is both in the fade-in (6·k·3) and the fade-out (6·k·4); the fade-out runs last.
    EXPECT_EQ(FinalStep(steps, 59, 6)->darkness, 24);
    for (const ShadowStep& step : steps) {
        if (step.x >= 56) {
            EXPECT_NE(step.darkness, 30 * (60 - step.x)) << "no full-strength row at " << step.y;
        }
    }
}

TEST(Shadows, FewColoursGiveTwoSolidLines) {
    const auto steps = MenuShadowSteps(20, 30, true);
    EXPECT_EQ(FinalStep(steps, 19, 10)->kind, ShadowStep::Copy);
    EXPECT_EQ(FinalStep(steps, 17, 10)->kind, ShadowStep::Solid);
    EXPECT_EQ(FinalStep(steps, 16, 10)->kind, ShadowStep::Solid);
    EXPECT_EQ(FinalStep(steps, 17, 2)->kind, ShadowStep::Copy);
    EXPECT_EQ(FinalStep(steps, 10, 27)->kind, ShadowStep::Solid);
    EXPECT_EQ(FinalStep(steps, 2, 27)->kind, ShadowStep::Copy);
    EXPECT_EQ(FinalStep(steps, 10, 28)->kind, ShadowStep::Copy);
    EXPECT_EQ(FinalStep(steps, 15, 10), nullptr);
}

// The client area ends before the frame's inner line (one pixel inside the outline, which lies 4
// pixels from the far edges when the library draws the shadow), and the window grows by what the
// frame takes beyond the system's own border: 2 for a 3-pixel border, 8 for none.
TEST(FrameGeometry, TheClientAreaClearsTheFrameAndKeepsItsSize) {
    for (bool shadow : {false, true}) {
        const Insets frame = MenuFrameInsets(shadow);
        const int w = 200;
        const int h = 120;
        const int innerRight = shadow ? w - 2 : w - 6;
        const int innerBottom = shadow ? h - 2 : h - 6;
        EXPECT_EQ(w - frame.right, innerRight) << "shadow " << shadow;
        EXPECT_EQ(h - frame.bottom, innerBottom) << "shadow " << shadow;
        EXPECT_EQ(frame.left, 2);
        EXPECT_EQ(frame.top, 2);
    }
    const Insets threePixels{3, 3, 3, 3};
    EXPECT_EQ(MenuWindowGrowth(MenuFrameInsets(false), threePixels).cx, 2);
    EXPECT_EQ(MenuWindowGrowth(MenuFrameInsets(false), threePixels).cy, 2);
    EXPECT_EQ(MenuWindowGrowth(MenuFrameInsets(true), threePixels).cx, -2);
    EXPECT_EQ(MenuWindowGrowth(MenuFrameInsets(false), Insets{0, 0, 0, 0}).cx, 8);
    EXPECT_EQ(MenuWindowGrowth(MenuFrameInsets(true), Insets{1, 1, 1, 1}).cy, 2);

    // Half as wide again at 144 DPI: frame 3, shadow 6.
    const Insets wide = MenuFrameInsets(false, 144);
    EXPECT_EQ(wide.left, 3);
    EXPECT_EQ(wide.top, 3);
    EXPECT_EQ(wide.right, 9);
    EXPECT_EQ(wide.bottom, 9);
    EXPECT_EQ(MenuFrameInsets(true, 144).right, 3);
    EXPECT_EQ(MenuShadowWidth(144), 6);
    EXPECT_EQ(MenuShadowWidth(96), 4);
}

}  // namespace
}  // namespace menus
