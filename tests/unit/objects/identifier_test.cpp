#include "tracker_fixtures.h"

#include <gtest/gtest.h>

using namespace objects_test;
using veskmrte_1_0::ObjectTracker;

TEST(Identifiers, FirstIsOneAndEachNewObjectGetsTheNext) {
    ObjectTracker tracker;
    EXPECT_EQ(tracker.getObjectID(0x7f0000001000), 1u);
    EXPECT_EQ(tracker.getObjectID(0x7f0000002000), 2u);
    EXPECT_EQ(tracker.getObjectID(0x7f0000003000), 3u);
    EXPECT_EQ(tracker.trackedCount(), 3u);
}

TEST(Identifiers, SameAddressAlwaysAnswersTheSame) {
    ObjectTracker tracker;
    const uint32_t first = tracker.getObjectID(0x5000);
    tracker.getObjectID(0x6000);
    EXPECT_EQ(tracker.getObjectID(0x5000), first);
    EXPECT_EQ(tracker.getObjectID(0x5000), first);
    EXPECT_EQ(tracker.trackedCount(), 2u);
}

TEST(Identifiers, AreNeverReusedWhenANewObjectTakesAForgottenAddress) {
    ObjectTracker tracker;
    EXPECT_EQ(tracker.getObjectID(0x1000), 1u);
    EXPECT_EQ(tracker.getObjectID(0x2000), 2u);
    // A compacting collection that reports only the second object forgets
    // the first.
    tracker.gcStarted();
    moved(tracker, 0x2000, 0x1800, 0x20);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 1u);
    EXPECT_EQ(tracker.getObjectID(0x1800), 2u);
    // A new object at the first one's old address is a different object.
    EXPECT_EQ(tracker.getObjectID(0x1000), 3u);
    // And one at the second object's old address, too.
    EXPECT_EQ(tracker.getObjectID(0x2000), 4u);
}

TEST(Identifiers, CollectionsBeforeAnyRequestChangeNothing) {
    ObjectTracker tracker;
    FakeGenerationBounds bounds;
    bounds.add(0, 0x100000, 0x1000, 0x10000);
    tracker.gcStarted(&bounds, 5, kFullCollection);
    moved(tracker, 0x100000, 0x100800, 0x40);
    tracker.gcFinished();
    tracker.gcStarted(&bounds, 5, kFullCollection);
    surviving(tracker, 0x100800, 0x40);
    tracker.gcFinished();
    EXPECT_EQ(tracker.trackedCount(), 0u);
    EXPECT_EQ(tracker.getObjectID(0x100800), 1u);
}

TEST(Identifiers, AFinishWithoutAStartLeavesTheTrackerUsable) {
    ObjectTracker tracker;
    EXPECT_EQ(tracker.getObjectID(0x1000), 1u);
    tracker.gcFinished();
    EXPECT_EQ(tracker.getObjectID(0x1000), 1u);
    tracker.gcStarted();
    moved(tracker, 0x1000, 0x3000, 0x10);
    tracker.gcFinished();
    EXPECT_EQ(tracker.getObjectID(0x3000), 1u);
}
