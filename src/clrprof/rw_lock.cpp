#include "clrprof/rw_lock.h"

namespace veskmrte_1_0 {

namespace {

// The shared holds of the calling thread, so that a nested shared acquisition
// can be recognised. A thread holds few locks at once; a hold beyond the
// table's size is simply not recognised as nested.
struct SharedHoldEntry {
    const ReadWriteLock* lock;
    uint32_t count;
};
const int kMaxTrackedLocks = 8;
thread_local SharedHoldEntry t_sharedHolds[kMaxTrackedLocks];

SharedHoldEntry* findHold(const ReadWriteLock* lock) {
    for (SharedHoldEntry& e : t_sharedHolds)
        if (e.lock == lock && e.count > 0) return &e;
    return nullptr;
}

void noteSharedHold(const ReadWriteLock* lock) {
    if (SharedHoldEntry* e = findHold(lock)) {
        ++e->count;
        return;
    }
    for (SharedHoldEntry& e : t_sharedHolds) {
        if (e.count == 0) {
            e.lock = lock;
            e.count = 1;
            return;
        }
    }
}

void forgetSharedHold(const ReadWriteLock* lock) {
    if (SharedHoldEntry* e = findHold(lock)) --e->count;
}

}  // namespace

ReadWriteLock::ReadWriteLock() : m_waitingReaders(0), m_waitingWriters(0), m_active(0) {}

ReadWriteLock::~ReadWriteLock() {
    m_waitingReaders = 0;
    m_waitingWriters = 0;
    m_active = 0;
}

void ReadWriteLock::acquireShared() {
    bool nested = findHold(this) != nullptr;
    bool wait = false;
    {
        pal::MutexLock hold(m_guard);
        if (!nested && (m_waitingWriters > 0 || m_active < 0)) {
            ++m_waitingReaders;
            wait = true;
        } else {
            ++m_active;
        }
    }
    // A woken reader already counts as active: the releasing thread did that.
    if (wait) m_readers.wait();
    noteSharedHold(this);
}

void ReadWriteLock::acquireExclusive() {
    bool wait = false;
    {
        pal::MutexLock hold(m_guard);
        if (m_active != 0) {
            ++m_waitingWriters;
            wait = true;
        } else {
            m_active = -1;
        }
    }
    if (wait) m_writers.wait();
}

void ReadWriteLock::release() {
    pal::Semaphore* wake = nullptr;
    uint32_t count = 0;
    {
        pal::MutexLock hold(m_guard);
        if (m_active > 0) {
            --m_active;
        } else {
            ++m_active;
        }
        if (m_active == 0) {
            if (m_waitingWriters > 0) {
                m_active = -1;
                --m_waitingWriters;
                wake = &m_writers;
                count = 1;
            } else if (m_waitingReaders > 0) {
                m_active = m_waitingReaders;
                count = static_cast<uint32_t>(m_waitingReaders);
                m_waitingReaders = 0;
                wake = &m_readers;
            }
        }
    }
    forgetSharedHold(this);
    if (wake != nullptr) wake->post(count);
}

ReadWriteLock::State ReadWriteLock::state() {
    pal::MutexLock hold(m_guard);
    return State{m_waitingReaders, m_waitingWriters, m_active};
}

}  // namespace veskmrte_1_0
