// Identifiers for managed objects that stay the same while the garbage
// collector moves the objects. The runtime names an object only by its current
// address; the tracker hands out small identifiers on request, keyed by that
// address, and carries them to the new addresses at the end of every
// collection from the runtime's reports of moved and surviving memory.
#pragma once

#include "abi/corprof.h"
#include "clrprof/identity_table.h"
#include "clrprof/reader_gate.h"
#include "pal/pal.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace veskmrte_1_0 {

// An address range: start and length in bytes.
struct AddressRange {
    uintptr_t start;
    size_t length;
};

// Where the runtime says its garbage-collected heap lies, one record per
// generation range. The tracker asks at the start of a collection; tests
// supply their own.
class GenerationBounds {
public:
    virtual ~GenerationBounds();
    // Replaces ranges with the records as they are now; false when the
    // runtime cannot tell.
    virtual bool read(std::vector<cor::COR_PRF_GC_GENERATION_RANGE>& ranges) = 0;
};

// The runtime's own answer. It may be asked only from inside a runtime
// callback: the runtime refuses the question from any other managed thread.
class ProfilerGenerationBounds : public GenerationBounds {
public:
    explicit ProfilerGenerationBounds(cor::ICorProfilerInfo2* info) : m_info(info) {}
    bool read(std::vector<cor::COR_PRF_GC_GENERATION_RANGE>& ranges) override;

private:
    cor::ICorProfilerInfo2* m_info;
};

// Concurrency: getObjectID answers known objects without a shared lock (a
// reader gate and a table readable during insertions); new objects are
// inserted one thread at a time. gcStarted closes the gate and gcFinished
// opens it, so getObjectID waits while a collection runs. The two calls may
// come on different threads (the server collector often finishes on another
// of its threads). The server collector also reports moved and surviving
// ranges from several threads at once, one per heap, so the reports take a
// lock of their own. A thread must not ask getObjectID between gcStarted and
// gcFinished itself: it would wait for its own collection forever.
//
// Upkeep: the objects are also kept sorted by address (those identified since
// the last collection apart), so that carrying them through a collection is
// one merge of the objects with its sorted reports. The collection itself
// only keeps its reports: the merge, and the lookup table's rebuild, fall to
// the first question after it, outside the pause in which the runtime stops
// every thread. Collections that come before any question queue up, in
// order; beyond a few, each collection's end carries the oldest itself.
//
// Each thread also remembers its last few answers. A program asks about the
// same object several times in a row (a lock is reported as it is requested,
// taken and released), and a remembered answer costs no shared write, where
// passing the gate costs two. The answers hold until the next collection
// starts: between two collections nothing moves and nothing is freed, so an
// address keeps naming the same object.
class ObjectTracker {
public:
    static ObjectTracker& instance() {
        static ObjectTracker tracker;
        return tracker;
    }

    // Tests and benchmarks use their own trackers; the profiler uses
    // instance().
    ObjectTracker();
    virtual ~ObjectTracker();
    ObjectTracker(const ObjectTracker&) = delete;
    ObjectTracker& operator=(const ObjectTracker&) = delete;

    // The identifier of the object now at this address, handed out on the
    // first request. Identifiers start at 1 and are never reused. A
    // remembered answer is given inline, without a call.
    uint32_t getObjectID(cor::ObjectID address) {
        const RecentAnswers& recent = recentAnswers();
        const TrackedObject& slot = recent.slot[slotOf(address)];
        // A collection that starts after this reading answers later
        // questions; this one is answered as of before it.
        if (address != 0 && recent.era == m_era.load(std::memory_order_acquire) && slot.address == address)
            return slot.id;
        return ask(address);
    }

    // A value no era before had; a new one from each collection's start.
    uint64_t era() const { return m_era.load(std::memory_order_acquire); }

