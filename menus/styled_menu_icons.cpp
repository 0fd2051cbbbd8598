#include "styled_menu_icons.h"

#include "gdi.h"
#include "menu_colors.h"

namespace menus {
namespace {

// The ends of the list of live stores (plain pointers: nothing to destroy at exit).
CStyledMenuIcons*& FirstStore() {
    static CStyledMenuIcons* first = nullptr;
    return first;
}

CStyledMenuIcons*& LastStore() {
    static CStyledMenuIcons* last = nullptr;
    return last;
}

}  // namespace

CStyledMenuIcons::CStyledMenuIcons(int width, int height)
    : imageList_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 12, 12)) {
    previous_ = LastStore();
    if (previous_ != nullptr)
        previous_->next_ = this;
    else
        FirstStore() = this;
    LastStore() = this;
}

CStyledMenuIcons::~CStyledMenuIcons() {
    (previous_ != nullptr ? previous_->next_ : FirstStore()) = next_;
    (next_ != nullptr ? next_->previous_ : LastStore()) = previous_;
    for (HICON icon : icons_)
        DestroyIcon(icon);
}

std::vector<CStyledMenuIcons*> CStyledMenuIcons::Stores() {
    std::vector<CStyledMenuIcons*> stores;
    for (CStyledMenuIcons* store = FirstStore(); store != nullptr; store = store->next_)
        stores.push_back(store);
    return stores;
}

SIZE CStyledMenuIcons::IconSize() const {
    int width = 0;
    int height = 0;
    if (imageList_)
        ImageList_GetIconSize(imageList_.get(), &width, &height);
    return SIZE{width, height};
}

int CStyledMenuIcons::AddIcon(HICON icon) {
    if (!imageList_ || icon == nullptr)
        return -1;
    const int index = ImageList_GetImageCount(imageList_.get());
    AddVariants(icon);
    if (ImageList_GetImageCount(imageList_.get()) != index + 3)
        return -1;
    icons_.push_back(CopyIcon(icon));
    return index;
}

void CStyledMenuIcons::Refresh() {
    if (!imageList_)
        return;
    ImageList_RemoveAll(imageList_.get());
    for (HICON icon : icons_)
        AddVariants(icon);
}

// The icon itself, a faded copy (lightened towards white) and a disabled one (a light grey
// of its brightness), all with the icon's mask.
void CStyledMenuIcons::AddVariants(HICON icon) {
    const SIZE size = IconSize();
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return;
    const winapp::Bitmap mask(info.hbmMask);
    const winapp::Bitmap colour(info.hbmColor);
    BITMAPINFO format = winapp::TopDownBitmapInfo(size.cx, size.cy);
    std::vector<DWORD> pixels(static_cast<std::size_t>(size.cx * size.cy));
    const winapp::WindowDc screen(nullptr);
    // The icon drawn on black gives its colours; its mask keeps the shape.
    const winapp::MemoryDc memoryDc(CreateCompatibleDC(screen.get()));
    HDC memory = memoryDc.get();
    const winapp::Bitmap normal(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    {
        const winapp::Selection selected(memory, normal.get());
        RECT all{0, 0, size.cx, size.cy};
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        DrawIconEx(memory, 0, 0, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
    }
    GetDIBits(memory, normal.get(), 0, static_cast<UINT>(size.cy), pixels.data(), &format, DIB_RGB_COLORS);
    ImageList_Add(imageList_.get(), normal.get(), mask.get());

    std::vector<DWORD> variant(pixels.size());
    for (int kind = 0; kind < 2; ++kind) {
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            // DIB pixels are 0x00RRGGBB; the colour functions take 0x00BBGGRR.
            const DWORD p = pixels[i];
            const Colour c = MakeColour(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                                        static_cast<int>(p & 0xFF));
            Colour v;
            if (kind == 0) {
                v = Lighten(60, c);
            } else {
                const int grey = (RedOf(c) * 30 + GreenOf(c) * 59 + BlueOf(c) * 11) / 100;
                v = Lighten(140, MakeColour(grey, grey, grey));
            }
            variant[i] = static_cast<DWORD>((RedOf(v) << 16) | (GreenOf(v) << 8) | BlueOf(v));
        }
        const winapp::Bitmap image(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
        SetDIBits(memory, image.get(), 0, static_cast<UINT>(size.cy), variant.data(), &format, DIB_RGB_COLORS);
        ImageList_Add(imageList_.get(), image.get(), mask.get());
    }
}

}  // namespace menus
