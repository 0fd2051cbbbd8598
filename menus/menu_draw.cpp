#include "menu_draw.h"

#include <algorithm>
#include <string>
#include <vector>

#include "gdi_helpers.h"
#include "menu_styles.h"
#include "menu_system.h"
#include "styled_menu.h"

namespace menus {
namespace {

// ---- small GDI helpers; every object made here is deleted on every path

void Line(HDC dc, int x1, int y1, int x2, int y2, Colour colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

LOGFONTA MenuLogFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;  // the record without the padded border width
    LOGFONTA font{};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0))
        font = metrics.lfMenuFont;
    return font;
}

HFONT MenuFont(bool bold, int escapement) {
    LOGFONTA font = MenuLogFont();
    if (bold)
        font.lfWeight = FW_BOLD;
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    return CreateFontIndirectA(&font);
}

LOGFONTA TitleLogFont(int escapement) {
    LOGFONTA font{};
    font.lfHeight = 16;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(font.lfFaceName, "Arial");
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    return font;
}

SIZE TextExtent(HDC dc, const std::string& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (text.empty()) {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        size.cy = metrics.tmHeight;
    }
    return size;
}

std::string TabsAsNnn(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\t' ? std::string("nnn") : std::string(1, c);
    return out;
}

CStyledMenuItemData* RecordOf(ULONG_PTR data) {
    return reinterpret_cast<CStyledMenuItemData*>(data);
}

HACCEL TableOf(const CStyledMenu* menu) {
    return kShowAcceleratorText ? menu->accelerators() : nullptr;
}

bool IsDefaultItem(const CStyledMenu* menu, const CStyledMenuItemData& record) {
    const UINT item = GetMenuDefaultItem(menu->handle(), FALSE, 0);
    return item != static_cast<UINT>(-1) && item == record.command;
}

