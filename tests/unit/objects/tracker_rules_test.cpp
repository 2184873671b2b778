// What a collection does to identities, one row per rule: the objects known
// before it, what the runtime reports, and where each object is afterwards.
#include "clrprof/object_tracker.h"
#include "profiler_info_stub.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace cor;
using veskmrte_1_0::ObjectTracker;

struct Moved {
    ObjectID from, to;
    ULONG length;
};
const ObjectID kDropped = 0;

// Flags indexed by generation: 0, 1, 2, large objects, pinned objects.
const BOOL kFull[5] = {1, 1, 1, 1, 1}, kGen0[5] = {1, 0, 0, 0, 0}, kGen1[5] = {1, 1, 0, 0, 0};

// The regions collector's heap: one range per generation, 0x1000 bytes used
// of 0x10000 reserved; and an object outside it (a literal, frozen).
const ObjectID G0 = 0x7f0000100000, G1 = 0x7f0000200000, G2 = 0x7f0000300000, LOH = 0x7f0000400000,
               POH = 0x7f0000500000, G5 = 0x7f0000700000, kFrozen = 0x7f1000000100;
typedef std::vector<COR_PRF_GC_GENERATION_RANGE> Ranges;
const Ranges kRegions = {{0, G0, 0x1000, 0x10000}, {1, G1, 0x1000, 0x10000}, {2, G2, 0x1000, 0x10000},
                         {3, LOH, 0x1000, 0x10000}, {4, POH, 0x1000, 0x10000}};
// The segments collector: generations 2, 1 and 0 share a segment, and a
// generation's reserved extent reaches into the next.
const Ranges kSegments = {{0, 0x30000, 0x1000, 0x10000}, {1, 0x20000, 0x10000, 0x20000}, {2, 0x10000, 0x10000, 0x10000}};

class FakeBounds : public veskmrte_1_0::GenerationBounds {
public:
    Ranges ranges;
    bool refuses = false;
    bool read(Ranges& out) override {
        out = ranges;
        return !refuses;
    }
};

struct Case {
    const char* rule;  // what goes wrong for users when the tracker breaks it
    const Ranges* heap;  // null: no bounds; empty with refuses: refused
    bool refused;
    const BOOL* flags;  // null: the runtime flags no generation
    std::vector<std::pair<ObjectID, ObjectID>> objects;  // address before, address after (or kDropped)
    std::vector<std::vector<Moved>> moved;  // one report each
    std::vector<std::pair<ObjectID, ULONG>> surviving;
    std::vector<Moved> thenMoved = {};  // a second compacting collection, without bounds, before any question
};

const Ranges kNone, kRegionsAndG5 = [] { Ranges r = kRegions; r.push_back({5, G5, 0x1000, 0x10000}); return r; }();

