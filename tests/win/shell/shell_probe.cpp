// A do-nothing DLL that the DLL search order test plants in a current
// directory.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
