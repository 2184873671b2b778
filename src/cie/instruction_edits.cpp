#include "cie/instruction_edits.h"

#include <algorithm>

namespace tavoli {
namespace cie {

namespace {

uint32_t kindOf(OperandType type) {
    switch (type) {
        case OperandType::None:
            return OPERAND_KIND_NONE;
        case OperandType::ShortInt:
            return OPERAND_KIND_INT8;
        case OperandType::ShortUInt:
            return OPERAND_KIND_UINT8;
        case OperandType::Int32:
            return OPERAND_KIND_INT32;
        case OperandType::Int64:
            return OPERAND_KIND_INT64;
        case OperandType::Float32:
            return OPERAND_KIND_FLOAT32;
        case OperandType::Float64:
            return OPERAND_KIND_FLOAT64;
        case OperandType::ShortBranch:
        case OperandType::Branch:
            return OPERAND_KIND_BRANCH;
        case OperandType::Switch:
            return OPERAND_KIND_SWITCH;
        case OperandType::ShortArg:
        case OperandType::Arg:
            return OPERAND_KIND_ARGUMENT;
        case OperandType::ShortLocal:
        case OperandType::Local:
            return OPERAND_KIND_LOCAL;
        default:
            return OPERAND_KIND_TOKEN;
    }
}

bool isInstructionStart(const MethodBody& body, uint32_t offset) {
    auto it = std::lower_bound(body.instructions.begin(), body.instructions.end(), offset,
                               [](const Instruction& insn, uint32_t off) { return insn.offset < off; });
    return it != body.instructions.end() && it->offset == offset;
}

bool followsPrefix(const MethodBody& body, size_t index) {
    return index > 0 && findOpcode(body.instructions[index - 1].opcode)->prefix;
}

}  // namespace

uint32_t encodedSizeOf(const MethodBody& body, size_t index) {
    const Instruction& insn = body.instructions[index];
    uint32_t size = opcodeSize(insn.opcode) + operandSize(insn.operand);
    if (insn.operand == OperandType::Switch) size += insn.switchCount * 4;
    return size;
}

MrteResult readOperand(const MethodBody& body, size_t index, EngineOperand* operand, uint32_t selector) {
    if (operand == nullptr) return MRTE_ERROR_FAIL;
    const Instruction& insn = body.instructions[index];
    EngineOperand out = {};
    out.kind = kindOf(insn.operand);
    out.size = insn.operand == OperandType::Switch ? 4 + insn.switchCount * 4 : operandSize(insn.operand);
    switch (insn.operand) {
        case OperandType::ShortInt:
            out.value = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(insn.value)));
            break;
        case OperandType::Int64:
        case OperandType::Float64:
            out.value = static_cast<uint32_t>(insn.value);
            out.reserved[0] = static_cast<uint32_t>(insn.value >> 32);
            break;
        case OperandType::ShortBranch:
        case OperandType::Branch:
            out.value = static_cast<uint32_t>(insn.target);
            break;
        case OperandType::Switch:
            if (selector > insn.switchCount) return MRTE_ERROR_FAIL;
            if (selector == 0) {
                out.value = insn.switchCount;
            } else {
                out.size = 4;
                out.value = static_cast<uint32_t>(body.switchTargets[insn.switchFirst + selector - 1]);
            }
            break;
        default:
            out.value = static_cast<uint32_t>(insn.value);
            break;
    }
    *operand = out;
    return MRTE_RESULT_OK;
}

