// The IL instrumentation engine's interface. The engine library exports
// CIEGetInstance, which hands out the engine object; all objects are tables of
// virtual operations whose slot order is fixed. Slots marked "not used by the
// profiler" still hold their place in the table.
#pragma once

#include "veskmrte/portable.h"

#include <cstdint>

namespace tavoli {

typedef uint32_t MrteResult;
const MrteResult MRTE_RESULT_OK = 0;
const MrteResult MRTE_ERROR_UNABLE_TO_INSTRUMENT = 0x80400002u;
const MrteResult MRTE_ERROR_FAIL = 0x80400001u;

// Operand kind for a metadata token.
const uint32_t OPERAND_KIND_TOKEN = 14;

struct EngineOperand {
    uint32_t kind;
    uint32_t size;
    uint32_t value;
    uint32_t reserved[3];
};
static_assert(sizeof(EngineOperand) == 24, "an operand record is 24 bytes");

// Filled by getMethodInfo; the caller supplies the buffers and capacities.
struct EngineMethodInfo {
    uintptr_t moduleId;          // filled
    uint32_t methodToken;        // filled
    vesk_wchar* className;       // caller's buffer
    uint32_t classNameCapacity;  // in characters
    uint32_t classNameLength;    // filled
    uint32_t classToken;         // filled
    vesk_wchar* methodName;      // caller's buffer
    uint32_t methodNameCapacity;
    uint32_t methodNameLength;   // filled
    uint32_t reserved9;          // caller sets 0
    uint32_t reserved10;         // caller sets 0
    uint32_t ilSize;             // filled
    uint32_t reserved12;         // caller sets 0
    uint32_t reserved13;         // caller sets 0
    uint32_t maxStack;           // filled
    uint8_t* signature;          // caller's buffer
    uint32_t signatureCapacity;  // in bytes
    uint32_t signatureLength;    // filled
};

class IInstruction {
public:
    /* 0 */ virtual uint32_t getOpcode() = 0;
    /* 1 */ virtual MrteResult setOpcode(uint32_t opcode) = 0;
    /* 2 */ virtual MrteResult getOperand(EngineOperand* operand, uint32_t, uint32_t, uint32_t) = 0;
    /* 3 */ virtual MrteResult setOperand(const EngineOperand* operand, uint32_t, uint32_t, uint32_t) = 0;
    /* 4 */ virtual uint32_t getOffset() = 0;
    /* 5 */ virtual uint32_t getSize() = 0;
    /* 6 */ virtual bool isCandidate() = 0;

protected:
    ~IInstruction() {}
};

class IInstructionIterator {
public:
    /* 0 */ virtual IInstruction* current() = 0;
    /* 1 */ virtual IInstruction* next() = 0;
    /* 2 */ virtual void release() = 0;
    /* 3 */ virtual IInstruction* first() = 0;

protected:
    ~IInstructionIterator() {}
};

class IEngineMethod {
public:
    /* 0 */ virtual IInstructionIterator* getInstructions(uint32_t order) = 0;
    /* 1 */ virtual uint32_t instructionCount() = 0;
    /* 2 */ virtual void release() = 0;
    /* 3 */ virtual MrteResult apply() = 0;
    /* 4 */ virtual uintptr_t functionId() = 0;
    /* 5 */ virtual MrteResult getMethodInfo(EngineMethodInfo* info) = 0;

protected:
    ~IEngineMethod() {}
};

class IEngine {
public:
    /* 0 */ virtual uint32_t version() = 0;
    /* 1 */ virtual void reserved1() = 0;
    /* 2 */ virtual void reserved2() = 0;
    /* 3 */ virtual IEngineMethod* getMethod(uintptr_t functionId) = 0;

protected:
    ~IEngine() {}
};

}  // namespace tavoli

extern "C" {
// A plain C function: the caller cleans the stack. profilerInfo: the runtime's profiling-information interface.
typedef tavoli::IEngine* (*CIEGetInstanceFn)(void* profilerInfo);
#define CIE_GET_INSTANCE_NAME "CIEGetInstance"
}
