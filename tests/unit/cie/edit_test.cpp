// setOperand and setOpcode: what they accept, what they refuse, and that a
// refusal leaves the method exactly as it was.
#include "engine_fixture.h"

namespace cie_test {
namespace {

using tavoli::EngineOperand;
using tavoli::IInstruction;
using tavoli::MRTE_ERROR_FAIL;
using tavoli::MRTE_RESULT_OK;

EngineOperand operand(uint32_t kind, uint32_t value, uint32_t high = 0) {
    EngineOperand op = {};
    op.kind = kind;
    op.value = value;
    op.reserved[0] = high;
    return op;
}

class Edit : public EngineTest {
protected:
    // Loads the code as a fat method and gives its instructions.
    std::vector<IInstruction*> open(const Bytes& code) {
        m_body = fatBody(code);
        m_method = load(m_body);
        EXPECT_NE(nullptr, m_method);
        return m_method ? instructions(m_method.get()) : std::vector<IInstruction*>();
    }
    // Nothing was changed: apply has nothing to install.
    void expectUnchanged() {
        EXPECT_EQ(MRTE_RESULT_OK, m_method->apply());
        EXPECT_EQ(0, info.allocatorRequests.load());
    }
    Bytes applied() {
        EXPECT_EQ(MRTE_RESULT_OK, m_method->apply());
        return lastInstalled();
    }

