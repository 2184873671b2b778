// The per-module record's metadata work, against a fake module scope: which
// tokens name a redirected API, how a wrapper overload's blob is re-encoded
// with the module's tokens, which references the module gains, and which
// reference replaces a call target.
#include "blob_bytes.h"
#include "clrprof/generic_instance.h"
#include "clrprof/module.h"
#include "clrprof/result.h"
#include "clrprof/wrapper.h"
#include "clrprof/wrapper_manager.h"
#include "fake_metadata.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

const vesk::WChar kApiAssembly[] = VESK_W("Lib.Sync");
const vesk::WChar kApiClass[] = VESK_W("Lib.Sync.Gate");
const vesk::WChar kApiMethod[] = VESK_W("Wait");
const vesk::WChar kTimeoutClass[] = VESK_W("Lib.Sync.Timeout");
const vesk::WChar kWrapperAssembly[] = VESK_W("veskmrte_clr40wrap");
const vesk::WChar kWrapperClass[] = VESK_W("Veskmrte.Wrappers.Gate");
const vesk::WChar kWrapperMethod[] = VESK_W("Wait");

const uint8_t kStatic = 0x00, kHasThis = 0x20, kVoid = 0x01, kBool = 0x02, kI4 = 0x08, kString = 0x0E;
const uint8_t kValueType = 0x11, kClass = 0x12, kGenericInst = 0x15, kSzArray = 0x1D;

// Rows of the wrapper assembly's own type references.
const uint32_t kWrapperGateRow = 1, kWrapperTimeoutRow = 2, kWrapperMissingRow = 3, kWrapperPoolRow = 4;
const uint32_t kWrapperScopeRow = 5;  // Gate+Scope
const uint32_t kWrapperFarGateRow = 0x1000;  // written in four bytes

Bytes classRef(uint32_t row) { return cat({{kClass}, typeRefCoded(row)}); }
// The wrappers of the instance methods "bool Wait(int32)" and "bool
// Wait(Timeout)": the instance comes first.
const Bytes kWrapperWaitInt = cat({{kStatic, 2, kBool}, classRef(kWrapperGateRow), {kI4}});
const Bytes kWrapperWaitTimeout = cat({{kStatic, 2, kBool}, classRef(kWrapperGateRow), classRef(kWrapperTimeoutRow)});
// The same with the module's type references 1 (Gate) and 2 (Timeout).
const Bytes kModuleWaitInt = {kStatic, 2, kBool, kClass, 0x05, kI4};
const Bytes kModuleWaitTimeout = {kStatic, 2, kBool, kClass, 0x05, kClass, 0x09};
// Calls of the API: the last has no wrapper overload.
const Bytes kTargetWaitInt = {kHasThis, 1, kBool, kI4};
const Bytes kTargetWaitTimeout = {kHasThis, 1, kBool, kClass, 0x09};
const Bytes kTargetWaitString = {kHasThis, 1, kBool, kString};

WrapperAssemblyIdentity wrapperIdentity() {
    WrapperAssemblyIdentity identity;
    identity.name = kWrapperAssembly;
    for (uint16_t& part : identity.version) part = 9;
    identity.version[3] = 7;
    identity.publicKeyToken.assign(kWrapperPublicKeyToken.begin(), kWrapperPublicKeyToken.end());
    return identity;
}

class ModuleRecord : public ::testing::Test {
protected:
    ModuleRecord() {
        wrapperScope.addTypeRef(mdTokenNil, kApiClass, kWrapperGateRow);
        wrapperScope.addTypeRef(mdTokenNil, kTimeoutClass, kWrapperTimeoutRow);
        wrapperScope.addTypeRef(mdTokenNil, VESK_W("Lib.Sync.Missing"), kWrapperMissingRow);
        wrapperScope.addTypeRef(mdTokenNil, VESK_W("Lib.Sync.Pool`1"), kWrapperPoolRow);
        wrapperScope.addTypeRef(mdtTypeRef | kWrapperGateRow, VESK_W("Scope"), kWrapperScopeRow);
        wrapperScope.addTypeRef(mdTokenNil, kApiClass, kWrapperFarGateRow);
    }
    void TearDown() override {
        m_module.reset();
        EXPECT_EQ(scope.refCount.load(), 1) << "every reference the record took is given back";
        EXPECT_EQ(scope.openEnums(), 0) << "every enumeration is closed";
        EXPECT_TRUE(scope.unimplementedCalls().empty()) << scope.unimplementedCalls().front();
    }
    static std::unique_ptr<Module> recordOver(FakeMetadata& over) {
        return std::unique_ptr<Module>(
            new Module(0x7f00a0, 0x10000, 0x1000, VESK_W("/app/App.dll"), &over, &over, &over, 0, false));
    }
    Module& record() {
        if (!m_module) m_module = recordOver(scope);
        return *m_module;
    }
    Wrapper& wrapper(const std::vector<Bytes>& overloads, const vesk::WChar* method = kApiMethod,
                     const vesk::WChar* wrapperMethod = kWrapperMethod, const vesk::WChar* wrapperClass = kWrapperClass,
                     const vesk::WChar* apiClass = kApiClass) {
        ExactCopy first(overloads.at(0));
        m_wrappers.emplace_back(new Wrapper(kApiAssembly, apiClass, method, kWrapperAssembly, wrapperClass,
                                            wrapperMethod, first.data(), first.size(), &wrapperScope));
        for (size_t i = 1; i < overloads.size(); ++i) {
            ExactCopy blob(overloads[i]);
            m_wrappers.back()->addSignature(blob.data(), blob.size());
        }
        return *m_wrappers.back();
    }
    void fillTypeRefs(uint32_t fromRow, uint32_t toRow, mdToken assembly) {
        for (uint32_t row = fromRow; row <= toRow; ++row)
            scope.addTypeRef(assembly, VESK_W("Filler.T") + vesk::fromUtf8(std::to_string(row)), row);
    }
    mdToken memberRefOf(mdToken parent, const vesk::WString& name, const Bytes& sig) {
        mdToken found = mdTokenNil;
        scope.FindMemberRef(parent, name.c_str(), sig.data(), static_cast<ULONG>(sig.size()), &found);
        return found;
    }
    // Gate as type reference 1 and Timeout as 2, under the API's assembly.
    mdToken referenceTheApi() {
        const mdToken assembly = scope.addAssemblyRef(kApiAssembly);
        scope.addTypeRef(assembly, kTimeoutClass, 2);
        return scope.addTypeRef(assembly, kApiClass, 1);
    }

