#include "tool_instance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <thread>

using vesktool_test::ToolInstance;

namespace {

TEST(EntryPoint, HandsOutOneRecordWithVersionAndEveryOperation) {
    ToolInstance tool;
    vesk_profiling_extension* first = nullptr;
    vesk_profiling_extension* second = nullptr;
    ASSERT_EQ(vesk_er_success, tool.getExtension(&first));
    ASSERT_EQ(vesk_er_success, tool.getExtension(&second));
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, second);

    EXPECT_EQ(uintptr_t(VESK_PROFILING_EXTENSION_VERSION), first->record_version);
    EXPECT_EQ(0u, first->reserved);
    EXPECT_NE(nullptr, first->get_thread_data);
    EXPECT_NE(nullptr, first->release_thread_data);
    EXPECT_NE(nullptr, first->set_stack_walker);
    EXPECT_NE(nullptr, first->is_code_known);
    EXPECT_NE(nullptr, first->add_code_range);
    EXPECT_NE(nullptr, first->enter_runtime);
    EXPECT_NE(nullptr, first->leave_runtime);
    EXPECT_NE(nullptr, first->get_timestamp);
    EXPECT_NE(nullptr, first->get_stack_walk_mode);
    EXPECT_NE(nullptr, first->unwind_frame);
}

TEST(EntryPoint, NullDestinationIsAnError) {
    ToolInstance tool;
    EXPECT_EQ(vesk_er_error, tool.getExtension(nullptr));
}

TEST(EntryPoint, OperationsRefuseARecordThatIsNotTheirs) {
    ToolInstance tool;
    vesk_profiling_extension* ext = tool.ext();
    vesk_profiling_extension copy = *ext;
    uint32_t level = 0;
    vesk_code_range range{0x1000, 0x2000};
    ASSERT_EQ(vesk_er_success, ext->add_code_range(ext, &range));

    EXPECT_EQ(vesk_er_error, copy.add_code_range(&copy, &range));
    EXPECT_EQ(0, copy.is_code_known(&copy, 0x1800, 0) & 0xFF);
    EXPECT_EQ(vesk_er_error, copy.enter_runtime(&copy, &level));
    EXPECT_EQ(vesk_er_error, copy.leave_runtime(&copy, 1));
    EXPECT_EQ(vesk_er_error, copy.set_stack_walker(&copy, nullptr, nullptr));
    EXPECT_EQ(nullptr, copy.get_thread_data(&copy, nullptr));
}

TEST(Timestamp, NeverZeroAndNeverGoesBackAcrossThreads) {
    ToolInstance tool;
    vesk_profiling_extension* ext = tool.ext();
    const uint64_t before = ext->get_timestamp(ext);
    EXPECT_NE(0u, before);

    // A stamp taken on another thread after this one must not be earlier.
    std::atomic<uint64_t> other{0};
    std::thread([&] { other = ext->get_timestamp(ext); }).join();
    EXPECT_GE(other.load(), before);

    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const uint64_t after = ext->get_timestamp(ext);
    EXPECT_GE(after - other.load(), uint64_t(2000000)) << "stamps are nanoseconds";
}

struct WalkModeCase {
    const char* name;
    const char* text;  // null: variable unset
    int expected;
};

void PrintTo(const WalkModeCase& value, std::ostream* out) { *out << value.name; }

class StackWalkMode : public testing::TestWithParam<WalkModeCase> {};

TEST_P(StackWalkMode, AnswersTheConfiguredInteger) {
    vesktool_test::Environment environment;
    if (GetParam().text != nullptr) environment["VESKTOOL_STACK_WALK_MODE"] = GetParam().text;
    ToolInstance tool(environment);
    vesk_profiling_extension* ext = tool.ext();
    EXPECT_EQ(GetParam().expected, ext->get_stack_walk_mode(ext));
}

// Any integer passes unchanged so hosts can be tried on modes they must
// reject; anything that is not an int falls back to mixed mode.
INSTANTIATE_TEST_SUITE_P(Values, StackWalkMode,
                         testing::Values(WalkModeCase{"Unset", nullptr, 2}, WalkModeCase{"Managed", "1", 1},
                                         WalkModeCase{"Unknown", "7", 7}, WalkModeCase{"Zero", "0", 0},
                                         WalkModeCase{"Negative", "-5", -5}, WalkModeCase{"Blanks", " 3 ", 3},
                                         WalkModeCase{"IntMax", "2147483647", INT_MAX},
                                         WalkModeCase{"IntMin", "-2147483648", INT_MIN},
                                         WalkModeCase{"AboveInt", "2147483648", 2},
                                         WalkModeCase{"Huge", "99999999999999999999", 2},
                                         WalkModeCase{"Empty", "", 2}, WalkModeCase{"Word", "abc", 2},
                                         WalkModeCase{"TrailingJunk", "1x", 2}),
                         [](const testing::TestParamInfo<WalkModeCase>& info) { return info.param.name; });

}  // namespace
