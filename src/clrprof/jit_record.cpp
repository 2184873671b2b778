#include "clrprof/jit_record.h"

#include "clrprof/debug_log.h"
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/string_conversion.h"

#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace veskmrte_1_0 {

using namespace cor;
using plovat1::IlMapEntry;
using plovat1::JitCodeRange;
using plovat1::JitRecord;

namespace {

// Where one body's code blocks and IL map come from: the queries for the
// function's first body, or those for the body at a given start.
class BodyQueries {
public:
    virtual HRESULT codeInfo(ULONG32 capacity, ULONG32* count, COR_PRF_CODE_INFO blocks[]) = 0;
    virtual HRESULT ilMap(ULONG32 capacity, ULONG32* count, COR_DEBUG_IL_TO_NATIVE_MAP entries[]) = 0;

protected:
    ~BodyQueries() = default;
};

class FirstBody final : public BodyQueries {
public:
    FirstBody(ICorProfilerInfo2* info, FunctionID functionId) : m_info(info), m_function(functionId) {}
    HRESULT codeInfo(ULONG32 capacity, ULONG32* count, COR_PRF_CODE_INFO blocks[]) override {
        return m_info->GetCodeInfo2(m_function, capacity, count, blocks);
    }
    HRESULT ilMap(ULONG32 capacity, ULONG32* count, COR_DEBUG_IL_TO_NATIVE_MAP entries[]) override {
        return m_info->GetILToNativeMapping(m_function, capacity, count, entries);
    }

private:
    ICorProfilerInfo2* m_info;
    FunctionID m_function;
};

class BodyAt final : public BodyQueries {
public:
    BodyAt(ICorProfilerInfo9* info, uintptr_t start) : m_info(info), m_start(start) {}
    HRESULT codeInfo(ULONG32 capacity, ULONG32* count, COR_PRF_CODE_INFO blocks[]) override {
        return m_info->GetCodeInfo4(m_start, capacity, count, blocks);
    }
    HRESULT ilMap(ULONG32 capacity, ULONG32* count, COR_DEBUG_IL_TO_NATIVE_MAP entries[]) override {
        return m_info->GetILToNativeMapping3(m_start, capacity, count, entries);
    }

private:
    ICorProfilerInfo9* m_info;
    uintptr_t m_start;
};

// Runs inside runtime callbacks: an allocation failure must come back as a
// failed step, never as an exception thrown into the runtime.
template <typename T>
T* allocateZeroed(size_t count) {
    T* block = new (std::nothrow) T[count];
    if (block != nullptr) std::memset(static_cast<void*>(block), 0, sizeof(T) * count);
    return block;
}

bool fillCodeRanges(BodyQueries& body, JitRecord& record) {
    ULONG32 count = 0;
    if (FAILED(body.codeInfo(0, &count, nullptr))) return false;
    std::vector<COR_PRF_CODE_INFO> blocks(count);
    ULONG32 fetched = 0;
    if (FAILED(body.codeInfo(count, &fetched, blocks.data()))) return false;
    // The code cannot change between the two calls, but a shorter answer
    // must never leave entries that were not filled in.
    if (fetched < count) count = fetched;

    JitCodeRange* ranges = nullptr;
    if (count != 0) {
        ranges = allocateZeroed<JitCodeRange>(count);
        if (ranges == nullptr) return false;
    }
    record.codeRangeCount = count;
    record.codeRanges = ranges;
    for (ULONG32 i = 0; i < count; ++i) {
        ranges[i].start = blocks[i].startAddress;
        ranges[i].size = static_cast<uint32_t>(blocks[i].size);
        if (ranges[i].size == 0) continue;
        uint8_t* copy = allocateZeroed<uint8_t>(ranges[i].size);
        if (copy == nullptr) return false;
        std::memcpy(copy, reinterpret_cast<const void*>(blocks[i].startAddress), ranges[i].size);
        ranges[i].code = copy;
        ranges[i].copiedSize = ranges[i].size;
    }
    record.flags |= plovat1::kCodeRangesPresent;
    return true;
}

bool fillMethod(ICorProfilerInfo2* info, FunctionID functionId, JitRecord& record) {
    ClassID classId = 0;
    ModuleID moduleId = 0;
    mdToken token = 0;
    if (FAILED(info->GetFunctionInfo(functionId, &classId, &moduleId, &token))) return false;
    if (classId != 0) {
        record.classId = classId;
        record.flags |= plovat1::kClassKnown;
    }
    if (moduleId != 0) {
        record.moduleId = moduleId;
        record.flags |= plovat1::kModuleKnown;
    }
    record.methodToken = token;
    if (classId == 0) return true;
    mdTypeDef typeDef = 0;
    if (FAILED(info->GetClassIDInfo(classId, nullptr, &typeDef))) return false;
    record.classToken = typeDef;
    return true;
}

bool isSpecialIlOffset(uint32_t offset) {
    return offset == kIlOffsetNoMapping || offset == kIlOffsetPrologue || offset == kIlOffsetEpilogue ||
           offset == kIlOffsetFiller;
}

// A failing query leaves the map out; it is no reason to drop the record.
void fillIlMap(BodyQueries& body, JitRecord& record) {
    ULONG32 count = 0;
    if (FAILED(body.ilMap(0, &count, nullptr))) return;
    std::vector<COR_DEBUG_IL_TO_NATIVE_MAP> entries(count);
    if (count != 0) {
        ULONG32 fetched = 0;
        if (FAILED(body.ilMap(count, &fetched, entries.data()))) return;
        if (fetched < count) entries.resize(fetched);
    }
    uint32_t kept = 0;
    for (const COR_DEBUG_IL_TO_NATIVE_MAP& entry : entries)
        if (!isSpecialIlOffset(entry.ilOffset)) ++kept;
    IlMapEntry* map = nullptr;
    if (kept != 0) {
        map = allocateZeroed<IlMapEntry>(kept);
        if (map == nullptr) return;
        uint32_t next = 0;
        for (const COR_DEBUG_IL_TO_NATIVE_MAP& entry : entries) {
            if (isSpecialIlOffset(entry.ilOffset)) continue;
            map[next++] = IlMapEntry{entry.nativeStartOffset, entry.nativeEndOffset, entry.ilOffset};
        }
    }
    record.ilMap = map;
    record.ilMapCount = kept;
    record.flags |= plovat1::kIlMapPresent;
}

// The module's file name in UTF-8, in a buffer sized for exactly that text
// and its terminator; null when it cannot be converted.
char* utf8ModuleName(const vesk::WChar* name) {
    size_t needed = vesk::utf8Length(name, vesk::wideLength(name) + 1);
    if (needed == 0 || needed > static_cast<size_t>(std::numeric_limits<int>::max())) return nullptr;
    char* buffer = allocateZeroed<char>(needed);
    if (buffer == nullptr) return nullptr;
    int size = static_cast<int>(needed);
    if (wideToUtf8(name, -1, buffer, &size) == nullptr || size < 1) {
        delete[] buffer;
        return nullptr;
    }
    return buffer;
}

bool fillModule(ModuleManager& modules, JitRecord& record) {
    Module* module = modules.findModule(static_cast<ModuleID>(record.moduleId));
    if (module == nullptr) return false;
    record.flags |= plovat1::kModuleKnown;
    record.registeredModuleId = record.moduleId;
    const vesk::WChar* moduleFileName = module->getName();
    VESK_ASSERT(moduleFileName);
    char* name = utf8ModuleName(moduleFileName);
    if (name != nullptr) {
        record.moduleFileName = name;
        record.flags |= plovat1::kModuleFileNamePresent;
    }
    return true;
}

bool fillBody(BodyQueries& body, ICorProfilerInfo2* info, ModuleManager& modules, FunctionID functionId,
              JitRecord& record) {
    if (!fillCodeRanges(body, record)) return false;
    if (!fillMethod(info, functionId, record)) return false;
    fillIlMap(body, record);
    if (!fillModule(modules, record)) return false;
    record.zero88 = 0;
    return true;
}

}  // namespace