    FakeMetadata scope;
    FakeMetadata wrapperScope;
    std::vector<std::unique_ptr<Wrapper>> m_wrappers;

private:
    std::unique_ptr<Module> m_module;
};

// ---- which tokens name the API ------------------------------------------------------

struct FindRow {
    const char* guards;
    // Sets the module up; returns the tokens the search must find.
    std::function<std::vector<mdToken>(FakeMetadata&)> setUp;
    const vesk::WChar* assembly;
    int result;
    const vesk::WChar* method = kApiMethod;
    const vesk::WChar* cls = kApiClass;
};

TEST_F(ModuleRecord, TheTokensThatNameTheApi) {
    const Bytes sig = {kHasThis, 0, kBool};
    const vesk::WString longest(MAX_METHOD_NAME_SIZE - 1, 'W');
    auto defineGate = [&](FakeMetadata& s, const vesk::WChar* ownName) {
        s.assemblyName = ownName;
        const mdTypeDef gate = s.addTypeDef(kApiClass), other = s.addTypeDef(VESK_W("Lib.Sync.Other"));
        const mdMethodDef first = s.addMethodDef(gate, kApiMethod, sig);
        s.addMethodDef(gate, VESK_W("WaitAll"), sig);
        s.addMethodDef(other, kApiMethod, sig);
        s.addMemberRef(s.addTypeRef(s.addAssemblyRef(kApiAssembly), kApiClass), kApiMethod, sig);
        return std::vector<mdToken>{first, s.addMethodDef(gate, kApiMethod, {kHasThis, 1, kBool, kI4})};
    };
    const FindRow rows[] = {
        // A framework module defining a synchronisation type answers for its
        // own name only: answering for every surface gave one method two
        // wrappers, which ended the program.
        {"the class defined by the module, under the module's own assembly name",
         [&](FakeMetadata& s) { return defineGate(s, kApiAssembly); }, kApiAssembly, meSuccess},
        {"the class defined by the module, under another assembly's name",
         [&](FakeMetadata& s) {
             defineGate(s, VESK_W("App"));
             return std::vector<mdToken>();
         },
         kApiAssembly, meSuccess},
        {"only the reference under the named assembly, every overload, no other name",
         [&](FakeMetadata& s) {
             s.addMemberRef(s.addTypeRef(s.addAssemblyRef(VESK_W("Lib.Other")), kApiClass), kApiMethod, sig);
             const mdToken assembly = s.addAssemblyRef(kApiAssembly);
             s.addTypeRef(assembly, VESK_W("Lib.Sync.Gat"));
             const mdToken gate = s.addTypeRef(assembly, kApiClass);
             const mdToken first = s.addMemberRef(gate, kApiMethod, sig);
             for (const vesk::WChar* name : {VESK_W("WaitOne"), VESK_W("Wai"), VESK_W("wait")})
                 s.addMemberRef(gate, name, sig);
             s.addMemberRef(s.addTypeRef(assembly, VESK_W("Lib.Sync.Other")), kApiMethod, sig);
             return std::vector<mdToken>{first, s.addMemberRef(gate, kApiMethod, {kHasThis, 1, kBool, kString})};
         },
         kApiAssembly, meSuccess},
        {"a name cut by the name buffer never matches its beginning",
         [&](FakeMetadata& s) {
             const mdToken gate = s.addTypeRef(s.addAssemblyRef(kApiAssembly), kApiClass);
             const mdToken fits = s.addMemberRef(gate, longest, sig);
             s.addMemberRef(gate, longest + VESK_W("x"), sig);
             s.addMemberRef(gate, longest + vesk::WString(200, 'x'), sig);
             return std::vector<mdToken>{fits};
         },
         kApiAssembly, meSuccess, longest.c_str()},
        {"a reference that cannot be read fails the search, no partial answer",
         [&](FakeMetadata& s) {
             const mdToken gate = s.addTypeRef(s.addAssemblyRef(kApiAssembly), kApiClass);
             s.addMemberRef(gate, kApiMethod, sig);
             s.memberRefs[RidFromToken(s.addMemberRef(gate, kApiMethod, sig))].failure = E_FAIL;
             return std::vector<mdToken>();
         },
         kApiAssembly, meFailure},
        {"a nested type through its own outer type, not another's of the same inner name",
         [&](FakeMetadata& s) {
             const mdToken assembly = s.addAssemblyRef(kApiAssembly);
             const mdToken other = s.addTypeRef(s.addTypeRef(assembly, VESK_W("Lib.Sync.Other")), VESK_W("Scope"));
             s.addMemberRef(other, VESK_W("Dispose"), {kHasThis, 0, kVoid});
             const mdToken scope = s.addTypeRef(s.addTypeRef(assembly, kApiClass), VESK_W("Scope"));
             return std::vector<mdToken>{s.addMemberRef(scope, VESK_W("Dispose"), {kHasThis, 0, kVoid})};
         },
         kApiAssembly, meSuccess, VESK_W("Dispose"), VESK_W("Lib.Sync.Gate+Scope")},
        {"a nested type of an outer type the module lacks",
         [&](FakeMetadata& s) {
             const mdToken assembly = s.addAssemblyRef(kApiAssembly);
             s.addMemberRef(s.addTypeRef(assembly, VESK_W("Scope")), VESK_W("Dispose"), {kHasThis, 0, kVoid});
             return std::vector<mdToken>();
         },
         kApiAssembly, meSuccess, VESK_W("Dispose"), VESK_W("Lib.Sync.Missing+Scope")},
    };
    for (const FindRow& row : rows) {
        FakeMetadata module;
        const std::vector<mdToken> expected = row.setUp(module);
        std::vector<mdToken> found = {0x0A00BEEF};  // left over from an earlier search
        EXPECT_EQ(recordOver(module)->findSyncApiTokens(row.assembly, row.cls, row.method, found), row.result)
            << row.guards;
        EXPECT_EQ(found, expected) << row.guards;
        // A module load skips every module the quick test rules out: it must
        // never rule out one the search finds something in.
        if (!found.empty()) {
            EXPECT_TRUE(recordOver(module)->mayName({{row.assembly, row.cls}})[0]) << row.guards;
        }
        EXPECT_EQ(module.openEnums(), 0) << row.guards;
    }
}

