// The per-thread data slots the host keeps in the tool, and the process-wide
// list of them that lets one thread release every thread's record.
#pragma once

#include "bounded_log.h"
#include "thread_state.h"
#include "vesk/profiling_extension.h"

#include <atomic>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>

namespace vesktool {

// A slot belongs to one thread and stays in the registry for the life of the
// library, even after the thread ends: its record may still need releasing,
// and nothing tells us reliably when a thread is gone. That costs a few bytes
// per thread that ever asked for data.
struct ThreadSlot {
    std::atomic<void*> record{nullptr};
    uint32_t osThread = 0;
    ThreadSlot* next = nullptr;  // fixed once the slot is published
};

// Who a record said it belonged to when it was released or seen at exit.
struct ThreadAssignment {
    uint64_t managedThread;
    uint32_t osThread;
    uint32_t slotOsThread;  // the thread that owned the slot, to compare with
    bool heldAtExit;
};

class ThreadRegistry {
public:
    ThreadRegistry() : assignments_(kAssignmentLimit) {}
    ~ThreadRegistry();
    ThreadRegistry(const ThreadRegistry&) = delete;
    ThreadRegistry& operator=(const ThreadRegistry&) = delete;

    void countGetCall() { getCalls_.fetch_add(1, std::memory_order_relaxed); }

    // The calling thread's record, allocated through the host when the slot is
    // empty. Null when there is none and none could be made.
    void* get(ThreadState& thread, vesk_allocate_thread_data_fn allocate);

    // Hands every thread's record to release, noting its head first; the slots
    // are left empty, so their threads get fresh records when they next ask.
    void releaseAll(vesk_free_thread_data_fn release);

    void report(nlohmann::json& root) const;

private:
    static constexpr size_t kAssignmentLimit = 1 << 16;

    ThreadSlot* addSlot();

    std::atomic<ThreadSlot*> slots_{nullptr};
    std::atomic<uint64_t> threads_{0};
    std::atomic<uint64_t> getCalls_{0};
    std::atomic<uint64_t> allocated_{0};
    std::atomic<uint64_t> released_{0};
    BoundedLog<ThreadAssignment> assignments_;
};

}  // namespace vesktool
