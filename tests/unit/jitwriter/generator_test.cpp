// Where the JIT file-name generator puts files, and when names differ.
#include "test_support.h"

#include "brisel/jit_file_name_generator.h"
#include "plovat/jit_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace jittest;
using brisel_1_0::IJitFileNameGenerator;

namespace {

// Sets or clears a variable for one test and puts the old value back.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (m_had) m_old = old;
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~EnvGuard() {
        if (m_had) {
            setenv(m_name.c_str(), m_old.c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

std::string generatedName(const vesk_wchar* hint = nullptr) {
    boost::shared_ptr<IJitFileNameGenerator> generator = IJitFileNameGenerator::create(hint);
    if (!generator) return "<no generator>";
    return narrow(generator->fileName());
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string pidPrefix() { return "veskmrte-" + std::to_string(getpid()) + "-"; }

TEST(JitFileNameGenerator, UsesTheHintAsGiven) {
    EnvGuard dir("VESKMRTE_JIT_DIR", "/somewhere/else");
    std::basic_string<vesk_wchar> hint = wide("rel/dir/\xC3\xA9t\xC3\xA9.jit");
    boost::shared_ptr<IJitFileNameGenerator> generator = IJitFileNameGenerator::create(hint.c_str());
    ASSERT_TRUE(generator);
    // The name is the generator's own copy, not the caller's buffer.
    hint.assign(hint.size(), u'x');
    EXPECT_EQ(narrow(generator->fileName()), "rel/dir/\xC3\xA9t\xC3\xA9.jit");
}

TEST(JitFileNameGenerator, AnEmptyHintIsNoHint) {
    EnvGuard dir("VESKMRTE_JIT_DIR", "/jit/here");
    std::string name = generatedName(VESK_W(""));
    EXPECT_TRUE(startsWith(name, "/jit/here/" + pidPrefix())) << name;
}

TEST(JitFileNameGenerator, HonoursTheDirectoryVariable) {
    EnvGuard dir("VESKMRTE_JIT_DIR", "/var/jit/\xE6\x97\xA5");
    std::string name = generatedName();
    EXPECT_TRUE(startsWith(name, "/var/jit/\xE6\x97\xA5/" + pidPrefix())) << name;
    EXPECT_TRUE(endsWith(name, ".jit")) << name;
    EXPECT_EQ(name.find('/', std::string("/var/jit/\xE6\x97\xA5/").size()), std::string::npos) << name;
}

TEST(JitFileNameGenerator, AddsNoSecondSeparator) {
    EnvGuard dir("VESKMRTE_JIT_DIR", "/var/jit/");
    std::string name = generatedName();
    EXPECT_TRUE(startsWith(name, "/var/jit/" + pidPrefix())) << name;
}

TEST(JitFileNameGenerator, FallsBackToTheTemporaryDirectory) {
    EnvGuard dir("VESKMRTE_JIT_DIR", "");
    {
        EnvGuard tmp("TMPDIR", "/scratch/tmp");
        EXPECT_TRUE(startsWith(generatedName(), "/scratch/tmp/" + pidPrefix())) << generatedName();
    }
    EnvGuard unsetDir("VESKMRTE_JIT_DIR", nullptr);
    EnvGuard noTmp("TMPDIR", nullptr);
    EXPECT_TRUE(startsWith(generatedName(), "/tmp/" + pidPrefix())) << generatedName();
}

// The time stamp part of a generated name: the part after the process id,
// up to the Z that ends it.
std::string stampOf(const std::string& name) {
    size_t start = name.find(pidPrefix());
    size_t end = name.find('Z', start);
    if (start == std::string::npos || end == std::string::npos) return "<no stamp in " + name + ">";
    start += pidPrefix().size();
    return name.substr(start, end + 1 - start);
}

TEST(JitFileNameGenerator, GivesEveryGeneratorInAProcessItsOwnName) {
    // Two writers in one process must not truncate each other's file; the
    // names keep the process's stamp and differ in a sequence suffix.
    EnvGuard dir("VESKMRTE_JIT_DIR", "/d");
    std::string first = generatedName();
    std::string second = generatedName();
    EXPECT_NE(first, second);
    EXPECT_TRUE(startsWith(second, "/d/" + pidPrefix())) << second;
    EXPECT_EQ(stampOf(first), stampOf(second));
}

TEST(JitFileNameGenerator, NameHoldsTheStartTime) {
    EnvGuard dir("VESKMRTE_JIT_DIR", "/d");
    std::string name = generatedName().substr(3 + pidPrefix().size());
    // YYYYMMDDTHHMMSS.uuuuuuZ
    ASSERT_GE(name.size(), 23u) << name;
    EXPECT_EQ(name[8], 'T') << name;
    EXPECT_EQ(name[15], '.') << name;
    EXPECT_EQ(name[22], 'Z') << name;
    EXPECT_TRUE(startsWith(name, "20")) << name;
}

TEST(JitFileNameGenerator, ItsNameIsUsableByTheWriter) {
    TempDir temp;
    EnvGuard dir("VESKMRTE_JIT_DIR", temp.path().c_str());
    boost::shared_ptr<IJitFileNameGenerator> generator = IJitFileNameGenerator::create(nullptr);
    ASSERT_TRUE(generator);
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, generator->fileName(), 0, 0), plovat1::meSuccess);
    ASSERT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
    EXPECT_EQ(readFile(narrow(generator->fileName())).open, jitfile::OpenResult::ok);
}

}  // namespace
