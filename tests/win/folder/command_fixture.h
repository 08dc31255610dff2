#pragma once
// A shown root menu window over a shown test base window, with message
// boxes collected instead of shown, and a way to track a fake context menu
// through the window's real hosting path while a step drives it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fake_context_menu.h"
#include "folder_test_support.h"
#include "timer_driver.h"
#include "ui/message_box.h"

namespace folder_test {

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        Base().Idle.Clear();
        Base().EndOfRunInstalls = 0;
        Base().LastInstallDelayed = false;
        Base().Show();
        form_ = MakeRootForm();
        ui::OnMessageBox = [this](HWND, const std::wstring& text, const std::wstring& caption, UINT) {
            boxes_.emplace_back(caption, text);
            return IDOK;
        };
        fake_ = shell_test::MakeFake<FakeContextMenu>();
    }
    void TearDown() override {
        form_.reset();
        Base().Root = nullptr;
        Base().Idle.Clear();
        Base().Hide();
        ui::OnMessageBox = nullptr;
        EXPECT_TRUE(ReportedErrors().empty());
        ReportedErrors().clear();
    }

    // Every show leaves no row selected; the commands act on the selected
    // row, so put the selection back as a user's pointer would.
    void ShowKeepingSelection() {
        if (form_->Visible()) return;
        const int selected = form_->FileView->ItemIndex();
        form_->Show();
        form_->FileView->SetItemIndex(selected);
    }

    // Adds an entry for the item called name in parent and selects it.
    folder::TShellObject* AddSelected(const folder::TShellObject& parent, const std::wstring& name) {
        auto child = ChildNamed(parent, name);
        EXPECT_NE(child, nullptr) << "no item called " << testing::PrintToString(name);
        folder::TShellObject* raw = child.get();
        AddEntry(*form_, name, std::move(child));
        form_->FileView->SetItemIndex(form_->FileView->Count() - 1);
        return raw;
    }

    // Shows the window and runs the fake's menu through the hosting path;
    // step(state) runs on every timer tick until it returns true.
    void Track(folder::TShellObject* item, const std::function<bool(int&)>& step) {
        ShowKeepingSelection();
        // Key messages left over from an earlier menu (the key-up, the
        // character of Return) would reach this one first.
        PumpFor(30);
        int state = 0;
        ui_test::TimerDriver driver([&] { return step(state); });
        form_->Commands().RunContextMenu(fake_.Get(), item, 100, 100);
        EXPECT_FALSE(driver.TimedOut()) << "stuck in state " << state;
    }

    // The popup menu of the tracking, once it is up.
    static HWND Menu(int index = 0) { return ui_test::FindThreadWindow(L"#32768", index); }
    static HWND Dialog() { return ui_test::FindThreadWindow(L"#32770"); }
    // Chooses the command at row (0 the submenu) of the top-level menu.
    void ChooseRow(int row) const {
        for (int i = 0; i <= row; ++i) ui_test::PressKey(form_->Handle(), VK_DOWN);
        ui_test::PressKey(form_->Handle(), VK_RETURN);
    }

    std::unique_ptr<folder::TFolderForm> form_;
    Microsoft::WRL::ComPtr<FakeContextMenu> fake_;
    std::vector<std::pair<std::wstring, std::wstring>> boxes_;  // caption, text
};

}  // namespace folder_test
