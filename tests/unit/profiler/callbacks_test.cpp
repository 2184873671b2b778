#include "clrprof/clr_callbacks.h"
#include "clrprof/clrprof.h"
#include "clrprof/stack_walker.h"
#include "clrprof/vesk_prof_ext.h"
#include "fake_extension.h"
#include "fake_profiler_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace veskmrte_1_0;
using namespace cor;
using testing_support::FakeExtension;
using testing_support::FakeProfilerInfo;

namespace {

vesk::WString wide(const std::string& s) { return vesk::fromUtf8(s); }

// Loads the real tool library from the tool directory once, as the shared
// object's load-time entry does, so that Initialize finds its directory.
// Answers its record, which the bridge uses from then on.
vesk_profiling_extension* loadRealExtension() {
    static vesk_profiling_extension* real = [] {
        setenv("VESKMRTE_JIT_DIR", ::testing::TempDir().c_str(), 1);
        bool loaded = VeskProfExt::instance().load(wide(std::string(VESK_DIST_DIR) + "/vesktool.so").c_str());
        return loaded ? VeskProfExt::instance().record() : nullptr;
    }();
    EXPECT_NE(real, nullptr);
    VeskProfExt::instance().useRecordForTesting(real);
    return real;
}

// Swaps a fake record into the bridge for one test.
class WithFakeExtension : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = VeskProfExt::instance().record();
        VeskProfExt::instance().useRecordForTesting(&m_fake.record);
    }
    void TearDown() override { VeskProfExt::instance().useRecordForTesting(m_saved); }
    FakeExtension m_fake;

private:
    vesk_profiling_extension* m_saved = nullptr;
};

}  // namespace

TEST(Initialize, SucceedsAndSetsTheEventMaskExactlyOnce) {
    loadRealExtension();
    FakeProfilerInfo info;
    CLRCallbacks* callbacks = new CLRCallbacks();
    EXPECT_EQ(callbacks->Initialize(&info), S_OK);
    ASSERT_EQ(info.eventMasks.size(), 1u);
    EXPECT_EQ(info.eventMasks[0], 0x101002A5u);
    EXPECT_EQ(callbacks->binPath(), wide(std::string(VESK_DIST_DIR) + "/"));
    EXPECT_EQ(g_callbacks.load(), callbacks);
    EXPECT_EQ(callbacks->Shutdown(), S_OK);
    EXPECT_EQ(callbacks->Release(), 0u);
}

TEST(Initialize, DeclinesWithoutProfilerInfo2AndSetsNoMask) {
    loadRealExtension();
    FakeProfilerInfo info;
    info.supportsInfo2 = false;
    CLRCallbacks* callbacks = new CLRCallbacks();
    EXPECT_EQ(callbacks->Initialize(&info), S_FALSE);
    EXPECT_TRUE(info.eventMasks.empty());
    callbacks->Release();
}

TEST_F(WithFakeExtension, InitializeDeclinesWhenTheToolLibraryIsNotLoaded) {
    // The fake record belongs to no loaded library, so no tool directory is
    // found; the guard still brackets the attempt.
    FakeProfilerInfo info;
    CLRCallbacks* callbacks = new CLRCallbacks();
    if (pal::findLoadedModule(extensionLibraryName()) != nullptr) GTEST_SKIP() << "tool library already loaded";
    EXPECT_EQ(callbacks->Initialize(&info), S_FALSE);
    EXPECT_TRUE(info.eventMasks.empty());
    EXPECT_EQ(m_fake.enters, m_fake.leaves);
    callbacks->Release();
}

TEST(ForbiddenModules, MatchCaseSensitiveSubstringsAndTreatNullAsForbidden) {
    loadRealExtension();
    FakeProfilerInfo info;
    CLRCallbacks* callbacks = new CLRCallbacks();
    ASSERT_EQ(callbacks->Initialize(&info), S_OK);
    EXPECT_TRUE(callbacks->isForbiddenModule(nullptr));
    EXPECT_TRUE(callbacks->isForbiddenModule(VESK_W("C:\\Windows\\Microsoft.NET\\mscorlib.dll")));
    EXPECT_TRUE(callbacks->isForbiddenModule(VESK_W("/x/shared/System.Private.CoreLib.dll")));
    EXPECT_TRUE(callbacks->isForbiddenModule(VESK_W("libmsvcr80.so")));
    EXPECT_TRUE(callbacks->isForbiddenModule(VESK_W("msvcm90d")));
    EXPECT_FALSE(callbacks->isForbiddenModule(VESK_W("MSCORLIB.DLL")));
    EXPECT_FALSE(callbacks->isForbiddenModule(VESK_W("MyApp.dll")));
    EXPECT_FALSE(callbacks->isForbiddenModule(VESK_W("System")));
    callbacks->addForbiddenModule(VESK_W("veskmrte_clr40wrap.dll"));
    EXPECT_TRUE(callbacks->isForbiddenModule(VESK_W("/tools/veskmrte_clr40wrap.dll")));
    callbacks->addForbiddenModule(VESK_W(""));
    EXPECT_TRUE(callbacks->isForbiddenModule(VESK_W("anything")));
    callbacks->Shutdown();
    callbacks->Release();
}

