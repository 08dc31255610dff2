#include "folder/icon_lookup.h"

#include <atomic>
#include <unordered_map>

#include "shell/shell_types.h"
#include "shell/shell_utils.h"

namespace folder {

namespace {

int SystemIcon(LPCITEMIDLIST absolute) { return shell::GetSysIconIndex(absolute, false, false); }

std::atomic<TIconResolver> g_resolver{&SystemIcon};
std::atomic<long> g_started{0};

// Live askers by id, UI thread only. A lookup carries the id, never a
// pointer, so one that ends after its window is gone finds nothing here.
std::unordered_map<std::uint64_t, TIconLookups*>& Registry() {
    static std::unordered_map<std::uint64_t, TIconLookups*> registry;
    return registry;
}
std::uint64_t g_nextId = 1;

}  // namespace

TIconLookups::TIconLookups(TArrived arrived) : arrived_(std::move(arrived)), id_(g_nextId++) {
    Registry()[id_] = this;
}

TIconLookups::~TIconLookups() { Registry().erase(id_); }

long TIconLookups::Started() noexcept { return g_started.load(); }

TIconResolver TIconLookups::SetResolver(TIconResolver resolver) noexcept { return g_resolver.exchange(resolver); }

bool TIconLookups::Request(int index, LPCITEMIDLIST absolute) {
    if (!absolute) return false;
    TIconJob job;
    job.owner = id_;
    job.index = index;
    job.absolute = shell::PidlCopy(absolute);
    job.resolver = g_resolver.load();
    job.deliver = &TIconLookups::Deliver;
    if (!job.absolute) return false;  // no memory
    ++g_started;
    StartIconJob(std::move(job));
    return true;
}

void TIconLookups::Deliver(std::uint64_t owner, int index, int icon) {
    auto found = Registry().find(owner);
    if (found != Registry().end() && found->second->arrived_) found->second->arrived_(index, icon);
}

}  // namespace folder
