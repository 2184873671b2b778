// Calls of redirected synchronisation APIs, as the wrappers report them: per
// API, how often it was entered and how often it returned, and per managed
// thread how often it was entered.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "object_counts.h"
#include "profiler_export.h"
#include "text_sink.h"
#include "veskmrte/portable.h"

namespace vesktool {

// What the wrapper says about the call it reports. Wrappers of lock APIs say
// what the call does to its lock (see LockStep) instead of plain before and
// after; each still counts as an entry or a return.
enum CallPhase : int32_t {
    kCallBefore = 0,
    kCallAfter = 1,
    kCallAcquiring = 2,  // before; blocks until it holds the object's lock
    kCallAcquired = 3,   // after; holds the object's lock
    kCallReleasing = 4,  // before; gives up one hold
    kCallWaiting = 5,    // before; gives up every hold until it returns
    kCallPhases = 6,
};

class StackStore;
inline bool isEntry(int32_t phase) { return phase != kCallAfter && phase != kCallAcquired; }

class CallEvents {
public:
    // From now on the stack of every Nth call a thread reports (0: none) is
    // captured into the store and counted per API.
    void captureStacks(uint32_t every, StackStore* store) {
        stackEvery_ = every;
        stacks_ = store;
    }

    // Ids index a table the wrappers share with us; larger ids are refused.
    static const int32_t kMaxApis = 256;  // ids fit a byte of objectKey

    // Names an API id; a later name for the same id replaces the earlier.
    bool define(int32_t apiId, const char* name);
    // Called on every wrapped call: cheap, no allocation after a thread's
    // first report, no lock shared between threads on the normal path. An
    // entry on an object is also counted under the object's identity (0: none).
    bool report(int32_t apiId, int32_t phase, int32_t managedThread, uint32_t identity) noexcept;
    static bool validCall(int32_t apiId, int32_t phase) {
        return apiId >= 0 && apiId < kMaxApis && phase >= 0 && phase < kCallPhases;
    }
    // The profiler's identity of the object at an address; 0 when the
    // profiler offers none.
    uint32_t objectIdentity(uintptr_t address) noexcept;

    // Everything but the per-object counts, which can run to millions of
    // entries and are written straight through instead (writeObjects).
    void report(nlohmann::json& root) const;
    // The report's "objects" value, as the rest of the report is laid out:
    // identities as keys in text order, each with its calls per API name.
    void writeObjects(TextSink& out) const;
    // Grows with every change to the per-object counts: equal versions mean
    // equal counts. Read it before writing them, and a later equal reading
    // proves that what was written is still current.
    uint64_t objectsVersion() const;

private:
    struct ThreadCounts {
        int32_t managedThread;
        std::atomic<uint64_t> counts[kMaxApis][2] = {};
        // Calls per object identity and API (objectKey).
        ObjectCounts objects;
        // Guards the stacks, which the owner changes only every so many calls.
        std::mutex stacksLock;
        // Captured stacks per API and stack id, under stacksLock.
        std::map<std::pair<int32_t, uint32_t>, uint64_t> stacks;
        uint64_t callsSinceStack = 0;
    };
    static uint64_t objectKey(uint32_t identity, int32_t apiId) {
        return (static_cast<uint64_t>(identity) << 8) | static_cast<uint8_t>(apiId);
    }
    void captureStack(ThreadCounts& counts, int32_t apiId) noexcept;
    void reportStacks(nlohmann::json& root) const;
    std::string displayName(int32_t apiId) const;
    ThreadCounts* countsFor(int32_t managedThread) noexcept;

    mutable std::mutex lock_;
    std::vector<std::string> names_ = std::vector<std::string>(kMaxApis);
    // Every thread's counts, kept for the life of the process so that counts
    // of threads that ended still reach the report.
    std::vector<ThreadCounts*> threads_;
    std::atomic<uint64_t> refused_{0};
    // The profiler's identities.
    typedef uint32_t(VESK_CALL* GetObjectId)(uintptr_t);
    ProfilerExport<GetObjectId> getObjectId_{"getObjectID"};
    uint32_t stackEvery_ = 0;
    StackStore* stacks_ = nullptr;
};

}  // namespace vesktool
