// Re-encoding after edits: in place when sizes stay, and with branches,
// switch targets, EH clauses and the header carried over when they do not.
#include "engine_fixture.h"

namespace cie_test {
namespace {

using tavoli::EngineOperand;
using tavoli::IInstruction;
using tavoli::MRTE_ERROR_UNABLE_TO_INSTRUMENT;
using tavoli::MRTE_RESULT_OK;

class Encode : public EngineTest {
protected:
    std::vector<IInstruction*> open(const Bytes& body) {
        m_method = load(body);
        EXPECT_NE(nullptr, m_method);
        return m_method ? instructions(m_method.get()) : std::vector<IInstruction*>();
    }
    Bytes applied() {
        EXPECT_EQ(MRTE_RESULT_OK, m_method->apply());
        EXPECT_EQ(1u, info.installed().size());
        return lastInstalled();
    }
    void expectRefused() {
        EXPECT_EQ(MRTE_ERROR_UNABLE_TO_INSTRUMENT, m_method->apply());
        EXPECT_TRUE(info.installed().empty());
    }

    MethodPtr m_method;
};

TEST_F(Encode, TokenEditKeepsEverythingElseByteForByte) {
    // InitLocals, a local signature, a max stack of 5, and sections whose
    // reserved and padding bytes are not zero: all must survive.
    const Bytes code = Code().op(0x00).op(0x28).u32(0x0A000001).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();
    Bytes small = smallEhSection({{kFinally, 0, 8, 8, 1, 0}}, true);
    small[2] = 0x5A;
    small[3] = 0xA5;
    Bytes body = fatBody(code, 5, 0x11000003, true, {small, fatEhSection({{kFault, 0, 1, 8, 1, 0}})});
    body[22] = 0x77;  // padding between code (ends at 21) and the first section
    std::vector<IInstruction*> in = open(body);
    EngineOperand op = token(0x0A123456);
    ASSERT_EQ(MRTE_RESULT_OK, in[1]->setOperand(&op, 0, 0, 0));
    Bytes expected = body;
    expected[14] = 0x56;
    expected[15] = 0x34;
    expected[16] = 0x12;
    EXPECT_EQ(expected, applied());
}

TEST_F(Encode, UnchangedOrRevertedEditsInstallNothing) {
    const Bytes body = fatBody(Code().op(0x6F).u32(0x0A000001).op(0x2A).bytes());
    std::vector<IInstruction*> in = open(body);
    EXPECT_EQ(MRTE_RESULT_OK, m_method->apply());
    EngineOperand same = token(0x0A000001);
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOperand(&same, 0, 0, 0));
    EXPECT_EQ(MRTE_RESULT_OK, m_method->apply());
    EngineOperand other = token(0x0A000002);
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOperand(&other, 0, 0, 0));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0x28));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOperand(&same, 0, 0, 0));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0x6F));
    EXPECT_EQ(MRTE_RESULT_OK, m_method->apply());
    EXPECT_EQ(0, info.allocatorRequests.load());
}

TEST_F(Encode, LayoutChangeCarriesBranchesSwitchesAndClauses) {
    const Bytes code = Code()
                           .op(0x00)                      //  0 nop              (try)
                           .op(0x02)                      //  1 ldarg.0
                           .op(0x28).u32(0x06000001)      //  2 call -> ldftn, one byte longer
                           .op(0x26)                      //  7 pop
                           .op(0xDE).u8(1)                //  8 leave.s 11
                           .op(0xDC)                      // 10 endfinally       (handler)
                           .op(0x02)                      // 11 ldarg.0
                           .op(0x45).u32(1).u32(2)        // 12 switch -> 23
                           .op(0x2D).u8(0xE9)             // 21 brtrue.s 0
                           .op(0x2A)                      // 23 ret
                           .bytes();
    std::vector<IInstruction*> in = open(fatBody(code, 4, 0, false, {smallEhSection({{kFinally, 0, 10, 10, 1, 0}})}));
    ASSERT_EQ(MRTE_RESULT_OK, in[2]->setOpcode(0xFE06));
    const Bytes moved = Code()
                            .op(0x00)
                            .op(0x02)
                            .op(0xFE06).u32(0x06000001)
                            .op(0x26)
                            .op(0xDE).u8(1)          //  9 leave.s 12
                            .op(0xDC)                // 11
                            .op(0x02)                // 12
                            .op(0x45).u32(1).u32(2)  // 13 switch -> 24
                            .op(0x2D).u8(0xE8)       // 22 brtrue.s 0
                            .op(0x2A)                // 24
                            .bytes();
    EXPECT_EQ(fatBody(moved, 4, 0, false, {smallEhSection({{kFinally, 0, 11, 11, 1, 0}})}), applied());
}

