// The search for potential deadlocks among the edges of the lock-order graph.

#include "lock_order.h"

#include <algorithm>
#include <functional>

namespace vesktool {

namespace {

typedef std::map<uint32_t, std::vector<const LockOrder::Edge*>> Adjacency;

// Whether each edge can be given a thread of its own: a deadlock needs one
// blocked thread per edge. Edges keep at most a handful of threads, and
// cycles are short, so trying the choices is cheap.
bool distinctThreads(const std::vector<const LockOrder::Edge*>& edges, size_t index,
                     std::vector<uint32_t>& taken) {
    if (index == edges.size()) return true;
    for (uint32_t thread : edges[index]->threads) {
        if (std::find(taken.begin(), taken.end(), thread) != taken.end()) continue;
        taken.push_back(thread);
        const bool found = distinctThreads(edges, index + 1, taken);
        taken.pop_back();
        if (found) return true;
    }
    return false;
}

// A lock every edge was taken under serialises the threads that take them:
// only one of them can be inside at a time.
bool commonGate(const std::vector<const LockOrder::Edge*>& edges) {
    std::vector<uint32_t> common = edges.front()->gates;
    for (size_t i = 1; i < edges.size() && !common.empty(); ++i) {
        std::vector<uint32_t> both;
        std::set_intersection(common.begin(), common.end(), edges[i]->gates.begin(), edges[i]->gates.end(),
                              std::back_inserter(both));
        common.swap(both);
    }
    return !common.empty();
}

}  // namespace

std::vector<LockOrder::Cycle> LockOrder::potentialDeadlocks() const {
    Adjacency next;
    for (const auto& entry : edges_) {
        const Edge& edge = entry.second;
        if (signals_.count(edge.outer.lock) != 0 || signals_.count(edge.inner.lock) != 0) continue;
        next[edge.outer.lock].push_back(&edge);
    }

    // Each elementary cycle is found once, from its smallest lock: the
    // search from start only passes through larger locks.
    std::vector<Cycle> found;
    std::vector<const Edge*> path;
    std::vector<uint32_t> onPath;
    std::function<void(uint32_t, uint32_t)> extend = [&](uint32_t start, uint32_t at) {
        auto out = next.find(at);
        if (out == next.end()) return;
        for (const Edge* edge : out->second) {
            if (found.size() >= kMaxCycles) return;
            const uint32_t to = edge->inner.lock;
            path.push_back(edge);
            if (to == start) {
                std::vector<uint32_t> taken;
                if (distinctThreads(path, 0, taken) && !commonGate(path)) found.push_back(Cycle{path});
            } else if (to > start && path.size() < kMaxCycleLength &&
                       std::find(onPath.begin(), onPath.end(), to) == onPath.end()) {
                onPath.push_back(to);
                extend(start, to);
                onPath.pop_back();
            }
            path.pop_back();
        }
    };
    for (const auto& entry : next) {
        onPath.assign(1, entry.first);
        extend(entry.first, entry.first);
    }
    return found;
}

}  // namespace vesktool
