// Collections with the heap's generation bounds: objects the collection does
// not condemn keep their identity whether reported or not; inside the
// condemned part, an object no range reports is gone.
#include "fake_profiler_info.h"
#include "tracker_fixtures.h"

#include <gtest/gtest.h>

using namespace objects_test;
using veskmrte_1_0::ObjectTracker;
using veskmrte_1_0::ProfilerGenerationBounds;

namespace {

// A heap of one range per generation, the way the regions collector lays it
// out, and an object outside it (a string literal on a frozen segment).
const ObjectID kGen0 = 0x7f0000100000;
const ObjectID kGen1 = 0x7f0000200000;
const ObjectID kGen2 = 0x7f0000300000;
const ObjectID kLarge = 0x7f0000400000;
const ObjectID kPinned = 0x7f0000500000;
const ObjectID kFrozen = 0x7f1000000100;
const uintptr_t kUsed = 0x1000;
const uintptr_t kReserved = 0x10000;

FakeGenerationBounds regionsHeap() {
    FakeGenerationBounds bounds;
    bounds.add(0, kGen0, kUsed, kReserved);
    bounds.add(1, kGen1, kUsed, kReserved);
    bounds.add(2, kGen2, kUsed, kReserved);
    bounds.add(3, kLarge, kUsed, kReserved);
    bounds.add(4, kPinned, kUsed, kReserved);
    return bounds;
}

}  // namespace

TEST(HeapBounds, ObjectsOutsideTheHeapKeepTheirIdentityThroughCompactingCollections) {
    ObjectTracker tracker;
    FakeGenerationBounds bounds = regionsHeap();
    const uint32_t literal = tracker.getObjectID(kFrozen);
    const uint32_t young = tracker.getObjectID(kGen0 + 0x40);
    for (int i = 0; i < 3; ++i) {
        tracker.gcStarted(&bounds, 5, kFullCollection);
        moved(tracker, kGen0, kGen1, 0x100);
        tracker.gcFinished();
        EXPECT_EQ(tracker.getObjectID(kGen1 + 0x40), young);
        tracker.gcStarted(&bounds, 5, kFullCollection);
        moved(tracker, kGen1, kGen0, 0x100);
        tracker.gcFinished();
    }
    EXPECT_EQ(tracker.getObjectID(kFrozen), literal);
    EXPECT_EQ(tracker.getObjectID(kGen0 + 0x40), young);
    EXPECT_EQ(tracker.trackedCount(), 2u);
}

TEST(HeapBounds, ObjectsOfGenerationsTheCollectionSparesKeepTheirIdentity) {
    ObjectTracker tracker;
    FakeGenerationBounds bounds = regionsHeap();
    const uint32_t survivor = tracker.getObjectID(kGen0 + 0x10);
    tracker.getObjectID(kGen0 + 0x80);  // dies
    const uint32_t gen1 = tracker.getObjectID(kGen1 + 0x10);
    const uint32_t gen2 = tracker.getObjectID(kGen2 + 0x10);
    const uint32_t large = tracker.getObjectID(kLarge + 0x10);
    const uint32_t pinned = tracker.getObjectID(kPinned + 0x10);

    // The runtime reports only the condemned generation's survivors.
    tracker.gcStarted(&bounds, 5, kGen0Collection);
    moved(tracker, kGen0, kGen0 + 0x2000, 0x20);
    tracker.gcFinished();

    EXPECT_EQ(tracker.trackedCount(), 5u);
    EXPECT_EQ(tracker.getObjectID(kGen0 + 0x2010), survivor);
    EXPECT_EQ(tracker.getObjectID(kGen1 + 0x10), gen1);
    EXPECT_EQ(tracker.getObjectID(kGen2 + 0x10), gen2);
    EXPECT_EQ(tracker.getObjectID(kLarge + 0x10), large);
    EXPECT_EQ(tracker.getObjectID(kPinned + 0x10), pinned);

    // A generation-1 collection condemns generation 1 as well.
    tracker.gcStarted(&bounds, 5, kGen1Collection);
    moved(tracker, kGen0 + 0x2000, kGen1 + 0x3000, 0x20);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 4u);
    EXPECT_EQ(tracker.getObjectID(kGen1 + 0x3010), survivor);
    EXPECT_EQ(tracker.getObjectID(kGen2 + 0x10), gen2);
}