TEST(CallbackObject, AnswersOnlyItsOwnInterfacesAndNotImplementedForUnhandledEvents) {
    CLRCallbacks* callbacks = new CLRCallbacks();
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(callbacks->QueryInterface(IID_ICorProfilerCallback, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(callbacks->QueryInterface(IID_ICorProfilerCallback2, &out), S_OK);
    EXPECT_EQ(out, static_cast<ICorProfilerCallback2*>(callbacks));
    EXPECT_EQ(callbacks->Release(), 1u);
    EXPECT_EQ(callbacks->ClassLoadStarted(1), E_NOTIMPL);
    EXPECT_EQ(callbacks->HandleDestroyed(3), E_NOTIMPL);
    // Before a start, inlining decisions are left to the runtime.
    BOOL inline_ = 1;
    EXPECT_EQ(callbacks->JITInlining(1, 2, &inline_), S_OK);
    EXPECT_EQ(inline_, 1);
    EXPECT_EQ(callbacks->Release(), 0u);
}

TEST_F(WithFakeExtension, EventsBeforeInitializeOrAfterShutdownTouchNothing) {
    CLRCallbacks* callbacks = new CLRCallbacks();
    EXPECT_EQ(callbacks->JITCompilationStarted(7, 1), S_OK);
    EXPECT_EQ(callbacks->ModuleLoadFinished(7, S_OK), S_OK);
    EXPECT_EQ(callbacks->ThreadAssignedToOSThread(7, 8), S_OK);
    EXPECT_EQ(callbacks->GarbageCollectionFinished(), S_OK);
    EXPECT_EQ(m_fake.enters, 0);
    EXPECT_EQ(m_fake.getThreadDataCalls, 0);
    callbacks->Release();
}

// Starts a callback object with the real tool library, then hands the events
// to a fake record.
CLRCallbacks* startThenUseFake(FakeProfilerInfo& info, FakeExtension& fake, bool offline) {
    if (loadRealExtension() == nullptr) return nullptr;
    if (offline) setenv("MRTE_ACTIVATE_OFFLINE_STACKWALKER", "", 1);
    CLRCallbacks* callbacks = new CLRCallbacks();
    HRESULT hr = callbacks->Initialize(&info);
    unsetenv("MRTE_ACTIVATE_OFFLINE_STACKWALKER");
    VeskProfExt::instance().useRecordForTesting(&fake.record);
    if (hr != S_OK) {
        callbacks->Release();
        return nullptr;
    }
    return callbacks;
}

TEST_F(WithFakeExtension, ThreadAssignmentFillsTheToolsRecordInsideTheGuard) {
    FakeProfilerInfo info;
    CLRCallbacks* callbacks = startThenUseFake(info, m_fake, false);
    ASSERT_NE(callbacks, nullptr);
    EXPECT_EQ(callbacks->ThreadAssignedToOSThread(0x7000, 1234), S_OK);
    ASSERT_NE(m_fake.threadSlot, nullptr);
    ThreadData* data = static_cast<ThreadData*>(m_fake.threadSlot);
    EXPECT_EQ(data->managedThread, 0x7000u);
    EXPECT_EQ(data->osThread, 1234u);
    EXPECT_EQ(data->walkFlag, 0);
    ASSERT_NE(data->frameCache, nullptr);
    EXPECT_EQ(data->frameCache->size(), 0u);
    EXPECT_EQ(m_fake.enters, 1);
    EXPECT_EQ(m_fake.leaves, 1);

    // The runtime moved the managed thread: the same record is filled again.
    EXPECT_EQ(callbacks->ThreadAssignedToOSThread(0x7000, 5678), S_OK);
    EXPECT_EQ(static_cast<ThreadData*>(m_fake.threadSlot)->osThread, 5678u);

    EXPECT_EQ(callbacks->Shutdown(), S_OK);
    EXPECT_EQ(m_fake.releaseCalls, 1);
    EXPECT_EQ(m_fake.threadSlot, nullptr);
    EXPECT_EQ(m_fake.enters, m_fake.leaves);
    // After shut-down, events return at once without the guard.
    int enters = m_fake.enters;
    EXPECT_EQ(callbacks->JITCompilationStarted(1, 1), S_OK);
    EXPECT_EQ(callbacks->ThreadAssignedToOSThread(1, 2), S_OK);
    EXPECT_EQ(m_fake.enters, enters);
    callbacks->Release();
}

TEST_F(WithFakeExtension, OfflineStackWalkerSkipsThreadAssignment) {
    FakeProfilerInfo info;
    CLRCallbacks* callbacks = startThenUseFake(info, m_fake, true);
    ASSERT_NE(callbacks, nullptr);
    EXPECT_TRUE(callbacks->offlineStackWalker());
    EXPECT_EQ(callbacks->ThreadAssignedToOSThread(0x7000, 1234), S_OK);
    EXPECT_EQ(m_fake.getThreadDataCalls, 0);
    EXPECT_EQ(m_fake.enters, 0);
    callbacks->Shutdown();
    callbacks->Release();
}

TEST_F(WithFakeExtension, HandledEventsOpenAndCloseTheGuard) {
    FakeProfilerInfo info;
    CLRCallbacks* callbacks = startThenUseFake(info, m_fake, false);
    ASSERT_NE(callbacks, nullptr);
    cor::ObjectID objects[1] = {0x1000};
    cor::ULONG lengths[1] = {16};
    cor::BOOL collected[3] = {1, 0, 0};
    EXPECT_EQ(callbacks->ModuleLoadFinished(0x10, S_OK), S_OK);
    EXPECT_EQ(callbacks->JITCompilationStarted(0x20, 1), S_OK);
    EXPECT_EQ(callbacks->JITCompilationFinished(0x20, S_OK, 1), S_OK);
    EXPECT_EQ(callbacks->GarbageCollectionStarted(3, collected, 0), S_OK);
    EXPECT_EQ(callbacks->MovedReferences(1, objects, objects, lengths), S_OK);
    EXPECT_EQ(callbacks->SurvivingReferences(1, objects, lengths), S_OK);
    EXPECT_EQ(callbacks->GarbageCollectionFinished(), S_OK);
    EXPECT_EQ(m_fake.enters, 7);
    EXPECT_EQ(m_fake.leaves, 7);
    // Function unloads open no guard.
    EXPECT_EQ(callbacks->FunctionUnloadStarted(0x20), S_OK);
    EXPECT_EQ(m_fake.enters, 7);
    callbacks->Shutdown();
    callbacks->Release();
}

TEST_F(WithFakeExtension, GuardLeavesWithTheLevelItEnteredWith) {
    {
        RuntimeGuard guard;
        EXPECT_TRUE(guard.entered());
    }
    ASSERT_EQ(m_fake.leaveLevels.size(), 1u);
    EXPECT_EQ(m_fake.leaveLevels[0], 0x41u);
}

TEST_F(WithFakeExtension, GuardWhoseEnterFailsNeverLeaves) {
    m_fake.enterResult = vesk_er_not_done;
    {
        RuntimeGuard guard;
        EXPECT_FALSE(guard.entered());
    }
    EXPECT_EQ(m_fake.enters, 1);
    EXPECT_EQ(m_fake.leaves, 0);
}

TEST_F(WithFakeExtension, FailedLeaveEndsTheProcess) {
    m_fake.leaveResult = vesk_er_not_done;
    EXPECT_EXIT({ RuntimeGuard guard; }, testing::ExitedWithCode(3),
                "VESKMRTE1_ASSERT at:src/clrprof/vesk_prof_ext.cpp:[0-9]+ "
                "'m_ext->leave_runtime\\(m_ext, m_lvl\\) == vesk_er_success'");
}

TEST(Bridge, WithoutRecordEveryMemberYieldsZero) {
    vesk_profiling_extension* saved = VeskProfExt::instance().record();
    VeskProfExt::instance().useRecordForTesting(nullptr);
    VeskProfExt& ext = VeskProfExt::instance();
    EXPECT_EQ(ext.get_thread_data(), nullptr);
    EXPECT_FALSE(ext.release_thread_data());
    EXPECT_FALSE(ext.set_stack_walker(walkStack, nextFrame));
    EXPECT_FALSE(ext.is_code_known(0x1000));
    EXPECT_FALSE(ext.add_code_range(0x1000, 16));
    EXPECT_EQ(ext.get_timestamp(), 0u);
    EXPECT_EQ(ext.get_stack_walk_mode(), 0);
    {
        RuntimeGuard guard;
        EXPECT_FALSE(guard.entered());
    }
    VeskProfExt::instance().useRecordForTesting(saved);
}

TEST(Bridge, LoadFailsForMissingLibraryOrMissingEntryPoint) {
    EXPECT_FALSE(VeskProfExt::instance().load(nullptr));
    vesk_profiling_extension* saved = VeskProfExt::instance().record();
    EXPECT_FALSE(VeskProfExt::instance().load(VESK_W("/nonexistent/vesktool.so")));
    EXPECT_EQ(VeskProfExt::instance().record(), saved);
}
