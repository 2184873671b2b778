// Where the JIT file-name generator puts files; no two generators of a
// process share a name.
#include "jit_test_support.h"

#include "brisel/jit_file_name_generator.h"
#include "common/utf16.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <unistd.h>

namespace jittest {
namespace {

TEST(JitFileNameGenerator, PutsNamesWhereTheEnvironmentSays) {
    struct {
        const char *jitDir, *tmpDir, *hint;  // VESKMRTE_JIT_DIR, TMPDIR, the caller's hint
        std::string directory;  // where the name goes; empty: the hint is the name
    } const places[] = {
        {"/var/jit/\xE6\x97\xA5", "/t", nullptr, "/var/jit/\xE6\x97\xA5/"}, {"/var/jit/", nullptr, nullptr, "/var/jit/"},
        {"/jit/here", nullptr, "", "/jit/here/"},  // an empty hint is no hint
        {"", "/scratch/tmp", nullptr, "/scratch/tmp/"}, {nullptr, nullptr, nullptr, "/tmp/"},
        {"/jit", nullptr, "rel/dir/\xC3\xA9t\xC3\xA9.jit", ""}};
    // The process's start in UTC, then a sequence number from the second
    // generator on: two writers must not truncate each other's file.
    const std::regex pattern("veskmrte-" + std::to_string(getpid()) + "-(20[0-9]{6}T[0-9]{6}\\.[0-9]{6}Z)(-[0-9]+)?\\.jit");
    std::string previous, stamp;
    for (const auto& p : places) {
        p.jitDir ? setenv("VESKMRTE_JIT_DIR", p.jitDir, 1) : unsetenv("VESKMRTE_JIT_DIR");
        p.tmpDir ? setenv("TMPDIR", p.tmpDir, 1) : unsetenv("TMPDIR");
        std::basic_string<vesk_wchar> hint = wide(p.hint ? p.hint : "");
        auto generator = brisel_1_0::IJitFileNameGenerator::create(p.hint ? hint.c_str() : nullptr);
        hint.assign(hint.size(), u'x');  // the generator keeps its own copy
        const std::string name = vesk::toUtf8(generator->fileName());
        std::smatch parts;
        const std::string base = name.substr(std::min(name.size(), p.directory.size()));
        if (p.directory.empty() ? name != p.hint : name.compare(0, p.directory.size(), p.directory) != 0 ||
                                                       !std::regex_match(base, parts, pattern)) {
            ADD_FAILURE() << name;
        } else if (!p.directory.empty()) {
            EXPECT_EQ(parts[2].matched, !previous.empty()) << name;
            if (stamp.empty()) stamp = parts[1];
            EXPECT_EQ(parts[1], stamp) << name;
            EXPECT_NE(base, previous);
            previous = base;
        }
    }
    unsetenv("VESKMRTE_JIT_DIR");
}

}  // namespace
}  // namespace jittest
