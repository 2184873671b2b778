// With the offline stack walker active, new code ranges go to the tool.
#include "code_map_fixture.h"

using namespace veskmrte_1_0;
using namespace jitrecords_test;

namespace {

std::pair<uint64_t, uint64_t> range(uint64_t start, uint64_t end) { return {start, end}; }

}  // namespace

TEST_F(CodeMapTest, EachNewRangeIsReportedOnceAndKnownOnesAreSkipped) {
    start(true);
    FunctionID f = addFunction(0x30, registerModule(), {{0x100, 0x40}, {0x2000, 0x18}});
    toolRanges.known.insert(at(0x2000));
    ASSERT_TRUE(callbacks->registerJitCode(f, 1));
    ASSERT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_EQ(toolRanges.knownQueries, 2);
    ASSERT_EQ(toolRanges.added.size(), 1u);
    EXPECT_EQ(toolRanges.added[0], range(at(0x100), at(0x140)));

    addBody(f, {{0x800, 0x20}});
    ASSERT_TRUE(callbacks->registerJitCode(f, 1));
    ASSERT_EQ(toolRanges.added.size(), 2u);
    EXPECT_EQ(toolRanges.added[1], range(at(0x800), at(0x820)));
}

TEST_F(CodeMapTest, ToolRefusingARangeChangesNothing) {
    start(true);
    tool.record.add_code_range = [](vesk_profiling_extension*, const vesk_code_range*) { return int(vesk_er_error); };
    FunctionID f = addFunction(0x31, registerModule(), {{0x100, 0x40}});
    EXPECT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_TRUE(callbacks->isJitCode(at(0x100)));
    EXPECT_EQ(written().size(), 1u);
}

TEST_F(CodeMapTest, WithoutTheOfflineStackWalkerTheToolHearsNothing) {
    start(false);
    FunctionID f = addFunction(0x32, registerModule(), {{0x100, 0x40}});
    ASSERT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_EQ(toolRanges.knownQueries, 0);
    EXPECT_TRUE(toolRanges.added.empty());
}
