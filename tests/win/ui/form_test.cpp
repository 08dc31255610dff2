// Forms on real windows: creation parameters, alpha blending, show, hide,
// close, and the mouse events the base window relies on.
#include <windowsx.h>

#include <memory>

#include <gtest/gtest.h>

#include "ui_test_support.h"

namespace ui_test {
namespace {

using Log = std::vector<std::string>;

class FormTest : public testing::Test {
protected:
    void SetUp() override { Reports().clear(); }
    Log log;
};

SIZE ClientOf(HWND wnd) {
    RECT rc{};
    GetClientRect(wnd, &rc);
    return SIZE{rc.right, rc.bottom};
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

TEST_F(FormTest, CreateParamsDecideStyleAndOwnerAndClientSizeIsKept) {
    TestForm owner;
    owner.CreateHandle();
    EXPECT_EQ(GetWindow(owner.Handle(), GW_OWNER), ui::Application().Handle());
    EXPECT_EQ(ClientOf(owner.Handle()).cx, 320);

    TestForm menu;
    menu.DesignLeft = 40;
    menu.DesignTop = 50;
    menu.DesignClientWidth = 173;
    menu.DesignClientHeight = 91;
    // The menu windows' shape: a thin dialog frame, owned by another form.
    menu.adjust = [&](ui::TCreateParams& p) {
        p.style = WS_POPUP | WS_DLGFRAME;
        p.wndParent = owner.Handle();
    };
    menu.CreateHandle();
    const HWND wnd = menu.Handle();
    LONG style = GetWindowLongW(wnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), WS_POPUP | WS_DLGFRAME);
    EXPECT_EQ(GetWindow(wnd, GW_OWNER), owner.Handle());
    SIZE client = ClientOf(wnd);
    EXPECT_EQ(client.cx, 173);
    EXPECT_EQ(client.cy, 91);
    EXPECT_EQ(menu.ClientSize().cx, 173);
    RECT outer = menu.BoundsRect();
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 50);
    EXPECT_GT(outer.right - outer.left, 173);  // the frame comes on top
}

struct AlphaOnCreate : ui::TObject {
    void Create(ui::TObject* sender) { static_cast<ui::TForm*>(sender)->SetAlphaBlend(true, 1); }
};

TEST_F(FormTest, AlphaBlendingMakesLayeredWindowWithTheValue) {
    auto alphaOf = [](HWND wnd) {
        BYTE alpha = 0;
        DWORD flags = 0;
        COLORREF key = 0;
        EXPECT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
        EXPECT_TRUE(flags & LWA_ALPHA);
        return alpha;
    };
    auto layered = [](HWND wnd) { return (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };

    TestForm plain;
    plain.CreateHandle();
    EXPECT_FALSE(layered(plain.Handle()));
    plain.SetAlphaBlend(true, 1);
    EXPECT_TRUE(layered(plain.Handle()));
    EXPECT_EQ(alphaOf(plain.Handle()), 1);
    plain.SetAlphaBlend(false, 255);
    EXPECT_FALSE(layered(plain.Handle()));

    // The base window's way: a design value, replaced while it is created.
    AlphaOnCreate handler;
    TestForm base;
    base.SetAlphaBlend(true, 192);
    base.OnCreate = {&handler, &AlphaOnCreate::Create};
    base.CreateHandle();
    EXPECT_TRUE(layered(base.Handle()));
    EXPECT_EQ(alphaOf(base.Handle()), 1);
    EXPECT_EQ(base.AlphaBlendValue(), 1);
}

TEST_F(FormTest, ShowAndHideRaiseTheirEventsFirstAndGoOnAfterErrors) {
    Recorder rec("f", log);  // outlives the form: its OnDestroy records too
    TestForm form;
    rec.Bind(form);
    form.Show();  // makes the window on first use
    EXPECT_EQ(log, (Log{"f:create", "f:show"}));
    EXPECT_FALSE(rec.visibleInLast);
    EXPECT_TRUE(form.Visible());
    form.Show();
    EXPECT_EQ(log.size(), 2u);  // already visible: no second OnShow

    form.Hide();
    EXPECT_EQ(log.back(), "f:hide");
    EXPECT_TRUE(rec.visibleInLast);
    EXPECT_FALSE(form.Visible());
    form.Hide();
    EXPECT_EQ(log.size(), 3u);

    rec.throwIn = "show";
    form.Show();
    EXPECT_TRUE(form.Visible());
    rec.throwIn = "hide";
    form.Hide();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(Reports(), (std::vector<std::wstring>(2, rec.errorText)));
}

TEST_F(FormTest, CloseHidesOrdinaryFormsAndEndsTheRunForTheMainForm) {
    Recorder rec("f", log);
    TestForm form, main;
    rec.Bind(form);
    form.Show();
    main.Show();
    MSG msg;
    form.Close();
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_EQ(log.back(), "f:hide");
    form.Show();
    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);  // the system's close does the same
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    {
        MainFormScope scope(main);
        main.Close();
        // Take the quit message ourselves: the application must not see it,
        // or it would stay terminated for the rest of this test program.
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        SendMessageW(main.Handle(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
    EXPECT_TRUE(main.Visible());  // closing the main form waits for the loop
    EXPECT_FALSE(ui::Application().Terminated());
}

TEST_F(FormTest, ClickNeedsPressAndReleaseInside) {
    Recorder rec("f", log);
    TestForm form;
    rec.Bind(form);
    form.BorderStyle = ui::TBorderStyle::None;
    form.DesignClientWidth = 200;
    form.DesignClientHeight = 100;
    form.Show();
    const HWND wnd = form.Handle();
    auto clicks = [&] { return std::count(log.begin(), log.end(), "f:click"); };

    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(150, 90));
    EXPECT_EQ(clicks(), 1);
    EXPECT_NE(GetCapture(), wnd);  // the press captured the mouse, the release let go

    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(-4, 50));  // dragged out to the left
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(10, 100));  // one pixel below the client area
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(10, 10));   // a release whose press was elsewhere
    EXPECT_EQ(clicks(), 1);

