#pragma once
// What quince_counts.dll reports to probe --counts, in a block named after
// the process it was loaded into.
#include <windows.h>

constexpr wchar_t kCountsBlockName[] = L"Local\\QuinceCounts-%lu";

struct TCountsBlock {
    DWORD done;       // 1 once the DLL has written
    DWORD handlesOk;  // GetProcessHandleCount succeeded
    DWORD handles;
    DWORD gdi;        // GetGuiResources(GR_GDIOBJECTS)
    DWORD user;       // GetGuiResources(GR_USEROBJECTS)
    LONG gdiTable;    // live entries of the process's GDI handle table, -1 if none
};
