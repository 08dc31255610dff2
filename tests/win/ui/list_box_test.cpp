// The owner-drawn list box: rows with objects, reflected measure and draw
// requests, and the form's first say on wheel turns.
#include <memory>

#include <gtest/gtest.h>

#include "ui/list_box.h"
#include "ui_test_support.h"

namespace ui_test {
namespace {

constexpr int kListId = 100;

struct Row : ui::TObject {};

struct ListScript : ui::TObject {
    struct Drawn {
        int index;
        RECT rect;
        UINT state;
        HDC canvas;
    };
    ui::TListBox* list = nullptr;
    std::vector<Drawn> drawn;
    bool throwOnDraw = false;
    void DrawItem(ui::TObject*, int index, RECT rect, ui::TOwnerDrawState state) {
        drawn.push_back({index, rect, state, list->Canvas()});
        if (throwOnDraw) throw core::Error(L"行を描けません");
    }
    void MeasureItem(ui::TObject*, int index, int& height) { height = 18 + index; }
};

class ListBoxTest : public testing::Test {
protected:
    void SetUp() override {
        Reports().clear();
        form.BorderStyle = ui::TBorderStyle::None;
        form.DesignLeft = 100;
        form.DesignTop = 100;
        form.DesignClientWidth = 200;
        form.DesignClientHeight = 120;
        form.components = [this](TestForm& f) {
            list = std::make_unique<ui::TListBox>(f, kListId);
            list->SetAlign(ui::TAlign::Client);
        };
        form.CreateHandle();
        script.list = list.get();
        list->OnDrawItem = {&script, &ListScript::DrawItem};
        rec.Bind(form);
    }
    DRAWITEMSTRUCT DrawRequest(int index, UINT state, HDC dc) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTBOX;
        dis.CtlID = kListId;
        dis.itemID = static_cast<UINT>(index);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = list->Handle();
        dis.hDC = dc;
        dis.rcItem = RECT{0, 0, 200, 16};
        return dis;
    }

    // Handlers outlive the form and the form outlives its list.
    std::vector<std::string> log;
    Recorder rec{"f", log};
    ListScript script;
    TestForm form;
    std::unique_ptr<ui::TListBox> list;
};

TEST_F(ListBoxTest, RowsKeepTextsAndObjects) {
    Row a, b;
    EXPECT_EQ(list->AddItem(L"ドキュメント", &a), 0);
    EXPECT_EQ(list->AddItem(L"b&c.txt", &b), 1);
    EXPECT_EQ(list->AddItem(L"(なし)", nullptr), 2);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Items(0), L"ドキュメント");
    EXPECT_EQ(list->Items(1), L"b&c.txt");
    EXPECT_EQ(list->Objects(0), &a);
    EXPECT_EQ(list->Objects(1), &b);
    EXPECT_EQ(list->Objects(2), nullptr);
    EXPECT_EQ(list->Objects(3), nullptr);
    EXPECT_EQ(list->Items(3), L"");
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
}

TEST_F(ListBoxTest, MeasureRequestsReachHandlerAndSetRowHeights) {
    for (int i = 0; i < 3; ++i) list->AddItem(L"row", nullptr);
    RECT r0 = list->ItemRect(0);
    EXPECT_EQ(r0.bottom - r0.top, list->ItemHeight());  // no handler: the nominal height

    list->OnMeasureItem = {&script, &ListScript::MeasureItem};
    list->Clear();
    for (int i = 0; i < 3; ++i) list->AddItem(L"row", nullptr);
    for (int i = 0; i < 3; ++i) {
        RECT r = list->ItemRect(i);
        EXPECT_EQ(r.bottom - r.top, 18 + i) << "row " << i;
    }
    MEASUREITEMSTRUCT mis{ODT_LISTBOX, kListId, 5, 0, 1, 0};
    EXPECT_TRUE(SendMessageW(form.Handle(), WM_MEASUREITEM, kListId, reinterpret_cast<LPARAM>(&mis)));
    EXPECT_EQ(mis.itemHeight, 23u);
}

