// Trees of menu windows: hiding branches, handing the focus back, freeing
// every shell item once, and hovers that were armed before a hide.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "folder_test_support.h"

using folder::TFolderForm;
using folder::TShellObject;
using namespace folder_test;

namespace {

class FolderTree : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = MakeRootForm();
        child_ = MakeChildForm(*root_);
        grandchild_ = MakeChildForm(*child_);
        AddEntry(*root_, L"file", nullptr);
        AddEntry(*root_, L"child", nullptr, child_);
        AddEntry(*child_, L"grandchild", nullptr, grandchild_);
        AddEntry(*grandchild_, L"leaf", nullptr);
    }
    void TearDown() override {
        root_.reset();
        Base().Root = nullptr;
        // Nothing the windows did may have ended in an error report.
        EXPECT_TRUE(ReportedErrors().empty());
        ReportedErrors().clear();
    }
    void ShowAll() {
        root_->Show();
        child_->Show();
        grandchild_->Show();
        ASSERT_TRUE(root_->Visible() && child_->Visible() && grandchild_->Visible());
    }

    std::unique_ptr<TFolderForm> root_;
    TFolderForm* child_ = nullptr;
    TFolderForm* grandchild_ = nullptr;
};

// Builds entries for every item of ns's folder the way population does: an
// object per entry, a hidden child window for a folder (down to `depth`
// levels), the placeholder for a folder without items.
void Populate(TFolderForm& form, TShellObject& ns, int depth, std::vector<LPITEMIDLIST>& lists) {
    form.Namespace = &ns;
    for (auto& list : Enumerate(ns.Current.Get())) {
        const std::wstring name = NameIn(ns.Current.Get(), list.get());
        auto object = std::make_unique<TShellObject>(&ns, std::move(list));
        lists.push_back(object->RelID.get());
        lists.push_back(object->AbsID.get());
        TFolderForm* child = nullptr;
        if (object->Current && depth > 1) {
            child = MakeChildForm(form);
            Populate(*child, *object, depth - 1, lists);
        }
        AddEntry(form, name, std::move(object), child);
    }
    if (form.FileList.Count() == 0) AddEntry(form, L"(なし)", nullptr);
}

LRESULT CALLBACK CountHovers(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR counter) {
    if (msg == WM_MOUSEHOVER) ++*reinterpret_cast<int*>(counter);
    return DefSubclassProc(wnd, msg, wp, lp);
}

}  // namespace

TEST_F(FolderTree, HidingAWindowHidesItsOpenDescendants) {
    ShowAll();
    root_->Hide();
    EXPECT_FALSE(root_->Visible());
    EXPECT_FALSE(child_->Visible());
    EXPECT_FALSE(grandchild_->Visible());

    root_->Show();
    EXPECT_TRUE(root_->Visible());
    EXPECT_FALSE(child_->Visible());
    EXPECT_FALSE(grandchild_->Visible());
    // Closed windows keep their entries for the next show.
    EXPECT_EQ(child_->FileView->Count(), 1);
    EXPECT_EQ(grandchild_->FileList.Count(), 1);

    // Hiding the middle of a branch leaves the windows above it open.
    child_->Show();
    grandchild_->Show();
    child_->Hide();
    EXPECT_TRUE(root_->Visible());
    EXPECT_FALSE(child_->Visible());
    EXPECT_FALSE(grandchild_->Visible());
}

TEST_F(FolderTree, HidingAChildHandsTheFocusToItsParent) {
    ShowAll();
    grandchild_->Hide();
    child_->SetFocus();
    // Focus follows activation, which the window manager grants in its own time.
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == child_->FileView->Handle(); }, 10000))
        << "the child's list never got the focus";
    child_->Hide();
    EXPECT_EQ(GetFocus(), root_->FileView->Handle());

    // The root hands nothing to the base window: focus stays where it is.
    Base().Show();
    ui::TForm other(nullptr);
    other.Caption = L"other";
    other.Show();
    SetFocus(other.Handle());
    ASSERT_EQ(GetFocus(), other.Handle());
    root_->Hide();
    EXPECT_EQ(GetFocus(), other.Handle());
    Base().Hide();
}

