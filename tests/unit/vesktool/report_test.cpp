#include "child_process.h"
#include "fake_host.h"
#include "tool_instance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include <unistd.h>

namespace fake_host = vesktool_test::fake_host;
using nlohmann::json;
using vesktool_test::readJson;
using vesktool_test::runInChild;
using vesktool_test::TempDir;
using vesktool_test::Environment;
using vesktool_test::ToolInstance;

namespace {

void VESK_CALL walkStack(void*, vesk_frame_finder*, void*) {}
int VESK_CALL nextFrame(uintptr_t*, uintptr_t*, void*) { return vesk_er_error; }

void writeJson(const std::filesystem::path& file, const json& value) { std::ofstream(file) << value.dump(); }

std::vector<std::string> fileNames(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// The whole report, after a session that touched every operation.
class Report : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        const int code = runInChild([] { return runSession(); });
        ASSERT_EQ(0, code) << "the child session failed or did not exit cleanly";
        report = readJson(*dir / "report.json");
        facts = readJson(*dir / "facts.json");
    }
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }

    // Runs in the child. What the report cannot be checked against by
    // itself goes to facts.json.
    static int runSession() {
        fake_host::reset();
        ToolInstance tool(Environment{{"VESKTOOL_REPORT", (*dir / "report.json").string()},
                           {"VESKTOOL_FAIL", "unwind_frame,nonsense"},
                           {"VESKTOOL_STACK_WALK_MODE", "-4"}});
        vesk_profiling_extension* ext = tool.ext();
        json facts;

        // Three threads get records; all are released; then one thread asks
        // again and still holds its record at exit.
        ext->get_thread_data(ext, &fake_host::allocate);
        ext->get_thread_data(ext, &fake_host::allocate);
        for (int index = 0; index < 2; ++index) {
            std::thread([&] { ext->get_thread_data(ext, &fake_host::allocate); }).join();
        }
        ext->release_thread_data(ext, &fake_host::release);
        for (const fake_host::Released& released : fake_host::stats().released) {
            facts["released"].push_back({released.managedThread, released.osThread});
        }
        const auto* held = static_cast<fake_host::Record*>(ext->get_thread_data(ext, &fake_host::allocate));
        facts["held"] = {held->head.managed_thread, held->head.os_thread};

        // Depth 3 at most, one enter left open, two imbalances.
        uint32_t levels[3] = {};
        for (uint32_t& level : levels) ext->enter_runtime(ext, &level);
        ext->leave_runtime(ext, levels[2]);
        ext->leave_runtime(ext, levels[1]);
        ext->leave_runtime(ext, 9);  // expected 1, got 9
        std::thread([&] {
            facts["imbalanced_thread"] = fake_host::currentOsThread();
            ext->leave_runtime(ext, 1);  // expected 0, got 1
        }).join();
        facts["main_thread"] = fake_host::currentOsThread();

        const vesk_code_range ranges[] = {{0x3000, 0x4000}, {0x1000, 0x2000}, {0x1000, 0x2000}, {0x1800, 0x2800}};
        for (const vesk_code_range& range : ranges) ext->add_code_range(ext, &range);

        ext->set_stack_walker(ext, &walkStack, &nextFrame);
        unsigned char frame[264] = {};
        for (int call = 0; call < 3; ++call) ext->unwind_frame(ext, nullptr, frame, nullptr);

        writeJson(*dir / "facts.json", facts);
        return 0;
    }

    static TempDir* dir;
    static json report;
    static json facts;
};

TempDir* Report::dir = nullptr;
json Report::report;
json Report::facts;

TEST_F(Report, ProcessAndSettings) {
    EXPECT_TRUE(report["pid"].is_number_integer());
    EXPECT_NE(getpid(), report["pid"].get<pid_t>()) << "the report must come from the child";
    EXPECT_EQ(-4, report["stack_walk_mode"]);
    EXPECT_EQ(true, report["stack_walker_set"]);
    EXPECT_EQ(json::array({"unwind_frame"}), report["failures_injected"]);
    EXPECT_EQ(json::array({"nonsense"}), report["failures_unrecognized"]);
    EXPECT_EQ(3, report["unwind_calls"]);
}

TEST_F(Report, ThreadDataCounts) {
    const json& data = report["thread_data"];
    EXPECT_EQ(4, data["allocated"]);
    EXPECT_EQ(3, data["released"]);
    EXPECT_EQ(5, data["get_calls"]);
    EXPECT_EQ(3, data["threads"]);
    EXPECT_EQ(1, data["held_at_exit"]);
}

TEST_F(Report, AssignmentsWereReadBeforeEachRecordWasFreed) {
    const json& assignments = report["thread_assignments"];
    ASSERT_EQ(4u, assignments.size());
    json released = json::array();
    for (size_t index = 0; index < 3; ++index) {
        const json& assignment = assignments[index];
        EXPECT_EQ(false, assignment["held_at_exit"]);
        EXPECT_NE(json(fake_host::kPoisonedManagedThread), assignment["managed_thread"])
            << "the head was read after the record was released";
        // The fake host writes the allocating thread into the head, which is
        // the thread that owned the slot.
        EXPECT_EQ(assignment["os_thread"], assignment["slot_os_thread"]);
        released.push_back({assignment["managed_thread"], assignment["os_thread"]});
    }
    EXPECT_EQ(facts["released"], released);

    const json& held = assignments[3];
    EXPECT_EQ(true, held["held_at_exit"]);
    EXPECT_EQ(facts["held"][0], held["managed_thread"]);
    EXPECT_EQ(facts["held"][1], held["os_thread"]);
}