const Case kCases[] = {
    {"moved objects keep their id, wherever in a range they lie, in reports out of order", nullptr, false, kFull,
     {{0x1000, 0x8000}, {0x2000, 0x2000}, {0x3000, 0x9000}, {0x4028, 0xA028}},
     {{{0x3000, 0x9000, 0x100}, {0x1000, 0x8000, 0x40}}, {{0x4000, 0xA000, 0x80}, {0x2000, 0x2000, 0x10}}}, {}},
    {"objects sliding onto each other's old addresses keep their own ids", nullptr, false, kFull,
     {{0x1000, 0x0FE0}, {0x1020, 0x1000}, {0x1040, 0x1020}},
     {{{0x1040, 0x1020, 0x20}, {0x1000, 0x0FE0, 0x20}, {0x1020, 0x1000, 0x20}}}, {}},
    {"without bounds a compacting collection drops what no range reports", nullptr, false, kFull,
     {{0x1000, 0x0800}, {0x5000, 0x5000}, {0x7000, kDropped}}, {{{0x1000, 0x0800, 0x100}}}, {{0x4F00, 0x200}}},
    {"without bounds a collection that moves nothing cannot tell the dead, changes nothing", nullptr, false, kFull,
     {{0x5000, 0x5000}, {0x7000, 0x7000}}, {}, {{0x5000, 0x18}}},
    {"a range ends before start + length; empty ranges hold nothing", nullptr, false, kFull,
     {{0x10F8, 0x20F8}, {0x1100, 0x1100}, {0x3000, 0x3100}},
     {{{0x1000, 0x2000, 0x100}, {0x1100, 0x1100, 0x8}, {0x3000, 0x9000, 0}, {0x3000, 0x3100, 0x20}}}, {{0x3000, 0}}},
    {"objects outside the heap keep their id through compacting collections", &kRegions, false, kFull,
     {{kFrozen, kFrozen}, {G0 + 0x40, G1 + 0x40}}, {{{G0, G1, 0x100}}}, {}},
    {"a generation-0 collection spares the other generations, reported or not", &kRegions, false, kGen0,
     {{G0 + 0x10, G0 + 0x2010}, {G0 + 0x80, kDropped}, {G1 + 0x10, G1 + 0x10}, {G2 + 0x10, G2 + 0x10},
      {LOH + 0x10, LOH + 0x10}, {POH + 0x10, POH + 0x10}},
     {{{G0, G0 + 0x2000, 0x20}}}, {}},
    {"a generation-1 collection condemns generation 1 too", &kRegions, false, kGen1,
     {{G0 + 0x10, G1 + 0x3010}, {G1 + 0x10, kDropped}, {G2 + 0x10, G2 + 0x10}}, {{{G0, G1 + 0x3000, 0x20}}}, {}},
    {"a sweeping collection drops the dead only inside the condemned part", &kRegions, false, kFull,
     {{kFrozen, kFrozen}, {G2 + 0x10, G2 + 0x10}, {G2 + 0x100, kDropped}, {LOH + 0x10, LOH + 0x10}}, {},
     {{G2, 0x20}, {LOH, 0x20}}},
    {"the reserved extent is inside the heap, its end is not", &kRegions, false, kGen0,
     {{G0 + 0x1100, kDropped}, {G0 + 0x10000, G0 + 0x10000}}, {{{G0, G0 + 0x4000, 0x20}}}, {}},
    {"a generation the runtime does not flag counts as condemned", &kRegionsAndG5, false, kGen0,
     {{G5 + 0x10, kDropped}, {G2 + 0x10, G2 + 0x10}}, {{{G0, G0 + 0x100, 0x20}}}, {}},
    {"without generation flags every generation counts as condemned", &kRegions, false, nullptr,
     {{G2 + 0x10, kDropped}, {G0 + 0x10, G0 + 0x10}}, {}, {{G0, 0x20}}},
    {"overlapping and adjacent generation ranges form one condemned area", &kSegments, false, kFull,
     {{0x0FFF8, 0x0FFF8}, {0x40000, 0x40000}, {0x10000, kDropped}, {0x1FFF8, kDropped}, {0x3FFF8, kDropped}},
     {{{0x50000, 0x50000, 0x10}}}, {}},
    {"bounds the runtime refuses count as none", &kRegions, true, kGen0,
     {{kFrozen, kDropped}, {G2 + 0x10, kDropped}}, {{{G0, G0 + 0x100, 0x20}}}, {}},
    {"an empty answer counts as no answer", &kNone, false, kFull, {{G2 + 0x10, G2 + 0x10}}, {}, {{G0, 0x20}}},
    {"collections before any question apply in order; the second moves objects onto the first's dead", &kRegions,
     false, kFull, {{G0 + 0x10, G1 + 0x30}, {G0 + 0x80, kDropped}, {G1 + 0x10, G0 + 0x80}, {G1 + 0x40, kDropped}},
     {{{G0, G1, 0x20}, {G1, G0 + 0x70, 0x30}}}, {}, {{G1, G1 + 0x20, 0x20}, {G0 + 0x80, G0 + 0x80, 0x10}}},
};

class CollectionRules : public ::testing::TestWithParam<Case> {};

