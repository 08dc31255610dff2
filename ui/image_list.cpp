#include "ui/image_list.h"

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

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
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
    ImageList_DrawIndirect(&p);
}

}  // namespace ui
