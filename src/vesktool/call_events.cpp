#include "call_events.h"

#include "stack_store.h"
#include "thread_records.h"

#include <map>
#include <nlohmann/json.hpp>

namespace vesktool {

namespace {

// The calling thread's counts; a thread that starts running another managed
// thread gets a fresh table.
thread_local void* t_counts = nullptr;

}  // namespace

bool CallEvents::define(int32_t apiId, const char* name) {
    if (apiId < 0 || apiId >= kMaxApis || name == nullptr) return false;
    std::lock_guard<std::mutex> hold(lock_);
    names_[static_cast<size_t>(apiId)] = name;
    return true;
}

CallEvents::ThreadCounts* CallEvents::countsFor(int32_t managedThread) noexcept {
    return threadRecord(t_counts, managedThread, lock_, threads_);
}

uint32_t CallEvents::objectIdentity(uintptr_t address) noexcept {
    GetObjectId getObjectId = getObjectId_.get();
    return getObjectId != nullptr ? getObjectId(address) : 0;
}

bool CallEvents::report(int32_t apiId, int32_t phase, int32_t managedThread, uint32_t identity) noexcept {
    if (!validCall(apiId, phase)) {
        refused_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    ThreadCounts* counts = countsFor(managedThread);
    if (counts == nullptr) {
        refused_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    const bool entry = isEntry(phase);
    // Only this thread writes its counts: a plain add, not a locked one,
    // which costs as much as the rest of the report.
    std::atomic<uint64_t>& count = counts->counts[apiId][entry ? kCallBefore : kCallAfter];
    count.store(count.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    if (entry && identity != 0 && !counts->objects.add(objectKey(identity, apiId)))
        refused_.fetch_add(1, std::memory_order_relaxed);
    if (entry && stackEvery_ != 0 && ++counts->callsSinceStack >= stackEvery_) {
        counts->callsSinceStack = 0;
        captureStack(*counts, apiId);
    }
    return true;
}

void CallEvents::captureStack(ThreadCounts& counts, int32_t apiId) noexcept {
    const uint32_t id = stacks_ != nullptr ? stacks_->captureCurrent() : 0;
    try {
        std::lock_guard<std::mutex> hold(counts.stacksLock);
        ++counts.stacks[{apiId, id}];
    } catch (...) {
        refused_.fetch_add(1, std::memory_order_relaxed);
    }
}

// An API no wrapper named is still told apart by its id.
std::string CallEvents::displayName(int32_t apiId) const {
    const std::string& name = names_[static_cast<size_t>(apiId)];
    return name.empty() ? "#" + std::to_string(apiId) : name;
}

// Per API name, each distinct stack with how often it was seen; a call whose
// walk found nothing counts under an empty frame list.
void CallEvents::reportStacks(nlohmann::json& root) const {
    std::map<std::pair<int32_t, uint32_t>, uint64_t> merged;
    for (ThreadCounts* t : threads_) {
        std::lock_guard<std::mutex> holdStacks(t->stacksLock);
        for (const auto& s : t->stacks) merged[s.first] += s.second;
    }
    nlohmann::json byApi = nlohmann::json::object();
    std::vector<StackFrame> frames;
    for (const auto& s : merged) {
        const std::string key = displayName(s.first.first);
        if (stacks_ != nullptr) stacks_->frames(s.first.second, frames);
        nlohmann::json entry = {{"count", s.second}, {"frames", StackStore::toJson(frames)}};
        byApi[key].push_back(entry);
        frames.clear();
    }
    root["stacks"] = byApi;
}

void CallEvents::report(nlohmann::json& root) const {
    std::lock_guard<std::mutex> hold(lock_);
    std::map<std::string, nlohmann::json> apis;
    for (int32_t id = 0; id < kMaxApis; ++id) {
        uint64_t calls = 0, returns = 0;
        std::map<int32_t, uint64_t> byThread;
        for (const ThreadCounts* t : threads_) {
            uint64_t c = t->counts[id][kCallBefore].load(std::memory_order_relaxed);
            calls += c;
            returns += t->counts[id][kCallAfter].load(std::memory_order_relaxed);
            if (c != 0) byThread[t->managedThread] += c;
        }
        if (calls == 0 && returns == 0) continue;
        nlohmann::json entry = {{"calls", calls}, {"returns", returns}, {"by_thread", nlohmann::json::object()}};
        for (const auto& t : byThread) entry["by_thread"][std::to_string(t.first)] = t.second;
        apis[displayName(id)] = entry;
    }
    nlohmann::json events = nlohmann::json::object();
    for (auto& a : apis) events[a.first] = a.second;
    root["events"] = events;

    reportStacks(root);
    root["events_refused"] = refused_.load(std::memory_order_relaxed);
}

}  // namespace vesktool
