#include "cie/instruction_objects.h"
#include "cie/engine_method.h"
#include "cie/instruction_edits.h"

namespace tavoli {
namespace cie {

uint32_t InstructionObject::getOpcode() { return m_method->body().instructions[m_index].opcode; }

MrteResult InstructionObject::setOpcode(uint32_t opcode) { return changeOpcode(m_method->body(), m_index, opcode); }

MrteResult InstructionObject::getOperand(EngineOperand* operand, uint32_t selector, uint32_t, uint32_t) {
    return readOperand(m_method->body(), m_index, operand, selector);
}

MrteResult InstructionObject::setOperand(const EngineOperand* operand, uint32_t selector, uint32_t, uint32_t) {
    return writeOperand(m_method->body(), m_index, operand, selector);
}

uint32_t InstructionObject::getOffset() { return m_method->body().instructions[m_index].offset; }

uint32_t InstructionObject::getSize() { return encodedSizeOf(m_method->body(), m_index); }

bool InstructionObject::isCandidate() {
    switch (candidateShape(m_method->body(), m_index)) {
        case CandidateShape::Yes:
            return true;
        case CandidateShape::UnlessConstructor:
            return m_method->namesNonConstructor(static_cast<uint32_t>(m_method->body().instructions[m_index].value));
        default:
            return false;
    }
}

IInstruction* InstructionIterator::current() {
    if (m_position >= m_method->instructionCount()) return nullptr;
    return m_method->instructionAt(m_position);
}

IInstruction* InstructionIterator::next() {
    const size_t count = m_method->instructionCount();
    if (m_position == kBeforeFirst)
        m_position = 0;
    else if (m_position < count)
        ++m_position;
    return current();
}

IInstruction* InstructionIterator::first() {
    m_position = 0;
    return current();
}

void InstructionIterator::release() {
    m_method->forgetIterator(this);
    delete this;
}

}  // namespace cie
}  // namespace tavoli
