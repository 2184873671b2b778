// Loading the wrappers from the wrapper assembly's metadata.
#include "blob_bytes.h"
#include "clrprof/wrapper_manager.h"
#include "fake_metadata.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

const vesk::WChar kReplacement[] = VESK_W("veskmrte_1_0.ReplacementAttribute");
const vesk::WChar kSpecialCallback[] = VESK_W("veskmrte_1_0SpecialCallbackAttribute");
const vesk::WChar kPath[] = VESK_W("/opt/tool/x_veskmrte_clr40wrap_1.0.dll");

const Bytes kStringOfString = {0x00, 0x01, ELEMENT_TYPE_STRING, ELEMENT_TYPE_STRING};
const Bytes kStringOfUri = {0x00, 0x01, ELEMENT_TYPE_STRING, ELEMENT_TYPE_CLASS, 0x05};
const Bytes kVoid = {0x00, 0x00, ELEMENT_TYPE_VOID};

Bytes packed(const char* s) {
    const size_t n = std::strlen(s);
    return cat({compressed(static_cast<uint32_t>(n)), Bytes(s, s + n)});
}

Bytes replacement(const char* assembly, const char* className, const char* method) {
    return cat({{0x01, 0x00}, packed(assembly), packed(className), packed(method)});
}

FakeDispenser* g_dispenser = nullptr;

HRESULT fakeDispenserSource(IMetaDataDispenserEx** dispenser) {
    *dispenser = nullptr;
    if (g_dispenser == nullptr) return E_FAIL;
    g_dispenser->AddRef();
    *dispenser = g_dispenser;
    return S_OK;
}

class LoadWrappers : public ::testing::Test {
protected:
    LoadWrappers() : dispenser(&import), manager(&fakeDispenserSource) {
        g_dispenser = &dispenser;
        WrapperAssemblyIdentity identity;
        identity.name = VESK_W("x_veskmrte_clr40wrap_1.0");
        manager.init(kPath, identity);
        import.addTypeRef(0x01000001, VESK_W("System.Uri"));
    }
    ~LoadWrappers() override { g_dispenser = nullptr; }

    // A wrapper method: type, token, its own name, its blob, and the API it
    // stands in for.
    void addWrapperMethod(mdTypeDef type, mdMethodDef method, const vesk::WString& name, const Bytes& sig,
                          const char* assembly, const char* className, const char* apiMethod) {
        import.addMethod(type, method, name, sig);
        import.addAttribute(method, kReplacement, replacement(assembly, className, apiMethod));
    }

    void expectEverythingGivenBack() {
        EXPECT_EQ(import.openEnums, 0);
        EXPECT_EQ(import.refCount, 1);
        EXPECT_EQ(dispenser.refCount, 1);
    }

    FakeMetaDataImport import;
    FakeDispenser dispenser;
    WrapperManager manager;
};

