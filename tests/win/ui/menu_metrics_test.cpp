// Popup-menu rows are measured as they are drawn.
#include <gtest/gtest.h>

#include <windows.h>

#include "ui/handles.h"
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
