// The one-value input dialog, shown for real and driven by keys from a timer.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "timer_driver.h"
#include "ui/input_dialog.h"
#include "ui_test_support.h"

using namespace ui_test;

namespace {

constexpr wchar_t kCaption[] = L"名前の変更";
constexpr wchar_t kPrompt[] = L"新しい名前:";

struct Seen {
    std::wstring caption, prompt, okText, cancelText, edit;
    DWORD selStart = 1, selEnd = 0;
    LRESULT limit = 0;
    LRESULT defId = 0;
    HWND focus = nullptr, editWnd = nullptr;
    RECT window{}, okRect{}, editRect{};
    LOGFONTW font{};
    DWORD style = 0;
};

// Runs the dialog; act(dialog, edit) drives it once it is up.
bool RunDialog(std::wstring& value, const std::function<void(HWND, HWND)>& act, Seen* seen = nullptr) {
    HWND owner = nullptr;
    TimerDriver driver([&] {
        HWND dlg = FindThreadWindow(L"#32770");
        if (!dlg) return false;
        HWND edit = GetDlgItem(dlg, ui::kInputQueryEditId);
        if (seen) {
            seen->caption = TextOf(dlg);
            seen->prompt = TextOf(GetDlgItem(dlg, ui::kInputQueryPromptId));
            seen->okText = TextOf(GetDlgItem(dlg, IDOK));
            seen->cancelText = TextOf(GetDlgItem(dlg, IDCANCEL));
            seen->edit = TextOf(edit);
            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&seen->selStart),
                         reinterpret_cast<LPARAM>(&seen->selEnd));
            seen->limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
            seen->defId = LOWORD(SendMessageW(dlg, DM_GETDEFID, 0, 0));
            seen->focus = GetFocus();
            seen->editWnd = edit;
            GetWindowRect(dlg, &seen->window);
            GetWindowRect(GetDlgItem(dlg, IDOK), &seen->okRect);
            GetWindowRect(edit, &seen->editRect);
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof(seen->font), &seen->font);
            seen->style = static_cast<DWORD>(GetWindowLongPtrW(dlg, GWL_STYLE));
        }
        act(dlg, edit);
        return true;
    });
    const bool ok = ui::InputQuery(owner, kCaption, kPrompt, value);
    EXPECT_FALSE(driver.TimedOut()) << "the dialog did not close";
    return ok;
}

LOGFONTW SystemMessageFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    return ncm.lfMessageFont;
}

}  // namespace

TEST(InputDialog, ShowsItsTextsWithTheInitialTextSelectedAndCentred) {
    std::wstring value = L"報告書 & 2024.txt";
    Seen seen;
    EXPECT_FALSE(RunDialog(value, [](HWND, HWND edit) { PressKey(edit, VK_ESCAPE); }, &seen));
    EXPECT_EQ(seen.caption, kCaption);
    EXPECT_EQ(seen.prompt, kPrompt);
    EXPECT_EQ(seen.okText, L"OK");
    EXPECT_EQ(seen.cancelText, L"キャンセル");
    EXPECT_EQ(seen.edit, L"報告書 & 2024.txt");
    EXPECT_EQ(seen.focus, seen.editWnd);
    EXPECT_EQ(seen.selStart, 0u);
    EXPECT_EQ(seen.selEnd, static_cast<DWORD>(value.size()));
    EXPECT_EQ(seen.limit, ui::kInputQueryMaxLength);
    EXPECT_EQ(seen.defId, IDOK);
    // A dialog frame with a caption; no sizing border.
    EXPECT_TRUE(seen.style & WS_CAPTION);
    EXPECT_FALSE(seen.style & WS_THICKFRAME);

    // Centred on the monitor (within rounding).
    POINT pt{};
    GetCursorPos(&pt);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTOPRIMARY), &mi);
    const long cx = (seen.window.left + seen.window.right) / 2, cy = (seen.window.top + seen.window.bottom) / 2;
    EXPECT_NEAR(cx, (mi.rcWork.left + mi.rcWork.right) / 2, 1);
    EXPECT_NEAR(cy, (mi.rcWork.top + mi.rcWork.bottom) / 2, 1);

    // The system's message font, and controls sized from it: the edit is
    // taller than the font's text.
    const LOGFONTW expected = SystemMessageFont();
    EXPECT_STREQ(seen.font.lfFaceName, expected.lfFaceName);
    EXPECT_EQ(seen.font.lfHeight, expected.lfHeight);
    EXPECT_GT(seen.editRect.bottom - seen.editRect.top, std::abs(expected.lfHeight));
    EXPECT_GT(seen.okRect.top, seen.editRect.bottom);
    EXPECT_TRUE(Reports().empty());
}

TEST(InputDialog, TypingReplacesTheSelectionAndEnterConfirms) {
    std::wstring value = L"old.txt";
    EXPECT_TRUE(RunDialog(value, [](HWND, HWND edit) {
        TypeText(edit, L"新しい名前.txt");
        PressKey(edit, VK_RETURN);
    }));
    EXPECT_EQ(value, L"新しい名前.txt");
}

TEST(InputDialog, EscapeAndCancelLeaveTheValueAlone) {
    std::wstring value = L"keep.txt";
    EXPECT_FALSE(RunDialog(value, [](HWND, HWND edit) {
        TypeText(edit, L"typed");
        PressKey(edit, VK_ESCAPE);
    }));
    EXPECT_EQ(value, L"keep.txt");
    EXPECT_FALSE(RunDialog(value, [](HWND dlg, HWND edit) {
        TypeText(edit, L"typed");
        PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
    }));
    EXPECT_EQ(value, L"keep.txt");
}

TEST(InputDialog, TypingStopsAt255Characters) {
    std::wstring value;
    EXPECT_TRUE(RunDialog(value, [](HWND, HWND edit) {
        TypeText(edit, std::wstring(300, L'x'));
        PressKey(edit, VK_RETURN);
    }));
    EXPECT_EQ(value, std::wstring(255, L'x'));
}
