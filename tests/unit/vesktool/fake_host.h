// Stands in for the profiler's side of the per-thread data: allocates records
// whose head names the allocating thread, and checks every release.
#pragma once

#include "vesk/profiling_extension.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <vector>

#include <sys/syscall.h>
#include <unistd.h>

namespace fake_host {

struct Stats {
    uint64_t allocations = 0;
    // Releases of records this host never handed out or already took back.
    uint64_t foreignReleases = 0;
    std::vector<const void*> released;
    std::set<const void*> live;
};

inline std::mutex lock;
inline Stats stats;
inline std::atomic<uintptr_t> nextManagedThread{0x1000};

inline uint32_t currentOsThread() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

inline void* VESK_CALL allocate(void** slot) {
    auto* record = new vesk_thread_data_head{nextManagedThread.fetch_add(1), currentOsThread()};
    std::lock_guard<std::mutex> guard(lock);
    stats.live.insert(record);
    ++stats.allocations;
    return *slot = record;
}

inline void* VESK_CALL failToAllocate(void**) { return nullptr; }

// Overwrites the head before freeing it, so a head read after the release
// does not look like the one handed out.
inline void VESK_CALL release(void* data) {
    auto* record = static_cast<vesk_thread_data_head*>(data);
    {
        std::lock_guard<std::mutex> guard(lock);
        if (stats.live.erase(record) == 0) {
            ++stats.foreignReleases;
            return;
        }
        stats.released.push_back(record);
    }
    *record = vesk_thread_data_head{0x5EADBEEF, 0};
    delete record;
}

}  // namespace fake_host
