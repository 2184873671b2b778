#include "clrprof/object_tracker.h"

#include "clrprof/debug_log.h"

#include <algorithm>
#include <utility>

namespace veskmrte_1_0 {

using namespace cor;

namespace {

// Enough for a small heap in one call; a heap of many regions takes a second.
const size_t kInitialBoundsCapacity = 64;
// Collections left for the first question to carry. Past these, the end of
// each collection carries the oldest, so that the reports kept stay bounded
// when the tool stops asking (as much work in the pause as without the queue).
const size_t kMaxPending = 4;
// Emptied collections kept for their buffers.
const size_t kMaxSpare = 2;

std::atomic<uint64_t> g_lastEra{0};

uint64_t newEra() { return g_lastEra.fetch_add(1, std::memory_order_relaxed) + 1; }

}  // namespace

GenerationBounds::~GenerationBounds() = default;

bool ProfilerGenerationBounds::read(std::vector<COR_PRF_GC_GENERATION_RANGE>& ranges) {
    if (m_info == nullptr) return false;
    ranges.resize(std::max(ranges.capacity(), kInitialBoundsCapacity));
    // The table cannot change while a collection is reported, so the second
    // call, sized from the first, fits; the bound only guards against a
    // runtime that answers otherwise.
    for (int attempt = 0; attempt < 4; ++attempt) {
        ULONG count = 0;
        if (FAILED(m_info->GetGenerationBounds(static_cast<ULONG>(ranges.size()), &count, ranges.data())))
            return false;
        if (count <= ranges.size()) {
            ranges.resize(count);
            return true;
        }
        ranges.resize(count);
    }
    return false;
}

ObjectTracker::ObjectTracker()
    : m_tableCurrent(true), m_tableStale(false), nextID(1), m_nullID(0), m_collecting(false), m_era(newEra()) {}

ObjectTracker::~ObjectTracker() = default;

uint32_t ObjectTracker::ask(ObjectID address) {
    // The table's empty mark; no object lives there.
    if (address == 0) return nullIdentity();
    uint64_t era = 0;
    const uint32_t id = lookUp(address, era);
    RecentAnswers& recent = recentAnswers();
    if (recent.era != era) {
        for (TrackedObject& old : recent.slot) old = TrackedObject{0, 0};
        recent.era = era;
    }
    recent.slot[slotOf(address)] = TrackedObject{address, id};
    return id;
}

// The era is read inside the gate, where it cannot change, so the answer
// belongs to it.
uint32_t ObjectTracker::lookUp(uintptr_t address, uint64_t& era) {
    ReaderGate::Pass pass(m_gate);
    era = m_era.load(std::memory_order_relaxed);
    if (m_tableCurrent.load(std::memory_order_acquire)) {
        const uint32_t id = m_table.find(address);
        if (id != 0) return id;
    }
    return identify(address);
}

uint32_t ObjectTracker::identify(uintptr_t address) {
    pal::MutexLock hold(m_insertLock);
    // The first question after a collection carries the identities through
    // it; the others wait here meanwhile.
    catchUp();
    // Another thread may have inserted it since the lookup.
    const uint32_t existing = m_table.find(address);
    if (existing != 0) return existing;
    const uint32_t id = nextID++;
    m_table.insert(address, id);
    m_new.push_back(TrackedObject{address, id});
    return id;
}

uint32_t ObjectTracker::nullIdentity() {
    pal::MutexLock hold(m_insertLock);
    if (m_nullID == 0) m_nullID = nextID++;
    return m_nullID;
}

void ObjectTracker::gcStarted(GenerationBounds* bounds, int cGenerations, const BOOL generationCollected[]) {
    // Closed until gcFinished: between the two, addresses in the table and
    // addresses the runtime hands out belong to different heaps.
    m_gate.close();
    // No reader is inside: every answer remembered from now on is tagged
    // with the new era, and none from before matches it.
    m_era.store(newEra(), std::memory_order_release);
    m_collecting.store(true);
    pal::MutexLock hold(m_reportLock);
    m_reporting.moved.clear();
    m_reporting.surviving.clear();
    collectCondemnedArea(bounds, cGenerations, generationCollected);
}

// Read before anything moves: the tracked addresses are pre-collection
// addresses, and a region that this collection frees is still listed, so a
// dead object in it is recognised as condemned rather than as lying outside
// the heap. The reserved extent is used, not the used one: nothing but the
// collector's objects lies in its reserved address space, whereas an object
// beyond a used extent that lags behind the allocators would look as if it
// lay outside, keep a stale identity and collide with whatever moves there.
void ObjectTracker::collectCondemnedArea(GenerationBounds* bounds, int cGenerations,
                                         const BOOL generationCollected[]) {
    std::vector<AddressRange>& area = m_reporting.condemned;
    area.clear();
    m_reporting.condemnedKnown = false;
    if (bounds == nullptr || !bounds->read(m_boundsBuffer) || m_boundsBuffer.empty()) return;
    for (const COR_PRF_GC_GENERATION_RANGE& range : m_boundsBuffer) {
        // A generation the runtime does not flag counts as condemned: dropping
        // an identity is recoverable, keeping a stale one is not.
        const bool flagged = generationCollected != nullptr && range.generation >= 0 &&
                             range.generation < cGenerations;
        if (flagged && generationCollected[range.generation] == 0) continue;
        const size_t length = std::max(range.rangeLength, range.rangeLengthReserved);
        if (length != 0) area.push_back(AddressRange{range.rangeStart, length});
    }
    std::sort(area.begin(), area.end(),
              [](const AddressRange& a, const AddressRange& b) { return a.start < b.start; });
    // Merged so that one binary search answers membership.
    size_t merged = 0;
    for (const AddressRange& range : area) {
        if (merged > 0) {
            AddressRange& last = area[merged - 1];
            if (range.start <= last.start + last.length) {
                last.length = std::max(last.length, range.start + range.length - last.start);
                continue;
            }
        }
        area[merged++] = range;
    }
    area.resize(merged);
    m_reporting.condemnedKnown = true;
}

void ObjectTracker::movedReferences(ULONG count, const ObjectID oldStarts[], const ObjectID newStarts[],
                                    const ULONG lengths[]) {
    pal::MutexLock hold(m_reportLock);
    for (ULONG i = 0; i < count; ++i) {
        // An empty range holds no object.
        if (lengths[i] != 0) m_reporting.moved.push_back(MovedRange{oldStarts[i], lengths[i], newStarts[i]});
    }
}

void ObjectTracker::survivingReferences(ULONG count, const ObjectID starts[], const ULONG lengths[]) {
    pal::MutexLock hold(m_reportLock);
    for (ULONG i = 0; i < count; ++i) {
        if (lengths[i] != 0) m_reporting.surviving.push_back(AddressRange{starts[i], lengths[i]});
    }
}

void ObjectTracker::gcFinished() {
    if (!m_collecting.load()) return;
    {
        // The reports are complete by now; taking their lock makes the last
        // reporting thread's writes visible here. Without bounds a collection
        // that moved nothing leaves every entry as it is: nothing tells a dead
        // object in the heap from a live one outside it.
        pal::MutexLock hold(m_reportLock);
        const bool nothingToDo = m_reporting.moved.empty() && !m_reporting.condemnedKnown;
        const bool nothingTracked = m_pending.empty() && m_sorted.empty() && m_new.empty();
        if (!nothingToDo && !nothingTracked) {
            // Handing the reports over costs a few pointers; sorting them
            // and the merge wait for the first question. The server
            // collector's heaps report side by side, so their ranges come
            // interleaved and sorting them in the pause would cost more than
            // copying them.
            m_pending.push_back(std::move(m_reporting));
            m_reporting = Collection();
            if (!m_spare.empty()) {
                m_reporting = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
    }
    if (m_pending.size() > kMaxPending) retireOldest();
    m_tableCurrent.store(m_pending.empty() && !m_tableStale, std::memory_order_relaxed);
    // No reader is inside: tables replaced by growth can go.
    m_table.freeRetired();
    m_collecting.store(false);
    m_gate.open();
}

// Sorted by start, each kind's ranges must be disjoint: the runtime reports
// every surviving byte once.
void ObjectTracker::sortReports(Collection& collection) {
    // The runtime reports each heap's ranges in address order: with one heap
    // nothing to sort.
    std::vector<MovedRange>& movedRanges = collection.moved;
    std::vector<AddressRange>& survivingRanges = collection.surviving;
    auto movedOrder = [](const MovedRange& a, const MovedRange& b) { return a.start < b.start; };
    if (!std::is_sorted(movedRanges.begin(), movedRanges.end(), movedOrder))
        std::sort(movedRanges.begin(), movedRanges.end(), movedOrder);
    for (size_t i = 1; i < movedRanges.size(); ++i) {
        const bool result = movedRanges[i - 1].start + movedRanges[i - 1].length <= movedRanges[i].start;
        VESK_ASSERT(result);
    }
    auto survivingOrder = [](const AddressRange& a, const AddressRange& b) { return a.start < b.start; };
    if (!std::is_sorted(survivingRanges.begin(), survivingRanges.end(), survivingOrder))
        std::sort(survivingRanges.begin(), survivingRanges.end(), survivingOrder);
    for (size_t i = 1; i < survivingRanges.size(); ++i) {
        const bool result = survivingRanges[i - 1].start + survivingRanges[i - 1].length <= survivingRanges[i].start;
        VESK_ASSERT(result);
    }
}

// Carries the identities through the oldest waiting collection.
void ObjectTracker::retireOldest() {
    Collection& oldest = m_pending.front();
    sortReports(oldest);
    if (carryIdentities(oldest)) m_tableStale = true;
    if (m_spare.size() < kMaxSpare) m_spare.push_back(std::move(oldest));
    m_pending.erase(m_pending.begin());
}

// Under m_insertLock, inside the gate: no collection runs meanwhile.
void ObjectTracker::catchUp() {
    if (m_tableCurrent.load(std::memory_order_relaxed)) return;
    while (!m_pending.empty()) retireOldest();
    if (m_tableStale) m_table.rebuild(m_sorted);
    m_tableStale = false;
    m_tableCurrent.store(true, std::memory_order_release);
}

namespace {

// Walks sorted, disjoint ranges alongside ascending addresses.
template <typename Range>
class RangeCursor {
public:
    explicit RangeCursor(const std::vector<Range>& ranges) : m_ranges(ranges), m_next(0) {}
    // The range holding the address, or null.
    const Range* find(uintptr_t address) {
        while (m_next < m_ranges.size() && m_ranges[m_next].start + m_ranges[m_next].length <= address) ++m_next;
        if (m_next < m_ranges.size() && m_ranges[m_next].start <= address) return &m_ranges[m_next];
        return nullptr;
    }

private:
    const std::vector<Range>& m_ranges;
    size_t m_next;
};

struct ByAddress {
    bool operator()(const TrackedObject& a, const TrackedObject& b) const { return a.address < b.address; }
};

}  // namespace

// One pass over each run of objects in address order (those sorted at the
// last collection, those identified since), beside the sorted reports: an
// object goes to the new address of its moved range, stays where it is in a
// surviving range or outside the condemned area (objects the collector does
// not own, such as literals and type objects, and objects of generations it
// did not collect), and is gone otherwise. Each run is carried in place and
// the two are then merged from the back, so that the objects are never
// copied to a second array: the collector, which runs next, finds more of
// its heap still in the caches. Compaction keeps the order of objects within
// a range and, mostly, between ranges, so the runs are usually sorted
// already; otherwise the result is sorted once. True when an object moved or
// went.
bool ObjectTracker::carryIdentities(const Collection& collection) {
    if (m_sorted.empty() && m_new.empty()) return false;
    std::sort(m_new.begin(), m_new.end(), ByAddress());
    bool changed = false;
    const bool sortedInOrder = carryRun(m_sorted, collection, changed);
    const bool newInOrder = carryRun(m_new, collection, changed);
    size_t i = m_sorted.size();
    size_t j = m_new.size();
    m_sorted.resize(i + j);
    if (sortedInOrder && newInOrder) {
        for (size_t k = m_sorted.size(); j > 0;) {
            // One object moved onto another.
            const bool result = i == 0 || m_sorted[i - 1].address != m_new[j - 1].address;
            VESK_ASSERT(result);
            if (i > 0 && m_sorted[i - 1].address > m_new[j - 1].address)
                m_sorted[--k] = m_sorted[--i];
            else
                m_sorted[--k] = m_new[--j];
        }
    } else {
        std::copy(m_new.begin(), m_new.end(), m_sorted.begin() + static_cast<std::ptrdiff_t>(i));
        std::sort(m_sorted.begin(), m_sorted.end(), ByAddress());
        for (size_t k = 1; k < m_sorted.size(); ++k) {
            // Two objects moved to one address, or one moved onto an object
            // the collection kept.
            const bool result = m_sorted[k - 1].address != m_sorted[k].address;
            VESK_ASSERT(result);
        }
    }
    m_new.clear();
    // The table already holds every object where it was; the caller rebuilds
    // it once when one moved or went.
    return changed;
}

// Carries objects sorted by address through the collection; each is written
// at or before the place it was read from. False when the carried objects
// are no longer in strictly ascending order.
bool ObjectTracker::carryRun(std::vector<TrackedObject>& objects, const Collection& collection, bool& changed) {
    RangeCursor<MovedRange> moved(collection.moved);
    RangeCursor<AddressRange> surviving(collection.surviving);
    RangeCursor<AddressRange> condemned(collection.condemned);
    bool ordered = true;
    size_t kept = 0;
    for (size_t read = 0; read < objects.size(); ++read) {
        const TrackedObject object = objects[read];
        const uint32_t existingID = object.id;
        VESK_ASSERT(existingID > 0);
        uintptr_t address = object.address;
        if (const MovedRange* range = moved.find(address)) {
            address = range->newStart + (address - range->start);
            changed = changed || address != object.address;
        } else if ((!collection.condemnedKnown || condemned.find(address) != nullptr) &&
                   surviving.find(address) == nullptr) {
            changed = true;
            continue;
        }
        if (kept > 0 && address <= objects[kept - 1].address) ordered = false;
        objects[kept++] = TrackedObject{address, object.id};
    }
    objects.resize(kept);
    return ordered;
}

size_t ObjectTracker::trackedCount() {
    ReaderGate::Pass pass(m_gate);
    pal::MutexLock hold(m_insertLock);
    catchUp();
    return m_sorted.size() + m_new.size();
}

void ObjectTracker::setNextIDForTesting(uint32_t id) {
    pal::MutexLock hold(m_insertLock);
    nextID = id;
}

size_t ObjectTracker::bytesHeld() {
    ReaderGate::Pass pass(m_gate);
    pal::MutexLock hold(m_insertLock);
    catchUp();
    return m_table.bytes() + (m_sorted.capacity() + m_new.capacity()) * sizeof(TrackedObject);
}

}  // namespace veskmrte_1_0
