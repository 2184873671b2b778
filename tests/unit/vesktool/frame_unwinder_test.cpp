// The tool's frame-pointer unwinder must refuse, without faulting, any frame
// pointer a lost walk can hand it; real stacks it walks in the stack-walk
// integration tests.
#include "tool_instance.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// A STACKFRAME64: only its frame address (AddrFrame.Offset) is read.
typedef std::array<unsigned char, 264> StackFrame64;
constexpr size_t kFrameOffset = 32;

constexpr uintptr_t kWord = sizeof(uintptr_t);

class FrameUnwinder : public testing::Test {
protected:
    int unwind(StackFrame64& frame) { return ext->unwind_frame(ext, nullptr, frame.data(), nullptr); }
    StackFrame64 frameAt(uintptr_t framePointer) {
        StackFrame64 frame;
        frame.fill(0xA5);  // unrelated fields must survive
        const uint64_t offset = framePointer;
        std::memcpy(frame.data() + kFrameOffset, &offset, sizeof offset);
        return frame;
    }
    // Unwinding must fail and leave the record exactly as it was.
    void expectNotDone(uintptr_t framePointer, const char* why) {
        StackFrame64 frame = frameAt(framePointer);
        const StackFrame64 before = frame;
        EXPECT_EQ(vesk_er_not_done, unwind(frame)) << why;
        EXPECT_EQ(before, frame) << why << ": a failed unwind changed the record";
    }

    vesktool_test::ToolInstance tool;
    vesk_profiling_extension* ext = tool.ext();
};

TEST_F(FrameUnwinder, BadFramePointersAndLinksNeverFault) {
    alignas(16) uintptr_t stack[8] = {};
    const uintptr_t base = reinterpret_cast<uintptr_t>(stack);
    stack[1] = 0x401000;
    const std::pair<uintptr_t, const char*> links[] = {
        {base, "a link to itself would loop for ever"},
        {base - 64, "a link down the stack"},
        {base + kWord, "a link inside the frame"},
    };
    for (const auto& link : links) {
        stack[0] = link.first;
        expectNotDone(base, link.second);
    }
    stack[0] = base + 4 * kWord;
    stack[1] = 0;
    expectNotDone(base, "no return address");
    expectNotDone(0, "null");
    expectNotDone(base + 1, "misaligned");
    expectNotDone(kWord, "the zero page");
    expectNotDone(UINTPTR_MAX & ~(kWord - 1), "the top of the address space");
    expectNotDone(static_cast<uintptr_t>(0xDEAD000000000000ull), "not canonical");
    EXPECT_EQ(vesk_er_error, ext->unwind_frame(ext, nullptr, nullptr, nullptr));

    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    auto* pages = static_cast<unsigned char*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(MAP_FAILED, static_cast<void*>(pages));
    ASSERT_EQ(0, mprotect(pages + page, page, PROT_NONE));
    const uintptr_t lastWord = reinterpret_cast<uintptr_t>(pages + page - kWord);
    const uintptr_t above = lastWord + 64;
    std::memcpy(pages + page - kWord, &above, kWord);
    expectNotDone(lastWord, "a return address in unreadable memory");
    expectNotDone(reinterpret_cast<uintptr_t>(pages + page), "an unreadable frame");
    munmap(pages, 2 * page);
    expectNotDone(reinterpret_cast<uintptr_t>(pages), "memory no longer mapped");

}

}  // namespace
