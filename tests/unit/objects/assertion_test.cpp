// Broken invariants end the process with exit code 3 and one line naming the
// source and the condition. Reports are checked when the collection ends.
#include "tracker_fixtures.h"

#include <gtest/gtest.h>

using namespace objects_test;
using veskmrte_1_0::ObjectTracker;

namespace {

const char* const kResult = "VESKMRTE1_ASSERT at:src/clrprof/object_tracker.cpp:[0-9]+ 'result'";

void reportOverlappingMovedRangesAtOnce() {
    ObjectTracker tracker;
    tracker.gcStarted();
    ObjectID from[2] = {0x1000, 0x1010};
    ObjectID to[2] = {0x8000, 0x9000};
    ULONG length[2] = {0x20, 0x20};
    tracker.movedReferences(2, from, to, length);
    tracker.gcFinished();
}

}  // namespace

TEST(Assertions, OverlappingMovedRangesInOneReport) {
    EXPECT_EXIT(reportOverlappingMovedRangesAtOnce(), testing::ExitedWithCode(3), kResult);
}

TEST(Assertions, OverlappingMovedRangesAcrossReports) {
    EXPECT_EXIT(
        {
            ObjectTracker tracker;
            tracker.gcStarted();
            moved(tracker, 0x1000, 0x8000, 0x100);
            moved(tracker, 0x10F8, 0x9000, 0x10);
            tracker.gcFinished();
        },
        testing::ExitedWithCode(3), kResult);
}

TEST(Assertions, OverlappingSurvivingRanges) {
    EXPECT_EXIT(
        {
            ObjectTracker tracker;
            tracker.gcStarted();
            surviving(tracker, 0x1000, 0x100);
            surviving(tracker, 0x0F00, 0x101);
            tracker.gcFinished();
        },
        testing::ExitedWithCode(3), kResult);
}

TEST(Assertions, TwoObjectsMovedToOneAddress) {
    EXPECT_EXIT(
        {
            ObjectTracker tracker;
            tracker.getObjectID(0x1000);
            tracker.getObjectID(0x2000);
            tracker.gcStarted();
            moved(tracker, 0x1000, 0x8000, 0x10);
            moved(tracker, 0x2000, 0x8000, 0x10);
            tracker.gcFinished();
        },
        testing::ExitedWithCode(3), kResult);
}

TEST(Assertions, AnObjectMovedOntoOneTheCollectionKeeps) {
    EXPECT_EXIT(
        {
            ObjectTracker tracker;
            FakeGenerationBounds bounds;
            bounds.add(0, 0x100000, 0x1000, 0x10000);
            tracker.getObjectID(0x100010);  // moves to 0x900010
            tracker.getObjectID(0x900010);  // outside the heap, kept
            tracker.gcStarted(&bounds, 5, kFullCollection);
            moved(tracker, 0x100000, 0x900000, 0x20);
            tracker.gcFinished();
        },
        testing::ExitedWithCode(3), kResult);
}

TEST(Assertions, AnIdentifierOfZeroFoundAtTheEndOfACollection) {
    // The counter wrapped around after 2^32 - 1 identifiers.
    EXPECT_EXIT(
        {
            ObjectTracker tracker;
            tracker.setNextIDForTesting(0xFFFFFFFFu);
            tracker.getObjectID(0x1000);
            tracker.getObjectID(0x2000);
            tracker.gcStarted();
            moved(tracker, 0x1000, 0x3000, 0x1010);
            tracker.gcFinished();
        },
        testing::ExitedWithCode(3), "VESKMRTE1_ASSERT at:src/clrprof/object_tracker.cpp:[0-9]+ 'existingID > 0'");
}

TEST(Assertions, AnIdentifierOfZeroFoundByASweepingCollection) {
    EXPECT_EXIT(
        {
            ObjectTracker tracker;
            FakeGenerationBounds bounds;
            bounds.add(0, 0x1000, 0x1000, 0x1000);
            tracker.setNextIDForTesting(0);
            tracker.getObjectID(0x1000);
            tracker.gcStarted(&bounds, 5, kFullCollection);
            surviving(tracker, 0x1000, 0x10);
            tracker.gcFinished();
        },
        testing::ExitedWithCode(3), "VESKMRTE1_ASSERT at:src/clrprof/object_tracker.cpp:[0-9]+ 'existingID > 0'");
}
