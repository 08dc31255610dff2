// Paint boxes: painting through the canvas and the mouse-enter event.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/paint_box.h"
#include "ui_test_support.h"

namespace ui_test {
namespace {

constexpr COLORREF kFill = RGB(200, 30, 60);

struct BoxScript : ui::TObject {
    ui::TPaintBox* box = nullptr;
    int paints = 0, enters = 0;
    bool validCanvas = true;
    bool throwOnPaint = false;
    void Paint(ui::TObject*) {
        ++paints;
        HDC dc = box->Canvas();
        validCanvas = validCanvas && dc && GetObjectType(dc) == OBJ_DC;
        RECT rc = box->ClientRect();
        HBRUSH brush = CreateSolidBrush(kFill);
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
        if (throwOnPaint) throw core::Error(L"ボタンを描けません");
    }
    void Enter(ui::TObject*) { ++enters; }
};

class PaintBoxTest : public testing::Test {
protected:
    void SetUp() override {
        Reports().clear();
        form.BorderStyle = ui::TBorderStyle::None;
        form.DesignLeft = 400;
        form.DesignTop = 300;
        form.DesignClientWidth = 120;
        form.DesignClientHeight = 100;
        form.components = [this](TestForm& f) {
            middle = std::make_unique<ui::TPaintBox>(f);
            middle->SetAlign(ui::TAlign::Client);
        };
        form.CreateHandle();
        script.box = middle.get();
        middle->OnPaint = {&script, &BoxScript::Paint};
        middle->OnMouseEnter = {&script, &BoxScript::Enter};
    }

    BoxScript script;
    TestForm form;
    std::unique_ptr<ui::TPaintBox> middle;
};

TEST_F(PaintBoxTest, PaintHandlerDrawsThroughCanvas) {
    form.Show();
    RedrawWindow(middle->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(script.paints, 1);
    EXPECT_TRUE(script.validCanvas);
    EXPECT_EQ(middle->Canvas(), nullptr);
    ui::WindowDC dc(middle->Handle());
    EXPECT_EQ(GetPixel(dc.get(), 10, 10), kFill);

    script.throwOnPaint = true;
    RedrawWindow(middle->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Reports(), (std::vector<std::wstring>{L"ボタンを描けません"}));
    EXPECT_EQ(middle->Canvas(), nullptr);
    // The failed paint still ended: nothing is left to repaint.
    EXPECT_FALSE(GetUpdateRect(middle->Handle(), nullptr, FALSE));
}

TEST_F(PaintBoxTest, MouseEnterOncePerEntry) {
    form.Show();
    // The real pointer rests inside, so the leave tracking stays quiet.
    POINT inside{30, 30};
    ClientToScreen(middle->Handle(), &inside);
    SetCursorPos(inside.x, inside.y);
    Settle(100);
    script.enters = 0;
    // Only our own leave message below ends the stay.
    const LPARAM at = MAKELPARAM(30, 30);
    auto stay = [&] {
        PostMessageW(middle->Handle(), WM_MOUSEMOVE, 0, at);
        PostMessageW(middle->Handle(), WM_MOUSEMOVE, 0, at);
        Settle(50);
    };
    PostMessageW(middle->Handle(), WM_MOUSELEAVE, 0, 0);
    stay();
    EXPECT_EQ(script.enters, 1);
    stay();
    EXPECT_EQ(script.enters, 1);
    PostMessageW(middle->Handle(), WM_MOUSELEAVE, 0, 0);
    stay();
    EXPECT_EQ(script.enters, 2);
}

// Sees the messages a paint box window gets while it is made and destroyed,
// as an accessibility tool or a shell hook may, and answers them with
// messages of its own.
struct BoxHook {
    static inline std::function<void(const CWPRETSTRUCT&)> afterCall;
    static inline std::function<void(const CWPSTRUCT&)> beforeCall;
    static bool IsBox(HWND wnd) {
        wchar_t name[32] = {};
        GetClassNameW(wnd, name, 32);
        return std::wstring(name) == L"TPaintBox";
    }
    static LRESULT CALLBACK After(int code, WPARAM wp, LPARAM lp) {
        auto* c = reinterpret_cast<CWPRETSTRUCT*>(lp);
        if (code == HC_ACTION && afterCall && IsBox(c->hwnd)) afterCall(*c);
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static LRESULT CALLBACK Before(int code, WPARAM wp, LPARAM lp) {
        auto* c = reinterpret_cast<CWPSTRUCT*>(lp);
        if (code == HC_ACTION && beforeCall && IsBox(c->hwnd)) beforeCall(*c);
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    BoxHook()
        : after(SetWindowsHookExW(WH_CALLWNDPROCRET, &After, nullptr, GetCurrentThreadId())),
          before(SetWindowsHookExW(WH_CALLWNDPROC, &Before, nullptr, GetCurrentThreadId())) {}
    ~BoxHook() {
        UnhookWindowsHookEx(after);
        UnhookWindowsHookEx(before);
        afterCall = nullptr;
        beforeCall = nullptr;
    }
    HHOOK after, before;
};

struct DownScript : ui::TObject {
    std::vector<ui::TObject*> senders;
    void Down(ui::TObject* sender, ui::TMouseButton, UINT, int, int) { senders.push_back(sender); }
};

TEST_F(PaintBoxTest, MessagesDuringCreationAndDestructionReachAWholeBox) {
    BoxHook hook;
    // While it is being made, the window already answers as itself.
    BoxHook::afterCall = [](const CWPRETSTRUCT& c) {
        if (c.message == WM_CREATE) SendMessageW(c.hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"作成中"));
    };
    auto box = std::make_unique<ui::TPaintBox>(form);
    BoxHook::afterCall = nullptr;
    wchar_t text[16] = {};
    GetWindowTextW(box->Handle(), text, 16);
    EXPECT_STREQ(text, L"作成中");

    // Freed on its own, not with its form: its handlers still run for what
    // arrives while its window goes, and the window is gone afterwards.
    DownScript script;
    box->OnMouseDown = {&script, &DownScript::Down};
    const HWND wnd = box->Handle();
    ui::TObject* const sender = box.get();
    BoxHook::beforeCall = [](const CWPSTRUCT& c) {
        if (c.message == WM_DESTROY) SendMessageW(c.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    };
    box.reset();
    BoxHook::beforeCall = nullptr;
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(script.senders, std::vector<ui::TObject*>{sender});
    EXPECT_TRUE(Reports().empty());
}

}  // namespace
}  // namespace ui_test
