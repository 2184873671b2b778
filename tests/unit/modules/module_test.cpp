// The per-module record's metadata work, against a fake module scope: which
// tokens name a redirected API, how a wrapper overload's blob is re-encoded
// with the module's tokens, which references the module gains, and which
// reference replaces a call target.
#include "clrprof/debug_log.h"
#include "clrprof/module.h"
#include "clrprof/result.h"
#include "clrprof/signature_parser.h"
#include "clrprof/wrapper.h"
#include "clrprof/wrapper_manager.h"
#include "pal/pal.h"

#include "../wrappers/blob_bytes.h"
#include "../wrappers/fake_metadata.h"
#include "fake_module_scope.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace veskmrte_1_0;
using module_testing::FakeModuleScope;
using testing_support::Bytes;
using testing_support::cat;
using testing_support::typeRefCoded;
using testing_support::typeRefToken;

namespace {

// ---- the debug log ----------------------------------------------------------

// The log is decided once per process at its first use, so it is pointed at
// a file of this process before any test runs.
std::string logPath() {
    return ::testing::TempDir() + "module_test-" + std::to_string(getpid()) + ".log";
}

class DebugLogFile : public ::testing::Environment {
public:
    void SetUp() override {
        std::remove(logPath().c_str());
        setenv("VESKMRTE_DEBUG", logPath().c_str(), 1);
    }
    void TearDown() override { std::remove(logPath().c_str()); }
};

[[maybe_unused]] ::testing::Environment* const g_debugLogFile = ::testing::AddGlobalTestEnvironment(new DebugLogFile);

std::string readLog() {
    std::ifstream in(logPath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines logged since it was made.
class LogWatch {
public:
    LogWatch() : m_start(readLog().size()) {}

    std::vector<std::string> lines() const {
        std::vector<std::string> all;
        std::istringstream text(readLog().substr(m_start));
        for (std::string line; std::getline(text, line);) all.push_back(line);
        return all;
    }
    int countStartingWith(const std::string& prefix) const {
        int n = 0;
        for (const std::string& line : lines())
            if (line.compare(0, prefix.size(), prefix) == 0) ++n;
        return n;
    }

private:
    size_t m_start;
};

// ---- names and blobs ----------------------------------------------------------

const vesk::WChar kApiAssembly[] = VESK_W("Lib.Sync");
const vesk::WChar kApiClass[] = VESK_W("Lib.Sync.Gate");
const vesk::WChar kApiMethod[] = VESK_W("Wait");
const vesk::WChar kTimeoutClass[] = VESK_W("Lib.Sync.Timeout");
const vesk::WChar kMissingClass[] = VESK_W("Lib.Sync.Missing");
const vesk::WChar kPoolClass[] = VESK_W("Lib.Sync.Pool`1");
const vesk::WChar kWrapperAssembly[] = VESK_W("veskmrte_clr40wrap");
const vesk::WChar kWrapperClass[] = VESK_W("Veskmrte.Wrappers.Gate");
const vesk::WChar kWrapperMethod[] = VESK_W("Wait");

const uint8_t kStatic = 0x00;
const uint8_t kHasThis = 0x20;
const uint8_t kVoid = 0x01;
const uint8_t kBool = 0x02;
const uint8_t kI4 = 0x08;
const uint8_t kString = 0x0E;
const uint8_t kValueType = 0x11;
const uint8_t kClass = 0x12;
const uint8_t kGenericInst = 0x15;
const uint8_t kSzArray = 0x1D;

// Rows of the wrapper assembly's own type references.
const uint32_t kWrapperGateRow = 1;
const uint32_t kWrapperTimeoutRow = 2;
const uint32_t kWrapperMissingRow = 3;
const uint32_t kWrapperPoolRow = 4;
const uint32_t kWrapperFarGateRow = 0x1000;  // written in four bytes

Bytes classRef(uint32_t row) { return cat({{kClass}, typeRefCoded(row)}); }

// The wrapper of the instance method "bool Wait(int32)": the instance comes
// first.
Bytes wrapperWaitInt() { return cat({{kStatic, 2, kBool}, classRef(kWrapperGateRow), {kI4}}); }
// The wrapper of "bool Wait(Timeout)".
Bytes wrapperWaitTimeout() { return cat({{kStatic, 2, kBool}, classRef(kWrapperGateRow), classRef(kWrapperTimeoutRow)}); }

WrapperAssemblyIdentity wrapperIdentity() {
    WrapperAssemblyIdentity identity;
    identity.name = kWrapperAssembly;
    for (uint16_t& part : identity.version) part = 9;
    identity.publicKeyToken.assign(kWrapperPublicKeyToken.begin(), kWrapperPublicKeyToken.end());
    return identity;
}

std::vector<signature*> overloadsOf(const Wrapper& wrapper) {
    std::vector<signature*> all;
    IteratorHolder<signature*> it(wrapper.getSignatures());
    for (it->reset(); !it->atEnd(); it->next()) all.push_back(it->current());
    return all;
}

struct Translation {
    bool ok = false;
    Bytes bytes;
};

std::string joined(const std::vector<std::string>& names) {
    std::string all;
    for (const std::string& name : names) all += name + " ";
    return all;
}

// ---- the fixture ------------------------------------------------------------

class ModuleRecord : public ::testing::Test {
protected:
    ModuleRecord() {
        // The wrapper assembly names the API's types by its own references.
        m_wrapperImport.addTypeRef(typeRefToken(kWrapperGateRow), kApiClass);
        m_wrapperImport.addTypeRef(typeRefToken(kWrapperTimeoutRow), kTimeoutClass);
        m_wrapperImport.addTypeRef(typeRefToken(kWrapperMissingRow), kMissingClass);
        m_wrapperImport.addTypeRef(typeRefToken(kWrapperPoolRow), kPoolClass);
        m_wrapperImport.addTypeRef(typeRefToken(kWrapperFarGateRow), kApiClass);
        m_baseRefs = scope.refCount.load();
    }

    void TearDown() override {
        m_module.reset();
        EXPECT_EQ(scope.refCount.load(), m_baseRefs) << "every reference the record took is given back";
        EXPECT_EQ(scope.openEnums(), 0) << "every enumeration is closed";
        EXPECT_TRUE(scope.unimplementedCalls().empty()) << joined(scope.unimplementedCalls());
    }

    static std::unique_ptr<Module> freshRecord(FakeModuleScope& over) {
        return std::unique_ptr<Module>(
            new Module(0x7f00a0, 0x10000, 0x1000, VESK_W("/app/App.dll"), &over, &over, &over, 0, false));
    }

    Module& record() {
        if (!m_module)
            m_module.reset(new Module(0x7f00a0, 0x10000, 0x1000, VESK_W("/app/App.dll"), &scope, &scope, &scope, 0,
                                      false));
        return *m_module;
    }

    Wrapper& wrapper(const std::vector<Bytes>& overloads, const vesk::WChar* wrapperClass = kWrapperClass,
                     const vesk::WChar* method = kApiMethod, const vesk::WChar* wrapperMethod = kWrapperMethod) {
        testing_support::ExactCopy first(overloads.at(0));
        m_wrappers.emplace_back(new Wrapper(kApiAssembly, kApiClass, method, kWrapperAssembly, wrapperClass,
                                            wrapperMethod, first.data(), first.size(), &m_wrapperImport));
        for (size_t i = 1; i < overloads.size(); ++i) {
            testing_support::ExactCopy blob(overloads[i]);
            m_wrappers.back()->addSignature(blob.data(), blob.size());
        }
        return *m_wrappers.back();
    }

    // One overload, as the wrapper assembly describes it.
    const signature& overload(const Bytes& blob) { return *overloadsOf(wrapper({blob})).at(0); }

    // Into a buffer of exactly the capacity, so the sanitizer sees any write
    // past it.
    Translation translate(const signature& sig, uint32_t capacity) {
        std::unique_ptr<uint8_t[]> out(new uint8_t[capacity]);
        uint32_t length = capacity;
        Translation result;
        result.ok = record().translateSignature(sig, out.get(), &length);
        if (result.ok) {
            EXPECT_LE(length, capacity);
            result.bytes.assign(out.get(), out.get() + length);
        }
        return result;
    }

    // Type references the module holds only to fill rows.
    void fillTypeRefs(uint32_t fromRow, uint32_t toRow, cor::mdToken scopeToken) {
        for (uint32_t row = fromRow; row <= toRow; ++row)
            scope.addTypeRefAt(row, scopeToken, VESK_W("Filler.T") + vesk::fromUtf8(std::to_string(row)));
    }

    // The member reference the module holds for a parent, name and blob.
    cor::mdToken memberRefOf(cor::mdToken parent, const vesk::WString& name, const Bytes& sig) {
        for (const auto& row : scope.memberRefs)
            if (row.second.parent == parent && row.second.name == name && row.second.sig == sig)
                return cor::mdtMemberRef | row.first;
        return cor::mdTokenNil;
    }

    std::vector<cor::mdToken> find(const vesk::WChar* assembly, const vesk::WChar* className,
                                   const vesk::WChar* method, int expected = meSuccess) {
        // Left over from an earlier search; the answer replaces it.
        std::vector<cor::mdToken> tokens = {0x0A00BEEF};
        EXPECT_EQ(record().findSyncApiTokens(assembly, className, method, tokens), expected);
        // A module load skips every wrapper the one-pass test rules out: it
        // must never rule out one the search finds.
        if (!tokens.empty()) {
            EXPECT_TRUE(freshRecord(scope)->mayName(assembly, className)) << className;
        }
        return tokens;
    }

    FakeModuleScope scope;
    testing_support::FakeMetaDataImport m_wrapperImport;
    std::vector<std::unique_ptr<Wrapper>> m_wrappers;
    long m_baseRefs = 0;

private:
    std::unique_ptr<Module> m_module;
};

}  // namespace

// ---- findSyncApiTokens --------------------------------------------------------

// A framework module that defines a synchronisation type (System.Threading
// defines Barrier) answers for its own name only: answering for every
// surface gave one method two wrappers, which ended the program.
TEST_F(ModuleRecord, ClassDefinedByTheModuleYieldsItsMethodDefinitionsUnderItsOwnAssemblyNameOnly) {
    scope.assemblyName = kApiAssembly;
    cor::mdTypeDef gate = scope.addTypeDef(kApiClass);
    cor::mdTypeDef other = scope.addTypeDef(VESK_W("Lib.Sync.Other"));
    cor::mdMethodDef first = scope.addMethodDef(gate, kApiMethod, {kHasThis, 0, kBool});
    scope.addMethodDef(gate, VESK_W("WaitAll"), {kHasThis, 0, kBool});
    scope.addMethodDef(other, kApiMethod, {kHasThis, 0, kBool});
    cor::mdMethodDef second = scope.addMethodDef(gate, kApiMethod, {kHasThis, 1, kBool, kI4});
    // A reference to the class elsewhere does not count when the module
    // defines it.
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    scope.addMemberRef(scope.addTypeRef(assembly, kApiClass), kApiMethod, {kHasThis, 0, kBool});

    EXPECT_TRUE(find(VESK_W("Some.Unrelated.Assembly"), kApiClass, kApiMethod).empty());
    EXPECT_EQ(find(kApiAssembly, kApiClass, kApiMethod), (std::vector<cor::mdToken>{first, second}));
}

TEST_F(ModuleRecord, NoAssemblyReferenceOrNoTypeReferenceFindsNothingAndSucceeds) {
    EXPECT_TRUE(find(kApiAssembly, kApiClass, kApiMethod).empty()) << "an empty module";

    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    scope.addTypeRef(assembly, VESK_W("Lib.Sync.Gates"));
    scope.addTypeRef(assembly, VESK_W("Lib.Sync.Gat"));
    EXPECT_TRUE(find(kApiAssembly, kApiClass, kApiMethod).empty()) << "the assembly, but not the class";

    // The class and the method, but under an assembly of another name.
    cor::mdToken gate = scope.addTypeRef(assembly, kApiClass);
    scope.addMemberRef(gate, kApiMethod, {kHasThis, 0, kBool});
    EXPECT_TRUE(find(VESK_W("lib.sync"), kApiClass, kApiMethod).empty()) << "assembly names are case-sensitive";
    EXPECT_TRUE(find(VESK_W("Lib.Syn"), kApiClass, kApiMethod).empty());
    EXPECT_TRUE(find(VESK_W("Lib.Sync.Extra"), kApiClass, kApiMethod).empty());
    EXPECT_TRUE(find(kApiAssembly, VESK_W("Lib.Sync.gate"), kApiMethod).empty());
}

TEST_F(ModuleRecord, AModuleThatCannotNameTheClassIsRuledOutOncePerClass) {
    struct Case {
        const char* what;
        void (*setUp)(FakeModuleScope&);
        const vesk::WChar* className;
        bool mayName;
    };
    const Case cases[] = {
        {"an empty module", [](FakeModuleScope&) {}, kApiClass, false},
        {"the class under another assembly",
         [](FakeModuleScope& s) { s.addTypeRef(s.addAssemblyRef(VESK_W("Lib.Other")), kApiClass); }, kApiClass, false},
        {"a name that only begins like the class",
         [](FakeModuleScope& s) { s.addTypeRef(s.addAssemblyRef(kApiAssembly), VESK_W("Lib.Sync.Gat")); }, kApiClass,
         false},
        {"the class under its assembly",
         [](FakeModuleScope& s) { s.addTypeRef(s.addAssemblyRef(kApiAssembly), kApiClass); }, kApiClass, true},
        {"a nested class whose outer class is referenced",
         [](FakeModuleScope& s) { s.addTypeRef(s.addAssemblyRef(kApiAssembly), kApiClass); },
         VESK_W("Lib.Sync.Gate+Waiter"), true},
        {"the class defined by the module", [](FakeModuleScope& s) { s.addTypeDef(kApiClass); }, kApiClass, true},
        {"the class under the second reference to its assembly",
         [](FakeModuleScope& s) {
             s.addAssemblyRef(kApiAssembly);
             s.addTypeRef(s.addAssemblyRef(kApiAssembly), kApiClass);
         },
         kApiClass, true},
    };
    for (const Case& c : cases) {
        FakeModuleScope module;
        c.setUp(module);
        EXPECT_EQ(freshRecord(module)->mayName(kApiAssembly, c.className), c.mayName) << c.what;
        EXPECT_EQ(module.openEnums(), 0) << c.what;
    }
}

TEST_F(ModuleRecord, OnlyTheTypeReferenceScopedToTheNamedAssemblyCounts) {
    cor::mdToken other = scope.addAssemblyRef(VESK_W("Lib.Other"));
    scope.addMemberRef(scope.addTypeRef(other, kApiClass), kApiMethod, {kHasThis, 0, kBool});
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    cor::mdToken wanted = scope.addMemberRef(scope.addTypeRef(assembly, kApiClass), kApiMethod, {kHasThis, 0, kBool});

    EXPECT_EQ(find(kApiAssembly, kApiClass, kApiMethod), std::vector<cor::mdToken>{wanted});
}

TEST_F(ModuleRecord, EveryOverloadOfTheNameIsFoundButNoNameThatOnlyBeginsWithIt) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    cor::mdToken gate = scope.addTypeRef(assembly, kApiClass);
    cor::mdToken other = scope.addTypeRef(assembly, VESK_W("Lib.Sync.Other"));
    cor::mdToken waitInt = scope.addMemberRef(gate, kApiMethod, {kHasThis, 1, kBool, kI4});
    scope.addMemberRef(gate, VESK_W("WaitOne"), {kHasThis, 1, kBool, kI4});
    scope.addMemberRef(gate, VESK_W("Wai"), {kHasThis, 1, kBool, kI4});
    scope.addMemberRef(gate, VESK_W("wait"), {kHasThis, 1, kBool, kI4});
    scope.addMemberRef(other, kApiMethod, {kHasThis, 1, kBool, kI4});
    cor::mdToken waitString = scope.addMemberRef(gate, kApiMethod, {kHasThis, 1, kBool, kString});

    EXPECT_EQ(find(kApiAssembly, kApiClass, kApiMethod), (std::vector<cor::mdToken>{waitInt, waitString}));
    EXPECT_TRUE(find(kApiAssembly, kApiClass, VESK_W("Wa")).empty());
    EXPECT_EQ(find(kApiAssembly, kApiClass, VESK_W("WaitOne")).size(), 1u);
}

// A value type nested in the API's class (Lock.Scope): its reference is
// scoped by the outer type's reference, and the name of another outer
// type's nested type of the same name never stands in for it.
TEST_F(ModuleRecord, NestedTypesAreFoundAndNamedThroughTheirOuterType) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    cor::mdToken otherOuter = scope.addTypeRef(assembly, VESK_W("Lib.Sync.Other"));
    cor::mdToken otherScope = scope.addTypeRef(otherOuter, VESK_W("Scope"));
    scope.addMemberRef(otherScope, VESK_W("Dispose"), {kHasThis, 0, kVoid});
    cor::mdToken gate = scope.addTypeRef(assembly, kApiClass);
    cor::mdToken gateScope = scope.addTypeRef(gate, VESK_W("Scope"));
    cor::mdToken dispose = scope.addMemberRef(gateScope, VESK_W("Dispose"), {kHasThis, 0, kVoid});

