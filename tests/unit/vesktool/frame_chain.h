// A short chain of real calls built with frame pointers, to unwind while it is
// live on the stack.
#pragma once

#include <cstdint>

namespace vesktool_test {

constexpr int kChainDepth = 4;

// Each level's own frame pointer and return address, outermost first.
struct FrameChain {
    uintptr_t frame[kChainDepth];
    uintptr_t returnAddress[kChainDepth];
};

typedef int (*ChainProbe)(const FrameChain& chain, void* context);

// Calls down kChainDepth levels, recording each, then calls probe from the
// innermost level; answers what probe answers.
int runFrameChain(ChainProbe probe, void* context);

}  // namespace vesktool_test
