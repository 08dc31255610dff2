// Method references as event slots, and menu items' click.
#include <gtest/gtest.h>

#include "ui/menu.h"
#include "ui/method.h"
#include "ui_test_support.h"

namespace ui_test {
namespace {

using ui::TIdleEvent;

// Mimics the program's boot handler: it empties (or replaces) the very slot
// it was called through, then goes on using its object.
struct SlotOwner : ui::TObject {
    TIdleEvent slot;
    std::vector<std::string> calls;
    void Boot(ui::TObject*, bool&) {
        slot.Clear();
        calls.push_back("boot");
    }
    void Handover(ui::TObject*, bool& done) {
        slot = TIdleEvent(this, &SlotOwner::Later);
        calls.push_back("handover");
        done = false;
    }
    void Later(ui::TObject*, bool&) { calls.push_back("later"); }
};

TEST(Method, EmptyCodePartMeansNoHandler) {
    SlotOwner owner;
    TIdleEvent none;
    EXPECT_FALSE(none);
    void (SlotOwner::*noCode)(ui::TObject*, bool&) = nullptr;
    EXPECT_FALSE(TIdleEvent(&owner, noCode));
    bool done = true;
    none(&owner, done);  // calling an empty slot does nothing
    EXPECT_TRUE(owner.calls.empty());

    TIdleEvent set(&owner, &SlotOwner::Boot);
    EXPECT_TRUE(set);
    set.Clear();
    EXPECT_FALSE(set);
}

TEST(Method, HandlerMayEmptyOrReplaceItsOwnSlotWhileRunning) {
    SlotOwner owner;
    bool done = true;
    owner.slot = TIdleEvent(&owner, &SlotOwner::Boot);
    owner.slot(&owner, done);
    EXPECT_FALSE(owner.slot);
    owner.slot(&owner, done);  // one-shot: the second turn finds nothing
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"boot"}));

    owner.calls.clear();
    owner.slot = TIdleEvent(&owner, &SlotOwner::Handover);
    owner.slot(&owner, done);
    EXPECT_FALSE(done);
    owner.slot(&owner, done);
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"handover", "later"}));
}

struct ClickCounter : ui::TObject {
    int clicks = 0;
    ui::TObject* sender = nullptr;
    void Clicked(ui::TObject* s) {
        ++clicks;
        sender = s;
    }
};

TEST(MenuItem, DisabledItemIgnoresClick) {
    ClickCounter counter;
    ui::TPopupMenu menu;
    ui::TMenuItem& item = menu.Add(std::make_unique<ui::TMenuItem>());
    item.Caption = L"(なし)";
    item.OnClick = {&counter, &ClickCounter::Clicked};
    item.Enabled = false;
    item.Click();
    EXPECT_EQ(counter.clicks, 0);
    item.Enabled = true;
    item.Click();
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_EQ(counter.sender, &item);
    menu.Item(0).OnClick.Clear();
    menu.Item(0).Click();  // enabled but without a handler: nothing happens
    EXPECT_EQ(counter.clicks, 1);
}

}  // namespace
}  // namespace ui_test