TEST(FolderTreeLifetime, DestroyingTheRootFreesEveryShellItemOnce) {
    shell_test::MallocSpyScope scope;
    const long objects = TShellObject::LiveCount();
    const long forms = TFolderForm::LiveCount();
    std::vector<LPITEMIDLIST> lists;
    auto root = MakeRootForm();
    auto ns = RootObject(Tree().root());
    lists.push_back(ns->RelID.get());
    lists.push_back(ns->AbsID.get());
    Populate(*root, *ns, 4, lists);

    // a\, empty\, a\sub\ and a\sub\deep\ open as windows; "empty" holds the
    // placeholder.
    EXPECT_EQ(TFolderForm::LiveCount(), forms + 5);
    EXPECT_EQ(TShellObject::LiveCount(), objects + 10);
    TFolderForm* empty = nullptr;
    for (int i = 0; i < root->FileView->Count(); ++i)
        if (root->FileView->Items(i) == L"empty") empty = root->Entries().Child(i);
    ASSERT_NE(empty, nullptr);
    ASSERT_EQ(empty->FileList.Count(), 1);
    EXPECT_EQ(empty->FileList.Item(0).Tag, nullptr);

    root.reset();
    Base().Root = nullptr;
    ns.reset();
    EXPECT_EQ(TFolderForm::LiveCount(), forms);
    EXPECT_EQ(TShellObject::LiveCount(), objects);
    if (scope.registered()) {
        for (LPITEMIDLIST list : lists) EXPECT_FALSE(scope.spy().outstanding.count(list));
    }
}

TEST(FolderTreeLifetime, NoWindowFreesTheNamespaceItWasLent) {
    auto ns = RootObject(Tree().Path(L"a"));
    const long objects = TShellObject::LiveCount();
    {
        auto notRoot = std::make_unique<TFolderForm>(&Base());
        notRoot->CreateHandle();
        notRoot->Namespace = ns.get();
    }
    EXPECT_EQ(TShellObject::LiveCount(), objects);
    {
        auto root = MakeRootForm();
        root->Namespace = ns.get();
    }
    Base().Root = nullptr;
    EXPECT_EQ(TShellObject::LiveCount(), objects);
}

TEST_F(FolderTree, HoverArmedBeforeAHideNeverArrives) {
    for (int i = 0; i < 5; ++i) AddEntry(*root_, L"more " + std::to_wstring(i), nullptr);
    // Only the hover armed here may reach the window.
    root_->FileView->OnMouseMove.Clear();
    // The window opens at the pointer: keep it clear of the screen's edges,
    // where the window manager would move it.
    SetCursorPos(100, 100);
    root_->Show();
    PumpFor(100);
    const RECT bounds = root_->BoundsRect();
    RECT list{};
    GetWindowRect(root_->FileView->Handle(), &list);
    const POINT rest{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
    SetCursorPos(rest.x, rest.y);
    ASSERT_TRUE(PumpUntil([&] { return WindowFromPoint(rest) == root_->FileView->Handle(); }, 10000))
        << "the pointer never came over the list";

    DWORD delay = 0;
    SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
    const DWORD wait = 2 * delay + 300;
    int hovers = 0;
    ASSERT_TRUE(SetWindowSubclass(root_->Handle(), CountHovers, 1, reinterpret_cast<DWORD_PTR>(&hovers)));
    struct Unsubclass {
        HWND wnd;
        ~Unsubclass() { RemoveWindowSubclass(wnd, CountHovers, 1); }
    } unsubclass{root_->Handle()};
    // Shown again in place, without the show handler placing it anew: the
    // window must not pass away from under the pointer while the hover waits.
    auto reshow = [&] {
        ShowWindow(root_->Handle(), SW_SHOW);
        EXPECT_EQ(root_->BoundsRect().left, bounds.left);
        EXPECT_EQ(root_->BoundsRect().top, bounds.top);
    };

    // Left alone, an armed hover does reach the window through its list.
    root_->TrackHover(TME_HOVER);
    PumpFor(wait);
    ASSERT_EQ(hovers, 1) << "no hover notifications on this display";

    // Nor does the system drop it when the window merely hides and shows.
    hovers = 0;
    root_->TrackHover(TME_HOVER);
    ShowWindow(root_->Handle(), SW_HIDE);
    reshow();
    PumpFor(wait);
    ASSERT_EQ(hovers, 1) << "the system cancels hovers on a hide by itself";

    // The window's own hide does.
    hovers = 0;
    root_->TrackHover(TME_HOVER);
    root_->Hide();
    reshow();
    PumpFor(wait);
    EXPECT_EQ(hovers, 0);
}