    // Starts a collection. bounds (may be null) and the runtime's
    // generation flags tell which part of the heap the collection condemns:
    // an object outside it keeps its identity even when no report mentions
    // it; inside it, an object no report mentions is gone. Without bounds
    // the whole address space counts as condemned, and a collection that
    // moves nothing changes nothing.
    void gcStarted(GenerationBounds* bounds, int cGenerations, const cor::BOOL generationCollected[]);
    void gcStarted() { gcStarted(nullptr, 0, nullptr); }
    void movedReferences(cor::ULONG count, const cor::ObjectID oldStarts[], const cor::ObjectID newStarts[],
                         const cor::ULONG lengths[]);
    void survivingReferences(cor::ULONG count, const cor::ObjectID starts[], const cor::ULONG lengths[]);
    void gcFinished();

    // For tests and benchmarks: the number of objects identified now. Not
    // between gcStarted and gcFinished.
    size_t trackedCount();
    // For tests: the next identifier to hand out.
    void setNextIDForTesting(uint32_t id);
    // Bytes the tracker holds for its objects now (not between gcStarted and
    // gcFinished).
    size_t bytesHeld();

private:
    struct MovedRange {
        uintptr_t start;
        uintptr_t length;
        uintptr_t newStart;
    };

    // What one collection reported, kept until the identities are carried
    // through it.
    struct Collection {
        std::vector<MovedRange> moved;
        std::vector<AddressRange> surviving;
        // The condemned part of the heap as it was when the collection
        // started: sorted, disjoint, not adjacent. Meaningful only when
        // condemnedKnown.
        std::vector<AddressRange> condemned;
        bool condemnedKnown = false;
    };

    // A thread's last answers, one per slot chosen by address, so that a few
    // objects used in turn (nested locks) do not evict each other. Era 0 is
    // no tracker's: a thread starts with nothing remembered.
    struct RecentAnswers {
        static const size_t kSlots = 4;
        uint64_t era;
        TrackedObject slot[kSlots];
    };
    static RecentAnswers& recentAnswers() {
        static thread_local RecentAnswers answers;
        return answers;
    }
    static size_t slotOf(uintptr_t address) { return (address >> 3) % RecentAnswers::kSlots; }

    uint32_t ask(uintptr_t address);
    uint32_t lookUp(uintptr_t address, uint64_t& era);
    uint32_t identify(uintptr_t address);
    uint32_t nullIdentity();
    void collectCondemnedArea(GenerationBounds* bounds, int cGenerations, const cor::BOOL generationCollected[]);
    static void sortReports(Collection& collection);
    void retireOldest();
    void catchUp();
    bool carryIdentities(const Collection& collection);
    static bool carryRun(std::vector<TrackedObject>& objects, const Collection& collection, bool& changed);

    IdentityTable m_table;
    // False while collections wait to be carried or the table to be rebuilt;
    // read by readers inside the gate.
    std::atomic<bool> m_tableCurrent;
    // The objects moved or went since the table was built.
    bool m_tableStale;
    ReaderGate m_gate;
    // Taken by threads that insert a new object.
    pal::Mutex m_insertLock;
    uint32_t nextID;
    uint32_t m_nullID;
    // Every object, sorted by address as of the last collection, and the
    // objects identified since, in the order they came.
    std::vector<TrackedObject> m_sorted;
    std::vector<TrackedObject> m_new;
    // Guards the running collection's reports while they come in.
    pal::Mutex m_reportLock;
    Collection m_reporting;
    // Collections not yet carried, oldest first, and emptied ones whose
    // buffers the next collections reuse, so that a pause rarely allocates.
    // Touched with the gate closed, or by a reader holding m_insertLock.
    std::vector<Collection> m_pending;
    std::vector<Collection> m_spare;
    std::vector<cor::COR_PRF_GC_GENERATION_RANGE> m_boundsBuffer;
    // Set while gcStarted's hold lasts, so that a finish without a start
    // cannot open a gate that someone else has closed.
    std::atomic<bool> m_collecting;
    // Names this tracker's stretch since the last collection started; unique
    // across trackers, so that an answer a thread remembers is never taken
    // for one of another tracker or of an earlier stretch. It changes only
    // while the gate is closed and no reader is inside.
    std::atomic<uint64_t> m_era;
};

}  // namespace veskmrte_1_0
