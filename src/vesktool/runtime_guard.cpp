#include "runtime_guard.h"

#include "platform.h"
#include "vesk/profiling_extension.h"

#include <limits>
#include <nlohmann/json.hpp>

namespace vesktool {

int RuntimeGuard::enter(ThreadState& thread, uint32_t* level) {
    if (level == nullptr || thread.depth == std::numeric_limits<uint32_t>::max()) return vesk_er_error;
    const uint32_t depth = ++thread.depth;
    *level = depth;
    enters_.fetch_add(1, std::memory_order_relaxed);
    noteDepth(depth);
    return vesk_er_success;
}

int RuntimeGuard::leave(ThreadState& thread, uint32_t level) {
    if (thread.depth == 0 || level != thread.depth) {
        imbalances_.append({platform::currentOsThread(), thread.depth, level});
        return vesk_er_error;
    }
    --thread.depth;
    leaves_.fetch_add(1, std::memory_order_relaxed);
    return vesk_er_success;
}

void RuntimeGuard::noteDepth(uint32_t depth) {
    // Read first: the maximum rarely changes, and a plain load keeps the line
    // shared between threads instead of bouncing it on every enter.
    uint32_t deepest = maxDepth_.load(std::memory_order_relaxed);
    while (depth > deepest &&
           !maxDepth_.compare_exchange_weak(deepest, depth, std::memory_order_relaxed, std::memory_order_relaxed)) {
    }
}

void RuntimeGuard::report(nlohmann::json& root) const {
    const uint64_t enters = enters_.load(std::memory_order_relaxed);
    const uint64_t leaves = leaves_.load(std::memory_order_relaxed);
    const BoundedLog<Imbalance>::Snapshot snapshot = imbalances_.snapshot();
    nlohmann::json imbalances = nlohmann::json::array();
    for (const Imbalance& imbalance : snapshot.items) {
        imbalances.push_back(
            {{"os_thread", imbalance.osThread}, {"expected", imbalance.expected}, {"got", imbalance.got}});
    }
    root["runtime_guard"] = {
        {"enters", enters},
        {"leaves", leaves},
        {"max_depth", maxDepth_.load(std::memory_order_relaxed)},
        // Every counted enter raised one thread's depth and every counted
        // leave lowered one, so the difference is what is still open.
        {"open_at_exit", enters >= leaves ? enters - leaves : 0},
        {"imbalances", std::move(imbalances)},
        {"imbalances_dropped", snapshot.dropped},
    };
}

}  // namespace vesktool
