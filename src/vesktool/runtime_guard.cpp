#include "runtime_guard.h"

#include "platform.h"
#include "vesk/profiling_extension.h"

#include <new>
#include <nlohmann/json.hpp>

namespace vesktool {

int RuntimeGuard::refuseLeave(ThreadState& thread, uint32_t level) {
    imbalances_.append({platform::currentOsThread(), thread.depth, level});
    return vesk_er_error;
}

GuardCounts* RuntimeGuard::firstCounts(ThreadState& thread) {
    GuardCounts* counts = new (std::nothrow) GuardCounts();
    if (counts == nullptr) return nullptr;
    counts->next = threads_.load(std::memory_order_relaxed);
    while (!threads_.compare_exchange_weak(counts->next, counts, std::memory_order_release, std::memory_order_relaxed)) {
    }
    thread.guardCounts = counts;
    return counts;
}

void RuntimeGuard::noteDepth(uint32_t depth) {
    uint32_t deepest = maxDepth_.load(std::memory_order_relaxed);
    while (depth > deepest &&
           !maxDepth_.compare_exchange_weak(deepest, depth, std::memory_order_relaxed, std::memory_order_relaxed)) {
    }
}

void RuntimeGuard::report(nlohmann::json& root) const {
    uint64_t enters = enters_.load(std::memory_order_relaxed);
    uint64_t leaves = leaves_.load(std::memory_order_relaxed);
    for (const GuardCounts* t = threads_.load(std::memory_order_acquire); t != nullptr; t = t->next) {
        enters += t->enters.load(std::memory_order_relaxed);
        leaves += t->leaves.load(std::memory_order_relaxed);
    }
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
