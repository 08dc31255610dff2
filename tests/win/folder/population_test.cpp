// Filling a menu window from real folders on its first show: what is listed,
// in which order, how it is named, and what a show leaves behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "folder_test_support.h"
#include "shell/path_resolver.h"
#include "shell/shell_utils.h"
#include "sys/worker_thread.h"
#include "ui/handles.h"
#include "ui/menu.h"
#include "ui/menu_metrics.h"

using folder::TFolderForm;
using namespace folder_test;

namespace {

constexpr std::int32_t kEverything = 0x20 | 0x40 | 0x80 | 0x1000;
constexpr std::int32_t kFoldersOnly = 0x20 | 0x1000;
const std::wstring kNothing = L"(\u306A\u3057)";

class Population : public ::testing::Test {
protected:
    void TearDown() override {
        forms_.clear();
        Base().Root = nullptr;
        ReportedErrors().clear();
    }

    // A root menu window on path, shown once at a quiet spot of the screen.
    TFolderForm& Show(const std::wstring& path, const std::wstring& mask = L"**", std::int32_t flags = kEverything) {
        SetCursorPos(100, 100);
        forms_.push_back(MakeRootForm());
        TFolderForm& form = *forms_.back();
        namespaces_.push_back(RootObject(path));
        form.Namespace = namespaces_.back().get();
        form.EnumFlags = flags;
        form.FileMask = mask;
        form.Show();
        return form;
    }
    static std::vector<std::wstring> Captions(const TFolderForm& form) {
        std::vector<std::wstring> captions;
        for (const auto& item : form.FileList.Items()) captions.push_back(item->Caption);
        return captions;
    }
    static int Folders(TFolderForm& form) {
        int n = 0;
        for (int i = 0; i < form.FileList.Count(); ++i) n += form.Entries().OpensSubMenu(i) ? 1 : 0;
        return n;
    }

    std::vector<std::unique_ptr<folder::TShellObject>> namespaces_;  // outlive the forms listing them
    std::vector<std::unique_ptr<TFolderForm>> forms_;
};

// The order the folder itself gives its items (its first column).
std::vector<std::wstring> ShellOrder(const std::wstring& path) {
    auto root = RootObject(path);
    IShellFolder* folder = root->Current.Get();
    auto lists = Enumerate(folder);
    std::stable_sort(lists.begin(), lists.end(), [folder](const shell::UniquePidl& a, const shell::UniquePidl& b) {
        return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a.get(), b.get()))) < 0;
    });
    std::vector<std::wstring> names;
    for (auto& list : lists) names.push_back(shell::GetInFolderName(folder, list.get()));
    return names;
}

}  // namespace

TEST_F(Population, ListsTheFolderInTheShellsOrderWithEntriesThatWork) {
    shell_test::TempTree tree;
    for (const wchar_t* name : {L"zeta.txt", L"Alpha.txt", L"beta.cmd", L"10.txt", L"9.txt"}) tree.AddFile(name);
    tree.AddFolder(L"middle");
    tree.AddFolder(L"Zoo");
    TFolderForm& form = Show(tree.root());

    EXPECT_EQ(Captions(form), ShellOrder(tree.root()));
    ASSERT_EQ(form.FileList.Count(), 7);
    ASSERT_EQ(form.FileView->Count(), 7);
    EXPECT_EQ(Folders(form), 2);
    for (int i = 0; i < form.FileList.Count(); ++i) {
        const ui::TMenuItem& item = form.FileList.Item(i);
        SCOPED_TRACE(item.Caption);
        EXPECT_EQ(form.FileView->Items(i), item.Caption);  // row and menu item are one entry
        EXPECT_TRUE(item.Enabled);
        // The row's shell object is made when first asked for (drawing the
        // row asks, for its icon), once.
        folder::TShellObject* object = form.Entries().Object(i, form.Namespace);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(form.Entries().Object(i, form.Namespace), object);
        EXPECT_EQ(item.Tag, object);
        EXPECT_EQ(shell::GetInFolderName(object->Parent.Get(), object->RelID), item.Caption);
        EXPECT_EQ(item.ImageIndex, -1);
    }
    // Every row is one row height, the window as wide as the widest entry
    // plus one row height, and no row selected.
    const int h = form.FileView->ItemHeight();
    EXPECT_GE(h, 16);
    for (int i = 0; i < 7; ++i) {
        const RECT r = form.FileView->ItemRect(i);
        EXPECT_EQ(r.bottom - r.top, h);
    }
    EXPECT_EQ(form.ClientSize().cy, 7 * h);
    EXPECT_FALSE(form.UpButton->Visible());
    EXPECT_FALSE(form.DownButton->Visible());
    EXPECT_EQ(form.FileView->ItemIndex(), -1);
    EXPECT_GT(form.ClientSize().cx, h + 40);
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(ReportedErrors().empty());
}