// A module load asks for every wrapped method of a class at once: the
// runtime reads all of a module's member references to find one type's.
TEST_F(ModuleRecord, EveryMethodOfAClassFromOnePassOverItsReferences) {
    FakeMetadata module;
    const Bytes sig = {kHasThis, 0, kBool};
    const mdToken gate = module.addTypeRef(module.addAssemblyRef(kApiAssembly), kApiClass);
    const mdToken wait = module.addMemberRef(gate, kApiMethod, sig);
    const mdToken set = module.addMemberRef(gate, VESK_W("Set"), sig);
    const mdToken waitAgain = module.addMemberRef(gate, kApiMethod, {kHasThis, 1, kBool, kI4});
    std::vector<std::vector<mdToken>> found;
    mdToken apiType = mdTokenNil;
    EXPECT_EQ(recordOver(module)->findSyncApiTokens(kApiAssembly, kApiClass, {kApiMethod, VESK_W("Reset"), VESK_W("Set")},
                                                    found, &apiType),
              meSuccess);
    EXPECT_EQ(found, (std::vector<std::vector<mdToken>>{{wait, waitAgain}, {}, {set}}));
    EXPECT_EQ(apiType, gate);
    EXPECT_EQ(module.calls("EnumMemberRefs"), 2) << "one enumeration: a batch, then the empty one that ends it";
    EXPECT_EQ(module.openEnums(), 0);
}

// A module the quick test rules out is never searched: it must not rule out
// one that can name the class.
TEST_F(ModuleRecord, AModuleThatMayNameTheClassIsNotRuledOut) {
    FakeMetadata module;
    module.addTypeRef(module.addAssemblyRef(VESK_W("Lib.Other")), kApiClass);
    module.addTypeRef(module.addAssemblyRef(kApiAssembly), VESK_W("Lib.Sync.Gat"));
    module.addTypeDef(VESK_W("Lib.Sync.Latch"));
    const std::vector<Module::ClassName> classes = {{kApiAssembly, kApiClass},
                                                    {kApiAssembly, VESK_W("Lib.Sync.Gate+Waiter")},
                                                    {VESK_W("Lib.Other"), kApiClass},
                                                    {kApiAssembly, VESK_W("Lib.Sync.Latch")},
                                                    {VESK_W("Lib.Third"), VESK_W("Lib.Sync.Gat")}};
    EXPECT_EQ(recordOver(module)->mayName(classes), (std::vector<bool>{false, false, true, true, false}))
        << "a class is named only through a reference to its own assembly, or by the module's definition";
    module.addTypeRef(module.addAssemblyRef(kApiAssembly), kApiClass);  // under a second reference to the assembly
    EXPECT_EQ(recordOver(module)->mayName(classes), (std::vector<bool>{true, true, true, true, false}))
        << "a nested class goes by its outer class";
}

// ---- re-encoding a wrapper overload's blob ------------------------------------------

struct TranslateRow {
    const char* guards;
    std::function<void(FakeMetadata&, mdToken)> setUp;  // given the API's assembly reference
    Bytes wrapperBlob;
    uint32_t capacity;
    bool ok;
    Bytes expected;
};

