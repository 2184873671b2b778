#include "lock_order.h"

#include <algorithm>

namespace vesktool {

namespace {

LockOrder::Thread::Hold* findHeld(LockOrder::Thread& thread, uint32_t lock) {
    for (auto& hold : thread.held)
        if (hold.lock == lock) return &hold;
    return nullptr;
}

void forget(LockOrder::Thread& thread, uint32_t lock) {
    thread.held.erase(std::remove_if(thread.held.begin(), thread.held.end(),
                                     [lock](const LockOrder::Thread::Hold& h) { return h.lock == lock; }),
                      thread.held.end());
}

}  // namespace

LockOrder::Thread* LockOrder::newThread(int32_t managedId) {
    std::lock_guard<std::mutex> guard(lock_);
    threads_.push_back(std::unique_ptr<Thread>(new Thread(managedId, nextSerial_++)));
    return threads_.back().get();
}

void LockOrder::step(Thread& thread, LockStep step, uint32_t lock, const LockKind& kind) {
    if (lock == 0) return;
    switch (step) {
        case LockStep::Acquiring: acquiring(thread, lock, kind); break;
        case LockStep::Acquired: acquired(thread, lock, kind); break;
        case LockStep::Releasing: releasing(thread, lock, kind); break;
        case LockStep::Waiting: waiting(thread, lock, kind); break;
    }
}

// Edges are added when the thread starts to block, not when it has the lock:
// a thread that deadlocks never gets there, and its edge is the one that
// explains the deadlock.
void LockOrder::acquiring(Thread& thread, uint32_t lock, const LockKind& kind) {
    // Re-entering a lock it holds cannot block the thread.
    if (findHeld(thread, lock) != nullptr) return;
    thread.pending = LockUse{lock, stackFor(thread, lock)};
    if (!thread.held.empty()) addEdges(thread, thread.pending, kind);
}

// A stack costs a walk, so one is taken only where the report can use it:
// for the inner lock of an edge not seen before, and for a lock whose edges
// still lack the stack at which it was taken. Such a lock got its first edge
// before anyone knew it would be an outer lock; its next taking supplies it.
uint32_t LockOrder::stackFor(const Thread& thread, uint32_t lock) {
    bool wanted = outerStackWanted(lock);
    if (!wanted && !thread.held.empty()) {
        std::lock_guard<std::mutex> guard(lock_);
        for (const Thread::Hold& outer : thread.held)
            if (edges_.find({outer.lock, lock}) == edges_.end()) wanted = true;
    }
    return wanted ? stackHere() : 0;
}

bool LockOrder::outerStackWanted(uint32_t lock) const {
    return wantOuterStack_[lock % kWantSlots].load(std::memory_order_relaxed) == lock;
}

// A bounded attempt (TryEnter, a wait with a timeout) that succeeded holds the
// lock but adds no edge: it gives up instead of waiting for ever, which is how
// programs avoid the very deadlocks this looks for.
void LockOrder::acquired(Thread& thread, uint32_t lock, const LockKind& kind) {
    if (Thread::Hold* hold = findHeld(thread, lock)) {
        ++hold->count;
        return;
    }
    uint32_t count = 1;
    if (thread.waitingFor.lock == lock) {
        count = thread.waitingFor.count;
        thread.waitingFor = Thread::Hold{0, 0, 0, nullptr};
    }
    const uint32_t stack =
        thread.pending.lock == lock ? thread.pending.stack : (outerStackWanted(lock) ? stackHere() : 0);
    thread.pending = LockUse{0, 0};
    thread.held.push_back(Thread::Hold{lock, stack, count, kind.type});
}

void LockOrder::releasing(Thread& thread, uint32_t lock, const LockKind& kind) {
    Thread::Hold* hold = findHeld(thread, lock);
    if (hold == nullptr) {
        // Releasing a monitor or mutex one does not own throws and changes
        // nothing; a semaphore released by another thread is a signal.
        if (kind.ownerless) {
            std::lock_guard<std::mutex> guard(lock_);
            signals_.insert(lock);
        }
        return;
    }
    if (--hold->count == 0) forget(thread, lock);
}

void LockOrder::waiting(Thread& thread, uint32_t lock, const LockKind& kind) {
    Thread::Hold* hold = findHeld(thread, lock);
    // Waiting on a monitor one does not own throws.
    if (hold == nullptr) return;
    thread.waitingFor = *hold;
    forget(thread, lock);
    // Taking it back waits while the locks still held stay held.
    thread.pending = LockUse{lock, stackFor(thread, lock)};
    if (!thread.held.empty()) addEdges(thread, thread.pending, kind);
}

void LockOrder::addEdges(const Thread& thread, const LockUse& inner, const LockKind& kind) {
    std::lock_guard<std::mutex> guard(lock_);
    noteType(inner.lock, kind.type);
    for (size_t i = 0; i < thread.held.size(); ++i) {
        const Thread::Hold& outer = thread.held[i];
        noteType(outer.lock, outer.type);
        auto found = edges_.find({outer.lock, inner.lock});
        if (found == edges_.end()) {
            Edge edge{LockUse{outer.lock, outer.stack}, inner, thread.managedId, {thread.serial}, {}};
            for (size_t g = 0; g < i; ++g) edge.gates.push_back(thread.held[g].lock);
            std::sort(edge.gates.begin(), edge.gates.end());
            edges_.emplace(std::make_pair(outer.lock, inner.lock), std::move(edge));
            if (outer.stack == 0) wantOuterStack_[outer.lock % kWantSlots].store(outer.lock, std::memory_order_relaxed);
            continue;
        }
        Edge& edge = found->second;
        if (edge.outer.stack == 0) {
            // A slot shared by two locks serves the later; the other asks again.
            std::atomic<uint32_t>& slot = wantOuterStack_[outer.lock % kWantSlots];
            if (outer.stack != 0) {
                edge.outer.stack = outer.stack;
                uint32_t expected = outer.lock;
                slot.compare_exchange_strong(expected, 0, std::memory_order_relaxed);
            } else {
                slot.store(outer.lock, std::memory_order_relaxed);
            }
        }
        if (edge.inner.stack == 0) edge.inner.stack = inner.stack;
        if (edge.threads.size() < kMaxCycleLength &&
            std::find(edge.threads.begin(), edge.threads.end(), thread.serial) == edge.threads.end())
            edge.threads.push_back(thread.serial);
        // A gate is a lock held before outer on every taking of the edge.
        edge.gates.erase(std::remove_if(edge.gates.begin(), edge.gates.end(),
                                        [&](uint32_t gate) {
                                            for (size_t g = 0; g < i; ++g)
                                                if (thread.held[g].lock == gate) return false;
                                            return true;
                                        }),
                         edge.gates.end());
    }
}

void LockOrder::noteType(uint32_t lock, const char* type) {
    if (type != nullptr && types_.find(lock) == types_.end()) types_.emplace(lock, type);
}

const std::string& LockOrder::typeOf(uint32_t lock) const {
    static const std::string unknown;
    auto found = types_.find(lock);
    return found != types_.end() ? found->second : unknown;
}

size_t LockOrder::edgeCount() const { return edges_.size(); }

size_t LockOrder::signalCount() const { return signals_.size(); }

}  // namespace vesktool
