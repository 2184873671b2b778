// Readers racing collections that move their objects, on real threads.
// (Reports from several threads at once come from the server collector,
// which the integration tests run.)
#include "clrprof/object_tracker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using namespace cor;
using veskmrte_1_0::ObjectTracker;

// Readers race collections that move every object back and forth: one let
// in while the table is rebuilt could pair an address with another object's
// identifier.
TEST(ObjectTracker, ReadersNeverSeeATableBeingRebuilt) {
    ObjectTracker tracker;
    const int objects = 2000;
    const ObjectID bases[2] = {0x10000000, 0x50000000};
    auto at = [&](int side, int i) { return bases[side] + static_cast<ObjectID>(i) * 0x40; };
    std::vector<uint32_t> ids;
    for (int i = 0; i < objects; ++i) ids.push_back(tracker.getObjectID(at(0, i)));
    std::atomic<int> side(0);
    std::atomic<bool> done(false);
    std::atomic<long> wrong(0);
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r) {
        readers.emplace_back([&, r] {
            for (unsigned n = static_cast<unsigned>(r); !done; n += 7919) {
                const int i = static_cast<int>(n % objects);
                const uint32_t id = tracker.getObjectID(at(side, i));
                // A new identifier is right when the object moved away meanwhile.
                if (id != ids[i] && id <= ids.back()) ++wrong;
            }
        });
    }
    std::vector<ObjectID> from(objects), to(objects);
    std::vector<ULONG> length(objects, 0x40);
    for (int collection = 0; collection < 300; ++collection) {
        const int now = collection % 2;
        for (int i = 0; i < objects; ++i) {
            from[i] = at(now, i);
            to[i] = at(1 - now, i);
        }
        tracker.gcStarted();
        tracker.movedReferences(objects, from.data(), to.data(), length.data());
        side = 1 - now;
        tracker.gcFinished();
    }
    done = true;
    for (std::thread& t : readers) t.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
