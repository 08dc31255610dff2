#pragma once
// Threads that work for the UI thread: each runs one procedure in a COM
// apartment of its own, behind an exception barrier. What the procedure
// raises is carried back to whoever joins the thread, or, for a thread let go
// to finish alone, handed to a report function; it never crosses the thread's
// entry. The way back to the UI thread itself is ui::Synchronize.
//
// The UI thread never blocks on a worker without answering the messages sent
// to it (WaitAnsweringSentMessages): a worker that sends it a message while
// it waits would otherwise wait for it in turn.
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "core/error.h"

namespace sys {

enum class TApartment {
    Single,  // STA: shell objects, which are apartment-threaded
    Multi,   // MTA
};

// The calling thread in a COM apartment of the given kind for the object's
// life; left only if entering took, so a thread already in one keeps its
// own count.
class TComApartment {
public:
    explicit TComApartment(TApartment kind) noexcept;
    ~TComApartment();
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

    // CoInitializeEx's answer: S_OK, S_FALSE (already in one), or a failure.
    HRESULT Result() const noexcept { return result_; }

private:
    HRESULT result_;
};

// A worker's apartment could not be entered; its procedure never ran.
class ApartmentError : public core::Error {
public:
    explicit ApartmentError(HRESULT hr);
    HRESULT Result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// Waits for handle to be set or timeoutMs to pass, meanwhile answering the
// messages other threads send to this one. Posted messages and input stay in
// the queue for the message loop: nothing of the caller's own runs inside
// the wait. Gives WaitForSingleObject's answer.
DWORD WaitAnsweringSentMessages(HANDLE handle, DWORD timeoutMs = INFINITE) noexcept;

class TWorkerThread {
public:
    using TProcedure = std::function<void()>;
    // Takes the exception a released thread ended with (on that thread).
    using TReport = std::function<void(std::exception_ptr)>;

    // Starts procedure on a thread of its own, in an apartment of the given
    // kind. Raises std::system_error when no thread can be had.
    TWorkerThread(TApartment apartment, TProcedure procedure);
    // Unless released: waits for the thread as Join does and joins it. An
    // exception not taken by Join goes with it: the owner wants no answer.
    ~TWorkerThread();
    TWorkerThread(TWorkerThread&&) noexcept = default;
    TWorkerThread& operator=(TWorkerThread&&) = delete;

    // A manual-reset event, set once the procedure has returned or raised.
    HANDLE Finished() const noexcept;
    bool Done() const noexcept;
    // Waits for the end, answering sent messages meanwhile, joins the
    // thread and raises what the procedure raised.
    void Join();
    // Lets the thread finish alone; it frees what it holds. An exception it
    // ends with goes to report, or nowhere without one.
    void Release(TReport report = nullptr) noexcept;

private:
    struct TState;
    static void Body(std::shared_ptr<TState> state, TApartment apartment, TProcedure procedure) noexcept;

    std::shared_ptr<TState> state_;
    std::thread thread_;
};

}  // namespace sys
