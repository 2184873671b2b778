// Decoding method bodies: real ones the compiler produced, checked against
// its own layout; hand-made ones for every operand form; and every way a body
// can be malformed.
#include "cie/body_decoder.h"
#include "engine_fixture.h"
#include "real_bodies.h"

#include <cstring>

namespace cie_test {
namespace {

using namespace tavoli::cie;

// From a heap block of exactly the body's size, so that a read past its end
// is an overflow the sanitizer reports.
DecodeStatus decodeExact(const Bytes& bytes, MethodBody& body, size_t size = SIZE_MAX) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.empty() ? 1 : bytes.size()]);
    if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
    return decodeBody(block.get(), size == SIZE_MAX ? bytes.size() : size, body);
}

Bytes realBody(const char* name) {
    for (const RealBody& b : kRealBodies)
        if (std::strcmp(b.name, name) == 0) return hex(b.hex);
    ADD_FAILURE() << "no body " << name;
    return Bytes();
}

struct Listed {
    uint32_t offset, opcode;
    int64_t operand;  // token, branch target or immediate; 0 when none
};

TEST(Decode, RealBodiesListAsTheCompilerLaidThemOut) {
    const std::pair<const char*, std::vector<Listed>> listings[] = {
        {"Locked", {{0, 0x7E, 0x04000001}, {5, 0x0A, 0}, {6, 0x16, 0}, {7, 0x0B, 0}, {8, 0x06, 0}, {9, 0x12, 1},
                    {11, 0x28, 0x0A00000D}, {16, 0x7E, 0x04000002}, {21, 0x17, 0}, {22, 0x58, 0},
                    {23, 0x80, 0x04000002}, {28, 0xDE, 40}, {30, 0x07, 0}, {31, 0x2C, 39}, {33, 0x06, 0},
                    {34, 0x28, 0x0A00000E}, {39, 0xDC, 0}, {40, 0x2A, 0}}},
        {"Switch", {{0, 0x02, 0}, {1, 0x45, 6}, {30, 0x2B, 62}, {32, 0x72, 0x70000001}, {37, 0x2A, 0},
                    {38, 0x72, 0x7000000B}, {43, 0x2A, 0}, {44, 0x72, 0x70000013}, {49, 0x2A, 0},
                    {50, 0x72, 0x7000001B}, {55, 0x2A, 0}, {56, 0x72, 0x70000027}, {61, 0x2A, 0},
                    {62, 0x72, 0x70000031}, {67, 0x2A, 0}}},
    };
    for (const auto& listing : listings) {
        SCOPED_TRACE(listing.first);
        MethodBody body;
        ASSERT_EQ(DecodeStatus::Ok, decodeExact(realBody(listing.first), body));
        ASSERT_EQ(listing.second.size(), body.instructions.size());
        for (size_t i = 0; i < body.instructions.size(); ++i) {
            const Instruction& insn = body.instructions[i];
            const bool branch = insn.operand == OperandType::ShortBranch || insn.operand == OperandType::Branch;
            EXPECT_EQ(listing.second[i].offset, insn.offset) << i;
            EXPECT_EQ(listing.second[i].opcode, insn.opcode) << i;
            const int64_t value = insn.operand == OperandType::Switch ? insn.switchCount : int64_t(insn.value);
            EXPECT_EQ(listing.second[i].operand, branch ? insn.target : value) << i;
        }
    }
    MethodBody switched;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(realBody("Switch"), switched));
    EXPECT_EQ((std::vector<int64_t>{32, 38, 44, 50, 62, 56}), switched.switchTargets);
}

