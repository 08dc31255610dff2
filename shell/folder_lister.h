#pragma once
// A folder listed on a thread of its own, for a window that shows it once
// the listing is there. Listing a big folder, or one on a slow share, takes
// seconds; on the UI thread the program would take no click and no key all
// that time. The thread has its own COM apartment and binds the folder from
// its own desktop; what it hands over (item ID lists, the order, the names
// being asked) is plain memory, which any apartment may use.
#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "shell/folder_items.h"
#include "shell/shell_types.h"
#include "sys/worker_thread.h"

namespace shell {

// What a folder is listed with, on the thread that lists it.
struct TListRequest {
    DWORD flags = 0;       // SHCONTF flags
    std::wstring mask;     // for the items' own names
};

// The folder absolute names, bound and listed on the calling thread as a
// window's own shell object binds it (an item that is no folder lists
// nothing). Stops at the next item once abandoned is set.
TListedFolder ListFromDesktop(LPCITEMIDLIST absolute, const TListRequest& request,
                              const std::atomic<bool>* abandoned = nullptr);

// Where the listing is told to be there: a message posted to a window.
struct TListedNotice {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM tag = 0;  // tells one listing's notice from another's
};

class TFolderLister {
public:
    // Starts listing absolute (copied) as request says; once the listing is
    // there, posts notice unless let go meanwhile. Where no thread can be
    // had, nothing is posted and Take lists on the calling thread.
    TFolderLister(LPCITEMIDLIST absolute, TListRequest request, TListedNotice notice = {});
    // A listing still running stops at its next item and frees what it found.
    ~TFolderLister();
    TFolderLister(const TFolderLister&) = delete;
    TFolderLister& operator=(const TFolderLister&) = delete;

    // A manual-reset event set once the listing is there; null where no
    // thread lists it.
    HANDLE Finished() const noexcept;
    bool Done() const noexcept;
    // The listing, taken once, waiting for it if need be: the items, their
    // order, their names being asked (hand them your own binding: Adopt).
    // Raises what the listing raised.
    TListedFolder Take();

private:
    struct TAnswer;
    std::shared_ptr<TAnswer> answer_;
    std::optional<sys::TWorkerThread> worker_;
};

}  // namespace shell
