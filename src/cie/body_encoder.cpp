#include "cie/body_encoder.h"
#include "cie/byte_io.h"
#include "cie/eh_sections.h"
#include "cie/offset_map.h"

namespace tavoli {
namespace cie {

namespace {

struct Layout {
    std::vector<uint32_t> opcodes;  // what each instruction is emitted as
    std::vector<uint32_t> offsets;  // where it starts in the new code
    uint32_t codeSize = 0;
    bool unchanged = false;  // every instruction where it was
    OffsetMap map;
};

uint32_t encodedSize(const Instruction& insn, uint32_t opcode) {
    const OpcodeInfo* info = findOpcode(opcode);
    uint32_t size = opcodeSize(opcode) + operandSize(info->operand);
    if (info->operand == OperandType::Switch) size += insn.switchCount * 4;
    return size;
}

bool place(const MethodBody& body, Layout& layout) {
    const size_t n = body.instructions.size();
    layout.offsets.resize(n);
    layout.map.clear();
    uint64_t at = 0;
    bool unchanged = true;
    for (size_t i = 0; i < n; ++i) {
        const Instruction& insn = body.instructions[i];
        layout.offsets[i] = static_cast<uint32_t>(at);
        unchanged = unchanged && insn.offset == at;
        layout.map.add(insn.offset, static_cast<uint32_t>(at));
        at += encodedSize(insn, layout.opcodes[i]);
        if (at > UINT32_MAX) return false;
    }
    layout.codeSize = static_cast<uint32_t>(at);
    layout.unchanged = unchanged && at == body.codeSize;
    layout.map.add(body.codeSize, layout.codeSize);
    return true;
}

// A branch target in the new code. With the layout unchanged any target
// stays as it was, even one that points nowhere sensible; with a new layout
// only instruction starts can be carried over.
bool newTarget(const Layout& layout, int64_t oldTarget, int64_t& target) {
    if (layout.unchanged) {
        target = oldTarget;
        return true;
    }
    uint32_t mapped;
    if (!layout.map.map(oldTarget, mapped)) return false;
    target = mapped;
    return true;
}

bool fitsInt8(int64_t v) { return v >= INT8_MIN && v <= INT8_MAX; }
bool fitsInt32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

EncodeStatus lay(const MethodBody& body, Layout& layout) {
    layout.opcodes.clear();
    for (const Instruction& insn : body.instructions) layout.opcodes.push_back(insn.opcode);
    // Growing a short branch moves what follows it, which may push another
    // one out of reach; opcodes only ever grow, so this settles.
    for (;;) {
        if (!place(body, layout)) return EncodeStatus::TooLarge;
        bool grew = false;
        for (size_t i = 0; i < body.instructions.size(); ++i) {
            const Instruction& insn = body.instructions[i];
            if (findOpcode(layout.opcodes[i])->operand != OperandType::ShortBranch) continue;
            int64_t target;
            if (!newTarget(layout, insn.target, target)) return EncodeStatus::UnmappableOffset;
            const int64_t next = static_cast<int64_t>(layout.offsets[i]) + opcodeSize(layout.opcodes[i]) + 1;
            if (!fitsInt8(target - next)) {
                layout.opcodes[i] = longBranchForm(layout.opcodes[i]);
                grew = true;
            }
        }
        if (!grew) return EncodeStatus::Ok;
    }
}

EncodeStatus emitCode(const MethodBody& body, const Layout& layout, std::vector<uint8_t>& out) {
    for (size_t i = 0; i < body.instructions.size(); ++i) {
        const Instruction& insn = body.instructions[i];
        const uint32_t opcode = layout.opcodes[i];
        const OperandType operand = findOpcode(opcode)->operand;
        if (opcode > 0xFF) putU8(out, kTwoByteEscape);
        putU8(out, opcode & 0xFF);
        const int64_t next = static_cast<int64_t>(layout.offsets[i]) + encodedSize(insn, opcode);
        switch (operand) {
            case OperandType::None:
                break;
            case OperandType::ShortInt:
            case OperandType::ShortUInt:
            case OperandType::ShortArg:
            case OperandType::ShortLocal:
                putU8(out, static_cast<uint32_t>(insn.value));
                break;
            case OperandType::Arg:
            case OperandType::Local:
                putU16(out, static_cast<uint32_t>(insn.value));
                break;
            case OperandType::Int64:
            case OperandType::Float64:
                putU64(out, insn.value);
                break;
            case OperandType::ShortBranch:
            case OperandType::Branch: {
                int64_t target;
                if (!newTarget(layout, insn.target, target)) return EncodeStatus::UnmappableOffset;
                const int64_t displacement = target - next;
                if (operand == OperandType::ShortBranch) {
                    if (!fitsInt8(displacement)) return EncodeStatus::UnmappableOffset;
                    putU8(out, static_cast<uint32_t>(displacement));
                } else {
                    if (!fitsInt32(displacement)) return EncodeStatus::UnmappableOffset;
                    putU32(out, static_cast<uint32_t>(displacement));
                }
                break;
            }
            case OperandType::Switch:
                putU32(out, insn.switchCount);
                for (uint32_t k = 0; k < insn.switchCount; ++k) {
                    int64_t target;
                    if (!newTarget(layout, body.switchTargets[insn.switchFirst + k], target))
                        return EncodeStatus::UnmappableOffset;
                    if (!fitsInt32(target - next)) return EncodeStatus::UnmappableOffset;
                    putU32(out, static_cast<uint32_t>(target - next));
                }
                break;
            default:  // 4-byte immediates and tokens
                putU32(out, static_cast<uint32_t>(insn.value));
                break;
        }
    }
    return EncodeStatus::Ok;
}

void emitHeader(const MethodBody& body, const Layout& layout, std::vector<uint8_t>& out) {
    if (layout.unchanged) {
        out.insert(out.end(), body.original.begin(), body.original.begin() + body.headerSize);
    } else if (body.fat) {
        out.insert(out.end(), body.original.begin(), body.original.begin() + kFatHeaderSize);
        writeU32At(out, 4, layout.codeSize);
    } else if (layout.codeSize <= kTinyMaxCodeSize) {
        putU8(out, (layout.codeSize << 2) | 0x2);
    } else {
        // The tiny form's implied values, spelled out.
        putU16(out, (3u << 12) | kFatFormat);
        putU16(out, kTinyMaxStack);
        putU32(out, layout.codeSize);
        putU32(out, 0);
    }
}

}  // namespace

EncodeStatus encodeBody(const MethodBody& body, std::vector<uint8_t>& out) {
    out.clear();
    Layout layout;
    EncodeStatus status = lay(body, layout);
    if (status != EncodeStatus::Ok) return status;
    emitHeader(body, layout, out);
    out.reserve(out.size() + layout.codeSize + (body.original.size() - body.headerSize - body.codeSize));
    status = emitCode(body, layout, out);
    if (status != EncodeStatus::Ok) return status;
    if (layout.unchanged) {
        out.insert(out.end(), body.original.begin() + body.headerSize + body.codeSize, body.original.end());
    } else if (!body.sections.empty()) {
        if (!emitRemappedSections(body.sections, layout.map, out)) {
            // Tell an unmappable clause from an unmovable section only for
            // the caller's diagnostics; both leave the method unchanged.
            for (const ExtraSection& s : body.sections)
                if ((s.kind & kSectEhTable) == 0 || s.irregular) return EncodeStatus::UnmovableSection;
            return EncodeStatus::UnmappableOffset;
        }
    }
    return EncodeStatus::Ok;
}

}  // namespace cie
}  // namespace tavoli
