#include "fake_extension.h"


namespace testing_support {

namespace {

// The record handed to the profiler carries no room for the fake; tests use
// one fake at a time.
FakeExtension* s_current = nullptr;

int VESK_CALL enterRuntime(vesk_profiling_extension* ext, uint32_t* level) {
    FakeExtension& fake = FakeExtension::of(ext);
    ++fake.enters;
    *level = 0x40u + static_cast<uint32_t>(fake.enters);
    return fake.enterResult;
}

int VESK_CALL leaveRuntime(vesk_profiling_extension* ext, uint32_t level) {
    FakeExtension& fake = FakeExtension::of(ext);
    ++fake.leaves;
    fake.leaveLevels.push_back(level);
    return fake.leaveResult;
}

void* VESK_CALL getThreadData(vesk_profiling_extension* ext, vesk_allocate_thread_data_fn allocate) {
    FakeExtension& fake = FakeExtension::of(ext);
    ++fake.getThreadDataCalls;
    if (fake.threadSlot == nullptr) allocate(&fake.threadSlot);
    return fake.threadSlot;
}

int VESK_CALL releaseThreadData(vesk_profiling_extension* ext, vesk_free_thread_data_fn release) {
    FakeExtension& fake = FakeExtension::of(ext);
    ++fake.releaseCalls;
    if (fake.threadSlot != nullptr) release(fake.threadSlot);
    fake.threadSlot = nullptr;
    return vesk_er_success;
}

uint64_t VESK_CALL timestamp(vesk_profiling_extension*) { return 42; }

}  // namespace

FakeExtension::FakeExtension() : record() {
    s_current = this;
    record.enter_runtime = enterRuntime;
    record.leave_runtime = leaveRuntime;
    record.get_thread_data = getThreadData;
    record.release_thread_data = releaseThreadData;
    record.get_timestamp = timestamp;
}

FakeExtension& FakeExtension::of(vesk_profiling_extension*) { return *s_current; }

}  // namespace testing_support
