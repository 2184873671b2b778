// Checks that the host's enter/leave pairs around runtime calls balance on
// every thread. Both run on every runtime callback of the host, and around
// every identity look-up, on many threads, so the balanced path touches only
// the thread's own state: a shared counter would cost a locked add each.
#pragma once

#include "bounded_log.h"
#include "thread_state.h"

#include "vesk/profiling_extension.h"

#include <atomic>
#include <cstdint>
#include <limits>
#include <nlohmann/json_fwd.hpp>

namespace vesktool {

struct Imbalance {
    uint32_t osThread;
    uint32_t expected;  // the thread's depth, which a correct leave passes back
    uint32_t got;
};

// One thread's enters and leaves, written only by that thread. Kept for the
// life of the process, so that threads that ended still count.
struct GuardCounts {
    std::atomic<uint64_t> enters{0};
    std::atomic<uint64_t> leaves{0};
    GuardCounts* next = nullptr;
};

class RuntimeGuard {
public:
    RuntimeGuard() : imbalances_(kImbalanceLimit) {}

    // The level written is the depth this enter produced, so a leave can be
    // matched to its enter.
    int enter(ThreadState& thread, uint32_t* level) {
        if (level == nullptr || thread.depth == std::numeric_limits<uint32_t>::max()) return vesk_er_error;
        const uint32_t depth = ++thread.depth;
        *level = depth;
        if (GuardCounts* counts = countsOf(thread))
            bump(counts->enters);
        else
            enters_.fetch_add(1, std::memory_order_relaxed);
        // Read first: the maximum rarely changes, and a plain load keeps the
        // line shared between threads instead of bouncing it on every enter.
        if (depth > maxDepth_.load(std::memory_order_relaxed)) noteDepth(depth);
        return vesk_er_success;
    }
    // A leave must pass the level of the innermost open enter; anything else
    // is recorded and refused, leaving the depth as it was.
    int leave(ThreadState& thread, uint32_t level) {
        if (thread.depth == 0 || level != thread.depth) return refuseLeave(thread, level);
        --thread.depth;
        // An enter came first on this thread, so its counts exist unless
        // memory ran out then.
        if (GuardCounts* counts = thread.guardCounts)
            bump(counts->leaves);
        else
            leaves_.fetch_add(1, std::memory_order_relaxed);
        return vesk_er_success;
    }

    void report(nlohmann::json& root) const;

private:
    static constexpr size_t kImbalanceLimit = 4096;

    // Only the owning thread writes its counts: no locked add.
    static void bump(std::atomic<uint64_t>& count) {
        count.store(count.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    }
    GuardCounts* countsOf(ThreadState& thread) {
        return thread.guardCounts != nullptr ? thread.guardCounts : firstCounts(thread);
    }
    GuardCounts* firstCounts(ThreadState& thread);
    int refuseLeave(ThreadState& thread, uint32_t level);
    void noteDepth(uint32_t depth);

    // Every thread's counts, newest first.
    std::atomic<GuardCounts*> threads_{nullptr};
    // Counts of threads that could not get their own (out of memory).
    alignas(64) std::atomic<uint64_t> enters_{0};
    alignas(64) std::atomic<uint64_t> leaves_{0};
    alignas(64) std::atomic<uint32_t> maxDepth_{0};
    BoundedLog<Imbalance> imbalances_;
};

}  // namespace vesktool