TEST_F(Population, EmptyOrFullyFilteredFolderShowsOneDisabledPlaceholder) {
    for (auto [path, mask] : {std::pair{Tree().Path(L"empty"), std::wstring(L"**")},
                              std::pair{Tree().root(), std::wstring(L"*.none")}}) {
        shell_test::TempTree only;
        only.AddFile(L"x.txt");
        const std::wstring where = mask == L"**" ? path : only.root();
        SCOPED_TRACE(where);
        TFolderForm& form = Show(where, mask);
        ASSERT_EQ(Captions(form), std::vector<std::wstring>{kNothing});
        EXPECT_FALSE(form.FileList.Item(0).Enabled);
        EXPECT_EQ(form.FileList.Item(0).Tag, nullptr);
        EXPECT_FALSE(form.Entries().OpensSubMenu(0));
        EXPECT_EQ(form.ChildForm(0), nullptr);
        // A click on it does nothing (its item is disabled and has no handler).
        form.FileList.Item(0).Click();
        EXPECT_TRUE(ReportedErrors().empty());
    }
}

TEST_F(Population, MaskFiltersFileNamesFlagsChooseKinds) {
    shell_test::TempTree tree;
    for (const wchar_t* name : {L"b1.txt", L"b2.log", L"a.txt", L"abc.TXT"}) tree.AddFile(name);
    tree.AddFolder(L"apples");
    tree.AddFolder(L"zz.txt.d");
    auto sorted = [](std::vector<std::wstring> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    // Sub-folders are listed whatever their names; files when their own
    // name matches (case folded for ASCII letters).
    EXPECT_EQ(sorted(Captions(Show(tree.root(), L"*.txt"))),
              (std::vector<std::wstring>{L"a.txt", L"abc.TXT", L"apples", L"b1.txt", L"zz.txt.d"}));
    // The mask is for the name, not the full path (which begins with a drive).
    EXPECT_EQ(sorted(Captions(Show(tree.root(), L"b*"))),
              (std::vector<std::wstring>{L"apples", L"b1.txt", L"b2.log", L"zz.txt.d"}));
    TFolderForm& folders = Show(tree.root(), L"**", kFoldersOnly);
    EXPECT_EQ(sorted(Captions(folders)), (std::vector<std::wstring>{L"apples", L"zz.txt.d"}));
    EXPECT_EQ(Folders(folders), 2);
    EXPECT_TRUE(ReportedErrors().empty());
}

TEST_F(Population, NamesAreShownUnchanged) {
    shell_test::TempTree tree;
    // Ampersands alone and in runs, blanks before and inside, Japanese, a
    // surrogate pair, right-to-left text, stacked combining marks, names
    // that look like masks, and the longest name a folder can hold.
    const std::vector<std::wstring> names = {L"Salt & Pepper.txt", L"&&double.txt", L"  blanks  .txt",
                                             L"\u65E5\u672C\u8A9E.txt", L"\U0001F600 smile.txt",
                                             L"\u05E9\u05DC\u05D5\u05DD.txt", L"&", L"&&&", L" lead",
                                             L"e\u0301\u0302\u0323 marks.txt", L"[a].txt", L"[!x]-{y}.txt",
                                             std::wstring(251, L'n') + L".txt"};
    for (const auto& name : names) tree.AddFile(name);
    TFolderForm& form = Show(tree.root());
    ASSERT_EQ(form.FileList.Count(), static_cast<int>(names.size()));
    for (int i = 0; i < form.FileList.Count(); ++i) {
        folder::TShellObject* object = form.Entries().Object(i, form.Namespace);
        ASSERT_NE(object, nullptr);
        std::wstring shown = form.FileList.Item(i).Caption;
        // Every "&" doubled, so the menu drawing shows it instead of
        // underlining the next letter; nothing else changes.
        std::wstring expected;
        for (wchar_t c : shell::GetInFolderName(object->Parent.Get(), object->RelID)) {
            expected += c;
            if (c == L'&') expected += L'&';
        }
        EXPECT_EQ(shown, expected);
        EXPECT_NE(std::find(names.begin(), names.end(), shell::GetInFolderName(object->Parent.Get(), object->RelID)),
                  names.end());
    }
    EXPECT_NE(std::find(Captions(form).begin(), Captions(form).end(), L"Salt && Pepper.txt"), Captions(form).end());
}

TEST_F(Population, ErrorsAreReportedAndTheNextShowTriesAgain) {
    shell_test::TempTree tree;
    tree.AddFile(L"x.txt");
    tree.AddFolder(L"d");
    TFolderForm& form = Show(tree.root(), L"[abc");
    // The malformed mask stops the listing at the first file: reported, the
    // window still visible, empty.
    ASSERT_EQ(ReportedErrors().size(), 1u);
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.FileList.Count(), 0);
    form.Hide();
    ReportedErrors().clear();
    form.FileMask = L"*";
    form.Show();
    EXPECT_EQ(form.FileList.Count(), 2);
    EXPECT_TRUE(ReportedErrors().empty());
}

