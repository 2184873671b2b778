// The report the tool library writes as the process exits, after a session
// in a child process that used every operation the way a host does.
#include "fake_host.h"
#include "tool_instance.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <thread>

#include <sys/wait.h>

using nlohmann::json;
using vesktool_test::Environment;
using vesktool_test::ToolInstance;
namespace fs = std::filesystem;

// The identities the tool names objects by, exported as the profiler
// exports them: here the object's address itself.
extern "C" VESK_EXPORT uint32_t VESK_CALL getObjectID(uintptr_t address) { return static_cast<uint32_t>(address); }

namespace {

typedef int(VESK_CALL* DefineApi)(int32_t, const char*);
typedef int(VESK_CALL* ReportCall)(int32_t, int32_t, int32_t, uintptr_t);
enum Phase { before, after, acquiring, acquired, releasing };
void VESK_CALL walkStack(void*, vesk_frame_finder*, void*) {}
int VESK_CALL nextFrame(uintptr_t*, uintptr_t*, void*) { return vesk_er_error; }

// Runs body in a forked child that ends with exit(), so the library's
// exit-time work runs as in a real host; answers the child's exit code.
int inChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        int code = 121;
        try {
            code = body();
        } catch (...) {  // the child must never return into the test
        }
        std::exit(code);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

fs::path freshDirectory() {
    std::string pattern = (fs::temp_directory_path() / "vesktool-test-XXXXXX").string();
    return mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : fs::path();
}

json headOf(void* record) {
    const auto* head = static_cast<const vesk_thread_data_head*>(record);
    return {head->managed_thread, head->os_thread};
}

class Report : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = freshDirectory();
        ASSERT_EQ(0, inChild(runSession)) << "the child session failed";
        report = json::parse(std::ifstream(dir / "report.json"));
        facts = json::parse(std::ifstream(dir / "facts.json"));
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }

    // What the report cannot be checked against by itself goes to facts.json.
    static int runSession() {
        ToolInstance tool(Environment{{"VESKTOOL_REPORT", (dir / "report.json").string()},
                                      {"VESKTOOL_FAIL", " unwind_frame,,nonsense"}});
        vesk_profiling_extension* ext = tool.ext();
        json facts;

        // Three threads get records, all are released, then this thread
        // asks again and still holds its record at exit.
        // A failed allocation must not stick, nor a refused release free anything.
        facts["failed"] = {ext->get_thread_data(ext, nullptr) == nullptr,
                           ext->get_thread_data(ext, &fake_host::failToAllocate) == nullptr,
                           ext->release_thread_data(ext, nullptr) == vesk_er_error};
        facts["heads"].push_back(headOf(ext->get_thread_data(ext, &fake_host::allocate)));
        ext->get_thread_data(ext, nullptr);
        for (int index = 0; index < 2; ++index)
            std::thread([&] { facts["heads"].push_back(headOf(ext->get_thread_data(ext, &fake_host::allocate))); })
                .join();
        ext->release_thread_data(ext, nullptr);
        ext->release_thread_data(ext, &fake_host::release);
        ext->release_thread_data(ext, &fake_host::release);
        facts["foreign_releases"] = fake_host::stats.foreignReleases;
        facts["held"] = headOf(ext->get_thread_data(ext, &fake_host::allocate));

        // Levels are the thread's depth; only the innermost may be left, and
        // once. The refusals are the report's imbalances.
        uint32_t levels[3] = {};
        for (uint32_t& level : levels) ext->enter_runtime(ext, &level);
        facts["levels"] = levels;
        facts["leaves"] = {ext->leave_runtime(ext, 1), ext->leave_runtime(ext, 3), ext->leave_runtime(ext, 2),
                           ext->leave_runtime(ext, 2), ext->enter_runtime(ext, nullptr)};
        std::thread([&] {
            facts["other_thread"] = fake_host::currentOsThread();
            facts["leaves"].push_back(ext->leave_runtime(ext, 1));  // nothing entered here
        }).join();
        facts["main_thread"] = fake_host::currentOsThread();

        // Overlapping, repeated, reversed and missing ranges; what is known
        // is their union, ends excluded.
        const vesk_code_range ranges[] = {{0x3000, 0x4000}, {0x1000, 0x2000}, {0x1000, 0x2000}, {0x1800, 0x2800},
                                          {0x5000, 0x4800}};
        for (const vesk_code_range& range : ranges) facts["ranges"].push_back(ext->add_code_range(ext, &range));
        facts["ranges"].push_back(ext->add_code_range(ext, nullptr));
        for (uintptr_t address : {0xFFF, 0x1000, 0x27FF, 0x2800, 0x2FFF, 0x3FFF, 0x4000, 0x4900})
            facts["known"].push_back((ext->is_code_known(ext, address, 0) & 0xFF) != 0);
        ext->set_stack_walker(ext, &walkStack, &nextFrame);
        unsigned char frame[264] = {};
        for (int call = 0; call < 3; ++call) ext->unwind_frame(ext, nullptr, frame, nullptr);

        // Calls as the wrappers report them.
        auto define = reinterpret_cast<DefineApi>(tool.symbol("vesktool_define_api"));
        auto call = reinterpret_cast<ReportCall>(tool.symbol("vesktool_report_call"));
        define(0, "System.Threading.Monitor.Enter");
        define(2, "System.Threading.Monitor.Exit");
        for (int refused : {define(-1, "x"), define(256, "x"), define(3, nullptr), call(256, before, 1, 0),
                            call(-1, before, 1, 0), call(3, 6, 1, 0)})
            facts["refusals"].push_back(refused);
        call(3, before, 1, 0);  // named by no one, still counted
        call(0, before, 1, 0);
        call(0, after, 1, 0);
        for (int i = 0; i < 3; ++i) {
            call(0, acquiring, 1, 0);
            call(0, acquired, 1, 0);
            call(2, releasing, 1, 0);
        }
        // Another managed thread on another OS thread, then one on this thread.
        std::thread([&] { call(0, before, 7, 0); }).join();
        call(0, before, 9, 0);

        std::ofstream(dir / "facts.json") << facts.dump();
        return 0;
    }

    static fs::path dir;
    static json report;
    static json facts;
};