TEST_F(ModuleRecord, AWrapperBlobIsReEncodedWithTheModulesTokens) {
    const Bytes gateInt = cat({{kStatic, 2, kVoid}, classRef(kWrapperGateRow), {kI4}});
    auto gateAt = [this](uint32_t row) {
        return [this, row](FakeMetadata& s, mdToken assembly) {
            fillTypeRefs(1, row - 1, assembly);
            s.addTypeRef(assembly, kApiClass, row);
        };
    };
    const TranslateRow rows[] = {
        {"a row below 0x20 takes one byte", gateAt(0x1F), gateInt, MAX_SIGNATURE_SIZE, true,
         {kStatic, 2, kVoid, kClass, 0x7D, kI4}},
        {"a row from 0x20 takes two bytes and the rest moves along", gateAt(0x20), gateInt, MAX_SIGNATURE_SIZE, true,
         {kStatic, 2, kVoid, kClass, 0x80, 0x81, kI4}},
        {"a row from 0x1000 takes four bytes", gateAt(0x1000), gateInt, MAX_SIGNATURE_SIZE, true,
         {kStatic, 2, kVoid, kClass, 0xC0, 0x00, 0x40, 0x01, kI4}},
        {"a four-byte wrapper token shrinks to one", gateAt(1),
         cat({{kStatic, 2, kVoid}, classRef(kWrapperFarGateRow), {kSzArray, kI4}}), MAX_SIGNATURE_SIZE, true,
         {kStatic, 2, kVoid, kClass, 0x05, kSzArray, kI4}},
        {"a type the module defines is written as its definition",
         [](FakeMetadata& s, mdToken assembly) {
             s.addTypeRef(assembly, kApiClass);
             s.addTypeDef(VESK_W("<Module>"));
             s.addTypeDef(VESK_W("Lib.Sync.Other"));
             s.addTypeDef(kApiClass);
         },
         gateInt, MAX_SIGNATURE_SIZE, true, {kStatic, 2, kVoid, kClass, 0x0C, kI4}},
        {"a type the module lacks fails",
         [](FakeMetadata& s, mdToken assembly) {
             s.addTypeRef(assembly, kApiClass);
             s.addTypeRef(assembly, VESK_W("Lib.Sync.Missin"));
             s.addTypeDef(VESK_W("lib.sync.missing"));
         },
         cat({{kStatic, 2, kVoid}, classRef(kWrapperGateRow), classRef(kWrapperMissingRow)}), MAX_SIGNATURE_SIZE,
         false, {}},
        {"every slot is translated and the bytes between stay",
         [this](FakeMetadata& s, mdToken assembly) {
             fillTypeRefs(1, 4, assembly);
             s.addTypeRef(assembly, kTimeoutClass, 5);
             s.addTypeRef(assembly, VESK_W("Lib.Sync.Pool`1"), 6);
             fillTypeRefs(7, 0x1F, assembly);
             s.addTypeRef(assembly, kApiClass, 0x20);
         },
         cat({{kStatic, 4, kVoid}, classRef(kWrapperGateRow), {kValueType}, typeRefCoded(kWrapperTimeoutRow),
              {kSzArray, kI4, kGenericInst}, classRef(kWrapperPoolRow), {1, kValueType},
              typeRefCoded(kWrapperTimeoutRow)}),
         MAX_SIGNATURE_SIZE, true,
         {kStatic, 4, kVoid, kClass, 0x80, 0x81, kValueType, 0x15, kSzArray, kI4, kGenericInst, kClass, 0x19, 1,
          kValueType, 0x15}},
        {"a nested type through its own outer type",
         [](FakeMetadata& s, mdToken assembly) {
             s.addTypeRef(s.addTypeRef(assembly, VESK_W("Lib.Sync.Other"), 1), VESK_W("Scope"), 2);
             s.addTypeRef(s.addTypeRef(assembly, kApiClass, 3), VESK_W("Scope"), 4);
         },
         cat({{kStatic, 1, kVoid, kValueType}, typeRefCoded(kWrapperScopeRow)}), MAX_SIGNATURE_SIZE, true,
         {kStatic, 1, kVoid, kValueType, 0x11}},
        {"output exactly filling the capacity", gateAt(0x20), gateInt, 7, true,
         {kStatic, 2, kVoid, kClass, 0x80, 0x81, kI4}},
        {"one byte short", gateAt(0x20), gateInt, 6, false, {}},
        {"short inside the token", gateAt(0x20), gateInt, 4, false, {}},
    };
    for (const TranslateRow& row : rows) {
        SCOPED_TRACE(row.guards);
        scope.typeRefs.clear();
        scope.typeDefs.clear();
        row.setUp(scope, scope.addAssemblyRef(kApiAssembly));
        const signature& sig = *IteratorHolder<signature*>(wrapper({row.wrapperBlob}).getSignatures())->current();
        // Into a buffer of exactly the capacity, so the sanitizer sees any
        // write past it.
        std::unique_ptr<uint8_t[]> out(new uint8_t[row.capacity]);
        uint32_t length = row.capacity;
        ASSERT_EQ(record().translateSignature(sig, out.get(), &length), row.ok);
        if (row.ok) {
            EXPECT_EQ(Bytes(out.get(), out.get() + length), row.expected);
        }
    }
}

// ---- references the module gains ----------------------------------------------------

