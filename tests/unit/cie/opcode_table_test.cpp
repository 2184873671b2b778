// The instruction set as the engine knows it, checked against an independent
// list of operand sizes, and every opcode decoded and re-encoded in a body.
#include "body_builder.h"
#include "cie/body_decoder.h"
#include "cie/body_encoder.h"
#include "cie/opcodes.h"

#include <gtest/gtest.h>

#include <set>

namespace cie_test {
namespace {

using tavoli::cie::findOpcode;

std::set<uint32_t> range(uint32_t first, uint32_t last) {
    std::set<uint32_t> out;
    for (uint32_t v = first; v <= last; ++v) out.insert(v);
    return out;
}

std::set<uint32_t> unite(std::initializer_list<std::set<uint32_t>> sets) {
    std::set<uint32_t> out;
    for (const auto& s : sets) out.insert(s.begin(), s.end());
    return out;
}

// Numbers that are not opcodes, from the instruction set's opcode map.
std::set<uint32_t> unusedOneByte() {
    return unite(
        {{0x24, 0x77, 0x78, 0xC4, 0xC5}, range(0xA6, 0xB2), range(0xBB, 0xC1), range(0xC7, 0xCF), range(0xE1, 0xFF)});
}
std::set<uint32_t> unusedTwoByte() { return unite({{0xFE08, 0xFE10, 0xFE1B}, range(0xFE1F, 0xFEFF)}); }

// Operand bytes by opcode (a switch's count field only), written out from
// the instruction set independently of the engine's table.
uint32_t expectedOperandBytes(uint32_t op) {
    static const std::set<uint32_t> one = unite({range(0x0E, 0x13), {0x1F}, range(0x2B, 0x37), {0xDE, 0xFE12, 0xFE19}});
    static const std::set<uint32_t> two = range(0xFE09, 0xFE0E);
    static const std::set<uint32_t> four = unite({{0x20, 0x22, 0x27, 0x28, 0x29, 0x45, 0x6F},
                                                  range(0x38, 0x44),
                                                  range(0x70, 0x75),
                                                  {0x79},
                                                  range(0x7B, 0x81),
                                                  {0x8C, 0x8D, 0x8F},
                                                  range(0xA3, 0xA5),
                                                  {0xC2, 0xC6, 0xD0, 0xDD},
                                                  {0xFE06, 0xFE07, 0xFE15, 0xFE16, 0xFE1C}});
    static const std::set<uint32_t> eight = {0x21, 0x23};
    if (one.count(op)) return 1;
    if (two.count(op)) return 2;
    if (four.count(op)) return 4;
    if (eight.count(op)) return 8;
    return 0;
}

std::vector<uint32_t> allOpcodes() {
    std::vector<uint32_t> out;
    for (uint32_t op = 0; op <= 0xFF; ++op)
        if (findOpcode(op) != nullptr) out.push_back(op);
    for (uint32_t op = 0xFE00; op <= 0xFEFF; ++op)
        if (findOpcode(op) != nullptr) out.push_back(op);
    return out;
}

TEST(OpcodeTable, KnowsExactlyTheInstructionSet) {
    const std::set<uint32_t> unused1 = unusedOneByte(), unused2 = unusedTwoByte();
    for (uint32_t op = 0; op <= 0xFF; ++op)
        EXPECT_EQ(unused1.count(op) == 0, findOpcode(op) != nullptr) << std::hex << op;
    for (uint32_t op = 0xFE00; op <= 0xFEFF; ++op)
        EXPECT_EQ(unused2.count(op) == 0, findOpcode(op) != nullptr) << std::hex << op;
    EXPECT_EQ(nullptr, findOpcode(0xFD00 | 0x06));
    EXPECT_EQ(nullptr, findOpcode(0x1FE06));
    // The decoder refuses what the table does not know.
    for (uint32_t op : unite({unusedOneByte(), unusedTwoByte()})) {
        const Bytes code = op == 0xFE ? Code().op(0x00).u8(0xFE).bytes() : Code().op(0x00).op(op).op(0x2A).bytes();
        tavoli::cie::MethodBody decoded;
        EXPECT_NE(tavoli::cie::DecodeStatus::Ok, tavoli::cie::decodeBody(tinyBody(code).data(), code.size() + 1, decoded))
            << std::hex << op;
    }
}

TEST(OpcodeTable, OperandSizesMatchTheInstructionSet) {
    for (uint32_t op : allOpcodes())
        EXPECT_EQ(expectedOperandBytes(op), tavoli::cie::operandSize(findOpcode(op)->operand))
            << std::hex << op << " " << findOpcode(op)->name;
}

// Each opcode decodes with its size, a token or zeros for its operand
// (branches land on the ret), and encodes back unchanged.
TEST(OpcodeTable, EveryOpcodeDecodesWithItsSizeAndEncodesBack) {
    using namespace tavoli::cie;
    for (uint32_t op : allOpcodes()) {
        Code c;
        c.op(op);
        if (op == 0x45) {
            c.u32(2).u32(0).u32(0);  // two targets
        } else if (isTokenOperand(findOpcode(op)->operand)) {
            c.u32(0x0A000003);
        } else {
            c.nops(expectedOperandBytes(op));
        }
        const Bytes body = fatBody(c.op(0x2A).bytes());
        MethodBody decoded;
        ASSERT_EQ(DecodeStatus::Ok, decodeBody(body.data(), body.size(), decoded)) << std::hex << op;
        ASSERT_EQ(2u, decoded.instructions.size()) << std::hex << op;
        const uint32_t size = (op > 0xFF ? 2 : 1) + expectedOperandBytes(op) + (op == 0x45 ? 8 : 0);
        EXPECT_EQ(op, decoded.instructions[0].opcode);
        EXPECT_EQ(size, decoded.instructions[1].offset) << std::hex << op;
        Bytes encoded;
        ASSERT_EQ(EncodeStatus::Ok, encodeBody(decoded, encoded));
        EXPECT_EQ(body, encoded) << std::hex << op;
    }
}

}  // namespace
}  // namespace cie_test
