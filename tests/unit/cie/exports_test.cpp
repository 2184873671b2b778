// The shipped library as the profiler loads it: CIEGetInstance is its only
// export and behaves at the edges.
#include <dlfcn.h>
#include <elf.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "engine_fixture.h"

namespace cie_test {
namespace {

const std::string kLibrary = std::string(VESK_DIST_DIR) + "/tavoli_cie_1.0.so";

template <typename Ehdr, typename Shdr, typename Sym>
std::set<std::string> exportedSymbols(const std::vector<char>& file) {
    std::set<std::string> names;
    const Ehdr* eh = reinterpret_cast<const Ehdr*>(file.data());
    if (eh->e_shoff == 0 || eh->e_shoff + eh->e_shnum * sizeof(Shdr) > file.size()) return names;
    const Shdr* sections = reinterpret_cast<const Shdr*>(file.data() + eh->e_shoff);
    for (unsigned i = 0; i < eh->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM) continue;
        const Shdr& strings = sections[sections[i].sh_link];
        const Sym* symbols = reinterpret_cast<const Sym*>(file.data() + sections[i].sh_offset);
        const size_t count = sections[i].sh_size / sizeof(Sym);
        for (size_t k = 0; k < count; ++k) {
            const Sym& s = symbols[k];
            const unsigned bind = s.st_info >> 4;
            const unsigned visibility = s.st_other & 0x3;
            if (s.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK && bind != STB_GNU_UNIQUE)) continue;
            if (visibility != STV_DEFAULT && visibility != STV_PROTECTED) continue;
            names.insert(file.data() + strings.sh_offset + s.st_name);
        }
    }
    return names;
}

std::set<std::string> exportedSymbols(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < sizeof(Elf64_Ehdr) || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0) return {};
    if (file[EI_CLASS] == ELFCLASS64) return exportedSymbols<Elf64_Ehdr, Elf64_Shdr, Elf64_Sym>(file);
    return exportedSymbols<Elf32_Ehdr, Elf32_Shdr, Elf32_Sym>(file);
}

TEST(Exports, CIEGetInstanceIsTheOnlyExport) {
    EXPECT_EQ((std::set<std::string>{"CIEGetInstance"}), exportedSymbols(kLibrary));
}

class ShippedLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        // Never closed: engines live as long as the process.
        void* library = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(nullptr, library) << dlerror();
        getInstance = reinterpret_cast<CIEGetInstanceFn>(dlsym(library, CIE_GET_INSTANCE_NAME));
        ASSERT_NE(nullptr, getInstance);
    }
    CIEGetInstanceFn getInstance = nullptr;
};

TEST_F(ShippedLibrary, NoRuntimeInterfaceNoEngine) { EXPECT_EQ(nullptr, getInstance(nullptr)); }

TEST_F(ShippedLibrary, OneEnginePerRuntimeInterface) {
    FakeProfilerInfo info, other;
    tavoli::IEngine* engine = getInstance(static_cast<cor::ICorProfilerInfo2*>(&info));
    ASSERT_NE(nullptr, engine);
    EXPECT_EQ(engine, getInstance(static_cast<cor::ICorProfilerInfo2*>(&info)));
    EXPECT_NE(engine, getInstance(static_cast<cor::ICorProfilerInfo2*>(&other)));
    EXPECT_EQ(1u, engine->version());
}

TEST_F(ShippedLibrary, RewritesAMethodEndToEnd) {
    FakeProfilerInfo info;
    tavoli::IEngine* engine = getInstance(static_cast<cor::ICorProfilerInfo2*>(&info));
    ASSERT_NE(nullptr, engine);
    EXPECT_EQ(nullptr, engine->getMethod(0));
    EXPECT_EQ(nullptr, engine->getMethod(0x999));

    info.metadata.addMemberRef(cor::mdTokenNil, u"Enter", {}, 1);
    const Bytes body = tinyBody(Code().op(0x02).op(0x28).u32(0x0A000001).op(0x2A).bytes());
    info.addMethod(kFunction, kModule, kMethodToken, body);
    MethodPtr method(engine->getMethod(kFunction));
    ASSERT_NE(nullptr, method);
    tavoli::EngineMethodInfo mi = {};
    ASSERT_EQ(tavoli::MRTE_RESULT_OK, method->getMethodInfo(&mi));
    EXPECT_EQ(kModule, mi.moduleId);
    IteratorPtr it(method->getInstructions(1));
    tavoli::IInstruction* call = it->next();
    call = it->next();
    ASSERT_NE(nullptr, call);
    EXPECT_TRUE(call->isCandidate());
    tavoli::EngineOperand op = {tavoli::OPERAND_KIND_TOKEN, 4, 0x0A000042, {0, 0, 0}};
    ASSERT_EQ(tavoli::MRTE_RESULT_OK, call->setOperand(&op, 0, 0, 0));
    ASSERT_EQ(tavoli::MRTE_RESULT_OK, method->apply());
    std::vector<InstalledBody> installed = info.installed();
    ASSERT_EQ(1u, installed.size());
    Bytes expected = body;
    expected[3] = 0x42;
    EXPECT_EQ(expected, installed[0].bytes);
}

}  // namespace
}  // namespace cie_test
