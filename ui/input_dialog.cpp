#include "ui/input_dialog.h"

#include <vector>

#include "core/messages.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/handles.h"

namespace ui {

namespace {

// Layout in dialog units (a quarter of the font's average character width,
// an eighth of its height), the way dialog resources are laid out, so the
// dialog grows with its font.
constexpr int kWidthDu = 186;
constexpr int kMarginDu = 7;
constexpr int kPromptHeightDu = 9;
constexpr int kEditTopDu = kMarginDu + kPromptHeightDu + 2;
constexpr int kEditHeightDu = 14;
constexpr int kButtonTopDu = kEditTopDu + kEditHeightDu + 7;
constexpr int kButtonWidthDu = 50;
constexpr int kButtonHeightDu = 14;
constexpr int kButtonGapDu = 4;
constexpr int kHeightDu = kButtonTopDu + kButtonHeightDu + kMarginDu;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

struct DialogState {
    const std::wstring& caption;
    const std::wstring& prompt;
    std::wstring text;
    UniqueFont font;
};

// The message font for the dialog's DPI; the stock GUI font's where the
// system gives no metrics.
LOGFONTW MessageFontFor(HWND dlg) {
    LOGFONTW lf = NonClientMetricsForDpi(WindowDpi(dlg)).lfMessageFont;
    if (lf.lfFaceName[0] == L'\0') GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    return lf;
}

// The dialog base units of a font, as the dialog manager computes them.
SIZE BaseUnits(HWND dlg, HFONT font) {
    WindowDC dc(dlg);
    SelectGuard select(dc.get(), font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    SIZE extent{};
    static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32W(dc.get(), kAlphabet, 52, &extent);
    LONG cx = (extent.cx / 26 + 1) / 2;
    return SIZE{cx > 0 ? cx : 4, tm.tmHeight > 0 ? tm.tmHeight : 8};
}

class Layout {
public:
    explicit Layout(SIZE base) : base_(base) {}
    int X(int du) const { return MulDiv(du, base_.cx, 4); }
    int Y(int du) const { return MulDiv(du, base_.cy, 8); }

private:
    SIZE base_;
};

HWND AddControl(HWND dlg, const wchar_t* cls, const std::wstring& text, DWORD style, DWORD exStyle, int id,
                RECT r, HFONT font) {
    HWND wnd = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, dlg, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    if (wnd) SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return wnd;
}

// Centred in the work area of the monitor under the pointer, where the user
// just asked for the dialog.
void CentreOnScreen(HWND dlg, int width, int height) {
    POINT pt{};
    GetCursorPos(&pt);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTOPRIMARY), &mi)) area = mi.rcWork;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(dlg, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void InitDialog(HWND dlg, DialogState& state) {
    SetWindowTextW(dlg, state.caption.c_str());
    LOGFONTW lf = MessageFontFor(dlg);
    state.font.reset(CreateFontIndirectW(&lf));
    HFONT font = state.font ? state.font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const Layout du(BaseUnits(dlg, font));

    const int right = kWidthDu - kMarginDu;
    AddControl(dlg, L"STATIC", state.prompt, SS_LEFT | SS_NOPREFIX, 0, kInputQueryPromptId,
               RECT{du.X(kMarginDu), du.Y(kMarginDu), du.X(right), du.Y(kMarginDu + kPromptHeightDu)}, font);
    HWND edit = AddControl(dlg, L"EDIT", state.text, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                           kInputQueryEditId,
                           RECT{du.X(kMarginDu), du.Y(kEditTopDu), du.X(right), du.Y(kEditTopDu + kEditHeightDu)}, font);
    const int cancelLeft = right - kButtonWidthDu;
    const int okLeft = cancelLeft - kButtonGapDu - kButtonWidthDu;
    AddControl(dlg, L"BUTTON", core::messages::kOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, IDOK,
               RECT{du.X(okLeft), du.Y(kButtonTopDu), du.X(okLeft + kButtonWidthDu), du.Y(kButtonTopDu + kButtonHeightDu)},
               font);
    AddControl(dlg, L"BUTTON", core::messages::kCancel, BS_PUSHBUTTON | WS_TABSTOP, 0, IDCANCEL,
               RECT{du.X(cancelLeft), du.Y(kButtonTopDu), du.X(right), du.Y(kButtonTopDu + kButtonHeightDu)}, font);
    SendMessageW(dlg, DM_SETDEFID, IDOK, 0);

    RECT outer{0, 0, du.X(kWidthDu), du.Y(kHeightDu)};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(dlg, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dlg, GWL_EXSTYLE)));
    CentreOnScreen(dlg, outer.right - outer.left, outer.bottom - outer.top);

    if (edit) {
        SendMessageW(edit, EM_SETLIMITTEXT, kInputQueryMaxLength, 0);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
    }
}

std::wstring WindowText(HWND wnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
    int n = GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    INT_PTR result = FALSE;
    Application().Guard([&] {
        switch (msg) {
            case WM_INITDIALOG:
                SetWindowLongPtrW(dlg, DWLP_USER, lp);
                InitDialog(dlg, *reinterpret_cast<DialogState*>(lp));
                result = FALSE;  // the focus is set: the edit, its text selected
                break;
            case WM_COMMAND: {
                auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dlg, DWLP_USER));
                const int id = LOWORD(wp);
                if (id == IDOK && state) {
                    state->text = WindowText(GetDlgItem(dlg, kInputQueryEditId));
                    EndDialog(dlg, IDOK);
                    result = TRUE;
                } else if (id == IDCANCEL) {
                    EndDialog(dlg, IDCANCEL);
                    result = TRUE;
                }
                break;
            }
            default:
                break;
        }
    });
    return result;
}

}  // namespace

bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt, std::wstring& value) {
    // An in-memory template without controls: they are made at WM_INITDIALOG,
    // in pixels from the message font, which a template's point size cannot
    // express for a per-monitor DPI.
    std::vector<WORD> tmpl(16, 0);   // zeroed: no menu, default class, empty title
    auto* dt = reinterpret_cast<DLGTEMPLATE*>(tmpl.data());
    dt->style = kDialogStyle;
    dt->cdit = 0;
    dt->cx = kWidthDu;
    dt->cy = kHeightDu;
    DialogState state{caption, prompt, value, nullptr};
    INT_PTR rc = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dt, owner, &DialogProc,
                                         reinterpret_cast<LPARAM>(&state));
    if (rc != IDOK) return false;
    value = state.text;
    return true;
}

}  // namespace ui