TEST_F(ListBoxTest, DrawRequestsReachHandlerWithRowAndState) {
    for (int i = 0; i < 3; ++i) list->AddItem(L"row", nullptr);
    ui::WindowDC dc(list->Handle());
    DRAWITEMSTRUCT dis = DrawRequest(1, ODS_SELECTED | ODS_FOCUS, dc.get());
    EXPECT_TRUE(SendMessageW(form.Handle(), WM_DRAWITEM, kListId, reinterpret_cast<LPARAM>(&dis)));
    ASSERT_EQ(script.drawn.size(), 1u);
    EXPECT_EQ(script.drawn[0].index, 1);
    EXPECT_EQ(script.drawn[0].state, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
    EXPECT_EQ(script.drawn[0].canvas, dc.get());
    EXPECT_EQ(script.drawn[0].rect.right, 200);
    EXPECT_EQ(list->Canvas(), nullptr);

    // Painting the visible list draws every row in its own rectangle.
    script.drawn.clear();
    form.Show();
    RedrawWindow(list->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_GE(script.drawn.size(), 3u);
    for (const auto& d : script.drawn) {
        RECT expected = list->ItemRect(d.index);
        EXPECT_TRUE(EqualRect(&expected, &d.rect)) << "row " << d.index;
        EXPECT_NE(d.canvas, nullptr);
    }
}

TEST_F(ListBoxTest, ErrorWhileDrawingIsReportedAndDrawingGoesOn) {
    list->AddItem(L"row", nullptr);
    script.throwOnDraw = true;
    ui::WindowDC dc(list->Handle());
    DRAWITEMSTRUCT dis = DrawRequest(0, 0, dc.get());
    SendMessageW(form.Handle(), WM_DRAWITEM, kListId, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(Reports(), (std::vector<std::wstring>{L"行を描けません"}));
    EXPECT_EQ(list->Canvas(), nullptr);  // no stale DC left behind
    script.throwOnDraw = false;
    SendMessageW(form.Handle(), WM_DRAWITEM, kListId, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(script.drawn.size(), 2u);
}

// A virtual list keeps no texts: its user answers for them, to the text
// messages (also those of other processes) and to the first-letter search.
TEST(VirtualListBox, RowsComeFromTheUserAndLettersFindThem) {
    TestForm form;
    form.BorderStyle = ui::TBorderStyle::None;
    form.DesignClientWidth = 200;
    form.DesignClientHeight = 100;
    std::unique_ptr<ui::TListBox> list;
    form.components = [&](TestForm& f) {
        list = std::make_unique<ui::TListBox>(f, kListId, ui::TListRows::Virtual);
        list->SetAlign(ui::TAlign::Client);
    };
    form.CreateHandle();
    struct Texts : ui::TObject {
        std::vector<std::wstring> rows{L"alpha", L"Beta", L"b&&c", L"\u540D\u524D", L"bravo", L"Zulu"};
        void Get(ui::TObject*, int index, std::wstring& text) { text = rows.at(static_cast<size_t>(index)); }
    } texts;
    list->OnGetText = {&texts, &Texts::Get};
    list->SetCount(100000);
    EXPECT_EQ(list->Count(), 100000);
    list->SetCount(static_cast<int>(texts.rows.size()));
    list->SetItemHeight(21);
    const RECT second = list->ItemRect(1);
    EXPECT_EQ(second.top, 21);
    EXPECT_EQ(second.bottom - second.top, 21);

    EXPECT_EQ(list->Items(3), L"\u540D\u524D");
    EXPECT_EQ(list->Items(6), L"");
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTEXTLEN, 2, 0), 4);
    wchar_t buffer[8] = {};
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_STREQ(buffer, L"b&&c");
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTEXT, 9, reinterpret_cast<LPARAM>(buffer)), LB_ERR);

    // From the selected row on, in either case, and round from the top.
    auto type = [&](wchar_t c) { SendMessageW(list->Handle(), WM_CHAR, c, 0); };
    type(L'b');
    EXPECT_EQ(list->ItemIndex(), 1);
    type(L'B');
    EXPECT_EQ(list->ItemIndex(), 2);
    type(L'b');
    EXPECT_EQ(list->ItemIndex(), 4);
    type(L'b');
    EXPECT_EQ(list->ItemIndex(), 1);
    type(L'z');
    EXPECT_EQ(list->ItemIndex(), 5);
    type(L'\u540D');
    EXPECT_EQ(list->ItemIndex(), 3);
    type(L'q');  // no row: the selection stays
    EXPECT_EQ(list->ItemIndex(), 3);
}

TEST_F(ListBoxTest, FormDecidesFirstOnWheelTurns) {
    for (int i = 0; i < 40; ++i) list->AddItem(L"row " + std::to_wstring(i), nullptr);
    ASSERT_EQ(list->TopIndex(), 0);
    rec.handleWheel = true;
    SendMessageW(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(150, 160));
    EXPECT_EQ(log.back(), "f:wheel");
    EXPECT_EQ(rec.lastDelta, -WHEEL_DELTA);
    EXPECT_EQ(rec.lastShift, static_cast<ui::TShiftState>(MK_SHIFT));
    EXPECT_EQ(rec.lastPoint.x, 150);
    EXPECT_EQ(rec.lastPoint.y, 160);
    EXPECT_EQ(list->TopIndex(), 0);

    rec.handleWheel = false;
    SendMessageW(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(150, 160));
    EXPECT_GT(list->TopIndex(), 0);  // not taken: the list scrolls as usual
}

}  // namespace
}  // namespace ui_test