TEST_F(ModuleRecord, AModuleWithoutTheWrapperAssemblyGainsItsReferenceOnceAndARefPerOverload) {
    const mdToken gate = referenceTheApi();
    const mdToken waitInt = scope.addMemberRef(gate, kApiMethod, kTargetWaitInt);
    const mdToken waitTimeout = scope.addMemberRef(gate, kApiMethod, kTargetWaitTimeout);
    const mdToken waitAllInt = scope.addMemberRef(gate, VESK_W("WaitAll"), kTargetWaitInt);
    const mdToken enterInt = scope.addMemberRef(gate, VESK_W("Enter"), kTargetWaitInt);
    record().redirectTokens(&wrapper({kWrapperWaitInt, kWrapperWaitTimeout}), {waitInt, waitTimeout});
    record().redirectTokens(&wrapper({kWrapperWaitInt}, VESK_W("WaitAll"), VESK_W("WaitAll")), {waitAllInt});
    record().redirectTokens(
        &wrapper({kWrapperWaitInt}, VESK_W("Enter"), VESK_W("Enter"), VESK_W("Veskmrte.Wrappers.Latch")), {enterInt});
    auto ref = [&](mdToken target) { return record().wrapperRefFor(target, wrapperIdentity(), [] { return true; }); };

    EXPECT_EQ(ref(waitInt), mdtMemberRef | 5u);
    ASSERT_EQ(scope.assemblyRefs.size(), 2u);
    const AssemblyRefRow& added = scope.assemblyRefs.at(2);
    EXPECT_EQ(added.name, kWrapperAssembly);
    EXPECT_EQ(added.publicKeyOrToken, (Bytes{0x6d, 0x2c, 0xb8, 0x78, 0x5b, 0xd9, 0x0e, 0x43}));
    ASSERT_TRUE(added.hadMetadata);
    EXPECT_EQ((std::vector<int>{9, 9, 9, 7}), (std::vector<int>{added.metadata.usMajorVersion,
              added.metadata.usMinorVersion, added.metadata.usBuildNumber, added.metadata.usRevisionNumber}));
    EXPECT_EQ(added.metadata.szLocale, nullptr);
    EXPECT_FALSE(added.hashPointerGiven);
    ASSERT_EQ(scope.typeRefs.size(), 3u);
    EXPECT_EQ(scope.typeRefs.at(3).scope, mdtAssemblyRef | 2u);
    EXPECT_EQ(scope.typeRefs.at(3).name, kWrapperClass);
    EXPECT_EQ(memberRefOf(mdtTypeRef | 3u, kWrapperMethod, kModuleWaitInt), mdtMemberRef | 5u);

    EXPECT_EQ(ref(waitTimeout), mdtMemberRef | 6u);
    EXPECT_EQ(memberRefOf(mdtTypeRef | 3u, kWrapperMethod, kModuleWaitTimeout), mdtMemberRef | 6u);
    EXPECT_EQ(ref(waitAllInt), mdtMemberRef | 7u);
    EXPECT_EQ(ref(enterInt), mdtMemberRef | 8u);
    EXPECT_EQ(scope.calls("DefineAssemblyRef"), 1);
    ASSERT_EQ(scope.typeRefs.size(), 4u) << "one more wrapper class";
    EXPECT_EQ(scope.memberRefs.at(7).parent, mdtTypeRef | 3u);
    EXPECT_EQ(scope.memberRefs.at(8).parent, mdtTypeRef | 4u);
}

TEST_F(ModuleRecord, ReferencesTheModuleHoldsAreFoundNotDefinedAgain) {
    const mdToken gate = referenceTheApi();
    const mdToken wrapperType = scope.addTypeRef(scope.addAssemblyRef(kWrapperAssembly), kWrapperClass);
    const mdToken present = scope.addMemberRef(wrapperType, kWrapperMethod, kModuleWaitInt);
    const mdToken target = scope.addMemberRef(gate, kApiMethod, kTargetWaitInt);
    record().redirectTokens(&wrapper({kWrapperWaitInt, kWrapperWaitTimeout}), {target});
    EXPECT_EQ(record().wrapperRefFor(target, wrapperIdentity(), [] { return true; }), present);
    EXPECT_EQ(scope.calls("DefineAssemblyRef") + scope.calls("DefineTypeRefByName") + scope.calls("DefineMemberRef"),
              0);
}

TEST_F(ModuleRecord, WithoutTheAssemblyEmitInterfaceNothingIsDefinedAndCallsStay) {
    const mdToken target = scope.addMemberRef(referenceTheApi(), kApiMethod, kTargetWaitInt);
    scope.offersAssemblyEmit = false;
    record().redirectTokens(&wrapper({kWrapperWaitInt}), {target});
    EXPECT_EQ(record().wrapperRefFor(target, wrapperIdentity(), [] { return true; }), mdTokenNil);
    EXPECT_EQ(scope.memberRefs.size(), 1u);
}

// ---- which reference replaces a call target ------------------------------------------