    const vesk::WString nested = vesk::WString(kApiClass) + VESK_W("+Scope");
    EXPECT_EQ(find(kApiAssembly, nested.c_str(), VESK_W("Dispose")), std::vector<cor::mdToken>{dispose});
    EXPECT_TRUE(find(kApiAssembly, VESK_W("Lib.Sync.Missing+Scope"), VESK_W("Dispose")).empty());
    EXPECT_EQ(record().findTypeToken(nested), gateScope);
    EXPECT_EQ(record().findTypeToken(VESK_W("Lib.Sync.Other+Scope")), otherScope);
    EXPECT_EQ(record().findTypeToken(VESK_W("Scope")), cor::mdTokenNil);
}

TEST_F(ModuleRecord, EnumerationsGoOnPastOneBatch) {
    // The API's assembly comes after more references than one batch holds.
    for (int i = 0; i < 200; ++i) scope.addAssemblyRef(VESK_W("Filler.A") + vesk::fromUtf8(std::to_string(i)));
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    cor::mdToken gate = scope.addTypeRef(assembly, kApiClass);
    std::vector<cor::mdToken> expected;
    for (int i = 0; i < 300; ++i) {
        expected.push_back(scope.addMemberRef(gate, kApiMethod, {kHasThis, 1, kBool, kI4}));
        if (i % 3 == 0) scope.addMemberRef(gate, VESK_W("Other"), {kHasThis, 0, kVoid});
    }
    EXPECT_EQ(find(kApiAssembly, kApiClass, kApiMethod), expected);

    // Method definitions the same way.
    scope.assemblyName = kApiAssembly;
    cor::mdTypeDef defined = scope.addTypeDef(VESK_W("Lib.Sync.Defined"));
    std::vector<cor::mdToken> methods;
    for (int i = 0; i < 260; ++i) methods.push_back(scope.addMethodDef(defined, kApiMethod, {kHasThis, 0, kVoid}));
    EXPECT_EQ(find(kApiAssembly, VESK_W("Lib.Sync.Defined"), kApiMethod), methods);
}

