#include "clrprof/debug_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
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

TEST(DebugLog, InASharedStickyDirectoryNeitherLinksNorOthersFilesAreOpened) {
    // In a private directory the user's own link is the user's choice.
    char privateTemplate[] = "/tmp/veskmrte-log-XXXXXX";
    char sharedTemplate[] = "/tmp/veskmrte-log-XXXXXX";
    ASSERT_NE(mkdtemp(privateTemplate), nullptr);
    ASSERT_NE(mkdtemp(sharedTemplate), nullptr);
    const std::string own = privateTemplate, shared = sharedTemplate;
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    const std::string target = own + "/target";
    { std::ofstream(target) << "keep\n"; }
    const std::string foreign = shared + "/foreign.log";
    { std::ofstream(foreign) << "keep\n"; }
    const bool canChown = chown(foreign.c_str(), 4242, 4242) == 0;
    ASSERT_EQ(symlink(target.c_str(), (shared + "/link.log").c_str()), 0);
    ASSERT_EQ(symlink(target.c_str(), (own + "/link.log").c_str()), 0);

    struct Case {
        std::string path;
        bool opens;
    } cases[] = {{shared + "/link.log", false}, {shared + "/fresh.log", true}, {own + "/link.log", true}};
    for (const Case& c : cases) {
        DebugLog log(c.path);
        EXPECT_EQ(log.isOn(), c.opens) << c.path;
    }
    if (canChown) {
        EXPECT_FALSE(DebugLog(foreign).isOn()) << "another user's file in a shared directory";
    }
    EXPECT_EQ(readFile(foreign), "keep\n");
    EXPECT_EQ(readFile(target), "") << "truncated through the user's own link only";
    for (const char* name : {"/link.log", "/fresh.log", "/foreign.log"}) std::remove((shared + name).c_str());
    for (const char* name : {"/link.log", "/target"}) std::remove((own + name).c_str());
    rmdir(shared.c_str());
    rmdir(own.c_str());
}

TEST(AssertionDeathTest, FatalAssertionReportsFileLineAndConditionAndExitsWithThree) {
    EXPECT_EXIT(VESK_ASSERT(1 + 1 == 3), testing::ExitedWithCode(3),
                "^VESKMRTE1_ASSERT at:tests/unit/profiler/debug_log_test.cpp:[0-9]+ '1 \\+ 1 == 3'\n$");
}

TEST(AssertionDeathTest, SoftAssertionEndsTheProcessToo) {
    EXPECT_EXIT(VESK_SOFT_ASSERT(false, "Can't get signature"), testing::ExitedWithCode(3),
                "VESKMRTE1_ASSERT at:.*'false'");
}