// A popup item is drawn into a bitmap of its size and copied at the end; bar items and separators
// go straight to the target.
class ItemCanvas {
public:
    ItemCanvas(HDC target, const RECT& item, bool buffered) : target_(target), item_(item) {
        if (!buffered)
            return;
        const int width = item.right - item.left;
        const int height = item.bottom - item.top;
        memory_ = CreateCompatibleDC(target);
        bitmap_ = memory_ != nullptr ? CreateCompatibleBitmap(target, width, height) : nullptr;
        if (bitmap_ == nullptr) {
            if (memory_ != nullptr)
                DeleteDC(memory_);
            memory_ = nullptr;
            return;
        }
        old_ = SelectObject(memory_, bitmap_);
        SetWindowOrgEx(memory_, item.left, item.top, nullptr);
    }
    ~ItemCanvas() {
        if (memory_ == nullptr)
            return;
        BitBlt(target_, item_.left, item_.top, item_.right - item_.left, item_.bottom - item_.top, memory_, item_.left,
               item_.top, SRCCOPY);
        SelectObject(memory_, old_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
    }
    ItemCanvas(const ItemCanvas&) = delete;
    ItemCanvas& operator=(const ItemCanvas&) = delete;
    HDC dc() const { return memory_ != nullptr ? memory_ : target_; }

private:
    HDC target_;
    RECT item_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// One "Marlett" glyph centred in `box` (shrunk by 2 on each side).
void DrawGlyph(HDC dc, RECT box, char glyph, bool bold, Colour colour) {
    InflateRect(&box, -2, -2);
    LOGFONTA font{};
    font.lfHeight = box.bottom - box.top;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(font.lfFaceName, "Marlett");
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(dc, handle);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    char text[2] = {glyph, 0};
    DrawTextA(dc, text, 1, &box, DT_CENTER | DT_SINGLELINE);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, old);
    DeleteObject(handle);
}

char SystemGlyphOf(UINT id) {
    switch (id & 0xFFF0) {
        case SC_MINIMIZE:
            return '0';
        case SC_MAXIMIZE:
            return '1';
        case SC_RESTORE:
            return '2';
        case SC_CLOSE:
            return 'r';
        default:
            return 0;
    }
}

void DrawIconImage(HDC dc, HIMAGELIST list, int index, int x, int y) {
    ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
}

void DrawIconMono(HDC dc, HIMAGELIST list, int index, int x, int y, SIZE size, Colour colour) {
    HICON icon = ImageList_GetIcon(list, index, ILD_NORMAL);
    if (icon == nullptr)
        return;
    HBRUSH brush = CreateSolidBrush(colour);
    DrawStateA(dc, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, size.cx, size.cy, DST_ICON | DSS_MONO);
    DeleteObject(brush);
    DestroyIcon(icon);
}

// The text of an item: left of the first tab left-aligned, right of the last tab right-aligned,
// a bar item centred (turned for a vertical bar).
void DrawItemText(HDC dc, const std::string& text, RECT area, bool onBar, bool vertical, UINT state, Colour colour,
                  HFONT font) {
    if (text.empty())
        return;
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    const UINT prefix = (state & ODS_NOACCEL) ? 0x100000u /* DT_HIDEPREFIX */ : 0u;
    if (onBar && vertical) {
        std::string plain;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] != '&' || (i + 1 < text.size() && text[i + 1] == '&'))
                plain += text[i];
        const SIZE extent = TextExtent(dc, plain);
        const int x = (area.left + area.right + extent.cy) / 2;
        const int y = area.top + (area.bottom - area.top - extent.cx) / 2;
        TextOutA(dc, x, y, plain.c_str(), static_cast<int>(plain.size()));
    } else if (onBar) {
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix);
    } else {
        const std::size_t first = text.find('\t');
        const std::string left = text.substr(0, first);
        DrawTextA(dc, left.c_str(), static_cast<int>(left.size()), &area,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix);
        if (first != std::string::npos) {
            const std::string right = text.substr(text.rfind('\t') + 1);
            DrawTextA(dc, right.c_str(), static_cast<int>(right.size()), &area,
                      DT_RIGHT | DT_VCENTER | DT_SINGLELINE | prefix);
        }
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

// ---- measuring

enum class MeasureKind { Flat, Classic, Gradient };

Extent MeasureText(const CStyledMenu* menu, const CStyledMenuItemData& record, MeasureKind kind) {
    std::string text = record.GetString(TableOf(menu));
    if (kind != MeasureKind::Classic)
        text = TabsAsNnn(text);
    HDC screen = GetDC(nullptr);
    HFONT font = MenuFont(IsDefaultItem(menu, record), 0);
    HGDIOBJ old = SelectObject(screen, font);
    const SIZE size = TextExtent(screen, text);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return {size.cx, size.cy};
}

Extent MeasureTitle(const CStyledMenuItemData& record) {
    HDC screen = GetDC(nullptr);
    LOGFONTA logFont = TitleLogFont(0);
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ old = SelectObject(screen, font);
    const SIZE text = TextExtent(screen, record.text);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    Extent icon{0, 0};
    if (record.iconStore != nullptr && record.iconIndex != -1) {
        const SIZE size = record.iconStore->IconSize();
        icon = {size.cx, size.cy};
    }
    return TitleItemExtent((record.styleBits & 0x2) != 0, record.styleBits, icon, {text.cx, text.cy},
                           GetSystemMetrics(SM_CXMENUCHECK), ThePlatform().underWine);
}

Extent MeasureCommand(const CStyledMenu* menu, const CStyledMenuItemData& record, bool onBar, MeasureKind kind) {
    const Extent text = MeasureText(menu, record, kind);
    const int barHeight = GetSystemMetrics(SM_CYMENU);
    const Extent icon{menu->iconWidth(), menu->iconHeight()};
    const bool ampersand = record.GetString(TableOf(menu)).find('&') != std::string::npos;
    if (kind == MeasureKind::Flat)
        return onBar ? FlatBarItemExtent(barHeight, icon, text, ampersand) : FlatPopupItemExtent(barHeight, icon, text);
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    const bool gradient = kind == MeasureKind::Gradient;
    return onBar ? ClassicBarItemExtent(barHeight, check, icon, text, ampersand, gradient)
                 : ClassicPopupItemExtent(barHeight, check, icon, text, gradient);
}

void MeasureWith(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar, MeasureKind kind) {
    CStyledMenuItemData* record = RecordOf(measure->itemData);
    if (record == nullptr)
        return;
    Extent size{3, 3};
    if (record->IsSeparator()) {
        if (record->IsTitle())
            size = MeasureTitle(*record);
    } else if (IsSystemCommand(measure->itemID)) {
        // As wide as the wider of this and the next item with an identifier, one bar high.
        size = MeasureCommand(menu, *record, onBar, MeasureKind::Flat);
        const auto& items = menu->items();
        auto at = std::find(items.begin(), items.end(), record);
        if (at != items.end()) {
            for (++at; at != items.end(); ++at) {
                if ((*at)->command != 0 && !(*at)->IsSeparator()) {
                    size.cx = std::max(size.cx, MeasureCommand(menu, **at, onBar, MeasureKind::Flat).cx);
                    break;
                }
            }
        }
        size.cy = GetSystemMetrics(SM_CYMENU);
    } else {
        size = MeasureCommand(menu, *record, onBar, kind);
    }
    measure->itemWidth = static_cast<UINT>(std::max(size.cx, 0));
    measure->itemHeight = static_cast<UINT>(std::max(size.cy, 0));
}

// ---- the flat frame shared by the flat and the themed look

struct Look {
    bool themed = false;
};

RECT GutterOf(const CStyledMenu* menu, const RECT& item) {
    return RECT{item.left, item.top, item.left + menu->iconWidth() + 8, item.bottom};
}

// The check box behind a checked item's icon or glyph: the gutter less 1 (2 on the right).
RECT CheckBoxOf(const RECT& gutter) {
    return RECT{gutter.left + 1, gutter.top + 1, gutter.right - 2, gutter.bottom - 1};
}

RECT GlyphBoxOf(const CStyledMenu* menu, const RECT& gutter, const RECT& item) {
    const int height = menu->iconHeight() + 4;
    const int top = item.top + (item.bottom - item.top - height) / 2;
    return RECT{gutter.left - 1, top, gutter.right + 1, top + height};
}

void DrawBitmapCentred(HDC dc, HBITMAP bitmap, const RECT& box, UINT extra) {
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) == 0)
        return;
    const int x = box.left + (box.right - box.left - info.bmWidth) / 2;
    const int y = box.top + (box.bottom - box.top - info.bmHeight) / 2;
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y, info.bmWidth, info.bmHeight,
               DST_BITMAP | DSS_MONO | extra);
}

