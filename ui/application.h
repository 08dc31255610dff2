#pragma once
// The application object: message loop with idle processing, activation
// tracking, processing of pending messages on demand and the report of errors
// that escape event handlers.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "ui/method.h"

namespace ui {

class TObject {
public:
    virtual ~TObject() = default;
};

// What the application asks of its main form: shown by Run, and the owner
// of its message boxes while it is up.
class IMainForm {
public:
    virtual HWND Handle() const noexcept = 0;
    virtual bool Visible() const noexcept = 0;
    virtual void Show() = 0;

protected:
    ~IMainForm() = default;
};
class TApplicationEvents;

using TNotifyEvent = TMethod<TObject*>;
using TIdleEvent = TMethod<TObject*, bool&>;

class TApplication final : public TObject {
public:
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    static TApplication& Instance();

    // Registers the window classes and creates the application's own hidden
    // window and the UI thread's window for other threads (ui/synchronize.h).
    // Idempotent.
    void Initialize();
    // When true, the main form carries the taskbar button instead of the
    // application's own window.
    bool MainFormOnTaskBar = false;
    std::wstring Title = L"Quince";

    HWND Handle() const noexcept { return handle_; }
    IMainForm* MainForm() const noexcept { return mainForm_; }
    void SetMainForm(IMainForm* form) noexcept { mainForm_ = form; }

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    // Dispatches every message waiting in the queue, then returns.
    void ProcessMessages();
    // Ends the message loop (posts a quit message).
    void Terminate();
    bool Terminated() const noexcept { return terminated_; }

    // Shows the current exception (call inside a catch block) in a message
    // box; the program goes on. Never throws.
    void HandleException() noexcept;
    // One report at a time: errors raised while a report is showing (a
    // paint under the box, the next of many rows, a nested menu loop) are
    // counted, not stacked as more boxes; when the box closes, one more
    // report gives their number (BurstText). Errors during that one are
    // dropped, so a fault that recurs on every paint cannot chain boxes.
    void ShowException(const std::exception_ptr& error) noexcept;
    // Text shown for an exception.
    static std::wstring ExceptionText(const std::exception_ptr& error);
    // Text of the report that follows a burst of count further errors.
    static std::wstring BurstText(int count);
    // Replaces the message box, e.g. in tests; receives the text.
    std::function<void(const std::wstring&)> OnException;

    // Runs fn, sending any exception to HandleException. For window procedures,
    // COM callbacks and thread entries, which no C++ exception may cross.
    template <typename Fn>
    void Guard(Fn&& fn) noexcept {
        try {
            fn();
        } catch (...) {
            HandleException();
        }
    }

    // The same for a COM method we implement, which answers an HRESULT: an
    // exception is reported and the caller is told E_UNEXPECTED.
    template <typename Fn>
    HRESULT GuardHr(Fn&& fn) noexcept {
        try {
            return fn();
        } catch (...) {
            HandleException();
            return E_UNEXPECTED;
        }
    }

    bool Active() const noexcept { return active_; }
    // Called by every form on WM_ACTIVATEAPP. The deactivate event is raised
    // once per loss of activation, and only for a loss that lasts
    // kDeactivateGraceMs: under Wine the X focus can leave the program for a
    // moment while it passes between two of its own windows (a message box
    // appearing, say), and that is no switch to another program.
    // otherThread is the message's lParam: on a loss, the thread that gets
    // activation. A thread of this process (the shell's property sheet,
    // progress dialogs and "Open with" run on threads of their own in our
    // process) is no loss. 0 means unknown (Wine passes it whenever the X
    // focus moves, to another program or to another thread of ours): such a
    // loss counts unless, when the grace is over, a window of this process
    // holds the foreground. A named thread of another process always counts.
    void ActivateAppChanged(bool active, DWORD otherThread = 0);
    static constexpr UINT kDeactivateGraceMs = 100;
    // True when threadId names a thread of the current process.
    static bool IsThreadOfThisProcess(DWORD threadId) noexcept;

    // Raises the idle event of every events component; Done starts true.
    // Returns Done.
    bool DoIdle();

private:
    friend class TApplicationEvents;
    TApplication() = default;
    bool ProcessMessage(MSG& msg);
    void RaiseDeactivate();
    static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND handle_ = nullptr;
    IMainForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool active_ = true;
    bool deactivatePending_ = false;
    bool lossUnnamed_ = false;  // the pending loss named no thread
    bool reporting_ = false;    // an error report is showing
    int unreported_ = 0;        // errors raised while it showed
    std::vector<TApplicationEvents*> events_;
};

// The global application object.
inline TApplication& Application() { return TApplication::Instance(); }

// Gives its owner the application's idle and deactivate events.
class TApplicationEvents final : public TObject {
public:
    TApplicationEvents();
    ~TApplicationEvents() override;
    TApplicationEvents(const TApplicationEvents&) = delete;
    TApplicationEvents& operator=(const TApplicationEvents&) = delete;

    TIdleEvent OnIdle;
    TNotifyEvent OnDeactivate;
};

}  // namespace ui