    // A press whose capture another window takes away is no click either.
    TestForm thief;
    thief.CreateHandle();
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    SetCapture(thief.Handle());
    ReleaseCapture();
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(10, 10));
    EXPECT_EQ(clicks(), 1);

    rec.throwIn = "click";
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ(clicks(), 2);
    EXPECT_EQ(Reports(), (std::vector<std::wstring>{rec.errorText}));
    rec.throwIn.clear();
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ(clicks(), 3);
}

TEST_F(FormTest, RightClickRaisesContextPopupAtScreenPoint) {
    Recorder rec("f", log);
    TestForm form;
    rec.Bind(form);
    form.DesignLeft = 300;
    form.DesignTop = 200;
    form.Show();
    SendMessageW(form.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(20, 30));
    SendMessageW(form.Handle(), WM_RBUTTONUP, 0, At(20, 30));
    ASSERT_EQ(log.back(), "f:popup");
    POINT expected{20, 30};
    ClientToScreen(form.Handle(), &expected);
    EXPECT_EQ(rec.lastPoint.x, expected.x);
    EXPECT_EQ(rec.lastPoint.y, expected.y);

    rec.throwIn = "popup";
    SendMessageW(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.Handle()), At(1, 2));
    EXPECT_EQ(Reports().size(), 1u);
}

TEST_F(FormTest, FormsOfOneFaceAndHeightShareOneFont) {
    HFONT shared = nullptr;
    {
        TestForm a, b, other;
        other.FontHeight = -16;
        a.CreateHandle();
        b.CreateHandle();
        other.CreateHandle();
        shared = a.Font();
        ASSERT_NE(shared, nullptr);
        EXPECT_EQ(b.Font(), shared);
        EXPECT_NE(other.Font(), shared);
        LOGFONTW lf{};
        ASSERT_EQ(GetObjectW(shared, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
        EXPECT_EQ(lf.lfHeight, -12);
        EXPECT_STREQ(lf.lfFaceName, L"Segoe UI");
        // One form going leaves the others' font intact.
        auto c = std::make_unique<TestForm>();
        c->CreateHandle();
        EXPECT_EQ(c->Font(), shared);
        c.reset();
        EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT));
    }
    // The last one took the font with it: no GDI object is left behind.
    EXPECT_EQ(GetObjectType(shared), 0u);
    TestForm later;
    later.CreateHandle();
    EXPECT_NE(later.Font(), nullptr);
    LOGFONTW lf{};
    EXPECT_EQ(GetObjectW(later.Font(), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
}

}  // namespace
}  // namespace ui_test
