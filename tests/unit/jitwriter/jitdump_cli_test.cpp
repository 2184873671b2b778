// veskmrte-jitdump as a user runs it: output and exit codes.
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <sys/wait.h>

using namespace jittest;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out;
};

ToolRun jitdump(const std::string& arguments) {
    ToolRun run;
    std::string command = std::string("'") + JITDUMP_PATH + "' " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) run.out.append(chunk, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string quote(const std::string& path) { return "'" + path + "'"; }

class Jitdump : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.file("dump.jit");
        for (uint32_t i = 0; i < 6; ++i) records.push_back(numberedRecord(i));
        records[4].moduleFileName = "/lib/\xFF\xFE-not-utf8\n.dll";  // raw bytes from a hostile file
        std::vector<const plovat1::JitRecord*> pointers;
        for (auto& r : records) pointers.push_back(r.finish());
        ASSERT_TRUE(writeFile(path, pointers));
    }

    TempDir dir;
    std::string path;
    std::vector<OwnedRecord> records;
};

TEST_F(Jitdump, JsonHoldsEveryRecordAndTheSummary) {
    ToolRun run = jitdump("--json " + quote(path));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    nlohmann::json doc = nlohmann::json::parse(run.out);  // throws, failing the test, on bad JSON
    ASSERT_EQ(doc["records"].size(), 6u);
    const nlohmann::json& r2 = doc["records"][2];
    EXPECT_EQ(r2["methodToken"], "0x06000002");
    EXPECT_EQ(r2["moduleId"], "0x00007f1000002000");
    EXPECT_EQ(r2["moduleFileName"], "/app/module2.dll");
    EXPECT_EQ(r2["timestamp"], 2000017u);
    ASSERT_EQ(r2["codeRanges"].size(), 2u);
    EXPECT_EQ(r2["codeRanges"][1]["size"], records[2].ranges[1].size);
    ASSERT_EQ(r2["ilMap"].size(), 2u);
    EXPECT_EQ(r2["ilMap"][1]["ilOffset"], 3u);
    EXPECT_EQ(doc["summary"]["records"], 6u);
    EXPECT_EQ(doc["summary"]["modules"], 5u);
    EXPECT_EQ(doc["summary"]["methods"], 6u);
    uint64_t codeBytes = 0;
    for (auto& r : records)
        for (auto& range : r.ranges) codeBytes += range.size;
    EXPECT_EQ(doc["summary"]["codeBytes"], codeBytes);
    EXPECT_EQ(doc["complete"], true);
}

TEST_F(Jitdump, SummaryOnlyLeavesOutTheRecords) {
    ToolRun run = jitdump("--summary --json " + quote(path));
    ASSERT_EQ(run.exitCode, 0);
    nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_FALSE(doc.contains("records"));
    EXPECT_EQ(doc["summary"]["records"], 6u);

    run = jitdump("--summary " + quote(path));
    EXPECT_EQ(run.out.find("record 1 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("summary: 6 records"), std::string::npos) << run.out;
}

TEST_F(Jitdump, TextShowsEachRecordWithoutRawControlBytes) {
    ToolRun run = jitdump(quote(path));
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("method token 0x06000003"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"/app/module1.dll\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("-not-utf8\\x0a.dll"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("summary: 6 records"), std::string::npos) << run.out;
}

TEST_F(Jitdump, ATruncatedFileIsReportedWithExitCode3) {
    std::vector<uint8_t> bytes = fileBytes(path);
    bytes.resize(bytes.size() - 5);
    writeBytes(path, bytes);
    ToolRun run = jitdump("--json " + quote(path));
    EXPECT_EQ(run.exitCode, 3);
    nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["records"].size(), 5u);
    EXPECT_EQ(doc["complete"], false);
    EXPECT_NE(doc["damage"].get<std::string>().find("cut off"), std::string::npos);
}

TEST_F(Jitdump, AForeignFileIsAnErrorWithExitCode2) {
    std::vector<uint8_t> bytes = fileBytes(path);
    bytes[0] = 'X';
    writeBytes(path, bytes);
    EXPECT_EQ(jitdump(quote(path)).exitCode, 2);
    bytes = fileBytes(path);
    bytes[0] = 'V';
    bytes[8] = 9;  // major version 9
    writeBytes(path, bytes);
    EXPECT_EQ(jitdump("--json " + quote(path)).exitCode, 2);
}

TEST(JitdumpUsage, BadUsageAndMissingFilesExitWith1) {
    EXPECT_EQ(jitdump("").exitCode, 1);
    EXPECT_EQ(jitdump("--bogus x.jit").exitCode, 1);
    EXPECT_EQ(jitdump("a.jit b.jit").exitCode, 1);
    EXPECT_EQ(jitdump("/nonexistent/dir/file.jit").exitCode, 1);
    EXPECT_EQ(jitdump("--help").exitCode, 0);
}

}  // namespace
