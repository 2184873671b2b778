// The store file on Linux: nothing in it is lost to a failed write, a foreign
// file or concurrent writers.
#include "registry_test_support.h"

#include <atomic>
#include <thread>

#include <sys/stat.h>

namespace registration_test {
namespace {

using pal::RegistryStatus;

TEST(RegistryStore, AWriteReplacesItWholeOrNotAtAllAndKeepsItsPermissions) {
    TemporaryStore store;
    ASSERT_TRUE(setKey("Existing", "Name", "data"));
    ASSERT_EQ(0, chmod(store.path().c_str(), 0640));
    const std::string before = readFile(store.path());
    auto entries = [&] { return std::distance(std::filesystem::directory_iterator(store.dir), {}); };
    const auto entriesBefore = entries();
    EXPECT_EQ(0, runWithFileLimit(before.size(), [] {
        pal::RegistryKey key = nullptr;
        return pal::registryCreateKey(W("A longer key name than the disk has room for"), key) ==
                       RegistryStatus::StoreUnwritable ? 0 : 1;
    }));
    EXPECT_EQ(before, readFile(store.path()));
    EXPECT_EQ(entriesBefore, entries());  // no temporary file left
    ASSERT_TRUE(setKey("B"));
    struct stat info;
    ASSERT_EQ(0, stat(store.path().c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 0777u);
}

TEST(RegistryStore, ConcurrentWritersLoseNoChange) {
    TemporaryStore store;
    std::atomic<int> failures(0);
    std::vector<std::thread> writers;  // each locking the store as a process of its own does
    for (int w = 0; w < 4; ++w)
        writers.emplace_back([w, &failures] {
            for (int k = 0; k < 12; ++k) failures += !setKey("W" + std::to_string(w) + "\\K" + std::to_string(k), "V", "x");
        });
    for (std::thread& t : writers) t.join();
    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(4u * (1 + 2 * 12), dumpStore().size());  // every key, with its value
}

// A file that is not a store of ours is refused to writers and left as it
// is; readers find no keys in it and are told why.
struct Foreign {
    const char* what;
    std::string content;
};

const std::string kValid = R"({"format": "veskmrte-registry", "version": 1, "keys": {"Kept": {"default": "x"}}})";
std::string store(const std::string& keys) { return R"({"format": "veskmrte-registry", "version": 1, "keys": )" + keys + "}"; }

const Foreign kForeign[] = {
    {"empty", ""},
    {"not JSON", "not json at all"},
    {"cut off", kValid.substr(0, kValid.size() / 2)},
    {"another program's JSON", R"({"keys": {"Kept": {}}})"},
    {"a later version", R"({"format": "veskmrte-registry", "version": 2, "keys": {"Kept": {}}})"},
    {"an unknown member", store(R"({"Kept": {"colour": "red"}})")},
    {"a value that is not text", store(R"({"Kept": {"default": 1}})")},
    {"names differing only in case", store(R"({"Kept": {}, "KEPT": {}})")},
    {"a key name with a separator", store(R"({"Ke\\pt": {}})")},
    {"invalid UTF-8", store("{\"K\xff\": {}}")},
};

class RegistryForeignStore : public ::testing::TestWithParam<Foreign> {
protected:
    TemporaryStore store;
};

TEST_P(RegistryForeignStore, IsRefusedAndLeftAsItIs) {
    writeFile(store.path(), GetParam().content);
    pal::RegistryKey key = nullptr;
    EXPECT_EQ(RegistryStatus::StoreCorrupt, pal::registryCreateKey(W("A"), key));
    EXPECT_EQ(nullptr, key);
    EXPECT_NE(std::string::npos, pal::registryLastError().find(store.path()));
    EXPECT_EQ(RegistryStatus::StoreCorrupt, pal::registryDeleteKey(W("Kept")));
    EXPECT_EQ(Lines({"! the registry store is corrupt"}), dumpStore());
    EXPECT_EQ(GetParam().content, readFile(store.path()));
}

INSTANTIATE_TEST_SUITE_P(Registry, RegistryForeignStore, ::testing::ValuesIn(kForeign),
                         [](const ::testing::TestParamInfo<Foreign>& info) { return std::to_string(info.index); });

TEST(RegistryStore, AStoreWrittenByHandIsAccepted) {
    TemporaryStore store;
    writeFile(store.path(), kValid);
    ASSERT_TRUE(setKey("Kept\\Child"));
    EXPECT_EQ(Lines({"Kept", "Kept (default) = x", "Kept\\Child"}), dumpStore());
}

}  // namespace
}  // namespace registration_test