TEST(HeapBounds, SweepingCollectionDropsDeadObjectsOnlyInsideTheCondemnedPart) {
    ObjectTracker tracker;
    FakeGenerationBounds bounds = regionsHeap();
    const uint32_t literal = tracker.getObjectID(kFrozen);
    const uint32_t survivor = tracker.getObjectID(kGen2 + 0x10);
    tracker.getObjectID(kGen2 + 0x100);  // dies
    const uint32_t large = tracker.getObjectID(kLarge + 0x10);

    tracker.gcStarted(&bounds, 5, kFullCollection);
    surviving(tracker, kGen2, 0x20);
    surviving(tracker, kLarge, 0x20);
    tracker.gcFinished();

    EXPECT_EQ(tracker.trackedCount(), 3u);
    EXPECT_EQ(tracker.getObjectID(kFrozen), literal);
    EXPECT_EQ(tracker.getObjectID(kGen2 + 0x10), survivor);
    EXPECT_EQ(tracker.getObjectID(kLarge + 0x10), large);
    // The dead object's memory may hold a new object now.
    EXPECT_GT(tracker.getObjectID(kGen2 + 0x100), large);
}

TEST(HeapBounds, ADeadObjectInARegionTheCollectionFreesIsDropped) {
    ObjectTracker tracker;
    FakeGenerationBounds bounds = regionsHeap();
    const ObjectID released = 0x7f0000600000;
    bounds.add(0, released, kUsed, kReserved);
    tracker.getObjectID(released + 0x30);
    const uint32_t literal = tracker.getObjectID(kFrozen);

    tracker.gcStarted(&bounds, 5, kGen0Collection);
    // The collection empties the region and returns it: the heap as it is
    // after the collection no longer lists it.
    bounds.ranges.pop_back();
    moved(tracker, kGen0, kGen1 + 0x800, 0x20);
    tracker.gcFinished();

    EXPECT_EQ(bounds.reads, 1);
    EXPECT_EQ(tracker.trackedCount(), 1u);
    EXPECT_EQ(tracker.getObjectID(kFrozen), literal);
}

TEST(HeapBounds, TheReservedExtentCountsAsInsideTheHeap) {
    ObjectTracker tracker;
    FakeGenerationBounds bounds = regionsHeap();
    // Beyond the used extent, within the reserved one: an object the runtime
    // had not yet accounted for when it took the bounds.
    tracker.getObjectID(kGen0 + kUsed + 0x100);
    const uint32_t atReservedEnd = tracker.getObjectID(kGen0 + kReserved);
    tracker.gcStarted(&bounds, 5, kGen0Collection);
    moved(tracker, kGen0, kGen0 + 0x4000, 0x20);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 1u);
    EXPECT_EQ(tracker.getObjectID(kGen0 + kReserved), atReservedEnd);
}

TEST(HeapBounds, GenerationsWithoutAFlagCountAsCondemned) {
    ObjectTracker tracker;
    FakeGenerationBounds bounds = regionsHeap();
    const ObjectID unknownKind = 0x7f0000700000;
    bounds.add(5, unknownKind, kUsed, kReserved);
    tracker.getObjectID(unknownKind + 0x10);
    const uint32_t gen2 = tracker.getObjectID(kGen2 + 0x10);
    tracker.gcStarted(&bounds, 5, kGen0Collection);
    moved(tracker, kGen0, kGen0 + 0x100, 0x20);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 1u);
    EXPECT_EQ(tracker.getObjectID(kGen2 + 0x10), gen2);

    // No flags at all: every generation is condemned.
    tracker.gcStarted(&bounds, 0, nullptr);
    surviving(tracker, kGen0, 0x20);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 0u);
}

