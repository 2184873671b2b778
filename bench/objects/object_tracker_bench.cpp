// The object tracker's costs: answering the tool for objects it already
// knows, keeping a collection's reports in its pause, and carrying every
// identity through the collection at the first question after it.
#include "clrprof/object_tracker.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

using cor::BOOL;
using cor::COR_PRF_GC_GENERATION_RANGE;
using cor::ObjectID;
using cor::ULONG;
using veskmrte_1_0::GenerationBounds;
using veskmrte_1_0::ObjectTracker;

namespace {

// Objects 64 bytes apart; a collection moves them between two halves of one
// generation-0 range, four objects to a reported range.
const ObjectID kHeapStart = 0x7f0000000000;
const ObjectID kSecondHalf = 0x7f0100000000;
const uintptr_t kObjectSize = 0x40;
const ULONG kObjectsPerRange = 4;
// The runtime reports at most this many ranges in one call.
const ULONG kBatch = 512;
const BOOL kFullCollection[5] = {1, 1, 1, 1, 1};

class OneRangeHeap : public GenerationBounds {
public:
    bool read(std::vector<COR_PRF_GC_GENERATION_RANGE>& ranges) override {
        ranges.assign(1, COR_PRF_GC_GENERATION_RANGE{0, kHeapStart, 2 * (kSecondHalf - kHeapStart),
                                                     2 * (kSecondHalf - kHeapStart)});
        return true;
    }
};

ObjectID objectAt(ObjectID base, size_t i) { return base + i * kObjectSize; }

// A tracker that knows count objects starting at base.
void populate(ObjectTracker& tracker, ObjectID base, size_t count) {
    for (size_t i = 0; i < count; ++i) tracker.getObjectID(objectAt(base, i));
}

// The ranges one collection reports, built before the clock runs.
struct Report {
    std::vector<ObjectID> oldStarts;
    std::vector<ObjectID> newStarts;
    std::vector<ULONG> lengths;

    Report(ObjectID from, ObjectID to, size_t count) {
        for (size_t i = 0; i < count; i += kObjectsPerRange) {
            oldStarts.push_back(objectAt(from, i));
            newStarts.push_back(objectAt(to, i));
            lengths.push_back(static_cast<ULONG>(kObjectsPerRange * kObjectSize));
        }
    }
    // As moved ranges, in the runtime's batches.
    void moved(ObjectTracker& tracker) const {
        for (size_t first = 0; first < oldStarts.size(); first += kBatch)
            tracker.movedReferences(batchSize(first), &oldStarts[first], &newStarts[first], &lengths[first]);
    }
    // As surviving ranges at the old starts.
    void surviving(ObjectTracker& tracker) const {
        for (size_t first = 0; first < oldStarts.size(); first += kBatch)
            tracker.survivingReferences(batchSize(first), &oldStarts[first], &lengths[first]);
    }
    ULONG batchSize(size_t first) const {
        return static_cast<ULONG>(std::min<size_t>(kBatch, oldStarts.size() - first));
    }
};

// Known objects, asked for in a random order so that the map is not walked
// in its own order.
const size_t kKnownObjects = 100000;

ObjectTracker& knownObjectsTracker() {
    static ObjectTracker* tracker = [] {
        ObjectTracker* t = new ObjectTracker();
        populate(*t, kHeapStart, kKnownObjects);
        return t;
    }();
    return *tracker;
}

std::vector<ObjectID> shuffledAddresses(size_t count, unsigned seed) {
    std::vector<ObjectID> addresses;
    for (size_t i = 0; i < count; ++i) addresses.push_back(objectAt(kHeapStart, i));
    std::shuffle(addresses.begin(), addresses.end(), std::mt19937(seed));
    return addresses;
}

void BM_GetObjectIdKnown(benchmark::State& state) {
    ObjectTracker& tracker = knownObjectsTracker();
    const std::vector<ObjectID> addresses = shuffledAddresses(kKnownObjects, 17u + state.thread_index());
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tracker.getObjectID(addresses[next]));
        if (++next == addresses.size()) next = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetObjectIdKnown)->Threads(1)->Threads(2)->Threads(8);

// One object asked again and again, each thread its own: the questions of a
// lock taken and released, answered from what the thread remembers.
void BM_GetObjectIdAgain(benchmark::State& state) {
    ObjectTracker& tracker = knownObjectsTracker();
    const ObjectID address = objectAt(kHeapStart, static_cast<size_t>(state.thread_index()));
    for (auto _ : state) benchmark::DoNotOptimize(tracker.getObjectID(address));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetObjectIdAgain)->Threads(1)->Threads(2)->Threads(8);

