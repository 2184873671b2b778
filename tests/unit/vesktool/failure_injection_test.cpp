#include "fake_host.h"
#include "tool_instance.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fake_host = vesktool_test::fake_host;
using vesktool_test::Environment;
using vesktool_test::ToolInstance;

namespace {

TEST(FailureInjection, EntryAnswersErrorAndStoresNothing) {
    ToolInstance tool(Environment{{"VESKTOOL_FAIL", "entry"}});
    auto* const untouched = reinterpret_cast<vesk_profiling_extension*>(0x1234);
    vesk_profiling_extension* out = untouched;
    EXPECT_EQ(vesk_er_error, tool.getExtension(&out));
    EXPECT_EQ(untouched, out);
}

TEST(FailureInjection, GetThreadDataAnswersNullWithoutAllocating) {
    fake_host::reset();
    ToolInstance tool(Environment{{"VESKTOOL_FAIL", "get_thread_data"}});
    vesk_profiling_extension* ext = tool.ext();
    EXPECT_EQ(nullptr, ext->get_thread_data(ext, &fake_host::allocate));
    EXPECT_EQ(0u, fake_host::stats().allocations);
}

TEST(FailureInjection, ReleaseAnswersErrorAndKeepsRecords) {
    fake_host::reset();
    ToolInstance tool(Environment{{"VESKTOOL_FAIL", "release_thread_data"}});
    vesk_profiling_extension* ext = tool.ext();
    void* record = ext->get_thread_data(ext, &fake_host::allocate);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(vesk_er_error, ext->release_thread_data(ext, &fake_host::release));
    EXPECT_EQ(0u, fake_host::stats().releases);
    EXPECT_EQ(record, ext->get_thread_data(ext, &fake_host::allocate));
    fake_host::release(record);  // the tool will never give it back
}

TEST(FailureInjection, SetStackWalkerAndAddCodeRangeAnswerError) {
    ToolInstance tool(Environment{{"VESKTOOL_FAIL", "set_stack_walker,add_code_range"}});
    vesk_profiling_extension* ext = tool.ext();
    const vesk_code_range range{0x1000, 0x2000};
    EXPECT_EQ(vesk_er_error, ext->set_stack_walker(ext, nullptr, nullptr));
    EXPECT_EQ(vesk_er_error, ext->add_code_range(ext, &range));
    EXPECT_EQ(0, ext->is_code_known(ext, 0x1800, 0) & 0xFF) << "a refused range must not be known";
}

TEST(FailureInjection, EnterAnswersNotEnteredAndLeavesLevelAlone) {
    ToolInstance tool(Environment{{"VESKTOOL_FAIL", "enter_runtime"}});
    vesk_profiling_extension* ext = tool.ext();
    uint32_t level = 77;
    EXPECT_EQ(vesk_er_not_done, ext->enter_runtime(ext, &level));
    EXPECT_EQ(77u, level);
    // Nothing was entered, so there is nothing to leave.
    EXPECT_EQ(vesk_er_error, ext->leave_runtime(ext, 1));
}

TEST(FailureInjection, LeaveAnswersErrorEvenWhenBalanced) {
    ToolInstance tool(Environment{{"VESKTOOL_FAIL", "leave_runtime"}});
    vesk_profiling_extension* ext = tool.ext();
    uint32_t level = 0;
    ASSERT_EQ(vesk_er_success, ext->enter_runtime(ext, &level));
    EXPECT_EQ(vesk_er_error, ext->leave_runtime(ext, level));
    // The refused leave left the depth where it was.
    uint32_t next = 0;
    ASSERT_EQ(vesk_er_success, ext->enter_runtime(ext, &next));
    EXPECT_EQ(level + 1, next);
}

TEST(FailureInjection, UnwindAnswersNotDoneEvenForAGoodFrame) {
    ToolInstance tool(Environment{{"VESKTOOL_FAIL", "unwind_frame"}});
    vesk_profiling_extension* ext = tool.ext();
    alignas(16) uintptr_t stack[4] = {0, 0x401000, 0, 0};
    unsigned char frame[264] = {};
    const uintptr_t framePointer = reinterpret_cast<uintptr_t>(stack);
    const uint64_t offset = framePointer;
    std::memcpy(frame + 32, &offset, sizeof offset);
    EXPECT_EQ(vesk_er_not_done, ext->unwind_frame(ext, nullptr, frame, nullptr));
}

TEST(FailureInjection, OnlyTheNamedOperationsFail) {
    fake_host::reset();
    // Spaces, empty items and names that select nothing are tolerated.
    ToolInstance tool(Environment{{"VESKTOOL_FAIL", " unwind_frame ,, bogus,get_timestamp"}});
    vesk_profiling_extension* out = nullptr;
    ASSERT_EQ(vesk_er_success, tool.getExtension(&out));
    vesk_profiling_extension* ext = out;
    const vesk_code_range range{0x1000, 0x2000};
    uint32_t level = 0;
    EXPECT_NE(0u, ext->get_timestamp(ext));
    EXPECT_EQ(vesk_er_success, ext->add_code_range(ext, &range));
    EXPECT_EQ(vesk_er_success, ext->set_stack_walker(ext, nullptr, nullptr));
    EXPECT_EQ(vesk_er_success, ext->enter_runtime(ext, &level));
    EXPECT_EQ(vesk_er_success, ext->leave_runtime(ext, level));
    void* record = ext->get_thread_data(ext, &fake_host::allocate);
    EXPECT_NE(nullptr, record);
    EXPECT_EQ(vesk_er_success, ext->release_thread_data(ext, &fake_host::release));
}

}  // namespace