TEST_F(ModuleRecord, ANameCutByTheNameBufferNeverMatchesItsBeginning) {
    cor::mdToken gate = scope.addTypeRef(scope.addAssemblyRef(kApiAssembly), kApiClass);
    // The buffer holds 255 characters and the terminator.
    const vesk::WString longest(MAX_METHOD_NAME_SIZE - 1, 'W');
    cor::mdToken fits = scope.addMemberRef(gate, longest, {kHasThis, 0, kVoid});
    scope.addMemberRef(gate, longest + VESK_W("x"), {kHasThis, 0, kVoid});
    // Far past the buffer: only what was copied may be looked at.
    scope.addMemberRef(gate, longest + vesk::WString(200, 'x'), {kHasThis, 0, kVoid});

    EXPECT_EQ(find(kApiAssembly, kApiClass, longest.c_str()), std::vector<cor::mdToken>{fits});
}

TEST_F(ModuleRecord, AMemberReferenceThatCannotBeReadFailsTheSearch) {
    cor::mdToken gate = scope.addTypeRef(scope.addAssemblyRef(kApiAssembly), kApiClass);
    scope.addMemberRef(gate, kApiMethod, {kHasThis, 0, kVoid});
    cor::mdToken broken = scope.addMemberRef(gate, kApiMethod, {kHasThis, 0, kVoid});
    scope.addMemberRef(gate, kApiMethod, {kHasThis, 0, kVoid});
    scope.failingMemberRefProps[broken] = cor::E_FAIL;

    EXPECT_TRUE(find(kApiAssembly, kApiClass, kApiMethod, meFailure).empty()) << "no partial answer";
}

