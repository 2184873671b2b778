// The objects a caller holds for instructions and for walking them. Both are
// thin views onto the EngineMethod that owns the decoded body.
#pragma once

#include "tavoli/cie.h"

#include <cstddef>
#include <cstdint>

namespace tavoli {
namespace cie {

class EngineMethod;

class InstructionObject final : public IInstruction {
public:
    InstructionObject(EngineMethod* method, size_t index) : m_method(method), m_index(index) {}

    uint32_t getOpcode() override;
    MrteResult setOpcode(uint32_t opcode) override;
    MrteResult getOperand(EngineOperand* operand, uint32_t selector, uint32_t, uint32_t) override;
    MrteResult setOperand(const EngineOperand* operand, uint32_t selector, uint32_t, uint32_t) override;
    uint32_t getOffset() override;
    uint32_t getSize() override;
    bool isCandidate() override;

private:
    EngineMethod* m_method;
    size_t m_index;
};

class InstructionIterator final : public IInstructionIterator {
public:
    explicit InstructionIterator(EngineMethod* method) : m_method(method) {}

    IInstruction* current() override;
    IInstruction* next() override;
    void release() override;
    IInstruction* first() override;

private:
    static const size_t kBeforeFirst = SIZE_MAX;
    EngineMethod* const m_method;
    size_t m_position = kBeforeFirst;
};

}  // namespace cie
}  // namespace tavoli
