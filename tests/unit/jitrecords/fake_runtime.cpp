#include "fake_runtime.h"

#include <algorithm>

namespace jitrecords_test {

namespace {

// Copies what fits and reports how many there are, as the runtime's queries
// do.
template <typename T>
HRESULT answer(const std::vector<T>& items, ULONG32 capacity, ULONG32* count, T out[]) {
    if (count == nullptr || (capacity != 0 && out == nullptr)) return E_INVALIDARG;
    *count = static_cast<ULONG32>(items.size());
    std::copy_n(items.begin(), std::min<size_t>(capacity, items.size()), out);
    return S_OK;
}

// A query that cannot take every entry only learns how many there are.
bool failsNow(unsigned failing, unsigned countCall, unsigned fetchCall, ULONG32 capacity, size_t entries) {
    return (failing & (capacity < entries ? countCall : fetchCall)) != 0;
}

}  // namespace

HRESULT FakeRuntime::QueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_ICorProfilerInfo || riid == IID_ICorProfilerInfo2 ||
        (answersInfo9 && riid == IID_ICorProfilerInfo9)) {
        *ppv = static_cast<ICorProfilerInfo9*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeRuntime::GetCodeInfo2(FunctionID id, ULONG32 capacity, ULONG32* count, COR_PRF_CODE_INFO out[]) {
    ++codeInfoCalls;
    auto found = functions.find(id);
    if (found == functions.end() || found->second.bodies.empty()) return E_INVALIDARG;
    const auto& blocks = found->second.bodies.front().blocks;
    if (failsNow(failing, kCodeInfoCount, kCodeInfoFetch, capacity, blocks.size())) return E_FAIL;
    return answer(blocks, capacity, count, out);
}

HRESULT FakeRuntime::GetILToNativeMapping(FunctionID id, ULONG32 capacity, ULONG32* count,
                                          COR_DEBUG_IL_TO_NATIVE_MAP out[]) {
    ++ilMapCalls;
    auto found = functions.find(id);
    if (found == functions.end() || found->second.bodies.empty()) return E_INVALIDARG;
    const auto& map = found->second.bodies.front().ilMap;
    if (failsNow(failing, kIlMapCount, kIlMapFetch, capacity, map.size())) return E_FAIL;
    return answer(map, capacity, count, out);
}

HRESULT FakeRuntime::GetFunctionInfo(FunctionID id, ClassID* classId, ModuleID* moduleId, mdToken* token) {
    ++functionInfoCalls;
    auto found = functions.find(id);
    if ((failing & kFunctionInfo) != 0 || found == functions.end()) return E_FAIL;
    *classId = found->second.classId;
    *moduleId = found->second.moduleId;
    *token = found->second.token;
    return S_OK;
}

HRESULT FakeRuntime::GetClassIDInfo(ClassID classId, ModuleID* moduleId, mdTypeDef* typeDef) {
    ++classInfoCalls;
    if ((failing & kClassInfo) != 0) return E_FAIL;
    for (const auto& entry : functions) {
        if (entry.second.classId != classId) continue;
        if (moduleId != nullptr) *moduleId = entry.second.moduleId;
        if (typeDef != nullptr) *typeDef = entry.second.typeDef;
        return S_OK;
    }
    return E_INVALIDARG;
}

HRESULT FakeRuntime::GetFunctionFromIP(LPCBYTE ip, FunctionID* function) {
    ++functionFromIpCalls;
    auto found = functionAtIp.find(reinterpret_cast<uintptr_t>(ip));
    if (found == functionAtIp.end()) return E_FAIL;
    *function = found->second;
    return S_OK;
}

HRESULT FakeRuntime::GetNativeCodeStartAddresses(FunctionID id, ReJITID reJitId, ULONG32 capacity, ULONG32* count,
                                                 UINT_PTR out[]) {
    ++bodyStartsCalls;
    if (onBodyStarts) onBodyStarts();
    if ((failing & kBodyStarts) != 0 || reJitId != 0) return E_FAIL;
    auto found = functions.find(id);
    if (found == functions.end()) return E_INVALIDARG;
    std::vector<UINT_PTR> starts;
    for (const FakeBody& body : found->second.bodies)
        if (!body.blocks.empty()) starts.push_back(body.blocks.front().startAddress);
    return answer(starts, capacity, count, out);
}

const FakeBody* FakeRuntime::bodyAt(uintptr_t start) const {
    for (const auto& entry : functions)
        for (const FakeBody& body : entry.second.bodies)
            if (!body.blocks.empty() && body.blocks.front().startAddress == start) return &body;
    return nullptr;
}

HRESULT FakeRuntime::GetCodeInfo4(UINT_PTR start, ULONG32 capacity, ULONG32* count, COR_PRF_CODE_INFO out[]) {
    ++codeInfoCalls;
    const FakeBody* body = bodyAt(start);
    if (body == nullptr) return E_INVALIDARG;
    if (failsNow(failing, kCodeInfoCount, kCodeInfoFetch, capacity, body->blocks.size())) return E_FAIL;
    return answer(body->blocks, capacity, count, out);
}

HRESULT FakeRuntime::GetILToNativeMapping3(UINT_PTR start, ULONG32 capacity, ULONG32* count,
                                           COR_DEBUG_IL_TO_NATIVE_MAP out[]) {
    ++ilMapCalls;
    const FakeBody* body = bodyAt(start);
    if (body == nullptr) return E_INVALIDARG;
    if (failsNow(failing, kIlMapCount, kIlMapFetch, capacity, body->ilMap.size())) return E_FAIL;
    return answer(body->ilMap, capacity, count, out);
}

CodeArena::CodeArena(size_t size) : m_bytes(size) {
    for (size_t i = 0; i < size; ++i) m_bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
}

COR_PRF_CODE_INFO CodeArena::block(size_t offset, size_t size) const {
    COR_PRF_CODE_INFO info;
    info.startAddress = address(offset);
    info.size = size;
    return info;
}

}  // namespace jitrecords_test
