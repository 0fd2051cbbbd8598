#include "menu_window.h"

#include <cstring>
#include <map>
#include <new>
#include <vector>

#include "gdi_helpers.h"
#include "menu_colors.h"
#include "menu_draw.h"
#include "menu_styles.h"
#include "menu_system.h"
#include "styled_menu.h"

namespace menus {
namespace {

const char kOldProcProperty[] = "OldMenuProc";
const UINT kMenuSizeMessage = 0x1E2;

HHOOK& Hook() {
    static HHOOK hook = nullptr;
    return hook;
}

std::map<HWND, MenuWindowState*>& WindowStates() {
    static std::map<HWND, MenuWindowState*> states;
    return states;
}

bool HasClass(HWND window, const char* name) {
    char buffer[20] = {};
    return GetClassNameA(window, buffer, sizeof buffer) == 6 && std::strcmp(buffer, name) == 0;
}

WNDPROC OldProcOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropA(window, kOldProcProperty));
}

int DrawBorderOf(HMENU menu) {
    return kBorderForAllMenus || CStyledMenu::FromHandle(menu) != nullptr ? 1 : 0;
}

struct WindowGeometry {
    int width;
    int height;
    RECT client;  // in window coordinates
};

WindowGeometry GeometryOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x - rect.left, origin.y - rect.top);
    return {rect.right - rect.left, rect.bottom - rect.top, client};
}

// The band between `outer` and the client rectangle, as four solid strips.
void FillBand(HDC dc, const RECT& outer, const RECT& client, Colour colour) {
    Fill(dc, RECT{outer.left, outer.top, outer.right, client.top}, colour);
    Fill(dc, RECT{outer.left, client.bottom, outer.right, outer.bottom}, colour);
    Fill(dc, RECT{outer.left, client.top, client.left, client.bottom}, colour);
    Fill(dc, RECT{client.right, client.top, outer.right, client.bottom}, colour);
}

}  // namespace

HMENU& PendingPopupMenu() {
    static HMENU menu = nullptr;
    return menu;
}

MenuWindowState* StateOf(HWND window) {
    const auto& states = WindowStates();
    const auto found = states.find(window);
    return found == states.end() ? nullptr : found->second;
}

// ---- installation

bool InstallMenuHook() {
    ProbePlatform();
    RegisterStyles();
    if (Hook() != nullptr)
        return true;
    Hook() = SetWindowsHookExA(WH_CALLWNDPROC, MenuHookProc, nullptr, GetCurrentThreadId());
    if (Hook() == nullptr) {
        ReportLastError();
        return false;
    }
    return true;
}

void RemoveMenuHook() {
    if (Hook() != nullptr && !UnhookWindowsHookEx(Hook()))
        ReportLastError();
    Hook() = nullptr;
    DeleteStyles();
    ReleasePlatform();
    ClearMenuBarBrushes();
    // Menu windows still subclassed keep the replacement procedure, which then passes everything
    // on unchanged; their records go with the library.
    for (auto& entry : WindowStates()) {
        MenuWindowState* state = entry.second;
        if (state->savedRegion != reinterpret_cast<HRGN>(1) && state->savedRegion != nullptr)
            DeleteObject(state->savedRegion);
        if (state->background != nullptr)
            DeleteObject(state->background);
        delete state;
    }
    WindowStates().clear();
    // (Icon stores belong to the items that count them; they leave the list when deleted.)
}

bool IsMenuHookInstalled() {
    return Hook() != nullptr;
}

LRESULT CALLBACK MenuHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == 0) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == WM_CREATE || call->message == kMenuSizeMessage) {
            const int subclassed = SubclassMenuWindow(call->hwnd, call->message == kMenuSizeMessage);
            if (subclassed == 0 && (kDialogSupportFlags & 1) && call->message == WM_CREATE &&
                HasClass(call->hwnd, "#32770"))
                InstallTempHandler(call->hwnd);
        } else if (call->message == WM_WINDOWPOSCHANGING && PendingPopupMenu() != nullptr) {
            // Where the system creates the menu window before it announces the popup (as Wine
            // does), the noted menu belongs to the window being placed now that knows none yet;
            // otherwise it would be left for the next menu window, whatever menu that shows.
            MenuWindowState* state = StateOf(call->hwnd);
            if (state != nullptr && state->menu == nullptr) {
                state->menu = PendingPopupMenu();
                state->drawBorder = DrawBorderOf(state->menu);
                PendingPopupMenu() = nullptr;
                if (CStyledMenuStyle* style = ActiveStyle())
                    style->Attach(call->hwnd);
            }
        }
    }
    return CallNextHookEx(Hook(), code, wParam, lParam);
}

