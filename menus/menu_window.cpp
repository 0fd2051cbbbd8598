#include "menu_window.h"

#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <vector>

#include "dpi.h"
#include "gdi_helpers.h"
#include "menu_colors.h"
#include "menu_draw.h"
#include "menu_styles.h"
#include "menu_system.h"
#include "procedures.h"
#include "styled_menu.h"

namespace menus {
namespace {

const char kOldProcProperty[] = "OldMenuProc";
const UINT kMenuSizeMessage = 0x1E2;

HHOOK& Hook() {
    static HHOOK hook = nullptr;
    return hook;
}

// The records of the subclassed menu windows; a record's bitmap and region go with it.
std::map<HWND, std::unique_ptr<MenuWindowState>>& WindowStates() {
    static std::map<HWND, std::unique_ptr<MenuWindowState>> states;
    return states;
}

bool HasClass(HWND window, const char* name) {
    char buffer[20] = {};
    return GetClassNameA(window, buffer, sizeof buffer) == 6 && std::strcmp(buffer, name) == 0;
}

WNDPROC OldProcOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropA(window, kOldProcProperty));
}

bool DrawBorderOf(HMENU menu) {
    return kBorderForAllMenus || CStyledMenu::FromHandle(menu) != nullptr;
}

// The pending popup menu becomes the window's, and the active style attaches to it again.
void TakePendingMenu(HWND window, MenuWindowState& state) {
    state.menu = PendingPopupMenu();
    state.drawBorder = DrawBorderOf(state.menu);
    PendingPopupMenu() = nullptr;
    if (CStyledMenuStyle* style = ActiveStyle())
        style->Attach(window);
}

}  // namespace

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

HMENU& PendingPopupMenu() {
    static HMENU menu = nullptr;
    return menu;
}

MenuWindowState* StateOf(HWND window) {
    const auto& states = WindowStates();
    const auto found = states.find(window);
    return found == states.end() ? nullptr : found->second.get();
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
            const bool subclassed = SubclassMenuWindow(call->hwnd, call->message == kMenuSizeMessage);
            if (!subclassed && (kDialogSupportFlags & kDialogTempHandler) && call->message == WM_CREATE &&
                HasClass(call->hwnd, "#32770"))
                InstallTempHandler(call->hwnd);
        } else if (call->message == WM_WINDOWPOSCHANGING && PendingPopupMenu() != nullptr) {
            // Where the system creates the menu window before it announces the popup (as Wine
            // does), the noted menu belongs to the window being placed now that knows none yet;
            // otherwise it would be left for the next menu window, whatever menu that shows.
            MenuWindowState* state = StateOf(call->hwnd);
            if (state != nullptr && state->menu == nullptr)
                TakePendingMenu(call->hwnd, *state);
        }
    }
    return CallNextHookEx(Hook(), code, wParam, lParam);
}

// ---- subclassing

bool SubclassMenuWindow(HWND window, bool late) {
    if (!HasClass(window, "#32768"))
        return false;
    bool result = false;
    if (StateOf(window) == nullptr) {
        const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
        if (procedure != nullptr && GetPropA(window, kOldProcProperty) == nullptr) {
            if (!SetPropA(window, kOldProcProperty, reinterpret_cast<HANDLE>(procedure)))
                ReportLastError();
        }
        if (procedure != nullptr && OldProcOf(window) == procedure) {
            GlobalAddAtomA(kOldProcProperty);
            if (StateOf(window) == nullptr) {
                // Owned by this unique_ptr, then by WindowStates(); nothrow: no record is no failure.
                std::unique_ptr<MenuWindowState> state(new (std::nothrow) MenuWindowState);
                if (state != nullptr) {
                    if (late)
                        state->flags.Set(WindowFlag::SubclassedLate);
                    state->menu = PendingPopupMenu();
                    state->drawBorder = DrawBorderOf(state->menu);
                    PendingPopupMenu() = nullptr;
                    state->savedStyle = GetWindowLongA(window, GWL_STYLE);
                    state->savedExStyle = GetWindowLongA(window, GWL_EXSTYLE);
                    WindowStates()[window] = std::move(state);
                }
                SetLastError(0);
                if (SetWindowLongPtrA(window, GWLP_WNDPROC, winapp::ProcedureValue(MenuWindowProc)) == 0)
                    ReportLastError();
                if (CStyledMenuStyle* style = ActiveStyle())
                    style->Attach(window);
                result = true;
            }
        }
    }
    MenuWindowState* state = StateOf(window);
    if (PendingPopupMenu() != nullptr && state != nullptr)
        TakePendingMenu(window, *state);
    return result;
}

void UnsubclassMenuWindow(HWND window) {
    if (WNDPROC old = OldProcOf(window)) {
        SetLastError(0);
        if (SetWindowLongPtrA(window, GWLP_WNDPROC, winapp::ProcedureValue(old)) == 0)
            ReportLastError();
    }
    RemovePropA(window, kOldProcProperty);
    if (ATOM atom = GlobalFindAtomA(kOldProcProperty))
        GlobalDeleteAtom(atom);
    if (StateOf(window) == nullptr)
        return;
    if (CStyledMenuStyle* style = ActiveStyle())
        style->Detach(window);
    WindowStates().erase(window);
}

