#include "clrprof/runtime_version.h"
#include "clrprof/module.h"

#include <gtest/gtest.h>

using namespace veskmrte_1_0;

namespace {

uint32_t classify(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    FileVersion v;
    v.major = a;
    v.minor = b;
    v.build = c;
    v.revision = d;
    return classifyRuntimeVersion(v);
}

}  // namespace

TEST(RuntimeVersion, EveryBoundaryOfTheTable) {
    EXPECT_EQ(classify(2, 0, 50727, 42), mvMSCOR20);
    EXPECT_EQ(classify(2, 0, 50727, 3052), mvMSCOR20);
    EXPECT_EQ(classify(2, 0, 50727, 3053), mvMSCOR35SP1);
    EXPECT_EQ(classify(3, 0, 4506, 29), mvMSCOR35SP1);
    EXPECT_EQ(classify(3, 0, 4506, 30), mvMSCOR20);
    EXPECT_EQ(classify(3, 0, 4506, 2151), mvMSCOR20);
    EXPECT_EQ(classify(3, 0, 4506, 2152), mvMSCOR35SP1);
    EXPECT_EQ(classify(3, 5, 21022, 7), mvMSCOR35SP1);
    EXPECT_EQ(classify(3, 5, 21022, 8), mvMSCOR20);
    EXPECT_EQ(classify(3, 5, 30729, 0), mvMSCOR20);
    EXPECT_EQ(classify(3, 5, 30729, 1), mvMSCOR35SP1);
    EXPECT_EQ(classify(4, 0, 21006, 0), mvMSCOR35SP1);
    EXPECT_EQ(classify(4, 0, 21006, 1), mvMSCOR40);
    EXPECT_EQ(classify(4, 0, 30319, 1), mvMSCOR40);
    EXPECT_EQ(classify(10, 0, 25, 52411), mvMSCOR40);
}

TEST(FileVersionOrder, ComparesMajorFirst) {
    FileVersion a, b;
    a.major = 3;
    a.revision = 9;
    b.major = 4;
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(b < a);
    EXPECT_TRUE(a >= a);
}
