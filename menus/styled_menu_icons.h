// Where menu items' icons come from: image lists with three images per icon, shared by the item
// records that show them.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "handles.h"

namespace menus {

// An image list with three images per icon (normal at i, faded at i + 1, disabled at i + 2). The
// item records that use a store share it (std::shared_ptr); it goes with the last of them.
class CStyledMenuIcons : public std::enable_shared_from_this<CStyledMenuIcons> {
public:
    CStyledMenuIcons(int width, int height);
    virtual ~CStyledMenuIcons();
    CStyledMenuIcons(const CStyledMenuIcons&) = delete;
    CStyledMenuIcons& operator=(const CStyledMenuIcons&) = delete;

    // Adds an icon and its two variants; the index of its normal image, or −1.
    int AddIcon(HICON icon);
    SIZE IconSize() const;
    HIMAGELIST imageList() const { return imageList_.get(); }
    // Redraws the variants from the icons (after a change of the system colours).
    virtual void Refresh();

    // How many share the store (0 for one that no shared_ptr holds).
    int refCount() const { return static_cast<int>(weak_from_this().use_count()); }

    // The live stores, in the order they were made; the list owns none of them.
    static std::vector<CStyledMenuIcons*> Stores();

private:
    void AddVariants(HICON icon);

    winapp::ImageList imageList_;
    std::vector<HICON> icons_;
    // The list of live stores: linked through the stores themselves, so that it needs no memory
    // of its own and nothing to tear down at exit.
    CStyledMenuIcons* previous_ = nullptr;
    CStyledMenuIcons* next_ = nullptr;
};

// An icon store filled from bitmaps.
class CStyledMenuBitmaps : public CStyledMenuIcons {
public:
    using CStyledMenuIcons::CStyledMenuIcons;
};

}  // namespace menus
