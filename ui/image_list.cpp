#include "ui/image_list.h"

#include "ui/handles.h"

namespace ui {

int TImageList::Width() const {
    int cx = 0, cy = 0;
    if (handle_) ImageList_GetIconSize(handle_, &cx, &cy);
    return cx;
}

int TImageList::Height() const {
    int cx = 0, cy = 0;
    if (handle_) ImageList_GetIconSize(handle_, &cx, &cy);
    return cy;
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled, int width, int height) const {
    if (!handle_ || index < 0) return;
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof(p);
    p.himl = handle_;
    p.i = index;
    p.hdcDst = dc;
    p.x = x;
    p.y = y;
    p.rgbBk = CLR_NONE;
    p.rgbFg = CLR_DEFAULT;
    p.fStyle = ILD_TRANSPARENT;
    if (!enabled) {
        p.fState = ILS_SATURATE;
    }
    int ownWidth = 0, ownHeight = 0;
    if (width > 0 && height > 0 && ImageList_GetIconSize(handle_, &ownWidth, &ownHeight) &&
        (width != ownWidth || height != ownHeight)) {
        // Another size (a menu at another DPI than the system's): the icon
        // stretched by DrawIconEx. ILD_SCALE is not honoured everywhere
        // (Wine fills the extra room with the next image of the strip).
        if (enabled) {
            UniqueIcon icon(ImageList_GetIcon(handle_, index, ILD_TRANSPARENT));
            if (icon && DrawIconEx(dc, x, y, icon.get(), width, height, 0, nullptr, DI_NORMAL)) return;
        }
        // Else at the list's own size, in the middle of the room.
        p.x += (width - ownWidth) / 2;
        p.y += (height - ownHeight) / 2;
    }
    ImageList_DrawIndirect(&p);
}

}  // namespace ui
