// A method body taken apart: header fields, the instruction list and the
// extra data sections, plus the original bytes so that an unchanged body
// goes back exactly as it came.
#pragma once

#include "cie/opcodes.h"

#include <cstdint>
#include <vector>

namespace tavoli {
namespace cie {

struct Instruction {
    uint32_t offset = 0;  // in the body as decoded; edits never move it
    uint32_t opcode = 0;
    OperandType operand = OperandType::None;
    // Immediates, tokens and variable indices, zero-extended from their
    // encoding (ldc.i4.s keeps its raw byte; the reader sign-extends).
    uint64_t value = 0;
    // Branches: the target as an offset into the decoded code. Kept as a
    // signed 64-bit number because a malformed body may point anywhere.
    int64_t target = 0;
    // Switches: targets[switchFirst, switchFirst + switchCount) of the body.
    uint32_t switchFirst = 0;
    uint32_t switchCount = 0;
};

struct EhClause {
    uint32_t flags = 0;
    uint32_t tryOffset = 0;
    uint32_t tryLength = 0;
    uint32_t handlerOffset = 0;
    uint32_t handlerLength = 0;
    uint32_t classTokenOrFilterOffset = 0;
};

// Section kind bits.
const uint8_t kSectEhTable = 0x01;
const uint8_t kSectOptIlTable = 0x02;
const uint8_t kSectKindMask = 0x3F;
const uint8_t kSectFatFormat = 0x40;
const uint8_t kSectMoreSects = 0x80;

// EH clause flag: the last field is a filter offset, not a class token.
const uint32_t kClauseFilter = 0x1;

struct ExtraSection {
    uint32_t start = 0;  // offset of the section header in the body
    uint8_t kind = 0;    // the header's first byte as found
    uint32_t dataSize = 0;
    // EH sections only.
    std::vector<EhClause> clauses;
    // The data size holds bytes past the last whole clause.
    bool irregular = false;
};

// Fat header flag bits.
const uint16_t kFatFormat = 0x3;
const uint16_t kFatMoreSects = 0x8;
const uint16_t kFatInitLocals = 0x10;
const uint32_t kFatHeaderSize = 12;
const uint32_t kTinyMaxCodeSize = 63;
const uint32_t kTinyMaxStack = 8;

struct MethodBody {
    // Header through the end of the last section, as the runtime gave them.
    std::vector<uint8_t> original;
    bool fat = false;
    uint32_t headerSize = 0;
    uint16_t maxStack = 0;
    uint32_t codeSize = 0;
    uint32_t localVarSigToken = 0;
    std::vector<Instruction> instructions;
    std::vector<int64_t> switchTargets;
    std::vector<ExtraSection> sections;
};

}  // namespace cie
}  // namespace tavoli