// Check marks, radio bullets and own check bitmaps of an item without icon; system glyphs.
void DrawMarks(HDC dc, CStyledMenu* menu, const DRAWITEMSTRUCT* draw, const CStyledMenuItemData& record, UINT state,
               const RECT& gutter, Colour boxFill, Colour boxFrame, Colour glyphColour) {
    const RECT& item = draw->rcItem;
    const bool checked = (state & ODS_CHECKED) != 0;
    const bool selected = (state & ODS_SELECTED) != 0;
    if (checked && menu->checkImages() != nullptr &&
        ((menu->checkImageCounter(0) > 0 && selected) || menu->checkImageCounter(1) > 0)) {
        ImageList_Draw(menu->checkImages(), selected ? 1 : 0, dc, item.left + 3, item.top + 4, ILD_TRANSPARENT);
        return;
    }
    const RECT glyphBox = GlyphBoxOf(menu, gutter, item);
    const bool bold = (state & ODS_DEFAULT) != 0;
    if (!record.IsPopup()) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_CHECKMARKS;
        if (GetMenuItemInfoA(menu->handle(), draw->itemID, FALSE, &info) &&
            (checked || info.hbmpUnchecked != nullptr)) {
            const RECT box = CheckBoxOf(gutter);
            if (checked) {
                Fill(dc, box, boxFill);
                Outline(dc, box, boxFrame);
                if (info.hbmpChecked != nullptr && info.hbmpUnchecked != nullptr)
                    DrawBitmapCentred(dc, info.hbmpChecked, glyphBox, 0);
                else
                    DrawGlyph(dc, glyphBox, info.hbmpChecked != nullptr ? 'i' : 'b', bold, glyphColour);
            } else {
                DrawBitmapCentred(dc, info.hbmpUnchecked, glyphBox, (state & ODS_DISABLED) ? DSS_DISABLED : 0);
            }
            return;
        }
    }
    if (const char glyph = IsSystemCommand(draw->itemID) ? SystemGlyphOf(draw->itemID) : 0)
        DrawGlyph(dc, glyphBox, glyph, bold, glyphColour);
}

