#include "cie/opcodes.h"

#include <cstddef>

namespace tavoli {
namespace cie {

namespace {

struct OpcodeEntry {
    uint32_t opcode;
    const char* name;
    OperandType operand;
    bool prefix;
};

typedef OperandType T;

// The complete instruction set; numbers not listed are not opcodes.
constexpr OpcodeEntry kOpcodes[] = {
    {0x00, "nop", T::None, false},
    {0x01, "break", T::None, false},
    {0x02, "ldarg.0", T::None, false},
    {0x03, "ldarg.1", T::None, false},
    {0x04, "ldarg.2", T::None, false},
    {0x05, "ldarg.3", T::None, false},
    {0x06, "ldloc.0", T::None, false},
    {0x07, "ldloc.1", T::None, false},
    {0x08, "ldloc.2", T::None, false},
    {0x09, "ldloc.3", T::None, false},
    {0x0A, "stloc.0", T::None, false},
    {0x0B, "stloc.1", T::None, false},
    {0x0C, "stloc.2", T::None, false},
    {0x0D, "stloc.3", T::None, false},
    {0x0E, "ldarg.s", T::ShortArg, false},
    {0x0F, "ldarga.s", T::ShortArg, false},
    {0x10, "starg.s", T::ShortArg, false},
    {0x11, "ldloc.s", T::ShortLocal, false},
    {0x12, "ldloca.s", T::ShortLocal, false},
    {0x13, "stloc.s", T::ShortLocal, false},
    {0x14, "ldnull", T::None, false},
    {0x15, "ldc.i4.m1", T::None, false},
    {0x16, "ldc.i4.0", T::None, false},
    {0x17, "ldc.i4.1", T::None, false},
    {0x18, "ldc.i4.2", T::None, false},
    {0x19, "ldc.i4.3", T::None, false},
    {0x1A, "ldc.i4.4", T::None, false},
    {0x1B, "ldc.i4.5", T::None, false},
    {0x1C, "ldc.i4.6", T::None, false},
    {0x1D, "ldc.i4.7", T::None, false},
    {0x1E, "ldc.i4.8", T::None, false},
    {0x1F, "ldc.i4.s", T::ShortInt, false},
    {0x20, "ldc.i4", T::Int32, false},
    {0x21, "ldc.i8", T::Int64, false},
    {0x22, "ldc.r4", T::Float32, false},
    {0x23, "ldc.r8", T::Float64, false},
    {0x25, "dup", T::None, false},
    {0x26, "pop", T::None, false},
    {0x27, "jmp", T::Method, false},
    {0x28, "call", T::Method, false},
    {0x29, "calli", T::Signature, false},
    {0x2A, "ret", T::None, false},
    {0x2B, "br.s", T::ShortBranch, false},
    {0x2C, "brfalse.s", T::ShortBranch, false},
    {0x2D, "brtrue.s", T::ShortBranch, false},
    {0x2E, "beq.s", T::ShortBranch, false},
    {0x2F, "bge.s", T::ShortBranch, false},
    {0x30, "bgt.s", T::ShortBranch, false},
    {0x31, "ble.s", T::ShortBranch, false},
    {0x32, "blt.s", T::ShortBranch, false},
    {0x33, "bne.un.s", T::ShortBranch, false},
    {0x34, "bge.un.s", T::ShortBranch, false},
    {0x35, "bgt.un.s", T::ShortBranch, false},
    {0x36, "ble.un.s", T::ShortBranch, false},
    {0x37, "blt.un.s", T::ShortBranch, false},
    {0x38, "br", T::Branch, false},
    {0x39, "brfalse", T::Branch, false},
    {0x3A, "brtrue", T::Branch, false},
    {0x3B, "beq", T::Branch, false},
    {0x3C, "bge", T::Branch, false},
    {0x3D, "bgt", T::Branch, false},
    {0x3E, "ble", T::Branch, false},
    {0x3F, "blt", T::Branch, false},
    {0x40, "bne.un", T::Branch, false},
    {0x41, "bge.un", T::Branch, false},
    {0x42, "bgt.un", T::Branch, false},
    {0x43, "ble.un", T::Branch, false},
    {0x44, "blt.un", T::Branch, false},
    {0x45, "switch", T::Switch, false},
    {0x46, "ldind.i1", T::None, false},
    {0x47, "ldind.u1", T::None, false},
    {0x48, "ldind.i2", T::None, false},
    {0x49, "ldind.u2", T::None, false},
    {0x4A, "ldind.i4", T::None, false},
    {0x4B, "ldind.u4", T::None, false},
    {0x4C, "ldind.i8", T::None, false},
    {0x4D, "ldind.i", T::None, false},
    {0x4E, "ldind.r4", T::None, false},
    {0x4F, "ldind.r8", T::None, false},
    {0x50, "ldind.ref", T::None, false},
    {0x51, "stind.ref", T::None, false},
    {0x52, "stind.i1", T::None, false},
    {0x53, "stind.i2", T::None, false},
    {0x54, "stind.i4", T::None, false},
    {0x55, "stind.i8", T::None, false},
    {0x56, "stind.r4", T::None, false},
    {0x57, "stind.r8", T::None, false},
    {0x58, "add", T::None, false},
    {0x59, "sub", T::None, false},
    {0x5A, "mul", T::None, false},
    {0x5B, "div", T::None, false},
    {0x5C, "div.un", T::None, false},
    {0x5D, "rem", T::None, false},
    {0x5E, "rem.un", T::None, false},
    {0x5F, "and", T::None, false},
    {0x60, "or", T::None, false},
    {0x61, "xor", T::None, false},
    {0x62, "shl", T::None, false},
    {0x63, "shr", T::None, false},
    {0x64, "shr.un", T::None, false},
    {0x65, "neg", T::None, false},
    {0x66, "not", T::None, false},
    {0x67, "conv.i1", T::None, false},
    {0x68, "conv.i2", T::None, false},
    {0x69, "conv.i4", T::None, false},
    {0x6A, "conv.i8", T::None, false},
    {0x6B, "conv.r4", T::None, false},
    {0x6C, "conv.r8", T::None, false},
    {0x6D, "conv.u4", T::None, false},
    {0x6E, "conv.u8", T::None, false},
    {0x6F, "callvirt", T::Method, false},
    {0x70, "cpobj", T::Type, false},
    {0x71, "ldobj", T::Type, false},
    {0x72, "ldstr", T::String, false},
    {0x73, "newobj", T::Method, false},
    {0x74, "castclass", T::Type, false},
    {0x75, "isinst", T::Type, false},
    {0x76, "conv.r.un", T::None, false},
    {0x79, "unbox", T::Type, false},
    {0x7A, "throw", T::None, false},
    {0x7B, "ldfld", T::Field, false},
    {0x7C, "ldflda", T::Field, false},
    {0x7D, "stfld", T::Field, false},
    {0x7E, "ldsfld", T::Field, false},
    {0x7F, "ldsflda", T::Field, false},
    {0x80, "stsfld", T::Field, false},
    {0x81, "stobj", T::Type, false},
    {0x82, "conv.ovf.i1.un", T::None, false},
    {0x83, "conv.ovf.i2.un", T::None, false},
    {0x84, "conv.ovf.i4.un", T::None, false},
    {0x85, "conv.ovf.i8.un", T::None, false},
    {0x86, "conv.ovf.u1.un", T::None, false},
    {0x87, "conv.ovf.u2.un", T::None, false},
    {0x88, "conv.ovf.u4.un", T::None, false},
    {0x89, "conv.ovf.u8.un", T::None, false},
    {0x8A, "conv.ovf.i.un", T::None, false},
    {0x8B, "conv.ovf.u.un", T::None, false},
    {0x8C, "box", T::Type, false},
    {0x8D, "newarr", T::Type, false},
    {0x8E, "ldlen", T::None, false},
    {0x8F, "ldelema", T::Type, false},
    {0x90, "ldelem.i1", T::None, false},
    {0x91, "ldelem.u1", T::None, false},
    {0x92, "ldelem.i2", T::None, false},
    {0x93, "ldelem.u2", T::None, false},
    {0x94, "ldelem.i4", T::None, false},
    {0x95, "ldelem.u4", T::None, false},
    {0x96, "ldelem.i8", T::None, false},
    {0x97, "ldelem.i", T::None, false},
    {0x98, "ldelem.r4", T::None, false},
    {0x99, "ldelem.r8", T::None, false},
    {0x9A, "ldelem.ref", T::None, false},
    {0x9B, "stelem.i", T::None, false},
    {0x9C, "stelem.i1", T::None, false},
    {0x9D, "stelem.i2", T::None, false},
    {0x9E, "stelem.i4", T::None, false},
    {0x9F, "stelem.i8", T::None, false},
    {0xA0, "stelem.r4", T::None, false},
    {0xA1, "stelem.r8", T::None, false},
    {0xA2, "stelem.ref", T::None, false},
    {0xA3, "ldelem", T::Type, false},
    {0xA4, "stelem", T::Type, false},
    {0xA5, "unbox.any", T::Type, false},
    {0xB3, "conv.ovf.i1", T::None, false},
    {0xB4, "conv.ovf.u1", T::None, false},
    {0xB5, "conv.ovf.i2", T::None, false},
    {0xB6, "conv.ovf.u2", T::None, false},
    {0xB7, "conv.ovf.i4", T::None, false},
    {0xB8, "conv.ovf.u4", T::None, false},
    {0xB9, "conv.ovf.i8", T::None, false},
    {0xBA, "conv.ovf.u8", T::None, false},
    {0xC2, "refanyval", T::Type, false},
    {0xC3, "ckfinite", T::None, false},
    {0xC6, "mkrefany", T::Type, false},
    {0xD0, "ldtoken", T::AnyToken, false},
    {0xD1, "conv.u2", T::None, false},
    {0xD2, "conv.u1", T::None, false},
    {0xD3, "conv.i", T::None, false},
    {0xD4, "conv.ovf.i", T::None, false},
    {0xD5, "conv.ovf.u", T::None, false},
    {0xD6, "add.ovf", T::None, false},
    {0xD7, "add.ovf.un", T::None, false},
    {0xD8, "mul.ovf", T::None, false},
    {0xD9, "mul.ovf.un", T::None, false},
    {0xDA, "sub.ovf", T::None, false},
    {0xDB, "sub.ovf.un", T::None, false},
    {0xDC, "endfinally", T::None, false},
    {0xDD, "leave", T::Branch, false},
    {0xDE, "leave.s", T::ShortBranch, false},
    {0xDF, "stind.i", T::None, false},
    {0xE0, "conv.u", T::None, false},
    {0xFE00, "arglist", T::None, false},
    {0xFE01, "ceq", T::None, false},
    {0xFE02, "cgt", T::None, false},
    {0xFE03, "cgt.un", T::None, false},
    {0xFE04, "clt", T::None, false},
    {0xFE05, "clt.un", T::None, false},
    {0xFE06, "ldftn", T::Method, false},
    {0xFE07, "ldvirtftn", T::Method, false},
    {0xFE09, "ldarg", T::Arg, false},
    {0xFE0A, "ldarga", T::Arg, false},
    {0xFE0B, "starg", T::Arg, false},
    {0xFE0C, "ldloc", T::Local, false},
    {0xFE0D, "ldloca", T::Local, false},
    {0xFE0E, "stloc", T::Local, false},
    {0xFE0F, "localloc", T::None, false},
    {0xFE11, "endfilter", T::None, false},
    {0xFE12, "unaligned.", T::ShortUInt, true},
    {0xFE13, "volatile.", T::None, true},
    {0xFE14, "tail.", T::None, true},
    {0xFE15, "initobj", T::Type, false},
    {0xFE16, "constrained.", T::Type, true},
    {0xFE17, "cpblk", T::None, false},
    {0xFE18, "initblk", T::None, false},
    {0xFE19, "no.", T::ShortUInt, true},
    {0xFE1A, "rethrow", T::None, false},
    {0xFE1C, "sizeof", T::Type, false},
    {0xFE1D, "refanytype", T::None, false},
    {0xFE1E, "readonly.", T::None, true},
};

struct OpcodeTables {
    OpcodeInfo oneByte[256];
    OpcodeInfo twoByte[256];
};

constexpr OpcodeTables buildTables() {
    OpcodeTables tables{};
    for (size_t i = 0; i < 256; ++i) {
        tables.oneByte[i] = OpcodeInfo{nullptr, T::None, false};
        tables.twoByte[i] = OpcodeInfo{nullptr, T::None, false};
    }
    for (const OpcodeEntry& e : kOpcodes) {
        OpcodeInfo info{e.name, e.operand, e.prefix};
        if (e.opcode > 0xFF)
            tables.twoByte[e.opcode & 0xFF] = info;
        else
            tables.oneByte[e.opcode] = info;
    }
    return tables;
}

// Built at compile time: lookups on many JIT threads need no initialisation
// order or locking.
constexpr OpcodeTables kTables = buildTables();

}  // namespace

const OpcodeInfo* findOpcode(uint32_t opcode) {
    const OpcodeInfo* info = nullptr;
    if (opcode <= 0xFF)
        info = &kTables.oneByte[opcode];
    else if ((opcode & 0xFFFFFF00u) == (kTwoByteEscape << 8))
        info = &kTables.twoByte[opcode & 0xFF];
    return info != nullptr && info->name != nullptr ? info : nullptr;
}

uint32_t operandSize(OperandType type) {
    switch (type) {
        case T::None:
            return 0;
        case T::ShortInt:
        case T::ShortUInt:
        case T::ShortBranch:
        case T::ShortArg:
        case T::ShortLocal:
            return 1;
        case T::Arg:
        case T::Local:
            return 2;
        case T::Int64:
        case T::Float64:
            return 8;
        case T::Int32:
        case T::Float32:
        case T::Method:
        case T::Field:
        case T::Type:
        case T::String:
        case T::Signature:
        case T::AnyToken:
        case T::Branch:
        case T::Switch:
            return 4;
    }
    return 0;
}

bool isTokenOperand(OperandType type) {
    switch (type) {
        case T::Method:
        case T::Field:
        case T::Type:
        case T::String:
        case T::Signature:
        case T::AnyToken:
            return true;
        default:
            return false;
    }
}

namespace {
const uint32_t kTypeRef = 0x01, kTypeDef = 0x02, kFieldDef = 0x04, kMethodDef = 0x06, kMemberRef = 0x0A,
               kStandAloneSig = 0x11, kTypeSpec = 0x1B, kMethodSpec = 0x2B, kUserString = 0x70;
}

bool tokenFitsOperand(OperandType type, uint32_t token) {
    if ((token & 0x00FFFFFFu) == 0) return false;
    const uint32_t table = token >> 24;
    const bool isType = table == kTypeRef || table == kTypeDef || table == kTypeSpec;
    const bool isMethod = table == kMethodDef || table == kMemberRef || table == kMethodSpec;
    const bool isField = table == kFieldDef || table == kMemberRef;
    switch (type) {
        case T::Method:
            return isMethod;
        case T::Field:
            return isField;
        case T::Type:
            return isType;
        case T::String:
            return table == kUserString;
        case T::Signature:
            return table == kStandAloneSig;
        case T::AnyToken:
            return isType || isMethod || isField;
        default:
            return false;
    }
}

uint32_t longBranchForm(uint32_t opcode) {
    if (opcode >= 0x2B && opcode <= 0x37) return opcode + (0x38 - 0x2B);
    if (opcode == OP_LEAVE_S) return OP_LEAVE;
    return opcode;
}

}  // namespace cie
}  // namespace tavoli