TEST(Decode, RealBodiesClausesAsTheCompilerWroteThem) {
    struct Row {
        const char* body;
        size_t clause;
        EhClause expected;
    };
    const Row rows[] = {
        {"Locked", 0, {2, 8, 22, 30, 10, 0}},
        {"Filtered", 0, {1, 0, 9, 39, 5, 9}},
        {"Filtered", 1, {0, 0, 9, 44, 5, 0x0100000F}},
        {"Filtered", 2, {2, 0, 49, 49, 11, 0}},
        {"Nested", 0, {0, 7, 11, 18, 7, 0x01000013}},
        {"Nested", 1, {2, 2, 35, 37, 7, 0}},
    };
    for (const Row& row : rows) {
        MethodBody body;
        ASSERT_EQ(DecodeStatus::Ok, decodeExact(realBody(row.body), body)) << row.body;
        ASSERT_EQ(1u, body.sections.size()) << row.body;
        ASSERT_LT(row.clause, body.sections[0].clauses.size()) << row.body;
        const EhClause& c = body.sections[0].clauses[row.clause];
        EXPECT_EQ((std::vector<uint32_t>{row.expected.flags, row.expected.tryOffset, row.expected.tryLength,
                                         row.expected.handlerOffset, row.expected.handlerLength,
                                         row.expected.classTokenOrFilterOffset}),
                  (std::vector<uint32_t>{c.flags, c.tryOffset, c.tryLength, c.handlerOffset, c.handlerLength,
                                         c.classTokenOrFilterOffset}))
            << row.body << " clause " << row.clause;
    }
}

// try { nop leave.s } finally { endfinally } ret
const Bytes kTryCode = Code().op(0x00).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();

TEST(Decode, HeadersAndChainedSections) {
    MethodBody tiny;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(hex("12 02 03 58 2A 99"), tiny));  // one byte past the body
    EXPECT_EQ((std::vector<size_t>{0, 0, 8, 4, 4, 5}),
              (std::vector<size_t>{tiny.fat, tiny.headerSize - 1, tiny.maxStack, tiny.codeSize,
                                   tiny.instructions.size(), tiny.original.size()}));
    Bytes optional = Code().u8(0x02 | 0x80).u8(6).u16(0).u16(0xBEEF).bytes();
    const Bytes body = fatBody(kTryCode, 3, 0x11000007, true,
                               {smallEhSection({{kFinally, 0, 3, 3, 1, 0}, {kFault, 1, 2, 3, 1, 0}}, true), optional,
                                fatEhSection({{kFilter, 0, 3, 4, 1, 3}})});
    MethodBody fat;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(cat({body, {0x11, 0x22}}), fat));
    EXPECT_EQ((std::vector<size_t>{1, 12, 3, 5, 0x11000007}),
              (std::vector<size_t>{fat.fat, fat.headerSize, fat.maxStack, fat.codeSize, fat.localVarSigToken}));
    EXPECT_EQ(body, fat.original) << "nothing past the last section belongs to the body";
    ASSERT_EQ(3u, fat.sections.size());
    EXPECT_EQ(20u, fat.sections[0].start);
    const EhClause& fault = fat.sections[0].clauses.at(1);
    EXPECT_EQ((std::vector<uint32_t>{kFault, 1, 2, 3, 1}),
              (std::vector<uint32_t>{fault.flags, fault.tryOffset, fault.tryLength, fault.handlerOffset,
                                     fault.handlerLength}));
    EXPECT_TRUE(fat.sections[1].clauses.empty());
    EXPECT_EQ(56u, fat.sections[2].start);
    EXPECT_EQ(3u, fat.sections[2].clauses.at(0).classTokenOrFilterOffset);
}

Bytes cut(const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + static_cast<long>(n)); }