TEST_F(Population, SubFolderThatVanishedBeforeItsFirstShowIsHarmless) {
    shell_test::TempTree tree;
    tree.AddFolder(L"gone");
    tree.AddFile(L"gone\\inside.txt");
    TFolderForm& form = Show(tree.root());
    ASSERT_TRUE(form.Entries().OpensSubMenu(0));
    DeleteFileW(tree.Path(L"gone\\inside.txt").c_str());
    ASSERT_TRUE(RemoveDirectoryW(tree.Path(L"gone").c_str()));
    form.FileView->SetItemIndex(0);
    TFolderForm* child = form.ChildForm(0);
    ASSERT_NE(child, nullptr);
    child->Show();
    EXPECT_TRUE(child->Visible());
    // Either the folder's own error or the placeholder; never a crash.
    EXPECT_TRUE(!ReportedErrors().empty() || Captions(*child) == std::vector<std::wstring>{kNothing});
}

TEST_F(Population, ChildWindowsAreMadeOnlyWhenNeeded) {
    shell_test::TempTree tree;
    for (int i = 0; i < 3000; ++i) tree.AddFolder(L"f" + std::to_wstring(i));
    const long formsBefore = TFolderForm::LiveCount();
    TFolderForm& form = Show(tree.root(), L"**", kFoldersOnly);
    ASSERT_EQ(form.FileList.Count(), 3000);
    EXPECT_EQ(Folders(form), 3000);
    // Names asked on other threads land on their own rows.
    for (ULONGLONG end = GetTickCount64() + 20000; !GetPropW(form.Handle(), L"QuinceListed") && GetTickCount64() < end;)
        PumpFor(20);
    EXPECT_EQ(Captions(form), ShellOrder(tree.root()));
    // One window for the folder, none per sub-folder.
    EXPECT_EQ(TFolderForm::LiveCount(), formsBefore + 1);
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; },
                      reinterpret_cast<LPARAM>(&windows));
    EXPECT_LT(windows, 20);

    // The first one asked for is made once, set up like its parent, and
    // lists its own folder when it is shown.
    tree.AddFile(L"f1\\in.txt");
    form.FileView->SetItemIndex(1);
    TFolderForm* child = form.ChildForm(1);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(form.ChildForm(1), child);
    EXPECT_EQ(child->Owner(), &form);
    EXPECT_EQ(child->Namespace, form.FileList.Item(1).Tag);
    EXPECT_EQ(child->EnumFlags, form.EnumFlags);
    EXPECT_EQ(child->FileMask, form.FileMask);
    EXPECT_EQ(child->FileList.Count(), 0);
    EXPECT_EQ(TFolderForm::LiveCount(), formsBefore + 2);
    form.CloseSubMenus();  // closes only what exists
}