// ---- translateSignature --------------------------------------------------------

TEST_F(ModuleRecord, CodedIndexBelow0x80TakesOneByte) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    fillTypeRefs(1, 0x1E, assembly);
    scope.addTypeRefAt(0x1F, assembly, kApiClass);
    // void M(class Gate, int32)
    const signature& sig = overload(cat({{kStatic, 2, kVoid}, classRef(kWrapperGateRow), {kI4}}));

    Translation t = translate(sig, MAX_SIGNATURE_SIZE);
    ASSERT_TRUE(t.ok);
    // (0x1F << 2) | 1
    EXPECT_EQ(t.bytes, (Bytes{kStatic, 2, kVoid, kClass, 0x7D, kI4}));
}

TEST_F(ModuleRecord, CodedIndexBelow0x4000TakesTwoBytesAndTheRestMovesAlong) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    fillTypeRefs(1, 0x1F, assembly);
    scope.addTypeRefAt(0x20, assembly, kApiClass);
    const signature& sig = overload(cat({{kStatic, 2, kVoid}, classRef(kWrapperGateRow), {kI4}}));

    Translation t = translate(sig, MAX_SIGNATURE_SIZE);
    ASSERT_TRUE(t.ok);
    // (0x20 << 2) | 1 = 0x81, in two bytes: 10xxxxxx then the low byte.
    EXPECT_EQ(t.bytes, (Bytes{kStatic, 2, kVoid, kClass, 0x80, 0x81, kI4}));
}

TEST_F(ModuleRecord, CodedIndexFrom0x4000TakesFourBytes) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    // More rows before it than one enumeration batch holds.
    fillTypeRefs(1, 0xFFF, assembly);
    scope.addTypeRefAt(0x1000, assembly, kApiClass);
    const signature& sig = overload(cat({{kStatic, 2, kVoid}, classRef(kWrapperGateRow), {kI4}}));

    Translation t = translate(sig, MAX_SIGNATURE_SIZE);
    ASSERT_TRUE(t.ok);
    // (0x1000 << 2) | 1 = 0x4001 = 0b0100_0000_0000_0001; four bytes are
    // 110 and 29 bits: 110_00000 00000000 01000000 00000001.
    EXPECT_EQ(t.bytes, (Bytes{kStatic, 2, kVoid, kClass, 0xC0, 0x00, 0x40, 0x01, kI4}));
}

TEST_F(ModuleRecord, FourByteWrapperTokenShrinksToOneAndTheRestMovesBack) {
    scope.addTypeRef(scope.addAssemblyRef(kApiAssembly), kApiClass);
    const Bytes blob = cat({{kStatic, 2, kVoid}, classRef(kWrapperFarGateRow), {kSzArray, kI4}});
    ASSERT_EQ(blob.size(), 10u) << "the wrapper's own token takes four bytes";

    Translation t = translate(overload(blob), MAX_SIGNATURE_SIZE);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.bytes, (Bytes{kStatic, 2, kVoid, kClass, 0x05, kSzArray, kI4}));
}

TEST_F(ModuleRecord, ATypeTheModuleDefinesIsWrittenAsTypeDef) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    // The module defines the type and also references a type of that name:
    // its own definition is what the name means here.
    scope.addTypeRef(assembly, kApiClass);
    scope.addTypeDefAt(1, VESK_W("<Module>"));
    scope.addTypeDefAt(2, VESK_W("Lib.Sync.Other"));
    scope.addTypeDefAt(3, kApiClass);
    const signature& sig = overload(cat({{kStatic, 2, kVoid}, classRef(kWrapperGateRow), {kI4}}));

    Translation t = translate(sig, MAX_SIGNATURE_SIZE);
    ASSERT_TRUE(t.ok);
    // 3 << 2, tag 0.
    EXPECT_EQ(t.bytes, (Bytes{kStatic, 2, kVoid, kClass, 0x0C, kI4}));
}

TEST_F(ModuleRecord, ATypeTheModuleLacksFailsTheTranslation) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    scope.addTypeRef(assembly, kApiClass);
    // Near misses only.
    scope.addTypeRef(assembly, VESK_W("Lib.Sync.Missing2"));
    scope.addTypeRef(assembly, VESK_W("lib.sync.missing"));
    scope.addTypeRef(assembly, VESK_W("Lib.Sync.Missin"));
    scope.addTypeDef(VESK_W("Lib.Sync.MISSING"));
    const signature& sig =
        overload(cat({{kStatic, 2, kVoid}, classRef(kWrapperGateRow), classRef(kWrapperMissingRow)}));

    EXPECT_FALSE(translate(sig, MAX_SIGNATURE_SIZE).ok);
}

TEST_F(ModuleRecord, EverySlotIsTranslatedAndTheBytesBetweenStayInPlace) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    fillTypeRefs(1, 4, assembly);
    scope.addTypeRefAt(5, assembly, kTimeoutClass);
    scope.addTypeRefAt(6, assembly, kPoolClass);
    fillTypeRefs(7, 0x1F, assembly);
    scope.addTypeRefAt(0x20, assembly, kApiClass);
    // void M(class Gate, valuetype Timeout, int32[], class Pool<valuetype Timeout>)
    const Bytes blob = cat({{kStatic, 4, kVoid},
                            classRef(kWrapperGateRow),
                            {kValueType},
                            typeRefCoded(kWrapperTimeoutRow),
                            {kSzArray, kI4, kGenericInst},
                            classRef(kWrapperPoolRow),
                            {1, kValueType},
                            typeRefCoded(kWrapperTimeoutRow)});

    Translation t = translate(overload(blob), MAX_SIGNATURE_SIZE);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.bytes, (Bytes{kStatic, 4, kVoid, kClass, 0x80, 0x81, kValueType, 0x15, kSzArray, kI4, kGenericInst,
                              kClass, 0x19, 1, kValueType, 0x15}));
}

