// answer_times.exe ROWS [TIMEOUT_MS]: how long a menu window keeps the
// pointer and the keys waiting while its captions still arrive. Started
// before quince.exe in the same wineserver, it waits until no menu window of
// an earlier run is left, says "ready", then waits for a visible TFolderForm
// whose list holds ROWS rows. From then until the window carries the
// property "QuinceListed" (every caption final), every 25 ms it asks one of
// two things in turn:
//
//   sent  a WM_NULL sent to the list: answered when the window's thread next
//         looks at its queue, which is when a pointer move or a key would be
//         handled;
//   key   a Down key posted to the list: the time until the list's selection
//         has moved (the program's own key handling, scrolling and drawing
//         the rows that come into view included).
//
// It prints, in milliseconds,
//
//   ready
//   sent n=N median=M p95=P max=X
//   key n=N median=M p95=P max=X
//   span=S unanswered=U           (seconds measured, from the rows to final;
//                                 U: questions not answered within 10 s)
//
// or "timeout ..." (exit code 2) when the window never came or never became
// final.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "menu_windows.h"

namespace {

constexpr DWORD kStepMs = 25;
constexpr UINT kAnswerLimitMs = 10000;

double NowMs() {
    LARGE_INTEGER frequency{}, count{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HWND ListOf(HWND menu) {
    for (HWND child : bench::Windows(menu))
        if (bench::HasClass(child, L"ListBox")) return child;
    return nullptr;
}

// The first visible menu window whose list holds rows rows, and that list.
bool FindMenu(long rows, HWND& menu, HWND& list) {
    for (HWND wnd : bench::VisibleOfClass(L"TFolderForm")) {
        HWND found = ListOf(wnd);
        if (found && bench::ListRows(found) == rows) {
            menu = wnd;
            list = found;
            return true;
        }
    }
    return false;
}

// How long a sent message waits for the window's thread; negative when it
// did not answer within the limit.
double SentAnswer(HWND list) {
    const double start = NowMs();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(list, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerLimitMs, &result)) return -1;
    return NowMs() - start;
}

// How long a posted Down key takes to move the selection; negative when it
// did not within the limit (the last row, say).
double KeyAnswer(HWND list) {
    DWORD_PTR before = 0;
    if (!SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_NORMAL, kAnswerLimitMs, &before)) return -1;
    const double start = NowMs();
    PostMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(list, WM_KEYUP, VK_DOWN, 0xC0000001);
    for (;;) {
        DWORD_PTR now = before;
        if (!SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_NORMAL, kAnswerLimitMs, &now)) return -1;
        const double waited = NowMs() - start;
        if (now != before) return waited;
        if (waited > kAnswerLimitMs) return -1;
        Sleep(1);
    }
}

void Report(const char* name, std::vector<double> times) {
    if (times.empty()) {
        std::printf("%s n=0\n", name);
        return;
    }
    std::sort(times.begin(), times.end());
    auto at = [&](double share) { return times[static_cast<size_t>(share * static_cast<double>(times.size() - 1))]; };
    std::printf("%s n=%zu median=%.1f p95=%.1f max=%.1f\n", name, times.size(), at(0.5), at(0.95), times.back());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: answer_times ROWS [TIMEOUT_MS]\n");
        return 64;
    }
    const long rows = std::wcstol(argv[1], nullptr, 10);
    const ULONGLONG timeout = argc > 2 ? std::wcstoull(argv[2], nullptr, 10) : 60000;

    for (ULONGLONG start = GetTickCount64(); !bench::VisibleOfClass(L"TFolderForm").empty();) {
        if (GetTickCount64() - start > 30000) {
            std::printf("busy: a menu window of an earlier run is still visible\n");
            return 3;
        }
        Sleep(20);
    }
    std::printf("ready\n");
    std::fflush(stdout);

    const ULONGLONG start = GetTickCount64();
    HWND menu = nullptr, list = nullptr;
    while (!FindMenu(rows, menu, list)) {
        if (GetTickCount64() - start >= timeout) {
            std::printf("timeout: no menu window with %ld rows\n", rows);
            return 2;
        }
        Sleep(20);
    }
    std::vector<double> sent, keys;
    int failed = 0;
    const double first = NowMs();
    for (bool turn = false; !GetPropW(menu, L"QuinceListed"); turn = !turn) {
        if (GetTickCount64() - start >= timeout || !IsWindow(menu)) {
            std::printf("timeout: the window did not become final (%zu answers)\n", sent.size() + keys.size());
            return 2;
        }
        const double waited = turn ? KeyAnswer(list) : SentAnswer(list);
        if (waited < 0) ++failed;
        else (turn ? keys : sent).push_back(waited);
        Sleep(kStepMs);
    }
    Report("sent", sent);
    Report("key", keys);
    std::printf("span=%.2f unanswered=%d\n", (NowMs() - first) / 1000.0, failed);
    return 0;
}
