// The mixed walk against a simulated stack: the fake runtime reports the
// frames it can see from a seed, the fake tool unwinds one frame at a time,
// and both agree with a fake memory holding each return address in its slot.
#include "clrprof/stack_walker.h"
#include "clrprof/vesk_prof_ext.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace veskmrte_1_0;

namespace {

constexpr uintptr_t kWord = sizeof(uintptr_t);

enum Where { tool, managed, runtimeNative, stub };

struct SimFrame {
    uintptr_t ip;
    Where where;
};

// Frame i has its stack pointer at kTop - 0x100 * (n - i); the return
// address into it lies one word below its stack pointer.
class SimulatedStack : public WalkServices {
public:
    static constexpr uintptr_t kTop = 0x7f0000100000;

    explicit SimulatedStack(std::vector<SimFrame> frames) : m_frames(std::move(frames)) {
        for (size_t i = 0; i < m_frames.size(); ++i) m_memory[slotOf(i)] = m_frames[i].ip;
    }

    uintptr_t spOf(size_t i) const { return kTop - 0x100 * (m_frames.size() - i); }
    uintptr_t slotOf(size_t i) const { return spOf(i) - kWord; }

    void contextOf(size_t i, unsigned char* context) const {
        std::memset(context, 0, vesk_context::kSize);
        vesk_context::set(context, vesk_context::kIpOffset, m_frames[i].ip);
        vesk_context::set(context, vesk_context::kSpOffset, spOf(i));
        vesk_context::set(context, vesk_context::kFpOffset, spOf(i) - 2 * kWord);
    }

    bool isToolCode(uintptr_t ip) override {
        const SimFrame* f = find(ip);
        return f != nullptr && (f->where == tool || f->where == runtimeNative);
    }
    bool unwindFrame(void* context, vesk_stack_frame64& frame, void*) override {
        ++unwinds;
        const int at = indexOfSp(vesk_context::sp(context));
        if (at < 0 || static_cast<size_t>(at) + 1 >= m_frames.size() || failUnwind) return false;
        contextOf(at + 1, static_cast<unsigned char*>(context));
        vesk_context::setFlat(frame.return_address, m_frames[at + 1].ip);
        vesk_context::setFlat(frame.frame, slotOf(at + 1) - kWord);
        vesk_context::setFlat(frame.stack, spOf(at + 1));
        return true;
    }
    bool isNativeImageCode(uintptr_t) override { return false; }
    bool isJitCode(uintptr_t ip) override {
        const SimFrame* f = find(ip);
        return f != nullptr && f->where == managed;
    }
    bool isExecutable(uintptr_t ip) override { return find(ip) != nullptr; }
    bool readWord(uintptr_t address, uintptr_t& value) override {
        auto found = m_memory.find(address);
        if (found == m_memory.end()) return false;
        value = found->second;
        return true;
    }
    // The runtime sees managed frames and runs of native frames it entered
    // managed code from; it reports nothing from a seed outside managed code.
    void snapshot(const ThreadData&, cor::StackSnapshotCallback callback, void* state, void* context) override {
        ++snapshots;
        const int at = indexOfSp(vesk_context::sp(context));
        if (at < 0 || m_frames[at].where != managed) return;
        for (size_t i = at; i < m_frames.size(); ++i) {
            if (m_frames[i].where == tool) continue;
            unsigned char frameContext[vesk_context::kSize];
            contextOf(i, frameContext);
            const cor::FunctionID function = m_frames[i].where == managed ? m_frames[i].ip + 1 : 0;
            if (callback(function, m_frames[i].ip, 0, vesk_context::kSize, frameContext, state) != cor::S_OK) return;
        }
    }
    // The code map ignores function 0, as the runtime's native runs carry.
    void registerFunction(cor::FunctionID function) override {
        if (function != 0) registered.push_back(function);
    }
    void corrupt(size_t i) { m_memory[slotOf(i)] = 0xdead; }

    int unwinds = 0;
    int snapshots = 0;
    bool failUnwind = false;
    std::vector<cor::FunctionID> registered;

private:
    const SimFrame* find(uintptr_t ip) const {
        for (const SimFrame& f : m_frames)
            if (f.ip == ip) return &f;
        return nullptr;
    }
    int indexOfSp(uintptr_t sp) const {
        for (size_t i = 0; i < m_frames.size(); ++i)
            if (spOf(i) == sp) return static_cast<int>(i);
        return -1;
    }
    std::vector<SimFrame> m_frames;
    std::map<uintptr_t, uintptr_t> m_memory;
};

struct Finder {
    vesk_frame_finder base;
    uintptr_t boundary;
};
uintptr_t VESK_CALL finderCurrent(vesk_frame_finder* f) { return reinterpret_cast<Finder*>(f)->boundary; }
uintptr_t VESK_CALL finderAdvance(vesk_frame_finder* f, uintptr_t) { return reinterpret_cast<Finder*>(f)->boundary; }

struct Walked {
    std::vector<uintptr_t> ips;
    std::vector<FrameKind> kinds;
};

Walked walk(SimulatedStack& stack, int mode, size_t start, uintptr_t boundary = UINTPTR_MAX, uint8_t walkFlag = 0) {
    FrameCache cache;
    ThreadData data = {1, 2, nullptr, walkFlag, &cache};
    Finder finder{{&finderCurrent, &finderAdvance}, boundary};
    alignas(16) unsigned char context[vesk_context::kSize];
    stack.contextOf(start, context);
    walkStackWith(stack, mode, context, &finder.base, &data);
    Walked result;
    for (size_t i = 0; i < cache.size(); ++i) {
        result.kinds.push_back(cache[i].kind);
        EXPECT_EQ(cache[i].kind == kManagedFrame || cache[i].kind == kBoundaryFrame, cache[i].function != 0)
            << "frame " << i << ": only managed frames name a function";
    }
    uintptr_t ip = 0, slot = 0;
    while (nextFrame(&ip, &slot, &data) == vesk_er_success) result.ips.push_back(ip);
    return result;
}

// The tool's own code, the managed frames above it, a run of runtime code
// the managed code was entered from, more managed code, the thread's base.
std::vector<SimFrame> mixedStack() {
    return {{0x1000, tool},   {0x1100, tool},          {0x2000, managed}, {0x2100, managed},
            {0x3000, stub},   {0x4000, runtimeNative}, {0x2200, managed}, {0x4100, runtimeNative}};
}

}  // namespace