fs::path Report::dir;
json Report::report;
json Report::facts;

TEST_F(Report, ThreadDataReadBeforeEachRecordWasFreed) {
    EXPECT_EQ(json({true, true, true}), facts["failed"]);
    EXPECT_EQ(0, facts["foreign_releases"]) << "a record was released twice";
    const std::pair<const char*, int> counts[] = {
        {"allocated", 4}, {"released", 3}, {"get_calls", 7}, {"threads", 3}, {"held_at_exit", 1}};
    for (const auto& count : counts) EXPECT_EQ(count.second, report["thread_data"][count.first]) << count.first;
    const json& assignments = report["thread_assignments"];
    ASSERT_EQ(4u, assignments.size());
    std::set<json> released;
    for (size_t index = 0; index < 3; ++index) {
        EXPECT_EQ(false, assignments[index]["held_at_exit"]);
        // The fake host writes the allocating thread into the head.
        EXPECT_EQ(assignments[index]["os_thread"], assignments[index]["slot_os_thread"]);
        released.insert(json{assignments[index]["managed_thread"], assignments[index]["os_thread"]});
    }
    EXPECT_EQ(std::set<json>(facts["heads"].begin(), facts["heads"].end()), released)
        << "a head was read after its record was released";
    EXPECT_EQ(0u, released.count(facts["held"])) << "a freed record was handed out again";
    EXPECT_EQ(true, assignments[3]["held_at_exit"]);
    EXPECT_EQ(facts["held"], json({assignments[3]["managed_thread"], assignments[3]["os_thread"]}));
}

TEST_F(Report, GuardCodeRangesAndSettings) {
    EXPECT_EQ(json({1, 2, 3}), facts["levels"]);
    EXPECT_EQ(json({vesk_er_error, vesk_er_success, vesk_er_success, vesk_er_error, vesk_er_error, vesk_er_error}),
              facts["leaves"]);
    const json& guard = report["runtime_guard"];
    EXPECT_EQ(json({3, 2, 3, 1}), json({guard["enters"], guard["leaves"], guard["max_depth"], guard["open_at_exit"]}));
    EXPECT_EQ(json::array({{{"os_thread", facts["main_thread"]}, {"expected", 3}, {"got", 1}},
                           {{"os_thread", facts["main_thread"]}, {"expected", 1}, {"got", 2}},
                           {{"os_thread", facts["other_thread"]}, {"expected", 0}, {"got", 1}}}),
              guard["imbalances"]);
    EXPECT_EQ(json::array({{{"start", 0x1000}, {"end", 0x2000}},
                           {{"start", 0x1800}, {"end", 0x2800}},
                           {{"start", 0x3000}, {"end", 0x4000}}}),
              report["code_ranges"]);
    EXPECT_EQ(1, report["code_range_duplicates"]);
    const int ok = vesk_er_success, refused = vesk_er_error;
    EXPECT_EQ(json({ok, ok, ok, ok, refused, refused}), facts["ranges"]);
    EXPECT_EQ(json({false, true, true, false, false, true, false, false}), facts["known"]);
    EXPECT_EQ(json::array({"unwind_frame"}), report["failures_injected"]);
    EXPECT_EQ(json::array({"nonsense"}), report["failures_unrecognized"]);
    EXPECT_EQ(3, report["unwind_calls"]);
    EXPECT_EQ(2, std::distance(fs::directory_iterator(dir), fs::directory_iterator()))
        << "a temporary file was left beside report.json and facts.json";
}

