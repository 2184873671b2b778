#include "location_calls.h"

#include "thread_records.h"

#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace vesktool {

namespace {

thread_local void* t_locations = nullptr;

}  // namespace

uint64_t LocationCalls::currentEra() noexcept {
    GetEra getEra = getEra_.get();
    return getEra != nullptr ? getEra() : 0;
}

LocationCalls::ThreadLocations* LocationCalls::threadLocations(int32_t managedThread) noexcept {
    return threadRecord(t_locations, managedThread, lock_, threads_);
}

void LocationCalls::report(int32_t managedThread, uintptr_t address, uint64_t era) noexcept {
    // Asked before the lock below: the profiler's answer takes no lock of ours.
    const uint64_t now = currentEra();
    ThreadLocations* mine = threadLocations(managedThread);
    if (mine == nullptr) return;
    std::lock_guard<std::mutex> hold(mine->lock);
    ++mine->reports;
    if (era == 0 || era != now || address == 0) {
        ++mine->moved;
        return;
    }
    try {
        auto found = mine->counts.find(Key{address, era});
        if (found != mine->counts.end()) {
            ++found->second;
        } else if (mine->counts.size() < kMaxPerThread) {
            mine->counts.emplace(Key{address, era}, 1);
        } else {
            ++mine->untracked;
        }
    } catch (...) {
        ++mine->untracked;
    }
}

void LocationCalls::report(nlohmann::json& root) const {
    uint64_t reports = 0, moved = 0, untracked = 0;
    std::map<std::pair<uintptr_t, uint64_t>, std::set<int32_t>> threadsOf;
    std::lock_guard<std::mutex> hold(lock_);
    for (const ThreadLocations* thread : threads_) {
        std::lock_guard<std::mutex> holdThread(thread->lock);
        reports += thread->reports;
        moved += thread->moved;
        untracked += thread->untracked;
        for (const auto& entry : thread->counts)
            threadsOf[{entry.first.address, entry.first.era}].insert(thread->managedThread);
    }
    if (reports == 0) return;
    uint64_t shared = 0;
    for (const auto& location : threadsOf) shared += location.second.size() > 1 ? 1 : 0;
    root["locations"] = {{"reports", reports},
                         {"moved", moved},
                         {"untracked", untracked},
                         {"distinct", threadsOf.size()},
                         {"shared", shared}};
}

}  // namespace vesktool
