#include "frame_chain.h"
#include "tool_instance.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <random>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

using vesktool_test::FrameChain;
using vesktool_test::ToolInstance;

namespace {

// The STACKFRAME64 layout the unwinder works on.
struct Address64 {
    uint64_t Offset;
    uint16_t Segment;
    uint32_t Mode;
};
struct StackFrame64 {
    Address64 AddrPC;
    Address64 AddrReturn;
    Address64 AddrFrame;
    Address64 AddrStack;
    unsigned char rest[200];
};
static_assert(sizeof(StackFrame64) == 264, "STACKFRAME64 is 264 bytes");
static_assert(offsetof(StackFrame64, AddrReturn) == 16 && offsetof(StackFrame64, AddrFrame) == 32 &&
                  offsetof(StackFrame64, AddrStack) == 48 && offsetof(Address64, Mode) == 12,
              "STACKFRAME64 layout");

constexpr uint32_t kFlat = 3;
constexpr uintptr_t kWord = sizeof(uintptr_t);

StackFrame64 frameAt(uintptr_t framePointer) {
    StackFrame64 frame;
    std::memset(&frame, 0xA5, sizeof frame);  // unrelated fields must survive
    frame.AddrFrame.Offset = framePointer;
    return frame;
}

int unwind(vesk_profiling_extension* ext, StackFrame64& frame) {
    return ext->unwind_frame(ext, nullptr, &frame, nullptr);
}

class FrameUnwinder : public testing::Test {
protected:
    // Unwinding must fail and leave the record exactly as it was.
    void expectNotDone(uintptr_t framePointer) {
        StackFrame64 frame = frameAt(framePointer);
        const StackFrame64 before = frame;
        EXPECT_EQ(vesk_er_not_done, unwind(ext, frame)) << std::hex << "frame pointer 0x" << framePointer;
        EXPECT_EQ(0, std::memcmp(&before, &frame, sizeof frame)) << "a failed unwind changed the record";
    }

