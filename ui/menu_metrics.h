#pragma once
// The layout of a native popup-menu row at one DPI: the menu font of the
// system's non-client metrics, an icon column as wide as the small icons
// plus padding, the caption after it. Rows of the program's own menus are
// measured and drawn from this, so they match the system's popup menus.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/handles.h"

namespace ui {

class TMenuMetrics {
public:
    // Shared per (dpi, icon size) for the life of the process; main thread.
    static const TMenuMetrics& For(UINT dpi, int iconWidth, int iconHeight);

    TMenuMetrics(UINT dpi, int iconWidth, int iconHeight);
    TMenuMetrics(const TMenuMetrics&) = delete;
    TMenuMetrics& operator=(const TMenuMetrics&) = delete;

    UINT Dpi() const noexcept { return dpi_; }
    HFONT Font() const noexcept { return font_.get(); }
    int IconWidth() const noexcept { return iconWidth_; }
    int IconHeight() const noexcept { return iconHeight_; }
    // Every row is this high: the taller of the caption and the icon, with
    // the padding a popup menu puts above and below.
    int RowHeight() const noexcept { return rowHeight_; }
    // Left edges of the icon and of the caption, from the row's left edge.
    int IconLeft() const noexcept { return iconLeft_; }
    int TextLeft() const noexcept { return textLeft_; }
    // Width of the icon column (a themed menu's gutter), from the row's left edge.
    int GutterWidth() const noexcept { return gutter_; }
    // Left and right insets of a themed menu's selection highlight.
    int ItemMargin() const noexcept { return margin_; }
    // Room kept right of the caption.
    int TextRightPadding() const noexcept { return textRight_; }
    // Width of a caption in the menu font; "&&" counts as one "&" and a
    // single "&" (an accelerator mark) as nothing.
    int TextWidth(HDC dc, const std::wstring& caption) const;

private:
    UINT dpi_;
    UniqueFont font_;
    int iconWidth_, iconHeight_;
    int textHeight_ = 0;
    int rowHeight_ = 0;
    int iconLeft_ = 0, textLeft_ = 0, textRight_ = 0;
    int gutter_ = 0, margin_ = 0;
    // Advance widths of the printable ASCII letters in the menu font, read
    // at the first measuring: a caption of those alone is measured by adding
    // them up, as GetTextExtentPoint32 does (no kerning), without a call per
    // caption. Empty until read, or when the system would not say.
    mutable std::vector<int> asciiWidths_;
    mutable bool asciiRead_ = false;
};

}  // namespace ui