class Redirection : public ModuleRecord {
protected:
    void SetUp() override {
        const mdToken gate = referenceTheApi();
        // More references than the wrapper has overloads, the one that fits
        // none first: a module load keeps them all, not as many as there are
        // overloads, or the later ones are never redirected.
        waitString = scope.addMemberRef(gate, kApiMethod, kTargetWaitString);
        waitInt = scope.addMemberRef(gate, kApiMethod, kTargetWaitInt);
        waitOne = scope.addMemberRef(gate, VESK_W("WaitOne"), kTargetWaitInt);
        waitTimeout = scope.addMemberRef(gate, kApiMethod, kTargetWaitTimeout);
        Wrapper& w = wrapper({kWrapperWaitInt, kWrapperWaitTimeout});
        std::vector<mdToken> tokens;
        ASSERT_EQ(record().findSyncApiTokens(kApiAssembly, kApiClass, kApiMethod, tokens), meSuccess);
        ASSERT_EQ(tokens, (std::vector<mdToken>{waitString, waitInt, waitTimeout}));
        record().redirectTokens(&w, tokens);
    }
    mdToken ref(mdToken target) {
        return record().wrapperRefFor(target, wrapperIdentity(), [] { return true; });
    }
    mdToken refTo(const Bytes& overload) { return memberRefOf(mdtTypeRef | 3u, kWrapperMethod, overload); }
    mdToken waitInt = 0, waitOne = 0, waitTimeout = 0, waitString = 0;
};

TEST_F(Redirection, EachTargetGetsItsOverloadsReferenceDefinedWhenFirstNeeded) {
    EXPECT_EQ(scope.calls("DefineMemberRef"), 0) << "nothing is defined before a call site needs it";
    const mdToken refWaitInt = ref(waitInt);
    ASSERT_NE(refWaitInt, mdTokenNil);
    EXPECT_EQ(refWaitInt, refTo(kModuleWaitInt));
    EXPECT_EQ(refTo(kModuleWaitTimeout), mdTokenNil) << "only the overload a call site needs";
    for (int round = 0; round < 2; ++round) {  // the second from what the first remembered
        EXPECT_EQ(ref(waitInt), refWaitInt);
        const mdToken refWaitTimeout = ref(waitTimeout);
        EXPECT_NE(refWaitTimeout, mdTokenNil);
        EXPECT_EQ(refWaitTimeout, refTo(kModuleWaitTimeout));
        EXPECT_EQ(ref(waitString), mdTokenNil) << "fits no overload: stays as it is";
        EXPECT_EQ(ref(waitOne), mdTokenNil) << "names no redirected API";
        EXPECT_EQ(ref(refWaitInt), mdTokenNil) << "a wrapper reference itself";
    }
    EXPECT_EQ(scope.calls("DefineMemberRef"), 2) << "one reference per overload";
    EXPECT_TRUE(record().isSyncApiToken(waitInt));
    EXPECT_FALSE(record().isSyncApiToken(waitOne));
}

TEST_F(ModuleRecord, AReadOnlyModuleIsOpenedForWritingOnceByItsFirstRedirectedCall) {
    const mdToken target = scope.addMemberRef(referenceTheApi(), kApiMethod, kTargetWaitInt);
    Wrapper& w = wrapper({kWrapperWaitInt});
    int opened = 0;
    std::unique_ptr<Module> refused(new Module(0x7f00a0, 0x10000, 0x1000, VESK_W("/app/App.dll"), &scope, &scope,
                                               nullptr, 0, false));
    refused->redirectTokens(&w, {target});
    for (int call = 0; call < 2; ++call) {
        EXPECT_EQ(refused->wrapperRefFor(target, wrapperIdentity(), [&] { return ++opened, false; }), mdTokenNil);
    }
    EXPECT_EQ(opened, 1) << "a refusal is not asked again";
    std::unique_ptr<Module> opens(new Module(0x7f00b0, 0x10000, 0x1000, VESK_W("/app/Other.dll"), &scope, &scope,
                                             nullptr, 0, false));
    opens->redirectTokens(&w, {target});
    auto open = [&] {
        ++opened;
        opens->useWritableMetaData(&scope, &scope, &scope);
        return true;
    };
    const mdToken first = opens->wrapperRefFor(target, wrapperIdentity(), open);
    EXPECT_NE(first, mdTokenNil);
    EXPECT_EQ(opens->wrapperRefFor(target, wrapperIdentity(), open), first);
    EXPECT_EQ(opened, 2);
}

TEST_F(Redirection, ATargetWhoseSignatureCannotBeReadStaysAsItIs) {
    scope.memberRefs[RidFromToken(waitInt)].failure = E_FAIL;
    EXPECT_EQ(ref(waitInt), mdTokenNil);
    const mdToken refWaitTimeout = ref(waitTimeout);
    EXPECT_NE(refWaitTimeout, mdTokenNil);
    EXPECT_EQ(refWaitTimeout, refTo(kModuleWaitTimeout));
}

TEST_F(Redirection, ManyThreadsAskingAtOnceDefineEachReferenceOnce) {
    const mdToken asked[] = {waitInt, waitTimeout, waitString, waitOne};
    std::atomic<bool> go{false};
    std::vector<std::vector<mdToken>> answers(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            while (!go.load()) std::this_thread::yield();
            for (int i = 0; i < 300; ++i) answers[t].push_back(ref(asked[(i + t) % 4]));
        });
    go = true;
    for (std::thread& thread : threads) thread.join();
    const mdToken expected[] = {refTo(kModuleWaitInt), refTo(kModuleWaitTimeout), mdTokenNil, mdTokenNil};
    ASSERT_NE(expected[0], mdTokenNil);
    ASSERT_NE(expected[1], mdTokenNil);
    int wrong = 0;
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 300; ++i) wrong += answers[t][i] != expected[(i + t) % 4];
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(scope.calls("DefineMemberRef"), 2);
}

