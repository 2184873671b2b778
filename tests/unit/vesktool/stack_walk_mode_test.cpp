#include "tool_instance.h"

#include <gtest/gtest.h>

#include <climits>

// Any integer passes unchanged, so hosts can be tried on modes they must
// reject; anything that is not an int falls back to mixed mode.
TEST(StackWalkMode, AnswersTheConfiguredIntegerElseMixed) {
    const std::pair<const char*, int> cases[] = {
        {nullptr, 2}, {"1", 1}, {"-5", -5}, {" 3 ", 3}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        {"2147483648", 2}, {"99999999999999999999", 2}, {"", 2}, {"abc", 2}, {"1x", 2}};
    for (const auto& c : cases) {
        vesktool_test::Environment environment;
        if (c.first != nullptr) environment["VESKTOOL_STACK_WALK_MODE"] = c.first;
        vesktool_test::ToolInstance tool(environment);
        EXPECT_EQ(c.second, tool.ext()->get_stack_walk_mode(tool.ext())) << (c.first ? c.first : "unset");
    }
}
