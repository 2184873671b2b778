// What the engine lets a caller read and change in one instruction of a
// decoded body, and the checks that keep every change valid IL.
#pragma once

#include "cie/method_body.h"
#include "tavoli/cie.h"

#include <cstddef>
#include <cstdint>

namespace tavoli {
namespace cie {

// Fills operand from instruction `index`. For a switch, selector 0 asks for
// the target count and selector k (1..N) for target k; other instructions
// ignore it.
MrteResult readOperand(const MethodBody& body, size_t index, EngineOperand* operand, uint32_t selector);

// Replaces the operand when operand->kind is the kind the instruction's
// operand has and the value fits it (a token of a table the opcode accepts,
// an immediate in range, a branch target at an instruction start); anything
// else leaves the instruction alone and answers MRTE_ERROR_FAIL.
MrteResult writeOperand(MethodBody& body, size_t index, const EngineOperand* operand, uint32_t selector);

// Changes the opcode to one whose operand is encoded the same way, so the
// operand stays meaningful. Prefixes are never made or unmade, and an
// instruction behind a prefix keeps its opcode: each prefix allows only some
// opcodes after it.
MrteResult changeOpcode(MethodBody& body, size_t index, uint32_t opcode);

// Bytes the instruction takes with its current opcode.
uint32_t encodedSizeOf(const MethodBody& body, size_t index);

enum class CandidateShape {
    No,
    Yes,
    // A call or callvirt whose target may be a constructor: calling one
    // initialises an object in place, which no static method can stand in
    // for. Only metadata can tell.
    UnlessConstructor,
};

// Whether rewriting the instruction into a call of a static method keeps the
// IL valid, as far as the instruction and its neighbours show.
CandidateShape candidateShape(const MethodBody& body, size_t index);

}  // namespace cie
}  // namespace tavoli
