#include "clrprof/debug_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

using veskmrte_1_0::DebugLog;
using veskmrte_1_0::LogLine;

namespace {

std::string tempPath(const char* name) {
    return std::string(::testing::TempDir()) + name + "-" + std::to_string(getpid());
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(LogLine, NumbersAreLowerCaseHexWithPrefixAndZeroIsPlain) {
    LogLine line;
    line << "id=" << uintptr_t{0x7F3A00BEEF} << " zero=" << 0u << " small=" << uint32_t{10} << " neg=" << -1;
    EXPECT_EQ(line.str(), "id=0x7f3a00beef zero=0 small=0xa neg=0xffffffff");
}

TEST(LogLine, WideStringsAreWrittenAsUtf8) {
    const vesk::WChar name[] = {'M', 0xFC, 'l', 'l', 'e', 'r', '.', 'd', 'l', 'l', 0};
    LogLine line;
    line << "  name=" << name;
    EXPECT_EQ(line.str(), "  name=M\xC3\xBCller.dll");
}

TEST(DebugLog, OffWithoutPathAndTruncatesAnExistingFile) {
    DebugLog off("");
    EXPECT_FALSE(off.isOn());
    off.writeLine("ignored");

    std::string path = tempPath("truncate.log");
    {
        std::ofstream old(path);
        old << "old contents that must go\n";
    }
    {
        DebugLog log(path);
        ASSERT_TRUE(log.isOn());
        log.writeLine("[Initialize event]");
        // Every line is flushed at once: the file is complete while the log
        // is still open.
        EXPECT_EQ(readFile(path), "[Initialize event]\n");
    }
    std::remove(path.c_str());
}

TEST(DebugLog, UnwritablePathLeavesLogOff) {
    DebugLog log("/nonexistent-directory/for/sure/log.txt");
    EXPECT_FALSE(log.isOn());
}

TEST(AssertionDeathTest, FatalAssertionReportsFileLineAndConditionAndExitsWithThree) {
    EXPECT_EXIT(VESK_ASSERT(1 + 1 == 3), testing::ExitedWithCode(3),
                "^VESKMRTE1_ASSERT at:tests/unit/profiler/debug_log_test.cpp:[0-9]+ '1 \\+ 1 == 3'\n$");
}

TEST(AssertionDeathTest, SoftAssertionEndsTheProcessToo) {
    EXPECT_EXIT(VESK_SOFT_ASSERT(false, "Can't get signature"), testing::ExitedWithCode(3),
                "VESKMRTE1_ASSERT at:.*'false'");
}