void DrawFlatFrame(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar, Look look) {
    CStyledMenuItemData* record = RecordOf(draw->itemData);
    if (record == nullptr)
        return;
    ItemCanvas canvas(draw->hDC, draw->rcItem, !onBar && !record->IsSeparator());
    HDC dc = canvas.dc();
    const RECT item = draw->rcItem;
    UINT state = draw->itemState;
    const bool vertical = (state & kVerticalBarState) != 0;
    const SystemColours system = SystemColoursNow();
    const Display display = DisplayOf(dc);
    const bool fewColours = display.colourCount <= 256;
    const Colour menuColor = GetMenuBarColor(menu->handle());
    FlatItemColours colours = FlatColoursOf(menuColor, system, display);
    Colour frame = colours.selectionFrame;
    Colour themedFirst = 0;
    Colour themedSecond = 0;
    if (look.themed)
        GetThemedColors(themedFirst, themedSecond, onBar);

    if (onBar) {
        if ((state & ODS_SELECTED) && menu->openPopups() == 0)
            state = (state & ~static_cast<UINT>(ODS_SELECTED)) | ODS_HOTLIGHT;
        if (!record->IsPopup() && (state & kHotTrackedState))
            state = (state & ~static_cast<UINT>(ODS_SELECTED)) | ODS_HOTLIGHT;
        colours.itemBack = menuColor;
        if (!(state & ODS_HOTLIGHT))
            colours.selectionFill = colours.gutterBack;
    }

    RECT gutter{};
    RECT textArea = item;
    RECT selectionBox = item;
    if (!onBar) {
        gutter = GutterOf(menu, item);
        textArea.left = gutter.right;
        if (look.themed)
            FillGradient(dc, gutter, themedSecond, themedFirst, true, true);
        else
            Fill(dc, gutter, colours.gutterBack);
        Fill(dc, textArea, colours.itemBack);
        textArea.left += 4;
        textArea.right -= 15;
    } else {
        MENUINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIM_BACKGROUND;
        if (look.themed && GetMenuInfo(menu->handle(), &info) && info.hbrBack != nullptr)
            FillRect(dc, &item, info.hbrBack);
        else
            Fill(dc, item, colours.itemBack);
        if (vertical)
            selectionBox.bottom -= 4;
        else
            selectionBox.right -= 4;
        textArea = selectionBox;
    }

    bool selected = (state & ODS_SELECTED) != 0;
    const bool inactive = (state & ODS_INACTIVE) != 0;
    const bool hot = (state & ODS_HOTLIGHT) != 0;
    if (onBar) {
        selected = selected || hot || inactive;
        if (selected && !inactive) {
            RECT screen = item;
            RECT window{};
            if (HWND owner = WindowFromDC(draw->hDC); owner != nullptr && GetWindowRect(owner, &window))
                OffsetRect(&screen, window.left, window.top);
            menu->lastHotBarItem() = screen;
        }
        if (selected && !hot) {
            frame = display.highContrast ? system.btnText : Darken(128, GetMenuBarColor(nullptr));
            // The open popup's shadow beside the item, from the menu colour.
            if (fewColours) {
                for (int offset : {3, 4}) {
                    if (vertical)
                        Line(dc, item.left + 4, item.bottom - offset, item.right, item.bottom - offset,
                             system.btnShadow);
                    else
                        Line(dc, item.right - offset, item.top + 4, item.right - offset, item.bottom, system.btnShadow);
                }
            } else {
                for (int k = 1; k <= 4; ++k) {
                    const int length = vertical ? item.right - item.left : item.bottom - item.top;
                    for (int along = 0; along < length; ++along) {
                        const int darkness = BarItemShadowDarkness(k, along);
                        const Colour c = darkness < 0 ? menuColor : Darken(darkness, menuColor);
                        if (vertical)
                            SetPixel(dc, item.left + along, item.bottom - k, c);
                        else
                            SetPixel(dc, item.right - k, item.top + along, c);
                    }
                }
            }
        }
    }

    if (!kSelectDisabledItems && (state & ODS_GRAYED) && selected) {
        selected = false;
        if (GetMessagePos() == LastMenuMessagePos()) {
            Fill(dc, selectionBox, colours.itemBack);
            Outline(dc, selectionBox, frame);
        }
    }

    if (selected && !inactive) {
        if (look.themed)
            FillGradient(dc, selectionBox, Lighten(100, colours.selectionFill), colours.selectionFill, false, true);
        else
            Fill(dc, selectionBox, colours.selectionFill);
        Outline(dc, selectionBox, frame);
    }

    if (record->IsSeparator()) {
        if (record->IsTitle()) {
            if (CStyledMenuStyle* style = ActiveStyle())
                style->drawTitle(menu, draw, onBar);
        } else {
            const int middle = (item.top + item.bottom) / 2;
            Line(dc, textArea.left, middle, item.right, middle, system.grayText);
        }
        return;
    }

    Colour textColour = system.menuText;
    if ((state & ODS_GRAYED) || (onBar && inactive))
        textColour = system.grayText;
    else if (display.highContrast && !onBar && !selected)
        textColour = system.highlightText;
    HFONT font = MenuFont((state & ODS_DEFAULT) != 0, onBar && vertical ? -900 : 0);
    DrawItemText(dc, record->GetString(TableOf(menu)), textArea, onBar, vertical, state, textColour, font);
    DeleteObject(font);
    if (onBar)
        return;

    const bool checked = (state & ODS_CHECKED) != 0;
    if (record->iconStore != nullptr && record->iconIndex != -1) {
        HIMAGELIST list = record->iconStore->imageList();
        const SIZE size = record->iconStore->IconSize();
        const int x = size.cx >= menu->iconWidth() ? item.left + 3 : item.left + (menu->iconWidth() - size.cx) / 2 + 3;
        const int y = item.top + (item.bottom - item.top - size.cy) / 2;
        if (checked) {
            const RECT box = CheckBoxOf(gutter);
            Fill(dc, box, colours.selectionFill);
            Outline(dc, box, frame);
        }
        if (state & ODS_DISABLED) {
            if (kUseIconVariants)
                DrawIconImage(dc, list, record->iconIndex + 2, x, y);
            else
                DrawIconMono(dc, list, record->iconIndex, x, y, size, Darken(70, colours.gutterBack));
        } else if (selected && !checked) {
            DrawIconMono(dc, list, record->iconIndex, x + 1, y + 1, size, BluishDarken(colours.selectionFill));
            DrawIconImage(dc, list, record->iconIndex, x - 1, y - 1);
        } else if (selected) {
            DrawIconImage(dc, list, record->iconIndex, x, y);
        } else {
            DrawIconImage(dc, list, kUseIconVariants ? record->iconIndex + 1 : record->iconIndex, x, y);
        }
        return;
    }
    const Colour glyphColour = (state & ODS_GRAYED) || inactive ? system.grayText : system.menuText;
    DrawMarks(dc, menu, draw, *record, state, gutter, colours.selectionFill, frame, glyphColour);
}

