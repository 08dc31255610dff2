#pragma once
// An image list bound to an existing HIMAGELIST (the system's small-icon
// list): drawn from, never destroyed by us.
#include <windows.h>
#include <commctrl.h>

namespace ui {

class TImageList {
public:
    TImageList() = default;
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    // Binds to a shared list; null leaves the list without images.
    void Bind(HIMAGELIST shared) noexcept { handle_ = shared; }
    HIMAGELIST Handle() const noexcept { return handle_; }
    int Width() const;
    int Height() const;
    // Draws image index at (x, y), transparently; nothing without a handle
    // or for a negative index. Given a width and height other than the
    // list's own, the image is scaled to them.
    void Draw(HDC dc, int x, int y, int index, bool enabled = true, int width = 0, int height = 0) const;

private:
    HIMAGELIST handle_ = nullptr;
};

}  // namespace ui
