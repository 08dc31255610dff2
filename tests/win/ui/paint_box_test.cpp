// Paint boxes: painting through the canvas and the mouse-enter event.
#include <memory>

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

}  // namespace
}  // namespace ui_test
