// The wrapper table: which APIs have a wrapper, as read from the wrapper
// assembly's metadata, and which wrapper assembly a tool directory offers.
#include "blob_bytes.h"
#include "clrprof/runtime_version.h"
#include "clrprof/wrapper_manager.h"
#include "fake_dispenser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

const vesk::WChar kReplacement[] = VESK_W("veskmrte_1_0.ReplacementAttribute");
const vesk::WChar kPath[] = VESK_W("/opt/tool/x_veskmrte_clr40wrap_1.0.dll");
const Bytes kStringOfString = {0x00, 0x01, ELEMENT_TYPE_STRING, ELEMENT_TYPE_STRING};
const Bytes kStringOfUri = {0x00, 0x01, ELEMENT_TYPE_STRING, ELEMENT_TYPE_CLASS, 0x05};
const Bytes kVoid = {0x00, 0x00, ELEMENT_TYPE_VOID};

Bytes packed(const char* s) {
    const size_t n = std::strlen(s);
    return cat({compressed(static_cast<uint32_t>(n)), Bytes(s, s + n)});
}

FakeDispenser* g_dispenser = nullptr;

HRESULT fakeDispenserSource(IMetaDataDispenserEx** dispenser) {
    *dispenser = g_dispenser;
    if (g_dispenser == nullptr) return E_FAIL;
    g_dispenser->AddRef();
    return S_OK;
}

std::vector<signature*> overloadsOf(const Wrapper* wrapper) {
    std::vector<signature*> all;
    IteratorHolder<signature*> it(wrapper->getSignatures());
    for (; !it->atEnd(); it->next()) all.push_back(it->current());
    return all;
}

class WrapperTable : public ::testing::Test {
protected:
    WrapperTable() : dispenser(&assembly), manager(&fakeDispenserSource) {
        g_dispenser = &dispenser;
        manager.init(kPath, WrapperAssemblyIdentity());
        assembly.addTypeRef(mdTokenNil, VESK_W("System.Uri"), 1);
    }
    ~WrapperTable() override { g_dispenser = nullptr; }

    // A wrapper method and the API its replacement attribute names.
    void addWrapper(mdTypeDef type, const vesk::WString& name, const Bytes& sig, const char* apiAssembly,
                    const char* apiClass, const char* apiMethod) {
        const mdMethodDef method = assembly.addMethodDef(type, name, sig);
        assembly.addAttribute(method, kReplacement,
                              cat({{0x01, 0x00}, packed(apiAssembly), packed(apiClass), packed(apiMethod)}));
    }
    Wrapper* find(const vesk::WChar* assemblyName, const vesk::WChar* className, const vesk::WChar* method) {
        return manager.findWrapper(assemblyName, className, method);
    }
    void expectEverythingGivenBack() {
        EXPECT_EQ(assembly.openEnums(), 0);
        // Loaded wrappers keep the scope for their overloads, parsed at first use.
        EXPECT_EQ(assembly.refCount, manager.hasWrappers() ? 2 : 1);
        EXPECT_EQ(dispenser.refCount, 1);
    }

    FakeMetadata assembly;
    FakeDispenser dispenser;
    WrapperManager manager;
};

