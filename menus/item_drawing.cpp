#include "item_drawing.h"

#include "dpi.h"
#include "menu_draw.h"

namespace menus {
namespace {

// One "Marlett" glyph centred in `box` (shrunk by 2 on each side at 96 DPI).
void DrawGlyph(HDC dc, RECT box, char glyph, bool bold, Colour colour, int dpi) {
    InflateRect(&box, -ScaledPixels(2, dpi), -ScaledPixels(2, dpi));
    LOGFONTA font{};
    font.lfHeight = box.bottom - box.top;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(font.lfFaceName, "Marlett");
    const winapp::Font handle(CreateFontIndirectA(&font));
    const winapp::Selection selected(dc, handle.get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    char text[2] = {glyph, 0};
    DrawTextA(dc, text, 1, &box, DT_CENTER | DT_SINGLELINE);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
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

RECT GlyphBoxOf(const CStyledMenu* menu, const RECT& gutter, const RECT& item, int dpi) {
    const int height = ScaledPixels(menu->iconHeight() + 4, dpi);
    const int top = item.top + (item.bottom - item.top - height) / 2;
    return RECT{gutter.left - ScaledPixels(1, dpi), top, gutter.right + ScaledPixels(1, dpi), top + height};
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

}  // namespace

bool ReadMenuLogFont(LOGFONTA& font) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;  // the record without the padded border width
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0))
        return false;
    font = metrics.lfMenuFont;
    return true;
}

LOGFONTA MenuLogFont() {
    LOGFONTA font{};
    ReadMenuLogFont(font);
    return font;
}

winapp::Font MenuFont(bool bold, int escapement) {
    LOGFONTA font = MenuLogFont();
    if (bold)
        font.lfWeight = FW_BOLD;
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    return winapp::Font(CreateFontIndirectA(&font));
}

LOGFONTA TitleLogFont(int escapement, int dpi) {
    LOGFONTA font{};
    font.lfHeight = ScaledPixels(16, dpi);
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

HACCEL TableOf(const CStyledMenu* menu) {
    return kShowAcceleratorText ? menu->accelerators() : nullptr;
}

bool IsDefaultItem(const CStyledMenu* menu, const CStyledMenuItemData& record) {
    const UINT item = GetMenuDefaultItem(menu->handle(), FALSE, 0);
    return item != static_cast<UINT>(-1) && item == record.command;
}

ItemCanvas::ItemCanvas(HDC target, const RECT& item, bool buffered) : target_(target), item_(item) {
    if (!buffered)
        return;
    const int width = item.right - item.left;
    const int height = item.bottom - item.top;
    memory_.Reset(CreateCompatibleDC(target));
    bitmap_.Reset(memory_ ? CreateCompatibleBitmap(target, width, height) : nullptr);
    if (!bitmap_) {
        memory_.Reset();
        return;
    }
    picture_.emplace(memory_.get(), bitmap_.get());
    SetWindowOrgEx(memory_.get(), item.left, item.top, nullptr);
}

ItemCanvas::~ItemCanvas() {
    if (!memory_)
        return;
    BitBlt(target_, item_.left, item_.top, item_.right - item_.left, item_.bottom - item_.top, memory_.get(),
           item_.left, item_.top, SRCCOPY);
}

void DrawIconImage(HDC dc, HIMAGELIST list, int index, int x, int y) {
    ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
}

void DrawIconMono(HDC dc, HIMAGELIST list, int index, int x, int y, SIZE size, Colour colour) {
    HICON icon = ImageList_GetIcon(list, index, ILD_NORMAL);
    if (icon == nullptr)
        return;
    const winapp::Brush brush(CreateSolidBrush(colour));
    DrawStateA(dc, brush.get(), nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, size.cx, size.cy,
               DST_ICON | DSS_MONO);
    DestroyIcon(icon);
}

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

UINT BarItemState(CStyledMenu* menu, const CStyledMenuItemData& record, UINT state) {
    if ((state & ODS_SELECTED) && menu->openPopups() == 0)
        state = (state & ~static_cast<UINT>(ODS_SELECTED)) | ODS_HOTLIGHT;
    if (!record.IsPopup() && (state & kHotTrackedState))
        state = (state & ~static_cast<UINT>(ODS_SELECTED)) | ODS_HOTLIGHT;
    return state;
}

void NoteHotBarItem(CStyledMenu* menu, const DRAWITEMSTRUCT* draw) {
    RECT screen = draw->rcItem;
    RECT window{};
    if (HWND owner = WindowFromDC(draw->hDC); owner != nullptr && GetWindowRect(owner, &window))
        OffsetRect(&screen, window.left, window.top);
    menu->lastHotBarItem() = screen;
}

int MeasureDpiOf(const CStyledMenu* menu) {
    return static_cast<int>(winapp::DpiOf(menu != nullptr ? menu->owner() : nullptr));
}

int DrawDpiOf(HDC dc) {
    if (HWND window = WindowFromDC(dc))
        return static_cast<int>(winapp::DpiOf(window));
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    return dpi > 0 ? dpi : 96;
}

RECT GutterOf(const CStyledMenu* menu, const RECT& item, int dpi) {
    return RECT{item.left, item.top, item.left + ScaledPixels(menu->iconWidth() + 8, dpi), item.bottom};
}

RECT CheckBoxOf(const RECT& gutter, int dpi) {
    const int one = ScaledPixels(1, dpi);
    return RECT{gutter.left + one, gutter.top + one, gutter.right - ScaledPixels(2, dpi), gutter.bottom - one};
}

void DrawItemMarks(HDC dc, CStyledMenu* menu, const DRAWITEMSTRUCT* draw, const CStyledMenuItemData& record, UINT state,
                   const RECT& gutter, const MarkColours& colours, int dpi) {
    const RECT& item = draw->rcItem;
    const bool checked = (state & ODS_CHECKED) != 0;
    const bool selected = (state & ODS_SELECTED) != 0;
    if (checked && menu->checkImages() != nullptr &&
        ((menu->checkImageCounter(0) > 0 && selected) || menu->checkImageCounter(1) > 0)) {
        ImageList_Draw(menu->checkImages(), selected ? 1 : 0, dc, item.left + ScaledPixels(3, dpi),
                       item.top + ScaledPixels(4, dpi), ILD_TRANSPARENT);
        return;
    }
    const RECT glyphBox = GlyphBoxOf(menu, gutter, item, dpi);
    const bool bold = (state & ODS_DEFAULT) != 0;
    if (!record.IsPopup()) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
        if (GetMenuItemInfoA(menu->handle(), draw->itemID, FALSE, &info) &&
            (checked || info.hbmpUnchecked != nullptr)) {
            const RECT box = CheckBoxOf(gutter, dpi);
            if (checked) {
                Fill(dc, box, colours.boxFill);
                Outline(dc, box, colours.boxFrame);
                if (info.hbmpChecked != nullptr && info.hbmpUnchecked != nullptr)
                    DrawBitmapCentred(dc, info.hbmpChecked, glyphBox, 0);
                else  // a radio item (CheckMenuRadioItem) shows its bullet as one with its own bitmap does
                    DrawGlyph(dc, glyphBox, info.hbmpChecked != nullptr || (info.fType & MFT_RADIOCHECK) ? 'i' : 'b',
                              bold, colours.glyph, dpi);
            } else {
                DrawBitmapCentred(dc, info.hbmpUnchecked, glyphBox, (state & ODS_DISABLED) ? DSS_DISABLED : 0);
            }
            return;
        }
    }
    if (const char glyph = IsSystemCommand(draw->itemID) ? SystemGlyphOf(draw->itemID) : 0)
        DrawGlyph(dc, glyphBox, glyph, bold, colours.glyph, dpi);
}

DWORD& LastMenuMessagePos() {
    static DWORD position = 0;
    return position;
}

}  // namespace menus