// ---- subclassing

int SubclassMenuWindow(HWND window, bool late) {
    if (!HasClass(window, "#32768"))
        return 0;
    int result = 0;
    if (StateOf(window) == nullptr) {
        const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
        if (procedure != nullptr && GetPropA(window, kOldProcProperty) == nullptr) {
            if (!SetPropA(window, kOldProcProperty, reinterpret_cast<HANDLE>(procedure)))
                ReportLastError();
        }
        if (procedure != nullptr && OldProcOf(window) == procedure) {
            GlobalAddAtomA(kOldProcProperty);
            if (StateOf(window) == nullptr) {
                auto* state = new (std::nothrow) MenuWindowState;
                if (state != nullptr) {
                    state->flags = late ? 1 : 0;
                    state->menu = PendingPopupMenu();
                    state->drawBorder = DrawBorderOf(state->menu);
                    PendingPopupMenu() = nullptr;
                    state->savedStyle = GetWindowLongA(window, GWL_STYLE);
                    state->savedExStyle = GetWindowLongA(window, GWL_EXSTYLE);
                    WindowStates()[window] = state;
                }
                SetLastError(0);
                if (SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuWindowProc)) == 0)
                    ReportLastError();
                if (CStyledMenuStyle* style = ActiveStyle())
                    style->Attach(window);
                result = 1;
            }
        }
    }
    MenuWindowState* state = StateOf(window);
    if (PendingPopupMenu() != nullptr && state != nullptr) {
        state->menu = PendingPopupMenu();
        state->drawBorder = DrawBorderOf(state->menu);
        PendingPopupMenu() = nullptr;
        if (CStyledMenuStyle* style = ActiveStyle())
            style->Attach(window);
    }
    return result;
}

void UnsubclassMenuWindow(HWND window) {
    if (WNDPROC old = OldProcOf(window)) {
        SetLastError(0);
        if (SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old)) == 0)
            ReportLastError();
    }
    RemovePropA(window, kOldProcProperty);
    if (ATOM atom = GlobalFindAtomA(kOldProcProperty))
        GlobalDeleteAtom(atom);
    MenuWindowState* state = StateOf(window);
    if (state == nullptr)
        return;
    if (CStyledMenuStyle* style = ActiveStyle())
        style->Detach(window);
    WindowStates().erase(window);
    if (state->savedRegion != reinterpret_cast<HRGN>(1) && state->savedRegion != nullptr)
        DeleteObject(state->savedRegion);
    if (state->background != nullptr)
        DeleteObject(state->background);
    delete state;
}

// ---- the menu window's procedure

