// Real threads: racing requests, requests during a collection, and a
// collection whose callbacks come on several threads, as the server
// collector delivers them.
#include "tracker_fixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using namespace objects_test;
using veskmrte_1_0::ObjectTracker;

namespace {

// Lets a group of threads go at the same moment.
class StartLine {
public:
    explicit StartLine(int count) : m_waiting(count) {}
    void arriveAndWait() {
        std::unique_lock<std::mutex> hold(m_lock);
        if (--m_waiting == 0) m_go.notify_all();
        m_go.wait(hold, [this] { return m_waiting == 0; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_go;
    int m_waiting;
};

}  // namespace

TEST(Concurrency, TwoThreadsAskingForTheSameNewObjectGetOneIdentifier) {
    ObjectTracker tracker;
    const int rounds = 500;
    std::set<uint32_t> handedOut;
    for (int round = 0; round < rounds; ++round) {
        const ObjectID address = 0x100000 + static_cast<ObjectID>(round) * 0x20;
        StartLine start(2);
        uint32_t first = 0;
        uint32_t second = 0;
        std::thread a([&] {
            start.arriveAndWait();
            first = tracker.getObjectID(address);
        });
        std::thread b([&] {
            start.arriveAndWait();
            second = tracker.getObjectID(address);
        });
        a.join();
        b.join();
        ASSERT_EQ(first, second) << "round " << round;
        ASSERT_GT(first, 0u);
        // The loser's value is skipped, never handed to another object.
        ASSERT_TRUE(handedOut.insert(first).second) << "round " << round;
    }
    EXPECT_EQ(tracker.trackedCount(), static_cast<size_t>(rounds));
    // The counter may have skipped values, never more than one per round.
    EXPECT_LE(*handedOut.rbegin(), static_cast<uint32_t>(2 * rounds));
}

TEST(Concurrency, RequestsWaitUntilTheCollectionEnds) {
    ObjectTracker tracker;
    const uint32_t object = tracker.getObjectID(0x1000);
    tracker.gcStarted();

    // Asked with the address the object is about to move to: answered only
    // after the move is known, so it is the object's identity, not a new one.
    std::atomic<bool> answered(false);
    uint32_t answer = 0;
    std::thread asker([&] {
        answer = tracker.getObjectID(0x8000);
        answered = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(answered.load());
    moved(tracker, 0x1000, 0x8000, 0x20);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(answered.load());
    tracker.gcFinished();
    asker.join();
    EXPECT_EQ(answer, object);
}

TEST(Concurrency, ACollectionMayFinishOnAnotherThread) {
    ObjectTracker tracker;
    const uint32_t object = tracker.getObjectID(0x1000);
    std::thread([&] { tracker.gcStarted(); }).join();
    std::thread([&] { moved(tracker, 0x1000, 0x2000, 0x20); }).join();
    std::thread([&] { tracker.gcFinished(); }).join();
    EXPECT_EQ(tracker.getObjectID(0x2000), object);
    // The lock is free again for everyone, the collecting threads included.
    std::thread([&] { EXPECT_EQ(tracker.getObjectID(0x2000), object); }).join();
}

TEST(Concurrency, ReportsFromSeveralThreadsAtOnce) {
    ObjectTracker tracker;
    const int threads = 4;
    const int objects = 100000;
    const int batch = 2;
    // Object j is reported by thread j % threads, so that the threads insert
    // next to each other's ranges all the time.
    auto oldAddress = [](int j) { return static_cast<ObjectID>(0x10000000) + static_cast<ObjectID>(j) * 0x40; };
    auto newAddress = [](int j) { return static_cast<ObjectID>(0x90000000) + static_cast<ObjectID>(j) * 0x40; };
    auto wasMoved = [](int j) { return (j / threads / batch) % 2 == 0; };
    std::vector<uint32_t> ids;
    for (int j = 0; j < objects; ++j) ids.push_back(tracker.getObjectID(oldAddress(j) + 8));

    tracker.gcStarted();
    StartLine start(threads);
    std::vector<std::thread> reporters;
    for (int t = 0; t < threads; ++t) {
        reporters.emplace_back([&, t] {
            start.arriveAndWait();
            for (int first = t; first < objects; first += threads * batch) {
                ObjectID from[batch];
                ObjectID to[batch];
                ULONG length[batch];
                ULONG n = 0;
                for (int j = first; j < objects && n < batch; j += threads, ++n) {
                    from[n] = oldAddress(j);
                    to[n] = newAddress(j);
                    length[n] = 0x20;
                }
                // Every other batch only survives, in place.
                if (wasMoved(first))
                    tracker.movedReferences(n, from, to, length);
                else
                    tracker.survivingReferences(n, from, length);
            }
        });
    }
    for (std::thread& t : reporters) t.join();
    tracker.gcFinished();

    ASSERT_EQ(tracker.trackedCount(), ids.size());
    for (int j = 0; j < objects; ++j) {
        const ObjectID now = (wasMoved(j) ? newAddress(j) : oldAddress(j)) + 8;
        ASSERT_EQ(tracker.getObjectID(now), ids[j]) << j;
    }
}

// Readers race collections that move every object back and forth. A reader
// let in while the table is rebuilt could pair an address with another
// object's identifier; one that comes before or after a collection gets the
// object's own identifier, or a new one when the object has moved away from
// the address it asked about.
TEST(Concurrency, ReadersNeverSeeATableBeingRebuilt) {
    ObjectTracker tracker;
    const int objects = 2000;
    const ObjectID bases[2] = {0x10000000, 0x50000000};
    auto at = [&](int phase, int i) { return bases[phase] + static_cast<ObjectID>(i) * 0x40; };
    std::vector<uint32_t> ids;
    for (int i = 0; i < objects; ++i) ids.push_back(tracker.getObjectID(at(0, i)));
    const uint32_t lastKnown = ids.back();

    std::atomic<int> phase(0);
    std::atomic<bool> done(false);
    std::atomic<long> wrong(0);
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r) {
        readers.emplace_back([&, r] {
            for (unsigned n = static_cast<unsigned>(r); !done.load(); n += 7919) {
                const int i = static_cast<int>(n % objects);
                const uint32_t id = tracker.getObjectID(at(phase.load(), i));
                if (id != ids[i] && id <= lastKnown) ++wrong;
            }
        });
    }
    std::vector<ObjectID> from(objects), to(objects);
    std::vector<ULONG> length(objects, 0x40);
    for (int collection = 0; collection < 400; ++collection) {
        const int now = collection % 2;
        for (int i = 0; i < objects; ++i) {
            from[i] = at(now, i);
            to[i] = at(1 - now, i);
        }
        tracker.gcStarted();
        tracker.movedReferences(objects, from.data(), to.data(), length.data());
        phase.store(1 - now);
        tracker.gcFinished();
    }
    done.store(true);
    for (std::thread& t : readers) t.join();
    EXPECT_EQ(wrong.load(), 0);
    for (int i = 0; i < objects; ++i) ASSERT_EQ(tracker.getObjectID(at(phase.load(), i)), ids[i]) << i;
}