TEST(HeapBounds, OverlappingAndAdjacentRangesFormOneArea) {
    ObjectTracker tracker;
    // The segments collector: generations 2, 1 and 0 share one segment, and
    // a generation's reserved extent reaches into the next.
    FakeGenerationBounds bounds;
    bounds.add(0, 0x30000, 0x1000, 0x10000);
    bounds.add(1, 0x20000, 0x10000, 0x20000);
    bounds.add(2, 0x10000, 0x10000, 0x10000);
    const uint32_t outsideBelow = tracker.getObjectID(0x0FFF8);
    const uint32_t outsideAbove = tracker.getObjectID(0x40000);
    tracker.getObjectID(0x10000);
    tracker.getObjectID(0x1FFF8);
    tracker.getObjectID(0x20000);
    tracker.getObjectID(0x3FFF8);
    tracker.gcStarted(&bounds, 5, kFullCollection);
    moved(tracker, 0x50000, 0x50000, 0x10);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 2u);
    EXPECT_EQ(tracker.getObjectID(0x0FFF8), outsideBelow);
    EXPECT_EQ(tracker.getObjectID(0x40000), outsideAbove);
}

TEST(HeapBounds, WithoutBoundsEveryUnreportedObjectIsForgotten) {
    ObjectTracker tracker;
    FakeGenerationBounds bounds = regionsHeap();
    bounds.fails = true;
    const uint32_t literal = tracker.getObjectID(kFrozen);
    tracker.getObjectID(kGen2 + 0x10);
    // A sweeping collection cannot tell anything apart and changes nothing.
    tracker.gcStarted(&bounds, 5, kGen0Collection);
    surviving(tracker, kGen0, 0x20);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 2u);
    // A compacting one keeps only what it reports.
    tracker.gcStarted(&bounds, 5, kGen0Collection);
    moved(tracker, kGen0, kGen0 + 0x100, 0x20);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 0u);
    EXPECT_NE(tracker.getObjectID(kFrozen), literal);
}

TEST(HeapBounds, AnEmptyAnswerCountsAsNoAnswer) {
    ObjectTracker tracker;
    FakeGenerationBounds bounds;
    tracker.getObjectID(kGen2 + 0x10);
    tracker.gcStarted(&bounds, 5, kFullCollection);
    surviving(tracker, kGen0, 0x20);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 1u);
}

namespace {

// Answers the bounds query the way the runtime does: fills what fits and
// reports how many records there are.
class BoundsInfo : public testing_support::FakeProfilerInfo {
public:
    std::vector<cor::COR_PRF_GC_GENERATION_RANGE> table;
    cor::HRESULT result = cor::S_OK;
    int calls = 0;
    cor::HRESULT STDMETHODCALLTYPE GetGenerationBounds(cor::ULONG capacity, cor::ULONG* count,
                                                       cor::COR_PRF_GC_GENERATION_RANGE ranges[]) override {
        ++calls;
        if (result != cor::S_OK) return result;
        if (capacity > 0 && ranges == nullptr) return cor::E_INVALIDARG;
        for (size_t i = 0; i < table.size() && i < capacity; ++i) ranges[i] = table[i];
        *count = static_cast<cor::ULONG>(table.size());
        return cor::S_OK;
    }
};

}  // namespace

TEST(ProfilerBounds, ReadsEveryRecordOfAHeapOfManyRegions) {
    BoundsInfo info;
    for (int i = 0; i < 300; ++i)
        info.table.push_back({i % 5, static_cast<ObjectID>(0x100000 * (i + 1)), 0x100, 0x400000});
    ProfilerGenerationBounds bounds(&info);
    std::vector<cor::COR_PRF_GC_GENERATION_RANGE> out;
    ASSERT_TRUE(bounds.read(out));
    ASSERT_EQ(out.size(), 300u);
    EXPECT_EQ(out[299].rangeStart, 0x100000u * 300);
    EXPECT_EQ(out[299].generation, 4);
    EXPECT_EQ(info.calls, 2);
    // The buffer keeps its size: the next read takes one call.
    ASSERT_TRUE(bounds.read(out));
    EXPECT_EQ(info.calls, 3);
    info.table.resize(2);
    ASSERT_TRUE(bounds.read(out));
    EXPECT_EQ(out.size(), 2u);
}

TEST(ProfilerBounds, ARefusedQueryOrNoInterfaceGivesNoBounds) {
    BoundsInfo info;
    info.result = static_cast<cor::HRESULT>(0x80131363u);  // not from inside a callback
    std::vector<cor::COR_PRF_GC_GENERATION_RANGE> out;
    EXPECT_FALSE(ProfilerGenerationBounds(&info).read(out));
    EXPECT_FALSE(ProfilerGenerationBounds(nullptr).read(out));
}
