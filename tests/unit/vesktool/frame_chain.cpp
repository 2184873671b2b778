// Built with frame pointers kept whatever the build type (see CMakeLists.txt).
// Every level does work after its call so that none becomes a tail call,
// which would leave its frame before the probe runs.
#include "frame_chain.h"

#if defined(__clang__)
#define CHAIN_LEVEL __attribute__((noinline))
#else
#define CHAIN_LEVEL __attribute__((noipa))
#endif

namespace vesktool_test {

namespace {

#define RECORD_LEVEL(chain, index)                                                              \
    (chain).frame[index] = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));            \
    (chain).returnAddress[index] = reinterpret_cast<uintptr_t>(__builtin_return_address(0))

CHAIN_LEVEL int level3(FrameChain& chain, ChainProbe probe, void* context) {
    RECORD_LEVEL(chain, 3);
    return probe(chain, context) + 3;
}

CHAIN_LEVEL int level2(FrameChain& chain, ChainProbe probe, void* context) {
    RECORD_LEVEL(chain, 2);
    return level3(chain, probe, context) - 1;
}

CHAIN_LEVEL int level1(FrameChain& chain, ChainProbe probe, void* context) {
    RECORD_LEVEL(chain, 1);
    return level2(chain, probe, context) - 1;
}

CHAIN_LEVEL int level0(FrameChain& chain, ChainProbe probe, void* context) {
    RECORD_LEVEL(chain, 0);
    return level1(chain, probe, context) - 1;
}

}  // namespace

int runFrameChain(ChainProbe probe, void* context) {
    FrameChain chain{};
    return level0(chain, probe, context);
}

}  // namespace vesktool_test
