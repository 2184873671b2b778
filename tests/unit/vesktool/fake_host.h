// Stands in for the profiler's side of the per-thread data: allocates records
// whose head names the allocating thread, and checks every release.
#pragma once

#include "vesk/profiling_extension.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesktool_test {
namespace fake_host {

struct Record {
    vesk_thread_data_head head;
    uint64_t canary;
};

// What a released record's head is overwritten with before it is freed, so a
// head read after the release shows up as this value.
constexpr uintptr_t kPoisonedManagedThread = static_cast<uintptr_t>(0x5EADBEEFDEADBEEFull);

struct Released {
    const void* record;
    uintptr_t managedThread;
    uint32_t osThread;
};

struct Stats {
    uint64_t allocations;
    uint64_t releases;
    // Releases of records this host never handed out or already took back.
    uint64_t foreignReleases;
    std::vector<Released> released;
};

// Forgets everything counted; records still live stay live.
void reset();
Stats stats();
size_t liveRecords();

uint32_t currentOsThread();

void* VESK_CALL allocate(void** slot);
// Behaves like a host that is out of memory: stores and answers nothing.
void* VESK_CALL failToAllocate(void** slot);
void VESK_CALL release(void* record);

}  // namespace fake_host
}  // namespace vesktool_test
