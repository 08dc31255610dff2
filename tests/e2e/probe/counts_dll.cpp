// quince_counts.dll: loaded into a running quince.exe by `probe --counts`
// (CreateRemoteThread on LoadLibraryW), it reads the process's own handle
// and GDI/USER object counts, which Windows and Wine answer only for the
// calling process, hands them to the probe through a named shared block and
// refuses to stay loaded (DllMain returns FALSE), so it leaves nothing behind.
#include <windows.h>
#include <winternl.h>

#include "counts_block.h"

namespace {

// Wine answers GetGuiResources with 0; its GDI objects are entries of the
// handle table the PEB points at (GdiSharedHandleTable, offset 0xF8 in a
// 64-bit PEB): 65,536 entries of 24 bytes, a non-zero type byte at offset 14
// marking a live object.
LONG CountGdiTableEntries() {
    using QueryFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
    const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
    if (!table) return -1;
    LONG live = 0;
    for (int i = 0; i < 0x10000; ++i) live += table[i * 24 + 14] != 0 ? 1 : 0;
    return live;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    // Counted first: the shared block's own handle must not be among them.
    TCountsBlock counts{};
    HANDLE self = GetCurrentProcess();
    counts.handlesOk = GetProcessHandleCount(self, &counts.handles) ? 1 : 0;
    counts.gdi = GetGuiResources(self, GR_GDIOBJECTS);
    counts.user = GetGuiResources(self, GR_USEROBJECTS);
    counts.gdiTable = CountGdiTableEntries();
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
