#pragma once
// Shared pieces of the base window tests: the shell layer for the whole run,
// a captured debugger output, a quit-message probe and a scoped base window.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/base_form.h"

namespace apptest {

// Every OutputDebugString line of the process while alive (a vectored
// exception handler sees the debug-print exceptions before anyone else).
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;
    std::vector<std::wstring> Lines() const;
    void Clear();
};

// True (and removes it) when a quit message is waiting: the main form closed.
bool TakeQuitMessage();

// A created, shown base window that is the application's main form.
struct ScopedBaseForm {
    ScopedBaseForm();
    ~ScopedBaseForm();
    app::TBaseForm* operator->() const { return form.get(); }
    std::unique_ptr<app::TBaseForm> form;
};

// A thread of another process, as WM_ACTIVATEAPP names the thread that takes
// activation (the desktop window's: another process under Windows and Wine).
LPARAM AnotherProgramsThread();

// One turn of the message loop's idle processing; returns Done.
bool IdleTurn();

// Pumps messages for about ms milliseconds (0: what waits now), leaving a
// quit message in the queue (a filtered PeekMessage is no help: Wine hands
// WM_QUIT to any filter).
void Pump(DWORD ms);

}  // namespace apptest