namespace {

LRESULT OnNcPaint(HWND window, WNDPROC old, MenuWindowState& state, CStyledMenuStyle& style, WPARAM wParam,
                  LPARAM lParam) {
    if (state.ncPainted == 0 && reinterpret_cast<HRGN>(wParam) != state.savedRegion) {
        if (state.savedRegion != reinterpret_cast<HRGN>(1))
            DeleteObject(state.savedRegion);
        state.savedRegion = reinterpret_cast<HRGN>(1);
        if (wParam != 1) {
            HRGN copy = CreateRectRgn(0, 0, 1, 1);
            if (copy != nullptr && CombineRgn(copy, reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY) != ERROR)
                state.savedRegion = copy;
            else if (copy != nullptr)
                DeleteObject(copy);
        }
    }
    bool letSystemPaint = (state.flags & 8) == 0;
    LRESULT result = 0;
    if (state.ncPainted == 1 && style.IsBorderOn()) {
        if (HDC dc = GetWindowDC(window)) {
            RECT border{};
            if (style.DrawBorder(window, dc, 0) && style.GetBorderRect(window, &border)) {
                InflateRect(&border, -1, -1);
                HRGN region = CreateRectRgnIndirect(&border);
                result = CallWindowProcA(old, window, WM_NCPAINT, reinterpret_cast<WPARAM>(region), lParam);
                if (region != nullptr)
                    DeleteObject(region);
                style.DrawBorder(window, dc, 1);
                letSystemPaint = false;
            }
            ReleaseDC(window, dc);
        }
    }
    if (style.IsBorderOn()) {
        if (!letSystemPaint)
            return result;
        CaptureBackground(window);
    }
    if (!letSystemPaint)
        return result;
    return CallWindowProcA(old, window, WM_NCPAINT, wParam, lParam);
}

LRESULT OnPrint(HWND window, WNDPROC old, MenuWindowState& state, CStyledMenuStyle& style, HDC target,
                LPARAM printFlags) {
    const WindowGeometry geometry = GeometryOf(window);
    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = memory != nullptr ? CreateCompatibleBitmap(target, geometry.width, geometry.height) : nullptr;
    if (bitmap == nullptr) {
        // Without a picture to compose in, the system prints the window as it is.
        if (memory != nullptr)
            DeleteDC(memory);
        return CallWindowProcA(old, window, WM_PRINT, reinterpret_cast<WPARAM>(target), printFlags);
    }
    state.flags |= 8;
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    const int saved = SaveDC(memory);
    LRESULT result = 0;
    style.DrawBorder(window, memory, 0);
    RECT border{};
    if (style.GetBorderRect(window, &border)) {
        RECT rect{};
        GetWindowRect(window, &rect);
        OffsetRect(&border, -rect.left, -rect.top);
        InflateRect(&border, -1, -1);
        IntersectClipRect(memory, border.left, border.top, border.right, border.bottom);
        result = CallWindowProcA(old, window, WM_PRINT, reinterpret_cast<WPARAM>(memory),
                                 printFlags & ~static_cast<LPARAM>(PRF_CLIENT));
        BitBlt(target, 0, 0, geometry.width, geometry.height, memory, 0, 0, SRCCOPY);
        RestoreDC(memory, saved);
        const int clientSaved = SaveDC(memory);
        const RECT& client = geometry.client;
        IntersectClipRect(memory, 0, 0, client.right - client.left, client.bottom - client.top);
        SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), printFlags);
        BitBlt(target, client.left, client.top, client.right - client.left, client.bottom - client.top, memory, 0, 0,
               SRCCOPY);
        RestoreDC(memory, clientSaved);
    }
    RestoreDC(memory, saved);
    state.flags &= ~8;
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return result;
}

}  // namespace

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC old = OldProcOf(window);
    MenuWindowState* state = StateOf(window);
    CStyledMenuStyle* style = ActiveStyle();
    if (old == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    if (state == nullptr || style == nullptr)
        return CallWindowProcA(old, window, message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND:
            if (!state->drawBorder)
                break;
            if (style->IsBorderOn() && !(state->flags & 8) && state->ncPainted == 0) {
                state->ncPainted = 1;
                SendMessageA(window, WM_NCPAINT, 1, 0);
            }
            if (style->EraseBackground(window, reinterpret_cast<HDC>(wParam)))
                return 1;
            break;
        case WM_SHOWWINDOW:
            if (wParam != 0)
                break;
            UnsubclassMenuWindow(window);
            return CallWindowProcA(old, window, message, wParam, lParam);
        case WM_NCDESTROY:
            UnsubclassMenuWindow(window);
            return CallWindowProcA(old, window, message, wParam, lParam);
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED: {
            auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
            if (message == WM_WINDOWPOSCHANGING)
                style->AdjustWindowPos(window, position);
            if (position->flags & SWP_NOMOVE)
                break;
            if (state->x != 0 || state->y != 0) {
                if (position->x != state->x || position->y != state->y) {
                    if (position->flags & SWP_NOSIZE) {
                        state->x = position->x;
                        state->y = position->y;
                        if (state->background != nullptr)
                            DeleteObject(state->background);
                        state->background = nullptr;
                    } else {
                        UnsubclassMenuWindow(window);
                    }
                }
            } else {
                state->x = position->x;
                state->y = position->y;
            }
            break;
        }
        case WM_NCCALCSIZE:
            if (state->drawBorder && wParam)
                style->CalcNonClient(window, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
            break;
        case WM_NCPAINT:
            if (!state->drawBorder)
                break;
            return OnNcPaint(window, old, *state, *style, wParam, lParam);
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE)
                state->flags |= 4;
            LastMenuMessagePos() = GetMessagePos();
            break;
        case WM_PRINT:
            if (!state->drawBorder || !style->IsBorderOn())
                break;
            return OnPrint(window, old, *state, *style, reinterpret_cast<HDC>(wParam), lParam);
        default:
            break;
    }
    return CallWindowProcA(old, window, message, wParam, lParam);
}

