// The lock-order findings in the report: what a reader needs to see the two
// (or more) code paths that take the same locks in opposite orders.

#include "lock_calls.h"

#include <nlohmann/json.hpp>

namespace vesktool {

namespace {

nlohmann::json placeJson(const LockUse& use, StackFramesJson frames) {
    return {{"stack", use.stack}, {"frames", frames != nullptr ? frames(use.stack) : nlohmann::json::array()}};
}

}  // namespace

void LockCalls::report(nlohmann::json& root) const {
    std::unique_lock<std::mutex> hold = order_.hold();
    nlohmann::json cycles = nlohmann::json::array();
    bool complete = true;
    for (const LockOrder::Cycle& cycle : order_.potentialDeadlocks(&complete)) {
        nlohmann::json locks = nlohmann::json::array();
        nlohmann::json edges = nlohmann::json::array();
        for (const LockOrder::Edge* edge : cycle.edges) {
            const std::string& type = order_.typeOf(edge->outer.lock);
            locks.push_back({{"id", edge->outer.lock}, {"kind", type.empty() ? nullptr : nlohmann::json(type)}});
            edges.push_back({{"held", edge->outer.lock},
                             {"acquired", edge->inner.lock},
                             {"thread", edge->managedThread},
                             {"threads_seen", edge->threads.size()},
                             {"held_at", placeJson(edge->outer, frames_)},
                             {"acquired_at", placeJson(edge->inner, frames_)}});
        }
        cycles.push_back({{"locks", locks}, {"edges", edges}});
    }
    root["potential_deadlocks"] = cycles;
    root["lock_order"] = {
        {"edges", order_.edgeCount()}, {"signal_locks", order_.signalCount()}, {"search_complete", complete}};
}

}  // namespace vesktool