// ---- the three-dimensional looks

enum class ClassicKind { Classic, Special, Gradient };

void DrawClassicFrame(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar, ClassicKind kind) {
    CStyledMenuItemData* record = RecordOf(draw->itemData);
    if (record == nullptr)
        return;
    ItemCanvas canvas(draw->hDC, draw->rcItem, !onBar && !record->IsSeparator());
    HDC dc = canvas.dc();
    const RECT item = draw->rcItem;
    const UINT state = draw->itemState;
    const SystemColours system = SystemColoursNow();
    const Colour back = onBar ? GetMenuBarColor(nullptr) : system.menu;
    Fill(dc, item, back);

    if (record->IsSeparator()) {
        if (record->IsTitle()) {
            if (CStyledMenuStyle* style = ActiveStyle())
                style->drawTitle(menu, draw, onBar);
            return;
        }
        RECT line = item;
        line.left += 1;
        line.top = (item.top + item.bottom) / 2 - 1;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }

    const bool inactive = (state & ODS_INACTIVE) != 0;
    const bool selected = (state & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    const bool hasIcon = record->iconStore != nullptr && record->iconIndex != -1;
    const RECT iconBox{item.left + 1, item.top + 1, item.left + menu->iconWidth() + 6, item.bottom - 1};
    RECT selection = item;
    if (!onBar && (hasIcon || (state & ODS_CHECKED)))
        selection.left = iconBox.right + 1;
    if (selected && !inactive) {
        if (onBar && kind != ClassicKind::Gradient) {
            DrawEdge(dc, &selection, (state & ODS_SELECTED) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        } else if (kind == ClassicKind::Gradient) {
            FillGradient(dc, selection, system.highlight, Lighten(110, system.highlight), true, true);
            DrawEdge(dc, &selection, BDR_SUNKENOUTER, BF_RECT);
        } else {
            Fill(dc, selection, system.highlight);
        }
    }
    if (state & ODS_FOCUS)
        DrawFocusRect(dc, &selection);

    Colour textColour = system.menuText;
    if (!onBar && selected && kind != ClassicKind::Gradient)
        textColour = system.highlightText;
    if (onBar && inactive)
        textColour = system.grayText;
    RECT textArea = item;
    textArea.left += onBar ? 6 : menu->iconWidth() + 12;
    if (!onBar)
        textArea.right -= 8;
    const std::string text = record->GetString(TableOf(menu));
    HFONT font;
    if (kind == ClassicKind::Special) {
        LOGFONTA logFont = MenuLogFont();
        logFont.lfItalic = TRUE;
        lstrcpyA(logFont.lfFaceName, "Arial");
        if (state & ODS_DEFAULT)
            logFont.lfWeight = FW_BOLD;
        font = CreateFontIndirectA(&logFont);
    } else {
        font = MenuFont((state & ODS_DEFAULT) != 0, 0);
    }
    if (state & ODS_GRAYED) {
        // Embossed: the highlight one pixel right and down, the grey in place.
        RECT raised = textArea;
        OffsetRect(&raised, 1, 1);
        DrawItemText(dc, text, raised, onBar, false, state, system.btnHighlight, font);
        DrawItemText(dc, text, textArea, onBar, false, state, system.grayText, font);
    } else {
        DrawItemText(dc, text, textArea, onBar, false, state, textColour, font);
    }
    DeleteObject(font);
    if (onBar)
        return;

    if (hasIcon) {
        HIMAGELIST list = record->iconStore->imageList();
        const SIZE size = record->iconStore->IconSize();
        const int x = iconBox.left + (iconBox.right - iconBox.left - size.cx) / 2;
        const int y = item.top + (item.bottom - item.top - size.cy) / 2;
        if (state & ODS_CHECKED) {
            RECT box = iconBox;
            DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
        } else if (selected && !(state & ODS_DISABLED)) {
            RECT box = iconBox;
            DrawEdge(dc, &box, BDR_RAISEDINNER, BF_RECT);
        }
        DrawIconImage(dc, list, (state & ODS_DISABLED) ? record->iconIndex + 2 : record->iconIndex, x, y);
        return;
    }
    if (state & ODS_CHECKED) {
        RECT box = iconBox;
        DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
    }
    const Colour glyphColour = (state & ODS_GRAYED) ? system.grayText : system.menuText;
    const RECT gutter{item.left, item.top, item.left + menu->iconWidth() + 8, item.bottom};
    DrawMarks(dc, menu, draw, *record, state & ~static_cast<UINT>(ODS_SELECTED), gutter, system.menu, system.btnShadow,
              glyphColour);
}

// ---- menu-bar brushes

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
    const int version = ThePlatform().versionIndex;
    if (kind == 2 || version == 2 || version == 5) {
        brush = CreateSolidBrush(first);
    } else {
        const int width = (GetSystemMetrics(SM_CXFULLSCREEN) + 16) / 8 * 8;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, 20);
        HGDIOBJ old = SelectObject(memory, bitmap);
        const int gradientWidth = std::min<int>(width, 700);
        FillGradient(memory, RECT{0, 0, gradientWidth, 20}, first, second, true, false);
        if (width > gradientWidth)
            Fill(memory, RECT{gradientWidth, 0, width, 20}, second);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        brush = CreatePatternBrush(bitmap);
        DeleteObject(bitmap);
    }
    if (brush == nullptr)
        return nullptr;
    cache.push_back({kind, first, second, brush});
    last = cache.size() - 1;
    return brush;
}

}  // namespace

