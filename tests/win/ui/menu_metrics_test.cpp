// Popup-menu rows are measured as they are drawn.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>

#include "ui/handles.h"
#include "ui/image_list.h"
#include "ui/menu.h"
#include "ui/menu_metrics.h"

TEST(MenuMetrics, CaptionsAreMeasuredAsTheyAreShown) {
    const ui::TMenuMetrics& metrics = ui::TMenuMetrics::For(96, 16, 16);
    ui::WindowDC dc(nullptr);
    // "&&" shows as "&", a single "&" marks an accelerator and shows nothing.
    EXPECT_EQ(metrics.TextWidth(dc.get(), L"Salt && Pepper"), metrics.TextWidth(dc.get(), L"Salt & Pepper") -
                                                                    metrics.TextWidth(dc.get(), L"&") +
                                                                    metrics.TextWidth(dc.get(), L"&&"));
    EXPECT_EQ(metrics.TextWidth(dc.get(), L"&File"), metrics.TextWidth(dc.get(), L"File"));
    EXPECT_GT(metrics.TextWidth(dc.get(), L"&&"), 0);
    EXPECT_EQ(metrics.TextWidth(dc.get(), L""), 0);
    EXPECT_GT(metrics.TextWidth(dc.get(), L"WWWW"), metrics.TextWidth(dc.get(), L"iiii"));

    // Plain ASCII captions are added up from the font's letter widths: the
    // sum is what the system measures for the whole caption.
    for (const wchar_t* text : {L"file-00001.txt", L"Program Files (x86)", L"~!@#$%^*()_+{}|:<>?[]\\;',./",
                                L"AVAVAV WAWAWA Tj To Ty", L"  blank  "}) {
        HGDIOBJ old = SelectObject(dc.get(), metrics.Font());
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text, lstrlenW(text), &size);
        SelectObject(dc.get(), old);
        EXPECT_EQ(metrics.TextWidth(dc.get(), text), size.cx) << testing::PrintToString(std::wstring(text));
    }

    // A row is as high as the taller of caption and icon, plus padding, and
    // wide enough for the icon column, the caption and the right padding.
    ui::TMenuItem item;
    item.Caption = L"Report 2026.txt";
    int width = 0, height = 0;
    item.MeasureItem(dc.get(), metrics, width, height);
    EXPECT_EQ(height, metrics.RowHeight());
    EXPECT_GE(height, 16 + 2);
    EXPECT_EQ(width, metrics.TextLeft() + metrics.TextWidth(dc.get(), item.Caption) + metrics.TextRightPadding());
    EXPECT_GT(metrics.TextLeft(), 16);

    // Another DPI scales the row with the menu font.
    const ui::TMenuMetrics& large = ui::TMenuMetrics::For(144, 24, 24);
    EXPECT_GT(large.RowHeight(), metrics.RowHeight());
    EXPECT_GT(large.TextWidth(dc.get(), item.Caption), metrics.TextWidth(dc.get(), item.Caption));
}

// The rows of one menu at 96, 120, 144 and 192 DPI: font, icon column,
// padding and row height grow about in proportion, and each DPI has metrics
// of its own (letter widths read at one DPI must never measure another).
TEST(MenuMetrics, RowsFollowTheDpi) {
    using UniqueImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, decltype(&ImageList_Destroy)>;
    const UniqueImageList icons(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1), &ImageList_Destroy);
    ui::TImageList images;
    images.Bind(icons.get());
    ui::TPopupMenu menu;
    menu.Images = &images;
    const std::wstring caption = L"Quarterly report (final) 2026.txt";
    ui::WindowDC dc(nullptr);
    const ui::TMenuMetrics& base = menu.Metrics(96);
    ASSERT_EQ(base.IconWidth(), 16);  // the list's own size at the system DPI
    const int baseWidth = base.TextWidth(dc.get(), caption);
    int lastHeight = 0;
    for (UINT dpi : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        const ui::TMenuMetrics& metrics = menu.Metrics(dpi);
        EXPECT_EQ(&menu.Metrics(dpi), &metrics);
        EXPECT_EQ(metrics.Dpi(), dpi);
        // Within a tenth of the proportional value (fonts are hinted and
        // paddings rounded at each size), and the rows strictly taller.
        auto expectScaled = [dpi](int value, int at96) {
            const int scaled = MulDiv(at96, static_cast<int>(dpi), 96);
            EXPECT_NEAR(value, scaled, std::max(2, scaled / 10)) << "96 DPI: " << at96;
        };
        EXPECT_EQ(metrics.IconWidth(), MulDiv(16, static_cast<int>(dpi), 96));
        EXPECT_EQ(metrics.IconHeight(), metrics.IconWidth());
        expectScaled(metrics.RowHeight(), base.RowHeight());
        expectScaled(metrics.TextLeft(), base.TextLeft());
        expectScaled(metrics.TextRightPadding(), base.TextRightPadding());
        const int width = metrics.TextWidth(dc.get(), caption);
        expectScaled(width, baseWidth);
        EXPECT_GT(metrics.RowHeight(), lastHeight);
        lastHeight = metrics.RowHeight();
        // The letter widths added up are the system's measure in this DPI's font.
        HGDIOBJ old = SelectObject(dc.get(), metrics.Font());
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
        SelectObject(dc.get(), old);
        EXPECT_EQ(width, size.cx);
    }
}