TEST_F(ModuleRecord, OutputExactlyFillingTheCapacitySucceedsOneByteShortFails) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    scope.addTypeRefAt(2, assembly, kTimeoutClass);
    fillTypeRefs(3, 0x1F, assembly);
    scope.addTypeRefAt(0x20, assembly, kApiClass);

    // Same length: void M(valuetype Timeout, int32)
    const signature& same = overload(cat({{kStatic, 2, kVoid, kValueType}, typeRefCoded(kWrapperTimeoutRow), {kI4}}));
    ASSERT_EQ(same.rawBlob.size(), 6u);
    Translation exact = translate(same, 6);
    ASSERT_TRUE(exact.ok);
    EXPECT_EQ(exact.bytes, (Bytes{kStatic, 2, kVoid, kValueType, 0x09, kI4}));
    EXPECT_FALSE(translate(same, 5).ok);

    // One byte longer: void M(class Gate, int32)
    const signature& grows = overload(cat({{kStatic, 2, kVoid}, classRef(kWrapperGateRow), {kI4}}));
    ASSERT_EQ(grows.rawBlob.size(), 6u);
    Translation filled = translate(grows, 7);
    ASSERT_TRUE(filled.ok);
    EXPECT_EQ(filled.bytes.size(), 7u);
    // Short by the last byte, and short inside the token.
    EXPECT_FALSE(translate(grows, 6).ok);
    EXPECT_FALSE(translate(grows, 5).ok);
    EXPECT_FALSE(translate(grows, 4).ok);
}

// ---- defineWrapperRefs --------------------------------------------------------

namespace {

// A module that calls the API: it references the API's assembly, the class
// and a type of its parameters.
struct ApiReferences {
    cor::mdToken assembly;
    cor::mdToken gate;
    cor::mdToken timeout;
};

ApiReferences referenceTheApi(FakeModuleScope& scope) {
    ApiReferences refs;
    refs.assembly = scope.addAssemblyRef(kApiAssembly);
    refs.gate = scope.addTypeRef(refs.assembly, kApiClass);        // row 1
    refs.timeout = scope.addTypeRef(refs.assembly, kTimeoutClass);  // row 2
    return refs;
}

// The two wrapper blobs with the module's rows 1 (Gate) and 2 (Timeout).
const Bytes kModuleWaitInt = {kStatic, 2, kBool, kClass, 0x05, kI4};
const Bytes kModuleWaitTimeout = {kStatic, 2, kBool, kClass, 0x05, kClass, 0x09};

}  // namespace

TEST_F(ModuleRecord, AModuleWithoutTheWrapperAssemblyGainsOneAssemblyRefOneTypeRefAndARefPerOverload) {
    ASSERT_TRUE(DebugLog::instance().isOn());
    referenceTheApi(scope);
    Wrapper& w = wrapper({wrapperWaitInt(), wrapperWaitTimeout()});
    LogWatch log;

    EXPECT_EQ(record().defineWrapperRefs(&w, wrapperIdentity()), meSuccess);

    ASSERT_EQ(scope.assemblyRefs.size(), 2u);
    const module_testing::AssemblyRefRow& added = scope.assemblyRefs.at(2);
    EXPECT_EQ(added.name, kWrapperAssembly);
    EXPECT_EQ(added.publicKeyOrToken, (Bytes{0x6d, 0x2c, 0xb8, 0x78, 0x5b, 0xd9, 0x0e, 0x43}));
    ASSERT_TRUE(added.hadMetadata);
    EXPECT_EQ(added.metadata.usMajorVersion, 9);
    EXPECT_EQ(added.metadata.usMinorVersion, 9);
    EXPECT_EQ(added.metadata.usBuildNumber, 9);
    EXPECT_EQ(added.metadata.usRevisionNumber, 9);
    EXPECT_EQ(added.metadata.szLocale, nullptr);
    EXPECT_EQ(added.metadata.cbLocale, 0u);
    EXPECT_EQ(added.metadata.rProcessor, nullptr);
    EXPECT_EQ(added.metadata.ulProcessor, 0u);
    EXPECT_EQ(added.metadata.rOS, nullptr);
    EXPECT_EQ(added.metadata.ulOS, 0u);
    EXPECT_FALSE(added.hashPointerGiven);
    EXPECT_EQ(added.flags, 0u);

    ASSERT_EQ(scope.typeRefs.size(), 3u);
    EXPECT_EQ(scope.typeRefs.at(3).scope, cor::mdtAssemblyRef | 2u);
    EXPECT_EQ(scope.typeRefs.at(3).name, kWrapperClass);

    ASSERT_EQ(scope.memberRefs.size(), 2u);
    const cor::mdToken wrapperType = cor::mdtTypeRef | 3u;
    EXPECT_EQ(memberRefOf(wrapperType, kWrapperMethod, kModuleWaitInt), cor::mdtMemberRef | 1u);
    EXPECT_EQ(memberRefOf(wrapperType, kWrapperMethod, kModuleWaitTimeout), cor::mdtMemberRef | 2u);

    EXPECT_EQ(log.lines(), (std::vector<std::string>{"      defined wrapper ref token=0xa000001",
                                                     "      defined wrapper ref token=0xa000002"}));
    // The assembly emit interface was asked for and given back.
    EXPECT_EQ(scope.refCount.load(), m_baseRefs + 3);
}

TEST_F(ModuleRecord, LaterWrappersReuseTheAssemblyAndTypeReferences) {
    referenceTheApi(scope);
    Wrapper& wait = wrapper({wrapperWaitInt()});
    Wrapper& waitAll = wrapper({wrapperWaitInt()}, kWrapperClass, VESK_W("WaitAll"), VESK_W("WaitAll"));
    Wrapper& latch =
        wrapper({wrapperWaitInt()}, VESK_W("Veskmrte.Wrappers.Latch"), VESK_W("Enter"), VESK_W("Enter"));

    ASSERT_EQ(record().defineWrapperRefs(&wait, wrapperIdentity()), meSuccess);
    ASSERT_EQ(record().defineWrapperRefs(&waitAll, wrapperIdentity()), meSuccess);
    EXPECT_EQ(scope.assemblyRefs.size(), 2u);
    EXPECT_EQ(scope.typeRefs.size(), 3u) << "the same wrapper class";
    ASSERT_EQ(scope.memberRefs.size(), 2u);
    EXPECT_EQ(scope.memberRefs.at(2).parent, scope.memberRefs.at(1).parent);
    EXPECT_EQ(scope.memberRefs.at(2).name, VESK_W("WaitAll"));

    ASSERT_EQ(record().defineWrapperRefs(&latch, wrapperIdentity()), meSuccess);
    EXPECT_EQ(scope.assemblyRefs.size(), 2u);
    ASSERT_EQ(scope.typeRefs.size(), 4u) << "another wrapper class";
    EXPECT_EQ(scope.typeRefs.at(4).scope, cor::mdtAssemblyRef | 2u);
    EXPECT_EQ(scope.typeRefs.at(4).name, VESK_W("Veskmrte.Wrappers.Latch"));
    EXPECT_EQ(scope.memberRefs.at(3).parent, cor::mdtTypeRef | 4u);
    EXPECT_EQ(scope.calls("DefineAssemblyRef"), 1);
}

