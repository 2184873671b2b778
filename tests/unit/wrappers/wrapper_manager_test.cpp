// The wrapper registry and the choice of the wrapper assembly.
#include "blob_bytes.h"
#include "clrprof/clr_callbacks.h"
#include "clrprof/wrapper_manager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

const Bytes kVoid = {0x00, 0x00, ELEMENT_TYPE_VOID};

Wrapper* makeWrapper(const vesk::WChar* assembly, const vesk::WChar* className, const vesk::WChar* method) {
    return new Wrapper(assembly, className, method, VESK_W("W"), VESK_W("WC"), VESK_W("WM"), kVoid.data(),
                       static_cast<uint32_t>(kVoid.size()), nullptr);
}

TEST(WrapperRegistry, FindsByAllThreeNames) {
    WrapperManager manager;
    EXPECT_FALSE(manager.hasWrappers());
    Wrapper* w = makeWrapper(VESK_W("System"), VESK_W("System.IO.File"), VESK_W("ReadAllText"));
    ASSERT_TRUE(manager.addWrapper(w));
    EXPECT_TRUE(manager.hasWrappers());
    EXPECT_EQ(manager.findWrapper(VESK_W("System"), VESK_W("System.IO.File"), VESK_W("ReadAllText")), w);
    EXPECT_EQ(manager.findWrapper(VESK_W("System"), VESK_W("System.IO.File"), VESK_W("readAllText")), nullptr);
    EXPECT_EQ(manager.findWrapper(VESK_W("System"), VESK_W("System.IO.File"), nullptr), nullptr);
}

TEST(WrapperRegistry, SecondWrapperOfAKeyIsRefusedAndStaysTheCallers) {
    WrapperManager manager;
    Wrapper* first = makeWrapper(VESK_W("A"), VESK_W("C"), VESK_W("M"));
    std::unique_ptr<Wrapper> second(makeWrapper(VESK_W("A"), VESK_W("C"), VESK_W("M")));
    ASSERT_TRUE(manager.addWrapper(first));
    EXPECT_FALSE(manager.addWrapper(second.get()));
    EXPECT_EQ(manager.findWrapper(VESK_W("A"), VESK_W("C"), VESK_W("M")), first);
}

TEST(WrapperRegistry, KeysJoinTheNamesWithoutSeparator) {
    // (ab, c, d) and (a, bc, d) share the key "abcd": the second is refused
    // and a lookup of either finds the first.
    WrapperManager manager;
    Wrapper* abc = makeWrapper(VESK_W("ab"), VESK_W("c"), VESK_W("d"));
    std::unique_ptr<Wrapper> abcd(makeWrapper(VESK_W("a"), VESK_W("bc"), VESK_W("d")));
    ASSERT_TRUE(manager.addWrapper(abc));
    EXPECT_FALSE(manager.addWrapper(abcd.get()));
    EXPECT_EQ(manager.findWrapper(VESK_W("a"), VESK_W("bc"), VESK_W("d")), abc);
}

TEST(WrapperRegistryDeathTest, MisuseIsFatal) {
    WrapperManager manager;
    EXPECT_EXIT(manager.addWrapper(nullptr), ::testing::ExitedWithCode(3), "'wrapper'");
    EXPECT_EXIT(manager.findWrapper(nullptr, nullptr, nullptr), ::testing::ExitedWithCode(3),
                "'originalApiAssembly \\|\\| originalApiClass \\|\\| originalApiMethod'");
}

TEST(WrapperManagerInit, EmptyPathChangesNothing) {
    WrapperManager manager;
    WrapperAssemblyIdentity identity;
    identity.name = VESK_W("first");
    ASSERT_EQ(manager.init(VESK_W("/tool/first.dll"), identity), meSuccess);
    WrapperAssemblyIdentity other;
    other.name = VESK_W("second");
    EXPECT_EQ(manager.init(vesk::WString(), other), meFailure);
    EXPECT_EQ(manager.getAssemblyPath(), VESK_W("/tool/first.dll"));
    EXPECT_EQ(manager.getAssemblyIdentity().name, VESK_W("first"));
}

// A tool directory with the given files, removed afterwards.
class ToolDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = ::testing::TempDir() + "wrapdir-XXXXXX";
        ASSERT_NE(mkdtemp(&templ[0]), nullptr);
        m_dir = templ + "/";
    }
    void TearDown() override {
        for (const std::string& f : m_files) std::remove((m_dir + f).c_str());
        rmdir(m_dir.c_str());
    }
    void addFile(const std::string& name) {
        std::ofstream(m_dir + name).put('x');
        m_files.push_back(name);
    }
    vesk::WString dir() const { return vesk::fromUtf8(m_dir); }

private:
    std::string m_dir;
    std::vector<std::string> m_files;
};

TEST_F(ToolDirectory, ChoosesTheAssemblyForTheRuntimeVersion) {
    for (const char* f : {"b_veskmrte_clr40wrap_2.0.dll", "a_veskmrte_clr40wrap_1.0.dll", "a_veskmrte_clr40wrap_0.so",
                          "a_veskmrte_clrwrap_1.0.dll", "a_veskmrte_clr35sp1wrap_1.0.dll"}) {
        addFile(f);
    }
    WrapperManager manager;
    ASSERT_EQ(initWrapperManager(manager, mvMSCOR40, dir()), meSuccess);
    EXPECT_EQ(manager.getAssemblyPath(), dir() + VESK_W("a_veskmrte_clr40wrap_1.0.dll"));
    const WrapperAssemblyIdentity& identity = manager.getAssemblyIdentity();
    // The assembly's name is its file name without the suffix.
    EXPECT_EQ(identity.name, VESK_W("a_veskmrte_clr40wrap_1.0"));
    for (uint16_t part : identity.version) EXPECT_EQ(part, 9);
    EXPECT_EQ(identity.publicKeyToken, (Bytes{0x6d, 0x2c, 0xb8, 0x78, 0x5b, 0xd9, 0x0e, 0x43}));

    WrapperManager v20;
    ASSERT_EQ(initWrapperManager(v20, mvMSCOR20, dir()), meSuccess);
    EXPECT_EQ(v20.getAssemblyIdentity().name, VESK_W("a_veskmrte_clrwrap_1.0"));
    WrapperManager v35;
    ASSERT_EQ(initWrapperManager(v35, mvMSCOR35SP1, dir()), meSuccess);
    EXPECT_EQ(v35.getAssemblyPath(), dir() + VESK_W("a_veskmrte_clr35sp1wrap_1.0.dll"));
}

using ToolDirectoryDeathTest = ToolDirectory;

TEST_F(ToolDirectoryDeathTest, UnknownVersionIsFatalAndMissingAssemblyIsNot) {
    addFile("a_veskmrte_clr40wrap_1.0.dll");
    WrapperManager manager;
    // A deployment without the assembly must leave the program running.
    EXPECT_EQ(initWrapperManager(manager, mvMSCOR20, dir()), meFailure);
    EXPECT_EXIT(initWrapperManager(manager, mvMSCORUnknown, dir()), ::testing::ExitedWithCode(3),
                "'corVersion != mvMSCORUnknown'");
    EXPECT_EXIT(initWrapperManager(manager, 4, dir()), ::testing::ExitedWithCode(3), "'false'");
}

}  // namespace
