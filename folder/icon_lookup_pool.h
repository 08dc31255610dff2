#pragma once
// The threads that run icon lookups, and the hand-back to the UI thread.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "folder/icon_lookup.h"
#include "shell/shell_types.h"

namespace folder {

struct TIconJob {
    std::uint64_t owner = 0;            // TIconLookups id, checked on the UI thread
    int index = -1;                     // row when the lookup started
    const ui::TMenuItem* item = nullptr;  // compared, never read, off the UI thread
    shell::UniquePidl absolute;         // the lookup's own copy
    TIconResolver resolver = nullptr;
};

// Queues job for the lookup threads; called on the UI thread, which must
// pump messages for the answer to arrive.
void StartIconJob(TIconJob job);

// Number of lookup threads. Four came out level with a thread per lookup
// for the rows of a tall window under Wine (the first window of a folder asks
// for some fifty icons at once), and keep a fast scroll through a long folder
// from starting a thread, and a COM apartment, for every row it passes.
constexpr int kIconThreads = 4;

}  // namespace folder