TEST_F(WrapperTable, OneWrapperPerApiHoldingEveryOverload) {
    const mdTypeDef web = assembly.addTypeDef(VESK_W("Wrappers.WebClientWrapper"));
    addWrapper(web, VESK_W("DownloadString"), kStringOfString, "System.Net", "System.Net.WebClient", "DownloadString");
    addWrapper(web, VESK_W("DownloadString"), kStringOfUri, "System.Net", "System.Net.WebClient", "DownloadString");
    assembly.addMethodDef(web, VESK_W("Helper"), kVoid);
    assembly.addAttribute(assembly.addMethodDef(web, VESK_W("Empty"), kVoid), kReplacement, {});
    const mdTypeDef file = assembly.addTypeDef(VESK_W("Wrappers.FileWrapper"));
    addWrapper(file, VESK_W("ReadAll"), kStringOfString, "System.IO", "System.IO.File", "ReadAllText");
    addWrapper(file, VESK_W("WriteAll"), kVoid, "System.IO", "System.IO.File", "WriteAllText");

    ASSERT_EQ(manager.loadWrappers(), meSuccess);

    Wrapper* download = find(VESK_W("System.Net"), VESK_W("System.Net.WebClient"), VESK_W("DownloadString"));
    ASSERT_NE(download, nullptr);
    EXPECT_EQ(vesk::WString(download->getWrapperApiClass()), VESK_W("Wrappers.WebClientWrapper"));
    std::vector<signature*> overloads = overloadsOf(download);
    ASSERT_EQ(overloads.size(), 2u);
    EXPECT_EQ(overloads[0]->rawBlob, kStringOfString);
    EXPECT_EQ(overloads[1]->rawBlob, kStringOfUri);
    EXPECT_EQ(overloads[1]->types[1].name, VESK_W("System.Uri"));  // read with the wrapper assembly's names

    Wrapper* read = find(VESK_W("System.IO"), VESK_W("System.IO.File"), VESK_W("ReadAllText"));
    Wrapper* write = find(VESK_W("System.IO"), VESK_W("System.IO.File"), VESK_W("WriteAllText"));
    ASSERT_NE(read, nullptr);
    ASSERT_NE(write, nullptr);
    EXPECT_EQ(vesk::WString(read->getWrapperApiMethod()), VESK_W("ReadAll"));
    EXPECT_EQ(vesk::WString(write->getWrapperApiMethod()), VESK_W("WriteAll"));
    EXPECT_EQ(find(VESK_W("System.IO"), VESK_W("System.IO.File"), VESK_W("ReadAll")), nullptr);
    EXPECT_EQ(find(VESK_W("System.IO"), VESK_W("System.IO.File"), VESK_W("readAllText")), nullptr);

    // Every overload of every wrapper has an identity of its own: modules
    // key their wrapper references by it.
    std::set<Wrapper*> seen;
    std::set<uint32_t> ids;
    size_t overloadCount = 0;
    IteratorHolder<Wrapper*> all(manager.getWrappers());
    for (; !all->atEnd(); all->next()) {
        seen.insert(all->current());
        for (signature* sig : overloadsOf(all->current())) {
            ids.insert(sig->overloadID);
            ++overloadCount;
        }
    }
    EXPECT_EQ(seen, (std::set<Wrapper*>{download, read, write}));
    EXPECT_EQ(ids.size(), overloadCount);
    EXPECT_EQ(ids.count(0), 0u);

    EXPECT_EQ(dispenser.openedPaths, std::vector<vesk::WString>{kPath});
    expectEverythingGivenBack();
}

TEST_F(WrapperTable, EveryTypeAndMethodOfALargeAssembly) {
    const mdTypeDef big = assembly.addTypeDef(VESK_W("Wrappers.Big"));
    for (int i = 0; i < 600; ++i) addWrapper(big, VESK_W("W"), kVoid, "A", "C", ("M" + std::to_string(i)).c_str());
    for (int t = 0; t < 150; ++t) {
        const mdTypeDef type = assembly.addTypeDef(VESK_W("Wrappers.T") + vesk::fromUtf8(std::to_string(t)));
        addWrapper(type, VESK_W("W"), kVoid, "A", ("C" + std::to_string(t)).c_str(), "M");
    }
    ASSERT_EQ(manager.loadWrappers(), meSuccess);
    EXPECT_NE(find(VESK_W("A"), VESK_W("C"), VESK_W("M599")), nullptr);
    EXPECT_NE(find(VESK_W("A"), VESK_W("C149"), VESK_W("M")), nullptr);
    IteratorHolder<Wrapper*> all(manager.getWrappers());
    EXPECT_EQ(all->size(), 750u);
    expectEverythingGivenBack();
}

