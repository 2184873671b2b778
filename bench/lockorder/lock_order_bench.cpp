// The analysis alone, per lock step, on one thread: a lock taken with nothing
// held (thread-local work only) and a lock taken inside another (an edge
// looked up under the graph's lock). lock_cost.py sets these beside the
// cost of the whole redirected call in a real program.
#include "lock_order.h"

#include <benchmark/benchmark.h>

namespace {

using vesktool::LockKind;
using vesktool::LockOrder;
using vesktool::LockStep;

const LockKind kMonitor{"Monitor", false};

uint32_t noStack() { return 0; }

void takeAndRelease(LockOrder& order, LockOrder::Thread& thread, uint32_t lock) {
    order.step(thread, LockStep::Acquiring, lock, kMonitor);
    order.step(thread, LockStep::Acquired, lock, kMonitor);
}

// Three steps per iteration: acquiring, acquired, releasing.
void BM_OuterLock(benchmark::State& state) {
    LockOrder order(&noStack);
    LockOrder::Thread& thread = *order.newThread(1);
    for (auto _ : state) {
        takeAndRelease(order, thread, 1);
        order.step(thread, LockStep::Releasing, 1, kMonitor);
    }
    state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(BM_OuterLock);

// Six steps per iteration, one of them adding to an edge already known.
void BM_NestedLocks(benchmark::State& state) {
    LockOrder order(&noStack);
    LockOrder::Thread& thread = *order.newThread(1);
    for (auto _ : state) {
        takeAndRelease(order, thread, 1);
        takeAndRelease(order, thread, 2);
        order.step(thread, LockStep::Releasing, 2, kMonitor);
        order.step(thread, LockStep::Releasing, 1, kMonitor);
    }
    state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(BM_NestedLocks);

// The search at exit over a chain of locks taken in one order by four
// threads: no cycle to find.
void BM_SearchOrderedGraph(benchmark::State& state) {
    LockOrder order(&noStack);
    const uint32_t locks = static_cast<uint32_t>(state.range(0));
    for (uint32_t t = 1; t <= 4; ++t) {
        LockOrder::Thread& thread = *order.newThread(static_cast<int32_t>(t));
        for (uint32_t a = 1; a < locks; ++a) {
            takeAndRelease(order, thread, a);
            takeAndRelease(order, thread, a + 1);
            order.step(thread, LockStep::Releasing, a + 1, kMonitor);
            order.step(thread, LockStep::Releasing, a, kMonitor);
        }
    }
    for (auto _ : state) {
        auto hold = order.hold();
        benchmark::DoNotOptimize(order.potentialDeadlocks());
    }
}
BENCHMARK(BM_SearchOrderedGraph)->Arg(100)->Arg(10000);

}  // namespace