TEST_F(Encode, FilterOffsetsMoveToo) {
    const Bytes code = Code()
                           .op(0x28).u32(0x06000001)  //  0 call              (try)
                           .op(0xDE).u8(7)            //  5 leave.s 14
                           .op(0x26).op(0x17)         //  7 pop ldc.i4.1      (filter)
                           .op(0xFE11)                //  9 endfilter
                           .op(0x26).op(0xDE).u8(0)   // 11 pop 12 leave.s 14 (handler)
                           .op(0x2A)                  // 14 ret
                           .bytes();
    std::vector<IInstruction*> in = open(fatBody(code, 8, 0, false, {fatEhSection({{kFilter, 0, 7, 11, 3, 7}})}));
    ASSERT_EQ(8u, in.size());
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0xFE06));
    const Bytes moved = Code()
                            .op(0xFE06).u32(0x06000001)
                            .op(0xDE).u8(7)
                            .op(0x26).op(0x17)
                            .op(0xFE11)
                            .op(0x26).op(0xDE).u8(0)
                            .op(0x2A)
                            .bytes();
    EXPECT_EQ(fatBody(moved, 8, 0, false, {fatEhSection({{kFilter, 0, 8, 12, 3, 8}})}), applied());
}

TEST_F(Encode, ShortBranchesGrowWhenOutOfReach) {
    // A at 1 and B at 126 (which reaches back to 0 by exactly -128). A gets a
    // far target and grows; that pushes B out of reach, so it grows too.
    const Bytes code =
        Code().op(0x00).op(0x2B).u8(0).nops(123).op(0x2B).u8(0x80).nops(172).op(0x2A).bytes();
    ASSERT_EQ(301u, code.size());
    std::vector<IInstruction*> in = open(fatBody(code));
    EngineOperand far = {};
    far.kind = tavoli::OPERAND_KIND_BRANCH;
    far.value = 300;
    ASSERT_EQ(MRTE_RESULT_OK, in[1]->setOperand(&far, 0, 0, 0));
    const Bytes grown = Code()
                            .op(0x00)
                            .op(0x38).u32(300)  // br to the ret, now at 306
                            .nops(123)
                            .op(0x38).u32(static_cast<uint32_t>(-134))  // br back to 0
                            .nops(172)
                            .op(0x2A)
                            .bytes();
    EXPECT_EQ(fatBody(grown), applied());
}

TEST_F(Encode, TinyStaysTinyWhileTheCodeFits) {
    std::vector<IInstruction*> in = open(tinyBody(Code().nops(57).op(0x28).u32(0x06000001).bytes()));
    ASSERT_EQ(MRTE_RESULT_OK, in[57]->setOpcode(0xFE06));
    EXPECT_EQ(tinyBody(Code().nops(57).op(0xFE06).u32(0x06000001).bytes()), applied());
}

TEST_F(Encode, TinyBecomesFatWhenTheCodeOutgrowsIt) {
    std::vector<IInstruction*> in = open(tinyBody(Code().nops(58).op(0x28).u32(0x06000001).bytes()));
    ASSERT_EQ(MRTE_RESULT_OK, in[58]->setOpcode(0xFE06));
    // A fat header with what the tiny one implied: max stack 8, no locals.
    EXPECT_EQ(fatBody(Code().nops(58).op(0xFE06).u32(0x06000001).bytes(), 8, 0, false), applied());
}

