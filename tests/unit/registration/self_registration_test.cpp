// The profiler's registry entries: exactly the expected set, replaced rather
// than duplicated, removed without harm to others' keys, never left half made.
#include "clrprof/self_registration.h"
#include "registry_test_support.h"

namespace registration_test {
namespace {

using veskmrte_1_0::registerServer;
using veskmrte_1_0::unregisterServer;

const std::string kClassId = "{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}";
const std::string kVip = "." + kClassId, kProgId = kVip + ".1", kClassKey = "CLSID\\" + kClassId;

Lines sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Lines storeWith(const Lines& others, const std::string& module) {
    Lines all = {kProgId, kProgId + "\\CLSID", kProgId + "\\CLSID (default) = " + kClassId,
                 kVip, kVip + "\\CLSID", kVip + "\\CLSID (default) = " + kClassId,
                 kVip + "\\CurVer", kVip + "\\CurVer (default) = " + kProgId,
                 kClassKey, kClassKey + "\\InprocServer32", kClassKey + "\\InprocServer32 (default) = " + module,
                 kClassKey + "\\InprocServer32 ThreadingModel = Both", kClassKey + "\\NotInsertable",
                 kClassKey + "\\ProgID", kClassKey + "\\ProgID (default) = " + kProgId,
                 kClassKey + "\\VersionIndependentProgID", kClassKey + "\\VersionIndependentProgID (default) = " + kVip};
    return sorted(all + others);
}

// Keys of others that share names or places with ours.
void addNeighbours() {
    ASSERT_TRUE(setKey("CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32", "", "/other/lib.so"));
    ASSERT_TRUE(setKey(kProgId + "0", "", "a longer name starting with ours"));
    ASSERT_TRUE(setKey(kVip + ".2\\CLSID", "", "another version"));
}

TEST(SelfRegistration, ReplacesStaleEntriesAndUnregisteringLeavesOnlyOthers) {
    TemporaryStore store;
    addNeighbours();
    const Lines neighbours = sorted(dumpStore());
    ASSERT_TRUE(setKey(kClassKey + "\\InprocServer32", "ThreadingModel", "Apartment"));
    ASSERT_TRUE(setKey(kClassKey + "\\InprocServer32", "Stale", "x"));
    ASSERT_TRUE(setKey(kVip + "\\CurVer", "", kVip + ".0"));
    EXPECT_EQ(cor::S_OK, registerServer(W("/opt/p/libclrprof.so")));
    EXPECT_EQ(storeWith(neighbours, "/opt/p/libclrprof.so"), sorted(dumpStore()));
    EXPECT_EQ(cor::S_OK, registerServer(W("/elsewhere/libclrprof.so")));
    EXPECT_EQ(storeWith(neighbours, "/elsewhere/libclrprof.so"), sorted(dumpStore()));
    EXPECT_EQ(cor::S_OK, unregisterServer());
    EXPECT_EQ(neighbours, sorted(dumpStore()));
    // Unregistering goes on past entries already gone and keys others added.
    ASSERT_EQ(cor::S_OK, registerServer(W("/p.so")));
    ASSERT_TRUE(setKey(kVip + "\\CurVer\\Added"));
    ASSERT_EQ(pal::RegistryStatus::Ok, pal::registryDeleteKey(W(kProgId + "\\CLSID")));
    EXPECT_EQ(cor::S_OK, unregisterServer());
    EXPECT_EQ(sorted(neighbours + Lines{kVip, kVip + "\\CurVer", kVip + "\\CurVer (default) = " + kProgId,
                                        kVip + "\\CurVer\\Added"}), sorted(dumpStore()));
}

TEST(SelfRegistration, RefusesAnEmptyPathAndLeavesTheOldRegistration) {
    TemporaryStore store;
    ASSERT_EQ(cor::S_OK, registerServer(W("/p.so")));
    const std::string registered = readFile(store.path());
    EXPECT_EQ(cor::E_FAIL, registerServer(vesk::WString()));  // an entry without a server is of no use
    EXPECT_EQ(registered, readFile(store.path()));
}

TEST(SelfRegistration, AStoreThatFillsUpPartWayLeavesNoPartialEntries) {
    TemporaryStore store;
    addNeighbours();
    const Lines neighbours = sorted(dumpStore());
    const std::string seed = readFile(store.path());
    ASSERT_EQ(cor::S_OK, registerServer(W("/p.so")));
    const size_t full = readFile(store.path()).size();
    int failures = 0;
    // About two dozen cut-off points, from nothing written to everything.
    for (size_t limit = seed.size(); limit <= full; limit += std::max<size_t>(1, (full - seed.size()) / 24)) {
        writeFile(store.path(), seed);
        const int outcome = runWithFileLimit(limit, [] {
            const cor::HRESULT hr = registerServer(W("/p.so"));
            return hr == cor::E_FAIL ? 10 : hr == cor::S_OK ? 11 : 2;
        });
        ASSERT_TRUE(outcome == 10 || outcome == 11) << "limit " << limit << ": " << outcome;
        failures += outcome == 10;
        const Lines now = sorted(dumpStore());
        EXPECT_TRUE(outcome == 11 || now == neighbours) << limit;
        // Success may only be claimed with every key in place.
        for (const std::string& line : storeWith(neighbours, "/p.so"))
            EXPECT_TRUE(outcome == 10 || line.find(" = ") != std::string::npos ||
                        std::binary_search(now.begin(), now.end(), line)) << limit << ": " << line;
    }
    EXPECT_GT(failures, 5);
}

}  // namespace
}  // namespace registration_test
