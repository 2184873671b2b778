// Lock-order analysis: which locks each thread holds, and in which order
// locks were ever taken one inside another. Two threads that take the same
// locks in opposite orders can deadlock even when, in the run observed, they
// never met; a cycle in the order graph is such a potential deadlock.
//
// Memory grows with the number of locks and of distinct (outer, inner) pairs,
// never with the number of events: a thread keeps only the locks it holds
// now, an edge keeps what was seen the first time it was taken, narrowed by
// later takings.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vesktool {

// What a wrapped call does to the lock it names, as the wrapper reports it.
// The wrapper decides, because only it sees the call's outcome (a TryEnter
// that timed out, a WaitOne on a handle that is not a mutex).
enum class LockStep {
    // Before a call that blocks until it holds the lock.
    Acquiring,
    // After a call that now holds the lock (once more, if re-entered).
    Acquired,
    // Before a call that gives up one hold of the lock.
    Releasing,
    // Before a call that gives up every hold of the lock until it returns,
    // then blocks to take them back (Monitor.Wait).
    Waiting,
};

// Locks are named by the profiler's object identities, which survive
// garbage collections; 0 is no lock. Stacks are ids in the tool's stack store;
// 0 is no stack.
struct LockUse {
    uint32_t lock;
    uint32_t stack;
};

// What the analysis needs to know about a lock's type.
struct LockKind {
    const char* type;  // shown in the report; must live as long as the analysis
    // A semaphore has no owner: any thread may release it. One released by a
    // thread that did not take it signals rather than excludes.
    bool ownerless;
};

// Interns the calling thread's current stack; 0 when none can be had.
typedef uint32_t (*CaptureStack)();

class LockOrder {
public:
    // The state of one thread. Owned by the caller's thread and only touched
    // from it; serial tells threads apart even when the runtime reuses a
    // managed thread id.
    struct Thread {
        Thread(int32_t managedId, uint32_t serial) : managedId(managedId), serial(serial) {}
        struct Hold {
            uint32_t lock;
            uint32_t stack;
            uint32_t count;    // re-entrant holds
            const char* type;  // the LockKind's, which outlives the analysis
        };
        const int32_t managedId;
        const uint32_t serial;
        std::vector<Hold> held;  // in acquisition order
        // The lock a pending Monitor.Wait gave up, to be held again as often.
        Hold waitingFor{0, 0, 0, nullptr};
        // Where the blocking acquisition in progress was asked for.
        LockUse pending{0, 0};
    };

    // An edge outer -> inner: a thread holding outer took (or blocked to take)
    // inner. The thread and the inner stack are the first taking's; the outer
    // stack is the first taking's that had one (see stackFor).
    struct Edge {
        LockUse outer;
        LockUse inner;
        int32_t managedThread;  // of the first taking
        // Serials of the threads that took it, the first first; no more are
        // kept than the longest cycle searched for can use.
        std::vector<uint32_t> threads;
        // Locks held before outer on every taking: gate locks.
        std::vector<uint32_t> gates;
    };

    struct Cycle {
        std::vector<const Edge*> edges;  // edges[i].inner == edges[i+1].outer
    };

    // Bounds on the search, so that a pathological graph cannot stall exit.
    static constexpr size_t kMaxCycleLength = 6;
    static constexpr size_t kMaxCycles = 100;
    static constexpr size_t kMaxSearchSteps = 2000000;
    // Walks the analysis asks for in a process: a walk costs as much as
    // thousands of lock calls, and a program with many lock pairs would
    // otherwise pay that for each. Edges found later have no stacks.
    static constexpr uint32_t kMaxWalks = 2000;

    explicit LockOrder(CaptureStack captureStack) : captureStack_(captureStack) {}
    LockOrder(const LockOrder&) = delete;
    LockOrder& operator=(const LockOrder&) = delete;

    // Kept for the life of the analysis, since threads may exit at any time.
    Thread* newThread(int32_t managedId);

    // One step of a wrapped call on the calling thread, whose state is thread.
    void step(Thread& thread, LockStep step, uint32_t lock, const LockKind& kind);

    // Cycles that can deadlock: at least two threads can take their edges,
    // no gate lock is common to all edges, no lock in it is a signal.
    // complete, when given, is false if the search stopped at its budget.
    std::vector<Cycle> potentialDeadlocks(bool* complete = nullptr) const;

    // Under the graph's lock, for reading edges and types while reporting.
    std::unique_lock<std::mutex> hold() const { return std::unique_lock<std::mutex>(lock_); }
    const std::string& typeOf(uint32_t lock) const;
    size_t edgeCount() const;
    size_t signalCount() const;

private:
    void acquiring(Thread& thread, uint32_t lock, const LockKind& kind);
    void acquired(Thread& thread, uint32_t lock, const LockKind& kind);
    void releasing(Thread& thread, uint32_t lock, const LockKind& kind);
    void waiting(Thread& thread, uint32_t lock, const LockKind& kind);
    void addEdges(const Thread& thread, const LockUse& inner, const LockKind& kind);
    void noteType(uint32_t lock, const char* type);
    uint32_t stackFor(const Thread& thread, uint32_t lock);
    bool outerStackWanted(uint32_t lock) const;
    uint32_t stackHere() {
        if (captureStack_ == nullptr || walks_.fetch_add(1, std::memory_order_relaxed) >= kMaxWalks) return 0;
        return captureStack_();
    }

    const CaptureStack captureStack_;
    mutable std::mutex lock_;
    uint32_t nextSerial_ = 1;
    std::vector<std::unique_ptr<Thread>> threads_;
    std::map<std::pair<uint32_t, uint32_t>, Edge> edges_;
    std::map<uint32_t, std::string> types_;
    // Semaphores released by a thread that did not take them: used to signal,
    // not to exclude, so waiting on them orders nothing.
    std::set<uint32_t> signals_;
    // Locks whose taking should be walked, looked up without the graph's
    // lock on every acquisition: lock % kWantSlots holds the lock, or 0.
    static constexpr uint32_t kWantSlots = 1024;
    std::atomic<uint32_t> wantOuterStack_[kWantSlots] = {};
    std::atomic<uint32_t> walks_{0};
};

}  // namespace vesktool
