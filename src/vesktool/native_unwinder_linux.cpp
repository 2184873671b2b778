// libunwind's generic unwinder, over an address space of our own: registers
// come from the host's context, memory through reads that cannot fault.
#include "native_unwinder.h"

#include "platform.h"
#include "vesk/profiling_extension.h"

#include <libunwind.h>
#include <pthread.h>
#include <ucontext.h>

#include <cstring>
#include <mutex>

namespace vesktool {

namespace {

using vesk_context::kRegisterCount;

struct Registers {
    uintptr_t value[kRegisterCount];
};

int registerIndex(unw_regnum_t reg) {
    switch (reg) {
        case UNW_X86_64_RIP: return vesk_context::kIp;
        case UNW_X86_64_RSP: return vesk_context::kSp;
        case UNW_X86_64_RBP: return vesk_context::kFp;
        case UNW_X86_64_RBX: return vesk_context::kRbx;
        case UNW_X86_64_R12: return vesk_context::kR12;
        case UNW_X86_64_R13: return vesk_context::kR13;
        case UNW_X86_64_R14: return vesk_context::kR14;
        case UNW_X86_64_R15: return vesk_context::kR15;
        default: return -1;
    }
}

struct Bounds {
    uintptr_t low;
    uintptr_t high;
};
thread_local Bounds t_stack{0, 0};

// The calling thread's own stack is read directly; anything else goes
// through the kernel, which answers an unmapped address with an error.
bool readWord(unw_word_t address, unw_word_t& value) {
    uintptr_t low = 0, high = 0;
    if (currentStackBounds(low, high) && address >= low && address + sizeof value <= high &&
        address % alignof(unw_word_t) == 0) {
        value = *reinterpret_cast<const unw_word_t*>(address);
        return true;
    }
    return platform::readMemory(static_cast<uintptr_t>(address), &value, sizeof value);
}

int accessMem(unw_addr_space_t, unw_word_t address, unw_word_t* value, int write, void*) {
    if (write != 0) return -UNW_EREADONLYREG;
    return readWord(address, *value) ? 0 : -UNW_EINVAL;
}

int accessReg(unw_addr_space_t, unw_regnum_t reg, unw_word_t* value, int write, void* arg) {
    Registers* registers = static_cast<Registers*>(arg);
    const int index = registerIndex(reg);
    if (write != 0) {
        if (index >= 0) registers->value[index] = static_cast<uintptr_t>(*value);
        return 0;
    }
    // Registers a callee may clobber carry nothing the unwind needs.
    *value = index >= 0 ? registers->value[index] : 0;
    return 0;
}

int accessFpreg(unw_addr_space_t, unw_regnum_t, unw_fpreg_t*, int, void*) { return -UNW_EBADREG; }
int resume(unw_addr_space_t, unw_cursor_t*, void*) { return -UNW_EINVAL; }

unw_addr_space_t addressSpace() {
    static unw_addr_space_t space = [] {
        // The local space's accessors find the unwind tables of the loaded
        // objects; only register and memory access are replaced.
        unw_accessors_t accessors = *unw_get_accessors(unw_local_addr_space);
        accessors.access_mem = &accessMem;
        accessors.access_reg = &accessReg;
        accessors.access_fpreg = &accessFpreg;
        accessors.resume = &resume;
        unw_addr_space_t created = unw_create_addr_space(&accessors, 0);
        if (created != nullptr) unw_set_caching_policy(created, UNW_CACHE_GLOBAL);
        return created;
    }();
    return space;
}

void toRegisters(const void* context, Registers& registers) {
    for (int i = 0; i < kRegisterCount; ++i)
        registers.value[i] = vesk_context::get(context, vesk_context::kRegisterOffsets[i]);
}

void fromRegisters(const Registers& registers, void* context) {
    for (int i = 0; i < kRegisterCount; ++i)
        vesk_context::set(context, vesk_context::kRegisterOffsets[i], registers.value[i]);
}

bool step(Registers& registers) {
    unw_addr_space_t space = addressSpace();
    if (space == nullptr) return false;
    Registers working = registers;
    unw_cursor_t cursor;
    if (unw_init_remote(&cursor, space, &working) < 0) return false;
    if (unw_step(&cursor) <= 0) return false;
    Registers caller{};
    for (int reg : {UNW_X86_64_RIP, UNW_X86_64_RSP, UNW_X86_64_RBP, UNW_X86_64_RBX, UNW_X86_64_R12, UNW_X86_64_R13,
                    UNW_X86_64_R14, UNW_X86_64_R15}) {
        unw_word_t value = 0;
        if (unw_get_reg(&cursor, reg, &value) < 0) return false;
        caller.value[registerIndex(reg)] = static_cast<uintptr_t>(value);
    }
    // The stack grows down: a caller whose stack pointer does not lie above
    // the callee's is garbage, and would make the walk go round in circles.
    if (caller.value[vesk_context::kIp] == 0 || caller.value[vesk_context::kSp] <= registers.value[vesk_context::kSp])
        return false;
    registers = caller;
    return true;
}

}  // namespace

bool currentStackBounds(uintptr_t& low, uintptr_t& high) {
    if (t_stack.high == 0) {
        pthread_attr_t attributes;
        if (pthread_getattr_np(pthread_self(), &attributes) != 0) return false;
        void* base = nullptr;
        size_t size = 0;
        const bool known = pthread_attr_getstack(&attributes, &base, &size) == 0;
        pthread_attr_destroy(&attributes);
        if (!known) return false;
        t_stack.low = reinterpret_cast<uintptr_t>(base);
        t_stack.high = t_stack.low + size;
    }
    low = t_stack.low;
    high = t_stack.high;
    return true;
}

int unwindWithContext(void* context, vesk_stack_frame64& frame) {
    Registers registers;
    toRegisters(context, registers);
    if (!step(registers)) return vesk_er_not_done;
    fromRegisters(registers, context);
    const uintptr_t returnAddress = registers.value[vesk_context::kIp];
    const uintptr_t callerStack = registers.value[vesk_context::kSp];
    vesk_context::setFlat(frame.pc, returnAddress);
    vesk_context::setFlat(frame.return_address, returnAddress);
    // The call stored the return address one word below the caller's stack
    // pointer; the frame address is one word below that slot.
    vesk_context::setFlat(frame.frame, callerStack - 2 * sizeof(uintptr_t));
    vesk_context::setFlat(frame.stack, callerStack);
    return vesk_er_success;
}

__attribute__((noinline)) bool callerContext(void* context) {
    unw_context_t here;
    if (unw_getcontext(&here) != 0) return false;
    const greg_t* gregs = here.uc_mcontext.gregs;
    Registers registers{};
    registers.value[vesk_context::kIp] = static_cast<uintptr_t>(gregs[REG_RIP]);
    registers.value[vesk_context::kSp] = static_cast<uintptr_t>(gregs[REG_RSP]);
    registers.value[vesk_context::kFp] = static_cast<uintptr_t>(gregs[REG_RBP]);
    registers.value[vesk_context::kRbx] = static_cast<uintptr_t>(gregs[REG_RBX]);
    registers.value[vesk_context::kR12] = static_cast<uintptr_t>(gregs[REG_R12]);
    registers.value[vesk_context::kR13] = static_cast<uintptr_t>(gregs[REG_R13]);
    registers.value[vesk_context::kR14] = static_cast<uintptr_t>(gregs[REG_R14]);
    registers.value[vesk_context::kR15] = static_cast<uintptr_t>(gregs[REG_R15]);
    if (!step(registers)) return false;
    std::memset(context, 0, vesk_context::kSize);
    uint32_t flags = vesk_context::kFlagsControlInteger;
    std::memcpy(static_cast<unsigned char*>(context) + vesk_context::kFlagsOffset, &flags, sizeof flags);
    fromRegisters(registers, context);
    return true;
}

}  // namespace vesktool
