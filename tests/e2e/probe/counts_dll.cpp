// quince_counts.dll: loaded into a running quince.exe by `probe --counts`
// (CreateRemoteThread on LoadLibraryW), it reads the process's own handle
// and GDI/USER object counts, which Windows and Wine answer only for the
// calling process, hands them to the probe through a named shared block and
// refuses to stay loaded (DllMain returns FALSE), so it leaves nothing behind.
#include <windows.h>

#include "counts_block.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    // Counted first: the shared block's own handle must not be among them.
    TCountsBlock counts{};
    HANDLE self = GetCurrentProcess();
    counts.handlesOk = GetProcessHandleCount(self, &counts.handles) ? 1 : 0;
    counts.gdi = GetGuiResources(self, GR_GDIOBJECTS);
    counts.user = GetGuiResources(self, GR_USEROBJECTS);
    counts.done = 1;
    wchar_t name[64];
    wsprintfW(name, kCountsBlockName, GetCurrentProcessId());
    if (HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name)) {
        if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(TCountsBlock))) {
            CopyMemory(view, &counts, sizeof counts);
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }
    return FALSE;
}
