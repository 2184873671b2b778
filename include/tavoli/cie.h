// The IL instrumentation engine's interface. The engine library exports
// CIEGetInstance, which hands out the engine object; all objects are tables of
// virtual operations whose slot order is fixed. Slots marked "not used by the
// profiler" still hold their place in the table.
//
// Lifetimes: the engine lives as long as the process. getMethod hands out a
// new IEngineMethod that belongs to the caller, who calls its release() once
// when done with it (after apply or when giving up). The method owns its
// instructions: IInstruction pointers stay valid until the method is released.
// getInstructions hands out a new iterator that belongs to its method:
// releasing it early is optional, and the method's release frees every
// iterator not yet released, so an iterator is never used or released after
// its method. One method and its objects are used by one thread at a time;
// different methods may be used on different threads at once.
#pragma once

#include "veskmrte/portable.h"

#include <cstdint>

namespace tavoli {

typedef uint32_t MrteResult;
const MrteResult MRTE_RESULT_OK = 0;
const MrteResult MRTE_ERROR_UNABLE_TO_INSTRUMENT = 0x80400002u;
const MrteResult MRTE_ERROR_FAIL = 0x80400001u;

// Operand kinds (EngineOperand::kind). `size` is the operand's size in bytes
// in the instruction's encoding; `value` is the operand; a 64-bit operand
// puts its high half in reserved[0]. Offsets count from the start of the code
// as it was when the method was handed out.
const uint32_t OPERAND_KIND_NONE = 0;      // no operand, or an implied one (ldarg.0, ldc.i4.3)
const uint32_t OPERAND_KIND_INT8 = 1;      // ldc.i4.s: value sign-extended to 32 bits
const uint32_t OPERAND_KIND_UINT8 = 2;     // unaligned. (the alignment), no. (the checks skipped)
const uint32_t OPERAND_KIND_INT32 = 3;     // ldc.i4
const uint32_t OPERAND_KIND_INT64 = 4;     // ldc.i8
const uint32_t OPERAND_KIND_FLOAT32 = 5;   // ldc.r4: the IEEE bits
const uint32_t OPERAND_KIND_FLOAT64 = 6;   // ldc.r8: the IEEE bits
const uint32_t OPERAND_KIND_BRANCH = 7;    // br.s ... leave: value is the target's offset
// switch: with selector 0 (the first of the three trailing arguments of
// getOperand/setOperand) value is the number of targets N, size 4 + 4N; with
// selector k in 1..N value is target k's offset, size 4. Only targets can be
// set.
const uint32_t OPERAND_KIND_SWITCH = 8;
const uint32_t OPERAND_KIND_ARGUMENT = 9;  // ldarg(.s), ldarga(.s), starg(.s): the argument index
const uint32_t OPERAND_KIND_LOCAL = 10;    // ldloc(.s), ldloca(.s), stloc(.s): the local index
// Operand kind for a metadata token: call, callvirt, newobj, ldtoken, ldstr,
// ldfld, box, calli, constrained. and every other opcode with a token.
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

// One instruction. Opcodes are numbered as in the instruction set: a one-byte
// opcode as its byte (0x28 call, 0x6F callvirt, 0x73 newobj, 0x29 calli), a
// two-byte opcode as 0xFE00 | its second byte (0xFE06 ldftn, 0xFE16
// constrained.). A prefix (unaligned., volatile., tail., constrained., no.,
// readonly.) is an instruction of its own, just before the one it prefixes.
class IInstruction {
public:
    /* 0 */ virtual uint32_t getOpcode() = 0;
    // Only to an opcode whose operand has the same kind and encoding (call,
    // callvirt, newobj, ...), never to or from a prefix, and not behind one;
    // otherwise MRTE_ERROR_FAIL and nothing changes.
    /* 1 */ virtual MrteResult setOpcode(uint32_t opcode) = 0;
    /* 2 */ virtual MrteResult getOperand(EngineOperand* operand, uint32_t, uint32_t, uint32_t) = 0;
    // The kind must be the operand's own and the value must fit it (a token
    // of a table the opcode takes, an immediate in range, a target at an
    // instruction's start); otherwise MRTE_ERROR_FAIL and nothing changes.
    /* 3 */ virtual MrteResult setOperand(const EngineOperand* operand, uint32_t, uint32_t, uint32_t) = 0;
    // Where the instruction was when the method was handed out.
    /* 4 */ virtual uint32_t getOffset() = 0;
    /* 5 */ virtual uint32_t getSize() = 0;
    // True for a call, callvirt or newobj that may become a call of a static
    // method with valid IL: not behind a prefix, not a call or callvirt of a
    // constructor, not a newobj that takes a function pointer from ldftn or
    // ldvirtftn just before it.
    /* 6 */ virtual bool isCandidate() = 0;

protected:
    ~IInstruction() {}
};

// Walks the instructions in code order. A new iterator stands before the
// first instruction: next() and first() both give it; current() gives null
// until one of them is called and after next() has run past the last.
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
    // Every order gives code order.
    /* 0 */ virtual IInstructionIterator* getInstructions(uint32_t order) = 0;
    /* 1 */ virtual uint32_t instructionCount() = 0;
    /* 2 */ virtual void release() = 0;
    // Installs the body if the edits changed its bytes: MRTE_RESULT_OK when
    // installed or when there was nothing to install,
    // MRTE_ERROR_UNABLE_TO_INSTRUMENT when the body cannot be re-encoded or
    // the runtime refuses it; the method then runs as it was.
    /* 3 */ virtual MrteResult apply() = 0;
    /* 4 */ virtual uintptr_t functionId() = 0;
    // Names are copied truncated to capacity - 1 characters and terminated;
    // the signature is copied up to its capacity. The lengths are the full
    // ones (names without terminator): a name length >= its capacity or a
    // signature length > its capacity means truncated. Names, class token
    // and signature come from the module's metadata; when it cannot be read
    // they are left empty (lengths 0, class token 0) and the answer is still
    // MRTE_RESULT_OK. ilSize is the code's size in bytes.
    /* 5 */ virtual MrteResult getMethodInfo(EngineMethodInfo* info) = 0;

protected:
    ~IEngineMethod() {}
};

class IEngine {
public:
    /* 0 */ virtual uint32_t version() = 0;
    /* 1 */ virtual void reserved1() = 0;
    /* 2 */ virtual void reserved2() = 0;
    // Null for a method without IL the engine can read (abstract, runtime
    // implemented, P/Invoke, a body the runtime does not give, a body that is
    // malformed or uses an unknown opcode). Safe on many threads at once.
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