// A big folder's window shows before its last name is in: a row read
// meanwhile has its final caption, the rest come in while messages are
// handled, the window says when every caption is final, and it ends as
// wide as its widest caption needs.
TEST_F(Population, BigFolderTakesItsLastNamesWhileItIsUp) {
    shell_test::TempTree tree;
    for (int i = 0; i < 4000; ++i) tree.AddFile(L"file " + std::to_wstring(i) + L".txt");
    tree.AddFile(L"the one caption that is wider than all the others.txt");
    const std::vector<std::wstring> expected = ShellOrder(tree.root());
    TFolderForm& form = Show(tree.root());
    ASSERT_EQ(form.FileList.Count(), 4001);
    ASSERT_EQ(form.FileView->Count(), 4001);
    // Asked for before the names timer has run: given at once.
    EXPECT_EQ(form.FileView->Items(4000), expected[4000]);
    EXPECT_EQ(form.FileView->Items(2000), expected[2000]);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(form.FileList.Item(i).Caption, expected[static_cast<size_t>(i)]);

    for (ULONGLONG end = GetTickCount64() + 20000; !GetPropW(form.Handle(), L"QuinceListed") && GetTickCount64() < end;)
        PumpFor(20);
    ASSERT_NE(GetPropW(form.Handle(), L"QuinceListed"), nullptr);
    EXPECT_EQ(Captions(form), expected);
    // As wide as the widest caption and the arrow column need, never less.
    ui::WindowDC dc(form.FileView->Handle());
    int widest = 0, height = 0;
    for (const auto& item : form.FileList.Items()) {
        int w = 0;
        item->MeasureItem(dc.get(), form.FileList.Metrics(96), w, height);
        widest = std::max(widest, w);
    }
    EXPECT_EQ(form.ClientSize().cx, widest + form.FileView->ItemHeight());
}

// The root is listed on the thread that found its path: its window shows the
// rows a listing of its own would give, in the same order and with the same
// entries, and names what that thread's helpers left. What that listing
// raised is reported by the show, and the next show lists here.
TEST_F(Population, AListingMadeOnAnotherThreadGivesTheSameRows) {
    shell_test::TempTree tree;
    for (int i = 0; i < 300; ++i) tree.AddFile(L"file " + std::to_wstring(i) + L".txt");
    tree.AddFolder(L"sub");
    const std::vector<std::wstring> expected = ShellOrder(tree.root());

    auto listedAhead = [&](const std::wstring& mask) {
        shell::TListRequest request;
        request.flags = kEverything;
        request.mask = mask;
        auto resolver = std::make_shared<shell::TPathResolver>(tree.root(), &shell::ParseFromDesktop, request);
        EXPECT_EQ(sys::WaitAnsweringSentMessages(resolver->Finished(), 20000), WAIT_OBJECT_0);
        resolver->Take();
        EXPECT_TRUE(resolver->Listed());
        return resolver;
    };
    SetCursorPos(100, 100);
    forms_.push_back(MakeRootForm());
    TFolderForm& form = *forms_.back();
    namespaces_.push_back(RootObject(tree.root()));
    form.Namespace = namespaces_.back().get();
    form.EnumFlags = kEverything;
    form.FileMask = L"**";
    form.ListedAhead = [resolver = listedAhead(L"**")] { return resolver->TakeListing(); };
    form.Show();
    EXPECT_FALSE(form.ListedAhead) << "taken by the first show";
    ASSERT_EQ(form.FileList.Count(), 301);
    ASSERT_TRUE(PumpUntil([&] { return GetPropW(form.Handle(), L"QuinceListed") != nullptr; }, 20000));
    EXPECT_EQ(Captions(form), expected);
    EXPECT_EQ(Folders(form), 1);
    folder::TShellObject* object = form.Entries().Object(150, form.Namespace);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(shell::GetInFolderName(object->Parent.Get(), object->RelID), expected[150]);
    EXPECT_TRUE(ReportedErrors().empty());

    forms_.push_back(MakeRootForm());
    TFolderForm& failed = *forms_.back();
    failed.Namespace = form.Namespace;
    failed.EnumFlags = kEverything;
    failed.FileMask = L"**";
    failed.ListedAhead = [resolver = listedAhead(L"[abc")] { return resolver->TakeListing(); };
    failed.Show();
    ASSERT_EQ(ReportedErrors().size(), 1u) << "the bad mask, raised on the other thread";
    EXPECT_EQ(failed.FileList.Count(), 0);
    failed.Hide();
    ReportedErrors().clear();
    failed.Show();
    EXPECT_EQ(failed.FileList.Count(), 301) << "listed here the second time";
}