TEST_F(EngineTest, MalformedBodiesMakeNoMethod) {
    const Bytes fat = fatBody(Code().op(0x2A).bytes());
    const Bytes sectioned = fatBody(kTryCode, 8, 0, false, {smallEhSection({{kFinally, 0, 3, 3, 1, 0}})});
    Bytes huge = fat;
    huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
    struct Row {
        const char* guards;
        Bytes body;
        DecodeStatus status;
    };
    std::vector<Row> rows = {
        {"nothing", {}, DecodeStatus::Truncated},
        {"header low bits 00", hex("00 2A"), DecodeStatus::BadHeader},
        {"header low bits 01", hex("01 2A"), DecodeStatus::BadHeader},
        {"low bits 111", with(fat, 0, 0x07), DecodeStatus::BadHeader},
        {"fat header of another size", with(fat, 1, 0x20), DecodeStatus::BadHeader},
        {"no code", hex("02"), DecodeStatus::EmptyCode},
        {"no fat code", fatBody(Bytes()), DecodeStatus::EmptyCode},
        {"tiny code past the body", hex("16 00 00 00 2A"), DecodeStatus::Truncated},
        {"fat code size near 4 GiB", huge, DecodeStatus::Truncated},
        {"unknown opcode", tinyBody(hex("00 24 2A")), DecodeStatus::UnknownOpcode},
        {"unknown two-byte opcode", tinyBody(hex("00 FE 08 2A")), DecodeStatus::UnknownOpcode},
        {"sections announced, none there", with(fatBody(kTryCode), 0, 0x0B), DecodeStatus::Truncated},
        {"a section longer than the body", with(sectioned, 21, 40), DecodeStatus::BadSection},
        {"a section shorter than its header", with(sectioned, 21, 3), DecodeStatus::BadSection},
        {"an empty section", with(sectioned, 21, 0), DecodeStatus::BadSection},
    };
    for (size_t n = 1; n < 12; ++n) rows.push_back({"fat header cut", cut(fat, n), DecodeStatus::Truncated});
    const Bytes operandsCut[] = {
        Code().op(0x28).u16(1).u8(0).bytes(), Code().op(0x1F).bytes(), Code().op(0x21).u32(1).u16(0).u8(0).bytes(),
        Code().op(0xFE09).u8(1).bytes(), Code().op(0x45).u16(0).bytes(), Code().op(0x45).u32(2).u32(0).bytes(),
        Code().op(0x45).u32(0x40000001).bytes(), Code().op(0x45).u32(0x40000001).u32(0).bytes(),
        Code().op(0x45).u32(0xFFFFFFFF).u32(0).bytes(), Code().op(0x38).u8(0).bytes(), Code().op(0xFE).bytes(),
        Code().op(0xFE12).bytes()};
    for (const Bytes& c : operandsCut) {
        rows.push_back({"operand past the code, tiny", tinyBody(cat({{0x00}, c})), DecodeStatus::Truncated});
        rows.push_back({"operand past the code, fat", fatBody(cat({{0x00}, c})), DecodeStatus::Truncated});
    }
    for (const Row& row : rows) {
        MethodBody body;
        EXPECT_EQ(row.status, decodeExact(row.body, body)) << row.guards;
        if (!row.body.empty()) {
            EXPECT_EQ(nullptr, load(row.body)) << row.guards;
        }
    }
    for (size_t n = 17; n < sectioned.size(); ++n) {
        MethodBody body;
        EXPECT_NE(DecodeStatus::Ok, decodeExact(cut(sectioned, n), body)) << "section cut at " << n;
    }
    MethodBody body;
    EXPECT_NE(DecodeStatus::Ok, decodeExact(with(sectioned, 20, 0x81), body)) << "more sections after the last";
    // The runtime reports fewer bytes than the buffer holds: only those count.
    const Bytes ok = tinyBody(Code().nops(3).op(0x2A).bytes());
    EXPECT_EQ(DecodeStatus::Truncated, decodeExact(ok, body, ok.size() - 1));
    info.addMethod(0x77, kModule, 0x06000077, ok, ok.size() - 1);
    EXPECT_EQ(nullptr, engine.getMethod(0x77));
    EXPECT_EQ(DecodeStatus::Ok, decodeExact(tinyBody(hex("20 24 24 24 24 2A")), body)) << "opcode bytes in an operand";
}

}  // namespace
}  // namespace cie_test
