// A started callback object over the fake runtime, with a fake tool record
// swapped in and the JIT file read back at the end.
#pragma once

#include "clrprof/clr_callbacks.h"
#include "fake_runtime.h"
#include "../profiler/fake_extension.h"
#include "jit_file_reader.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace jitrecords_test {

// What the fake tool was told about code ranges.
struct ToolCodeRanges {
    std::set<uintptr_t> known;
    std::vector<std::pair<uint64_t, uint64_t>> added;  // [start, end)
    int knownQueries = 0;
};

class CodeMapTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the callback object; the offline stack walker as asked.
    void start(bool offlineStackWalker = false);
    // A registered module with load time stamp 77; a fresh id every call.
    cor::ModuleID registerModule();
    // A function of the module with one body made of the given blocks.
    cor::FunctionID addFunction(cor::FunctionID id, cor::ModuleID module,
                                std::vector<std::pair<size_t, size_t>> blocks);
    // Another body for the function, as a later compilation leaves it.
    void addBody(cor::FunctionID id, std::vector<std::pair<size_t, size_t>> blocks);
    uintptr_t at(size_t offset) const { return arena.address(offset); }
    // Closes the JIT file and reads it.
    std::vector<jitfile::MethodRecord> written();

    CodeArena arena;
    FakeRuntime runtime;
    testing_support::FakeExtension tool;
    ToolCodeRanges toolRanges;
    veskmrte_1_0::CLRCallbacks* callbacks = nullptr;

private:
    vesk_profiling_extension* m_savedRecord = nullptr;
    std::string m_jitFile;
    bool m_started = false;
};

}  // namespace jitrecords_test