    Bytes m_body;
    MethodPtr m_method;
};

TEST_F(Edit, TokenOfACallIsReplacedInPlace) {
    std::vector<IInstruction*> in = open(Code().op(0x02).op(0x28).u32(0x0A000001).op(0x2A).bytes());
    EngineOperand op = token(0x0A0000C7);
    ASSERT_EQ(MRTE_RESULT_OK, in[1]->setOperand(&op, 0, 0, 0));
    EngineOperand back = {};
    ASSERT_EQ(MRTE_RESULT_OK, in[1]->getOperand(&back, 0, 0, 0));
    EXPECT_EQ(0x0A0000C7u, back.value);
    EXPECT_EQ(5u, in[1]->getSize());
    Bytes expected = m_body;
    expected[12 + 2] = 0xC7;
    EXPECT_EQ(expected, applied());
}

TEST_F(Edit, TokensMustBelongToATableTheOpcodeTakes) {
    std::vector<IInstruction*> in = open(Code()
                                             .op(0x28).u32(0x0A000001)   // call
                                             .op(0x72).u32(0x70000001)   // ldstr
                                             .op(0xD0).u32(0x02000001)   // ldtoken
                                             .op(0x29).u32(0x11000001)   // calli
                                             .op(0x7B).u32(0x04000001)   // ldfld
                                             .op(0x8C).u32(0x01000001)   // box
                                             .op(0x2A)
                                             .bytes());
    struct Case {
        size_t index;
        uint32_t token;
        bool fits;
    };
    const Case cases[] = {
        {0, 0x06000002, true},  {0, 0x2B000001, true},  {0, 0x01000001, false}, {0, 0x0A000000, false},
        {0, 0x70000001, false}, {0, 0x04000001, false}, {1, 0x70000002, true},  {1, 0x0A000001, false},
        {2, 0x04000003, true},  {2, 0x06000003, true},  {2, 0x1B000003, true},  {2, 0x70000003, false},
        {2, 0x11000001, false}, {3, 0x11000002, true},  {3, 0x06000001, false}, {4, 0x0A000005, true},
        {4, 0x06000005, false}, {5, 0x1B000004, true},  {5, 0x0A000004, false}, {5, 0x00000001, false},
    };
    for (const Case& c : cases) {
        EngineOperand before = {};
        in[c.index]->getOperand(&before, 0, 0, 0);
        EngineOperand op = token(c.token);
        EXPECT_EQ(c.fits ? MRTE_RESULT_OK : MRTE_ERROR_FAIL, in[c.index]->setOperand(&op, 0, 0, 0))
            << c.index << " " << std::hex << c.token;
        EngineOperand after = {};
        in[c.index]->getOperand(&after, 0, 0, 0);
        EXPECT_EQ(c.fits ? c.token : before.value, after.value);
    }
}

TEST_F(Edit, KindMustBeTheOperandsOwn) {
    std::vector<IInstruction*> in = open(Code()
                                             .op(0x28).u32(0x0A000001)  // call
                                             .op(0x20).u32(7)           // ldc.i4
                                             .op(0x00)                  // nop
                                             .op(0x2B).u8(0)            // br.s
                                             .op(0x0E).u8(1)            // ldarg.s
                                             .op(0x11).u8(1)            // ldloc.s
                                             .op(0x2A)
                                             .bytes());
    const uint32_t all[] = {tavoli::OPERAND_KIND_NONE,    tavoli::OPERAND_KIND_INT8,    tavoli::OPERAND_KIND_UINT8,
                            tavoli::OPERAND_KIND_INT32,   tavoli::OPERAND_KIND_INT64,   tavoli::OPERAND_KIND_FLOAT32,
                            tavoli::OPERAND_KIND_FLOAT64, tavoli::OPERAND_KIND_BRANCH,  tavoli::OPERAND_KIND_SWITCH,
                            tavoli::OPERAND_KIND_ARGUMENT, tavoli::OPERAND_KIND_LOCAL,  11,
                            12,                           13,                           tavoli::OPERAND_KIND_TOKEN,
                            15,                           0xFFFFFFFF};
    for (size_t i = 0; i + 1 < in.size(); ++i) {
        EngineOperand own = {};
        ASSERT_EQ(MRTE_RESULT_OK, in[i]->getOperand(&own, 0, 0, 0));
        for (uint32_t kind : all) {
            if (kind == own.kind) continue;
            EngineOperand op = operand(kind, 0x0A000002);
            EXPECT_EQ(MRTE_ERROR_FAIL, in[i]->setOperand(&op, 0, 0, 0)) << i << " kind " << kind;
        }
        EXPECT_EQ(MRTE_ERROR_FAIL, in[i]->setOperand(nullptr, 0, 0, 0));
        EXPECT_EQ(MRTE_ERROR_FAIL, in[i]->getOperand(nullptr, 0, 0, 0));
    }
    expectUnchanged();
}

TEST_F(Edit, ImmediatesMustFitTheirEncoding) {
    std::vector<IInstruction*> in = open(Code()
                                             .op(0x1F).u8(0)            // ldc.i4.s
                                             .op(0x0E).u8(0)            // ldarg.s
                                             .op(0xFE0C).u16(0)         // ldloc
                                             .op(0xFE12).u8(1).op(0x4A)  // unaligned. ldind.i4
                                             .op(0x21).u64(0)           // ldc.i8
                                             .op(0x23).u64(0)           // ldc.r8
                                             .op(0x20).u32(0)           // ldc.i4
                                             .op(0x22).u32(0)           // ldc.r4
                                             .op(0x2A)
                                             .bytes());
    struct Case {
        size_t index;
        uint32_t kind;
        uint32_t value;
        bool fits;
    };
    const uint32_t I8 = tavoli::OPERAND_KIND_INT8, ARG = tavoli::OPERAND_KIND_ARGUMENT,
                   LOC = tavoli::OPERAND_KIND_LOCAL, U8 = tavoli::OPERAND_KIND_UINT8;
    const Case cases[] = {
        {0, I8, 127, true},       {0, I8, 0xFFFFFF80, true}, {0, I8, 128, false},  {0, I8, 0xFFFFFF7F, false},
        {0, I8, 0x000000FF, false}, {1, ARG, 255, true},     {1, ARG, 256, false}, {2, LOC, 0xFFFE, true},
        {2, LOC, 0xFFFF, false},  {3, U8, 4, true},          {3, U8, 0x100, false},
    };
    for (const Case& c : cases) {
        EngineOperand op = operand(c.kind, c.value);
        EXPECT_EQ(c.fits ? MRTE_RESULT_OK : MRTE_ERROR_FAIL, in[c.index]->setOperand(&op, 0, 0, 0))
            << c.index << " " << c.value;
    }
    EngineOperand wide = operand(tavoli::OPERAND_KIND_INT64, 0x55667788, 0x11223344);
    ASSERT_EQ(MRTE_RESULT_OK, in[5]->setOperand(&wide, 0, 0, 0));
    EngineOperand real = operand(tavoli::OPERAND_KIND_FLOAT64, 0x54442D18, 0x400921FB);
    ASSERT_EQ(MRTE_RESULT_OK, in[6]->setOperand(&real, 0, 0, 0));
    EngineOperand i4 = operand(tavoli::OPERAND_KIND_INT32, 0xDEADBEEF);
    ASSERT_EQ(MRTE_RESULT_OK, in[7]->setOperand(&i4, 0, 0, 0));
    EngineOperand r4 = operand(tavoli::OPERAND_KIND_FLOAT32, 0x3FC00000);
    ASSERT_EQ(MRTE_RESULT_OK, in[8]->setOperand(&r4, 0, 0, 0));

    const Bytes expected = fatBody(Code()
                                       .op(0x1F).u8(0x80)
                                       .op(0x0E).u8(255)
                                       .op(0xFE0C).u16(0xFFFE)
                                       .op(0xFE12).u8(4).op(0x4A)
                                       .op(0x21).u64(0x1122334455667788ull)
                                       .op(0x23).u64(0x400921FB54442D18ull)
                                       .op(0x20).u32(0xDEADBEEF)
                                       .op(0x22).u32(0x3FC00000)
                                       .op(0x2A)
                                       .bytes());
    EXPECT_EQ(expected, applied());
}

TEST_F(Edit, BranchTargetsMustBeInstructionStarts) {
    // 0: br.s -> 2   2: ldc.i4 5   7: pop   8: ret
    std::vector<IInstruction*> in = open(Code().op(0x2B).u8(0).op(0x20).u32(5).op(0x26).op(0x2A).bytes());
    for (uint32_t bad : {1u, 3u, 6u, 9u, 100u, 0xFFFFFFFFu}) {
        EngineOperand op = operand(tavoli::OPERAND_KIND_BRANCH, bad);
        EXPECT_EQ(MRTE_ERROR_FAIL, in[0]->setOperand(&op, 0, 0, 0)) << bad;
    }
    EngineOperand op = operand(tavoli::OPERAND_KIND_BRANCH, 8);
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOperand(&op, 0, 0, 0));
    EngineOperand back = {};
    in[0]->getOperand(&back, 0, 0, 0);
    EXPECT_EQ(8u, back.value);
    EXPECT_EQ(fatBody(Code().op(0x2B).u8(6).op(0x20).u32(5).op(0x26).op(0x2A).bytes()), applied());
}

TEST_F(Edit, SwitchTargetsBySelector) {
    // 0: switch (2) -> 13, 13   13: nop   14: ret
    std::vector<IInstruction*> in = open(Code().op(0x45).u32(2).u32(0).u32(0).op(0x00).op(0x2A).bytes());
    EngineOperand op = operand(tavoli::OPERAND_KIND_SWITCH, 14);
    EXPECT_EQ(MRTE_ERROR_FAIL, in[0]->setOperand(&op, 0, 0, 0));  // the count cannot change
    EXPECT_EQ(MRTE_ERROR_FAIL, in[0]->setOperand(&op, 3, 0, 0));
    EngineOperand inside = operand(tavoli::OPERAND_KIND_SWITCH, 5);
    EXPECT_EQ(MRTE_ERROR_FAIL, in[0]->setOperand(&inside, 1, 0, 0));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOperand(&op, 2, 0, 0));
    EngineOperand back = {};
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->getOperand(&back, 2, 0, 0));
    EXPECT_EQ(14u, back.value);
    EXPECT_EQ(fatBody(Code().op(0x45).u32(2).u32(0).u32(1).op(0x00).op(0x2A).bytes()), applied());
}

