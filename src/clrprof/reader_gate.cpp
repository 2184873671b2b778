#include "clrprof/reader_gate.h"

#include <thread>

namespace veskmrte_1_0 {

ReaderGate::ReaderGate() : m_closed(false), m_waiting(0) {}

std::atomic<uint32_t>* ReaderGate::enter() {
    // Threads' stacks lie megabytes apart; the bits above the frame's offset
    // in its stack tell threads apart without thread-local storage.
    int marker = 0;
    const uintptr_t stack = reinterpret_cast<uintptr_t>(&marker) >> 20;
    std::atomic<uint32_t>* counter = &m_counters[(stack ^ (stack >> 5)) % kCounters].readers;
    for (;;) {
        counter->fetch_add(1, std::memory_order_seq_cst);
        if (!m_closed.load(std::memory_order_seq_cst)) return counter;
        // Step back out, so that the writer's wait ends, and queue.
        counter->fetch_sub(1, std::memory_order_seq_cst);
        waitUntilOpen();
    }
}

void ReaderGate::waitUntilOpen() {
    {
        pal::MutexLock hold(m_waitLock);
        if (!m_closed.load(std::memory_order_seq_cst)) return;
        ++m_waiting;
    }
    m_wake.wait();
}

void ReaderGate::close() {
    m_closed.store(true, std::memory_order_seq_cst);
    for (Counter& counter : m_counters) {
        // A reader inside stays for a lookup or one insertion: moments.
        for (int spins = 0; counter.readers.load(std::memory_order_seq_cst) != 0; ++spins) {
            if (spins > 64) std::this_thread::yield();
        }
    }
}

void ReaderGate::open() {
    m_closed.store(false, std::memory_order_seq_cst);
    uint32_t waiting = 0;
    {
        pal::MutexLock hold(m_waitLock);
        waiting = m_waiting;
        m_waiting = 0;
    }
    if (waiting != 0) m_wake.post(waiting);
}

}  // namespace veskmrte_1_0