// ---- the styles' window operations

int CStyledMenuStyle::Attach(HWND window) {
    MenuWindowState* state = StateOf(window);
    if (state == nullptr || !state->drawBorder || !(flags & 1))
        return 0;
    state->flags |= 2;
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
    if (state->flags & 2) {
        SetLastError(0);
        SetWindowLongA(window, GWL_STYLE,
                       (state->flags & 1) ? state->savedStyle | static_cast<LONG>(WS_VISIBLE) : state->savedStyle);
        ReportLastError();
        SetLastError(0);
        SetWindowLongA(window, GWL_EXSTYLE, state->savedExStyle);
        ReportLastError();
    }
    return 1;
}

// The frame's widths, the client area ending before its inner line on every side.
int CStyledMenuStyle::CalcNonClient(HWND, NCCALCSIZE_PARAMS* params) {
    if (!(flags & 1))
        return 0;
    const Insets insets = MenuFrameInsets(IsSystemDropShadowOn());
    RECT& rect = params->rgrc[0];
    rect.left += insetLeft;
    rect.top += insetTop;
    rect.right -= insets.right;
    rect.bottom -= insets.bottom;
    return 0;
}

// The system sized the window for its items and its own border, which the frame replaces (Attach
// takes the border styles away): the window grows or shrinks by the difference, so that the items
// keep the room the system gave them. Systems differ in that border (three pixels on some, none on
// others, which draw their edge inside the client area), so it is read from the saved styles.
int CStyledMenuStyle::AdjustWindowPos(HWND window, WINDOWPOS* position) {
    if (!(flags & 1))
        return 0;
    RECT border{0, 0, 0, 0};
    if (const MenuWindowState* state = StateOf(window))
        AdjustWindowRectEx(&border, static_cast<DWORD>(state->savedStyle), FALSE,
                           static_cast<DWORD>(state->savedExStyle));
    Insets frame = MenuFrameInsets(IsSystemDropShadowOn());
    frame.left = insetLeft;
    frame.top = insetTop;
    const Extent growth =
        MenuWindowGrowth(frame, Insets{-border.left, -border.top, border.right, border.bottom});
    position->cx += growth.cx;
    position->cy += growth.cy;
    position->y -= 1;
    return 1;
}

int CStyledMenuStyle::GetBorderRect(HWND window, RECT* rect) {
    if (!GetWindowRect(window, rect))
        return 0;
    const int farSide = IsSystemDropShadowOn() ? 3 : 7;
    rect->left += 2;
    rect->top += 2;
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
    if (!(flags & 1))
        return 0;
    const WindowGeometry g = GeometryOf(window);
    const bool highContrast = ThePlatform().highContrast;
    const Colour line = highContrast ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_HIGHLIGHT);
    if (IsSystemDropShadowOn()) {
        if (!skipBand)
            FillBand(dc, RECT{1, 1, g.width - 1, g.height - 1}, g.client, GetMenuBackgroundColor(nullptr));
        Outline(dc, RECT{0, 0, g.width, g.height}, line);
        return 1;
    }
    if (!skipBand)
        FillBand(dc, RECT{1, 1, g.width - 5, g.height - 5}, g.client, GetMenuBackgroundColor(nullptr));
    Outline(dc, RECT{0, 0, g.width - 4, g.height - 4}, line);
    if (!highContrast)
        DrawMenuShadow(window, dc);
    return 1;
}

