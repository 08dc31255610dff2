#pragma once
// The system's list of small icons. Binding to it the first time costs the
// shell a tenth of a second or more (it loads its stock icons), and a menu
// window needs it only once its icons are drawn, so it is asked for on a
// thread of its own at start-up while the first windows are made.
#include <windows.h>
#include <commctrl.h>

namespace shell {

// Starts asking for the list; once per run, after ShellStartup.
void PrefetchSmallIconList();
// The list (shared by the whole process: never destroyed by us), or null.
// Waits for the prefetch to end when one runs.
HIMAGELIST SmallIconList();

}  // namespace shell
