// Collections without heap bounds: identities follow the moved and surviving
// ranges, and a compacting collection forgets every object it does not report.
#include "tracker_fixtures.h"

#include <gtest/gtest.h>

using namespace objects_test;
using veskmrte_1_0::ObjectTracker;

TEST(Remap, MovedRangesOutOfOrderAndInSeveralBatches) {
    ObjectTracker tracker;
    const uint32_t a = tracker.getObjectID(0x1000);
    const uint32_t b = tracker.getObjectID(0x2000);
    const uint32_t c = tracker.getObjectID(0x3000);
    const uint32_t d = tracker.getObjectID(0x4028);  // inside its range, not at the start

    tracker.gcStarted();
    ObjectID firstOld[2] = {0x3000, 0x1000};
    ObjectID firstNew[2] = {0x9000, 0x8000};
    ULONG firstLength[2] = {0x100, 0x40};
    tracker.movedReferences(2, firstOld, firstNew, firstLength);
    ObjectID secondOld[2] = {0x4000, 0x2000};
    ObjectID secondNew[2] = {0xA000, 0x2000};  // a range that stays put is reported with itself
    ULONG secondLength[2] = {0x80, 0x10};
    tracker.movedReferences(2, secondOld, secondNew, secondLength);
    tracker.gcFinished();

    EXPECT_EQ(tracker.trackedCount(), 4u);
    EXPECT_EQ(tracker.getObjectID(0x8000), a);
    EXPECT_EQ(tracker.getObjectID(0x2000), b);
    EXPECT_EQ(tracker.getObjectID(0x9000), c);
    EXPECT_EQ(tracker.getObjectID(0xA028), d);
    EXPECT_EQ(tracker.trackedCount(), 4u);
}

TEST(Remap, ObjectsSlideOntoEachOthersOldAddresses) {
    ObjectTracker tracker;
    const uint32_t first = tracker.getObjectID(0x1000);
    const uint32_t second = tracker.getObjectID(0x1020);
    const uint32_t third = tracker.getObjectID(0x1040);
    tracker.gcStarted();
    // Each object lands where its neighbour was.
    ObjectID from[3] = {0x1040, 0x1000, 0x1020};
    ObjectID to[3] = {0x1020, 0x0FE0, 0x1000};
    ULONG length[3] = {0x20, 0x20, 0x20};
    tracker.movedReferences(3, from, to, length);
    tracker.gcFinished();
    EXPECT_EQ(tracker.getObjectID(0x0FE0), first);
    EXPECT_EQ(tracker.getObjectID(0x1000), second);
    EXPECT_EQ(tracker.getObjectID(0x1020), third);
    EXPECT_EQ(tracker.trackedCount(), 3u);
}

TEST(Remap, CompactingCollectionForgetsObjectsNoRangeReports) {
    ObjectTracker tracker;
    const uint32_t movedObject = tracker.getObjectID(0x1000);
    const uint32_t survivor = tracker.getObjectID(0x5000);
    const uint32_t dead = tracker.getObjectID(0x7000);
    tracker.gcStarted();
    moved(tracker, 0x1000, 0x0800, 0x100);
    surviving(tracker, 0x4F00, 0x200);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 2u);
    EXPECT_EQ(tracker.getObjectID(0x0800), movedObject);
    EXPECT_EQ(tracker.getObjectID(0x5000), survivor);
    EXPECT_NE(tracker.getObjectID(0x7000), dead);
    // The moved object's old address no longer names it.
    EXPECT_NE(tracker.getObjectID(0x1000), movedObject);
}

TEST(Remap, SurvivingOnlyCollectionWithoutBoundsChangesNothing) {
    ObjectTracker tracker;
    const uint32_t survivor = tracker.getObjectID(0x5000);
    const uint32_t unreported = tracker.getObjectID(0x7000);
    tracker.gcStarted();
    surviving(tracker, 0x5000, 0x18);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 2u);
    EXPECT_EQ(tracker.getObjectID(0x5000), survivor);
    EXPECT_EQ(tracker.getObjectID(0x7000), unreported);
}

TEST(Remap, RangesEndBeforeStartPlusLength) {
    ObjectTracker tracker;
    const uint32_t last = tracker.getObjectID(0x10F8);
    const uint32_t beyond = tracker.getObjectID(0x1100);
    tracker.gcStarted();
    moved(tracker, 0x1000, 0x2000, 0x100);
    moved(tracker, 0x1100, 0x1100, 0x8);
    tracker.gcFinished();
    EXPECT_EQ(tracker.getObjectID(0x20F8), last);
    EXPECT_EQ(tracker.getObjectID(0x1100), beyond);
    EXPECT_EQ(tracker.trackedCount(), 2u);
}

TEST(Remap, EmptyRangesHoldNothing) {
    ObjectTracker tracker;
    const uint32_t object = tracker.getObjectID(0x1000);
    tracker.gcStarted();
    moved(tracker, 0x1000, 0x9000, 0);
    moved(tracker, 0x1000, 0x2000, 0x20);
    surviving(tracker, 0x1000, 0);
    tracker.gcFinished();
    EXPECT_EQ(tracker.getObjectID(0x2000), object);
    EXPECT_EQ(tracker.trackedCount(), 1u);
}

TEST(Remap, RangesOfOneCollectionDoNotCarryIntoTheNext) {
    ObjectTracker tracker;
    const uint32_t object = tracker.getObjectID(0x1000);
    tracker.gcStarted();
    moved(tracker, 0x1000, 0x2000, 0x20);
    tracker.gcFinished();
    // The next collection moves it again; the first range must not apply.
    tracker.gcStarted();
    moved(tracker, 0x2000, 0x1000, 0x20);
    tracker.gcFinished();
    EXPECT_EQ(tracker.getObjectID(0x1000), object);
    EXPECT_EQ(tracker.trackedCount(), 1u);
}
