#pragma once
// When a press becomes a drag: the system gives a number of pixels on either
// side of the press point (SM_CXDRAG, SM_CYDRAG) that the pointer may move
// with the button down and still make a click.
namespace core {

// dx, dy: the pointer's move since the press; cx, cy: the drag metrics.
constexpr bool PastDragThreshold(int dx, int dy, int cx, int cy) noexcept {
    return dx > cx || -dx > cx || dy > cy || -dy > cy;
}

}  // namespace core
