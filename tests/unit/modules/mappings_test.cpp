// The process's mappings as the platform layer answers them, checked against
// the kernel's own text of /proc/self/maps.
#include "pal/mappings_linux.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
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

// Two scratch files mapped inside one reservation, the way the runtime maps
// an image's sections:
//   page 0     A, offset 0
//   page 1     reserved, nothing mapped
//   pages 2-3  A, offset 2 pages
//   page 4     reserved
//   page 5     B
//   pages 6-7  reserved
class ImageLayout : public ::testing::Test {
protected:
    void SetUp() override {
        m_page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        m_pathA = scratchFile(4);
        m_pathB = scratchFile(1);
        void* reserved = mmap(nullptr, 8 * m_page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(reserved, MAP_FAILED);
        m_base = reinterpret_cast<uintptr_t>(reserved);
        mapAt(0, m_pathA, 0, 1);
        mapAt(2, m_pathA, 2, 2);
        mapAt(5, m_pathB, 0, 1);
    }
    void TearDown() override {
        if (m_base != 0) munmap(reinterpret_cast<void*>(m_base), 8 * m_page);
        for (const std::string& path : {m_pathA, m_pathB})
            if (!path.empty()) unlink(path.c_str());
    }

    std::string scratchFile(size_t pages) {
        char name[] = "/tmp/mappings-test-XXXXXX";
        int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(ftruncate(fd, static_cast<off_t>(pages * m_page)), 0);
        close(fd);
        return name;
    }
    void mapAt(size_t page, const std::string& path, size_t filePage, size_t pages) {
        int fd = open(path.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        void* at = mmap(reinterpret_cast<void*>(m_base + page * m_page), pages * m_page, PROT_READ,
                        MAP_PRIVATE | MAP_FIXED, fd, static_cast<off_t>(filePage * m_page));
        close(fd);
        ASSERT_NE(at, MAP_FAILED);
    }
    uintptr_t page(size_t n) const { return m_base + n * m_page; }

    size_t m_page = 0;
    uintptr_t m_base = 0;
    std::string m_pathA;
    std::string m_pathB;
};

TEST_F(ImageLayout, ImageRunsOverReservationsUntilAnotherFileFromTheKernelAndFromTheText) {
    struct Case {
        uintptr_t address;
        bool found;
        uintptr_t start;
        uintptr_t end;
        std::string path;
    };
    const Case cases[] = {
        {page(0), true, page(0), page(4), m_pathA},
        {page(0) + 17, true, page(0), page(4), m_pathA},
        {page(5), true, page(5), page(6), m_pathB},
        {page(1), false, 0, 0, ""},
        {page(7), false, 0, 0, ""},
    };
    const std::vector<Mapping> text = fromText();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address - m_base);
        Mapping live;
        Mapping listed;
        ASSERT_EQ(pal::mappings::imageAt(c.address, live), c.found);
        ASSERT_EQ(pal::mappings::imageIn(text, c.address, listed), c.found);
        if (!c.found) continue;
        for (const Mapping* image : {&live, &listed}) {
            EXPECT_EQ(image->start, c.start);
            EXPECT_EQ(image->end, c.end);
            EXPECT_EQ(image->path, c.path);
        }
    }
}

}  // namespace
