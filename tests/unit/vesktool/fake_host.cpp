#include "fake_host.h"

#include <atomic>
#include <mutex>
#include <set>

#include <sys/syscall.h>
#include <unistd.h>

namespace vesktool_test {
namespace fake_host {

namespace {

constexpr uint64_t kCanary = 0x0123456789ABCDEFull;

std::mutex lock;
std::set<const void*> live;
Stats counted{};
std::atomic<uintptr_t> nextManagedThread{0x1000};

}  // namespace

void reset() {
    std::lock_guard<std::mutex> guard(lock);
    counted = Stats{};
}

Stats stats() {
    std::lock_guard<std::mutex> guard(lock);
    return counted;
}

size_t liveRecords() {
    std::lock_guard<std::mutex> guard(lock);
    return live.size();
}

uint32_t currentOsThread() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

void* VESK_CALL allocate(void** slot) {
    Record* record = new Record{{nextManagedThread.fetch_add(1), currentOsThread()}, kCanary};
    {
        std::lock_guard<std::mutex> guard(lock);
        live.insert(record);
        ++counted.allocations;
    }
    *slot = record;
    return record;
}

void* VESK_CALL failToAllocate(void**) { return nullptr; }

void VESK_CALL release(void* data) {
    Record* record = static_cast<Record*>(data);
    {
        std::lock_guard<std::mutex> guard(lock);
        if (live.erase(record) == 0) {
            ++counted.foreignReleases;
            return;
        }
        ++counted.releases;
        counted.released.push_back({record, record->head.managed_thread, record->head.os_thread});
    }
    record->head.managed_thread = kPoisonedManagedThread;
    record->head.os_thread = 0;
    record->canary = 0;
    delete record;
}

}  // namespace fake_host
}  // namespace vesktool_test
