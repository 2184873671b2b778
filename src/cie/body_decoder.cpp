#include "cie/body_decoder.h"
#include "cie/byte_io.h"
#include "cie/eh_sections.h"

namespace tavoli {
namespace cie {

namespace {

const uint8_t kTinyFormat = 0x2;
const uint8_t kTinyFormatMask = 0x3;
const uint16_t kFatFormatMask = 0x7;

DecodeStatus decodeHeader(const uint8_t* data, size_t size, MethodBody& body) {
    if (size < 1) return DecodeStatus::Truncated;
    if ((data[0] & kTinyFormatMask) == kTinyFormat) {
        body.fat = false;
        body.headerSize = 1;
        body.maxStack = kTinyMaxStack;
        body.codeSize = data[0] >> 2;
        body.localVarSigToken = 0;
        return DecodeStatus::Ok;
    }
    if ((data[0] & kFatFormatMask) != kFatFormat) return DecodeStatus::BadHeader;
    if (size < kFatHeaderSize) return DecodeStatus::Truncated;
    const uint16_t flags = readU16(data);
    if ((flags >> 12) * 4u != kFatHeaderSize) return DecodeStatus::BadHeader;
    if ((reinterpret_cast<uintptr_t>(data) & 3) != 0) return DecodeStatus::MisalignedFat;
    body.fat = true;
    body.headerSize = kFatHeaderSize;
    body.maxStack = readU16(data + 2);
    body.codeSize = readU32(data + 4);
    body.localVarSigToken = readU32(data + 8);
    return DecodeStatus::Ok;
}

int64_t signExtend8(uint8_t b) { return static_cast<int8_t>(b); }
int64_t signExtend32(uint32_t v) { return static_cast<int32_t>(v); }

// Decodes code[0, codeSize); code is the start of the code, bounded by the
// header check.
DecodeStatus decodeInstructions(const uint8_t* code, uint32_t codeSize, MethodBody& body) {
    uint32_t pos = 0;
    while (pos < codeSize) {
        Instruction insn;
        insn.offset = pos;
        uint32_t opcode = code[pos++];
        if (opcode == kTwoByteEscape) {
            if (pos >= codeSize) return DecodeStatus::Truncated;
            opcode = (kTwoByteEscape << 8) | code[pos++];
        }
        const OpcodeInfo* info = findOpcode(opcode);
        if (info == nullptr) return DecodeStatus::UnknownOpcode;
        insn.opcode = opcode;
        insn.operand = info->operand;
        const uint32_t size = operandSize(info->operand);
        if (codeSize - pos < size) return DecodeStatus::Truncated;
        const uint8_t* p = code + pos;
        pos += size;
        switch (info->operand) {
            case OperandType::None:
                break;
            case OperandType::ShortInt:
            case OperandType::ShortUInt:
            case OperandType::ShortArg:
            case OperandType::ShortLocal:
                insn.value = p[0];
                break;
            case OperandType::Arg:
            case OperandType::Local:
                insn.value = readU16(p);
                break;
            case OperandType::Int64:
            case OperandType::Float64:
                insn.value = readU64(p);
                break;
            case OperandType::ShortBranch:
                insn.target = static_cast<int64_t>(pos) + signExtend8(p[0]);
                break;
            case OperandType::Branch:
                insn.target = static_cast<int64_t>(pos) + signExtend32(readU32(p));
                break;
            case OperandType::Switch: {
                const uint32_t count = readU32(p);
                if (static_cast<uint64_t>(codeSize - pos) < static_cast<uint64_t>(count) * 4)
                    return DecodeStatus::Truncated;
                const uint8_t* targets = code + pos;
                pos += count * 4;
                insn.switchFirst = static_cast<uint32_t>(body.switchTargets.size());
                insn.switchCount = count;
                for (uint32_t i = 0; i < count; ++i)
                    body.switchTargets.push_back(static_cast<int64_t>(pos) + signExtend32(readU32(targets + 4 * i)));
                break;
            }
            default:  // 4-byte immediates and tokens
                insn.value = readU32(p);
                break;
        }
        body.instructions.push_back(insn);
    }
    return DecodeStatus::Ok;
}

}  // namespace

DecodeStatus decodeBody(const uint8_t* data, size_t size, MethodBody& body) {
    body = MethodBody();
    if (data == nullptr) return DecodeStatus::Truncated;
    DecodeStatus status = decodeHeader(data, size, body);
    if (status != DecodeStatus::Ok) return status;
    if (body.codeSize == 0) return DecodeStatus::EmptyCode;
    if (static_cast<uint64_t>(body.headerSize) + body.codeSize > size) return DecodeStatus::Truncated;

    status = decodeInstructions(data + body.headerSize, body.codeSize, body);
    if (status != DecodeStatus::Ok) return status;

    size_t end = body.headerSize + static_cast<size_t>(body.codeSize);
    if (body.fat && (readU16(data) & kFatMoreSects) != 0) {
        const uint64_t first = alignUp4(end);
        if (first > size) return DecodeStatus::Truncated;
        if (!parseSections(data, size, static_cast<size_t>(first), body.sections, end)) return DecodeStatus::BadSection;
    }
    body.original.assign(data, data + end);
    return DecodeStatus::Ok;
}

}  // namespace cie
}  // namespace tavoli