TEST_F(ModuleRecord, AReferenceTheModuleAlreadyHoldsIsFoundNotDefinedAgain) {
    referenceTheApi(scope);
    cor::mdToken wrapperAssembly = scope.addAssemblyRef(kWrapperAssembly);
    cor::mdToken wrapperType = scope.addTypeRef(wrapperAssembly, kWrapperClass);
    cor::mdToken present = scope.addMemberRef(wrapperType, kWrapperMethod, kModuleWaitInt);
    Wrapper& w = wrapper({wrapperWaitInt(), wrapperWaitTimeout()});

    ASSERT_EQ(record().defineWrapperRefs(&w, wrapperIdentity()), meSuccess);

    EXPECT_EQ(scope.calls("DefineAssemblyRef"), 0);
    EXPECT_EQ(scope.calls("DefineTypeRefByName"), 0);
    EXPECT_EQ(scope.calls("DefineMemberRef"), 1);
    EXPECT_EQ(scope.assemblyRefs.size(), 2u);
    EXPECT_EQ(scope.typeRefs.size(), 3u);
    ASSERT_EQ(scope.memberRefs.size(), 2u);
    EXPECT_EQ(memberRefOf(wrapperType, kWrapperMethod, kModuleWaitTimeout), cor::mdtMemberRef | 2u);

    // Calls are redirected to the reference that was there.
    cor::mdToken target = scope.addMemberRef(cor::mdtTypeRef | 1u, kApiMethod, {kHasThis, 1, kBool, kI4});
    record().addSyncApiToken(&w, target);
    EXPECT_EQ(record().getWrapperRefToken(target), present);
}

TEST_F(ModuleRecord, AnAssemblyReferenceWithoutTheWrapperClassGainsOnlyTheTypeReference) {
    referenceTheApi(scope);
    cor::mdToken wrapperAssembly = scope.addAssemblyRef(kWrapperAssembly);
    Wrapper& w = wrapper({wrapperWaitInt(), wrapperWaitTimeout()});

    ASSERT_EQ(record().defineWrapperRefs(&w, wrapperIdentity()), meSuccess);

    EXPECT_EQ(scope.calls("DefineAssemblyRef"), 0);
    EXPECT_EQ(scope.assemblyRefs.size(), 2u);
    ASSERT_EQ(scope.typeRefs.size(), 3u);
    EXPECT_EQ(scope.typeRefs.at(3).scope, wrapperAssembly);
    EXPECT_EQ(scope.memberRefs.size(), 2u);
}

TEST_F(ModuleRecord, AnOverloadWhoseTypeTheModuleLacksIsSkippedTheOthersDefined) {
    ASSERT_TRUE(DebugLog::instance().isOn());
    referenceTheApi(scope);
    Wrapper& w = wrapper({wrapperWaitInt(),
                          cat({{kStatic, 2, kBool}, classRef(kWrapperGateRow), classRef(kWrapperMissingRow)}),
                          wrapperWaitTimeout()});
    LogWatch log;

    EXPECT_EQ(record().defineWrapperRefs(&w, wrapperIdentity()), meSuccess);

    ASSERT_EQ(scope.memberRefs.size(), 2u);
    EXPECT_NE(memberRefOf(cor::mdtTypeRef | 3u, kWrapperMethod, kModuleWaitInt), cor::mdTokenNil);
    EXPECT_NE(memberRefOf(cor::mdtTypeRef | 3u, kWrapperMethod, kModuleWaitTimeout), cor::mdTokenNil);
    EXPECT_EQ(log.countStartingWith("      defined wrapper ref token="), 2);
}

TEST_F(ModuleRecord, AnOverloadTooLongForTheSignatureBufferIsSkippedNotFatal) {
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    fillTypeRefs(1, 0x1F, assembly);
    scope.addTypeRefAt(0x20, assembly, kApiClass);
    // void M(class Gate, int32 * (n - 1)): n + 4 bytes, one more once the
    // token takes two bytes.
    auto manyInts = [](uint8_t n) {
        Bytes blob = cat({{kStatic, n, kVoid}, classRef(kWrapperGateRow)});
        blob.insert(blob.end(), n - 1, kI4);
        return blob;
    };
    const Bytes fills = manyInts(MAX_SIGNATURE_SIZE - 5);
    const Bytes overflows = manyInts(MAX_SIGNATURE_SIZE - 4);
    ASSERT_EQ(fills.size(), MAX_SIGNATURE_SIZE - 1);
    ASSERT_EQ(overflows.size(), MAX_SIGNATURE_SIZE);
    Wrapper& w = wrapper({overflows, fills});

    EXPECT_EQ(record().defineWrapperRefs(&w, wrapperIdentity()), meSuccess);

    ASSERT_EQ(scope.memberRefs.size(), 1u);
    EXPECT_EQ(scope.memberRefs.begin()->second.sig.size(), MAX_SIGNATURE_SIZE);
}

TEST_F(ModuleRecord, WithoutTheAssemblyEmitInterfaceNothingIsDefined) {
    referenceTheApi(scope);
    scope.offersAssemblyEmit = false;
    Wrapper& w = wrapper({wrapperWaitInt(), wrapperWaitTimeout()});
    cor::mdToken target = scope.addMemberRef(cor::mdtTypeRef | 1u, kApiMethod, {kHasThis, 1, kBool, kI4});
    record().addSyncApiToken(&w, target);

    EXPECT_EQ(record().defineWrapperRefs(&w, wrapperIdentity()), meSuccess);

    EXPECT_EQ(scope.assemblyRefs.size(), 1u);
    EXPECT_EQ(scope.typeRefs.size(), 2u);
    EXPECT_EQ(scope.memberRefs.size(), 1u);
    EXPECT_EQ(record().getWrapperRefToken(target), cor::mdTokenNil) << "the call stays as it is";
}

// ---- getWrapperRefToken -------------------------------------------------------

namespace {

// The module's calls of the API: bool Gate.Wait(int32), bool
// Gate.Wait(Timeout) and bool Gate.Wait(string), the last without a wrapper
// overload.
struct Targets {
    cor::mdToken waitInt;
    cor::mdToken waitTimeout;
    cor::mdToken waitString;
};

const Bytes kTargetWaitInt = {kHasThis, 1, kBool, kI4};
const Bytes kTargetWaitTimeout = {kHasThis, 1, kBool, kClass, 0x09};
const Bytes kTargetWaitString = {kHasThis, 1, kBool, kString};

}  // namespace

class Redirection : public ModuleRecord {
protected:
    void SetUp() override {
        ApiReferences refs = referenceTheApi(scope);
        targets.waitInt = scope.addMemberRef(refs.gate, kApiMethod, kTargetWaitInt);
        scope.addMemberRef(refs.gate, VESK_W("WaitOne"), kTargetWaitInt);
        targets.waitTimeout = scope.addMemberRef(refs.gate, kApiMethod, kTargetWaitTimeout);
        targets.waitString = scope.addMemberRef(refs.gate, kApiMethod, kTargetWaitString);
        w = &wrapper({wrapperWaitInt(), wrapperWaitTimeout()});
    }