// Lock phases count as entries and returns like plain ones; the counts of a
// managed thread are its own, whichever OS thread ran it.
TEST_F(Report, CallsPerApiAndManagedThread) {
    EXPECT_EQ(json(std::vector<int>(6, vesk_er_error)), facts["refusals"]);
    EXPECT_EQ(3, report["events_refused"]);
    const json& events = report["events"];
    EXPECT_EQ(json({{"calls", 6}, {"returns", 4}, {"by_thread", {{"1", 4}, {"7", 1}, {"9", 1}}}}),
              events["System.Threading.Monitor.Enter"]);
    EXPECT_EQ(json({{"calls", 3}, {"returns", 0}, {"by_thread", {{"1", 3}}}}), events["System.Threading.Monitor.Exit"]);
    EXPECT_EQ(1, events["#3"]["calls"]);
}

TEST(ReportFile, NotWrittenByAForkedChildOfTheHost) {
    const fs::path dir = freshDirectory();
    const fs::path file = dir / "report.json";
    EXPECT_EQ(0, inChild([&] {
        ToolInstance tool(Environment{{"VESKTOOL_REPORT", file.string()}});
        return inChild([] { return 0; }) == 0 && !fs::exists(file) ? 0 : 1;
    })) << "a forked child of the host wrote the report";
    EXPECT_TRUE(fs::exists(file));
    fs::remove_all(dir);
}

// Per-object counts are written straight out, and copied from the report the
// last notice wrote when only other parts changed since: either way the file
// must read as a JSON dump lays it out, keys in text order ("10" before
// "9"), and hold every count, those of one object and API on two threads
// added up.
TEST(ReportFile, ObjectCountsWrittenOrCopiedAsADumpLaysThemOut) {
    for (const bool objectsChangeAfterNotice : {false, true}) {
        SCOPED_TRACE(objectsChangeAfterNotice ? "counts changed after the notice" : "only the guard changed");
        const fs::path dir = freshDirectory();
        ASSERT_EQ(0, inChild([&] {
            json expected = json::object();
            ToolInstance tool(Environment{{"VESKTOOL_REPORT", (dir / "report.json").string()}});
            vesk_profiling_extension* ext = tool.ext();
            auto define = reinterpret_cast<DefineApi>(tool.symbol("vesktool_define_api"));
            auto call = reinterpret_cast<ReportCall>(tool.symbol("vesktool_report_call"));
            auto flush = reinterpret_cast<int(VESK_CALL*)(const char*, const char*, int32_t, int32_t)>(
                tool.symbol("vesktool_flush_report"));
            define(0, "System.Threading.Monitor.Enter");
            define(1, "Bad \xff \"name\"");
            const char* names[] = {"System.Threading.Monitor.Enter", "Bad \xef\xbf\xbd \"name\"", nullptr, "#3"};
            auto lockAll = [&](int32_t thread, const std::vector<uintptr_t>& objects, int32_t api) {
                for (uintptr_t object : objects) {
                    call(api, acquiring, thread, reinterpret_cast<uintptr_t>(&object));
                    json& count = expected[std::to_string(object)][names[api]];
                    count = count.is_null() ? 1 : count.get<int>() + 1;
                }
            };
            std::vector<uintptr_t> objects;
            for (uintptr_t id = 1; id <= 120; ++id) objects.push_back(id);
            for (uintptr_t id : {999999999u, 1000000000u, 4294967295u}) objects.push_back(id);
            lockAll(1, objects, 0);
            std::thread([&] { lockAll(2, {9, 10, 4294967295u}, 0); }).join();
            lockAll(1, {7, 70, 700}, 1);
            lockAll(1, {70}, 3);  // an id no wrapper named
            // A signal's notice, then the exit's: each report is copied
            // from the one before, at another place in it.
            if (flush("sigterm", nullptr, 0, 0) != vesk_er_success) return 1;
            if (flush("exit", nullptr, 143, 1) != vesk_er_success) return 1;
            uint32_t level = 0;
            ext->enter_runtime(ext, &level);
            if (objectsChangeAfterNotice) lockAll(3, {5, 4000}, 0);
            std::ofstream(dir / "expected.json") << expected.dump();
            return 0;
        }));
        std::ifstream file(dir / "report.json");
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const json report = json::parse(text);
        EXPECT_EQ(report.dump(2) + "\n", text);
        EXPECT_EQ(1, report["runtime_guard"]["enters"]) << "the report written at unload is missing";
        EXPECT_EQ(json::parse(std::ifstream(dir / "expected.json")), report["objects"]);
        fs::remove_all(dir);
    }
}

}  // namespace
