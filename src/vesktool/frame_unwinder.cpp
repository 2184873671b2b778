#include "frame_unwinder.h"

#include "native_unwinder.h"
#include "platform.h"
#include "vesk/profiling_extension.h"

#include <cstring>

namespace vesktool {

namespace {

// A frame holds the saved frame pointer and then the return address, each one
// machine word, so the same walk serves 32- and 64-bit x86.
constexpr uint64_t kWord = sizeof(uintptr_t);

uint64_t readOffset(const unsigned char* frame, size_t address) {
    uint64_t offset;
    std::memcpy(&offset, frame + address, sizeof offset);
    return offset;
}

void writeFlat(unsigned char* frame, size_t address, uint64_t offset) {
    const uint16_t segment = 0;
    std::memcpy(frame + address, &offset, sizeof offset);
    std::memcpy(frame + address + 8, &segment, sizeof segment);
    std::memcpy(frame + address + 12, &kAddressModeFlat, sizeof kAddressModeFlat);
}

}  // namespace

int unwindFrame(void* context, void* stackFrame) {
    if (stackFrame == nullptr) return vesk_er_error;
    if (context != nullptr) return unwindWithContext(context, *static_cast<vesk_stack_frame64*>(stackFrame));
    unsigned char* frame = static_cast<unsigned char*>(stackFrame);

    const uint64_t framePointer = readOffset(frame, kAddrFrameOffset);
    if (framePointer == 0 || framePointer % kWord != 0) return vesk_er_not_done;
    if (framePointer > UINTPTR_MAX - 2 * kWord) return vesk_er_not_done;

    uintptr_t words[2];  // saved frame pointer, return address
    if (!platform::readMemory(static_cast<uintptr_t>(framePointer), words, sizeof words)) return vesk_er_not_done;
    const uint64_t callerFrame = words[0];
    const uint64_t returnAddress = words[1];
    if (returnAddress == 0) return vesk_er_not_done;
    const uint64_t callerStack = framePointer + 2 * kWord;
    // The stack grows down, so the caller's frame lies at or above its stack
    // pointer. A chain that goes down or stays put is corrupt and would loop.
    // Zero marks the outermost frame: this step still succeeds, the next one
    // stops.
    if (callerFrame != 0 && callerFrame < callerStack) return vesk_er_not_done;

    writeFlat(frame, kAddrPcOffset, returnAddress);
    writeFlat(frame, kAddrReturnOffset, returnAddress);
    writeFlat(frame, kAddrFrameOffset, callerFrame);
    writeFlat(frame, kAddrStackOffset, callerStack);
    return vesk_er_success;
}

}  // namespace vesktool
