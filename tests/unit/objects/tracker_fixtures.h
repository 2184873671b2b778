// What the object tests share: a heap description the test controls, the
// generation flags of the usual kinds of collection, and a shorthand for one
// reported range.
#pragma once

#include "clrprof/object_tracker.h"

#include <cstdint>
#include <vector>

namespace objects_test {

using cor::BOOL;
using cor::COR_PRF_GC_GENERATION_RANGE;
using cor::ObjectID;
using cor::ULONG;

class FakeGenerationBounds : public veskmrte_1_0::GenerationBounds {
public:
    std::vector<COR_PRF_GC_GENERATION_RANGE> ranges;
    bool fails = false;
    int reads = 0;

    void add(int generation, ObjectID start, uintptr_t used, uintptr_t reserved) {
        ranges.push_back(COR_PRF_GC_GENERATION_RANGE{generation, start, used, reserved});
    }
    bool read(std::vector<COR_PRF_GC_GENERATION_RANGE>& out) override {
        ++reads;
        if (fails) return false;
        out = ranges;
        return true;
    }
};

// Flags indexed by generation: 0, 1, 2, large objects, pinned objects.
const BOOL kFullCollection[5] = {1, 1, 1, 1, 1};
const BOOL kGen0Collection[5] = {1, 0, 0, 0, 0};
const BOOL kGen1Collection[5] = {1, 1, 0, 0, 0};

// Reports one moved range.
inline void moved(veskmrte_1_0::ObjectTracker& tracker, ObjectID from, ObjectID to, ULONG length) {
    tracker.movedReferences(1, &from, &to, &length);
}

// Reports one surviving range.
inline void surviving(veskmrte_1_0::ObjectTracker& tracker, ObjectID start, ULONG length) {
    tracker.survivingReferences(1, &start, &length);
}

}  // namespace objects_test
