// The title items of every style: a caption band across or along the menu.
#include <algorithm>

#include "item_drawing.h"
#include "menu_draw.h"
#include "menu_system.h"

namespace menus {

namespace {

struct TitleColours {
    Colour gradientEnd;
    Colour captionBack;
    Colour captionText;
};

// The caption colours, each replaced by the title record's own when it has one.
TitleColours TitleColoursOf(const CStyledMenuItemData& record, const SystemColours& system) {
    TitleColours colours{Blend86(system.window, GetMenuBackgroundColor(nullptr)), system.activeCaption,
                         system.captionText};
    if (const auto* title = dynamic_cast<const CStyledMenuItemDataTitle*>(&record)) {
        if (title->gradientEnd != kDefaultColour)
            colours.gradientEnd = title->gradientEnd;
        if (title->captionBack != kDefaultColour)
            colours.captionBack = title->captionBack;
        if (title->captionText != kDefaultColour)
            colours.captionText = title->captionText;
    }
    return colours;
}

// The item; a vertical title runs the whole height of the menu window's client area (the DC's clip
// box without a window) and reaches a check width further right.
RECT TitleAreaOf(HDC dc, const RECT& item, bool vertical) {
    RECT area = item;
    if (!vertical)
        return area;
    RECT client{};
    if (HWND window = WindowFromDC(dc))
        GetClientRect(window, &client);
    else
        GetClipBox(dc, &client);
    area.top = client.top;
    area.bottom = client.bottom;
    area.right += GetSystemMetrics(SM_CXMENUCHECK);
    return area;
}

// One-pixel frame lines: top and left in one colour, right and bottom in the other.
void FrameLines(HDC dc, const RECT& r, Colour topLeft, Colour bottomRight) {
    Line(dc, r.left, r.bottom - 1, r.left, r.top, topLeft);
    Line(dc, r.left, r.top, r.right - 1, r.top, topLeft);
    Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, bottomRight);
    Line(dc, r.right - 1, r.bottom - 1, r.left, r.bottom - 1, bottomRight);
}

// Where the text goes, and how big it and the icon's box are.
struct TitleLayout {
    RECT area;
    bool vertical;
    SIZE text;
    SIZE iconBox;
    int x;
    int y;
};

// A gradient (bit 0x4), a rounded band (bit 0x20, which moves the text) or a plain fill.
void FillTitleBackground(HDC dc, int styleBits, const TitleColours& colours, TitleLayout& layout) {
    const RECT& area = layout.area;
    if (styleBits & kTitleGradient) {
        if (layout.vertical)
            FillGradient(dc, area, colours.gradientEnd, colours.captionBack, false, true);
        else
            FillGradient(dc, area, colours.captionBack, colours.gradientEnd, true, true);
        return;
    }
    if (!(styleBits & kTitleRounded)) {
        Fill(dc, area, colours.captionBack);
        return;
    }
    RECT round = area;
    if (layout.vertical) {
        round.right = round.left + layout.text.cy + 4;
        layout.y -= 2;
    } else {
        layout.x += std::min<int>((area.right - area.left - layout.text.cx - layout.iconBox.cx) / 2, 10);
    }
    const winapp::Brush brush(CreateSolidBrush(colours.captionBack));
    const winapp::Selection brushSelection(dc, brush.get());
    const winapp::Selection penSelection(dc, GetStockObject(WHITE_PEN));
    RoundRect(dc, round.left, round.top, round.right, round.bottom, 10, 10);
}

// Bit 0x40: the text centred along the title (with the icon's box).
void CentreTitleText(TitleLayout& layout) {
    const RECT& area = layout.area;
    if (layout.vertical)
        layout.y = area.bottom - (area.bottom - area.top - layout.text.cx - layout.iconBox.cy) / 2 - layout.iconBox.cy;
    else
        layout.x = area.left + (area.right - area.left - layout.text.cx - layout.iconBox.cx) / 2 + layout.iconBox.cx;
}

// Bit 0x10: two engraved lines beside the text.
void DrawEngravedLines(HDC dc, const TitleLayout& layout, const SystemColours& system) {
    const RECT& area = layout.area;
    if (layout.vertical) {
        RECT engraved{area.left + 20, area.top + 5, area.left + 22, area.bottom - 5};
        FrameLines(dc, engraved, system.btnShadow, system.btnHighlight);
        OffsetRect(&engraved, 3, 0);
        engraved.top += 10;
        engraved.bottom -= 10;
        FrameLines(dc, engraved, system.btnShadow, system.btnHighlight);
    } else {
        RECT engraved{area.left + 2, area.bottom - 7, area.right - 2, area.bottom - 5};
        FrameLines(dc, engraved, system.btnHighlight, system.btnShadow);
        OffsetRect(&engraved, 0, 3);
        engraved.left += 10;
        engraved.right -= 10;
        FrameLines(dc, engraved, system.btnShadow, system.btnHighlight);
    }
}

void DrawTitleIcon(HDC dc, const CStyledMenuItemData& record, const TitleLayout& layout) {
    HICON icon = ImageList_GetIcon(record.iconStore->imageList(), record.iconIndex, ILD_NORMAL);
    if (icon == nullptr)
        return;
    const int x = layout.vertical ? layout.x : layout.x - layout.iconBox.cx;
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, layout.y + 2, layout.iconBox.cx - 4,
               layout.iconBox.cy - 4, DST_ICON);
    DestroyIcon(icon);
}

}  // namespace

void DrawTitleItem(CStyledMenu*, DRAWITEMSTRUCT* draw, bool) {
    const CStyledMenuItemData* record = RecordOf(draw->itemData);
    if (record == nullptr)
        return;
    HDC dc = draw->hDC;
    const SystemColours system = SystemColoursNow();
    const TitleColours colours = TitleColoursOf(*record, system);
    const bool hasIcon = record->iconStore != nullptr && record->iconIndex != -1;
    TitleLayout layout{};
    layout.vertical = (record->styleBits & kTitleVertical) != 0;
    layout.area = TitleAreaOf(dc, draw->rcItem, layout.vertical);
    if (hasIcon) {
        layout.iconBox = record->iconStore->IconSize();
        layout.iconBox.cx += 4;
        layout.iconBox.cy += 4;
    }
    LOGFONTA logFont = TitleLogFont(layout.vertical ? 900 : 0, DrawDpiOf(dc));
    const winapp::Font font(CreateFontIndirectA(&logFont));
    const winapp::Selection fontSelection(dc, font.get());
    layout.text = TextExtent(dc, record->text);
    layout.x = layout.vertical ? layout.area.left + 2 : layout.area.left + layout.iconBox.cx + 2;
    layout.y = layout.vertical ? layout.area.bottom - layout.iconBox.cy - 4 : layout.area.top;

    FillTitleBackground(dc, record->styleBits, colours, layout);
    if (record->styleBits & kTitleSunken)
        FrameLines(dc, layout.area, system.btnShadow, system.btnHighlight);
    if (record->styleBits & kTitleCentred)
        CentreTitleText(layout);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colours.captionText);
    TextOutA(dc, layout.x, layout.y, record->text.c_str(), static_cast<int>(record->text.size()));
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    if (hasIcon)
        DrawTitleIcon(dc, *record, layout);
    if (record->styleBits & kTitleEngraved)
        DrawEngravedLines(dc, layout, system);
}

}  // namespace menus
