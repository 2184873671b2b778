// The store file on Linux: where it is, what is in it, and that nothing in it
// is lost to a failed write, a corrupt file or concurrent writers.

#include "child_process.h"
#include "pal/registry.h"
#include "temporary_store.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace registration_test {
namespace {

using pal::RegistryStatus;
typedef std::vector<std::string> Lines;

class RegistryStoreFile : public ::testing::Test {
protected:
    TemporaryStore store;
};

// Runs body in a child whose files cannot grow beyond limit bytes, as on a
// full disk; the child reports whether body returned expected.
bool failsWhenFilesAreLimitedTo(size_t limit, RegistryStatus expected, const std::function<RegistryStatus()>& body) {
    return runInChild([&] {
               std::signal(SIGXFSZ, SIG_IGN);
               rlimit rl{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
               if (setrlimit(RLIMIT_FSIZE, &rl) != 0) return 2;
               return body() == expected ? 0 : 1;
           }) == 0;
}

TEST_F(RegistryStoreFile, IsJsonThatOtherToolsCanRead) {
    ASSERT_TRUE(setKey("CLSID\\{X}\\InprocServer32", "", "/lib/x.so"));
    ASSERT_TRUE(setKey("CLSID\\{X}\\InprocServer32", "ThreadingModel", "Both"));
    nlohmann::json doc = nlohmann::json::parse(readFile(store.path()));
    const nlohmann::json& server = doc["keys"]["CLSID"]["keys"]["{X}"]["keys"]["InprocServer32"];
    EXPECT_EQ("/lib/x.so", server["default"]);
    EXPECT_EQ("Both", server["values"]["ThreadingModel"]);
}

TEST_F(RegistryStoreFile, AFailedWriteLeavesTheOldStoreWholeAndNoTemporaryFile) {
    ASSERT_TRUE(setKey("Existing", "Name", "data"));
    const std::string before = readFile(store.path());
    const Lines entries = directoryEntries(store.directory());

    EXPECT_TRUE(failsWhenFilesAreLimitedTo(before.size(), RegistryStatus::StoreUnwritable, [] {
        pal::RegistryKey key = nullptr;
        return pal::registryCreateKey(W("A much longer key name than the store has room for"), key);
    }));
    EXPECT_EQ(before, readFile(store.path()));
    EXPECT_EQ(entries, directoryEntries(store.directory()));
    EXPECT_EQ(Lines({"Existing", "Existing Name = data"}), dumpStore());
}

TEST_F(RegistryStoreFile, CreateFailsWhenTheStoreCannotExist) {
    writeFile(store.directory() + "/file", "");
    ScopedEnv beneathAFile("VESKMRTE_REGISTRY", (store.directory() + "/file/registry.json").c_str());
    pal::RegistryKey key = nullptr;
    EXPECT_EQ(RegistryStatus::StoreUnwritable, pal::registryCreateKey(W("A"), key));
    EXPECT_EQ(nullptr, key);
    EXPECT_NE(std::string::npos, pal::registryLastError().find(store.directory() + "/file/registry.json"));
}

TEST_F(RegistryStoreFile, CreateFailsInAReadOnlyDirectoryEvenForAnExistingKey) {
    ASSERT_TRUE(setKey("Existing"));
    const std::string before = readFile(store.path());
    int outcome = runWithReadOnlyDirectory(store.directory(), [] {
        pal::RegistryKey key = nullptr;
        bool refused = pal::registryCreateKey(W("New"), key) == RegistryStatus::StoreUnwritable &&
                       pal::registryCreateKey(W("Existing"), key) == RegistryStatus::StoreUnwritable && key == nullptr;
        return refused ? 0 : 1;
    });
    if (outcome == kNoUnprivilegedChild) GTEST_SKIP() << "no way to run without privileges";
    EXPECT_EQ(0, outcome);
    EXPECT_EQ(before, readFile(store.path()));
}

struct CorruptStore {
    const char* what;
    std::string content;
};

void PrintTo(const CorruptStore& store, std::ostream* os) { *os << store.what; }

class CorruptStoreFile : public ::testing::TestWithParam<CorruptStore> {
protected:
    TemporaryStore store;
};

TEST_P(CorruptStoreFile, IsRefusedToWritersAndLeftAsItIs) {
    writeFile(store.path(), GetParam().content);
    pal::RegistryKey key = nullptr;
    EXPECT_EQ(RegistryStatus::StoreCorrupt, pal::registryCreateKey(W("A"), key));
    EXPECT_EQ(nullptr, key);
    EXPECT_NE(std::string::npos, pal::registryLastError().find(store.path()));
    EXPECT_EQ(RegistryStatus::StoreCorrupt, pal::registryDeleteKey(W("Kept")));
    EXPECT_EQ(GetParam().content, readFile(store.path()));
}

TEST_P(CorruptStoreFile, HoldsNoKeysForReadersWhoAreToldWhy) {
    writeFile(store.path(), GetParam().content);
    std::vector<vesk::WString> names;
    EXPECT_EQ(RegistryStatus::StoreCorrupt, pal::registryEnumKeys(vesk::WString(), names));
    EXPECT_TRUE(names.empty());
    EXPECT_NE(std::string::npos, pal::registryLastError().find(store.path()));
    std::vector<pal::RegistryValue> values;
    EXPECT_EQ(RegistryStatus::StoreCorrupt, pal::registryEnumValues(W("Kept"), values));
    EXPECT_TRUE(values.empty());
}

const char kValidStore[] = R"({"format": "veskmrte-registry", "version": 1, "keys": {"Kept": {"default": "x"}}})";

INSTANTIATE_TEST_SUITE_P(
    Contents, CorruptStoreFile,
    ::testing::Values(
        CorruptStore{"Empty", ""}, CorruptStore{"NotJson", "not json at all"},
        CorruptStore{"Truncated", std::string(kValidStore).substr(0, sizeof kValidStore / 2)},
        CorruptStore{"NotOurs", R"({"keys": {"Kept": {}}})"},
        CorruptStore{"LaterVersion", R"({"format": "veskmrte-registry", "version": 2, "keys": {"Kept": {}}})"},
        CorruptStore{"UnknownMember",
                     R"({"format": "veskmrte-registry", "version": 1, "keys": {"Kept": {"colour": "red"}}})"},
        CorruptStore{"ValueNotText",
                     R"({"format": "veskmrte-registry", "version": 1, "keys": {"Kept": {"default": 1}}})"},
        CorruptStore{"NamesDifferingOnlyInCase",
                     R"({"format": "veskmrte-registry", "version": 1, "keys": {"Kept": {}, "KEPT": {}}})"},
        CorruptStore{"KeyNameWithSeparator",
                     R"({"format": "veskmrte-registry", "version": 1, "keys": {"Ke\\pt": {}}})"},
        CorruptStore{"KeysNotAnObject", R"({"format": "veskmrte-registry", "version": 1, "keys": ["Kept"]})"},
        CorruptStore{"InvalidUtf8", std::string(R"({"format": "veskmrte-registry", "version": 1, "keys": {"K)") +
                                        "\xff" + R"(": {}}})"}),
    [](const ::testing::TestParamInfo<CorruptStore>& info) { return std::string(info.param.what); });

TEST_F(RegistryStoreFile, AValidStoreWrittenByHandIsAccepted) {
    writeFile(store.path(), kValidStore);
    ASSERT_TRUE(setKey("Kept\\Child"));
    EXPECT_EQ(Lines({"Kept", "Kept (default) = x", "Kept\\Child"}), dumpStore());
}

TEST_F(RegistryStoreFile, AStoreThatCannotBeReadIsAnErrorForReaders) {
    ASSERT_EQ(0, mkdir(store.path().c_str(), 0700));
    std::vector<vesk::WString> names;
    EXPECT_EQ(RegistryStatus::StoreUnreadable, pal::registryEnumKeys(vesk::WString(), names));
    EXPECT_NE(std::string::npos, pal::registryLastError().find(store.path()));
    pal::RegistryKey key = nullptr;
    EXPECT_NE(RegistryStatus::Ok, pal::registryCreateKey(W("A"), key));
}

TEST_F(RegistryStoreFile, KeepsThePermissionsItWasGiven) {
    ASSERT_TRUE(setKey("A"));
    ASSERT_EQ(0, chmod(store.path().c_str(), 0600));
    ASSERT_TRUE(setKey("B"));
    struct stat info;
    ASSERT_EQ(0, stat(store.path().c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 0777u);
}

TEST_F(RegistryStoreFile, ConcurrentWritersLoseNoChange) {
    const int kWriters = 4;
    const int kKeysEach = 12;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        std::fflush(nullptr);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int k = 0; k < kKeysEach; ++k) {
                std::string name = "Writer" + std::to_string(w) + "\\Key" + std::to_string(k);
                ok = setKey(name, "Value", std::to_string(k)) && ok;
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Lines dump = dumpStore();
    EXPECT_EQ(static_cast<size_t>(kWriters * (1 + 2 * kKeysEach)), dump.size());
    for (int w = 0; w < kWriters; ++w) {
        for (int k = 0; k < kKeysEach; ++k) {
            std::string line =
                "Writer" + std::to_string(w) + "\\Key" + std::to_string(k) + " Value = " + std::to_string(k);
            EXPECT_TRUE(std::find(dump.begin(), dump.end(), line) != dump.end()) << line;
        }
    }
}

class RegistryStoreLocation : public ::testing::Test {
protected:
    TemporaryStore scratch;  // a place for the homes below; its store is not used
    ScopedEnv noExplicitStore{"VESKMRTE_REGISTRY", nullptr};
};

TEST_F(RegistryStoreLocation, DefaultsToTheConfigDirectoryAndCreatesIt) {
    const std::string config = scratch.directory() + "/config/nested";
    ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
    EXPECT_EQ(config + "/veskmrte/registry.json", pal::registryLocation());
    ASSERT_TRUE(setKey("A"));
    EXPECT_TRUE(fileExists(config + "/veskmrte/registry.json"));
}

TEST_F(RegistryStoreLocation, FallsBackToDotConfigInHome) {
    const std::string home = scratch.directory() + "/home";
    ScopedEnv homeEnv("HOME", home.c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(home + "/.config/veskmrte/registry.json", pal::registryLocation());
    ASSERT_TRUE(setKey("A"));
    EXPECT_TRUE(fileExists(home + "/.config/veskmrte/registry.json"));
}

TEST_F(RegistryStoreLocation, IgnoresARelativeConfigDirectoryAndAnEmptyStoreVariable) {
    const std::string home = scratch.directory() + "/home";
    ScopedEnv homeEnv("HOME", home.c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/config");
    ScopedEnv empty("VESKMRTE_REGISTRY", "");
    EXPECT_EQ(home + "/.config/veskmrte/registry.json", pal::registryLocation());
}

TEST_F(RegistryStoreLocation, ReadersCreateNothing) {
    const std::string home = scratch.directory() + "/home";
    ScopedEnv homeEnv("HOME", home.c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    std::vector<vesk::WString> names;
    EXPECT_EQ(RegistryStatus::Ok, pal::registryEnumKeys(vesk::WString(), names));
    EXPECT_EQ(RegistryStatus::NotFound, pal::registryDeleteKey(W("A")));
    EXPECT_FALSE(fileExists(home));
}

TEST_F(RegistryStoreLocation, AnExplicitStoreGetsNoDirectoryCreatedForIt) {
    const std::string missing = scratch.directory() + "/missing/registry.json";
    ScopedEnv explicitStore("VESKMRTE_REGISTRY", missing.c_str());
    pal::RegistryKey key = nullptr;
    EXPECT_EQ(RegistryStatus::StoreUnwritable, pal::registryCreateKey(W("A"), key));
    EXPECT_FALSE(fileExists(scratch.directory() + "/missing"));
}

}  // namespace
}  // namespace registration_test
