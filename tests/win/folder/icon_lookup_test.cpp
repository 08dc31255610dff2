// Icon lookups of menu rows: one lookup per entry however often the row is
// drawn, none again for an entry without an icon, the icon painted where
// the row is when it arrives, and nothing applied to a window that is gone.
// The shell's answer is replaced by a stand-in that waits for a gate, so a
// test decides when a lookup ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "folder_test_support.h"
#include "shell/shell_types.h"
#include "ui/form.h"
#include "ui/menu.h"

using folder::TFolderForm;
using folder::TIconLookups;
using namespace folder_test;

namespace {

HANDLE g_gate = nullptr;
std::atomic<int> g_calls{0};
std::atomic<int> g_answer{7};
std::atomic<bool> g_ownCopy{true};
LPCITEMIDLIST g_original = nullptr;

int GatedResolver(LPCITEMIDLIST absolute) {
    ++g_calls;
    // The lookup must read a list of its own, not the entry's.
    if (absolute == g_original) g_ownCopy = false;
    WaitForSingleObject(g_gate, 10000);
    return g_answer.load();
}

int ThrowingResolver(LPCITEMIDLIST) {
    ++g_calls;
    throw std::runtime_error("icon handler failed");
}

// Pumps until done() or about ms milliseconds.
template <typename Fn>
bool PumpUntil(Fn done, DWORD ms = 5000) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (!done()) {
        if (GetTickCount64() >= end) return false;
        PumpFor(10);
    }
    return true;
}

// Records the rows a list draws, then draws them as the window does.
struct DrawRecorder : ui::TObject {
    TFolderForm* form = nullptr;
    std::vector<std::pair<int, RECT>> draws;
    void Draw(ui::TObject* control, int index, RECT rect, ui::TOwnerDrawState state) {
        draws.emplace_back(index, rect);
        form->FileViewDrawItem(control, index, rect, state);
    }
};

class IconLookup : public ::testing::Test {
protected:
    void SetUp() override {
        g_gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        g_calls = 0;
        g_answer = 7;
        g_ownCopy = true;
        previous_ = TIconLookups::SetResolver(&GatedResolver);
        form_ = MakeRootForm();
        form_->FileView->SetItemHeight(20);
    }
    void TearDown() override {
        // Lookups still waiting end now; their answers find no window.
        SetEvent(g_gate);
        form_.reset();
        Base().Root = nullptr;
        PumpFor(50);
        TIconLookups::SetResolver(previous_);
        CloseHandle(g_gate);
        EXPECT_TRUE(ReportedErrors().empty());
        ReportedErrors().clear();
    }
    // An entry for the test tree's top.txt.
    void AddFileEntry(const std::wstring& caption) {
        auto root = RootObject(Tree().root());
        auto object = ChildNamed(*root, L"top.txt");
        ASSERT_TRUE(object);
        g_original = object->AbsID;
        AddEntry(*form_, caption, std::move(object));
    }
    ui::TMenuItem& Item(int index) { return form_->FileList.Item(index); }
    // The list draws row index (as it does on WM_PAINT), into a scratch DC.
    void DrawRow(int index) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, 200, 20);
        HGDIOBJ old = SelectObject(dc, bmp);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTBOX;
        dis.itemID = static_cast<UINT>(index);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = form_->FileView->Handle();
        dis.hDC = dc;
        dis.rcItem = RECT{0, 0, 200, 20};
        SendMessageW(dis.hwndItem, ui::kReflectBase + WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }

    folder::TIconState State(int index) { return form_->Entries().Icon(index); }

    folder::TIconResolver previous_ = nullptr;
    std::unique_ptr<TFolderForm> form_;
};

}  // namespace

TEST_F(IconLookup, ARowDrawnManyTimesBeforeItsIconArrivesStartsOneLookup) {
    AddFileEntry(L"top.txt");
    const long before = TIconLookups::Started();
    for (int i = 0; i < 10; ++i) {
        DrawRow(0);
        PumpFor(5);
    }
    ASSERT_TRUE(PumpUntil([] { return g_calls.load() >= 1; }));
    PumpFor(100);
    EXPECT_EQ(g_calls.load(), 1);
    EXPECT_EQ(TIconLookups::Started() - before, 1);
    EXPECT_EQ(State(0), folder::TIconState::Pending);
    EXPECT_TRUE(g_ownCopy.load());

    SetEvent(g_gate);
    ASSERT_TRUE(PumpUntil([&] { return Item(0).ImageIndex == 7; }));
    EXPECT_EQ(State(0), folder::TIconState::Done);
    for (int i = 0; i < 5; ++i) DrawRow(0);
    PumpFor(100);
    EXPECT_EQ(g_calls.load(), 1) << "an entry with its icon asks no more";
}

