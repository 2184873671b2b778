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

// The tool's own code, the managed frames above it, a stub nobody can name,
// a run of runtime code the managed code was entered from, more managed code,
// the thread's base.
std::vector<SimFrame> mixedStack() {
    return {{0x1000, tool},   {0x1100, tool},          {0x2000, managed}, {0x2100, managed},
            {0x3000, stub},   {0x4000, runtimeNative}, {0x2200, managed}, {0x4100, runtimeNative}};
}

constexpr int kNone = -1;

struct WalkCase {
    const char* guards;
    int mode;
    size_t start;         // the frame whose registers seed the walk
    uint8_t walkFlag;     // 1: the host says the seed is managed code
    int boundaryAt;       // the frame whose return-address slot is the tool's boundary
    int corruptAt;        // the frame whose return address is not on the stack
    bool failUnwind;
    std::vector<uintptr_t> ips;
    bool endsAtManagedBoundary;
};

const WalkCase kWalks[] = {
    {"managed mode delivers native frames", vesk_walk_managed, 0, 0, kNone, kNone, false,
     {0x2000, 0x2100, 0x2200}, false},
    {"mixed mode drops the runtime's frames, keeps the stub or meets a frame twice", vesk_walk_mixed, 0, 0, kNone,
     kNone, false, {0x1100, 0x2000, 0x2100, 0x4000, 0x2200, 0x4100}, false},
    {"a managed frame on the boundary is not the last or not marked", vesk_walk_mixed, 0, 0, 3, kNone, false,
     {0x1100, 0x2000, 0x2100}, true},
    {"a native frame on the boundary is not the last", vesk_walk_mixed, 0, 0, 1, kNone, false, {0x1100}, false},
    {"a managed seed frame is delivered although the host has it", vesk_walk_managed, 2, 1, kNone, kNone, false,
     {0x2100, 0x2200}, false},
    {"an unwinder that lost its way goes on", vesk_walk_mixed, 0, 0, kNone, 2, false, {0x1100}, false},
    {"a failed first unwind leaves the last walk's frames", vesk_walk_mixed, 0, 0, kNone, kNone, true, {}, false},
};

}  // namespace

TEST(MixedWalk, DeliversTheFramesEachRuleAllows) {
    for (const WalkCase& c : kWalks) {
        SCOPED_TRACE(c.guards);
        SimulatedStack stack(mixedStack());
        if (c.corruptAt != kNone) stack.corrupt(static_cast<size_t>(c.corruptAt));
        stack.failUnwind = c.failUnwind;
        FrameCache cache;
        cache.append(StackFrameRecord());  // a stale walk's frame
        ThreadData data = {1, 2, nullptr, c.walkFlag, &cache};
        const uintptr_t boundary = c.boundaryAt == kNone ? UINTPTR_MAX : stack.slotOf(c.boundaryAt);
        Finder finder{{&finderCurrent, &finderAdvance}, boundary};
        alignas(16) unsigned char context[vesk_context::kSize];
        stack.contextOf(c.start, context);
        walkStackWith(stack, c.mode, context, &finder.base, &data);

        EXPECT_EQ(c.endsAtManagedBoundary, cache.size() != 0 && cache[cache.size() - 1].kind == kBoundaryFrame);
        std::vector<uintptr_t> ips;
        uintptr_t ip = 0, slot = 0;
        while (nextFrame(&ip, &slot, &data) == vesk_er_success) ips.push_back(ip);
        EXPECT_EQ(c.ips, ips);
        if (c.start == 0 && c.boundaryAt == kNone && c.corruptAt == kNone && !c.failUnwind) {
            EXPECT_EQ((std::vector<cor::FunctionID>{0x2001, 0x2101, 0x2201}), stack.registered)
                << "every managed frame's code is recorded";
        }
    }
}
