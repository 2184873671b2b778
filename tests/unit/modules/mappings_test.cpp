// The process's mappings as the platform layer answers them, checked against
// the kernel's own text of /proc/self/maps.
#include "pal/mappings_linux.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

using pal::mappings::Mapping;

std::vector<Mapping> fromText() {
    std::ifstream in("/proc/self/maps");
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    return pal::mappings::parse(s.data(), s.size());
}

TEST(Mappings, EveryFileMappingIsAnsweredAsTheKernelPrintsIt) {
    size_t files = 0;
    for (const Mapping& listed : fromText()) {
        if (!listed.isFile()) continue;
        ++files;
        for (uintptr_t address : {listed.start, listed.end - 1}) {
            Mapping answered;
            ASSERT_TRUE(pal::mappings::at(address, false, answered)) << listed.path;
            EXPECT_EQ(answered.start, listed.start) << listed.path;
            EXPECT_EQ(answered.end, listed.end) << listed.path;
            EXPECT_EQ(answered.path, listed.path);
            EXPECT_EQ(answered.executable, listed.executable) << listed.path;
        }
    }
    EXPECT_GT(files, 3u);
}

TEST(Mappings, TextFieldsAndOddLinesParse) {
    const std::string text =
        "7f00a000-7f00c000 r-xp 00001000 fe:00 42                         /usr/lib/with two  spaces.so\n"
        "7f00c000-7f00d000 rw-p 00000000 00:00 0 \n"
        "7f00d000-7f00e000 r--s 00000000 fe:00 43                         /tmp/gone.dll (deleted)\n"
        "not a mapping line\n"
        "7f00e000-7f00e000 r--p 00000000 00:00 0                          [empty]\n"
        "7ffd0000-7ffd1000 rw-p 00000000 00:00 0                          [stack]";
    const std::vector<Mapping> maps = pal::mappings::parse(text.data(), text.size());
    ASSERT_EQ(maps.size(), 4u);
    EXPECT_EQ(maps[0].start, 0x7f00a000u);
    EXPECT_EQ(maps[0].end, 0x7f00c000u);
    EXPECT_TRUE(maps[0].executable);
    EXPECT_EQ(maps[0].path, "/usr/lib/with two  spaces.so");
    EXPECT_FALSE(maps[1].executable);
    EXPECT_EQ(maps[1].path, "");
    EXPECT_FALSE(maps[1].isFile());
    EXPECT_EQ(maps[2].path, "/tmp/gone.dll (deleted)");
    EXPECT_EQ(maps[3].path, "[stack]");
    EXPECT_FALSE(maps[3].isFile());
}

}  // namespace
