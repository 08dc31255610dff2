#pragma once
// A path parsed into an absolute item ID list on a thread of its own, and,
// when asked, the folder it names listed there too.
//
// ParseDisplayName can take many seconds: a UNC path to a server that does
// not exist is only given up after the network times out (under Wine about
// 20 s), and a folder on a slow share or with many items takes as long to
// list. Asked on the UI thread, the program would take no click and no key
// all that time. The thread has its own COM apartment and its own desktop
// folder; the caller waits for Finished() among its messages
// (MsgWaitForMultipleObjects) and then takes the answer. What the thread
// hands over is plain memory (item ID lists on the shell allocator, names),
// which any apartment may use.
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>

#include "shell/folder_lister.h"
#include "shell/shell_types.h"
#include "sys/worker_thread.h"

namespace shell {

// A path relative to the desktop as an absolute list, by the desktop folder
// of the calling thread's apartment; the empty path is the desktop itself.
// Raises ShellError naming the path.
UniquePidl ParseFromDesktop(const std::wstring& path);

class TPathResolver {
public:
    // What the thread runs; raises on failure.
    using Parse = UniquePidl (*)(const std::wstring& path);
    // Starts parsing path on a thread of its own, and then listing the
    // folder found as list says. Where no thread can be had, the path is
    // parsed here and now, and the listing is left to the caller.
    explicit TPathResolver(std::wstring path, Parse parse = &ParseFromDesktop,
                           std::optional<TListRequest> list = std::nullopt);
    // A thread still parsing is left to finish alone; it frees what it finds.
    ~TPathResolver();
    TPathResolver(const TPathResolver&) = delete;
    TPathResolver& operator=(const TPathResolver&) = delete;

    // A manual-reset event, set once the answer is there; asked only while
    // not Done.
    HANDLE Finished() const noexcept;
    bool Done() const noexcept;
    // Once Done: the absolute list (the caller owns it), or the ShellError
    // that PathToPidl raised, naming the path. Taken once.
    UniquePidl Take();
    // After Take, when a listing was asked and the path was found: whether
    // the folder was listed here (false: no thread, or nothing asked).
    bool Listed() const noexcept;
    // The listing, taken once: the items, their order, their names being
    // asked (hand the names your own binding of the folder: Adopt). Raises
    // what the listing raised (a folder that cannot be enumerated, a bad
    // mask).
    TListedFolder TakeListing();

private:
    struct TAnswer;
    std::shared_ptr<TAnswer> answer_;
    std::optional<sys::TWorkerThread> worker_;
};

}  // namespace shell
