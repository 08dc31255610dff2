// A menu window told that its DPI has changed (WM_DPICHANGED, as the system
// sends it when a monitor's scale changes or the window lands on a monitor of
// another scale): its rows are measured at the new DPI, the window is sized
// to them, and it still hangs on its anchor. Wine gives every monitor the
// one system DPI, so the tests send the message themselves.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "folder_test_support.h"
#include "ui/handles.h"
#include "ui/menu.h"
#include "ui/menu_metrics.h"

using folder::TFolderForm;
using namespace folder_test;

namespace {

constexpr std::int32_t kEverything = 0x20 | 0x40 | 0x80 | 0x1000;

class MenuDpi : public ::testing::Test {
protected:
    void TearDown() override {
        forms_.clear();
        Base().Root = nullptr;
        EXPECT_TRUE(ReportedErrors().empty());
        ReportedErrors().clear();
    }

    TFolderForm& ShowRoot(const std::wstring& path, POINT pointer) {
        SetCursorPos(pointer.x, pointer.y);
        forms_.push_back(MakeRootForm());
        TFolderForm& form = *forms_.back();
        namespaces_.push_back(RootObject(path));
        form.Namespace = namespaces_.back().get();
        form.EnumFlags = kEverything;
        form.FileMask = L"*";
        form.Show();
        return form;
    }

    std::vector<std::unique_ptr<folder::TShellObject>> namespaces_;  // outlive the forms listing them
    std::vector<std::unique_ptr<TFolderForm>> forms_;
};

// A small folder: a sub-folder to open and captions of different widths.
shell_test::TempTree& SmallTree(shell_test::TempTree& tree) {
    tree.AddFolder(L"sub");
    tree.AddFile(L"sub\\inner.txt");
    tree.AddFile(L"alpha.txt");
    tree.AddFile(L"a caption wider than the other ones.txt");
    return tree;
}

// The message as the system sends it, with the rectangle it suggests: the
// window scaled about its top-left corner. Moved a little, so that a window
// that took the suggestion would show it.
void SendDpiChanged(TFolderForm& form, UINT from, UINT to) {
    const RECT r = form.BoundsRect();
    auto scaled = [&](LONG length) { return MulDiv(length, static_cast<int>(to), static_cast<int>(from)); };
    RECT suggested{r.left + 40, r.top + 30, 0, 0};
    suggested.right = suggested.left + scaled(r.right - r.left);
    suggested.bottom = suggested.top + scaled(r.bottom - r.top);
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
}

// The rows measured at dpi as the test measures them: the client size they
// need (the widest row and one row height for the arrow, every row) and
// that the list, its rows and the scroll buttons are one row height.
void ExpectMeasuredAt(const TFolderForm& form, UINT dpi, bool everyRowFits = true) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    const ui::TMenuMetrics& metrics = form.FileList.Metrics(dpi);
    const int h = metrics.RowHeight();
    EXPECT_EQ(form.FileView->ItemHeight(), h);
    const RECT row = form.FileView->ItemRect(0);
    EXPECT_EQ(row.bottom - row.top, h);
    EXPECT_EQ(form.UpButton->Height(), h);
    EXPECT_EQ(form.DownButton->Height(), h);
    ui::WindowDC dc(nullptr);
    int widest = 0;
    for (const auto& item : form.FileList.Items()) {
        int w = 0, unused = 0;
        item->MeasureItem(dc.get(), metrics, w, unused);
        widest = std::max(widest, w);
    }
    EXPECT_EQ(form.ClientSize().cx, widest + h);
    if (everyRowFits) {
        EXPECT_EQ(form.ClientSize().cy, form.FileList.Count() * h);
    }
}

// Where a child hangs: its client level with its row, its left edge on the
// parent list's right edge.
POINT RowAnchor(const TFolderForm& parent, int row) {
    const RECT r = parent.FileView->ItemRect(row);
    POINT at{r.right, r.top};
    ClientToScreen(parent.FileView->Handle(), &at);
    return at;
}

int RowNamed(const TFolderForm& form, const std::wstring& caption) {
    for (int i = 0; i < form.FileList.Count(); ++i)
        if (form.FileList.Item(i).Caption == caption) return i;
    ADD_FAILURE() << "no row " << testing::PrintToString(caption);
    return 0;
}

}  // namespace

