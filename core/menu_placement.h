#pragma once
// Where a menu window goes on the screen: the flip to the left when it would
// pass the work area's right edge, and the vertical fit in whole rows.
// Screen coordinates; right and bottom edges are exclusive.
namespace core {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The outer left edge of a window of outerWidth whose left edge was put at
// left. A window passing workRight flips: a child (ownerLeft given) so that
// its right edge touches its parent's left edge, the root so that its right
// edge lies where its left edge was (the pointer). The left edge is not
// checked afterwards.
int FlipLeft(int left, int outerWidth, int workRight, const int* ownerLeft);

struct VerticalFit {
    int top = 0;            // outer top of the window
    int clientHeight = 0;   // the rows that fit, in whole rows
    bool scrollButtons = false;  // some rows do not fit
};

// Fits rowCount rows of rowHeight, starting at the outer top `top`, into the
// work area: a window that passes the bottom (frame included) moves up in
// whole rows, and rows that would then stand above the work area are cut
// off from the top. frame is one side of the window frame.
VerticalFit FitVertically(int top, int rowCount, int rowHeight, int frame, const Rect& work);

// Everything a show knows when it places its window.
struct MenuPlacementRequest {
    bool child = false;      // owned by another menu window
    bool firstShow = false;  // the rows were added by this show
    int anchorX = 0, anchorY = 0;  // root: the pointer; child: the right end
                                   // of the parent's selected row, top edge
    int currentLeft = 0;     // the window's outer left before this show
    int ownerLeft = 0;       // child: the parent window's outer left
    int outerWidth = 0;
    int frame = 0;
    int rowHeight = 0;
    int rowCount = 0;
    Rect work;
};

struct MenuPlacement {
    int left = 0, top = 0;  // outer top-left
    int clientHeight = 0;
    bool scrollButtons = false;
    friend bool operator==(const MenuPlacement&, const MenuPlacement&) = default;
};

// A child's client area starts level with the parent's row, its left edge on
// the parent list's right edge; the root opens at the pointer. Only the first
// show decides the horizontal position of a child (a flipped child stays on
// the left); the root follows the pointer every time but flips only once.
MenuPlacement PlaceMenu(const MenuPlacementRequest& request);

}  // namespace core
