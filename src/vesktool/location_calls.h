// Atomic and volatile accesses, as the wrappers report them: the address of
// the memory location and the collection era the address was read in. Two
// reports name the same location only when they give the same address in the
// same era: between two collections nothing moves or is freed, while a
// collection may move the object holding a location and give its old address
// to another. A report whose era ended before the report arrived is counted
// as moved and relates to nothing. The memory's owner (an object, a static,
// a stack slot) is not known; only accesses through the wrappers are seen.
#pragma once

#include "profiler_export.h"
#include "veskmrte/portable.h"

#include <cstdint>
#include <mutex>
#include <nlohmann/json_fwd.hpp>
#include <unordered_map>
#include <vector>

namespace vesktool {

class LocationCalls {
public:
    // The profiler's current collection era; 0 when no profiler offers one
    // (then no report can be related).
    uint64_t currentEra() noexcept;
    void report(int32_t managedThread, uintptr_t address, uint64_t era) noexcept;
    // "locations" (when there was any report): reports, moved, untracked,
    // distinct locations, and those that more than one managed thread
    // accessed.
    void report(nlohmann::json& root) const;

    // Locations a thread keeps apart; reports beyond are counted, not kept.
    static const size_t kMaxPerThread = 1 << 16;

private:
    struct Key {
        uintptr_t address;
        uint64_t era;
        bool operator==(const Key& other) const { return address == other.address && era == other.era; }
    };
    struct KeyHash {
        size_t operator()(const Key& key) const { return std::hash<uintptr_t>()(key.address) ^ (key.era * 31); }
    };
    struct ThreadLocations {
        int32_t managedThread = 0;
        // Reads at report time lock it; the owner holds it only while it adds.
        mutable std::mutex lock;
        std::unordered_map<Key, uint64_t, KeyHash> counts;
        uint64_t reports = 0, moved = 0, untracked = 0;
    };
    ThreadLocations* threadLocations(int32_t managedThread) noexcept;

    mutable std::mutex lock_;
    std::vector<ThreadLocations*> threads_;
    typedef uint64_t(VESK_CALL* GetEra)();
    ProfilerExport<GetEra> getEra_{"getCollectionEra"};
};

}  // namespace vesktool
