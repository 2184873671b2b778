#include "clrprof/object_tracker.h"

#include "clrprof/debug_log.h"

#include <algorithm>
#include <utility>

namespace veskmrte_1_0 {

using namespace cor;

namespace {

// Enough for a small heap in one call; a heap of many regions takes a second.
const size_t kInitialBoundsCapacity = 64;

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

ObjectTracker& ObjectTracker::instance() {
    static ObjectTracker tracker;
    return tracker;
}

ObjectTracker::ObjectTracker() : nextID(1), m_condemnedKnown(false), m_collecting(false) {}

ObjectTracker::~ObjectTracker() = default;

uint32_t ObjectTracker::getObjectID(ObjectID address) {
    {
        SharedHold hold(m_objectMapLock);
        auto itr = m_objectIDMap.find(address);
        if (itr != m_objectIDMap.end()) return itr->second;
    }
    ExclusiveHold hold(m_objectMapLock);
    // Taken before the insertion is tried: when another thread won the race
    // the value is simply skipped, which keeps identifiers unique.
    const uint32_t id = nextID++;
    if (m_objectIDMap.emplace(address, id).second) return id;
    auto itr = m_objectIDMap.find(address);
    VESK_ASSERT(itr != m_objectIDMap.end());
    return itr->second;
}

void ObjectTracker::gcStarted(GenerationBounds* bounds, int cGenerations, const BOOL generationCollected[]) {
    // Held until gcFinished: between the two, addresses in the map and
    // addresses the runtime hands out belong to different heaps.
    m_objectMapLock.acquireExclusive();
    m_collecting.store(true);
    pal::MutexLock hold(m_reportLock);
    movedRanges.clear();
    survivingRanges.clear();
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
    m_condemnedArea.clear();
    m_condemnedKnown = false;
    if (bounds == nullptr || !bounds->read(m_boundsBuffer) || m_boundsBuffer.empty()) return;
    for (const COR_PRF_GC_GENERATION_RANGE& range : m_boundsBuffer) {
        // A generation the runtime does not flag counts as condemned: dropping
        // an identity is recoverable, keeping a stale one is not.
        const bool flagged = generationCollected != nullptr && range.generation >= 0 &&
                             range.generation < cGenerations;
        if (flagged && generationCollected[range.generation] == 0) continue;
        const size_t length = std::max(range.rangeLength, range.rangeLengthReserved);
        if (length != 0) m_condemnedArea.push_back(AddressRange{range.rangeStart, length});
    }
    std::sort(m_condemnedArea.begin(), m_condemnedArea.end(),
              [](const AddressRange& a, const AddressRange& b) { return a.start < b.start; });
    // Merged so that one binary search answers membership.
    size_t merged = 0;
    for (const AddressRange& range : m_condemnedArea) {
        if (merged > 0) {
            AddressRange& last = m_condemnedArea[merged - 1];
            if (range.start <= last.start + last.length) {
                last.length = std::max(last.length, range.start + range.length - last.start);
                continue;
            }
        }
        m_condemnedArea[merged++] = range;
    }
    m_condemnedArea.resize(merged);
    m_condemnedKnown = true;
}

bool ObjectTracker::inCondemnedArea(uintptr_t address) const {
    if (!m_condemnedKnown) return true;
    auto after = std::upper_bound(m_condemnedArea.begin(), m_condemnedArea.end(), address,
                                  [](uintptr_t a, const AddressRange& range) { return a < range.start; });
    if (after == m_condemnedArea.begin()) return false;
    const AddressRange& range = *(after - 1);
    return address - range.start < range.length;
}

void ObjectTracker::movedReferences(ULONG count, const ObjectID oldStarts[], const ObjectID newStarts[],
                                    const ULONG lengths[]) {
    pal::MutexLock hold(m_reportLock);
    for (ULONG i = 0; i < count; ++i) {
        // An empty range holds no object and would compare less than itself.
        if (lengths[i] == 0) continue;
        const bool result = movedRanges.emplace(AddressRange{oldStarts[i], lengths[i]}, newStarts[i]).second;
        VESK_ASSERT(result);
    }
}

void ObjectTracker::survivingReferences(ULONG count, const ObjectID starts[], const ULONG lengths[]) {
    pal::MutexLock hold(m_reportLock);
    for (ULONG i = 0; i < count; ++i) {
        if (lengths[i] == 0) continue;
        const bool result = survivingRanges.insert(AddressRange{starts[i], lengths[i]}).second;
        VESK_ASSERT(result);
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
        const bool nothingToDo = m_objectIDMap.empty() || (movedRanges.empty() && !m_condemnedKnown);
        if (!nothingToDo) {
            if (movedRanges.empty())
                dropUnreportedObjects();
            else
                remapMovedObjects();
        }
    }
    m_collecting.store(false);
    m_objectMapLock.release();
}

// An entry goes to the new address of its moved range, stays where it is in
// a surviving range or outside the condemned area (objects the collector does
// not own, such as literals and type objects, and objects of generations it
// did not collect), and is gone otherwise. The nodes are moved, not copied:
// re-keying a node needs no allocation.
void ObjectTracker::remapMovedObjects() {
    std::unordered_map<ObjectID, uint32_t> remapped;
    remapped.reserve(m_objectIDMap.size());
    while (!m_objectIDMap.empty()) {
        auto node = m_objectIDMap.extract(m_objectIDMap.begin());
        const uint32_t existingID = node.mapped();
        VESK_ASSERT(existingID > 0);
        const ObjectID address = node.key();
        auto moved = movedRanges.find(AddressRange{address, 1});
        if (moved != movedRanges.end()) {
            node.key() = moved->second + (address - moved->first.start);
        } else if (inCondemnedArea(address) && survivingRanges.count(AddressRange{address, 1}) == 0) {
            continue;
        }
        const bool result = remapped.insert(std::move(node)).inserted;
        VESK_ASSERT(result);
    }
    m_objectIDMap.swap(remapped);
}

// A collection that moved nothing: addresses stay, but an object in the
// condemned area that no surviving range holds is dead, and its memory may
// go to a new object or, in a later compacting collection, to a moved one.
void ObjectTracker::dropUnreportedObjects() {
    for (auto itr = m_objectIDMap.begin(); itr != m_objectIDMap.end();) {
        const uint32_t existingID = itr->second;
        VESK_ASSERT(existingID > 0);
        if (inCondemnedArea(itr->first) && survivingRanges.count(AddressRange{itr->first, 1}) == 0)
            itr = m_objectIDMap.erase(itr);
        else
            ++itr;
    }
}

size_t ObjectTracker::trackedCount() {
    SharedHold hold(m_objectMapLock);
    return m_objectIDMap.size();
}

void ObjectTracker::setNextIDForTesting(uint32_t id) {
    ExclusiveHold hold(m_objectMapLock);
    nextID = id;
}

}  // namespace veskmrte_1_0