MrteResult writeOperand(MethodBody& body, size_t index, const EngineOperand* operand, uint32_t selector) {
    if (operand == nullptr) return MRTE_ERROR_FAIL;
    Instruction& insn = body.instructions[index];
    if (operand->kind != kindOf(insn.operand)) return MRTE_ERROR_FAIL;
    const uint32_t v = operand->value;
    const uint64_t wide = static_cast<uint64_t>(operand->reserved[0]) << 32 | v;
    switch (insn.operand) {
        case OperandType::None:
            return MRTE_RESULT_OK;
        case OperandType::ShortInt: {
            const int32_t s = static_cast<int32_t>(v);
            if (s < INT8_MIN || s > INT8_MAX) return MRTE_ERROR_FAIL;
            insn.value = static_cast<uint8_t>(s);
            return MRTE_RESULT_OK;
        }
        case OperandType::ShortUInt:
        case OperandType::ShortArg:
        case OperandType::ShortLocal:
            if (v > 0xFF) return MRTE_ERROR_FAIL;
            insn.value = v;
            return MRTE_RESULT_OK;
        case OperandType::Arg:
        case OperandType::Local:
            // 0xFFFF is one past the largest count of arguments or locals.
            if (v >= 0xFFFF) return MRTE_ERROR_FAIL;
            insn.value = v;
            return MRTE_RESULT_OK;
        case OperandType::Int32:
        case OperandType::Float32:
            insn.value = v;
            return MRTE_RESULT_OK;
        case OperandType::Int64:
        case OperandType::Float64:
            insn.value = wide;
            return MRTE_RESULT_OK;
        case OperandType::ShortBranch:
        case OperandType::Branch:
            if (!isInstructionStart(body, v)) return MRTE_ERROR_FAIL;
            insn.target = v;
            return MRTE_RESULT_OK;
        case OperandType::Switch:
            if (selector == 0 || selector > insn.switchCount || !isInstructionStart(body, v)) return MRTE_ERROR_FAIL;
            body.switchTargets[insn.switchFirst + selector - 1] = v;
            return MRTE_RESULT_OK;
        default:
            if (!tokenFitsOperand(insn.operand, v)) return MRTE_ERROR_FAIL;
            insn.value = v;
            return MRTE_RESULT_OK;
    }
}

MrteResult changeOpcode(MethodBody& body, size_t index, uint32_t opcode) {
    Instruction& insn = body.instructions[index];
    if (opcode == insn.opcode) return MRTE_RESULT_OK;
    const OpcodeInfo* to = findOpcode(opcode);
    if (to == nullptr) return MRTE_ERROR_FAIL;
    const OpcodeInfo* from = findOpcode(insn.opcode);
    if (to->prefix || from->prefix || followsPrefix(body, index)) return MRTE_ERROR_FAIL;
    if (to->operand != insn.operand) return MRTE_ERROR_FAIL;
    if (isTokenOperand(insn.operand) && !tokenFitsOperand(insn.operand, static_cast<uint32_t>(insn.value)))
        return MRTE_ERROR_FAIL;
    insn.opcode = opcode;
    return MRTE_RESULT_OK;
}

CandidateShape candidateShape(const MethodBody& body, size_t index) {
    const Instruction& insn = body.instructions[index];
    if (insn.opcode != OP_CALL && insn.opcode != OP_CALLVIRT && insn.opcode != OP_NEWOBJ) return CandidateShape::No;
    // constrained. allows only callvirt after it; tail. needs its call to
    // be followed by ret and to fit the caller's frame, which a wrapper with
    // another signature may not; readonly. and no. change how the prefixed
    // call treats its receiver. Behind any prefix a call stays as it is.
    if (followsPrefix(body, index)) return CandidateShape::No;
    if (insn.opcode == OP_NEWOBJ) {
        // Delegate construction: the function pointer must go straight from
        // ldftn/ldvirtftn into the delegate's constructor.
        if (index > 0) {
            const uint32_t previous = body.instructions[index - 1].opcode;
            if (previous == OP_LDFTN || previous == OP_LDVIRTFTN) return CandidateShape::No;
        }
        return CandidateShape::Yes;
    }
    // A method instantiation never names a constructor.
    if ((insn.value >> 24) == 0x2B) return CandidateShape::Yes;
    return CandidateShape::UnlessConstructor;
}

}  // namespace cie
}  // namespace tavoli
