// Decoding hand-made bodies: headers, prefixes, two-byte opcodes, operands,
// extra sections, and every way a body can be malformed.
#include "cie/body_decoder.h"
#include "cie/body_encoder.h"
#include "engine_fixture.h"

#include <cstring>
#include <memory>

namespace cie_test {
namespace {

using tavoli::EngineOperand;
using tavoli::cie::DecodeStatus;
using tavoli::cie::MethodBody;

// Decodes from a heap block of exactly the body's size, so that a read past
// its end is a heap overflow the sanitizer reports.
DecodeStatus decodeExact(const Bytes& bytes, MethodBody& body, size_t size = SIZE_MAX) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.empty() ? 1 : bytes.size()]);
    if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
    return tavoli::cie::decodeBody(block.get(), size == SIZE_MAX ? bytes.size() : size, body);
}

DecodeStatus decodeExact(const Bytes& bytes) {
    MethodBody body;
    return decodeExact(bytes, body);
}

Bytes reencode(const MethodBody& body) {
    Bytes out;
    EXPECT_EQ(tavoli::cie::EncodeStatus::Ok, tavoli::cie::encodeBody(body, out));
    return out;
}

class Decode : public EngineTest {};

TEST_F(Decode, TinyHeader) {
    // ldarg.0 ldarg.1 add ret
    const Bytes body = hex("12 02 03 58 2A");
    MethodPtr method = load(body);
    ASSERT_NE(nullptr, method);
    std::vector<Seen> s = seen(method.get());
    ASSERT_EQ(4u, s.size());
    EXPECT_EQ((std::vector<uint32_t>{0x02, 0x03, 0x58, 0x2A}),
              (std::vector<uint32_t>{s[0].opcode, s[1].opcode, s[2].opcode, s[3].opcode}));
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3}),
              (std::vector<uint32_t>{s[0].offset, s[1].offset, s[2].offset, s[3].offset}));
    for (const Seen& x : s) {
        EXPECT_EQ(1u, x.size);
        EXPECT_EQ(tavoli::OPERAND_KIND_NONE, x.operand.kind);
    }
    EXPECT_EQ(4u, method->instructionCount());

    MethodBody decoded;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(body, decoded));
    EXPECT_FALSE(decoded.fat);
    EXPECT_EQ(8u, decoded.maxStack);
    EXPECT_EQ(4u, decoded.codeSize);
    EXPECT_EQ(body, reencode(decoded));
}

TEST_F(Decode, FatHeaderFields) {
    const Bytes code = Code().op(0x16).op(0x0A).op(0x06).op(0x2A).bytes();  // ldc.i4.0 stloc.0 ldloc.0 ret
    const Bytes body = fatBody(code, 3, 0x11000007, true);
    MethodBody decoded;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(body, decoded));
    EXPECT_TRUE(decoded.fat);
    EXPECT_EQ(12u, decoded.headerSize);
    EXPECT_EQ(3u, decoded.maxStack);
    EXPECT_EQ(4u, decoded.codeSize);
    EXPECT_EQ(0x11000007u, decoded.localVarSigToken);
    EXPECT_TRUE(decoded.sections.empty());
    EXPECT_EQ(body, reencode(decoded));
    EXPECT_EQ(4u, decoded.instructions.size());
}