TEST_F(LoadWrappers, OverloadsOfOneApiShareAWrapper) {
    import.addTypeDef(0x02000002, VESK_W("Wrappers.WebClientWrapper"));
    addWrapperMethod(0x02000002, 0x06000001, VESK_W("DownloadString"), kStringOfString, "System.Net",
                     "System.Net.WebClient", "DownloadString");
    addWrapperMethod(0x02000002, 0x06000002, VESK_W("DownloadString"), kStringOfUri, "System.Net",
                     "System.Net.WebClient", "DownloadString");
    import.addMethod(0x02000002, 0x06000003, VESK_W("Helper"), kVoid);
    import.addTypeDef(0x02000004, VESK_W("Wrappers.FileWrapper"));
    addWrapperMethod(0x02000004, 0x06000004, VESK_W("ReadAll"), kStringOfString, "System.IO", "System.IO.File",
                     "ReadAllText");

    ASSERT_EQ(manager.loadWrappers(), meSuccess);

    IteratorHolder<Wrapper*> all(manager.getWrappers());
    EXPECT_EQ(all->size(), 2u);
    Wrapper* web = manager.findWrapper(VESK_W("System.Net"), VESK_W("System.Net.WebClient"),
                                       VESK_W("DownloadString"));
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(vesk::WString(web->getWrapperApiAssembly()), VESK_W("/opt/tool/x_veskmrte_clr40wrap_1.0"));
    EXPECT_EQ(vesk::WString(web->getWrapperApiClass()), VESK_W("Wrappers.WebClientWrapper"));
    EXPECT_EQ(vesk::WString(web->getWrapperApiMethod()), VESK_W("DownloadString"));
    IteratorHolder<signature*> overloads(web->getSignatures());
    ASSERT_EQ(overloads->size(), 2u);
    signature* first = overloads->current();
    overloads->next();
    signature* second = overloads->current();
    EXPECT_EQ(first->rawBlob, kStringOfString);
    EXPECT_EQ(second->rawBlob, kStringOfUri);
    EXPECT_EQ(second->overloadID, first->overloadID + 1);
    // Type names come from the wrapper assembly.
    EXPECT_EQ(second->types[1].name, VESK_W("System.Uri"));

    Wrapper* file = manager.findWrapper(VESK_W("System.IO"), VESK_W("System.IO.File"), VESK_W("ReadAllText"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(vesk::WString(file->getWrapperApiMethod()), VESK_W("ReadAll"));

    ASSERT_EQ(dispenser.openedPaths.size(), 1u);
    EXPECT_EQ(dispenser.openedPaths[0], kPath);
    EXPECT_TRUE(dispenser.openedInterfaces[0] == IID_IMetaDataImport);
    expectEverythingGivenBack();
}

TEST_F(LoadWrappers, TypesAndMethodsComeInBatches) {
    const mdTypeDef big = 0x02000001;
    import.addTypeDef(big, VESK_W("Wrappers.Big"));
    for (uint32_t i = 0; i < 600; ++i) {
        std::string method = "M" + std::to_string(i);
        addWrapperMethod(big, 0x06000001 + i, VESK_W("W"), kVoid, "A", "C", method.c_str());
    }
    for (uint32_t t = 2; t <= 150; ++t) {
        import.addTypeDef(0x02000000 + t, VESK_W("Wrappers.T") + vesk::fromUtf8(std::to_string(t)));
        std::string className = "C" + std::to_string(t);
        addWrapperMethod(0x02000000 + t, 0x06001000 + t, VESK_W("W"), kVoid, "A", className.c_str(), "M");
    }
    ASSERT_EQ(manager.loadWrappers(), meSuccess);
    IteratorHolder<Wrapper*> all(manager.getWrappers());
    EXPECT_EQ(all->size(), 600u + 149u);
    EXPECT_NE(manager.findWrapper(VESK_W("A"), VESK_W("C"), VESK_W("M599")), nullptr);
    EXPECT_NE(manager.findWrapper(VESK_W("A"), VESK_W("C150"), VESK_W("M")), nullptr);
    for (ULONG size : import.typeDefBatchSizes) EXPECT_EQ(size, 100u);
    for (ULONG size : import.methodBatchSizes) EXPECT_EQ(size, 512u);
    EXPECT_GE(import.typeDefBatchSizes.size(), 2u);
    expectEverythingGivenBack();
}

TEST_F(LoadWrappers, TypesWithoutANameAreSkipped) {
    FakeName& nameless = import.typeDefs[0x02000003];
    nameless.text = VESK_W("Wrappers.Hidden");
    nameless.reportedLength = 0;
    import.typeDefOrder.push_back(0x02000003);
    addWrapperMethod(0x02000003, 0x06000009, VESK_W("W"), kVoid, "A", "C", "M");
    FakeName& failing = import.typeDefs[0x02000005];
    failing.text = VESK_W("Wrappers.Failing");
    failing.hr = E_FAIL;
    import.typeDefOrder.push_back(0x02000005);
    addWrapperMethod(0x02000005, 0x0600000A, VESK_W("W"), kVoid, "A", "C", "N");
    import.addTypeDef(0x02000006, VESK_W("Wrappers.Named"));
    addWrapperMethod(0x02000006, 0x0600000B, VESK_W("W"), kVoid, "A", "C", "O");

    ASSERT_EQ(manager.loadWrappers(), meSuccess);
    EXPECT_EQ(import.methodEnumTypes, std::vector<mdTypeDef>{0x02000006});
    IteratorHolder<Wrapper*> all(manager.getWrappers());
    EXPECT_EQ(all->size(), 1u);
    expectEverythingGivenBack();
}

TEST_F(LoadWrappers, MethodsWithoutAReplacementAreNoWrappers) {
    import.addTypeDef(0x02000002, VESK_W("Wrappers.Plain"));
    import.addMethod(0x02000002, 0x06000001, VESK_W("Helper"), kVoid);
    import.addMethod(0x02000002, 0x06000002, VESK_W("Empty"), kVoid);
    import.addAttribute(0x06000002, kReplacement, {});
    ASSERT_EQ(manager.loadWrappers(), meSuccess);
    EXPECT_FALSE(manager.hasWrappers());
    expectEverythingGivenBack();
}

TEST_F(LoadWrappers, NamesAreReadByteForCharacter) {
    import.addTypeDef(0x02000002, VESK_W("Wrappers.Cafe"));
    addWrapperMethod(0x02000002, 0x06000001, VESK_W("Order"), kVoid, "Shop", "Shop.Caf\xE9", "Order");
    ASSERT_EQ(manager.loadWrappers(), meSuccess);
    const vesk::WString cafe = vesk::WString(VESK_W("Shop.Caf")) + static_cast<vesk::WChar>(0xE9);
    EXPECT_NE(manager.findWrapper(VESK_W("Shop"), cafe.c_str(), VESK_W("Order")), nullptr);
}

TEST_F(LoadWrappers, NoDispenserOrNoScope) {
    g_dispenser = nullptr;
    EXPECT_EQ(manager.loadWrappers(), meFailure);

    g_dispenser = &dispenser;
    dispenser.openResult = E_FAIL;
    EXPECT_EQ(manager.loadWrappers(), meFailure);
    EXPECT_EQ(dispenser.refCount, 1);
    EXPECT_EQ(import.refCount, 1);
}

TEST_F(LoadWrappers, NothingToLoadWithoutAPath) {
    WrapperManager fresh(&fakeDispenserSource);
    EXPECT_EQ(fresh.loadWrappers(), meFailure);
    EXPECT_TRUE(dispenser.openedPaths.empty());
    EXPECT_EQ(dispenser.refCount, 1);
}

TEST(LoadWrappersFromTheRuntime, WithoutARuntimeInTheProcessLoadingFails) {
    WrapperManager manager;
    WrapperAssemblyIdentity identity;
    ASSERT_EQ(manager.init(VESK_W("/nonexistent/x.dll"), identity), meSuccess);
    EXPECT_EQ(manager.loadWrappers(), meFailure);
}

using LoadWrappersDeathTest = LoadWrappers;

TEST_F(LoadWrappersDeathTest, SpecialCallbackWithoutReplacementIsFatal) {
    import.addTypeDef(0x02000002, VESK_W("Wrappers.Callbacks"));
    import.addMethod(0x02000002, 0x06000001, VESK_W("OnStart"), kVoid);
    import.addAttribute(0x06000001, kSpecialCallback, {0x01, 0x00});
    EXPECT_EXIT(manager.loadWrappers(), ::testing::ExitedWithCode(3), "'false'");
}

TEST_F(LoadWrappers, ReplacementWinsOverASpecialCallback) {
    import.addTypeDef(0x02000002, VESK_W("Wrappers.Both"));
    addWrapperMethod(0x02000002, 0x06000001, VESK_W("W"), kVoid, "A", "C", "M");
    import.addAttribute(0x06000001, kSpecialCallback, {0x01, 0x00});
    ASSERT_EQ(manager.loadWrappers(), meSuccess);
    EXPECT_TRUE(manager.hasWrappers());
}

TEST_F(LoadWrappersDeathTest, TypeNameLongerThanTheBufferIsFatal) {
    import.addTypeDef(0x02000002, vesk::WString(300, u'T'));
    EXPECT_EXIT(manager.loadWrappers(), ::testing::ExitedWithCode(3),
                "'hr == S_OK \\|\\| sizeClass <= MAX_CLASS_NAME_SIZE'");
}

TEST_F(LoadWrappersDeathTest, UnreadableMethodIsFatal) {
    import.addTypeDef(0x02000002, VESK_W("Wrappers.Broken"));
    import.addMethod(0x02000002, 0x06000001, VESK_W("W"), kVoid);
    import.methods[0x06000001].hr = CLDB_E_RECORD_NOTFOUND;
    EXPECT_EXIT(manager.loadWrappers(), ::testing::ExitedWithCode(3), "'hr == S_OK'");
}

TEST_F(LoadWrappersDeathTest, MalformedReplacementIsFatal) {
    import.addTypeDef(0x02000002, VESK_W("Wrappers.Broken"));
    import.addMethod(0x02000002, 0x06000001, VESK_W("W"), kVoid);
    // The method name runs past the attribute's value.
    import.addAttribute(0x06000001, kReplacement, cat({{0x01, 0x00}, packed("A"), packed("C"), {0x09, 'M'}}));
    EXPECT_EXIT(manager.loadWrappers(), ::testing::ExitedWithCode(3), "'attributeWellFormed'");
}

TEST_F(LoadWrappersDeathTest, OverloadThatDoesNotParseIsFatal) {
    import.addTypeDef(0x02000002, VESK_W("Wrappers.Broken"));
    addWrapperMethod(0x02000002, 0x06000001, VESK_W("W"), {0x00, 0x01, ELEMENT_TYPE_VOID}, "A", "C", "M");
    EXPECT_EXIT(manager.loadWrappers(), ::testing::ExitedWithCode(3), "'res'");
}

TEST_F(LoadWrappersDeathTest, AssemblyPathWithoutASuffixIsFatal) {
    WrapperAssemblyIdentity identity;
    manager.init(VESK_W("/opt/tool/wrappers"), identity);
    import.addTypeDef(0x02000002, VESK_W("Wrappers.W"));
    addWrapperMethod(0x02000002, 0x06000001, VESK_W("W"), kVoid, "A", "C", "M");
    EXPECT_EXIT(manager.loadWrappers(), ::testing::ExitedWithCode(3), "'pos != npos'");
}

}  // namespace