int CStyledMenuFlatStyle::DrawBorder(HWND window, HDC dc, int skipBand) {
    CaptureBackground(window);
    if (!(flags & 1))
        return 0;
    MenuWindowState* state = StateOf(window);
    const WindowGeometry g = GeometryOf(window);
    const SystemColours system = SystemColoursNow();
    const Display display = DisplayOf(dc);
    const FlatFrameColours colours =
        FlatFrameColoursOf(GetMenuBackgroundColor(state != nullptr ? state->menu : nullptr), system, display);
    const int w = g.width;
    const int h = g.height;
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
        FillBand(dc, RECT{1, 1, w - 5, h - 5}, g.client, colours.frame);
    if (display.highContrast) {
        Outline(dc, RECT{0, 0, w - 4, h - 4}, system.btnText);
        DrawBarJoint(window, dc);
        return 1;
    }
    Outline(dc, RECT{1, 1, w - 5, h - 5}, colours.frame);
    Fill(dc, RECT{1, 2, 2, 2 + h - 8}, colours.gutter);
    Outline(dc, RECT{0, 0, w - 4, h - 4}, colours.outline);
    DrawMenuShadow(window, dc);
    DrawBarJoint(window, dc);
    return 1;
}

// ---- background, shadow and joint

MenuWindowState* CaptureBackground(HWND window) {
    MenuWindowState* state = StateOf(window);
    if (state == nullptr || state->background != nullptr)
        return state;
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left + 10;
    const int height = rect.bottom - rect.top + 10;
    if (width <= 0 || height <= 0)
        return state;
    // A top-down 32-bit section: the shadow reads the few pixels it darkens straight from memory.
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    state->background = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory != nullptr && state->background != nullptr) {
        HGDIOBJ old = SelectObject(memory, state->background);
        BitBlt(memory, 0, 0, width, height, screen, state->x, state->y, SRCCOPY);
        SelectObject(memory, old);
        GdiFlush();
    }
    if (memory != nullptr)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return state;
}

void DrawMenuShadow(HWND window, HDC dc) {
    if (IsSystemDropShadowOn())
        return;
    MenuWindowState* state = StateOf(window);
    if (state == nullptr || state->background == nullptr)
        return;
    DIBSECTION snapshot{};
    if (GetObjectA(state->background, sizeof snapshot, &snapshot) != sizeof snapshot ||
        snapshot.dsBm.bmBits == nullptr || snapshot.dsBm.bmBitsPixel != 32)
        return;
    RECT rect{};
    GetWindowRect(window, &rect);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return;
    // Only the pixels of the shadow's 4 columns and 4 rows are read (the snapshot is top-down).
    const auto* rows = static_cast<const BYTE*>(snapshot.dsBm.bmBits);
    auto behind = [&](int x, int y) {
        const DWORD p =
            reinterpret_cast<const DWORD*>(rows + static_cast<std::size_t>(y) * snapshot.dsBm.bmWidthBytes)[x];
        return MakeColour(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                          static_cast<int>(p & 0xFF));
    };
    const Colour shadow = GetSysColor(COLOR_BTNSHADOW);
    for (const ShadowStep& step : MenuShadowSteps(w, h, GetScreenColorCount() <= 256)) {
        if (step.x < 0 || step.y < 0 || step.x >= snapshot.dsBm.bmWidth || step.y >= snapshot.dsBm.bmHeight)
            continue;
        Colour colour = shadow;
        if (step.kind == ShadowStep::Copy)
            colour = behind(step.x, step.y);
        else if (step.kind == ShadowStep::Darken)
            colour = Darken(step.darkness, behind(step.x, step.y));
        SetPixelV(dc, step.x, step.y, colour);
    }
}

void DrawBarJoint(HWND window, HDC dc) {
    MenuWindowState* state = StateOf(window);
    if (state == nullptr || state->menu == nullptr)
        return;
    CStyledMenu* menu = CStyledMenu::FromHandle(state->menu);
    CStyledMenu* bar = menu != nullptr ? CStyledMenu::FromHandle(menu->parent()) : nullptr;
    if (bar == nullptr || bar->isPopup())
        return;
    RECT rect{};
    GetWindowRect(window, &rect);
    OffsetRect(&rect, state->x - rect.left, state->y - rect.top);
    RECT joint{};
    if (!IntersectRect(&joint, &rect, &bar->lastHotBarItem()))
        return;
    if (joint.right - joint.left > joint.bottom - joint.top)
        InflateRect(&joint, -1, 0);
    else
        InflateRect(&joint, 0, -1);
    OffsetRect(&joint, -state->x, -state->y);
    const Colour colour = GetScreenColorCount() <= 256 ? GetSysColor(COLOR_BTNFACE)
                                                       : Blend86(GetMenuBarColor(nullptr), GetSysColor(COLOR_WINDOW));
    Fill(dc, joint, colour);
}

}  // namespace menus
