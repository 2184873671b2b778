// The JIT record of one compiled code body: filled from the runtime's answers
// and released by whoever filled it, once the writer has copied it.
//
// The runtime compiles a method more than once (a quick first tier, an
// instrumented tier, the optimised tier, on-stack-replacement bodies), all
// under one FunctionID. GetCodeInfo2 and GetILToNativeMapping answer for the
// first body only, so the later ones are found and described through the
// ninth information interface, which lists every body by its start.
#pragma once

#include "abi/corprof.h"
#include "plovat/jit_record.h"

#include <vector>

namespace cor {

typedef UINT_PTR ReJITID;

extern const IID IID_ICorProfilerInfo9;

#define VESK_UNUSED_INFO_SLOT(n) virtual HRESULT STDMETHODCALLTYPE unusedSlot##n() = 0;

// The ninth information interface as far as the record filling uses it. The
// slots of the third to eighth interfaces come first and are never called.
class ICorProfilerInfo9 : public ICorProfilerInfo2 {
public:
    VESK_UNUSED_INFO_SLOT(57) VESK_UNUSED_INFO_SLOT(58) VESK_UNUSED_INFO_SLOT(59) VESK_UNUSED_INFO_SLOT(60)
    VESK_UNUSED_INFO_SLOT(61) VESK_UNUSED_INFO_SLOT(62) VESK_UNUSED_INFO_SLOT(63) VESK_UNUSED_INFO_SLOT(64)
    VESK_UNUSED_INFO_SLOT(65) VESK_UNUSED_INFO_SLOT(66) VESK_UNUSED_INFO_SLOT(67) VESK_UNUSED_INFO_SLOT(68)
    VESK_UNUSED_INFO_SLOT(69) VESK_UNUSED_INFO_SLOT(70) VESK_UNUSED_INFO_SLOT(71) VESK_UNUSED_INFO_SLOT(72)
    VESK_UNUSED_INFO_SLOT(73) VESK_UNUSED_INFO_SLOT(74) VESK_UNUSED_INFO_SLOT(75) VESK_UNUSED_INFO_SLOT(76)
    VESK_UNUSED_INFO_SLOT(77) VESK_UNUSED_INFO_SLOT(78) VESK_UNUSED_INFO_SLOT(79) VESK_UNUSED_INFO_SLOT(80)
    VESK_UNUSED_INFO_SLOT(81) VESK_UNUSED_INFO_SLOT(82) VESK_UNUSED_INFO_SLOT(83) VESK_UNUSED_INFO_SLOT(84)
    VESK_UNUSED_INFO_SLOT(85) VESK_UNUSED_INFO_SLOT(86) VESK_UNUSED_INFO_SLOT(87) VESK_UNUSED_INFO_SLOT(88)
    VESK_UNUSED_INFO_SLOT(89)
    // Slot 90: the start of every native body of the function's IL version
    // (0: the original IL), each body that has code.
    virtual HRESULT STDMETHODCALLTYPE GetNativeCodeStartAddresses(FunctionID functionId, ReJITID reJitId,
                                                                  ULONG32 cCodeStartAddresses,
                                                                  ULONG32* pcCodeStartAddresses,
                                                                  UINT_PTR codeStartAddresses[]) = 0;
    // Slot 91: the IL map of the body starting there.
    virtual HRESULT STDMETHODCALLTYPE GetILToNativeMapping3(UINT_PTR pNativeCodeStartAddress, ULONG32 cMap,
                                                            ULONG32* pcMap, COR_DEBUG_IL_TO_NATIVE_MAP map[]) = 0;
    // Slot 92: the code blocks of the body starting there.
    virtual HRESULT STDMETHODCALLTYPE GetCodeInfo4(UINT_PTR pNativeCodeStartAddress, ULONG32 cCodeInfos,
                                                   ULONG32* pcCodeInfos, COR_PRF_CODE_INFO codeInfos[]) = 0;

protected:
    ~ICorProfilerInfo9() = default;
};

#undef VESK_UNUSED_INFO_SLOT

}  // namespace cor

namespace veskmrte_1_0 {

class ModuleManager;

// IL offsets the runtime uses for native code that maps to no IL instruction;
// such entries say nothing about where a native address came from.
const uint32_t kIlOffsetNoMapping = 0xFFFFFFFFu;
const uint32_t kIlOffsetPrologue = 0xFFFFFFFEu;
const uint32_t kIlOffsetEpilogue = 0xFFFFFFFDu;
const uint32_t kIlOffsetFiller = 0xFDFDFDFDu;

// Fills a zeroed record with the code GetCodeInfo2 reports for the function,
// its tokens, module and IL map. False when there is no runtime interface, a
// query fails or the module is not registered; whatever the earlier steps
// filled stays, so the caller decides by the record's flags. Everything the
// record points to is heap memory for freeJitRecord.
bool fillJitRecord(cor::ICorProfilerInfo2* info, ModuleManager& modules, cor::FunctionID functionId,
                   plovat1::JitRecord& record);

// The same for the function's body that starts at codeStart.
bool fillJitRecordAt(cor::ICorProfilerInfo9* info, ModuleManager& modules, cor::FunctionID functionId,
                     uintptr_t codeStart, plovat1::JitRecord& record);

// The starts of all the function's bodies that have code, replacing the
// contents of starts; false when the runtime cannot say.
bool codeBodyStarts(cor::ICorProfilerInfo9* info, cor::FunctionID functionId, std::vector<uintptr_t>& starts);

// Frees what the filling allocated and clears the pointers and counts, so a
// second call does nothing.
void freeJitRecord(plovat1::JitRecord& record);

}  // namespace veskmrte_1_0
