// Lets many threads read a structure without sharing a lock, and lets one
// writer shut them out while it rebuilds the structure. A reader announces
// itself on one of several counters (chosen by its stack, so that threads
// rarely share one) and looks at the gate; the writer closes the gate and
// waits until every counter is back at zero. Both sides use sequentially
// consistent operations, so at least one of them sees the other: a reader
// never works on a structure the writer has begun to change.
//
// Closing and opening may happen on different threads. A thread holding a
// pass must not close the gate: it would wait for itself.
#pragma once

#include "pal/pal.h"

#include <atomic>
#include <cstdint>

namespace veskmrte_1_0 {

class ReaderGate {
public:
    ReaderGate();
    ReaderGate(const ReaderGate&) = delete;
    ReaderGate& operator=(const ReaderGate&) = delete;

    // A reader's stay; entering waits while the gate is closed.
    class Pass {
    public:
        explicit Pass(ReaderGate& gate) : m_counter(gate.enter()) {}
        ~Pass() { m_counter->fetch_sub(1, std::memory_order_release); }
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;

    private:
        std::atomic<uint32_t>* m_counter;
    };

    // Shuts new readers out and waits until the readers inside have left.
    void close();
    // Lets readers in again and wakes those waiting.
    void open();
    bool isClosed() const { return m_closed.load(std::memory_order_seq_cst); }

private:
    static const int kCounters = 32;
    struct alignas(64) Counter {
        std::atomic<uint32_t> readers{0};
    };

    std::atomic<uint32_t>* enter();
    void waitUntilOpen();

    Counter m_counters[kCounters];
    alignas(64) std::atomic<bool> m_closed;
    pal::Mutex m_waitLock;
    pal::Semaphore m_wake;
    uint32_t m_waiting;
};

}  // namespace veskmrte_1_0
