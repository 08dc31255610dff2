#include "ui/menu_metrics.h"

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

#include "ui/dpi.h"

namespace ui {

namespace {
// At 96 DPI; scaled for others. A popup-menu row puts 3 pixels above and
// below its content, its icon in a column with 4 pixels either side after a
// 2-pixel margin, and its caption 6 pixels after that column.
constexpr int kVerticalPadding = 3;
constexpr int kRowMargin = 2;
constexpr int kIconPadding = 4;
constexpr int kTextGap = 6;
constexpr int kTextRightPadding = 8;
}  // namespace

const TMenuMetrics& TMenuMetrics::For(UINT dpi, int iconWidth, int iconHeight) {
    static std::map<std::tuple<UINT, int, int>, std::unique_ptr<TMenuMetrics>> cache;
    auto& slot = cache[{dpi, iconWidth, iconHeight}];
    if (!slot) slot = std::make_unique<TMenuMetrics>(dpi, iconWidth, iconHeight);
    return *slot;
}

TMenuMetrics::TMenuMetrics(UINT dpi, int iconWidth, int iconHeight)
    : dpi_(dpi ? dpi : 96), iconWidth_(iconWidth), iconHeight_(iconHeight) {
    if (iconWidth_ <= 0) iconWidth_ = SystemMetricForDpi(SM_CXSMICON, dpi_);
    if (iconHeight_ <= 0) iconHeight_ = SystemMetricForDpi(SM_CYSMICON, dpi_);
    NONCLIENTMETRICSW metrics = NonClientMetricsForDpi(dpi_);
    font_.reset(CreateFontIndirectW(&metrics.lfMenuFont));
    if (!font_) font_.reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));

    WindowDC screen(nullptr);
    {
        SelectGuard select(screen.get(), font_.get());
        TEXTMETRICW tm{};
        GetTextMetricsW(screen.get(), &tm);
        textHeight_ = tm.tmHeight;
    }
    rowHeight_ = std::max(textHeight_, iconHeight_) + 2 * ScaleForDpi(kVerticalPadding, dpi_);
    iconLeft_ = ScaleForDpi(kRowMargin + kIconPadding, dpi_);
    textLeft_ = iconLeft_ + iconWidth_ + ScaleForDpi(kIconPadding + kTextGap, dpi_);
    textRight_ = ScaleForDpi(kTextRightPadding, dpi_);
    gutter_ = iconLeft_ + iconWidth_ + ScaleForDpi(kIconPadding, dpi_);
    margin_ = ScaleForDpi(kRowMargin, dpi_);
}

namespace {
constexpr wchar_t kAsciiFirst = L' ', kAsciiLast = L'~';
}  // namespace

int TMenuMetrics::TextWidth(HDC dc, const std::wstring& caption) const {
    if (caption.empty()) return 0;
    // What the drawing shows: "&&" as "&", a single "&" (an accelerator
    // mark) as nothing. GetTextExtentPoint32 is several times cheaper than a
    // DT_CALCRECT drawing, which counts in folders of many thousand rows.
    std::wstring shown;
    shown.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (i + 1 < caption.size() && caption[i + 1] == L'&') shown += L'&';
            ++i;
            if (i < caption.size() && caption[i] != L'&') shown += caption[i];
            continue;
        }
        shown += caption[i];
    }
    SelectGuard select(dc, font_.get());
    if (!asciiRead_) {
        asciiRead_ = true;
        std::vector<int> widths(kAsciiLast - kAsciiFirst + 1);
        if (GetCharWidth32W(dc, kAsciiFirst, kAsciiLast, widths.data())) asciiWidths_ = std::move(widths);
    }
    if (!asciiWidths_.empty()) {
        int sum = 0;
        bool ascii = true;
        for (wchar_t c : shown) {
            if (c < kAsciiFirst || c > kAsciiLast) {
                ascii = false;
                break;
            }
            sum += asciiWidths_[static_cast<size_t>(c - kAsciiFirst)];
        }
        if (ascii) return sum;
    }
    SIZE size{};
    if (!GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size)) return 0;
    return size.cx;
}

}  // namespace ui
