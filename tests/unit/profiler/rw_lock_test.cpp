// The code map's lock: who gets in first when readers (stack walks) and
// writers (code registrations) queue. Threads reach their wait
// asynchronously, so the tests watch the lock's counters instead of sleeping.
#include "clrprof/rw_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using veskmrte_1_0::ReadWriteLock;

namespace {

bool waitFor(ReadWriteLock& lock, const std::function<bool(const ReadWriteLock::State&)>& done) {
    for (int i = 0; i < 5000; ++i) {
        if (done(lock.state())) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

struct AdmissionCase {
    const char* guards;
    const char* held;    // this thread's holds: r shared, w exclusive
    const char* queued;  // then other threads queue one by one in this order
    const char* order;   // the order in which the queued threads get in
};

const AdmissionCase kAdmissions[] = {
    {"a reader passes a waiting writer, which starves", "rr", "wr", "wr"},
    {"a waiting reader goes before a waiting writer", "w", "wrw", "wwr"},
    {"a writer's release lets only one of the waiting readers in", "w", "rrr", "rrr"},
};

}  // namespace

TEST(ReadWriteLock, QueuedThreadsGetInWritersFirst) {
    for (const AdmissionCase& c : kAdmissions) {
        SCOPED_TRACE(c.guards);
        ReadWriteLock lock;
        std::mutex logLock;
        std::string order;
        for (const char* h = c.held; *h != 0; ++h) *h == 'r' ? lock.acquireShared() : lock.acquireExclusive();
        std::vector<std::thread> threads;
        for (const char* q = c.queued; *q != 0; ++q) {
            const bool reader = *q == 'r';
            const ReadWriteLock::State before = lock.state();
            threads.emplace_back([&, reader] {
                reader ? lock.acquireShared() : lock.acquireExclusive();
                std::lock_guard<std::mutex> hold(logLock);
                order += reader ? 'r' : 'w';
                lock.release();
            });
            ASSERT_TRUE(waitFor(lock, [&](const ReadWriteLock::State& s) {
                return reader ? s.waitingReaders > before.waitingReaders : s.waitingWriters > before.waitingWriters;
            })) << "a " << *q << " got in while the lock was held";
        }
        for (size_t h = 1; h < std::strlen(c.held); ++h) lock.release();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        {
            std::lock_guard<std::mutex> hold(logLock);
            EXPECT_EQ(order, "") << "a release that leaves a holder must wake nobody";
        }
        lock.release();
        for (std::thread& t : threads) t.join();
        EXPECT_EQ(order, c.order);
    }
}

// A reader that takes the lock again while a writer waits for its first hold
// must not queue behind the writer (both would wait for ever); once it has
// let go, it is an ordinary reader again and waits for a writer inside.
TEST(ReadWriteLock, OnlyAThreadStillHoldingTheLockPassesAWriter) {
    ReadWriteLock lock;
    std::atomic<bool> writerInside{false};
    lock.acquireShared();
    std::thread writer([&] {
        lock.acquireExclusive();
        writerInside = true;
        waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingReaders == 1; });
        writerInside = false;
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingWriters == 1; }));
    lock.acquireShared();  // a deadlock here hangs until the runner's time-out
    EXPECT_EQ(lock.state().active, 2);
    lock.release();
    lock.release();
    ASSERT_TRUE(waitFor(lock, [&](const ReadWriteLock::State&) { return writerInside.load(); }));
    lock.acquireShared();
    EXPECT_FALSE(writerInside) << "a reader got in while the writer was inside";
    lock.release();
    writer.join();
}
