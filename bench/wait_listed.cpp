// wait_listed.exe ROWS [TIMEOUT_MS] [--icons] [--class NAME] [--shown] [--final]:
// the stopwatch's far end for timing a menu window (of class NAME, TFolderForm
// by default; with --shown, a child window while its parent is already up;
// with --final, once the window also carries the property "QuinceListed",
// which a menu window sets when every caption it lists is final; with
// --then-final, "met" when the rows are there and then "final ... unix=" too). Started before quince.exe in the same wineserver, it first waits
// until no menu window of an earlier run is left, says "ready", then polls
// every 20 ms for a visible TFolderForm whose list holds ROWS rows. It prints
//
//   ready
//   met rows=ROWS unix=1718000000.123456        (wall clock of the poll that saw it)
//   met rows=ROWS unix=... visible=N            (--icons: also every visible row,
//                                                N of them, shows its icon)
//   timeout visible=0|1 rows=N                  (exit code 2; N: the most rows seen)
//
// The wall clock is the system's (Wine reads the unix clock), so the script
// subtracts the unix time at which it started quince.exe.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "menu_windows.h"

namespace {

using bench::HasClass;
using bench::UnixNow;
using bench::Windows;

constexpr DWORD kPollMs = 20;
const wchar_t* g_menuClass = L"TFolderForm";
bool g_final = false;

std::vector<HWND> VisibleMenus() {
    std::vector<HWND> menus;
    for (HWND wnd : Windows(nullptr))
        if (IsWindowVisible(wnd) && HasClass(wnd, g_menuClass) && (!g_final || GetPropW(wnd, L"QuinceListed")))
            menus.push_back(wnd);
    return menus;
}

// The most rows any list of the window holds; -1 while it does not answer.
long Rows(HWND menu) {
    long most = -1;
    for (HWND child : Windows(menu))
        if (HasClass(child, L"ListBox")) most = std::max(most, bench::ListRows(child));
    return most;
}

// Whether every row of the list that is visible shows an icon: the square
// at the row's left where the icon goes (from 2 px in, as wide as the row is
// high, short of the caption) holds more than two colours on the screen.
// Gives the number of visible rows, or -1 while some row has no icon yet.
int VisibleRowsWithIcons(HWND list) {
    RECT client{};
    if (!GetClientRect(list, &client) || client.bottom <= 0) return -1;
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    const int w = client.right, h = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int result = -1;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
        SelectObject(memory, old);
        const auto* pixels = static_cast<const DWORD*>(bits);
        DWORD_PTR count = 0, top = 0;
        SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count);
        SendMessageTimeoutW(list, LB_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 1000, &top);
        result = 0;
        for (DWORD_PTR i = top; i < count; ++i) {
            RECT row{};
            DWORD_PTR ok = 0;
            if (!SendMessageTimeoutW(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&row), SMTO_ABORTIFHUNG,
                                     1000, &ok) ||
                row.top >= h)
                break;
            const int size = row.bottom - row.top;
            DWORD seen[3] = {};
            int kinds = 0;
            for (int y = std::max(0L, row.top); y < std::min<long>(h, row.bottom) && kinds < 3; ++y)
                for (int x = 2; x < std::min(w, 2 + size) && kinds < 3; ++x) {
                    const DWORD c = pixels[y * w + x] & 0xFFFFFF;
                    if (std::find(seen, seen + kinds, c) == seen + kinds) seen[kinds++] = c;
                }
            if (kinds < 3) {
                result = -1;
                break;
            }
            ++result;
        }
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // --final: the window must also say that every caption is final.
    // --then-final: say "met" as usual, then "final" once it says so too.
    bool thenFinal = false;
    if (argc > 2 && std::wcscmp(argv[argc - 1], L"--final") == 0) {
        g_final = true;
        --argc;
    } else if (argc > 2 && std::wcscmp(argv[argc - 1], L"--then-final") == 0) {
        thenFinal = true;
        --argc;
    }
    // --shown: another menu window is already up (a child is awaited).
    bool awaitChild = false;
    if (argc > 2 && std::wcscmp(argv[argc - 1], L"--shown") == 0) {
        awaitChild = true;
        --argc;
    }
    if (argc > 3 && std::wcscmp(argv[argc - 2], L"--class") == 0) {
        g_menuClass = argv[argc - 1];
        argc -= 2;
    }
    const bool icons = argc > 1 && std::wcscmp(argv[argc - 1], L"--icons") == 0;
    if (icons) --argc;
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: wait_listed ROWS [TIMEOUT_MS] [--icons] [--class NAME] [--shown] [--final|--then-final]\n");
        return 64;
    }
    const long want = std::wcstol(argv[1], nullptr, 10);
    const ULONGLONG timeout = argc > 2 ? std::wcstoull(argv[2], nullptr, 10) : 60000;

    // A window of the previous run may outlive its unix process by a moment.
    for (ULONGLONG start = GetTickCount64(); !awaitChild && !VisibleMenus().empty();) {
        if (GetTickCount64() - start > 10000) {
            std::printf("busy: a menu window of an earlier run is still visible\n");
            return 3;
        }
        Sleep(kPollMs);
    }
    std::printf("ready\n");
    std::fflush(stdout);

    const ULONGLONG start = GetTickCount64();
    bool seen = false;
    long most = -1;
    for (;;) {
        const double now = UnixNow();
        for (HWND menu : VisibleMenus()) {
            seen = true;
            long rows = Rows(menu);
            if (rows > most) most = rows;
            if (rows == want && !icons) {
                std::printf("%s rows=%ld unix=%.6f\n", g_final && thenFinal ? "final" : "met", rows, now);
                std::fflush(stdout);
                if (!thenFinal || g_final) return 0;
                // Final already (a small folder shows so): the same poll saw it.
                if (GetPropW(menu, L"QuinceListed")) {
                    std::printf("final rows=%ld unix=%.6f\n", rows, now);
                    return 0;
                }
                g_final = true;  // now the same window, once it says it is final
                break;
            }
            if (rows == want) {
                for (HWND list : Windows(menu)) {
                    if (!HasClass(list, L"ListBox")) continue;
                    const int visible = VisibleRowsWithIcons(list);
                    if (visible <= 0) continue;
                    // Stamped after the picture was taken: never early.
                    std::printf("met rows=%ld unix=%.6f visible=%d\n", rows, UnixNow(), visible);
                    return 0;
                }
            }
        }
        if (GetTickCount64() - start >= timeout) break;
        Sleep(kPollMs);
    }
    std::printf("timeout visible=%d rows=%ld\n", seen ? 1 : 0, most);
    return 2;
}
