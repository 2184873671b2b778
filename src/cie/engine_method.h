// The engine's object for one method: its decoded body, the instruction
// objects the caller edits through, and installing the result.
#pragma once

#include "abi/corprof.h"
#include "abi/metadata.h"
#include "cie/instruction_objects.h"
#include "cie/method_body.h"
#include "tavoli/cie.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavoli {
namespace cie {

struct MethodIdentity {
    cor::ICorProfilerInfo2* info = nullptr;
    uintptr_t functionId = 0;
    cor::ModuleID moduleId = 0;
    cor::mdMethodDef token = 0;
};

class EngineMethod final : public IEngineMethod {
public:
    // Decodes size bytes at header; null when the body cannot be decoded
    // (see decodeBody) or memory runs out.
    static EngineMethod* create(const MethodIdentity& identity, const uint8_t* header, size_t size);

    IInstructionIterator* getInstructions(uint32_t order) override;
    uint32_t instructionCount() override;
    void release() override;
    MrteResult apply() override;
    uintptr_t functionId() override;
    MrteResult getMethodInfo(EngineMethodInfo* info) override;

    // For the instruction objects and iterators.
    MethodBody& body() { return m_body; }
    IInstruction* instructionAt(size_t index) { return &m_instructions[index]; }
    void forgetIterator(InstructionIterator* iterator);
    // True when the method token names something other than a constructor;
    // false when it names one or the metadata cannot tell.
    bool namesNonConstructor(uint32_t token);

private:
    explicit EngineMethod(const MethodIdentity& identity) : m_identity(identity) {}
    ~EngineMethod();
    EngineMethod(const EngineMethod&) = delete;
    EngineMethod& operator=(const EngineMethod&) = delete;

    // The module's metadata, opened on first use; null when unavailable.
    cor::IMetaDataImport* metadata();
    MrteResult install(const std::vector<uint8_t>& bytes);

    MethodIdentity m_identity;
    MethodBody m_body;
    std::vector<InstructionObject> m_instructions;
    // Iterators handed out and not yet released: callers need not release
    // them, the method's release frees them. The first one is made up front
    // so that getInstructions has one to give even when memory is short.
    std::vector<InstructionIterator*> m_iterators;
    InstructionIterator* m_spareIterator = nullptr;
    // The bytes the runtime has for the method now.
    std::vector<uint8_t> m_installed;
    cor::IMetaDataImport* m_metadata = nullptr;
    bool m_metadataOpened = false;
};

}  // namespace cie
}  // namespace tavoli