TEST_F(Report, RuntimeGuard) {
    const json& guard = report["runtime_guard"];
    EXPECT_EQ(3, guard["enters"]);
    EXPECT_EQ(2, guard["leaves"]);
    EXPECT_EQ(3, guard["max_depth"]);
    EXPECT_EQ(1, guard["open_at_exit"]);
    const json expected = json::array({
        {{"os_thread", facts["main_thread"]}, {"expected", 1}, {"got", 9}},
        {{"os_thread", facts["imbalanced_thread"]}, {"expected", 0}, {"got", 1}},
    });
    EXPECT_EQ(expected, guard["imbalances"]);
}

TEST_F(Report, CodeRangesAsAddedWithDuplicatesCounted) {
    const json expected = json::array({{{"start", 0x1000}, {"end", 0x2000}},
                                       {{"start", 0x1800}, {"end", 0x2800}},
                                       {{"start", 0x3000}, {"end", 0x4000}}});
    EXPECT_EQ(expected, report["code_ranges"]);
    EXPECT_EQ(1, report["code_range_duplicates"]);
}

TEST_F(Report, NumbersAreIntegersAndNoTemporaryFileIsLeft) {
    for (const char* key : {"allocated", "released", "get_calls"}) {
        EXPECT_TRUE(report["thread_data"][key].is_number_integer()) << key;
    }
    for (const char* key : {"enters", "leaves", "max_depth", "open_at_exit"}) {
        EXPECT_TRUE(report["runtime_guard"][key].is_number_integer()) << key;
    }
    EXPECT_TRUE(report["thread_assignments"][0]["managed_thread"].is_number_integer());
    const std::vector<std::string> names = fileNames(dir->path());
    EXPECT_EQ(2u, names.size()) << "expected only report.json and facts.json";
}

TEST(ReportFile, NothingHeldAndNothingSetByDefault) {
    TempDir dir;
    const std::string file = (dir / "report.json").string();
    ASSERT_EQ(0, runInChild([&] {
        ToolInstance tool(Environment{{"VESKTOOL_REPORT", file}});
        return 0;
    }));
    const json report = readJson(file);
    EXPECT_EQ(2, report["stack_walk_mode"]);
    EXPECT_EQ(false, report["stack_walker_set"]);
    EXPECT_EQ(json::array(), report["thread_assignments"]);
    EXPECT_EQ(json::array(), report["runtime_guard"]["imbalances"]);
    EXPECT_EQ(json::array(), report["code_ranges"]);
    EXPECT_EQ(json::array(), report["failures_injected"]);
    EXPECT_EQ(0, report["thread_data"]["allocated"]);
}

TEST(ReportFile, RelativePathMeansTheDirectoryAtLoad) {
    TempDir loadDir;
    TempDir exitDir;
    ASSERT_EQ(0, runInChild([&] {
        if (chdir(loadDir.path().c_str()) != 0) return 1;
        ToolInstance tool(Environment{{"VESKTOOL_REPORT", "report.json"}});
        return chdir(exitDir.path().c_str()) == 0 ? 0 : 1;
    }));
    EXPECT_TRUE(std::filesystem::exists(loadDir / "report.json"));
    EXPECT_FALSE(std::filesystem::exists(exitDir / "report.json"));
}

TEST(ReportFile, ForkedChildOfTheHostLeavesTheReportAlone) {
    TempDir dir;
    const std::string file = (dir / "report.json").string();
    ASSERT_EQ(0, runInChild([&] {
        ToolInstance tool(Environment{{"VESKTOOL_REPORT", file}});
        const int grandchild = runInChild([] { return 0; });
        if (grandchild != 0 || std::filesystem::exists(file)) return 1;
        return 0;
    })) << "a forked child of the host wrote the report";
    EXPECT_EQ(0, readJson(file)["thread_data"]["allocated"]);
}

TEST(ReportFile, UnwritableLocationDoesNotDisturbTheExit) {
    TempDir dir;
    const std::filesystem::path file = dir / "missing" / "report.json";
    EXPECT_EQ(0, runInChild([&] {
        ToolInstance tool(Environment{{"VESKTOOL_REPORT", file.string()}});
        return 0;
    }));
    EXPECT_EQ(0u, fileNames(dir.path()).size());
}

TEST(ReportFile, WrittenWhileOtherThreadsStillCallIn) {
    TempDir dir;
    const std::string file = (dir / "report.json").string();
    EXPECT_EQ(0, runInChild([&] {
        ToolInstance tool(Environment{{"VESKTOOL_REPORT", file}});
        vesk_profiling_extension* ext = tool.ext();
        vesktool_test::checkLeaksNow();
        std::atomic<int> running{0};
        for (int index = 0; index < 4; ++index) {
            std::thread([ext, &running] {
                // Past this point the thread touches nothing of the test's
                // own, which exit() is about to tear down.
                ext->get_thread_data(ext, &fake_host::allocate);
                ++running;
                uint32_t level = 0;
                for (uint64_t round = 0;; ++round) {
                    const uint64_t start = 0x1000 + (round % 1024) * 0x10;
                    const vesk_code_range range{start, start + 8};
                    ext->add_code_range(ext, &range);
                    ext->is_code_known(ext, static_cast<uintptr_t>(start), 0);
                    ext->get_thread_data(ext, &fake_host::allocate);
                    if (ext->enter_runtime(ext, &level) == vesk_er_success) ext->leave_runtime(ext, level);
                }
            }).detach();
        }
        while (running.load() < 4) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return 0;
    }));
    const json report = readJson(file);
    EXPECT_GE(report["runtime_guard"]["enters"].get<uint64_t>(), 1u);
    EXPECT_EQ(4, report["thread_data"]["threads"]);
}

}  // namespace