TEST_F(Decode, EveryPrefixIsAnInstructionOfItsOwn) {
    const Bytes code = Code()
                           .op(0x02)
                           .op(0xFE12).u8(2).op(0xFE13).op(0x4A)  // unaligned. 2 volatile. ldind.i4
                           .op(0x26)
                           .op(0x02)
                           .op(0xFE16).u32(0x1B000002).op(0x6F).u32(0x0A000009)  // constrained. callvirt
                           .op(0x26)
                           .op(0x02).op(0x16)
                           .op(0xFE1E).op(0x8F).u32(0x01000003)  // readonly. ldelema
                           .op(0x26)
                           .op(0x02)
                           .op(0xFE19).u8(1).op(0x74).u32(0x01000003)  // no. typecheck castclass
                           .op(0x26)
                           .op(0xFE14).op(0x28).u32(0x0A000004).op(0x2A)  // tail. call ret
                           .bytes();
    MethodPtr method = load(fatBody(code));
    ASSERT_NE(nullptr, method);
    std::vector<Seen> s = seen(method.get());
    std::vector<uint32_t> opcodes, offsets;
    for (const Seen& x : s) {
        opcodes.push_back(x.opcode);
        offsets.push_back(x.offset);
    }
    EXPECT_EQ((std::vector<uint32_t>{0x02, 0xFE12, 0xFE13, 0x4A, 0x26, 0x02, 0xFE16, 0x6F, 0x26, 0x02, 0x16, 0xFE1E,
                                     0x8F, 0x26, 0x02, 0xFE19, 0x74, 0x26, 0xFE14, 0x28, 0x2A}),
              opcodes);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 4, 6, 7, 8, 9, 15, 20, 21, 22, 23, 25, 30, 31, 32, 35, 40, 41, 43, 48}),
              offsets);
    EXPECT_EQ(tavoli::OPERAND_KIND_UINT8, s[1].operand.kind);
    EXPECT_EQ(2u, s[1].operand.value);
    EXPECT_EQ(3u, s[1].size);
    EXPECT_EQ(tavoli::OPERAND_KIND_TOKEN, s[6].operand.kind);
    EXPECT_EQ(0x1B000002u, s[6].operand.value);
    EXPECT_EQ(6u, s[6].size);
    EXPECT_EQ(0x0A000009u, s[7].operand.value);
    EXPECT_EQ(tavoli::OPERAND_KIND_UINT8, s[15].operand.kind);
    EXPECT_EQ(1u, s[15].operand.value);
    EXPECT_EQ(2u, s[18].size);
    EXPECT_EQ(0x0A000004u, s[19].operand.value);
}

TEST_F(Decode, TwoByteOpcodesAndTheirOperands) {
    const Bytes code = Code()
                           .op(0xFE09).u16(0x1234)  // ldarg
                           .op(0xFE0D).u16(0x0102)  // ldloca
                           .op(0xFE01)              // ceq
                           .op(0xFE06).u32(0x06000022)  // ldftn
                           .op(0xFE15).u32(0x02000003)  // initobj
                           .op(0xFE1C).u32(0x1B000001)  // sizeof
                           .op(0xFE0F).op(0xFE1A).op(0xFE11).op(0xFE00).op(0xFE17).op(0xFE18).op(0xFE1D)
                           .op(0x2A)
                           .bytes();
    MethodPtr method = load(fatBody(code));
    ASSERT_NE(nullptr, method);
    std::vector<Seen> s = seen(method.get());
    ASSERT_EQ(14u, s.size());
    EXPECT_EQ(0xFE09u, s[0].opcode);
    EXPECT_EQ(tavoli::OPERAND_KIND_ARGUMENT, s[0].operand.kind);
    EXPECT_EQ(2u, s[0].operand.size);
    EXPECT_EQ(0x1234u, s[0].operand.value);
    EXPECT_EQ(4u, s[0].size);
    EXPECT_EQ(tavoli::OPERAND_KIND_LOCAL, s[1].operand.kind);
    EXPECT_EQ(0x0102u, s[1].operand.value);
    EXPECT_EQ(8u, s[2].offset);
    EXPECT_EQ(2u, s[2].size);
    EXPECT_EQ(0xFE06u, s[3].opcode);
    EXPECT_EQ(0x06000022u, s[3].operand.value);
    EXPECT_EQ(6u, s[3].size);
    EXPECT_EQ(0x02000003u, s[4].operand.value);
    EXPECT_EQ(0x1B000001u, s[5].operand.value);
    EXPECT_EQ(0x2Au, s[13].opcode);
    EXPECT_EQ(static_cast<uint32_t>(code.size() - 1), s[13].offset);
}

