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
