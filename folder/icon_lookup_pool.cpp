#include "folder/icon_lookup_pool.h"

#include <objbase.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "ui/application.h"

namespace folder {

namespace {

constexpr UINT kDeliverMessage = WM_APP + 1;
constexpr wchar_t kSinkClass[] = L"QuinceIconSink";
constexpr auto kIdleExit = std::chrono::seconds(5);

struct TDelivery {
    std::uint64_t owner;
    int index;
    int icon;
    TIconDelivery deliver;
};

LRESULT CALLBACK SinkProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kDeliverMessage) {
        const auto& d = *reinterpret_cast<const TDelivery*>(lp);
        ui::Application().Guard([&] { d.deliver(d.owner, d.index, d.icon); });
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

struct WindowDeleter {
    void operator()(HWND wnd) const noexcept { if (wnd) DestroyWindow(wnd); }
};

// A message-only window of the UI thread: answers sent to it run there,
// between that thread's own messages.
HWND Sink() {
    static std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter> sink = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &SinkProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kSinkClass;
        RegisterClassW(&wc);
        return std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>(
            CreateWindowExW(0, kSinkClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
    }();
    return sink.get();
}

// Shared by the threads and the queueing side; each thread holds a
// reference, so the end of the run neither waits for them nor frees what
// they use.
struct TPool {
    std::mutex lock;
    std::condition_variable ready;
    std::deque<TIconJob> jobs;
    int threads = 0;
};

std::shared_ptr<TPool>& Pool() {
    static auto pool = std::make_shared<TPool>();
    return pool;
}

void RunJob(TIconJob& job, HWND sink) {
    TDelivery delivery{job.owner, job.index, 0, job.deliver};
    try {
        delivery.icon = job.resolver(job.absolute.get());
    } catch (...) {
        // A failing lookup shows the list's first icon and is not repeated.
        delivery.icon = 0;
    }
    job.absolute.reset();
    // Synchronous: the answer is applied before the thread takes the next
    // job. Fails at once when the sink is gone (the run is ending).
    SendMessageW(sink, kDeliverMessage, 0, reinterpret_cast<LPARAM>(&delivery));
}

void Worker(std::shared_ptr<TPool> pool, HWND sink) noexcept {
    // Shell icon handlers are apartment-threaded objects.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (;;) {
        TIconJob job;
        {
            std::unique_lock<std::mutex> hold(pool->lock);
            // An idle thread leaves; the next burst of rows starts new ones.
            if (!pool->ready.wait_for(hold, kIdleExit, [&] { return !pool->jobs.empty(); })) {
                --pool->threads;
                break;
            }
            job = std::move(pool->jobs.front());
            pool->jobs.pop_front();
        }
        RunJob(job, sink);
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace

void StartIconJob(TIconJob job) {
    HWND sink = Sink();
    std::shared_ptr<TPool> pool = Pool();
    bool grow = false;
    {
        std::lock_guard<std::mutex> hold(pool->lock);
        pool->jobs.push_back(std::move(job));
        grow = pool->threads < kIconThreads;
        if (grow) ++pool->threads;
    }
    if (grow) {
        try {
            std::thread(&Worker, pool, sink).detach();
        } catch (...) {
            // No thread to be had: the threads already running take the job.
            std::lock_guard<std::mutex> hold(pool->lock);
            --pool->threads;
        }
    }
    pool->ready.notify_one();
}

}  // namespace folder
