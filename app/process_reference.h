#pragma once
// The process reference the shell holds while it works for us. Shell
// operations started by a command (a paste or delete with its progress
// dialog, "Open with") may go on on threads of this process after
// InvokeCommand has returned; they take a reference on this object
// (SHGetInstanceExplorer) and release it when done. The run's end waits for
// that, so closing the last menu does not cut a copy off half-way.
#include <windows.h>
#include <unknwn.h>

#include <chrono>

namespace app {

// How long the end of the run waits for the shell's references. A copy or
// move of many gigabytes to a slow network share, with its progress dialog,
// can run for a long time, and cutting it off leaves a half-written file:
// the worse fault. A reference that a broken extension never releases costs
// only an idle process without windows (the wait sleeps between messages).
// An hour covers the long copy and still ends such a leftover.
inline constexpr std::chrono::minutes kShellWorkWaitLimit{60};

class TProcessReference final : public IUnknown {
public:
    // Starts with one reference: our own, dropped by ReleaseAndWait.
    TProcessReference();
    ~TProcessReference();
    TProcessReference(const TProcessReference&) = delete;
    TProcessReference& operator=(const TProcessReference&) = delete;

    // Hands the object to the shell (SHSetInstanceExplorer).
    void Register() noexcept;
    // Withdraws the object from the shell, drops our own reference, then
    // dispatches messages (without spinning) until every reference the shell
    // took has been released or limit has passed. True when all were
    // released. Call on the thread that created the object. The object
    // must then outlive any late release: on false, keep it alive.
    bool ReleaseAndWait(std::chrono::milliseconds limit) noexcept;
    // References held now, our own included until ReleaseAndWait.
    ULONG References() const noexcept;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

private:
    volatile LONG references_ = 1;
    // Set when the last reference goes: wakes the waiting thread, which may
    // sit in MsgWaitForMultipleObjectsEx while a shell thread releases.
    HANDLE released_;
    bool registered_ = false;
    bool ownReleased_ = false;
};

}  // namespace app
