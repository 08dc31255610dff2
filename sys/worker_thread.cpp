#include "sys/worker_thread.h"

#include <objbase.h>

#include <mutex>
#include <system_error>
#include <utility>

#include "core/messages.h"

namespace sys {

namespace {

DWORD ApartmentFlags(TApartment kind) noexcept {
    // No OLE1 DDE window: the shell objects need none, and it would answer
    // broadcasts on the thread.
    return (kind == TApartment::Single ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED) | COINIT_DISABLE_OLE1DDE;
}

struct HandleCloser {
    void operator()(HANDLE h) const noexcept {
        if (h) CloseHandle(h);
    }
};

}  // namespace

TComApartment::TComApartment(TApartment kind) noexcept : result_(CoInitializeEx(nullptr, ApartmentFlags(kind))) {}

TComApartment::~TComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
}

ApartmentError::ApartmentError(HRESULT hr)
    : core::Error(core::messages::ErrorText(core::messages::Failure::Unknown, {}, {}, L"CoInitializeEx",
                                            static_cast<std::uint32_t>(hr))),
      hr_(hr) {}

DWORD WaitAnsweringSentMessages(HANDLE handle, DWORD timeoutMs) noexcept {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG spent = GetTickCount64() - start;
            left = spent >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - spent);
        }
        const DWORD result = MsgWaitForMultipleObjectsEx(1, &handle, left, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (result != WAIT_OBJECT_0 + 1) return result;
        // PeekMessage answers every sent message that waits, and with this
        // filter takes nothing posted out of the queue.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Shared by the thread and its owner, so that a released thread keeps what
// it uses. The thread writes error before it sets finished; the owner reads
// it after joining.
struct TWorkerThread::TState {
    std::unique_ptr<void, HandleCloser> finished;
    std::exception_ptr error;
    std::mutex lock;  // guards ended, released and report
    bool ended = false;
    bool released = false;
    TReport report;

    void Finish(std::exception_ptr raised) noexcept {
        TReport reportHere;
        {
            std::lock_guard<std::mutex> hold(lock);
            error = raised;
            ended = true;
            if (released && raised) reportHere = std::move(report);
        }
        SetEvent(finished.get());
        if (reportHere) Report(reportHere, raised);
    }

    static void Report(const TReport& to, std::exception_ptr error) noexcept {
        try {
            to(error);
        } catch (...) {
            // The report itself failed: nowhere is left to tell.
        }
    }
};

TWorkerThread::TWorkerThread(TApartment apartment, TProcedure procedure) : state_(std::make_shared<TState>()) {
    state_->finished.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!state_->finished) throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
    thread_ = std::thread(&TWorkerThread::Body, state_, apartment, std::move(procedure));
}

TWorkerThread::~TWorkerThread() {
    if (!thread_.joinable()) return;
    WaitAnsweringSentMessages(state_->finished.get());
    thread_.join();
}

void TWorkerThread::Body(std::shared_ptr<TState> state, TApartment apartment, TProcedure procedure) noexcept {
    std::exception_ptr raised;
    {
        TComApartment com(apartment);
        try {
            if (FAILED(com.Result())) throw ApartmentError(com.Result());
            procedure();
        } catch (...) {
            raised = std::current_exception();
        }
        // What the procedure holds (COM objects among it) goes while the
        // apartment is still there.
        procedure = nullptr;
    }
    state->Finish(raised);
}

HANDLE TWorkerThread::Finished() const noexcept { return state_ ? state_->finished.get() : nullptr; }

bool TWorkerThread::Done() const noexcept {
    return !state_ || WaitForSingleObject(state_->finished.get(), 0) == WAIT_OBJECT_0;
}

void TWorkerThread::Join() {
    if (!thread_.joinable()) return;
    WaitAnsweringSentMessages(state_->finished.get());
    thread_.join();
    if (std::exception_ptr raised = std::exchange(state_->error, nullptr)) std::rethrow_exception(raised);
}

void TWorkerThread::Release(TReport report) noexcept {
    if (!thread_.joinable()) return;
    std::exception_ptr raised;
    {
        std::lock_guard<std::mutex> hold(state_->lock);
        state_->released = true;
        if (state_->ended) {
            raised = state_->error;
        } else {
            state_->report = std::move(report);
        }
    }
    thread_.detach();
    // Ended already: its error is reported here, on the owner's thread.
    if (raised && report) TState::Report(report, raised);
}

}  // namespace sys