TEST_F(Decode, Immediates) {
    const Bytes code = Code()
                           .op(0x1F).u8(0xFE)                      // ldc.i4.s -2
                           .op(0x20).u32(0x80000001)               // ldc.i4
                           .op(0x21).u64(0x1122334455667788ull)    // ldc.i8
                           .op(0x22).u32(0x3FC00000)               // ldc.r4 1.5
                           .op(0x23).u64(0x400921FB54442D18ull)    // ldc.r8 pi
                           .op(0x0E).u8(5)                         // ldarg.s 5
                           .op(0x13).u8(200)                       // stloc.s 200
                           .op(0x72).u32(0x70000010)               // ldstr
                           .op(0x2A)
                           .bytes();
    MethodPtr method = load(fatBody(code));
    ASSERT_NE(nullptr, method);
    std::vector<Seen> s = seen(method.get());
    ASSERT_EQ(9u, s.size());
    EXPECT_EQ(tavoli::OPERAND_KIND_INT8, s[0].operand.kind);
    EXPECT_EQ(0xFFFFFFFEu, s[0].operand.value);
    EXPECT_EQ(1u, s[0].operand.size);
    EXPECT_EQ(tavoli::OPERAND_KIND_INT32, s[1].operand.kind);
    EXPECT_EQ(0x80000001u, s[1].operand.value);
    EXPECT_EQ(tavoli::OPERAND_KIND_INT64, s[2].operand.kind);
    EXPECT_EQ(8u, s[2].operand.size);
    EXPECT_EQ(0x55667788u, s[2].operand.value);
    EXPECT_EQ(0x11223344u, s[2].operand.reserved[0]);
    EXPECT_EQ(tavoli::OPERAND_KIND_FLOAT32, s[3].operand.kind);
    EXPECT_EQ(0x3FC00000u, s[3].operand.value);
    EXPECT_EQ(tavoli::OPERAND_KIND_FLOAT64, s[4].operand.kind);
    EXPECT_EQ(0x54442D18u, s[4].operand.value);
    EXPECT_EQ(0x400921FBu, s[4].operand.reserved[0]);
    EXPECT_EQ(tavoli::OPERAND_KIND_ARGUMENT, s[5].operand.kind);
    EXPECT_EQ(5u, s[5].operand.value);
    EXPECT_EQ(1u, s[5].operand.size);
    EXPECT_EQ(tavoli::OPERAND_KIND_LOCAL, s[6].operand.kind);
    EXPECT_EQ(200u, s[6].operand.value);
    EXPECT_EQ(tavoli::OPERAND_KIND_TOKEN, s[7].operand.kind);
    EXPECT_EQ(0x70000010u, s[7].operand.value);
    EXPECT_EQ(tavoli::OPERAND_KIND_NONE, s[8].operand.kind);
    EXPECT_EQ(0u, s[8].operand.size);
}

TEST_F(Decode, BranchTargetsAreOffsetsInTheCode) {
    // 0: nop  1: br.s -3 (to 0)  3: brtrue 5 (to 13)  8: leave.s 3 (to 13)  10: nop nop nop  13: ret
    const Bytes code =
        Code().op(0x00).op(0x2B).u8(0xFD).op(0x3A).u32(5).op(0xDE).u8(3).nops(3).op(0x2A).bytes();
    MethodPtr method = load(tinyBody(code));
    ASSERT_NE(nullptr, method);
    std::vector<Seen> s = seen(method.get());
    ASSERT_EQ(8u, s.size());
    EXPECT_EQ(tavoli::OPERAND_KIND_BRANCH, s[1].operand.kind);
    EXPECT_EQ(1u, s[1].operand.size);
    EXPECT_EQ(0u, s[1].operand.value);
    EXPECT_EQ(4u, s[2].operand.size);
    EXPECT_EQ(13u, s[2].operand.value);
    EXPECT_EQ(13u, s[3].operand.value);
    EXPECT_EQ(13u, s[7].offset);
}

TEST_F(Decode, SwitchTargetsBySelector) {
    // 0: ldarg.0  1: switch (3) -> 18, 19, 0 (relative to 18: 0, 1, -18)  18: nop  19: nop  20: ret
    const Bytes code =
        Code().op(0x02).op(0x45).u32(3).u32(0).u32(1).u32(0xFFFFFFEE).op(0x00).op(0x00).op(0x2A).bytes();
    MethodPtr method = load(tinyBody(code));
    ASSERT_NE(nullptr, method);
    std::vector<tavoli::IInstruction*> insns = instructions(method.get());
    ASSERT_EQ(5u, insns.size());
    tavoli::IInstruction* sw = insns[1];
    EXPECT_EQ(0x45u, sw->getOpcode());
    EXPECT_EQ(17u, sw->getSize());
    EngineOperand op = {};
    ASSERT_EQ(tavoli::MRTE_RESULT_OK, sw->getOperand(&op, 0, 0, 0));
    EXPECT_EQ(tavoli::OPERAND_KIND_SWITCH, op.kind);
    EXPECT_EQ(16u, op.size);
    EXPECT_EQ(3u, op.value);
    const uint32_t expected[] = {18, 19, 0};
    for (uint32_t k = 1; k <= 3; ++k) {
        ASSERT_EQ(tavoli::MRTE_RESULT_OK, sw->getOperand(&op, k, 0, 0));
        EXPECT_EQ(tavoli::OPERAND_KIND_SWITCH, op.kind);
        EXPECT_EQ(4u, op.size);
        EXPECT_EQ(expected[k - 1], op.value);
    }
    EXPECT_EQ(tavoli::MRTE_ERROR_FAIL, sw->getOperand(&op, 4, 0, 0));
    EXPECT_EQ(18u, insns[2]->getOffset());
    EXPECT_EQ(20u, insns[4]->getOffset());
}

