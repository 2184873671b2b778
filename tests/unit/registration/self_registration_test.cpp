// The profiler's registry entries: exactly the expected set, replaced rather
// than duplicated, removed without harm to others, and never left half made.

#include "clrprof/self_registration.h"
#include "child_process.h"
#include "pal/registry.h"
#include "temporary_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

namespace registration_test {
namespace {

using veskmrte_1_0::registerServer;
using veskmrte_1_0::unregisterServer;
typedef std::vector<std::string> Lines;

const char kClassId[] = "{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}";
const char kModule[] = "/opt/profiler/libclrprof.so";

std::string vip() { return std::string(".") + kClassId; }
std::string progId() { return vip() + ".1"; }
std::string classKey() { return std::string("CLSID\\") + kClassId; }

// Every entry a registration makes, apart from the CLSID key that holds them.
Lines registrationEntries(const std::string& module) {
    return {
        progId(),
        progId() + "\\CLSID",
        progId() + "\\CLSID (default) = " + kClassId,
        vip(),
        vip() + "\\CLSID",
        vip() + "\\CLSID (default) = " + kClassId,
        vip() + "\\CurVer",
        vip() + "\\CurVer (default) = " + progId(),
        classKey(),
        classKey() + "\\InprocServer32",
        classKey() + "\\InprocServer32 (default) = " + module,
        classKey() + "\\InprocServer32 ThreadingModel = Both",
        classKey() + "\\NotInsertable",
        classKey() + "\\ProgID",
        classKey() + "\\ProgID (default) = " + progId(),
        classKey() + "\\VersionIndependentProgID",
        classKey() + "\\VersionIndependentProgID (default) = " + vip(),
    };
}

Lines sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

Lines plus(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return sorted(a);
}

class SelfRegistration : public ::testing::Test {
protected:
    TemporaryStore store;
};

// Keys of others that share names or places with ours.
void addNeighbours() {
    ASSERT_TRUE(setKey("CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32", "", "/other/lib.so"));
    ASSERT_TRUE(setKey(progId() + "0", "", "a longer name with ours as its start"));
    ASSERT_TRUE(setKey(vip() + ".2\\CLSID", "", "another version"));
    ASSERT_TRUE(setKey("Other.ProgID\\CurVer", "", "Other.ProgID.1"));
}

TEST_F(SelfRegistration, WritesExactlyTheExpectedEntries) {
    EXPECT_EQ(cor::S_OK, registerServer(W(kModule)));
    EXPECT_EQ(plus({"CLSID"}, registrationEntries(kModule)), dumpStore());
}

TEST_F(SelfRegistration, RegisteringAgainLeavesOneSetOfEntries) {
    ASSERT_EQ(cor::S_OK, registerServer(W(kModule)));
    const Lines once = dumpStore();
    EXPECT_EQ(cor::S_OK, registerServer(W(kModule)));
    EXPECT_EQ(once, dumpStore());
}

TEST_F(SelfRegistration, RegisteringFromElsewhereMovesTheServer) {
    ASSERT_EQ(cor::S_OK, registerServer(W(kModule)));
    EXPECT_EQ(cor::S_OK, registerServer(W("/elsewhere/libclrprof.so")));
    EXPECT_EQ(plus({"CLSID"}, registrationEntries("/elsewhere/libclrprof.so")), dumpStore());
}

TEST_F(SelfRegistration, StaleValuesInOurKeysDoNotSurvive) {
    ASSERT_TRUE(setKey(classKey() + "\\InprocServer32", "ThreadingModel", "Apartment"));
    ASSERT_TRUE(setKey(classKey() + "\\InprocServer32", "Stale", "x"));
    ASSERT_TRUE(setKey(classKey(), "", "old description"));
    ASSERT_TRUE(setKey(vip() + "\\CurVer", "", vip() + ".0"));
    EXPECT_EQ(cor::S_OK, registerServer(W(kModule)));
    EXPECT_EQ(plus({"CLSID"}, registrationEntries(kModule)), dumpStore());
}

TEST_F(SelfRegistration, UnregisteringRemovesOurEntriesAndNothingElse) {
    addNeighbours();
    const Lines before = dumpStore();
    ASSERT_EQ(cor::S_OK, registerServer(W(kModule)));
    ASSERT_EQ(plus(before, registrationEntries(kModule)), dumpStore());
    EXPECT_EQ(cor::S_OK, unregisterServer());
    EXPECT_EQ(before, dumpStore());
}

TEST_F(SelfRegistration, UnregisteringAnEmptyStoreSucceedsAndWritesNothing) {
    EXPECT_EQ(cor::S_OK, unregisterServer());
    EXPECT_EQ(Lines(), dumpStore());
    EXPECT_FALSE(fileExists(store.path()));
}

TEST_F(SelfRegistration, UnregisteringGoesOnPastEntriesItCannotRemove) {
    ASSERT_EQ(cor::S_OK, registerServer(W(kModule)));
    ASSERT_TRUE(setKey(vip() + "\\CurVer\\Added by someone"));
    EXPECT_EQ(cor::S_OK, unregisterServer());
    EXPECT_EQ(sorted({"CLSID", vip(), vip() + "\\CurVer", vip() + "\\CurVer (default) = " + progId(),
                      vip() + "\\CurVer\\Added by someone"}),
              dumpStore());
}

TEST_F(SelfRegistration, UnregisteringGoesOnPastEntriesAlreadyGone) {
    ASSERT_EQ(cor::S_OK, registerServer(W(kModule)));
    ASSERT_EQ(pal::RegistryStatus::Ok, pal::registryDeleteKey(W(vip() + "\\CurVer")));
    ASSERT_EQ(pal::RegistryStatus::Ok, pal::registryDeleteKey(W(progId() + "\\CLSID")));
    EXPECT_EQ(cor::S_OK, unregisterServer());
    EXPECT_EQ(Lines({"CLSID"}), dumpStore());
}

TEST_F(SelfRegistration, AnEmptyModulePathIsRefusedAndChangesNothing) {
    ASSERT_EQ(cor::S_OK, registerServer(W(kModule)));
    const Lines before = dumpStore();
    const std::string bytes = readFile(store.path());
    EXPECT_EQ(cor::E_FAIL, registerServer(vesk::WString()));
    EXPECT_EQ(before, dumpStore());
    EXPECT_EQ(bytes, readFile(store.path()));
}

TEST_F(SelfRegistration, AStoreThatCannotExistGivesFailure) {
    writeFile(store.directory() + "/file", "");
    ScopedEnv beneathAFile("VESKMRTE_REGISTRY", (store.directory() + "/file/registry.json").c_str());
    EXPECT_EQ(cor::E_FAIL, registerServer(W(kModule)));
    EXPECT_EQ(cor::S_OK, unregisterServer());
}

TEST_F(SelfRegistration, ACorruptStoreGivesFailureAndIsLeftAsItIs) {
    writeFile(store.path(), "{\"format\": \"veskmrte-registry\", \"version\": 1, \"keys\": {");
    EXPECT_EQ(cor::E_FAIL, registerServer(W(kModule)));
    EXPECT_EQ(cor::S_OK, unregisterServer());
    EXPECT_EQ("{\"format\": \"veskmrte-registry\", \"version\": 1, \"keys\": {", readFile(store.path()));
}

TEST_F(SelfRegistration, AReadOnlyStoreGivesFailureAndKeepsTheOldRegistration) {
    addNeighbours();
    ASSERT_EQ(cor::S_OK, registerServer(W(kModule)));
    const Lines before = dumpStore();
    int outcome = runWithReadOnlyDirectory(
        store.directory(), [] { return registerServer(W("/elsewhere/libclrprof.so")) == cor::E_FAIL ? 0 : 1; });
    if (outcome == kNoUnprivilegedChild) GTEST_SKIP() << "no way to run without privileges";
    EXPECT_EQ(0, outcome);
    EXPECT_EQ(before, dumpStore());
}

TEST_F(SelfRegistration, AStoreThatFillsUpPartWayLeavesNoPartialEntries) {
    addNeighbours();
    const Lines neighbours = dumpStore();
    const std::string seed = readFile(store.path());
    ASSERT_EQ(cor::S_OK, registerServer(W(kModule)));
    const size_t full = readFile(store.path()).size();

    const int kFailed = 10, kSucceeded = 11;
    int failures = 0;
    // About two dozen cut-off points from nothing written to everything.
    const size_t step = std::max<size_t>(1, (full - seed.size()) / 24);
    for (size_t limit = seed.size(); limit <= full; limit += step) {
        writeFile(store.path(), seed);
        int outcome = runInChild([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit rl{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
            if (setrlimit(RLIMIT_FSIZE, &rl) != 0) return 1;
            cor::HRESULT hr = registerServer(W(kModule));
            return hr == cor::E_FAIL ? kFailed : hr == cor::S_OK ? kSucceeded : 2;
        });
        ASSERT_TRUE(outcome == kFailed || outcome == kSucceeded) << "limit " << limit << ": " << outcome;
        Lines dump = dumpStore();
        if (outcome == kFailed) {
            ++failures;
            EXPECT_EQ(neighbours, dump) << "limit " << limit;
        } else {
            // Success may only be claimed with every key in place.
            for (const std::string& entry : registrationEntries(kModule)) {
                if (entry.find(" = ") != std::string::npos) continue;
                EXPECT_TRUE(std::find(dump.begin(), dump.end(), entry) != dump.end())
                    << "limit " << limit << ": " << entry;
            }
        }
    }
    EXPECT_GT(failures, 5);
}

}  // namespace
}  // namespace registration_test
