// floor_menu.exe FOLDER [CHILD]: the least that a popup listing of a folder
// must do, as a whole program. It lists FOLDER as floor_listing.h does (one
// thread, every question asked once per item), then maps one popup at the
// pointer holding a plain LISTBOX of the in-folder names (storage reserved
// up front, redraw off while it fills). With CHILD, the Right key lists
// FOLDER\CHILD the same way and maps a second popup beside the first: the
// floor for opening a child by key. Escape ends it.
//
// bench/menu_speed.sh times it exactly as it times quince.exe: wait_listed.exe
// sees a visible window of its class whose list holds all the rows.
#include <string>
#include <vector>

#include "floor_listing.h"

namespace {

constexpr wchar_t kClass[] = L"FloorMenu";
constexpr int kListId = 100;
std::wstring g_folder, g_child;
HWND g_first = nullptr;

// A popup with a list of the items' names, shown at (x, y).
HWND ShowPopup(const std::vector<floor_bench::Item>& items, int x, int y) {
    HWND popup = CreateWindowExW(0, kClass, L"floor", WS_POPUP | WS_BORDER, x, y, 300,
                                 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND list = CreateWindowExW(0, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, 0,
                                0, 298, 398, popup, reinterpret_cast<HMENU>(kListId), GetModuleHandleW(nullptr),
                                nullptr);
    size_t bytes = 0;
    for (const auto& item : items) bytes += (item.inFolderName.size() + 1) * sizeof(wchar_t);
    SendMessageW(list, LB_INITSTORAGE, items.size(), bytes);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (const auto& item : items) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.inFolderName.c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    const int rowHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int rows = static_cast<int>(items.size() < 40 ? (items.empty() ? 1 : items.size()) : 40);
    SetWindowPos(popup, nullptr, 0, 0, 300, rows * rowHeight + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(list, nullptr, 0, 0, 298, rows * rowHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Every name is final from the first show (wait_listed.exe --final).
    SetPropW(popup, L"QuinceListed", reinterpret_cast<HANDLE>(1));
    ShowWindow(popup, SW_SHOW);
    SetForegroundWindow(popup);
    SetFocus(list);
    return popup;
}

LRESULT CALLBACK PopupProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY && wnd == g_first) PostQuitMessage(0);
    return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: floor_menu FOLDER [CHILD]\n");
        return 64;
    }
    g_folder = argv[1];
    if (argc > 2) g_child = argv[2];
    floor_bench::OleScope ole;
    if (FAILED(ole.hr)) return floor_bench::Fail("OleInitialize", ole.hr);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PopupProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = kClass;
    if (!RegisterClassExW(&wc)) return floor_bench::Fail("RegisterClassExW", HRESULT_FROM_WIN32(GetLastError()));

    std::vector<floor_bench::Item> items;
    if (int rc = floor_bench::ListFolder(g_folder, items)) return rc;
    POINT pointer{};
    GetCursorPos(&pointer);
    g_first = ShowPopup(items, pointer.x, pointer.y);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RIGHT && !g_child.empty()) {
            std::vector<floor_bench::Item> childItems;
            std::wstring path = g_folder;
            if (!path.empty() && path.back() != L'\\') path += L'\\';
            if (int rc = floor_bench::ListFolder(path + g_child, childItems)) return rc;
            RECT first{};
            GetWindowRect(g_first, &first);
            ShowPopup(childItems, first.right, first.top);
            g_child.clear();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
