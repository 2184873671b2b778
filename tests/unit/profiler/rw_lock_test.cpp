#include "clrprof/rw_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

using veskmrte_1_0::ReadWriteLock;

namespace {

// Waits until the lock's counters satisfy the predicate; threads reach their
// wait asynchronously, so tests observe the lock instead of sleeping blindly.
bool waitFor(ReadWriteLock& lock, const std::function<bool(const ReadWriteLock::State&)>& done) {
    for (int i = 0; i < 5000; ++i) {
        if (done(lock.state())) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

class EventLog {
public:
    void add(const std::string& e) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_events.push_back(e);
    }
    std::vector<std::string> events() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_events;
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_events;
};

}  // namespace

TEST(ReadWriteLock, WaitingWriterGoesBeforeLaterReader) {
    ReadWriteLock lock;
    EventLog log;
    lock.acquireShared();
    lock.acquireShared();

    std::thread writer([&] {
        lock.acquireExclusive();
        log.add("writer in");
        log.add("writer out");
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingWriters == 1; }));

    std::thread reader([&] {
        lock.acquireShared();
        log.add("reader in");
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingReaders == 1; }));

    lock.release();
    EXPECT_TRUE(log.events().empty()) << "the writer must wait for the second reader";
    lock.release();
    writer.join();
    reader.join();
    EXPECT_EQ(log.events(), (std::vector<std::string>{"writer in", "writer out", "reader in"}));
}

TEST(ReadWriteLock, WriterReleaseAdmitsAllWaitingReadersAtOnce) {
    ReadWriteLock lock;
    lock.acquireExclusive();
    std::atomic<int> inside{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            lock.acquireShared();
            ++inside;
            while (!go) std::this_thread::yield();
            lock.release();
        });
    }
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingReaders == 3; }));
    lock.release();
    // All three are inside together: none can leave before go is set.
    ASSERT_TRUE(waitFor(lock, [&](const ReadWriteLock::State& s) { return s.active == 3 && inside == 3; }));
    go = true;
    for (auto& t : readers) t.join();
    ReadWriteLock::State s = lock.state();
    EXPECT_EQ(s.active, 0);
    EXPECT_EQ(s.waitingReaders, 0);
}

TEST(ReadWriteLock, ReleaseLeavingOtherReadersWakesNobody) {
    ReadWriteLock lock;
    lock.acquireShared();
    lock.acquireShared();
    std::atomic<bool> writerIn{false};
    std::thread writer([&] {
        lock.acquireExclusive();
        writerIn = true;
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingWriters == 1; }));
    lock.release();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(writerIn);
    EXPECT_EQ(lock.state().active, 1);
    lock.release();
    writer.join();
    EXPECT_TRUE(writerIn);
}

TEST(ReadWriteLock, WaitingWritersGoBeforeWaitingReaders) {
    ReadWriteLock lock;
    EventLog log;
    lock.acquireExclusive();
    std::thread w1([&] {
        lock.acquireExclusive();
        log.add("writer");
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingWriters == 1; }));
    std::thread r1([&] {
        lock.acquireShared();
        log.add("reader");
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingReaders == 1; }));
    std::thread w2([&] {
        lock.acquireExclusive();
        log.add("writer");
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingWriters == 2; }));
    lock.release();
    w1.join();
    w2.join();
    r1.join();
    EXPECT_EQ(log.events(), (std::vector<std::string>{"writer", "writer", "reader"}));
}

// A thread that holds the lock shared takes it again while a writer waits for
// that very hold: queueing behind the writer would leave both waiting for ever.
TEST(ReadWriteLock, NestedSharedAcquisitionWithWaitingWriterDoesNotDeadlock) {
    ReadWriteLock lock;
    std::atomic<bool> writerDone{false};
    lock.acquireShared();
    std::thread writer([&] {
        lock.acquireExclusive();
        writerDone = true;
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingWriters == 1; }));

    // A deadlock here hangs the test until the test runner's time-out.
    lock.acquireShared();
    EXPECT_EQ(lock.state().active, 2);
    lock.release();
    lock.release();
    writer.join();
    EXPECT_TRUE(writerDone);
    EXPECT_EQ(lock.state().active, 0);
}

// Another thread's shared hold does not let a new reader past a waiting writer.
TEST(ReadWriteLock, OtherThreadsHoldDoesNotCountAsNested) {
    ReadWriteLock lock;
    EventLog log;
    lock.acquireShared();
    std::thread writer([&] {
        lock.acquireExclusive();
        log.add("writer");
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingWriters == 1; }));
    std::thread reader([&] {
        lock.acquireShared();
        log.add("reader");
        lock.release();
    });
    ASSERT_TRUE(waitFor(lock, [](const ReadWriteLock::State& s) { return s.waitingReaders == 1; }));
    lock.release();
    writer.join();
    reader.join();
    EXPECT_EQ(log.events(), (std::vector<std::string>{"writer", "reader"}));
}

TEST(ReadWriteLock, ManyThreadsKeepExclusiveSectionsExclusive) {
    ReadWriteLock lock;
    int counter = 0;
    std::atomic<int> writersInside{0};
    std::atomic<bool> overlap{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if ((i + t) % 4 == 0) {
                    lock.acquireExclusive();
                    if (++writersInside != 1) overlap = true;
                    ++counter;
                    --writersInside;
                    lock.release();
                } else {
                    lock.acquireShared();
                    if (writersInside != 0) overlap = true;
                    lock.release();
                }
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_FALSE(overlap);
    EXPECT_EQ(counter, 8 * 500);
    EXPECT_EQ(lock.state().active, 0);
}