    // What the profiler does when the module loads; without the wrapper
    // references, only the tokens are kept.
    void prepare(bool defineRefs = true) {
        if (defineRefs) {
            ASSERT_TRUE(record().prepareRedirection(w, wrapperIdentity()));
        } else {
            std::vector<cor::mdToken> tokens;
            ASSERT_EQ(record().findSyncApiTokens(kApiAssembly, kApiClass, kApiMethod, tokens), meSuccess);
            for (cor::mdToken token : tokens) record().addSyncApiToken(w, token);
        }
        for (cor::mdToken token : {targets.waitInt, targets.waitTimeout, targets.waitString})
            ASSERT_TRUE(record().isSyncApiToken(token));
        const cor::mdToken wrapperType = cor::mdtTypeRef | 3u;
        refWaitInt = memberRefOf(wrapperType, kWrapperMethod, kModuleWaitInt);
        refWaitTimeout = memberRefOf(wrapperType, kWrapperMethod, kModuleWaitTimeout);
    }

    Targets targets{};
    Wrapper* w = nullptr;
    cor::mdToken refWaitInt = cor::mdTokenNil;
    cor::mdToken refWaitTimeout = cor::mdTokenNil;
};

TEST_F(Redirection, ATokenThatNamesNoRedirectedApiAnswersNil) {
    ASSERT_NO_FATAL_FAILURE(prepare());
    const int reads = scope.calls("GetMemberRefProps");
    EXPECT_EQ(record().getWrapperRefToken(cor::mdtMemberRef | 0x99u), cor::mdTokenNil);
    EXPECT_EQ(record().getWrapperRefToken(cor::mdtMemberRef | 2u), cor::mdTokenNil) << "WaitOne";
    EXPECT_EQ(record().getWrapperRefToken(refWaitInt), cor::mdTokenNil) << "a wrapper reference itself";
    EXPECT_EQ(scope.calls("GetMemberRefProps"), reads);
    EXPECT_TRUE(record().isSyncApiToken(targets.waitInt));
    EXPECT_FALSE(record().isSyncApiToken(cor::mdtMemberRef | 2u));
}

TEST_F(Redirection, EachTargetGetsItsOverloadsReferenceAndIsReadOnce) {
    ASSERT_NO_FATAL_FAILURE(prepare());
    ASSERT_NE(refWaitInt, cor::mdTokenNil);
    ASSERT_NE(refWaitTimeout, cor::mdTokenNil);
    const int reads = scope.calls("GetMemberRefProps");

    EXPECT_EQ(record().getWrapperRefToken(targets.waitInt), refWaitInt);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitTimeout), refWaitTimeout);
    EXPECT_EQ(scope.calls("GetMemberRefProps"), reads + 2);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitInt), refWaitInt);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitTimeout), refWaitTimeout);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitInt), refWaitInt);
    EXPECT_EQ(scope.calls("GetMemberRefProps"), reads + 2) << "the overload of a target is remembered";
    EXPECT_EQ(scope.calls("GetMemberProps"), 0);
}

TEST_F(Redirection, ATargetThatFitsNoOverloadStaysAsItIsAndTheOthersStillWork) {
    ASSERT_TRUE(DebugLog::instance().isOn());
    ASSERT_NO_FATAL_FAILURE(prepare());
    LogWatch log;

    EXPECT_EQ(record().getWrapperRefToken(targets.waitString), cor::mdTokenNil);
    EXPECT_EQ(log.countStartingWith("VESKMRTE_ASSERT"), 1);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitInt), refWaitInt);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitString), cor::mdTokenNil);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitTimeout), refWaitTimeout);
    EXPECT_EQ(log.countStartingWith("VESKMRTE_ASSERT"), 2);
}

// Regression: module loads kept only as many of the API's member references
// as the wrapper has overloads, so a call through a later reference that
// does fit an overload was never redirected.
TEST_F(Redirection, MemberReferencesBeyondTheWrappersOverloadCountAreKept) {
    Wrapper& timeoutOnly = wrapper({wrapperWaitTimeout()});
    ASSERT_TRUE(record().prepareRedirection(&timeoutOnly, wrapperIdentity()));
    const cor::mdToken ref = memberRefOf(cor::mdtTypeRef | 3u, kWrapperMethod, kModuleWaitTimeout);
    ASSERT_NE(ref, cor::mdTokenNil);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitTimeout), ref);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitString), cor::mdTokenNil);
}

TEST_F(Redirection, AnOverloadWithoutADefinedReferenceLeavesTheCall) {
    ASSERT_TRUE(DebugLog::instance().isOn());
    ASSERT_NO_FATAL_FAILURE(prepare(/*defineRefs=*/false));
    LogWatch log;

    EXPECT_EQ(record().getWrapperRefToken(targets.waitInt), cor::mdTokenNil);
    EXPECT_EQ(log.countStartingWith("VESKMRTE_ASSERT"), 1);
}

TEST_F(Redirection, ATargetWhoseSignatureCannotBeReadStaysAsItIs) {
    ASSERT_TRUE(DebugLog::instance().isOn());
    ASSERT_NO_FATAL_FAILURE(prepare());
    scope.failingMemberRefProps[targets.waitInt] = cor::E_FAIL;
    LogWatch log;

    EXPECT_EQ(record().getWrapperRefToken(targets.waitInt), cor::mdTokenNil);
    EXPECT_EQ(log.countStartingWith("VESKMRTE_ASSERT"), 1);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitTimeout), refWaitTimeout);
}

TEST_F(Redirection, ManyThreadsAskingAtOnceGetTheSameAnswers) {
    ASSERT_NO_FATAL_FAILURE(prepare());
    const cor::mdToken asked[] = {targets.waitInt, targets.waitTimeout, targets.waitString, cor::mdtMemberRef | 2u};
    const cor::mdToken expected[] = {refWaitInt, refWaitTimeout, cor::mdTokenNil, cor::mdTokenNil};
    ASSERT_NE(refWaitInt, cor::mdTokenNil);
    ASSERT_NE(refWaitTimeout, cor::mdTokenNil);

    std::atomic<bool> go{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            while (!go.load()) std::this_thread::yield();
            for (int i = 0; i < 300; ++i) {
                const int which = (i + t) % 4;
                if (record().getWrapperRefToken(asked[which]) != expected[which]) ++wrong;
            }
        });
    }
    go = true;
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(record().getWrapperRefToken(targets.waitInt), refWaitInt);
}