// ---- the menu window's procedure

namespace {

LRESULT OnNcPaint(HWND window, WNDPROC old, MenuWindowState& state, CStyledMenuStyle& style, WPARAM wParam,
                  LPARAM lParam) {
    const auto update = reinterpret_cast<HRGN>(wParam);
    const HRGN saved = state.savedRegion ? state.savedRegion.get() : WholeFrameRegion();
    if (!state.ncPainted && update != saved) {
        state.savedRegion.Reset();
        if (update != WholeFrameRegion()) {
            winapp::Region copy(CreateRectRgn(0, 0, 1, 1));
            if (copy && CombineRgn(copy.get(), update, nullptr, RGN_COPY) != ERROR)
                state.savedRegion = std::move(copy);
        }
    }
    bool letSystemPaint = !state.flags.Has(WindowFlag::ServingPrint);
    LRESULT result = 0;
    if (state.ncPainted && style.IsBorderOn()) {
        const winapp::WindowDc dc(window, true);
        RECT border{};
        if (dc && style.DrawBorder(window, dc.get(), 0) && style.GetBorderRect(window, &border)) {
            InflateRect(&border, -1, -1);
            const winapp::Region region(CreateRectRgnIndirect(&border));
            result = CallWindowProcA(old, window, WM_NCPAINT, reinterpret_cast<WPARAM>(region.get()), lParam);
            style.DrawBorder(window, dc.get(), 1);
            letSystemPaint = false;
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
    const winapp::MemoryDc memoryDc(CreateCompatibleDC(target));
    const winapp::Bitmap bitmap(memoryDc ? CreateCompatibleBitmap(target, geometry.width, geometry.height) : nullptr);
    if (!bitmap) {
        // Without a picture to compose in, the system prints the window as it is.
        return CallWindowProcA(old, window, WM_PRINT, reinterpret_cast<WPARAM>(target), printFlags);
    }
    HDC memory = memoryDc.get();
    state.flags.Set(WindowFlag::ServingPrint);
    const winapp::Selection picture(memory, bitmap.get());
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
    state.flags.Clear(WindowFlag::ServingPrint);
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
            if (style->IsBorderOn() && !state->flags.Has(WindowFlag::ServingPrint) && !state->ncPainted) {
                state->ncPainted = true;
                SendMessageA(window, WM_NCPAINT, reinterpret_cast<WPARAM>(WholeFrameRegion()), 0);
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
                        state->background.Reset();
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
                state->flags.Set(WindowFlag::EscapePressed);
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

// ---- background, shadow and joint

// How much more of the screen than the window the background snapshot takes, right and below.
constexpr int kSnapshotMargin = 10;

MenuWindowState* CaptureBackground(HWND window) {
    MenuWindowState* state = StateOf(window);
    if (state == nullptr || state->background)
        return state;
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left + kSnapshotMargin;
    const int height = rect.bottom - rect.top + kSnapshotMargin;
    if (width <= 0 || height <= 0)
        return state;
    // A top-down 32-bit section: the shadow reads the few pixels it darkens straight from memory.
    BITMAPINFO format = winapp::TopDownBitmapInfo(width, height);
    const winapp::WindowDc screen(nullptr);
    const winapp::MemoryDc memory(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    state->background.Reset(CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (memory && state->background) {
        {
            const winapp::Selection snapshot(memory.get(), state->background.get());
            BitBlt(memory.get(), 0, 0, width, height, screen.get(), state->x, state->y, SRCCOPY);
        }
        GdiFlush();
    }
    return state;
}

void DrawMenuShadow(HWND window, HDC dc) {
    if (IsSystemDropShadowOn())
        return;
    MenuWindowState* state = StateOf(window);
    if (state == nullptr || !state->background)
        return;
    DIBSECTION snapshot{};
    if (GetObjectA(state->background.get(), sizeof snapshot, &snapshot) != sizeof snapshot ||
        snapshot.dsBm.bmBits == nullptr || snapshot.dsBm.bmBitsPixel != 32)
        return;
    RECT rect{};
    GetWindowRect(window, &rect);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return;
    // Only the pixels of the shadow's columns and rows are read (the snapshot is top-down).
    const auto* rows = static_cast<const BYTE*>(snapshot.dsBm.bmBits);
    auto behind = [&](int x, int y) {
        const DWORD p =
            reinterpret_cast<const DWORD*>(rows + static_cast<std::size_t>(y) * snapshot.dsBm.bmWidthBytes)[x];
        return MakeColour(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                          static_cast<int>(p & 0xFF));
    };
    const Colour shadow = GetSysColor(COLOR_BTNSHADOW);
    const int size = MenuShadowWidth(static_cast<int>(winapp::DpiOf(window)));
    for (const ShadowStep& step : MenuShadowSteps(w, h, GetScreenColorCount() <= 256, size)) {
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