TEST_F(MenuDpi, RowsAreMeasuredAgainAndTheWindowKeepsItsTopLeftCorner) {
    shell_test::TempTree tree;
    TFolderForm& root = ShowRoot(SmallTree(tree).root(), POINT{200, 150});
    const RECT first = root.BoundsRect();
    EXPECT_EQ(first.left, 200);
    EXPECT_EQ(first.top, 150);
    ExpectMeasuredAt(root, 96);
    const int sub = RowNamed(root, L"sub");
    root.FileView->SetItemIndex(sub);
    TFolderForm* child = root.OpenSubMenu();
    ASSERT_NE(child, nullptr);

    UINT from = 96;
    for (UINT dpi : {144u, 192u, 120u}) {
        SCOPED_TRACE(dpi);
        SendDpiChanged(root, from, dpi);
        from = dpi;
        ExpectMeasuredAt(root, dpi);
        EXPECT_EQ(root.BoundsRect().left, 200);
        EXPECT_EQ(root.BoundsRect().top, 150);
        // The open child follows its row, which has moved; it keeps its own DPI.
        const POINT anchor = RowAnchor(root, sub);
        EXPECT_EQ(child->BoundsRect().left, anchor.x);
        EXPECT_EQ(child->BoundsRect().top, anchor.y - child->FrameWidth());
        ExpectMeasuredAt(*child, 96);
    }
    SendDpiChanged(*child, 96, 120);
    ExpectMeasuredAt(*child, 120);
    const POINT anchor = RowAnchor(root, sub);
    EXPECT_EQ(child->BoundsRect().left, anchor.x);
    EXPECT_EQ(child->BoundsRect().top, anchor.y - child->FrameWidth());

    // Back at 96 DPI the window is exactly what its show made it.
    SendDpiChanged(root, 120, 96);
    ExpectMeasuredAt(root, 96);
    const RECT last = root.BoundsRect();
    EXPECT_TRUE(EqualRect(&first, &last));
    // A message for the DPI the rows already have (the system's, when the
    // show itself moved the window onto the monitor it measured for)
    // changes nothing, whatever it suggests.
    SendDpiChanged(root, 48, 96);
    const RECT unchanged = root.BoundsRect();
    EXPECT_TRUE(EqualRect(&first, &unchanged));
}

TEST_F(MenuDpi, WindowsThatOpenedLeftwardsKeepTheirRightEdge) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    shell_test::TempTree tree;
    SmallTree(tree);
    // The sizes at 96 DPI, from windows at a quiet spot.
    TFolderForm& probe = ShowRoot(tree.root(), POINT{100, 100});
    probe.FileView->SetItemIndex(RowNamed(probe, L"sub"));
    TFolderForm* probeChild = probe.OpenSubMenu();
    ASSERT_NE(probeChild, nullptr);
    const int rootWidth = probe.BoundsRect().right - probe.BoundsRect().left;
    const int childWidth = probeChild->BoundsRect().right - probeChild->BoundsRect().left;
    probe.Hide();

    // A child with no room right of its parent opens left of it, and stays
    // there at a DPI at which it would fit on the right.
    TFolderForm& root = ShowRoot(tree.root(), POINT{work.right - rootWidth - childWidth * 3 / 4, 150});
    root.FileView->SetItemIndex(RowNamed(root, L"sub"));
    TFolderForm* child = root.OpenSubMenu();
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(child->BoundsRect().right, root.BoundsRect().left);
    SendDpiChanged(*child, 96, 48);
    ExpectMeasuredAt(*child, 48);
    EXPECT_EQ(child->BoundsRect().right, root.BoundsRect().left);

    // A root flipped onto the pointer keeps its right edge there.
    const POINT pointer{work.right - 20, 150};
    TFolderForm& edge = ShowRoot(tree.root(), pointer);
    ASSERT_EQ(edge.BoundsRect().right, pointer.x);
    SendDpiChanged(edge, 96, 144);
    ExpectMeasuredAt(edge, 144);
    EXPECT_EQ(edge.BoundsRect().right, pointer.x);
    EXPECT_EQ(edge.BoundsRect().top, pointer.y);
}

// Captions still coming in when the DPI changes are measured at the new
// one: the window ends as wide as the widest caption needs at that DPI.
TEST_F(MenuDpi, CaptionsStillToComeAreMeasuredAtTheNewDpi) {
    shell_test::TempTree tree;
    for (int i = 0; i < 1000; ++i) tree.AddFile(L"file " + std::to_wstring(i) + L".txt");
    // Last in the order, so not among the rows captioned for the show.
    for (int i = 0; i < 20; ++i) tree.AddFile(L"zz a caption wider than the others, " + std::to_wstring(i) + L".txt");
    TFolderForm& root = ShowRoot(tree.root(), POINT{100, 100});
    SendDpiChanged(root, 96, 144);
    ASSERT_TRUE(PumpUntil([&] { return GetPropW(root.Handle(), L"QuinceListed") != nullptr; }, 20000));
    ExpectMeasuredAt(root, 144, false);
}