TEST_F(IconLookup, AnEntryTheShellHasNoIconForIsNotAskedAgain) {
    AddFileEntry(L"top.txt");
    AddEntry(*form_, L"(none)", nullptr);  // the placeholder: no lookup ever
    g_answer = -1;
    SetEvent(g_gate);
    DrawRow(1);
    DrawRow(0);
    ASSERT_TRUE(PumpUntil([&] { return State(0) == folder::TIconState::NoneFound; }));
    EXPECT_EQ(Item(0).ImageIndex, -1);
    for (int i = 0; i < 10; ++i) {
        DrawRow(0);
        DrawRow(1);
        PumpFor(5);
    }
    PumpFor(100);
    EXPECT_EQ(g_calls.load(), 1);
    EXPECT_EQ(State(1), folder::TIconState::None);
}

TEST_F(IconLookup, AFailingLookupShowsTheFirstIconAndIsNotRepeated) {
    TIconLookups::SetResolver(&ThrowingResolver);
    AddFileEntry(L"top.txt");
    DrawRow(0);
    ASSERT_TRUE(PumpUntil([&] { return Item(0).ImageIndex == 0; }));
    DrawRow(0);
    PumpFor(50);
    EXPECT_EQ(g_calls.load(), 1);
}

TEST_F(IconLookup, AnIconArrivingAfterAScrollIsPaintedOnlyWhereItsRowIsNow) {
    for (int i = 0; i < 5; ++i) AddEntry(*form_, L"row " + std::to_wstring(i), nullptr);
    AddFileEntry(L"top.txt");  // row 5
    for (int i = 0; i < 10; ++i) AddEntry(*form_, L"row " + std::to_wstring(i + 6), nullptr);
    DrawRecorder recorder;
    recorder.form = form_.get();
    form_->FileView->OnDrawItem = {&recorder, &DrawRecorder::Draw};
    form_->SetClientSize(200, 8 * 20);
    form_->UpButton->SetVisible(false);
    form_->DownButton->SetVisible(false);
    SetWindowPos(form_->Handle(), HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(form_->FileView->Handle());
    ASSERT_TRUE(PumpUntil([] { return g_calls.load() >= 1; }));
    const RECT before = form_->FileView->ItemRect(5);

    form_->FileView->SetTopIndex(3);
    UpdateWindow(form_->FileView->Handle());
    PumpFor(50);
    const RECT now = form_->FileView->ItemRect(5);
    ASSERT_NE(now.top, before.top);
    recorder.draws.clear();

    SetEvent(g_gate);
    ASSERT_TRUE(PumpUntil([&] { return Item(5).ImageIndex == 7; }));
    PumpFor(50);
    ASSERT_FALSE(recorder.draws.empty()) << "the row is painted again with its icon";
    for (const auto& [index, rect] : recorder.draws) {
        EXPECT_EQ(index, 5) << "only the row whose icon arrived";
        EXPECT_EQ(rect.top, now.top);
        EXPECT_EQ(rect.bottom, now.bottom);
    }
    form_->FileView->OnDrawItem = {form_.get(), &TFolderForm::FileViewDrawItem};
    ShowWindow(form_->Handle(), SW_HIDE);
}

TEST_F(IconLookup, ALookupEndingAfterItsWindowIsGoneAppliesNothing) {
    AddFileEntry(L"top.txt");
    DrawRow(0);
    ASSERT_TRUE(PumpUntil([] { return g_calls.load() >= 1; }));
    form_.reset();
    Base().Root = nullptr;
    SetEvent(g_gate);
    PumpFor(200);
    // A new window whose entry sits where the old one did gets its own lookup.
    form_ = MakeRootForm();
    AddFileEntry(L"top.txt");
    DrawRow(0);
    ASSERT_TRUE(PumpUntil([&] { return Item(0).ImageIndex == 7; }));
    EXPECT_EQ(g_calls.load(), 2);
}

// A measurement, not a check: run with --gtest_also_run_disabled_tests.
// Time from the show of a root window on the system folder until every
// visible row has its icon (or is known to have none), and lookups started.
TEST(IconLookupTiming, DISABLED_SystemFolderRootMenuFullyPainted) {
    SetCursorPos(100, 100);
    const long before = TIconLookups::Started();
    const ULONGLONG start = GetTickCount64();
    auto form = MakeRootForm();
    const auto system32 = RootObject(L"C:\\windows\\system32");
    form->Namespace = system32.get();
    form->EnumFlags = 0x20 | 0x40 | 0x80;
    form->FileMask = L"*";
    form->Show();
    UpdateWindow(form->FileView->Handle());
    const ULONGLONG shown = GetTickCount64();
    auto settled = [&] {
        const int last = std::min(form->FileView->BottomIndex(), form->FileList.Count() - 1);
        for (int i = form->FileView->TopIndex(); i <= last; ++i) {
            const auto state = form->Entries().Icon(i);
            if (state != folder::TIconState::Done && state != folder::TIconState::NoneFound) return false;
        }
        return true;
    };
    EXPECT_TRUE(PumpUntil(settled, 60000));
    const ULONGLONG done = GetTickCount64();
    std::printf("entries %d, rows shown %d, listed and drawn %llu ms, icons in %llu ms, lookups %ld\n",
                form->FileList.Count(), form->FileView->BottomIndex() - form->FileView->TopIndex() + 1,
                shown - start, done - start, TIconLookups::Started() - before);
    form.reset();
    Base().Root = nullptr;
}
