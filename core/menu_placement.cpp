#include "core/menu_placement.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {
// Smallest whole number of rows covering `pixels` (negative pixels give 0 or
// less, as the division says).
long long RowsCovering(long long pixels, int rowHeight) {
    return static_cast<long long>(std::ceil(static_cast<double>(pixels) / rowHeight));
}
}  // namespace

int FlipLeft(int left, int outerWidth, int workRight, const int* ownerLeft) {
    if (static_cast<long long>(left) + outerWidth <= workRight) return left;
    return (ownerLeft ? *ownerLeft : left) - outerWidth;
}

VerticalFit FitVertically(int top, int rowCount, int rowHeight, int frame, const Rect& work) {
    VerticalFit fit;
    if (rowHeight <= 0 || rowCount <= 0) {
        fit.top = top;
        return fit;
    }
    long long rTop = top;
    long long rBottom = rTop + static_cast<long long>(rowCount) * rowHeight;
    if (rBottom + 2LL * frame > work.bottom) {
        // k counts rows only, so a window whose bottom frame alone passes the
        // work area stays put. A frame thicker than half a row could make k
        // negative; moving the window down would then take it further out.
        const long long k = std::max(0LL, RowsCovering(rBottom - work.bottom, rowHeight));
        rTop -= k * rowHeight;
        rBottom -= k * rowHeight;
        if (rTop < work.top) rTop += RowsCovering(work.top - rTop, rowHeight) * rowHeight;
    }
    fit.top = static_cast<int>(rTop);
    // A work area lower than one row leaves no whole row; the height never
    // goes negative.
    fit.clientHeight = static_cast<int>(std::max(0LL, rBottom - rTop));
    fit.scrollButtons = static_cast<long long>(fit.clientHeight) != static_cast<long long>(rowCount) * rowHeight;
    return fit;
}

MenuPlacement PlaceMenu(const MenuPlacementRequest& r) {
    MenuPlacement placement;
    placement.left = (r.child && !r.firstShow) ? r.currentLeft : r.anchorX;
    if (r.firstShow) placement.left = FlipLeft(placement.left, r.outerWidth, r.work.right, r.child ? &r.ownerLeft : nullptr);
    const int top = r.child ? r.anchorY - r.frame : r.anchorY;
    const VerticalFit fit = FitVertically(top, r.rowCount, r.rowHeight, r.frame, r.work);
    placement.top = fit.top;
    placement.clientHeight = fit.clientHeight;
    placement.scrollButtons = fit.scrollButtons;
    return placement;
}

}  // namespace core
