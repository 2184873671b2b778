// The IL instruction set: for each opcode, how its operand is encoded and
// whether it is a prefix. Opcodes are numbered as the engine's interface
// numbers them: one-byte opcodes as their byte, two-byte opcodes as
// 0xFE00 | second byte.
#pragma once

#include <cstdint>

namespace tavoli {
namespace cie {

enum class OperandType : uint8_t {
    None,
    ShortInt,     // signed 8-bit immediate (ldc.i4.s)
    ShortUInt,    // unsigned 8-bit immediate (unaligned., no.)
    Int32,        // ldc.i4
    Int64,        // ldc.i8
    Float32,      // ldc.r4
    Float64,      // ldc.r8
    Method,       // token: MethodDef, MemberRef, MethodSpec
    Field,        // token: FieldDef, MemberRef
    Type,         // token: TypeDef, TypeRef, TypeSpec
    String,       // token: user string
    Signature,    // token: StandAloneSig (calli)
    AnyToken,     // token: type, method or field (ldtoken)
    ShortBranch,  // signed 8-bit displacement from the next instruction
    Branch,       // signed 32-bit displacement from the next instruction
    Switch,       // 32-bit count N, then N signed 32-bit displacements
    ShortArg,     // 8-bit argument index
    Arg,          // 16-bit argument index
    ShortLocal,   // 8-bit local index
    Local,        // 16-bit local index
};

struct OpcodeInfo {
    const char* name;  // null: no such opcode
    OperandType operand;
    bool prefix;
};

const uint32_t kTwoByteEscape = 0xFE;

const uint32_t OP_JMP = 0x27;
const uint32_t OP_CALL = 0x28;
const uint32_t OP_CALLI = 0x29;
const uint32_t OP_CALLVIRT = 0x6F;
const uint32_t OP_NEWOBJ = 0x73;
const uint32_t OP_LEAVE = 0xDD;
const uint32_t OP_LEAVE_S = 0xDE;
const uint32_t OP_LDFTN = 0xFE06;
const uint32_t OP_LDVIRTFTN = 0xFE07;
const uint32_t OP_UNALIGNED = 0xFE12;
const uint32_t OP_VOLATILE = 0xFE13;
const uint32_t OP_TAIL = 0xFE14;
const uint32_t OP_CONSTRAINED = 0xFE16;
const uint32_t OP_NO = 0xFE19;
const uint32_t OP_READONLY = 0xFE1E;

// The opcode's description, or null when the number names no opcode.
const OpcodeInfo* findOpcode(uint32_t opcode);

// Bytes of the opcode itself: 1, or 2 for the 0xFE xx opcodes.
inline uint32_t opcodeSize(uint32_t opcode) { return opcode > 0xFF ? 2u : 1u; }

// Bytes of the operand; for a switch only its count field (the targets
// follow).
uint32_t operandSize(OperandType type);

bool isTokenOperand(OperandType type);

// Whether a token of this table may stand in an operand of this type. Rid 0
// never does.
bool tokenFitsOperand(OperandType type, uint32_t token);

// The long form of a short branch opcode (br.s -> br, leave.s -> leave, ...);
// the opcode itself for anything else.
uint32_t longBranchForm(uint32_t opcode);

}  // namespace cie
}  // namespace tavoli