TEST_F(WrapperTable, TypesWhoseNameCannotBeReadAreSkipped) {
    const mdTypeDef nameless = assembly.addTypeDef(VESK_W("Wrappers.Hidden"));
    assembly.typeDefs[RidFromToken(nameless)].reportedLength = 0;
    addWrapper(nameless, VESK_W("W"), kVoid, "A", "C", "M");
    const mdTypeDef failing = assembly.addTypeDef(VESK_W("Wrappers.Failing"));
    assembly.typeDefs[RidFromToken(failing)].failure = E_FAIL;
    addWrapper(failing, VESK_W("W"), kVoid, "A", "C", "N");
    addWrapper(assembly.addTypeDef(VESK_W("Wrappers.Named")), VESK_W("W"), kVoid, "A", "C", "O");
    ASSERT_EQ(manager.loadWrappers(), meSuccess);
    IteratorHolder<Wrapper*> all(manager.getWrappers());
    EXPECT_EQ(all->size(), 1u);
    EXPECT_NE(find(VESK_W("A"), VESK_W("C"), VESK_W("O")), nullptr);
    expectEverythingGivenBack();
}

TEST_F(WrapperTable, NothingLoadsWithoutPathDispenserOrScope) {
    WrapperManager unset(&fakeDispenserSource);
    EXPECT_EQ(unset.loadWrappers(), meFailure);
    EXPECT_TRUE(dispenser.openedPaths.empty());
    dispenser.openResult = E_FAIL;
    EXPECT_EQ(manager.loadWrappers(), meFailure);
    g_dispenser = nullptr;
    EXPECT_EQ(manager.loadWrappers(), meFailure);
    EXPECT_FALSE(manager.hasWrappers());
    expectEverythingGivenBack();
    WrapperManager inThisProcess;  // no runtime here to hand out a dispenser
    ASSERT_EQ(inThisProcess.init(VESK_W("/nonexistent/x.dll"), WrapperAssemblyIdentity()), meSuccess);
    EXPECT_EQ(inThisProcess.loadWrappers(), meFailure);
}

TEST(WrapperAssemblyChoice, TheToolDirectorysAssemblyForTheRuntimeVersion) {
    std::string dir = ::testing::TempDir() + "wrapdir-XXXXXX";
    ASSERT_NE(mkdtemp(&dir[0]), nullptr);
    dir += "/";
    const char* files[] = {"b_veskmrte_clr40wrap_2.0.dll", "a_veskmrte_clr40wrap_1.0.dll",
                           "a_veskmrte_clr40wrap_0.so", "a_veskmrte_clr35sp1wrap_1.0.dll"};
    for (const char* f : files) std::ofstream(dir + f).put('x');
    const vesk::WString wdir = vesk::fromUtf8(dir);
    WrapperManager manager;
    ASSERT_EQ(initWrapperManager(manager, mvMSCOR40, wdir), meSuccess);
    EXPECT_EQ(manager.getAssemblyPath(), wdir + VESK_W("a_veskmrte_clr40wrap_1.0.dll"));
    const WrapperAssemblyIdentity& identity = manager.getAssemblyIdentity();
    EXPECT_EQ(identity.name, VESK_W("a_veskmrte_clr40wrap_1.0"));
    for (uint16_t part : identity.version) EXPECT_EQ(part, 9);
    EXPECT_EQ(identity.publicKeyToken, (Bytes{0x6d, 0x2c, 0xb8, 0x78, 0x5b, 0xd9, 0x0e, 0x43}));
    // A deployment without the assembly leaves the program running.
    WrapperManager v20;
    EXPECT_EQ(initWrapperManager(v20, mvMSCOR20, wdir), meFailure);
    for (const char* f : files) std::remove((dir + f).c_str());
    rmdir(dir.c_str());
}

}  // namespace