TEST_P(CollectionRules, IdentitiesFollowTheReports) {
    const Case& c = GetParam();
    ObjectTracker tracker;
    std::vector<uint32_t> ids;
    for (const auto& o : c.objects) ids.push_back(tracker.getObjectID(o.first));
    FakeBounds bounds;
    bounds.ranges = c.heap ? *c.heap : Ranges();
    bounds.refuses = c.refused;
    tracker.gcStarted(c.heap ? &bounds : nullptr, c.flags ? 5 : 0, c.flags);
    // The heap as the collection found it counts: by its end, regions it
    // emptied are no longer listed.
    bounds.ranges.clear();
    for (const std::vector<Moved>& report : c.moved) {
        std::vector<ObjectID> from, to;
        std::vector<ULONG> length;
        for (const Moved& m : report) from.push_back(m.from), to.push_back(m.to), length.push_back(m.length);
        tracker.movedReferences(static_cast<ULONG>(report.size()), from.data(), to.data(), length.data());
    }
    for (const auto& r : c.surviving) tracker.survivingReferences(1, &r.first, &r.second);
    tracker.gcFinished();
    if (!c.thenMoved.empty()) {
        tracker.gcStarted();
        for (const Moved& m : c.thenMoved) tracker.movedReferences(1, &m.from, &m.to, &m.length);
        tracker.gcFinished();
    }

    size_t kept = 0;
    for (size_t i = 0; i < c.objects.size(); ++i) {
        if (c.objects[i].second == kDropped) continue;
        ++kept;
        EXPECT_EQ(tracker.getObjectID(c.objects[i].second), ids[i]) << i;
    }
    EXPECT_EQ(tracker.trackedCount(), kept);
    // An address no object kept now names a new object, never an old one.
    for (const auto& o : c.objects) {
        bool taken = false;
        for (const auto& other : c.objects) taken = taken || other.second == o.first;
        EXPECT_TRUE(taken || tracker.getObjectID(o.first) > ids.back()) << std::hex << o.first;
    }
}

INSTANTIATE_TEST_SUITE_P(ObjectTracker, CollectionRules, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::to_string(info.index); });

void compact(ObjectTracker& tracker, const std::vector<Moved>& moved) {
    tracker.gcStarted();
    for (const Moved& m : moved) tracker.movedReferences(1, &m.from, &m.to, &m.length);
    tracker.gcFinished();
}

// Objects identified since the last collection join those carried through
// it, in address order, whether the next collection keeps the order or not:
// a third collection finds each object's range only when they are sorted.
TEST(ObjectTracker, ObjectsIdentifiedBetweenCollectionsJoinTheKnownOnes) {
    for (const bool reordered : {false, true}) {
        ObjectTracker tracker;
        const uint32_t a = tracker.getObjectID(0x10000), b = tracker.getObjectID(0x10100);
        compact(tracker, {{0x10000, 0x10000, 0x200}});
        const uint32_t c = tracker.getObjectID(0x10080), d = tracker.getObjectID(0x10180);
        const ObjectID low = reordered ? 0x20100 : 0x20000, high = reordered ? 0x20000 : 0x20100;
        compact(tracker, {{0x10000, low, 0x100}, {0x10100, high, 0x100}});
        EXPECT_EQ(tracker.trackedCount(), 4u);
        compact(tracker, {{0x20000, 0x30000, 0x100}, {0x20100, 0x30100, 0x100}});
        EXPECT_EQ(tracker.getObjectID(low + 0x10000), a) << reordered;
        EXPECT_EQ(tracker.getObjectID(low + 0x10080), c) << reordered;
        EXPECT_EQ(tracker.getObjectID(high + 0x10000), b) << reordered;
        EXPECT_EQ(tracker.getObjectID(high + 0x10080), d) << reordered;
    }
}

// Answers as the runtime does: fills what fits, tells how many there are.
class BoundsInfo : public testing_support::ProfilerInfoStub {
public:
    Ranges table;
    int calls = 0;
    HRESULT STDMETHODCALLTYPE GetGenerationBounds(ULONG capacity, ULONG* count, COR_PRF_GC_GENERATION_RANGE out[]) override {
        for (size_t i = 0; i < table.size() && i < capacity; ++i) out[i] = table[i];
        *count = static_cast<ULONG>(table.size());
        return ++calls, table.empty() ? static_cast<HRESULT>(0x80131363u) : S_OK;  // refused outside a callback
    }
};

TEST(ObjectTracker, ProfilerBoundsReadEveryRegionOfALargeHeap) {
    BoundsInfo info;
    for (int i = 0; i < 300; ++i) info.table.push_back({i % 5, ObjectID(0x100000) * (i + 1), 0x100, 0x400000});
    veskmrte_1_0::ProfilerGenerationBounds bounds(&info);
    Ranges out;
    ASSERT_TRUE(bounds.read(out));
    ASSERT_EQ(out.size(), 300u);
    EXPECT_EQ(out[299].rangeStart, 0x100000u * 300);
    ASSERT_TRUE(bounds.read(out));
    EXPECT_EQ(info.calls, 3);  // the buffer kept its size
    info.table.clear();
    EXPECT_FALSE(bounds.read(out));
}

}  // namespace
