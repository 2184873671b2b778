#include "pal/pal.h"
#include "pal/pe_version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The core library of the runtime the tests run beside: an independent PE
// file with a version resource.
std::string coreLibrary() {
    const char* roots[] = {"/usr/share/dotnet/shared/Microsoft.NETCore.App", "/usr/lib/dotnet/shared/Microsoft.NETCore.App"};
    for (const char* root : roots) {
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

}  // namespace

TEST(PeVersion, ReadsTheCoreLibrarysFileVersion) {
    std::string path = coreLibrary();
    if (path.empty()) GTEST_SKIP() << "no runtime installed";
    uint16_t v[4] = {0, 0, 0, 0};
    ASSERT_TRUE(pal::readFileVersion(vesk::fromUtf8(path), v));
    // The runtime directory is named after its product version, whose major
    // number the file version shares.
    std::string dir = path.substr(0, path.rfind('/'));
    std::string product = dir.substr(dir.rfind('/') + 1);
    EXPECT_EQ(v[0], std::stoi(product.substr(0, product.find('.'))));
    EXPECT_GE(v[0], 8);
}

TEST(PeVersion, EveryTruncationOfARealFileFailsCleanly) {
    std::string path = coreLibrary();
    if (path.empty()) GTEST_SKIP() << "no runtime installed";
    std::vector<uint8_t> image = readAll(path);
    uint16_t full[4];
    ASSERT_TRUE(pal::peFileVersion(image.data(), image.size(), full));
    // Cutting the file anywhere before its resource must fail, never read
    // past the cut (the sanitizer build watches the copies).
    for (size_t cut = 0; cut < image.size(); cut += image.size() / 41 + 1) {
        std::vector<uint8_t> part(image.begin(), image.begin() + cut);
        uint16_t v[4] = {0, 0, 0, 0};
        if (pal::peFileVersion(part.data(), part.size(), v)) {
            EXPECT_EQ(std::memcmp(v, full, sizeof v), 0);
        }
    }
}

TEST(PeVersion, NonPeInputAndMissingFilesFail) {
    uint16_t v[4];
    const uint8_t text[] = "MZ but nothing else";
    EXPECT_FALSE(pal::peFileVersion(text, sizeof text, v));
    EXPECT_FALSE(pal::peFileVersion(nullptr, 0, v));
    EXPECT_FALSE(pal::readFileVersion(VESK_W("/nonexistent/file.dll"), v));
    EXPECT_FALSE(pal::readFileVersion(VESK_W("/etc/hostname"), v));
}