// The end of a compacting collection that moved every tracked object: what
// the tracker adds to the collection's pause.
void BM_PauseEndOfCompacting(benchmark::State& state) {
    const size_t count = static_cast<size_t>(state.range(0));
    ObjectTracker tracker;
    OneRangeHeap heap;
    populate(tracker, kHeapStart, count);
    const Report there(kHeapStart, kSecondHalf, count);
    const Report back(kSecondHalf, kHeapStart, count);
    bool atStart = true;
    for (auto _ : state) {
        state.PauseTiming();
        tracker.gcStarted(&heap, 5, kFullCollection);
        (atStart ? there : back).moved(tracker);
        state.ResumeTiming();
        tracker.gcFinished();
        state.PauseTiming();
        benchmark::DoNotOptimize(tracker.getObjectID(objectAt(atStart ? kSecondHalf : kHeapStart, 0)));
        state.ResumeTiming();
        atStart = !atStart;
    }
    if (tracker.trackedCount() != count) state.SkipWithError("objects were lost");
    state.counters["per_object"] = benchmark::Counter(static_cast<double>(count),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
    state.counters["bytes_per_object"] = static_cast<double>(tracker.bytesHeld()) / static_cast<double>(count);
}
BENCHMARK(BM_PauseEndOfCompacting)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The first question after a compacting collection, which carries the
// identities through it and builds the lookup table (outside its pause).
void BM_FirstQuestionAfterCompacting(benchmark::State& state) {
    const size_t count = static_cast<size_t>(state.range(0));
    ObjectTracker tracker;
    OneRangeHeap heap;
    populate(tracker, kHeapStart, count);
    const Report there(kHeapStart, kSecondHalf, count);
    const Report back(kSecondHalf, kHeapStart, count);
    bool atStart = true;
    for (auto _ : state) {
        state.PauseTiming();
        tracker.gcStarted(&heap, 5, kFullCollection);
        (atStart ? there : back).moved(tracker);
        tracker.gcFinished();
        atStart = !atStart;
        state.ResumeTiming();
        benchmark::DoNotOptimize(tracker.getObjectID(objectAt(atStart ? kHeapStart : kSecondHalf, 0)));
    }
    state.counters["per_object"] = benchmark::Counter(static_cast<double>(count),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}
BENCHMARK(BM_FirstQuestionAfterCompacting)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A collection that only swept, to the first question after it: entries
// stay, each one checked.
void BM_UpkeepOfSweeping(benchmark::State& state) {
    const size_t count = static_cast<size_t>(state.range(0));
    ObjectTracker tracker;
    OneRangeHeap heap;
    populate(tracker, kHeapStart, count);
    const Report stay(kHeapStart, kHeapStart, count);
    for (auto _ : state) {
        state.PauseTiming();
        tracker.gcStarted(&heap, 5, kFullCollection);
        stay.surviving(tracker);
        state.ResumeTiming();
        tracker.gcFinished();
        benchmark::DoNotOptimize(tracker.getObjectID(kHeapStart));
    }
    if (tracker.trackedCount() != count) state.SkipWithError("objects were lost");
    state.counters["per_object"] = benchmark::Counter(static_cast<double>(count),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}
BENCHMARK(BM_UpkeepOfSweeping)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A whole compacting collection as the runtime drives it (start, reports in
// batches, finish), and the first question after it.
void BM_WholeCompactingCollection(benchmark::State& state) {
    const size_t count = static_cast<size_t>(state.range(0));
    ObjectTracker tracker;
    OneRangeHeap heap;
    populate(tracker, kHeapStart, count);
    const Report there(kHeapStart, kSecondHalf, count);
    const Report back(kSecondHalf, kHeapStart, count);
    bool atStart = true;
    for (auto _ : state) {
        tracker.gcStarted(&heap, 5, kFullCollection);
        (atStart ? there : back).moved(tracker);
        tracker.gcFinished();
        atStart = !atStart;
        benchmark::DoNotOptimize(tracker.getObjectID(objectAt(atStart ? kHeapStart : kSecondHalf, 0)));
    }
    state.counters["per_object"] = benchmark::Counter(static_cast<double>(count),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}
BENCHMARK(BM_WholeCompactingCollection)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