DWORD& LastMenuMessagePos() {
    static DWORD position = 0;
    return position;
}

void MeasureFlatItem(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar) {
    MeasureWith(menu, measure, onBar, MeasureKind::Flat);
}

void MeasureClassicItem(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar) {
    MeasureWith(menu, measure, onBar, MeasureKind::Classic);
}

void MeasureGradientItem(CStyledMenu* menu, MEASUREITEMSTRUCT* measure, bool onBar) {
    MeasureWith(menu, measure, onBar, MeasureKind::Gradient);
}

void DrawFlatItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawFlatFrame(menu, draw, onBar, Look{false});
}

void DrawThemedItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawFlatFrame(menu, draw, onBar, Look{true});
}

void DrawClassicItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawClassicFrame(menu, draw, onBar, ClassicKind::Classic);
}

void DrawSpecialItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawClassicFrame(menu, draw, onBar, ClassicKind::Special);
}

void DrawGradientItem(CStyledMenu* menu, DRAWITEMSTRUCT* draw, bool onBar) {
    DrawClassicFrame(menu, draw, onBar, ClassicKind::Gradient);
}

void DrawTitleItem(CStyledMenu*, DRAWITEMSTRUCT* draw, bool) {
    auto* record = RecordOf(draw->itemData);
    if (record == nullptr)
        return;
    HDC dc = draw->hDC;
    const SystemColours system = SystemColoursNow();
    Colour gradientEnd = Blend86(system.window, GetMenuBackgroundColor(nullptr));
    Colour captionBack = system.activeCaption;
    Colour captionText = system.captionText;
    if (auto* title = dynamic_cast<CStyledMenuItemDataTitle*>(record)) {
        if (title->gradientEnd != kDefaultColour)
            gradientEnd = title->gradientEnd;
        if (title->captionBack != kDefaultColour)
            captionBack = title->captionBack;
        if (title->captionText != kDefaultColour)
            captionText = title->captionText;
    }
    SIZE iconBox{0, 0};
    const bool hasIcon = record->iconStore != nullptr && record->iconIndex != -1;
    if (hasIcon) {
        iconBox = record->iconStore->IconSize();
        iconBox.cx += 4;
        iconBox.cy += 4;
    }
    const bool vertical = (record->styleBits & 0x2) != 0;
    RECT area = draw->rcItem;
    if (vertical) {
        RECT client{};
        HWND window = WindowFromDC(dc);
        if (window != nullptr)
            GetClientRect(window, &client);
        else
            GetClipBox(dc, &client);
        area.top = client.top;
        area.bottom = client.bottom;
        area.right += GetSystemMetrics(SM_CXMENUCHECK);
    }
    LOGFONTA logFont = TitleLogFont(vertical ? 900 : 0);
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ oldFont = SelectObject(dc, font);
    const SIZE text = TextExtent(dc, record->text);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    int x = vertical ? area.left + 2 : area.left + iconBox.cx + 2;
    int y = vertical ? area.bottom - iconBox.cy - 4 : area.top;

    if (record->styleBits & 0x4) {
        if (vertical)
            FillGradient(dc, area, gradientEnd, captionBack, false, true);
        else
            FillGradient(dc, area, captionBack, gradientEnd, true, true);
    } else if (record->styleBits & 0x20) {
        RECT round = area;
        if (vertical) {
            round.right = round.left + text.cy + 4;
            y -= 2;
        } else {
            x += std::min<int>((width - text.cx - iconBox.cx) / 2, 10);
        }
        HBRUSH brush = CreateSolidBrush(captionBack);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
        RoundRect(dc, round.left, round.top, round.right, round.bottom, 10, 10);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
    } else {
        Fill(dc, area, captionBack);
    }
    if (record->styleBits & 0x8) {
        Line(dc, area.left, area.bottom - 1, area.left, area.top, system.btnShadow);
        Line(dc, area.left, area.top, area.right - 1, area.top, system.btnShadow);
        Line(dc, area.right - 1, area.top, area.right - 1, area.bottom - 1, system.btnHighlight);
        Line(dc, area.right - 1, area.bottom - 1, area.left, area.bottom - 1, system.btnHighlight);
    }
    if (record->styleBits & 0x40) {
        if (vertical)
            y = area.bottom - (height - text.cx - iconBox.cy) / 2 - iconBox.cy;
        else
            x = area.left + (width - text.cx - iconBox.cx) / 2 + iconBox.cx;
    }
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, captionText);
    TextOutA(dc, x, y, record->text.c_str(), static_cast<int>(record->text.size()));
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    if (hasIcon) {
        HICON icon = ImageList_GetIcon(record->iconStore->imageList(), record->iconIndex, ILD_NORMAL);
        if (icon != nullptr) {
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, vertical ? x : x - iconBox.cx, y + 2,
                       iconBox.cx - 4, iconBox.cy - 4, DST_ICON);
            DestroyIcon(icon);
        }
    }
    if (record->styleBits & 0x10) {
        auto frame = [dc](RECT r, Colour topLeft, Colour bottomRight) {
            Line(dc, r.left, r.bottom - 1, r.left, r.top, topLeft);
            Line(dc, r.left, r.top, r.right - 1, r.top, topLeft);
            Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, bottomRight);
            Line(dc, r.right - 1, r.bottom - 1, r.left, r.bottom - 1, bottomRight);
        };
        if (vertical) {
            RECT engraved{area.left + 20, area.top + 5, area.left + 22, area.bottom - 5};
            frame(engraved, system.btnShadow, system.btnHighlight);
            OffsetRect(&engraved, 3, 0);
            engraved.top += 10;
            engraved.bottom -= 10;
            frame(engraved, system.btnShadow, system.btnHighlight);
        } else {
            RECT engraved{area.left + 2, area.bottom - 7, area.right - 2, area.bottom - 5};
            frame(engraved, system.btnHighlight, system.btnShadow);
            OffsetRect(&engraved, 0, 3);
            engraved.left += 10;
            engraved.right -= 10;
            frame(engraved, system.btnShadow, system.btnHighlight);
        }
    }
}