// ---- generic call targets -----------------------------------------------------------

const uint8_t kGenericSig = 0x10, kVar = 0x13, kMVar = 0x1E, kByRef = 0x10, kMethodInst = 0x0A;
const vesk::WChar kPoolClass[] = VESK_W("Lib.Sync.Pool`1");
const vesk::WChar kPoolWrapperClass[] = VESK_W("Veskmrte.Wrappers.Pool");

TEST(GenericInstance, OnlyWholeGenericInstancesAreRead) {
    struct Row {
        const char* guards;
        Bytes blob;
        bool type;  // read as a TypeSpec, else as a MethodSpec
        bool ok;
        uint32_t genericType = 0, count = 0;
        Bytes args = {};
    };
    const Row rows[] = {
        {"a class instance", cat({{kGenericInst, kClass}, typeRefCoded(3), {2, kI4, kString}}), true, true,
         typeRefToken(3), 2, {kI4, kString}},
        {"a value type of this module, its row in two bytes",
         cat({{kGenericInst, kValueType}, typeDefCoded(0x40), {1, kBool}}), true, true, typeDefToken(0x40), 1, {kBool}},
        {"an instance of a TypeSpec-coded type", cat({{kGenericInst, kClass}, typeSpecCoded(1), {1, kI4}}), true, false},
        {"no arguments", cat({{kGenericInst, kClass}, typeRefCoded(3), {0}}), true, false},
        {"ends after the count", cat({{kGenericInst, kClass}, typeRefCoded(3), {1}}), true, false},
        {"ends inside the token", {kGenericInst, kClass, 0x80}, true, false},
        {"not generic", cat({{kClass}, typeRefCoded(3)}), true, false},
        {"a method instantiation", {kMethodInst, 2, kI4, kString}, false, true, 0, 2, {kI4, kString}},
        {"a method signature", {kGenericSig, 1, 0, kVoid}, false, false},
        {"an instantiation that ends after its count", {kMethodInst, 1}, false, false},
    };
    for (const Row& row : rows) {
        ExactCopy blob(row.blob);
        TypeArguments read;
        const bool ok = row.type ? readTypeInstance(blob.data(), blob.size(), read)
                                 : readMethodInstance(blob.data(), blob.size(), read);
        EXPECT_EQ(ok, row.ok) << row.guards;
        if (ok && row.ok) {
            EXPECT_EQ(read.genericType, row.genericType) << row.guards;
            EXPECT_EQ(read.count, row.count) << row.guards;
            EXPECT_EQ(read.bytes, row.args) << row.guards;
        }
    }
}

// A generic class Pool`1 and the class Gate, named by the module; the
// wrapper of a Pool<T> member takes the class's parameter first.
class GenericRedirection : public ModuleRecord {
protected:
    void SetUp() override {
        const mdToken assembly = scope.addAssemblyRef(kApiAssembly);
        const mdToken gate = scope.addTypeRef(assembly, kApiClass, 1);
        scope.addTypeRef(assembly, kPoolClass, 2);
        scope.addTypeRef(scope.addAssemblyRef(VESK_W("Lib.Other")), VESK_W("Lib.Other.List`1"), 3);
        const mdToken poolOfInt = scope.addTypeSpec(cat({{kGenericInst, kClass}, typeRefCoded(2), {1, kI4}}));
        const mdToken listOfInt = scope.addTypeSpec(cat({{kGenericInst, kClass}, typeRefCoded(3), {1, kI4}}));
        take = scope.addMemberRef(poolOfInt, VESK_W("Take"), {kHasThis, 0, kVar, 0});
        give = scope.addMemberRef(poolOfInt, VESK_W("Give"), {kHasThis, 1, kVoid, kVar, 0});
        listTake = scope.addMemberRef(listOfInt, VESK_W("Take"), {kHasThis, 0, kVar, 0});
        const mdToken map = scope.addMemberRef(poolOfInt, VESK_W("Map"), {kHasThis | kGenericSig, 1, 1, kMVar, 0, kVar, 0});
        const mdToken swap = scope.addMemberRef(gate, VESK_W("Swap"), {kGenericSig, 1, 2, kMVar, 0, kByRef, kMVar, 0, kMVar, 0});
        swapString = scope.addMethodSpec(swap, {kMethodInst, 1, kString});
        swapInt = scope.addMethodSpec(swap, {kMethodInst, 1, kI4});
        mapString = scope.addMethodSpec(map, {kMethodInst, 1, kString});
        const Bytes poolOfT = cat({{kGenericInst}, classRef(kWrapperPoolRow), {1, kMVar, 0}});
        adopt(wrapper({cat({{kGenericSig, 1, 1, kMVar, 0}, poolOfT})}, VESK_W("Take"), VESK_W("Take"), kPoolWrapperClass,
                      kPoolClass));
        adopt(wrapper({cat({{kGenericSig, 2, 2, kMVar, 1}, poolOfT, {kMVar, 0}})}, VESK_W("Map"), VESK_W("Map"),
                      kPoolWrapperClass, kPoolClass));
        adopt(wrapper({{kGenericSig, 1, 2, kMVar, 0, kByRef, kMVar, 0, kMVar, 0}}, VESK_W("Swap"), VESK_W("Swap")));
    }
    void adopt(Wrapper& w) {
        std::vector<mdToken> tokens;
        mdToken type = mdTokenNil;
        ASSERT_EQ(record().findSyncApiTokens(kApiAssembly, w.getOriginalApiClass(), w.getOriginalApiMethod(), tokens,
                                             &type),
                  meSuccess);
        record().redirectTokens(&w, tokens, type);
    }
    mdToken ref(mdToken target) {
        return record().wrapperRefFor(target, wrapperIdentity(), [] { return true; });
    }
    // The instantiation a replacement names: its wrapper reference's name and
    // the type arguments.
    std::pair<vesk::WString, Bytes> instantiation(mdToken instance) {
        if (TypeFromToken(instance) != mdtMethodSpec) return {};
        const auto& row = scope.methodSpecs.at(RidFromToken(instance));
        return {scope.memberRefs.at(RidFromToken(row.first)).name, row.second};
    }
    mdToken take = 0, give = 0, listTake = 0, swapString = 0, swapInt = 0, mapString = 0;
};