bool fillJitRecord(ICorProfilerInfo2* info, ModuleManager& modules, FunctionID functionId, JitRecord& record) {
    if (info == nullptr) return false;
    FirstBody body(info, functionId);
    return fillBody(body, info, modules, functionId, record);
}

bool fillJitRecordAt(ICorProfilerInfo9* info, ModuleManager& modules, FunctionID functionId, uintptr_t codeStart,
                     JitRecord& record) {
    if (info == nullptr) return false;
    BodyAt body(info, codeStart);
    return fillBody(body, info, modules, functionId, record);
}

bool codeBodyStarts(ICorProfilerInfo9* info, FunctionID functionId, std::vector<uintptr_t>& starts) {
    // Most functions have one to four bodies: one query usually does.
    starts.resize(8);
    ULONG32 count = 0;
    HRESULT hr = info->GetNativeCodeStartAddresses(functionId, 0, static_cast<ULONG32>(starts.size()), &count,
                                                   starts.data());
    if (SUCCEEDED(hr) && count > starts.size()) {
        starts.resize(count);
        hr = info->GetNativeCodeStartAddresses(functionId, 0, count, &count, starts.data());
    }
    if (FAILED(hr)) {
        starts.clear();
        return false;
    }
    if (count < starts.size()) starts.resize(count);
    return true;
}

void freeJitRecord(JitRecord& record) {
    if (record.codeRanges != nullptr) {
        for (uint32_t i = 0; i < record.codeRangeCount; ++i) delete[] record.codeRanges[i].code;
        delete[] record.codeRanges;
    }
    record.codeRanges = nullptr;
    record.codeRangeCount = 0;
    delete[] record.ilMap;
    record.ilMap = nullptr;
    record.ilMapCount = 0;
    delete[] record.moduleFileName;
    record.moduleFileName = nullptr;
}

}  // namespace veskmrte_1_0
