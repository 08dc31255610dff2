#include "folder/icon_lookup_pool.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

#include "sys/worker_thread.h"
#include "ui/application.h"
#include "ui/synchronize.h"

namespace folder {

namespace {

constexpr auto kIdleExit = std::chrono::seconds(5);

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

void RunJob(TIconJob& job) {
    int icon = 0;
    try {
        icon = job.resolver(job.absolute.get());
    } catch (...) {
        // A failing lookup shows the list's first icon and is not repeated.
        icon = 0;
    }
    job.absolute.reset();
    // Synchronous: the answer is applied before the thread takes the next
    // job. Nothing happens once the UI thread takes no more work (the run
    // is ending).
    ui::Synchronize([&] { ui::Application().Guard([&] { job.deliver(job.owner, job.index, icon); }); });
}

void Work(TPool& pool) {
    for (;;) {
        TIconJob job;
        {
            std::unique_lock<std::mutex> hold(pool.lock);
            // An idle thread leaves; the next burst of rows starts new ones.
            if (!pool.ready.wait_for(hold, kIdleExit, [&] { return !pool.jobs.empty(); })) {
                --pool.threads;
                return;
            }
            job = std::move(pool.jobs.front());
            pool.jobs.pop_front();
        }
        RunJob(job);
    }
}

// A thread that ends by an error gives its place back (the jobs it left
// wait for the others, or the next one started), and the error is reported.
void ThreadFailed(TPool& pool, std::exception_ptr error) noexcept {
    {
        std::lock_guard<std::mutex> hold(pool.lock);
        --pool.threads;
    }
    ui::ReportOnUiThread(error);
}

}  // namespace

void StartIconJob(TIconJob job) {
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
            // Shell icon handlers are apartment-threaded objects.
            sys::TWorkerThread thread(sys::TApartment::Single, [pool] { Work(*pool); });
            thread.Release([pool](std::exception_ptr error) { ThreadFailed(*pool, error); });
        } catch (...) {
            // No thread to be had: the threads already running take the job.
            std::lock_guard<std::mutex> hold(pool->lock);
            --pool->threads;
        }
    }
    pool->ready.notify_one();
}

}  // namespace folder