TEST(MixedWalk, ModesDecideWhichFramesOfTheSameStackAreDelivered) {
    struct Case {
        int mode;
        std::vector<uintptr_t> ips;
    };
    for (const Case& c : {Case{vesk_walk_managed, {0x2000, 0x2100, 0x2200}},
                          // The stub is code nobody can name: left out, and
                          // the tool's unwinder takes over from it.
                          Case{vesk_walk_mixed, {0x1100, 0x2000, 0x2100, 0x4000, 0x2200, 0x4100}}}) {
        SimulatedStack stack(mixedStack());
        Walked got = walk(stack, c.mode, 0);
        EXPECT_EQ(c.ips, got.ips) << "mode " << c.mode;
        EXPECT_EQ((std::vector<cor::FunctionID>{0x2001, 0x2101, 0x2201}), stack.registered) << "mode " << c.mode;
    }
}

TEST(MixedWalk, StopsAtTheToolsBoundary) {
    // A managed frame on the boundary is the last one, marked as such; a
    // native frame on it is the last one too.
    SimulatedStack stack(mixedStack());
    Walked managedEnd = walk(stack, vesk_walk_mixed, 0, stack.slotOf(3));
    EXPECT_EQ((std::vector<uintptr_t>{0x1100, 0x2000, 0x2100}), managedEnd.ips);
    EXPECT_EQ(kBoundaryFrame, managedEnd.kinds.back());
    Walked nativeEnd = walk(stack, vesk_walk_mixed, 0, stack.slotOf(1));
    EXPECT_EQ((std::vector<uintptr_t>{0x1100}), nativeEnd.ips);
}

TEST(MixedWalk, ManagedStartSkipsTheSeedFrame) {
    SimulatedStack stack(mixedStack());
    Walked got = walk(stack, vesk_walk_managed, 2, UINTPTR_MAX, 1);
    EXPECT_EQ((std::vector<uintptr_t>{0x2100, 0x2200}), got.ips);
}

TEST(MixedWalk, FailingFirstUnwindLeavesNothingAndAStaleWalkIsGone) {
    SimulatedStack stack(mixedStack());
    FrameCache cache;
    ThreadData data = {1, 2, nullptr, 0, &cache};
    cache.append(StackFrameRecord());
    stack.failUnwind = true;
    Finder finder{{&finderCurrent, &finderAdvance}, UINTPTR_MAX};
    alignas(16) unsigned char context[vesk_context::kSize];
    stack.contextOf(0, context);
    walkStackWith(stack, vesk_walk_mixed, context, &finder.base, &data);
    uintptr_t ip = 0, slot = 0;
    EXPECT_EQ(vesk_er_error, nextFrame(&ip, &slot, &data));
    EXPECT_EQ(vesk_er_error, nextFrame(&ip, &slot, &data)) << "the end stays the end";
    EXPECT_EQ(vesk_er_error, nextFrame(&ip, &slot, nullptr));
    EXPECT_EQ(0, stack.snapshots);
}

TEST(MixedWalk, ReturnAddressThatIsNotOnTheStackEndsTheWalk) {
    // An unwinder that lands on an address the stack does not hold as a
    // return address has lost its way.
    SimulatedStack stack(mixedStack());
    stack.corrupt(2);
    Walked got = walk(stack, vesk_walk_mixed, 0);
    EXPECT_EQ((std::vector<uintptr_t>{0x1100}), got.ips);
}

TEST(StackWalker, AcceptsOnlyManagedOrMixedMode) {
    StackWalker& walker = StackWalker::instance();
    EXPECT_TRUE(walker.setMode(2));
    EXPECT_FALSE(walker.setMode(0));
    EXPECT_FALSE(walker.setMode(5));
    EXPECT_EQ(walker.mode(), 2);
}

TEST(WalkStackDeathTest, NullContextIsFatal) {
    FrameCache cache;
    ThreadData data = {1, 2, nullptr, 0, &cache};
    EXPECT_EXIT(walkStack(nullptr, nullptr, &data), testing::ExitedWithCode(3), "'context'");
    EXPECT_EXIT(walkStack(nullptr, nullptr, nullptr), testing::ExitedWithCode(3),
                "'context \\|\\| finder \\|\\| threadData'");
}
