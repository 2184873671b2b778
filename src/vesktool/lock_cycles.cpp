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

// Locks grouped by strongly connected component (Kosaraju, without
// recursion: graphs of programs with many locks are deep). A cycle never
// leaves its component, so edges between components are never searched.
std::map<uint32_t, uint32_t> components(const Adjacency& next) {
    std::map<uint32_t, std::vector<uint32_t>> previous;
    std::vector<uint32_t> locks;
    for (const auto& entry : next) {
        locks.push_back(entry.first);
        for (const LockOrder::Edge* edge : entry.second) {
            previous[edge->inner.lock].push_back(entry.first);
            locks.push_back(edge->inner.lock);
        }
    }
    std::sort(locks.begin(), locks.end());
    locks.erase(std::unique(locks.begin(), locks.end()), locks.end());

    // Finishing order of a depth-first search along the edges.
    std::vector<uint32_t> finished;
    std::map<uint32_t, bool> seen;
    for (uint32_t root : locks) {
        if (seen[root]) continue;
        seen[root] = true;
        std::vector<std::pair<uint32_t, size_t>> stack{{root, 0}};
        while (!stack.empty()) {
            auto& top = stack.back();
            auto out = next.find(top.first);
            if (out != next.end() && top.second < out->second.size()) {
                const uint32_t to = out->second[top.second++]->inner.lock;
                if (!seen[to]) {
                    seen[to] = true;
                    stack.push_back({to, 0});
                }
                continue;
            }
            finished.push_back(top.first);
            stack.pop_back();
        }
    }
    // Against the edges, latest finished first: each search is one component.
    std::map<uint32_t, uint32_t> component;
    for (auto it = finished.rbegin(); it != finished.rend(); ++it) {
        if (component.count(*it) != 0) continue;
        std::vector<uint32_t> stack{*it};
        component[*it] = *it;
        while (!stack.empty()) {
            const uint32_t at = stack.back();
            stack.pop_back();
            for (uint32_t from : previous[at])
                if (component.emplace(from, *it).second) stack.push_back(from);
        }
    }
    return component;
}

}  // namespace

std::vector<LockOrder::Cycle> LockOrder::potentialDeadlocks(bool* complete) const {
    Adjacency all;
    for (const auto& entry : edges_) {
        const Edge& edge = entry.second;
        if (signals_.count(edge.outer.lock) != 0 || signals_.count(edge.inner.lock) != 0) continue;
        all[edge.outer.lock].push_back(&edge);
    }
    const std::map<uint32_t, uint32_t> component = components(all);
    Adjacency next;
    for (const auto& entry : all)
        for (const Edge* edge : entry.second)
            if (component.at(edge->outer.lock) == component.at(edge->inner.lock)) next[entry.first].push_back(edge);

    // Each elementary cycle is found once, from its smallest lock: the
    // search from start only passes through larger locks. The number of
    // paths can grow exponentially with the edges of a component, so the
    // search has a budget; complete says whether it ran out.
    std::vector<Cycle> found;
    std::vector<const Edge*> path;
    std::vector<uint32_t> onPath;
    size_t steps = 0;
    std::function<void(uint32_t, uint32_t)> extend = [&](uint32_t start, uint32_t at) {
        auto out = next.find(at);
        if (out == next.end()) return;
        for (const Edge* edge : out->second) {
            if (found.size() >= kMaxCycles || ++steps > kMaxSearchSteps) return;
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
    if (complete != nullptr) *complete = steps <= kMaxSearchSteps;
    return found;
}

}  // namespace vesktool