    ToolInstance tool;
    vesk_profiling_extension* ext = tool.ext();
};

struct ChainWalk {
    vesk_profiling_extension* ext;
    FrameChain chain;
    std::vector<int> answers;
    std::vector<StackFrame64> steps;
    int stepsToEnd = 0;
    int endAnswer = 0;
};

int walkLiveChain(const FrameChain& chain, void* context) {
    ChainWalk& walk = *static_cast<ChainWalk*>(context);
    walk.chain = chain;
    StackFrame64 frame = frameAt(chain.frame[vesktool_test::kChainDepth - 1]);
    for (int step = 0; step < vesktool_test::kChainDepth - 1; ++step) {
        walk.answers.push_back(unwind(walk.ext, frame));
        walk.steps.push_back(frame);
        if (walk.answers.back() != vesk_er_success) return 0;
    }
    // Whatever lies beyond the chain may not keep frame pointers; the walk
    // must still stop by itself without faulting.
    do {
        walk.endAnswer = unwind(walk.ext, frame);
    } while (walk.endAnswer == vesk_er_success && ++walk.stepsToEnd < 100000);
    return 0;
}

TEST_F(FrameUnwinder, WalksARealFramePointerChain) {
    ChainWalk walk{ext, {}, {}, {}};
    vesktool_test::runFrameChain(&walkLiveChain, &walk);

    ASSERT_EQ(std::vector<int>(3, vesk_er_success), walk.answers);
    for (int step = 0; step < 3; ++step) {
        const int callee = vesktool_test::kChainDepth - 1 - step;
        const StackFrame64& frame = walk.steps[step];
        SCOPED_TRACE(step);
        EXPECT_EQ(walk.chain.returnAddress[callee], frame.AddrReturn.Offset);
        EXPECT_EQ(walk.chain.returnAddress[callee], frame.AddrPC.Offset);
        EXPECT_EQ(walk.chain.frame[callee - 1], frame.AddrFrame.Offset);
        EXPECT_EQ(walk.chain.frame[callee] + 2 * kWord, frame.AddrStack.Offset);
        EXPECT_EQ(kFlat, frame.AddrPC.Mode);
        EXPECT_EQ(kFlat, frame.AddrFrame.Mode);
        EXPECT_EQ(0xA5u, frame.rest[0]);
    }
    EXPECT_EQ(vesk_er_not_done, walk.endAnswer) << "the walk off the end of the stack never stopped";
}

TEST_F(FrameUnwinder, OutermostFrameUnwindsOnceThenStops) {
    alignas(16) uintptr_t stack[4] = {0, 0x401000, 0, 0};
    const uintptr_t framePointer = reinterpret_cast<uintptr_t>(stack);
    StackFrame64 frame = frameAt(framePointer);
    ASSERT_EQ(vesk_er_success, unwind(ext, frame));
    EXPECT_EQ(0x401000u, frame.AddrReturn.Offset);
    EXPECT_EQ(0u, frame.AddrFrame.Offset);
    EXPECT_EQ(framePointer + 2 * kWord, frame.AddrStack.Offset);
    EXPECT_EQ(vesk_er_not_done, unwind(ext, frame));
}

TEST_F(FrameUnwinder, CallerFrameMustLieAboveTheCallersStack) {
    alignas(16) uintptr_t stack[8] = {};
    const uintptr_t base = reinterpret_cast<uintptr_t>(stack);
    stack[1] = 0x401000;

    stack[0] = base;  // points at itself: would loop forever
    expectNotDone(base);
    stack[0] = base - 64;  // points down the stack
    expectNotDone(base);
    stack[0] = base + kWord;  // inside this very frame
    expectNotDone(base);

    stack[0] = base + 2 * kWord;  // a caller with no locals is fine
    StackFrame64 frame = frameAt(base);
    EXPECT_EQ(vesk_er_success, unwind(ext, frame));
    EXPECT_EQ(base + 2 * kWord, frame.AddrFrame.Offset);
}

TEST_F(FrameUnwinder, MissingReturnAddressStops) {
    alignas(16) uintptr_t stack[8] = {};
    const uintptr_t base = reinterpret_cast<uintptr_t>(stack);
    stack[0] = base + 4 * kWord;
    stack[1] = 0;
    expectNotDone(base);
}

TEST_F(FrameUnwinder, BadFramePointersNeverFault) {
    alignas(16) uintptr_t stack[4] = {};
    const uintptr_t base = reinterpret_cast<uintptr_t>(stack);
    expectNotDone(0);
    expectNotDone(base + 1);
    expectNotDone(base + kWord / 2);
    expectNotDone(kWord);  // the zero page
    expectNotDone(UINTPTR_MAX & ~(kWord - 1));
    if (sizeof(uintptr_t) == 8) expectNotDone(static_cast<uintptr_t>(0xDEAD000000000000ull));  // not canonical

    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* noAccess = mmap(nullptr, page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(MAP_FAILED, noAccess);
    expectNotDone(reinterpret_cast<uintptr_t>(noAccess));
    munmap(noAccess, page);
    expectNotDone(reinterpret_cast<uintptr_t>(noAccess));  // no longer mapped at all
}

TEST_F(FrameUnwinder, FrameRunningOffTheEndOfReadableMemoryStops) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    auto* pages = static_cast<unsigned char*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(MAP_FAILED, static_cast<void*>(pages));
    ASSERT_EQ(0, mprotect(pages + page, page, PROT_NONE));
    // The saved frame pointer is readable, the return address is not.
    const uintptr_t framePointer = reinterpret_cast<uintptr_t>(pages + page - kWord);
    const uintptr_t above = framePointer + 64;
    std::memcpy(pages + page - kWord, &above, kWord);
    expectNotDone(framePointer);
    munmap(pages, 2 * page);
}

TEST_F(FrameUnwinder, RandomFramePointersNeverFault) {
    std::mt19937_64 random(777);
    for (int attempt = 0; attempt < 2000; ++attempt) {
        StackFrame64 frame = frameAt(static_cast<uintptr_t>(random()));
        const int answer = unwind(ext, frame);
        EXPECT_TRUE(answer == vesk_er_success || answer == vesk_er_not_done);
    }
}

TEST_F(FrameUnwinder, NoRecordIsAnError) { EXPECT_EQ(vesk_er_error, ext->unwind_frame(ext, nullptr, nullptr, nullptr)); }

}  // namespace