TEST_F(GenericRedirection, GenericTargetsCallTheWrapperWithTheSameTypeArguments) {
    using Named = std::pair<vesk::WString, Bytes>;
    for (int round = 0; round < 2; ++round) {  // the second from what the first remembered
        EXPECT_EQ(instantiation(ref(take)), Named(VESK_W("Take"), Bytes({kMethodInst, 1, kI4}))) << "Pool<int>.Take";
        EXPECT_EQ(instantiation(ref(swapString)), Named(VESK_W("Swap"), Bytes({kMethodInst, 1, kString})));
        EXPECT_EQ(instantiation(ref(swapInt)), Named(VESK_W("Swap"), Bytes({kMethodInst, 1, kI4})));
        EXPECT_EQ(instantiation(ref(mapString)), Named(VESK_W("Map"), Bytes({kMethodInst, 2, kI4, kString})))
            << "the class's arguments, then the method's";
        EXPECT_EQ(ref(give), mdTokenNil) << "a member without a wrapper";
        EXPECT_EQ(ref(listTake), mdTokenNil) << "the same name on another generic class";
    }
    EXPECT_EQ(scope.calls("DefineMemberRef"), 3) << "one reference per wrapper overload";
    EXPECT_EQ(scope.calls("DefineMethodSpec"), 4) << "one instantiation per call target";
    EXPECT_TRUE(record().isSyncApiToken(mapString));
    EXPECT_TRUE(record().isSyncApiToken(take));
    EXPECT_FALSE(record().isSyncApiToken(listTake));
    const int looked = scope.calls("GetMemberRefProps");
    EXPECT_FALSE(record().isSyncApiToken(listTake));
    EXPECT_EQ(scope.calls("GetMemberRefProps"), looked) << "a member of another generic class is looked at once";
    const mdToken other = scope.addMethodSpec(listTake, {kMethodInst, 1, kI4});
    EXPECT_EQ(ref(other), mdTokenNil);
    const int instantiations = scope.calls("GetMethodSpecProps");
    EXPECT_FALSE(record().isSyncApiToken(other));
    EXPECT_EQ(ref(other), mdTokenNil);
    EXPECT_EQ(scope.calls("GetMethodSpecProps"), instantiations) << "another method's instantiation is looked at once";
}

// A compilation whose body calls no redirected API skips the engine: the
// quick look must never miss a call the engine would rewrite.
TEST_F(GenericRedirection, ABodyMayCallTheApiUntilEveryTargetInItIsKnownNotToBeOne) {
    auto body = [](std::initializer_list<std::pair<uint8_t, mdToken>> calls) {
        Bytes il = {0x00, 0x02};  // nop, ldarg.0
        for (const auto& call : calls) {
            il.push_back(call.first);
            for (int shift = 0; shift < 32; shift += 8) il.push_back(static_cast<uint8_t>(call.second >> shift));
        }
        il.push_back(0x2A);  // ret
        return il;
    };
    auto may = [&](const Bytes& il) { return record().mayCallApi(il.data(), il.size()); };
    const mdToken swap = scope.methodSpecs.at(RidFromToken(swapInt)).first;
    const mdToken otherSpec = scope.addMethodSpec(listTake, {kMethodInst, 1, kI4});
    EXPECT_TRUE(may(body({{0x6F, listTake}}))) << "a member of a generic instance not looked at yet";
    EXPECT_TRUE(may(body({{0x28, otherSpec}}))) << "an instantiation not looked at yet";
    EXPECT_TRUE(may(body({{0x28, swap}}))) << "a reference naming the API";
    ref(listTake);
    ref(otherSpec);
    ref(take);
    EXPECT_FALSE(may(body({{0x6F, listTake}, {0x28, otherSpec}, {0x28, 0x06000001}, {0x73, 0x01000002}})));
    EXPECT_TRUE(may(body({{0x6F, listTake}, {0x6F, take}}))) << "a member of the API class's instance";
    Bytes cut = body({{0x28, swap}});
    cut.resize(cut.size() - 2);
    EXPECT_FALSE(may(cut)) << "an operand past the end is no call";
}

}  // namespace
