// Re-encoding: bodies come back byte for byte when nothing moved; when an
// instruction grows, every branch, switch target and exception clause follows
// the instruction it named; and edits the runtime would misread are refused.
#include "cie/body_decoder.h"
#include "cie/body_encoder.h"
#include "engine_fixture.h"
#include "real_bodies.h"

#include <functional>
#include <map>

namespace cie_test {
namespace {

using namespace tavoli::cie;
using tavoli::IInstruction;
using tavoli::MRTE_RESULT_OK;

// try { call; leave.s } finally { endfinally } ret, with room for short
// branches to reach just as far as they can.
const Bytes kCallInTry = Code().op(0x28).u32(0x06000001).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();

// Bodies beyond the real ones: short branches at the edge of their reach,
// an empty switch, sections with bytes that are not zero where nothing is
// read.
std::vector<Bytes> handMadeBodies() {
    Bytes padded = fatBody(kCallInTry, 5, 0x11000003, true,
                           {smallEhSection({{kFinally, 0, 7, 7, 1, 0}}, true), fatEhSection({{kFault, 0, 5, 7, 1, 0}})});
    padded[22] = 0x77;  // padding between code and section
    padded[26] = 0x5A;  // reserved bytes of the small section
    padded[27] = 0xA5;
    return {
        fatBody(Code().op(0x2B).u8(127).nops(127).op(0x2A).bytes()),
        fatBody(Code().nops(126).op(0x2B).u8(0x80).op(0x2A).bytes()),
        tinyBody(Code().op(0x16).op(0x45).u32(0).op(0x2A).bytes()),
        padded,
        fatBody(Code().op(0x00).op(0x2B).u8(0xFD).op(0x3A).u32(5).op(0xDE).u8(3).nops(3).op(0x2A).bytes(), 8, 0,
                false, {fatEhSection({{kFilter, 0, 3, 8, 5, 3}})}),
    };
}

std::vector<Bytes> allBodies() {
    std::vector<Bytes> all = handMadeBodies();
    for (const RealBody& b : kRealBodies) all.push_back(hex(b.hex));
    return all;
}

MethodBody decoded(const Bytes& bytes) {
    MethodBody body;
    EXPECT_EQ(DecodeStatus::Ok, decodeBody(bytes.data(), bytes.size(), body));
    return body;
}

TEST(Encode, EveryBodyComesBackByteForByte) {
    for (const Bytes& bytes : allBodies()) {
        Bytes again;
        ASSERT_EQ(EncodeStatus::Ok, encodeBody(decoded(bytes), again));
        EXPECT_EQ(bytes, again);
    }
}

// The re-encoded body holds the same program: the same instructions (short
// branches may have grown), with every branch, switch target and clause at
// the new place of what it named.
void expectSameProgram(const MethodBody& before, const MethodBody& after, size_t grown) {
    ASSERT_EQ(before.instructions.size(), after.instructions.size());
    std::map<int64_t, int64_t> moved;
    for (size_t k = 0; k < before.instructions.size(); ++k)
        moved[before.instructions[k].offset] = after.instructions[k].offset;
    moved[before.codeSize] = after.codeSize;
    auto to = [&](int64_t offset) { return moved.count(offset) ? moved[offset] : -1; };
    for (size_t k = 0; k < before.instructions.size(); ++k) {
        const Instruction& a = before.instructions[k];
        const Instruction& b = after.instructions[k];
        if (k != grown) {
            EXPECT_TRUE(a.opcode == b.opcode || longBranchForm(a.opcode) == b.opcode) << k;
        }
        EXPECT_EQ(a.value, b.value) << k;
        if (a.operand == OperandType::ShortBranch || a.operand == OperandType::Branch) {
            EXPECT_EQ(to(a.target), b.target) << k;
        }
        ASSERT_EQ(a.switchCount, b.switchCount);
        for (uint32_t t = 0; t < a.switchCount; ++t)
            EXPECT_EQ(to(before.switchTargets[a.switchFirst + t]), after.switchTargets[b.switchFirst + t]);
    }
    ASSERT_EQ(before.sections.size(), after.sections.size());
    for (size_t s = 0; s < before.sections.size(); ++s) {
        ASSERT_EQ(before.sections[s].clauses.size(), after.sections[s].clauses.size());
        for (size_t c = 0; c < before.sections[s].clauses.size(); ++c) {
            const EhClause& x = before.sections[s].clauses[c];
            const EhClause& y = after.sections[s].clauses[c];
            EXPECT_EQ(to(x.tryOffset), y.tryOffset) << "clause " << c;
            EXPECT_EQ(to(int64_t(x.tryOffset) + x.tryLength), int64_t(y.tryOffset) + y.tryLength) << "clause " << c;
            EXPECT_EQ(to(x.handlerOffset), y.handlerOffset) << "clause " << c;
            EXPECT_EQ(to(int64_t(x.handlerOffset) + x.handlerLength), int64_t(y.handlerOffset) + y.handlerLength)
                << "clause " << c;
            const bool filter = (x.flags & kFilter) != 0;
            EXPECT_EQ(filter ? to(x.classTokenOrFilterOffset) : x.classTokenOrFilterOffset, y.classTokenOrFilterOffset)
                << "clause " << c;
        }
    }
}

TEST(Encode, GrowingAnyInstructionMovesEverythingAfterIt) {
    // Every instruction without an operand, in turn, becomes the one byte
    // longer ceq: not useful code, but it moves all that follows.
    for (const Bytes& bytes : allBodies()) {
        const MethodBody before = decoded(bytes);
        for (size_t k = 0; k < before.instructions.size(); ++k) {
            if (before.instructions[k].operand != OperandType::None || before.instructions[k].opcode > 0xFF) continue;
            SCOPED_TRACE(testing::Message() << "instruction " << k << " of a body of " << bytes.size() << " bytes");
            MethodBody edited = before;
            edited.instructions[k].opcode = 0xFE01;
            Bytes grown;
            ASSERT_EQ(EncodeStatus::Ok, encodeBody(edited, grown));
            const MethodBody after = decoded(grown);
            EXPECT_GT(after.codeSize, before.codeSize);
            expectSameProgram(before, after, k);
        }
    }
}

struct EditRow {
    const char* guards;
    Bytes body;
    std::function<void(std::vector<IInstruction*>&)> edit;
    Bytes expected;  // empty: the runtime is not asked to take anything
};

class EncodeEdits : public EngineTest {};

TEST_F(EncodeEdits, WhatTheRuntimeIsGiven) {
    auto setOpcode = [](size_t index, uint32_t opcode) {
        return [=](std::vector<IInstruction*>& in) { ASSERT_EQ(MRTE_RESULT_OK, in[index]->setOpcode(opcode)); };
    };
    const Bytes farCode = Code().op(0x00).op(0x2B).u8(0).nops(123).op(0x2B).u8(0x80).nops(172).op(0x2A).bytes();
    Bytes ragged = smallEhSection({{kFinally, 0, 7, 7, 1, 0}});
    ragged[1] = 18;  // one clause and two stray bytes
    ragged.insert(ragged.end(), {0xAB, 0xCD});
    const Bytes notEh = Code().u8(0x02).u8(8).u16(0).u32(0x12345678).bytes();
    const EditRow rows[] = {
        {"an edit set back installs nothing", fatBody(kCallInTry),
         [](std::vector<IInstruction*>& in) {
             ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0xFE06));
             ASSERT_EQ(MRTE_RESULT_OK, in[0]->setOpcode(0x28));
         },
         {}},
        {"short branches pushed out of reach grow, one after the other", fatBody(farCode),
         [](std::vector<IInstruction*>& in) {
             tavoli::EngineOperand far = operand(tavoli::OPERAND_KIND_BRANCH, 300);
             ASSERT_EQ(MRTE_RESULT_OK, in[1]->setOperand(&far, 0, 0, 0));
         },
         fatBody(Code().op(0x00).op(0x38).u32(300).nops(123).op(0x38).u32(static_cast<uint32_t>(-134)).nops(172)
                     .op(0x2A).bytes())},
        {"tiny stays tiny while the code fits", tinyBody(Code().nops(57).op(0x28).u32(0x06000001).bytes()),
         setOpcode(57, 0xFE06), tinyBody(Code().nops(57).op(0xFE06).u32(0x06000001).bytes())},
        {"tiny becomes fat with the values tiny implied", tinyBody(Code().nops(58).op(0x28).u32(0x06000001).bytes()),
         setOpcode(58, 0xFE06), fatBody(Code().nops(58).op(0xFE06).u32(0x06000001).bytes(), 8, 0, false)},
        {"small clauses become fat when they no longer fit",
         fatBody(Code().op(0x28).u32(0x06000001).nops(248).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes(), 8, 0, false,
                 {smallEhSection({{kFinally, 0, 255, 255, 1, 0}})}),
         setOpcode(0, 0xFE06),
         fatBody(Code().op(0xFE06).u32(0x06000001).nops(248).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes(), 8, 0, false,
                 {fatEhSection({{kFinally, 0, 256, 256, 1, 0}})})},
        {"a branch into an instruction cannot move",
         fatBody(Code().op(0x2B).u8(1).op(0x20).u32(0).op(0x28).u32(0x06000001).op(0x2A).bytes()),
         setOpcode(2, 0xFE06), {}},
        {"a clause inside an instruction cannot move",
         fatBody(kCallInTry, 8, 0, false, {smallEhSection({{kFinally, 1, 6, 7, 1, 0}})}), setOpcode(0, 0xFE06), {}},
        {"sections other than exception tables cannot move", fatBody(kCallInTry, 8, 0, false, {notEh}),
         setOpcode(0, 0xFE06), {}},
        {"exception tables with stray bytes cannot move", fatBody(kCallInTry, 8, 0, false, {ragged}),
         setOpcode(0, 0xFE06), {}},
        {"but they are carried as they are in place", fatBody(kCallInTry, 8, 0, false, {ragged}),
         setOpcode(0, 0x6F), with(fatBody(kCallInTry, 8, 0, false, {ragged}), 12, 0x6F)},
    };
    for (const EditRow& row : rows) {
        SCOPED_TRACE(row.guards);
        const size_t before = info.installed().size();
        MethodPtr method = load(row.body);
        ASSERT_NE(nullptr, method);
        std::vector<IInstruction*> in = instructions(method.get());
        row.edit(in);
        if (row.expected.empty()) {
            method->apply();
            EXPECT_EQ(before, info.installed().size());
        } else {
            ASSERT_EQ(MRTE_RESULT_OK, method->apply());
            ASSERT_EQ(before + 1, info.installed().size());
            EXPECT_EQ(row.expected, lastInstalled());
        }
    }
}

}  // namespace
}  // namespace cie_test