TEST_F(Edit, OpcodeChangesBetweenCallKinds) {
    std::vector<IInstruction*> in = open(Code()
                                             .op(0x6F).u32(0x0A000001)  // callvirt
                                             .op(0x73).u32(0x0A000002)  // newobj
                                             .op(0x28).u32(0x0A000003)  // call
                                             .op(0x2A)
                                             .bytes());
    EXPECT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0x28));
    EXPECT_EQ(MRTE_RESULT_OK, in[1]->setOpcode(0x28));
    EXPECT_EQ(MRTE_RESULT_OK, in[2]->setOpcode(0x6F));
    EXPECT_EQ(0x28u, in[0]->getOpcode());
    EXPECT_EQ(0x28u, in[1]->getOpcode());
    EXPECT_EQ(0x6Fu, in[2]->getOpcode());
    Bytes expected = m_body;
    expected[12] = 0x28;
    expected[17] = 0x28;
    expected[22] = 0x6F;
    EXPECT_EQ(expected, applied());
}

TEST_F(Edit, OpcodeChangesThatWouldCorruptAreRefused) {
    std::vector<IInstruction*> in = open(Code()
                                             .op(0x28).u32(0x0A000001)                     // 0 call
                                             .op(0x00)                                     // 1 nop
                                             .op(0xFE14).op(0x28).u32(0x0A000001)          // 2 tail. 3 call
                                             .op(0xFE16).u32(0x01000001).op(0x6F).u32(0x0A000001)  // 4 5
                                             .op(0xD0).u32(0x01000002)                     // 6 ldtoken
                                             .op(0x2B).u8(0)                               // 7 br.s
                                             .op(0x2A)
                                             .bytes());
    struct Case {
        size_t index;
        uint32_t opcode;
    };
    const Case refused[] = {
        {0, 0x20},    // call -> ldc.i4: an int32 where a method token was
        {0, 0x00},    // call -> nop: the token bytes would become code
        {0, 0x72},    // call -> ldstr: a method token is no string
        {0, 0xD0},    // call -> ldtoken: another operand type
        {0, 0x24},    // not an opcode
        {0, 0xFE08},  // not an opcode
        {0, 0x1FE06}, // not an opcode
        {1, 0xFE14},  // nop -> tail.: would prefix the next instruction
        {1, 0xFE1E},  // nop -> readonly.
        {2, 0x00},    // tail. -> nop: would unprefix the call
        {3, 0x6F},    // behind tail.
        {5, 0x28},    // behind constrained.
        {6, 0x28},    // ldtoken -> call
        {7, 0x38},    // br.s -> br: the operand is one byte
    };
    for (const Case& c : refused) {
        const uint32_t before = in[c.index]->getOpcode();
        EXPECT_EQ(MRTE_ERROR_FAIL, in[c.index]->setOpcode(c.opcode)) << c.index << " " << std::hex << c.opcode;
        EXPECT_EQ(before, in[c.index]->getOpcode());
    }
    // Setting what is already there is no change at all, even behind a prefix.
    EXPECT_EQ(MRTE_RESULT_OK, in[5]->setOpcode(0x6F));
    EXPECT_EQ(MRTE_RESULT_OK, in[2]->setOpcode(0xFE14));
    // Same operand type: allowed.
    EXPECT_EQ(MRTE_RESULT_OK, in[7]->setOpcode(0x2C));
    EXPECT_EQ(MRTE_RESULT_OK, in[7]->setOpcode(0x2B));
    expectUnchanged();
}

TEST_F(Edit, SizeFollowsTheOpcode) {
    std::vector<IInstruction*> in = open(Code().op(0x28).u32(0x06000001).op(0x2A).bytes());
    EXPECT_EQ(5u, in[0]->getSize());
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0xFE06));  // ldftn: same token operand, one byte longer
    EXPECT_EQ(6u, in[0]->getSize());
    EXPECT_EQ(5u, in[1]->getOffset());  // offsets stay as decoded
}

}  // namespace
}  // namespace cie_test
