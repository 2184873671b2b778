// Checks that the host's enter/leave pairs around runtime calls balance on
// every thread. Both run on every runtime callback of the host, on many
// threads, so the balanced path touches only thread-local state and a few
// relaxed counters.
#pragma once

#include "bounded_log.h"
#include "thread_state.h"

#include <atomic>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>

namespace vesktool {

struct Imbalance {
    uint32_t osThread;
    uint32_t expected;  // the thread's depth, which a correct leave passes back
    uint32_t got;
};

class RuntimeGuard {
public:
    RuntimeGuard() : imbalances_(kImbalanceLimit) {}

    // The level written is the depth this enter produced, so a leave can be
    // matched to its enter.
    int enter(ThreadState& thread, uint32_t* level);
    // A leave must pass the level of the innermost open enter; anything else
    // is recorded and refused, leaving the depth as it was.
    int leave(ThreadState& thread, uint32_t level);

    void report(nlohmann::json& root) const;

private:
    static constexpr size_t kImbalanceLimit = 4096;

    void noteDepth(uint32_t depth);

    // Separate cache lines: every thread bumps these on every callback.
    alignas(64) std::atomic<uint64_t> enters_{0};
    alignas(64) std::atomic<uint64_t> leaves_{0};
    alignas(64) std::atomic<uint32_t> maxDepth_{0};
    BoundedLog<Imbalance> imbalances_;
};

}  // namespace vesktool
