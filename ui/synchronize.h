#pragma once
// Handing work from other threads to the UI thread. It goes through a
// message-only window of the UI thread (TApplication::Initialize makes it),
// so it runs there between that thread's own messages. The window is one of
// its own, not the application window: that one is a top-level popup, as it
// must be to hear WM_ACTIVATEAPP.
#include <exception>
#include <functional>

namespace ui {

// Runs fn on the UI thread and waits for it (it is a SendMessage); an
// exception in fn travels back and is raised here. On the UI thread itself fn
// runs at once. False, and fn not run, when the UI thread takes no more work
// (its window is gone, or was never made).
bool Synchronize(const std::function<void()>& fn);

// Hands error to the application's error report on the UI thread, without
// waiting for it. Dropped when the UI thread takes no more work.
void ReportOnUiThread(std::exception_ptr error) noexcept;

// Makes the UI thread's window: called on the UI thread, once. report shows
// the errors handed to ReportOnUiThread (the application's error report).
void OpenSynchronizeWindow(std::function<void(std::exception_ptr)> report);

}  // namespace ui
