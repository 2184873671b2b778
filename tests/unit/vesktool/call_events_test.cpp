#include "child_process.h"
#include "tool_instance.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using nlohmann::json;
using vesktool_test::Environment;
using vesktool_test::readJson;
using vesktool_test::runInChild;
using vesktool_test::TempDir;
using vesktool_test::ToolInstance;

namespace {

typedef int(VESK_CALL* DefineApi)(int32_t, const char*);
typedef int(VESK_CALL* ReportCall)(int32_t, int32_t, int32_t, uintptr_t);

// Reports made as the wrappers make them, in a child whose exit writes the
// report.
json reportAfter(const std::function<void(DefineApi, ReportCall)>& calls) {
    TempDir dir;
    const int code = runInChild([&] {
        ToolInstance tool(Environment{{"VESKTOOL_REPORT", (dir / "report.json").string()}});
        calls(reinterpret_cast<DefineApi>(tool.symbol("vesktool_define_api")),
              reinterpret_cast<ReportCall>(tool.symbol("vesktool_report_call")));
        return 0;
    });
    EXPECT_EQ(code, 0);
    return readJson(dir / "report.json");
}

}  // namespace

TEST(CallEvents, CountsCallsAndReturnsPerApiAndManagedThread) {
    json report = reportAfter([](DefineApi define, ReportCall report) {
        EXPECT_EQ(define(0, "System.Threading.Monitor.Enter"), vesk_er_success);
        EXPECT_EQ(define(2, "System.Threading.Monitor.Exit"), vesk_er_success);
        // The wrappers pass where their reference lies.
        uintptr_t object = 0x1000;
        const uintptr_t slot = reinterpret_cast<uintptr_t>(&object);
        for (int i = 0; i < 3; ++i) {
            report(0, 0, 1, slot);
            report(0, 1, 1, slot);
            report(2, 0, 1, slot);
        }
        // Another managed thread on another OS thread, and one on this thread.
        std::thread([&] { report(0, 0, 7, 0); }).join();
        report(0, 0, 9, 0);
    });
    const json& events = report["events"];
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events["System.Threading.Monitor.Enter"]["calls"], 5);
    EXPECT_EQ(events["System.Threading.Monitor.Enter"]["returns"], 3);
    EXPECT_EQ(events["System.Threading.Monitor.Enter"]["by_thread"], (json{{"1", 3}, {"7", 1}, {"9", 1}}));
    EXPECT_EQ(events["System.Threading.Monitor.Exit"]["calls"], 3);
    EXPECT_EQ(events["System.Threading.Monitor.Exit"]["returns"], 0);
    EXPECT_EQ(report["events_refused"], 0);
}

TEST(CallEvents, RefusesIdsOutsideTheTableAndUnknownPhases) {
    json report = reportAfter([](DefineApi define, ReportCall report) {
        EXPECT_EQ(define(-1, "x"), vesk_er_error);
        EXPECT_EQ(define(256, "x"), vesk_er_error);
        EXPECT_EQ(define(3, nullptr), vesk_er_error);
        EXPECT_EQ(report(256, 0, 1, 0), vesk_er_error);
        EXPECT_EQ(report(-1, 0, 1, 0), vesk_er_error);
        EXPECT_EQ(report(3, 6, 1, 0), vesk_er_error);
        // An id reported before it was named still counts.
        EXPECT_EQ(report(3, 0, 1, 0), vesk_er_success);
    });
    EXPECT_EQ(report["events_refused"], 3);
    EXPECT_EQ(report["events"]["#3"]["calls"], 1);
}

TEST(CallEvents, ConcurrentReportsLoseNothing) {
    json report = reportAfter([](DefineApi define, ReportCall report) {
        define(15, "System.Threading.SemaphoreSlim.Wait");
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t)
            threads.emplace_back([report, t] {
                for (int i = 0; i < 20000; ++i) report(15, i % 2, 100 + t, 0);
            });
        for (auto& th : threads) th.join();
    });
    const json& wait = report["events"]["System.Threading.SemaphoreSlim.Wait"];
    EXPECT_EQ(wait["calls"], 8 * 10000);
    EXPECT_EQ(wait["returns"], 8 * 10000);
    EXPECT_EQ(wait["by_thread"].size(), 8u);
}