TEST_F(Decode, EmptySwitch) {
    const Bytes code = Code().op(0x16).op(0x45).u32(0).op(0x2A).bytes();
    MethodBody decoded;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(tinyBody(code), decoded));
    ASSERT_EQ(3u, decoded.instructions.size());
    EXPECT_EQ(6u, decoded.instructions[2].offset);
    EXPECT_EQ(tinyBody(code), reencode(decoded));
}

// try { nop nop } finally { endfinally } ret: offsets 0..1 try, 2 handler.
const Bytes kTryCode = Code().op(0x00).op(0xDE).u8(1).op(0xDC).op(0x2A).bytes();

TEST_F(Decode, SmallEhSection) {
    const Bytes body = fatBody(kTryCode, 8, 0, false, {smallEhSection({{kFinally, 0, 3, 3, 1, 0}})});
    MethodBody decoded;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(body, decoded));
    ASSERT_EQ(1u, decoded.sections.size());
    EXPECT_EQ(20u, decoded.sections[0].start);  // 12 + 5 code bytes, aligned up
    EXPECT_EQ(0x01u, decoded.sections[0].kind);
    ASSERT_EQ(1u, decoded.sections[0].clauses.size());
    const tavoli::cie::EhClause& c = decoded.sections[0].clauses[0];
    EXPECT_EQ(kFinally, c.flags);
    EXPECT_EQ(0u, c.tryOffset);
    EXPECT_EQ(3u, c.tryLength);
    EXPECT_EQ(3u, c.handlerOffset);
    EXPECT_EQ(1u, c.handlerLength);
    EXPECT_EQ(body, decoded.original);
    EXPECT_EQ(body, reencode(decoded));
}

TEST_F(Decode, FatEhSection) {
    const Bytes body = fatBody(kTryCode, 8, 0, false, {fatEhSection({{kCatch, 0, 3, 3, 1, 0x01000002}})});
    MethodBody decoded;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(body, decoded));
    ASSERT_EQ(1u, decoded.sections.size());
    EXPECT_EQ(0x41u, decoded.sections[0].kind);
    EXPECT_EQ(28u, decoded.sections[0].dataSize);
    ASSERT_EQ(1u, decoded.sections[0].clauses.size());
    EXPECT_EQ(0x01000002u, decoded.sections[0].clauses[0].classTokenOrFilterOffset);
    EXPECT_EQ(body, reencode(decoded));
}

TEST_F(Decode, ChainedSectionsOfEveryKind) {
    // A small EH table, an unrelated kind of section, then a fat EH table,
    // with padding bytes that are not zero between them: all kept as found.
    Bytes optional = Code().u8(0x02 | 0x80).u8(6).u16(0).u16(0xBEEF).bytes();
    Bytes body = fatBody(kTryCode, 8, 0, false,
                         {smallEhSection({{kFinally, 0, 3, 3, 1, 0}, {kFault, 0, 1, 3, 1, 0}}, true), optional,
                          fatEhSection({{kFilter, 0, 3, 4, 1, 3}})});
    // The padding after the 6-byte section.
    const size_t pad = 20 + 28 + 6;
    body[pad] = 0xAA;
    body[pad + 1] = 0xBB;
    MethodBody decoded;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(body, decoded));
    ASSERT_EQ(3u, decoded.sections.size());
    EXPECT_EQ(2u, decoded.sections[0].clauses.size());
    EXPECT_EQ(0x82u, decoded.sections[1].kind);
    EXPECT_TRUE(decoded.sections[1].clauses.empty());
    EXPECT_EQ(56u, decoded.sections[2].start);
    EXPECT_EQ(1u, decoded.sections[2].clauses.size());
    EXPECT_EQ(body.size(), decoded.original.size());
    EXPECT_EQ(body, reencode(decoded));
    MethodPtr method = load(body);
    ASSERT_NE(nullptr, method);
    EXPECT_EQ(tavoli::MRTE_RESULT_OK, method->apply());
    EXPECT_EQ(0, info.allocatorRequests.load());
}

