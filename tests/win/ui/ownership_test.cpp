// Forms owning forms: the order of destruction, and forms whose system
// window went before them.
#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include "ui/list_box.h"
#include "ui/paint_box.h"
#include "ui_test_support.h"

namespace ui_test {
namespace {

using Log = std::vector<std::string>;

// Notes, at each OnDestroy, which windows still exist.
struct WindowWitness : ui::TObject {
    std::vector<HWND> watched;
    std::vector<std::vector<bool>> seen;
    void Destroy(ui::TObject*) {
        std::vector<bool> alive;
        for (HWND w : watched) alive.push_back(IsWindow(w) != FALSE);
        seen.push_back(alive);
    }
};

TEST(Ownership, OwnerHandlerFirstThenOwnedFormsThenOwnerWindow) {
    Reports().clear();
    Log log;
    Recorder recOwner("owner", log), recA("a", log), recB("b", log);
    auto owner = std::make_unique<TestForm>();
    recOwner.Bind(*owner);
    owner->CreateHandle();
    TestForm* a = owner->Own(std::make_unique<TestForm>(owner.get()));
    TestForm* b = owner->Own(std::make_unique<TestForm>(owner.get()));
    recA.Bind(*a);
    recB.Bind(*b);
    a->CreateHandle();
    b->Show();
    const HWND ownerWnd = owner->Handle(), aWnd = a->Handle(), bWnd = b->Handle();

    WindowWitness atOwner, atB;
    atOwner.watched = atB.watched = {ownerWnd, aWnd, bWnd};
    // The recorder's slots are replaced by witnesses for the destroy event.
    owner->OnDestroy = {&atOwner, &WindowWitness::Destroy};
    b->OnDestroy = {&atB, &WindowWitness::Destroy};
    a->OnDestroy = {&recA, &Recorder::Destroy};
    recA.throwIn = "destroy";  // an error there stops nothing

    owner.reset();
    ASSERT_EQ(atOwner.seen.size(), 1u);
    EXPECT_EQ(atOwner.seen[0], (std::vector<bool>{true, true, true}));
    ASSERT_EQ(atB.seen.size(), 1u);
    EXPECT_TRUE(atB.seen[0][0]);  // the owner's window outlives what it owns
    EXPECT_EQ(log.back(), "a:destroy");
    EXPECT_EQ(Reports().size(), 1u);
    EXPECT_FALSE(IsWindow(ownerWnd));
    EXPECT_FALSE(IsWindow(aWnd));
    EXPECT_FALSE(IsWindow(bWnd));
}

// A menu-like form: its system owner is another form's window, while some
// other object owns the form itself; it holds child controls and frees its
// state in its destructor the way the menu windows do.
class MenuLikeForm : public TestForm {
public:
    explicit MenuLikeForm(HWND systemOwner) {
        adjust = [systemOwner](ui::TCreateParams& p) {
            p.style = WS_POPUP | WS_DLGFRAME;
            p.wndParent = systemOwner;
        };
        components = [this](TestForm&) {
            list = std::make_unique<ui::TListBox>(*this, 7);
            list->SetAlign(ui::TAlign::Client);
            box = std::make_unique<ui::TPaintBox>(*this);
            box->SetAlign(ui::TAlign::Top);
        };
    }
    ~MenuLikeForm() override { DestroyHandle(); }
    std::unique_ptr<ui::TListBox> list;
    std::unique_ptr<ui::TPaintBox> box;
};

TEST(Ownership, FormOutlivingItsSystemWindowIsDeletedSafely) {
    Reports().clear();
    Log log;
    auto base = std::make_unique<TestForm>();
    base->CreateHandle();
    Recorder rec("menu", log);
    auto menu = std::make_unique<MenuLikeForm>(base->Handle());
    rec.Bind(*menu);
    menu->Show();
    menu->list->AddItem(L"項目", nullptr);
    const HWND menuWnd = menu->Handle(), listWnd = menu->list->Handle();

    base.reset();  // the system takes the owned window with it
    EXPECT_FALSE(IsWindow(menuWnd));
    EXPECT_FALSE(IsWindow(listWnd));
    EXPECT_EQ(menu->Handle(), nullptr);
    EXPECT_FALSE(menu->Visible());
    // The controls forget their windows too, rather than keep dead handles.
    EXPECT_EQ(menu->list->Handle(), nullptr);
    EXPECT_EQ(menu->box->Handle(), nullptr);
    EXPECT_EQ(menu->list->Count(), 0);

    menu.reset();
    EXPECT_EQ(std::count(log.begin(), log.end(), "menu:destroy"), 1);
    EXPECT_TRUE(Reports().empty());
}

}  // namespace
}  // namespace ui_test