TEST_F(ModuleRecord, MethodDefinitionTargetsAreReadThroughTheirMemberProperties) {
    scope.assemblyName = kApiAssembly;
    cor::mdToken assembly = scope.addAssemblyRef(kApiAssembly);
    cor::mdTypeDef gate = scope.addTypeDefAt(2, kApiClass);
    scope.addTypeRef(assembly, kTimeoutClass);  // row 1
    cor::mdMethodDef waitInt = scope.addMethodDef(gate, kApiMethod, kTargetWaitInt);
    cor::mdMethodDef waitTimeout = scope.addMethodDef(gate, kApiMethod, {kHasThis, 1, kBool, kClass, 0x05});
    Wrapper& w = wrapper({wrapperWaitInt(), wrapperWaitTimeout()});

    std::vector<cor::mdToken> tokens;
    ASSERT_EQ(record().findSyncApiTokens(kApiAssembly, kApiClass, kApiMethod, tokens), meSuccess);
    ASSERT_EQ(tokens, (std::vector<cor::mdToken>{waitInt, waitTimeout}));
    for (cor::mdToken token : tokens) record().addSyncApiToken(&w, token);
    ASSERT_EQ(record().defineWrapperRefs(&w, wrapperIdentity()), meSuccess);
    // Gate is the module's own type definition 2, Timeout its reference 1.
    const cor::mdToken wrapperType = cor::mdtTypeRef | 2u;
    cor::mdToken refWaitInt = memberRefOf(wrapperType, kWrapperMethod, {kStatic, 2, kBool, kClass, 0x08, kI4});
    cor::mdToken refWaitTimeout =
        memberRefOf(wrapperType, kWrapperMethod, {kStatic, 2, kBool, kClass, 0x08, kClass, 0x05});
    ASSERT_NE(refWaitInt, cor::mdTokenNil);
    ASSERT_NE(refWaitTimeout, cor::mdTokenNil);

    EXPECT_EQ(record().getWrapperRefToken(waitInt), refWaitInt);
    EXPECT_EQ(record().getWrapperRefToken(waitTimeout), refWaitTimeout);
    EXPECT_EQ(record().getWrapperRefToken(waitInt), refWaitInt);
    EXPECT_EQ(scope.calls("GetMemberProps"), 2);
    EXPECT_EQ(scope.calls("GetMemberRefProps"), 0);
}

TEST_F(ModuleRecord, WhenSeveralOverloadsFitTheFirstIsTaken) {
    ApiReferences refs = referenceTheApi(scope);
    cor::mdToken target = scope.addMemberRef(refs.gate, kApiMethod, kTargetWaitInt);
    // The instance parameter is not compared, so both fit the target.
    const Bytes byObject = {kStatic, 2, kBool, 0x1C, kI4};
    Wrapper& w = wrapper({wrapperWaitInt(), byObject});
    record().addSyncApiToken(&w, target);
    ASSERT_EQ(record().defineWrapperRefs(&w, wrapperIdentity()), meSuccess);
    cor::mdToken first = memberRefOf(cor::mdtTypeRef | 3u, kWrapperMethod, kModuleWaitInt);
    ASSERT_NE(first, cor::mdTokenNil);
    ASSERT_NE(memberRefOf(cor::mdtTypeRef | 3u, kWrapperMethod, byObject), cor::mdTokenNil);

    EXPECT_EQ(record().getWrapperRefToken(target), first);
}

TEST_F(ModuleRecord, AConstructorCallGoesToTheWrapperThatReturnsTheNewObject) {
    ApiReferences refs = referenceTheApi(scope);
    cor::mdToken ctor = scope.addMemberRef(refs.gate, VESK_W(".ctor"), {kHasThis, 1, kVoid, kI4});
    // static Gate Create(int32)
    Wrapper& w = wrapper({cat({{kStatic, 1}, classRef(kWrapperGateRow), {kI4}})}, kWrapperClass, VESK_W(".ctor"),
                         VESK_W("Create"));
    record().addSyncApiToken(&w, ctor);
    ASSERT_EQ(record().defineWrapperRefs(&w, wrapperIdentity()), meSuccess);
    cor::mdToken create = memberRefOf(cor::mdtTypeRef | 3u, VESK_W("Create"), {kStatic, 1, kClass, 0x05, kI4});
    ASSERT_NE(create, cor::mdTokenNil);

    EXPECT_EQ(record().getWrapperRefToken(ctor), create);
}

// ---- getFileVersion -----------------------------------------------------------

namespace {

std::string tempFile(const char* name, const std::string& contents) {
    std::string path = ::testing::TempDir() + name + "-" + std::to_string(getpid());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    return path;
}

// The core library of an installed runtime: a PE file with a version
// resource; empty when no runtime is installed.
std::string coreLibrary() {
    const char* roots[] = {"/usr/share/dotnet/shared/Microsoft.NETCore.App",
                           "/usr/lib/dotnet/shared/Microsoft.NETCore.App"};
    for (const char* root : roots) {
        DIR* d = opendir(root);
        if (d == nullptr) continue;
        std::string found;
        while (struct dirent* e = readdir(d)) {
            if (e->d_name[0] == '.') continue;
            std::string candidate = std::string(root) + "/" + e->d_name + "/System.Private.CoreLib.dll";
            if (std::ifstream(candidate).good()) found = candidate;
        }
        closedir(d);
        if (!found.empty()) return found;
    }
    return std::string();
}

}  // namespace

TEST(ModuleFileVersion, AFileWithoutAVersionResourceFailsAndStaysZero) {
    const std::string path = tempFile("module_test_noversion.dll", "MZ, but not a portable executable");
    Module module(1, 0x10000, 0x1000, vesk::fromUtf8(path).c_str(), nullptr, nullptr, nullptr, 0, false);
    FileVersion version;
    EXPECT_EQ(module.getFileVersion(version), meFailure);
    EXPECT_TRUE(version.isZero());
    EXPECT_EQ(module.getFileVersion(version), meFailure) << "nothing was kept from the failed read";
    EXPECT_TRUE(version.isZero());
    std::remove(path.c_str());

    Module gone(2, 0x10000, 0x1000, vesk::fromUtf8(path).c_str(), nullptr, nullptr, nullptr, 0, false);
    EXPECT_EQ(gone.getFileVersion(version), meFailure);
    EXPECT_TRUE(version.isZero());
}

TEST(ModuleFileVersion, TheVersionIsReadOnceAndServesEveryThread) {
    const std::string library = coreLibrary();
    if (library.empty()) GTEST_SKIP() << "no runtime installed";
    std::ifstream in(library, std::ios::binary);
    std::stringstream image;
    image << in.rdbuf();
    const std::string path = tempFile("module_test_version.dll", image.str());
    uint16_t expected[4] = {0, 0, 0, 0};
    ASSERT_TRUE(pal::readFileVersion(vesk::fromUtf8(path), expected));

    Module module(1, 0x10000, 0x1000, vesk::fromUtf8(path).c_str(), nullptr, nullptr, nullptr, 0, false);
    std::atomic<bool> go{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            while (!go.load()) std::this_thread::yield();
            for (int i = 0; i < 20; ++i) {
                FileVersion v;
                if (module.getFileVersion(v) != meSuccess || v.major != expected[0] || v.minor != expected[1] ||
                    v.build != expected[2] || v.revision != expected[3])
                    ++wrong;
            }
        });
    }
    go = true;
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);

    // The record answers from what it read, even once the file is gone.
    std::remove(path.c_str());
    FileVersion v;
    EXPECT_EQ(module.getFileVersion(v), meSuccess);
    EXPECT_EQ(v.major, expected[0]);
    EXPECT_EQ(v.revision, expected[3]);
}