TEST_F(Decode, BytesAfterTheLastSectionAreNotPartOfTheBody) {
    const Bytes body = fatBody(kTryCode, 8, 0, false, {smallEhSection({{kFinally, 0, 3, 3, 1, 0}})});
    Bytes longer = body;
    longer.insert(longer.end(), {0x11, 0x22, 0x33, 0x44, 0x55});
    MethodBody decoded;
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(longer, decoded));
    EXPECT_EQ(body, decoded.original);
    EXPECT_EQ(body, reencode(decoded));

    const Bytes tiny = tinyBody(Code().op(0x2A).bytes());
    Bytes tinyLonger = tiny;
    tinyLonger.push_back(0x99);
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(tinyLonger, decoded));
    EXPECT_EQ(tiny, decoded.original);
}

TEST_F(Decode, MalformedHeaders) {
    EXPECT_EQ(DecodeStatus::Truncated, decodeExact(Bytes()));
    EXPECT_EQ(DecodeStatus::BadHeader, decodeExact(hex("00 2A")));  // low bits 00
    EXPECT_EQ(DecodeStatus::BadHeader, decodeExact(hex("01 2A")));  // low bits 01
    Bytes fat = fatBody(Code().op(0x2A).bytes());
    EXPECT_EQ(DecodeStatus::Ok, decodeExact(fat));
    Bytes seven = fat;
    seven[0] = 0x07;  // low three bits 111: not the fat format
    EXPECT_EQ(DecodeStatus::BadHeader, decodeExact(seven));
    for (uint8_t dwords : {0, 2, 4, 15}) {
        Bytes other = fat;
        other[1] = static_cast<uint8_t>((other[1] & 0x0F) | dwords << 4);
        EXPECT_EQ(DecodeStatus::BadHeader, decodeExact(other)) << int(dwords);
    }
    // A fat header cut short.
    for (size_t n = 1; n < 12; ++n)
        EXPECT_EQ(DecodeStatus::Truncated, decodeExact(Bytes(fat.begin(), fat.begin() + static_cast<long>(n))));
}

TEST_F(Decode, EmptyCodeIsNoMethod) {
    EXPECT_EQ(DecodeStatus::EmptyCode, decodeExact(hex("02")));
    EXPECT_EQ(DecodeStatus::EmptyCode, decodeExact(fatBody(Bytes())));
    EXPECT_EQ(nullptr, load(hex("02")));
}

TEST_F(Decode, CodeRunningPastTheBody) {
    // The tiny header claims 5 code bytes; 4 are there.
    EXPECT_EQ(DecodeStatus::Truncated, decodeExact(hex("16 00 00 00 2A")));
    Bytes fat = fatBody(Code().nops(7).op(0x2A).bytes());
    fat.pop_back();
    EXPECT_EQ(DecodeStatus::Truncated, decodeExact(fat));
    // A fat code size near 4 GiB.
    Bytes huge = fatBody(Code().op(0x2A).bytes());
    huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
    EXPECT_EQ(DecodeStatus::Truncated, decodeExact(huge));
    // The runtime reports fewer bytes than the buffer holds: only those count.
    const Bytes ok = tinyBody(Code().nops(3).op(0x2A).bytes());
    MethodBody decoded;
    EXPECT_EQ(DecodeStatus::Truncated, decodeExact(ok, decoded, ok.size() - 1));
    info.addMethod(0x77, kModule, 0x06000077, ok, 0, ok.size() - 1);
    EXPECT_EQ(nullptr, engine.getMethod(0x77));
}

TEST_F(Decode, OperandRunningPastTheCode) {
    // Each instruction lacks its last operand byte at the code's end.
    const std::vector<Bytes> cut = {
        Code().op(0x28).u16(1).u8(0).bytes(),       // call: 3 of 4 token bytes
        Code().op(0x1F).bytes(),                    // ldc.i4.s without its byte
        Code().op(0x21).u32(1).u16(0).u8(0).bytes(),  // ldc.i8: 7 of 8
        Code().op(0xFE09).u8(1).bytes(),            // ldarg: 1 of 2
        Code().op(0x45).u16(0).bytes(),             // switch: count cut
        Code().op(0x45).u32(2).u32(0).bytes(),      // switch: second target missing
        Code().op(0x45).u32(0x40000001).bytes(),    // switch: count whose byte size overflows 32 bits
        Code().op(0x45).u32(0x40000001).u32(0).bytes(),  // ... to exactly the bytes that are there
        Code().op(0x45).u32(0xFFFFFFFF).u32(0).bytes(),
        Code().op(0x38).u8(0).bytes(),              // br: 1 of 4
        Code().op(0xFE).bytes(),                    // escape with nothing after it
        Code().op(0xFE12).bytes(),                  // unaligned. without its byte
    };
    for (size_t i = 0; i < cut.size(); ++i) {
        Bytes code = Code().op(0x00).raw(cut[i]).bytes();
        EXPECT_EQ(DecodeStatus::Truncated, decodeExact(tinyBody(code))) << i;
        EXPECT_EQ(DecodeStatus::Truncated, decodeExact(fatBody(code))) << i;
        EXPECT_EQ(nullptr, load(fatBody(code), 0x300 + i)) << i;
    }
}

