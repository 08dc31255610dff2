#pragma once
// The threads that run icon lookups, and the hand-back to the UI thread.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "shell/shell_types.h"

namespace folder {

// Asks for the small, closed system icon index of an absolute list; -1 when
// the shell has none. Runs on a lookup thread.
using TIconResolver = int (*)(LPCITEMIDLIST absolute);
// Takes a finished lookup's answer on the UI thread.
using TIconDelivery = void (*)(std::uint64_t owner, int index, int icon);

struct TIconJob {
    std::uint64_t owner = 0;            // who asked, told back with the answer
    int index = -1;                     // the entry asked for
    shell::UniquePidl absolute;         // the lookup's own copy
    TIconResolver resolver = nullptr;
    TIconDelivery deliver = nullptr;
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