void GetThemedColors(Colour& first, Colour& second, bool forBar) {
    ThemeProbe probe;
    const Platform& platform = ThePlatform();
    probe.versionIndex = platform.versionIndex;
    const CStyledMenuStyle* style = ActiveStyle();
    probe.styleId = style != nullptr ? style->id : 8;
    probe.themeActive = IsThemeActiveNow();
    if (probe.themeActive && (probe.styleId == 8 || probe.styleId == 9) && platform.themeLibrary != nullptr) {
        using OpenThemeDataProc = HANDLE(WINAPI*)(HWND, LPCWSTR);
        using GetThemeColorProc = HRESULT(WINAPI*)(HANDLE, int, int, int, COLORREF*);
        using CloseThemeDataProc = HRESULT(WINAPI*)(HANDLE);
        auto open = reinterpret_cast<OpenThemeDataProc>(
            reinterpret_cast<void*>(GetProcAddress(platform.themeLibrary, "OpenThemeData")));
        auto color = reinterpret_cast<GetThemeColorProc>(
            reinterpret_cast<void*>(GetProcAddress(platform.themeLibrary, "GetThemeColor")));
        auto close = reinterpret_cast<CloseThemeDataProc>(
            reinterpret_cast<void*>(GetProcAddress(platform.themeLibrary, "CloseThemeData")));
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
    if (style->id == 2 || style->id == 3) {
        kind = 2;
        first = GetSysColor(COLOR_BTNFACE);
    } else if (style->id >= 8 && style->id <= 11) {
        GetThemedColors(first, second, true);
        kind = style->id <= 9 ? 8 : 10;
        if (GetScreenColorCount() < 256 || ThePlatform().highContrast)
            kind = 2;
    } else {
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
