#include "wndinfo/wnd_info.h"

#include <algorithm>
#include <exception>

#include "core/wildcard.h"

namespace wndinfo {
namespace {

// MAX_PATH plus the terminating NUL, so a caption or class name keeps at most
// 260 characters; longer captions are cut before any mask sees them.
constexpr int kTextBufferSize = MAX_PATH + 1;

// The text a Get*W call left in `buffer`, up to the first NUL. A call that
// failed (typically on a window destroyed while someone enumerates) reports 0
// and gives the empty string. The count is clamped because a window procedure
// of our own process answers WM_GETTEXT itself and may report any count.
std::wstring TextFromBuffer(const wchar_t* buffer, int copied) {
    if (copied <= 0) return {};
    const auto limit = std::min<std::size_t>(static_cast<std::size_t>(copied), kTextBufferSize - 1);
    return std::wstring(buffer, std::find(buffer, buffer + limit, L'\0'));
}

// One search in progress. It travels through EnumWindows' LPARAM, so searches
// share nothing and a window procedure that searches again while answering
// our WM_GETTEXT cannot disturb the outer search.
struct Search {
    DWORD processId;
    const std::wstring& classMask;
    const std::wstring& captionMask;
    HWND found = nullptr;
    std::exception_ptr error;
};

// Must not let an exception unwind through EnumWindows (a malformed mask
// raises MaskError, copying a name may raise bad_alloc): it is parked in the
// search and the enumeration stops.
BOOL CALLBACK MatchTopLevelWindow(HWND wnd, LPARAM param) noexcept {
    auto& search = *reinterpret_cast<Search*>(param);
    try {
        DWORD processId = 0;
        // A window destroyed since EnumWindows took its snapshot yields no
        // thread and is skipped rather than compared with a zero process ID.
        if (GetWindowThreadProcessId(wnd, &processId) == 0 || processId != search.processId) return TRUE;
        if (!WindowMatches(wnd, search.classMask, search.captionMask)) return TRUE;
        search.found = wnd;
    } catch (...) {
        search.error = std::current_exception();
    }
    return FALSE;
}

}  // namespace

std::wstring GetWindowCaption(HWND wnd) {
    wchar_t buffer[kTextBufferSize] = {};
    return TextFromBuffer(buffer, GetWindowTextW(wnd, buffer, kTextBufferSize));
}

std::wstring GetWindowClass(HWND wnd) {
    wchar_t buffer[kTextBufferSize] = {};
    return TextFromBuffer(buffer, GetClassNameW(wnd, buffer, kTextBufferSize));
}

bool WindowMatches(HWND wnd, const std::wstring& classMask, const std::wstring& captionMask) {
    // Both texts are read before either is tested, so a window sees the same
    // requests whatever the masks are.
    const std::wstring className = GetWindowClass(wnd);
    const std::wstring caption = GetWindowCaption(wnd);
    return core::MatchesMask(className, classMask) && core::MatchesMask(caption, captionMask);
}

HWND FindProcessWindow(DWORD processId, const std::wstring& classMask, const std::wstring& captionMask) {
    Search search{processId, classMask, captionMask};
    // EnumWindows reports failure both for a real error and for a callback
    // that stopped early; the search result alone tells what happened.
    EnumWindows(MatchTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    if (search.error) std::rethrow_exception(search.error);
    return search.found;
}

}  // namespace wndinfo
