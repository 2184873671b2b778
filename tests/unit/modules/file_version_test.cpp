// File versions: read from a real runtime's core library, kept per module
// record, and mapped to the runtime generation.
#include "clrprof/module.h"
#include "clrprof/result.h"
#include "clrprof/runtime_version.h"
#include "pal/pal.h"
#include "pal/pe_version.h"

#include <gtest/gtest.h>

#include <atomic>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace veskmrte_1_0;

namespace {

// The core library of the runtime the tests run beside; empty when none is
// installed.
std::string coreLibrary() {
    for (const char* root : {"/usr/share/dotnet/shared/Microsoft.NETCore.App",
                             "/usr/lib/dotnet/shared/Microsoft.NETCore.App"}) {
        DIR* d = opendir(root);
        if (d == nullptr) continue;
        std::string found;
        while (struct dirent* e = readdir(d)) {
            if (e->d_name[0] == '.') continue;
            std::string candidate = std::string(root) + "/" + e->d_name + "/System.Private.CoreLib.dll";
            if (std::ifstream(candidate).good()) found = candidate;
        }
        closedir(d);
        if (!found.empty()) return found;
    }
    return std::string();
}

// Cut or malformed images are the pe_version fuzz target's work.
TEST(PeVersion, TheCoreLibrarysVersionSharesItsDirectorysMajorNumber) {
    const std::string path = coreLibrary();
    if (path.empty()) GTEST_SKIP() << "no runtime installed";
    uint16_t full[4] = {0, 0, 0, 0};
    ASSERT_TRUE(pal::readFileVersion(vesk::fromUtf8(path), full));
    const std::string dir = path.substr(0, path.rfind('/'));
    EXPECT_EQ(full[0], std::stoi(dir.substr(dir.rfind('/') + 1)));
    uint16_t v[4];
    EXPECT_FALSE(pal::readFileVersion(VESK_W("/nonexistent/file.dll"), v));
    EXPECT_FALSE(pal::readFileVersion(VESK_W("/etc/hostname"), v));
}

TEST(ModuleFileVersion, KeptOnceReadAndNeverKeptFromAFailedRead) {
    const std::string path = ::testing::TempDir() + "file_version_test-" + std::to_string(getpid()) + ".dll";
    std::ofstream(path, std::ios::binary) << "MZ, but not a portable executable";
    Module broken(1, 0x10000, 0x1000, vesk::fromUtf8(path).c_str(), nullptr, nullptr, nullptr, 0, false);
    FileVersion version;
    EXPECT_EQ(broken.getFileVersion(version), meFailure);
    EXPECT_TRUE(version.isZero());

    const std::string library = coreLibrary();
    if (library.empty()) GTEST_SKIP() << "no runtime installed";
    std::filesystem::copy_file(library, path, std::filesystem::copy_options::overwrite_existing);
    uint16_t expected[4] = {0, 0, 0, 0};
    ASSERT_TRUE(pal::readFileVersion(vesk::fromUtf8(path), expected));
    EXPECT_EQ(broken.getFileVersion(version), meSuccess) << "nothing was kept from the failed read";
    Module module(2, 0x10000, 0x1000, vesk::fromUtf8(path).c_str(), nullptr, nullptr, nullptr, 0, false);
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;  // the first reads race to fill the record
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            FileVersion v;
            if (module.getFileVersion(v) != meSuccess || v.revision != expected[3] || v.major != expected[0]) ++wrong;
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);
    std::remove(path.c_str());
    FileVersion kept;
    EXPECT_EQ(module.getFileVersion(kept), meSuccess) << "answered from what was read, once the file is gone";
    EXPECT_EQ((std::vector<uint16_t>{expected[0], expected[1], expected[2], expected[3]}),
              (std::vector<uint16_t>{kept.major, kept.minor, kept.build, kept.revision}));
}

TEST(RuntimeVersion, EveryBoundaryOfTheTable) {
    struct Row {
        uint16_t major, minor, build, revision;
        uint32_t generation;
    };
    const Row rows[] = {
        {2, 0, 50727, 3052, mvMSCOR20},   {2, 0, 50727, 3053, mvMSCOR35SP1}, {3, 0, 4506, 29, mvMSCOR35SP1},
        {3, 0, 4506, 30, mvMSCOR20},      {3, 0, 4506, 2151, mvMSCOR20},     {3, 0, 4506, 2152, mvMSCOR35SP1},
        {3, 5, 21022, 7, mvMSCOR35SP1},   {3, 5, 21022, 8, mvMSCOR20},       {3, 5, 30729, 0, mvMSCOR20},
        {3, 5, 30729, 1, mvMSCOR35SP1},   {4, 0, 21006, 0, mvMSCOR35SP1},    {4, 0, 21006, 1, mvMSCOR40},
        {10, 0, 25, 52411, mvMSCOR40},
    };
    for (const Row& row : rows) {
        FileVersion v;
        v.major = row.major;
        v.minor = row.minor;
        v.build = row.build;
        v.revision = row.revision;
        EXPECT_EQ(classifyRuntimeVersion(v), row.generation) << row.major << "." << row.build << "." << row.revision;
    }
}

}  // namespace
