// The engine's interface as the profiler uses it: which calls are candidates,
// which edits it accepts, installing through the runtime, and method facts.
#include "engine_fixture.h"

namespace cie_test {
namespace {

using namespace tavoli;

const uint32_t kEnterRef = 0x0A000001;    // Monitor::Enter
const uint32_t kCtorRef = 0x0A000002;     // SemaphoreSlim::.ctor
const uint32_t kCctorDef = 0x06000003;    // a type initialiser
const uint32_t kWaitDef = 0x06000004;     // a method of this module
const uint32_t kCtorLikeRef = 0x0A000005; // named ".ctorx": not a constructor
const uint32_t kUnknownRef = 0x0A000006;  // not in the metadata
const cor::mdTypeDef kClass = 0x02000002;

class EngineUse : public EngineTest {
protected:
    void SetUp() override {
        info.metadata.addMemberRef(cor::mdTokenNil, u"Enter", {}, RidFromToken(kEnterRef));
        info.metadata.addMemberRef(cor::mdTokenNil, u".ctor", {}, RidFromToken(kCtorRef));
        info.metadata.addMemberRef(cor::mdTokenNil, u".ctorx", {}, RidFromToken(kCtorLikeRef));
        info.metadata.addMethodDef(kClass, u".cctor", {}, RidFromToken(kCctorDef));
        info.metadata.addMethodDef(kClass, u"Wait", {}, RidFromToken(kWaitDef));
    }
    std::vector<bool> candidates(const Bytes& code) {
        m_method = load(fatBody(code));
        EXPECT_NE(nullptr, m_method);
        std::vector<bool> out;
        if (m_method)
            for (IInstruction* i : instructions(m_method.get())) out.push_back(i->isCandidate());
        return out;
    }
    MethodPtr m_method;
};

TEST_F(EngineUse, CandidatesAreCallsAStaticWrapperCanReplace) {
    struct Row {
        const char* guards;
        Bytes code;
        std::vector<bool> expected;
    };
    const Bytes prefixes[] = {Code().op(0xFE16).u32(0x1B000001).bytes(), Code().op(0xFE14).bytes(),
                              Code().op(0xFE1E).bytes(), Code().op(0xFE13).bytes(), Code().op(0xFE12).u8(1).bytes(),
                              Code().op(0xFE19).u8(4).bytes()};
    std::vector<Row> rows = {
        {"call, callvirt, newobj and method instantiations",
         Code().op(0x28).u32(kEnterRef).op(0x6F).u32(kWaitDef).op(0x73).u32(kCtorRef).op(0x28).u32(0x2B000001)
             .op(0x2A).bytes(),
         {true, true, true, true, false}},
        {"function pointers, calli, ldtoken, jmp",
         Code().op(0xFE06).u32(kEnterRef).op(0x26).op(0x02).op(0xFE07).u32(kEnterRef).op(0x29).u32(0x11000001)
             .op(0xD0).u32(kEnterRef).op(0x27).u32(kWaitDef).op(0x2A).bytes(),
         {false, false, false, false, false, false, false, false}},
        {"constructors called in place, and what only looks like one",
         Code().op(0x02).op(0x28).u32(kCtorRef).op(0x28).u32(kCctorDef).op(0x6F).u32(kCtorRef)
             .op(0x28).u32(kCtorLikeRef).op(0x73).u32(kCtorRef).op(0x2A).bytes(),
         {false, false, false, false, true, true, false}},
        {"targets the metadata does not know",
         Code().op(0x28).u32(kUnknownRef).op(0x73).u32(kUnknownRef).op(0x2A).bytes(), {false, true, false}},
        {"delegate construction from ldftn and ldvirtftn",
         Code().op(0x14).op(0xFE06).u32(kWaitDef).op(0x73).u32(kCtorRef).op(0x02).op(0x25).op(0xFE07).u32(kWaitDef)
             .op(0x73).u32(kCtorRef).op(0x26).op(0x73).u32(kCtorRef).op(0x2A).bytes(),
         {false, false, false, false, false, false, false, false, true, false}},
        {"prefixes chain", Code().op(0xFE16).u32(0x1B000001).op(0xFE14).op(0x6F).u32(kEnterRef).op(0x2A).bytes(),
         {false, false, false, false}},
    };
    for (const Bytes& prefix : prefixes)
        for (uint32_t call : {0x28u, 0x6Fu, 0x73u})
            rows.push_back({"nothing behind a prefix",
                            Code().raw(prefix).op(call).u32(kEnterRef).op(0x28).u32(kEnterRef).op(0x2A).bytes(),
                            {false, false, true, false}});
    for (const Row& row : rows) EXPECT_EQ(row.expected, candidates(row.code)) << row.guards;

    (void)candidates(Code().op(0xFE06).u32(kEnterRef).op(0x2A).bytes());
    IInstruction* ldftn = instructions(m_method.get())[0];
    ASSERT_EQ(MRTE_RESULT_OK, ldftn->setOpcode(0x28));
    EXPECT_TRUE(ldftn->isCandidate()) << "follows the current opcode";
    info.metadataAvailable = false;
    EXPECT_EQ((std::vector<bool>{false, false, true, true, false}),
              candidates(Code().op(0x28).u32(kEnterRef).op(0x6F).u32(kWaitDef).op(0x73).u32(kCtorRef)
                             .op(0x28).u32(0x2B000002).op(0x2A).bytes()))
        << "without metadata only what cannot name a constructor in place";
}

TEST_F(EngineUse, EditsThatWouldCorruptTheBodyAreRefusedAndChangeNothing) {
    const Bytes code = Code()
                           .op(0x28).u32(0x0A000001)                             // 0 call
                           .op(0x72).u32(0x70000001)                             // 1 ldstr
                           .op(0xD0).u32(0x02000001)                             // 2 ldtoken
                           .op(0x29).u32(0x11000001)                             // 3 calli
                           .op(0x1F).u8(0)                                       // 4 ldc.i4.s
                           .op(0x0E).u8(0)                                       // 5 ldarg.s
                           .op(0xFE0C).u16(0)                                    // 6 ldloc
                           .op(0x2B).u8(0)                                       // 7 br.s -> 30
                           .op(0x00)                                             // 8 nop
                           .op(0xFE14).op(0x28).u32(0x0A000001)                  // 9 tail. 10 call
                           .op(0xFE16).u32(0x01000001).op(0x6F).u32(0x0A000001)  // 11 constrained. 12 callvirt
                           .op(0x45).u32(1).u32(0)                               // 13 switch -> 58
                           .op(0x2A)                                             // 14 ret
                           .bytes();
    MethodPtr method = load(fatBody(code));
    ASSERT_NE(nullptr, method);
    std::vector<IInstruction*> in = instructions(method.get());
    const uint32_t TOKEN = OPERAND_KIND_TOKEN, I8 = OPERAND_KIND_INT8, ARG = OPERAND_KIND_ARGUMENT,
                   LOC = OPERAND_KIND_LOCAL, BR = OPERAND_KIND_BRANCH, SW = OPERAND_KIND_SWITCH;
    struct OperandRow {
        size_t index;
        uint32_t kind, value, selector;
        bool accepted;
    };
    const OperandRow operands[] = {
        {0, TOKEN, 0x06000002, 0, true}, {0, TOKEN, 0x2B000001, 0, true}, {0, TOKEN, 0x01000001, 0, false},
        {0, TOKEN, 0x0A000000, 0, false}, {0, TOKEN, 0x70000001, 0, false}, {1, TOKEN, 0x0A000001, 0, false},
        {2, TOKEN, 0x1B000003, 0, true}, {2, TOKEN, 0x70000003, 0, false}, {3, TOKEN, 0x06000001, 0, false},
        {0, I8, 0x0A000002, 0, false}, {4, I8, 127, 0, true}, {4, I8, 0xFFFFFF80, 0, true}, {4, I8, 128, 0, false},
        {4, I8, 0xFFFFFF7F, 0, false}, {5, ARG, 255, 0, true}, {5, ARG, 256, 0, false},
        {6, LOC, 0xFFFE, 0, true}, {6, LOC, 0xFFFF, 0, false}, {7, BR, 3, 0, false}, {7, BR, 100, 0, false},
        {7, BR, 44, 0, true}, {13, SW, 46, 0, false}, {13, SW, 46, 2, false}, {13, SW, 43, 1, false},
        {13, SW, 44, 1, true},
    };
    for (const OperandRow& row : operands) {
        EngineOperand op = operand(row.kind, row.value);
        EXPECT_EQ(row.accepted ? MRTE_RESULT_OK : MRTE_ERROR_FAIL, in[row.index]->setOperand(&op, row.selector, 0, 0))
            << row.index << " " << std::hex << row.value;
    }
    struct OpcodeRow {
        size_t index;
        uint32_t opcode;
        const char* why;
    };
    const OpcodeRow refused[] = {
        {0, 0x20, "an int32 where a method token was"}, {0, 0x00, "the token bytes would become code"},
        {0, 0xD0, "another operand type"}, {0, 0x24, "not an opcode"}, {0, 0x1FE06, "not an opcode"},
        {8, 0xFE14, "would prefix the next instruction"}, {9, 0x00, "would unprefix the call"},
        {10, 0x6F, "behind tail."}, {12, 0x28, "behind constrained."}, {7, 0x38, "a one-byte operand"},
    };
    for (const OpcodeRow& row : refused) {
        const uint32_t before = in[row.index]->getOpcode();
        EXPECT_EQ(MRTE_ERROR_FAIL, in[row.index]->setOpcode(row.opcode)) << row.why;
        EXPECT_EQ(before, in[row.index]->getOpcode()) << row.why;
    }
    EngineOperand none = {};
    EXPECT_EQ(MRTE_ERROR_FAIL, in[0]->setOperand(nullptr, 0, 0, 0));
    EXPECT_EQ(MRTE_ERROR_FAIL, in[0]->getOperand(nullptr, 0, 0, 0));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->getOperand(&none, 0, 0, 0));
    EXPECT_EQ(0x2B000001u, none.value);
    ASSERT_EQ(MRTE_RESULT_OK, method->apply());
    Bytes expected = fatBody(code);
    for (auto edit : std::vector<std::pair<size_t, uint8_t>>{{16, 0x2B}, {23, 0x03}, {26, 0x1B}, {33, 0x80},
                                                             {35, 0xFF}, {38, 0xFE}, {39, 0xFF}, {41, 0x0E},
                                                             {66, 0xF2}, {67, 0xFF}, {68, 0xFF}, {69, 0xFF}})
        expected[edit.first] = edit.second;
    EXPECT_EQ(expected, lastInstalled()) << "the accepted edits, last one winning";
}

TEST_F(EngineUse, InstallsThroughTheRuntimeOrLeavesTheMethodAsItWas) {
    const Bytes code = Code().op(0x02).op(0x6F).u32(0x0A000001).op(0x2A).bytes();
    auto edited = [&](const Bytes& body) {
        MethodPtr method = load(body);
        EXPECT_EQ(MRTE_RESULT_OK, instructions(method.get())[1]->setOpcode(0x28));
        return method;
    };
    struct Row {
        AllocatorMode mode;
        cor::HRESULT setResult;
    };
    const Row refusals[] = {{AllocatorMode::NoAllocator, cor::S_OK}, {AllocatorMode::NullAllocator, cor::S_OK},
                            {AllocatorMode::AllocFails, cor::S_OK}, {AllocatorMode::MisalignedAlloc, cor::S_OK},
                            {AllocatorMode::Works, cor::E_FAIL}};
    MethodPtr kept = edited(fatBody(code));
    for (const Row& row : refusals) {
        info.allocatorMode = row.mode;
        info.setBodyResult = row.setResult;
        EXPECT_EQ(MRTE_ERROR_UNABLE_TO_INSTRUMENT, kept->apply()) << static_cast<int>(row.mode);
        EXPECT_TRUE(info.installed().empty());
        EXPECT_EQ(0, info.allocator.references.load()) << "the allocator is given back";
    }
    // A tiny header has no alignment to keep.
    info.setBodyResult = cor::S_OK;
    info.allocatorMode = AllocatorMode::MisalignedAlloc;
    ASSERT_EQ(MRTE_RESULT_OK, edited(tinyBody(code))->apply());
    EXPECT_EQ(with(tinyBody(code), 2, 0x28), lastInstalled());
    // The edits stay: once the runtime takes bodies again, the same method
    // installs them, and only once.
    info.allocatorMode = AllocatorMode::Works;
    ASSERT_EQ(MRTE_RESULT_OK, kept->apply());
    ASSERT_EQ(MRTE_RESULT_OK, kept->apply());
    std::vector<InstalledBody> installed = info.installed();
    ASSERT_EQ(2u, installed.size());
    EXPECT_EQ(kModule, installed[1].module);
    EXPECT_EQ(with(fatBody(code), 13, 0x28), installed[1].bytes);
    const int requests = info.allocatorRequests.load();
    MethodPtr untouched = load(fatBody(code));
    for (IInstruction* i : instructions(untouched.get())) (void)i->isCandidate();
    EXPECT_EQ(MRTE_RESULT_OK, untouched->apply());
    EXPECT_EQ(requests, info.allocatorRequests.load()) << "nothing changed asks the runtime for nothing";
}

TEST_F(EngineUse, MethodFactsFromTheRuntimeAndTheMetadata) {
    info.metadata.addMethodDef(kClass, u"Enter", {0x00, 0x01, 0x01, 0x1C}, RidFromToken(kMethodToken + 0x1001));
    info.metadata.addTypeDef(u"System.Threading.Monitor", RidFromToken(kClass));
    MethodPtr method = load(fatBody(Code().op(0x02).op(0x2A).bytes(), 6, 0, false));
    ASSERT_NE(nullptr, method);
    vesk_wchar className[8], methodName[3];
    for (auto& c : className) c = u'#';
    uint8_t signature[3] = {0xEE, 0xEE, 0xEE};
    EngineMethodInfo mi = {};
    mi.className = className;
    mi.classNameCapacity = 7;
    mi.methodName = methodName;
    mi.methodNameCapacity = 3;
    mi.signature = signature;
    mi.signatureCapacity = 2;
    ASSERT_EQ(MRTE_RESULT_OK, method->getMethodInfo(&mi));
    EXPECT_EQ((std::vector<uint64_t>{kModule, kMethodToken + 0x1001, kClass, 2, 6, 24, 5, 4}),
              (std::vector<uint64_t>{mi.moduleId, mi.methodToken, mi.classToken, mi.ilSize, mi.maxStack,
                                     mi.classNameLength, mi.methodNameLength, mi.signatureLength}));
    EXPECT_EQ(std::u16string(u"System"), std::u16string(className));
    EXPECT_EQ(u'#', className[7]) << "truncated to the capacity";
    EXPECT_EQ(std::u16string(u"En"), std::u16string(methodName));
    EXPECT_EQ((Bytes{0x00, 0x01, 0xEE}), Bytes(signature, signature + 3));
    EXPECT_NE(MRTE_RESULT_OK, method->getMethodInfo(nullptr));
    EXPECT_EQ(2, info.metadata.refCount.load()) << "opened once";
    method.reset();
    EXPECT_EQ(1, info.metadata.refCount.load()) << "given back with the method";
}

}  // namespace
}  // namespace cie_test
