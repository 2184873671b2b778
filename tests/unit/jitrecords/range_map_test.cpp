// The recorded code ranges: which addresses they answer for, and how code
// placed over stale ranges replaces them.
#include "code_map_fixture.h"

#include <map>

using namespace veskmrte_1_0;
using namespace jitrecords_test;

TEST(JitRangeOrder, OverlappingRangesAreEquivalentAndAdjacentOnesAreNot) {
    std::map<JitRange, int> ranges;
    ranges[JitRange{0x1000, 0x100}] = 1;
    ranges[JitRange{0x1100, 0x10}] = 2;  // starts right where the first ends
    EXPECT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges.find(JitRange{0x1000, 1})->second, 1);
    EXPECT_EQ(ranges.find(JitRange{0x10FF, 1})->second, 1);
    EXPECT_EQ(ranges.find(JitRange{0x1100, 1})->second, 2);
    EXPECT_EQ(ranges.find(JitRange{0xFFF, 1}), ranges.end());
    EXPECT_EQ(ranges.find(JitRange{0x1110, 1}), ranges.end());
    EXPECT_EQ(ranges.count(JitRange{0x10F0, 0x20}), 1u) << "overlaps both; equal to the first found";
}

TEST_F(CodeMapTest, AddressesInsideEachBlockAreCodeAndNoOthers) {
    start();
    FunctionID f = addFunction(0x20, registerModule(), {{0x100, 0x40}, {0x2000, 0x18}});
    ASSERT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_FALSE(callbacks->isJitCode(at(0xFF))) << "last byte before the start";
    EXPECT_TRUE(callbacks->isJitCode(at(0x100)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x13F)));
    EXPECT_FALSE(callbacks->isJitCode(at(0x140))) << "one past the end";
    EXPECT_FALSE(callbacks->isJitCode(at(0x1000))) << "between the blocks";
    EXPECT_FALSE(callbacks->isJitCode(at(0x1FFF)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x2000)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x2017)));
    EXPECT_FALSE(callbacks->isJitCode(at(0x2018)));
    EXPECT_FALSE(callbacks->isJitCode(0));
}

TEST_F(CodeMapTest, AdjacentBodiesOfDifferentFunctionsBothStay) {
    start();
    ModuleID module = registerModule();
    FunctionID a = addFunction(0x21, module, {{0x100, 0x40}});
    FunctionID b = addFunction(0x22, module, {{0x140, 0x40}});
    ASSERT_TRUE(callbacks->registerJitCode(a, 1));
    ASSERT_TRUE(callbacks->registerJitCode(b, 1));
    EXPECT_TRUE(callbacks->isJitCode(at(0x13F)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x140)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x17F)));
}

TEST_F(CodeMapTest, NewCodeOverAStaleRangeReplacesIt) {
    start();
    ModuleID module = registerModule();
    FunctionID unloaded = addFunction(0x23, module, {{0x1000, 0x100}});
    ASSERT_TRUE(callbacks->registerJitCode(unloaded, 1));
    // The runtime freed that code and placed another function's code over
    // its second half.
    FunctionID reused = addFunction(0x24, module, {{0x1080, 0x100}});
    ASSERT_TRUE(callbacks->registerJitCode(reused, 2));
    EXPECT_FALSE(callbacks->isJitCode(at(0x1000))) << "the stale range went";
    EXPECT_FALSE(callbacks->isJitCode(at(0x107F)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x1080)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x117F)));
    EXPECT_FALSE(callbacks->isJitCode(at(0x1180)));
    EXPECT_EQ(written().size(), 2u);
}

TEST_F(CodeMapTest, NewCodeOverSeveralStaleRangesReplacesAllOfThem) {
    start();
    ModuleID module = registerModule();
    ASSERT_TRUE(callbacks->registerJitCode(addFunction(0x25, module, {{0x3000, 0x10}}), 1));
    ASSERT_TRUE(callbacks->registerJitCode(addFunction(0x26, module, {{0x3020, 0x10}}), 1));
    ASSERT_TRUE(callbacks->registerJitCode(addFunction(0x27, module, {{0x3040, 0x10}}), 1));
    ASSERT_TRUE(callbacks->registerJitCode(addFunction(0x28, module, {{0x3008, 0x20}}), 1));
    EXPECT_FALSE(callbacks->isJitCode(at(0x3000)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x3008)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x3027)));
    EXPECT_FALSE(callbacks->isJitCode(at(0x3028))) << "the rest of the second stale range went too";
    EXPECT_TRUE(callbacks->isJitCode(at(0x3040))) << "a range it does not overlap stays";
}

TEST_F(CodeMapTest, EmptyBlocksAreNotMapped) {
    start();
    FunctionID f = addFunction(0x29, registerModule(), {{0x100, 0x10}, {0x200, 0}});
    ASSERT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_FALSE(callbacks->isJitCode(at(0x200)));
    // An empty key would compare equal to both of these disjoint ranges.
    ASSERT_TRUE(callbacks->registerJitCode(addFunction(0x2A, registerModule(), {{0x1F8, 0x10}}), 1));
    ASSERT_TRUE(callbacks->registerJitCode(addFunction(0x2B, registerModule(), {{0x208, 0x10}}), 1));
    EXPECT_TRUE(callbacks->isJitCode(at(0x1F8)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x208)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x100)));
}
