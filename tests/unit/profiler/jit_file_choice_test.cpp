// The profiler's choice of JIT file when another user planted links at the
// names it would pick: each is passed over untouched for the next name.
#include "brisel/jit_file_name_generator.h"
#include "clrprof/jit_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The name the generator gives for sequence number n, from one it gave.
std::string nameWithSequence(const std::string& given, unsigned n) {
    std::string stem = given.substr(0, given.size() - 4);  // without ".jit"
    size_t dash = stem.rfind('-');
    // Only the stamp before the sequence ends with 'Z'.
    if (stem[dash - 1] == 'Z') stem.erase(dash);
    return stem + "-" + std::to_string(n) + ".jit";
}

unsigned sequenceOf(const std::string& given) {
    std::string stem = given.substr(0, given.size() - 4);
    size_t dash = stem.rfind('-');
    return stem[dash - 1] == 'Z' ? static_cast<unsigned>(std::stoul(stem.substr(dash + 1))) : 1u;
}

TEST(JitFileChoice, TakenNamesArePassedOverAndLeftAlone) {
    char dirTemplate[] = "/tmp/veskmrte-choice-XXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    const std::string dir = dirTemplate;
    ASSERT_EQ(setenv("VESKMRTE_JIT_DIR", dir.c_str(), 1), 0);
    const std::string target = dir + "/precious";
    { std::ofstream(target) << "keep"; }

    std::string probe;
    {
        auto generator = brisel_1_0::IJitFileNameGenerator::create(nullptr);
        ASSERT_TRUE(generator);
        probe = vesk::toUtf8(generator->fileName(), vesk::wideLength(generator->fileName()));
    }
    const unsigned next = sequenceOf(probe) + 1;
    for (unsigned n = next; n < next + 3; ++n)
        ASSERT_EQ(symlink(target.c_str(), nameWithSequence(probe, n).c_str()), 0);

    veskmrte_1_0::JITWriter& writer = veskmrte_1_0::JITWriter::instance();
    ASSERT_TRUE(veskmrte_1_0::initJitWriter());
    EXPECT_EQ(vesk::toUtf8(writer.fileName()), nameWithSequence(probe, next + 3));
    writer.close();

    EXPECT_EQ(readAll(target), "keep");
    for (unsigned n = next; n < next + 3; ++n) {
        struct stat info;
        ASSERT_EQ(lstat(nameWithSequence(probe, n).c_str(), &info), 0);
        EXPECT_TRUE(S_ISLNK(info.st_mode));
        unlink(nameWithSequence(probe, n).c_str());
    }
    unlink(nameWithSequence(probe, next + 3).c_str());
    unlink(target.c_str());
    rmdir(dir.c_str());
    unsetenv("VESKMRTE_JIT_DIR");
}

}  // namespace
