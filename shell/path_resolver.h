#pragma once
// A path parsed into an absolute item ID list on a thread of its own.
//
// ParseDisplayName can take many seconds: a UNC path to a server that does
// not exist is only given up after the network times out (under Wine about
// 20 s). Asked on the UI thread, the program would take no click and no key
// all that time. The thread has its own COM apartment and its own desktop
// folder; the caller waits for Finished() among its messages
// (MsgWaitForMultipleObjects) and then takes the answer.
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>

#include "shell/shell_types.h"
#include "sys/worker_thread.h"

namespace shell {

// A path relative to the desktop as an absolute list, by the desktop folder
// of the calling thread's apartment. Raises ShellError naming the path.
UniquePidl ParseFromDesktop(const std::wstring& path);

class TPathResolver {
public:
    // What the thread runs; raises on failure.
    using Parse = UniquePidl (*)(const std::wstring& path);
    // Starts parsing path on a thread of its own. Where no thread can be
    // had, the path is parsed here and now.
    explicit TPathResolver(std::wstring path, Parse parse = &ParseFromDesktop);
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

private:
    struct TAnswer;
    std::shared_ptr<TAnswer> answer_;
    std::optional<sys::TWorkerThread> worker_;
};

}  // namespace shell
