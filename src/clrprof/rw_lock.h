// A readers-writer lock with writer preference: once a writer waits, new
// readers queue behind it; a writer's release wakes the next writer first and
// only then all waiting readers together.
//
// A thread that already holds the lock shared may take it shared again even
// while a writer waits: the writer is waiting for that very hold to end, so
// queueing the nested reader behind it would deadlock both.
#pragma once

#include "pal/pal.h"

#include <cstdint>

namespace veskmrte_1_0 {

class ReadWriteLock {
public:
    ReadWriteLock();
    ~ReadWriteLock();
    ReadWriteLock(const ReadWriteLock&) = delete;
    ReadWriteLock& operator=(const ReadWriteLock&) = delete;

    void acquireShared();
    void acquireExclusive();
    // Leaves, whichever way the caller entered.
    void release();

    // For tests: the counters under the guard.
    struct State {
        int32_t waitingReaders;
        int32_t waitingWriters;
        int32_t active;
    };
    State state();

private:
    pal::Mutex m_guard;
    pal::Semaphore m_readers;
    pal::Semaphore m_writers;
    int32_t m_waitingReaders;
    int32_t m_waitingWriters;
    // 0 free, n > 0 held by n readers, -1 held by one writer.
    int32_t m_active;
};

// Scope holders; each releases once, on every path.
class SharedHold {
public:
    explicit SharedHold(ReadWriteLock& lock) : m_lock(lock) { m_lock.acquireShared(); }
    ~SharedHold() { m_lock.release(); }
    SharedHold(const SharedHold&) = delete;
    SharedHold& operator=(const SharedHold&) = delete;

private:
    ReadWriteLock& m_lock;
};

class ExclusiveHold {
public:
    explicit ExclusiveHold(ReadWriteLock& lock) : m_lock(lock) { m_lock.acquireExclusive(); }
    ~ExclusiveHold() { m_lock.release(); }
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;

private:
    ReadWriteLock& m_lock;
};

}  // namespace veskmrte_1_0
