#include "lock_order.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using vesktool::LockKind;
using vesktool::LockOrder;
using vesktool::LockStep;

namespace {

// Stacks are the number of the script step that took them.
uint32_t g_stack = 0;
uint32_t captureFake() { return g_stack; }

const LockKind kMonitor{"Monitor", false};
const LockKind kSemaphore{"System.Threading.SemaphoreSlim", true};

// A script is steps "<thread><op><lock>" separated by spaces, run in order.
// Threads are digits (8 and 9 are two threads with the same managed id, as
// when the runtime reuses one); locks are letters, S and T semaphores.
//   +  blocking acquisition that succeeds     >  blocking acquisition that never returns
//   ?  bounded attempt that succeeded         -  release
//   w  Monitor.Wait gives the lock up         W  Monitor.Wait took it back
struct Script {
    LockOrder order{&captureFake};
    std::map<char, LockOrder::Thread*> threads;

    explicit Script(const std::string& script) {
        std::istringstream steps(script);
        std::string step;
        for (g_stack = 1; steps >> step; ++g_stack) {
            const char t = step.at(0), op = step.at(1), l = step.at(2);
            LockOrder::Thread*& thread = threads[t];
            if (thread == nullptr) thread = order.newThread(t == '9' ? 8 : t - '0');
            const uint32_t lock = static_cast<uint32_t>(l - 'A' + 1);
            const LockKind& kind = l == 'S' || l == 'T' ? kSemaphore : kMonitor;
            if (op == '+' || op == '>') order.step(*thread, LockStep::Acquiring, lock, kind);
            if (op == '+' || op == '?' || op == 'W') order.step(*thread, LockStep::Acquired, lock, kind);
            if (op == '-') order.step(*thread, LockStep::Releasing, lock, kind);
            if (op == 'w') order.step(*thread, LockStep::Waiting, lock, kind);
        }
    }

    // Each cycle as its locks, "AB" for A -> B -> A.
    std::vector<std::string> cycles() {
        auto hold = order.hold();
        std::vector<std::string> out;
        for (const auto& cycle : order.potentialDeadlocks()) {
            std::string locks;
            for (const auto* edge : cycle.edges) locks += static_cast<char>('A' - 1 + edge->outer.lock);
            out.push_back(locks);
        }
        return out;
    }
};

struct Case {
    const char* name;
    const char* script;
    std::vector<std::string> cycles;
};

const Case kCases[] = {
    {"TwoThreadsOppositeOrder", "1+A 1+B 1-B 1-A 2+B 2+A 2-A 2-B", {"AB"}},
    {"ThreeThreadsInARing", "1+A 1+B 1-B 1-A 2+B 2+C 2-C 2-B 3+C 3+A 3-A 3-C", {"ABC"}},
    {"SameOrderEverywhere", "1+A 1+B 1-B 1-A 2+A 2+B 2-B 2-A 3+A 3+C 3+B", {}},
    {"InversionTakenOftenReportedOnce", "1+A 1+B 1-B 1-A 2+B 2+A 2-A 2-B 1+A 1+B 1-B 1-A 3+B 3+A 3-A 3-B", {"AB"}},
    {"OneThreadBothOrders", "1+A 1+B 1-B 1-A 1+B 1+A 1-A 1-B", {}},
    {"ReusedManagedIdIsAnotherThread", "8+A 8+B 8-B 8-A 9+B 9+A 9-A 9-B", {"AB"}},
    {"GateLockAroundBothOrders", "1+G 1+A 1+B 1-B 1-A 1-G 2+G 2+B 2+A 2-A 2-B 2-G", {}},
    {"GateOnOneSideOnly", "1+G 1+A 1+B 1-B 1-A 1-G 2+B 2+A 2-A 2-B", {"AB"}},
    {"GateMissingOnceIsNoGate", "1+G 1+A 1+B 1-B 1-A 1-G 1+A 1+B 1-B 1-A 2+G 2+B 2+A 2-A 2-B 2-G", {"AB"}},
    {"ReenteringAHeldLockAddsNoEdge", "1+A 1+B 1+A 1-A 1-B 1-A 2+A 2+B 2-B 2-A", {}},
    {"ReleaseUndoesOneReentry", "1+A 1+A 1-A 1+B 1-B 1-A 2+B 2+A 2-A 2-B", {"AB"}},
    {"WaitTakesTheLockBackInsideTheOthers", "1+A 1+B 1wA 1WA 1-B 1-A 2+A 2+B 2-B 2-A", {"AB"}},
    {"WaitRestoresReentrantHolds", "1+A 1+A 1wA 1WA 1-A 1+B 1-B 1-A 2+B 2+A 2-A 2-B", {"AB"}},
    {"BoundedAttemptAddsNoEdge", "1+A 1?B 1-B 1-A 2+B 2+A 2-A 2-B", {}},
    {"LockTakenByAttemptOrdersLaterLocks", "1?A 1+B 1-B 1-A 2+B 2+A 2-A 2-B", {"AB"}},
    {"ReleaseOfAnUnheldMonitorChangesNothing", "1+A 2-A 1+B 1-B 1-A 2+B 2+A", {"AB"}},
    {"DeadlockInProgress", "1+A 2+B 1>B 2>A", {"AB"}},
    {"SemaphoreAsLock", "1+S 1+A 1-A 1-S 2+A 2+S 2-S 2-A", {"AS"}},
    {"SemaphoreAsSignalOrdersNothing", "1+S 1+A 1-A 2+A 2+S 2-S 2-A 3-S", {}},
    {"TwoCyclesThroughOneLock", "1+A 1+B 1-B 1-A 2+B 2+A 2-A 2-B 3+A 3+C 3-C 3-A 4+C 4+A 4-A 4-C", {"AB", "AC"}},
};

class LockOrderCases : public ::testing::TestWithParam<Case> {};

TEST_P(LockOrderCases, FindsExactlyTheseCycles) {
    Script run(GetParam().script);
    EXPECT_EQ(run.cycles(), GetParam().cycles) << GetParam().script;
}

INSTANTIATE_TEST_SUITE_P(Scripts, LockOrderCases, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// The steps of a thread taking b inside a.
std::string nested(int thread, int a, int b) {
    const char t = static_cast<char>('1' + thread % 7), outer = static_cast<char>('A' + a),
               inner = static_cast<char>('A' + b);
    return std::string{t, '+', outer, ' ', t, '+', inner, ' ', t, '-', inner, ' ', t, '-', outer, ' '};
}

TEST(LockOrder, LongRingsAndManyCyclesStayBounded) {
    // A ring longer than the search goes is not reported; a complete graph
    // stops at the cycle limit.
    std::string ring, complete, ordered;
    const int length = static_cast<int>(LockOrder::kMaxCycleLength) + 1;
    for (int i = 0; i < length; ++i) ring += nested(i, i, (i + 1) % length);
    EXPECT_TRUE(Script(ring).cycles().empty());
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b)
            if (a != b) complete += nested(3 * a + b, a, b);
    EXPECT_EQ(Script(complete).cycles().size(), LockOrder::kMaxCycles);

    // Forty locks always taken in one order: a graph with millions of paths
    // and no cycle must not be searched path by path.
    for (int i = 0; i < 40; ++i)
        for (int j = i + 1; j < 40; ++j) ordered += nested(i + j, i, j);
    Script run(ordered);
    bool searchedAll = false;
    auto hold = run.order.hold();
    EXPECT_TRUE(run.order.potentialDeadlocks(&searchedAll).empty());
    EXPECT_TRUE(searchedAll);
}

}  // namespace