TEST_F(Encode, SmallClausesBecomeFatWhenTheyNoLongerFit) {
    const Bytes code = Code().op(0x28).u32(0x06000001).nops(248).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();
    std::vector<IInstruction*> in =
        open(fatBody(code, 8, 0, false, {smallEhSection({{kFinally, 0, 255, 255, 1, 0}})}));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0xFE06));
    const Bytes moved = Code().op(0xFE06).u32(0x06000001).nops(248).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();
    EXPECT_EQ(fatBody(moved, 8, 0, false, {fatEhSection({{kFinally, 0, 256, 256, 1, 0}})}), applied());
}

TEST_F(Encode, SectionChainsKeepTheirShapeWhenMoved) {
    const Bytes code = Code().op(0x28).u32(0x06000001).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();
    const std::vector<Bytes> sections = {smallEhSection({{kFinally, 0, 7, 7, 1, 0}}, true),
                                         fatEhSection({{kFault, 0, 5, 7, 1, 0}})};
    std::vector<IInstruction*> in = open(fatBody(code, 8, 0, false, sections));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0xFE06));
    const Bytes moved = Code().op(0xFE06).u32(0x06000001).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();
    EXPECT_EQ(fatBody(moved, 8, 0, false,
                      {smallEhSection({{kFinally, 0, 8, 8, 1, 0}}, true), fatEhSection({{kFault, 0, 6, 8, 1, 0}})}),
              applied());
}

TEST_F(Encode, BranchIntoAnInstructionCannotMove) {
    // 0: br.s 3 (inside the ldc.i4)  2: ldc.i4  7: call  12: ret
    const Bytes code = Code().op(0x2B).u8(1).op(0x20).u32(0).op(0x28).u32(0x06000001).op(0x2A).bytes();
    std::vector<IInstruction*> in = open(fatBody(code));
    ASSERT_EQ(MRTE_RESULT_OK, in[2]->setOpcode(0xFE06));
    expectRefused();
    // In place, the odd target is carried as it was.
    ASSERT_EQ(MRTE_RESULT_OK, in[2]->setOpcode(0x6F));
    Bytes expected = fatBody(code);
    expected[12 + 7] = 0x6F;
    EXPECT_EQ(expected, applied());
}

TEST_F(Encode, ClauseInsideAnInstructionCannotMove) {
    const Bytes code = Code().op(0x28).u32(0x06000001).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();
    std::vector<IInstruction*> in = open(fatBody(code, 8, 0, false, {smallEhSection({{kFinally, 1, 6, 7, 1, 0}})}));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0xFE06));
    expectRefused();
}

TEST_F(Encode, SectionsOtherThanEhTablesCannotMove) {
    const Bytes code = Code().op(0x28).u32(0x06000001).op(0x2A).bytes();
    const Bytes other = Code().u8(0x02).u8(8).u16(0).u32(0x12345678).bytes();
    std::vector<IInstruction*> in = open(fatBody(code, 8, 0, false, {other}));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0xFE06));
    expectRefused();
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0x6F));
    Bytes expected = fatBody(code, 8, 0, false, {other});
    expected[12] = 0x6F;
    EXPECT_EQ(expected, applied());
}

TEST_F(Encode, EhTablesWithPartialClausesCannotMove) {
    const Bytes code = Code().op(0x28).u32(0x06000001).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();
    Bytes ragged = smallEhSection({{kFinally, 0, 7, 7, 1, 0}});
    ragged[1] = 18;  // one clause and two stray bytes
    ragged.push_back(0xAB);
    ragged.push_back(0xCD);
    std::vector<IInstruction*> in = open(fatBody(code, 8, 0, false, {ragged}));
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0xFE06));
    expectRefused();
    ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0x6F));
    Bytes expected = fatBody(code, 8, 0, false, {ragged});
    expected[12] = 0x6F;
    EXPECT_EQ(expected, applied());
}

}  // namespace
}  // namespace cie_test
