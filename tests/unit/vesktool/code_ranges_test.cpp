#include "tool_instance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

using vesktool_test::ToolInstance;

namespace {

class CodeRanges : public testing::Test {
protected:
    int add(uint64_t start, uint64_t end) {
        const vesk_code_range range{start, end};
        return ext->add_code_range(ext, &range);
    }
    // Only the low byte carries the answer.
    bool known(uintptr_t address) { return (ext->is_code_known(ext, address, 0) & 0xFF) != 0; }

    ToolInstance tool;
    vesk_profiling_extension* ext = tool.ext();
};

TEST_F(CodeRanges, RangeIsHalfOpen) {
    ASSERT_EQ(vesk_er_success, add(0x1000, 0x2000));
    EXPECT_FALSE(known(0xFFF));
    EXPECT_TRUE(known(0x1000));
    EXPECT_TRUE(known(0x1FFF));
    EXPECT_FALSE(known(0x2000));
}

TEST_F(CodeRanges, NothingIsKnownBeforeAnyRange) {
    EXPECT_FALSE(known(0));
    EXPECT_FALSE(known(0x1000));
    EXPECT_FALSE(known(UINTPTR_MAX));
}

TEST_F(CodeRanges, BadRangesAreRefused) {
    EXPECT_EQ(vesk_er_error, add(0x2000, 0x1000));
    EXPECT_EQ(vesk_er_error, ext->add_code_range(ext, nullptr));
    EXPECT_FALSE(known(0x1800));
    // An empty range is harmless but covers nothing.
    EXPECT_EQ(vesk_er_success, add(0x3000, 0x3000));
    EXPECT_FALSE(known(0x3000));
}

TEST_F(CodeRanges, OverlappingAndTouchingRangesCoverTheirUnion) {
    ASSERT_EQ(vesk_er_success, add(100, 200));
    ASSERT_EQ(vesk_er_success, add(150, 300));  // overlaps the end
    ASSERT_EQ(vesk_er_success, add(300, 400));  // touches
    ASSERT_EQ(vesk_er_success, add(50, 120));   // overlaps the start
    ASSERT_EQ(vesk_er_success, add(500, 600));
    ASSERT_EQ(vesk_er_success, add(120, 130));  // inside
    ASSERT_EQ(vesk_er_success, add(100, 200));  // duplicate
    EXPECT_FALSE(known(49));
    EXPECT_TRUE(known(50));
    EXPECT_TRUE(known(299));
    EXPECT_TRUE(known(300));
    EXPECT_TRUE(known(399));
    EXPECT_FALSE(known(400)) << "the gap between separate ranges stays unknown";
    EXPECT_FALSE(known(499));
    EXPECT_TRUE(known(500));
    EXPECT_FALSE(known(600));
}

TEST_F(CodeRanges, RangeAtTheTopOfTheAddressSpace) {
    ASSERT_EQ(vesk_er_success, add(UINTPTR_MAX - 16, UINTPTR_MAX));
    EXPECT_TRUE(known(UINTPTR_MAX - 16));
    EXPECT_TRUE(known(UINTPTR_MAX - 1));
    EXPECT_FALSE(known(UINTPTR_MAX));
    EXPECT_FALSE(known(UINTPTR_MAX - 17));
}

TEST_F(CodeRanges, AgreesWithAPlainModelOverRandomAdditions) {
    // Small ranges in a small space make every kind of overlap likely.
    constexpr unsigned kSpace = 256;
    std::mt19937 random(12345);
    std::vector<bool> model(kSpace, false);
    for (int addition = 0; addition < 60; ++addition) {
        const unsigned start = random() % kSpace;
        const unsigned end = start + random() % 24;
        ASSERT_EQ(vesk_er_success, add(start, end));
        for (unsigned address = start; address < end && address < kSpace; ++address) model[address] = true;
        for (unsigned address = 0; address < kSpace; ++address) {
            ASSERT_EQ(model[address], known(address)) << "address " << address << " after addition " << addition;
        }
    }
}

TEST_F(CodeRanges, AdditionsAndLookupsFromManyThreads) {
    constexpr int kWriters = 4;
    constexpr uint64_t kPerWriter = 500;
    constexpr uint64_t kBase = 0x100000;
    std::atomic<bool> done{false};
    std::atomic<int> falseHits{0};
    std::thread reader([&] {
        while (!done.load()) {
            // Odd slots are never added.
            for (uint64_t slot = 1; slot < kWriters * kPerWriter * 2; slot += 2 * 37) {
                if (known(kBase + slot * 16)) ++falseHits;
            }
        }
    });
    std::vector<std::thread> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        writers.emplace_back([&, writer] {
            for (uint64_t index = 0; index < kPerWriter; ++index) {
                const uint64_t slot = 2 * (index * kWriters + static_cast<uint64_t>(writer));
                add(kBase + slot * 16, kBase + slot * 16 + 16);
            }
        });
    }
    for (std::thread& writer : writers) writer.join();
    done = true;
    reader.join();

    EXPECT_EQ(0, falseHits.load());
    for (uint64_t slot = 0; slot < kWriters * kPerWriter * 2; ++slot) {
        ASSERT_EQ(slot % 2 == 0, known(kBase + slot * 16 + 8)) << "slot " << slot;
    }
}

}  // namespace
