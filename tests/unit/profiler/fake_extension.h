// A stand-in for the tool's record of operations that counts the calls the
// profiler makes and answers what a test tells it to.
#pragma once

#include "vesk/profiling_extension.h"

#include <cstdint>
#include <vector>

namespace testing_support {

struct FakeExtension {
    vesk_profiling_extension record;
    int enterResult = vesk_er_success;
    int leaveResult = vesk_er_success;
    int enters = 0;
    int leaves = 0;
    std::vector<uint32_t> leaveLevels;
    void* threadSlot = nullptr;
    int getThreadDataCalls = 0;
    int releaseCalls = 0;

    FakeExtension();
    static FakeExtension& of(vesk_profiling_extension* ext);
};

}  // namespace testing_support
