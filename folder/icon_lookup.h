#pragma once
// Icon lookups of one menu window's entries. Asking the shell for an icon
// index can take milliseconds per item (it may read the file), so it runs on
// a few background threads with COM apartments of their own; the answer is
// handed back on the UI thread to the window that asked, which stores it
// and redraws its own row.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>

#include "folder/icon_lookup_pool.h"

namespace folder {

class TIconLookups {
public:
    // Told on the UI thread that entry index's icon came in (-1: the shell
    // has none).
    using TArrived = std::function<void(int index, int icon)>;

    explicit TIconLookups(TArrived arrived);
    // Answers that arrive after this are dropped.
    ~TIconLookups();
    TIconLookups(const TIconLookups&) = delete;
    TIconLookups& operator=(const TIconLookups&) = delete;

    // Starts a lookup for entry index, which keeps its own copy of absolute;
    // false when none could be started (asked again later). UI thread.
    bool Request(int index, LPCITEMIDLIST absolute);

    // Lookups started in this process.
    static long Started() noexcept;
    // Replaces what the lookup threads call (tests); gives the previous one.
    static TIconResolver SetResolver(TIconResolver resolver) noexcept;

private:
    // The UI thread's end of a finished lookup: nothing when the asker is gone.
    static void Deliver(std::uint64_t owner, int index, int icon);

    TArrived arrived_;
    std::uint64_t id_;
};

}  // namespace folder