TEST_F(Decode, SectionsRunningPastTheBody) {
    const Bytes good = fatBody(kTryCode, 8, 0, false, {smallEhSection({{kFinally, 0, 3, 3, 1, 0}})});
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(good));
    // Cut anywhere inside the section (or its padding).
    for (size_t n = 17; n < good.size(); ++n)
        EXPECT_NE(DecodeStatus::Ok, decodeExact(Bytes(good.begin(), good.begin() + static_cast<long>(n)))) << n;
    // MoreSects in the header but nothing after the code.
    Bytes noSection = fatBody(kTryCode);
    noSection[0] |= 0x08;
    EXPECT_EQ(DecodeStatus::Truncated, decodeExact(noSection));
    // A section declaring more than there is.
    Bytes tooLong = good;
    tooLong[21] = 40;
    EXPECT_EQ(DecodeStatus::BadSection, decodeExact(tooLong));
    // A section smaller than its own header would have the runtime read it
    // forever.
    for (uint8_t size : {0, 1, 3}) {
        Bytes tiny = good;
        tiny[21] = size;
        EXPECT_EQ(DecodeStatus::BadSection, decodeExact(tiny)) << int(size);
    }
    Bytes fatZero = fatBody(kTryCode, 8, 0, false, {fatEhSection({}, true), fatEhSection({})});
    ASSERT_EQ(DecodeStatus::Ok, decodeExact(fatZero));
    fatZero[21] = 0;
    EXPECT_EQ(DecodeStatus::BadSection, decodeExact(fatZero));
    // MoreSects on the last section.
    Bytes moreAtEnd = good;
    moreAtEnd[20] |= 0x80;
    EXPECT_NE(DecodeStatus::Ok, decodeExact(moreAtEnd));
    EXPECT_EQ(nullptr, load(moreAtEnd));
}

TEST_F(Decode, UnknownOpcodeInTheMiddle) {
    EXPECT_EQ(DecodeStatus::UnknownOpcode, decodeExact(tinyBody(hex("00 24 2A"))));
    EXPECT_EQ(DecodeStatus::UnknownOpcode, decodeExact(tinyBody(hex("00 FE 08 2A"))));
    // An opcode-looking byte inside an operand is just an operand byte.
    EXPECT_EQ(DecodeStatus::Ok, decodeExact(tinyBody(hex("20 24 24 24 24 2A"))));
}

TEST_F(Decode, FatHeaderOffItsBoundaryIsNoMethod) {
    const Bytes body = fatBody(kTryCode, 8, 0, false, {smallEhSection({{kFinally, 0, 3, 3, 1, 0}})});
    EXPECT_EQ(nullptr, load(body, kFunction, kMethodToken, 1));
    EXPECT_NE(nullptr, load(body, kFunction + 1, kMethodToken + 1, 4));
    // Tiny headers have no alignment.
    EXPECT_NE(nullptr, load(tinyBody(kTryCode), kFunction + 2, kMethodToken + 2, 3));
}

TEST_F(Decode, MethodsWithoutABody) {
    EXPECT_EQ(nullptr, engine.getMethod(0));
    EXPECT_EQ(nullptr, engine.getMethod(0xDEAD));  // GetFunctionInfo fails
    info.addMethod(0x201, kModule, 0x06000201, Bytes());  // GetILFunctionBody fails
    EXPECT_EQ(nullptr, engine.getMethod(0x201));
    info.addMethod(0x202, kModule, 0x0A000001, tinyBody(hex("2A")));  // not a method definition
    EXPECT_EQ(nullptr, engine.getMethod(0x202));
    info.addMethod(0x203, kModule, 0x06000000, tinyBody(hex("2A")));  // rid 0
    EXPECT_EQ(nullptr, engine.getMethod(0x203));
    info.addMethod(0x204, kModule, 0x06000204, tinyBody(hex("2A")), 0, 0);  // size 0
    EXPECT_EQ(nullptr, engine.getMethod(0x204));
}

}  // namespace
}  // namespace cie_test
