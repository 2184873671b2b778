#include "cie/engine_method.h"
#include "cie/body_decoder.h"
#include "cie/body_encoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tavoli {
namespace cie {

using namespace cor;

EngineMethod* EngineMethod::create(const MethodIdentity& identity, const uint8_t* header, size_t size) {
    EngineMethod* method = new (std::nothrow) EngineMethod(identity);
    if (method == nullptr) return nullptr;
    try {
        if (decodeBody(header, size, method->m_body) != DecodeStatus::Ok) {
            method->release();
            return nullptr;
        }
        const size_t count = method->m_body.instructions.size();
        method->m_instructions.reserve(count);
        for (size_t i = 0; i < count; ++i) method->m_instructions.emplace_back(method, i);
        method->m_installed = method->m_body.original;
        method->m_iterators.reserve(1);
        method->m_spareIterator = new InstructionIterator(method);
    } catch (const std::bad_alloc&) {
        method->release();
        return nullptr;
    }
    return method;
}

EngineMethod::~EngineMethod() {
    for (InstructionIterator* iterator : m_iterators) delete iterator;
    delete m_spareIterator;
    if (m_metadata != nullptr) m_metadata->Release();
}

void EngineMethod::release() { delete this; }

IInstructionIterator* EngineMethod::getInstructions(uint32_t) {
    InstructionIterator* iterator = m_spareIterator;
    try {
        if (iterator == nullptr) iterator = new InstructionIterator(this);
        m_iterators.push_back(iterator);
    } catch (const std::bad_alloc&) {
        if (iterator != m_spareIterator) delete iterator;
        return nullptr;
    }
    if (iterator == m_spareIterator) m_spareIterator = nullptr;
    return iterator;
}

void EngineMethod::forgetIterator(InstructionIterator* iterator) {
    auto it = std::find(m_iterators.begin(), m_iterators.end(), iterator);
    if (it != m_iterators.end()) m_iterators.erase(it);
}

uint32_t EngineMethod::instructionCount() { return static_cast<uint32_t>(m_instructions.size()); }

uintptr_t EngineMethod::functionId() { return m_identity.functionId; }

MrteResult EngineMethod::apply() {
    std::vector<uint8_t> encoded;
    try {
        if (encodeBody(m_body, encoded) != EncodeStatus::Ok) return MRTE_ERROR_UNABLE_TO_INSTRUMENT;
    } catch (const std::bad_alloc&) {
        return MRTE_ERROR_UNABLE_TO_INSTRUMENT;
    }
    if (encoded == m_installed) return MRTE_RESULT_OK;
    const MrteResult result = install(encoded);
    if (result == MRTE_RESULT_OK) m_installed.swap(encoded);
    return result;
}

namespace {

// TAVOLI_CIE_REFUSE_INSTALL makes every install fail as a refusing runtime
// would, so that a host's handling of that answer can be tried on real
// programs.
bool installsRefused() {
    static const bool refused = std::getenv("TAVOLI_CIE_REFUSE_INSTALL") != nullptr;
    return refused;
}

}  // namespace

MrteResult EngineMethod::install(const std::vector<uint8_t>& bytes) {
    if (bytes.size() > UINT32_MAX || installsRefused()) return MRTE_ERROR_UNABLE_TO_INSTRUMENT;
    IMethodMalloc* allocator = nullptr;
    HRESULT hr = m_identity.info->GetILFunctionBodyAllocator(m_identity.moduleId, &allocator);
    if (FAILED(hr) || allocator == nullptr) return MRTE_ERROR_UNABLE_TO_INSTRUMENT;
    // The runtime owns the memory from here on, installed or not.
    void* memory = allocator->Alloc(static_cast<ULONG>(bytes.size()));
    bool installed = false;
    const bool fatHeader = (bytes[0] & 0x3) == 0x3;
    // A fat header and the sections after the code sit on 4-byte boundaries.
    if (memory != nullptr && (!fatHeader || (reinterpret_cast<uintptr_t>(memory) & 3) == 0)) {
        std::memcpy(memory, bytes.data(), bytes.size());
        hr = m_identity.info->SetILFunctionBody(m_identity.moduleId, m_identity.token, static_cast<LPCBYTE>(memory));
        installed = SUCCEEDED(hr);
    }
    allocator->Release();
    return installed ? MRTE_RESULT_OK : MRTE_ERROR_UNABLE_TO_INSTRUMENT;
}

IMetaDataImport* EngineMethod::metadata() {
    if (!m_metadataOpened) {
        m_metadataOpened = true;
        IUnknown* unknown = nullptr;
        const HRESULT hr =
            m_identity.info->GetModuleMetaData(m_identity.moduleId, ofRead, IID_IMetaDataImport, &unknown);
        if (SUCCEEDED(hr) && unknown != nullptr)
            m_metadata = static_cast<IMetaDataImport*>(unknown);
        else if (unknown != nullptr)
            unknown->Release();
    }
    return m_metadata;
}

namespace {

const mdToken kMethodDefTable = 0x06000000;
const mdToken kMemberRefTable = 0x0A000000;

// `reported` counts the terminator, as the metadata answers name lengths.
uint32_t finishName(WCHAR* buffer, uint32_t capacity, HRESULT hr, ULONG reported) {
    const uint32_t length = SUCCEEDED(hr) && reported > 0 ? reported - 1 : 0;
    if (buffer != nullptr && capacity > 0) buffer[std::min(length, capacity - 1)] = 0;
    return length;
}

bool equalsName(const WCHAR* name, ULONG reported, const char* expected) {
    const size_t length = std::strlen(expected);
    if (reported != length + 1) return false;
    for (size_t i = 0; i < length; ++i)
        if (name[i] != static_cast<WCHAR>(expected[i])) return false;
    return true;
}

}  // namespace

MrteResult EngineMethod::getMethodInfo(EngineMethodInfo* info) {
    if (info == nullptr) return MRTE_ERROR_FAIL;
    info->moduleId = m_identity.moduleId;
    info->methodToken = m_identity.token;
    info->ilSize = m_body.codeSize;
    info->maxStack = m_body.maxStack;
    info->classToken = 0;
    info->signatureLength = 0;
    WCHAR* methodName = info->methodNameCapacity > 0 ? info->methodName : nullptr;
    WCHAR* className = info->classNameCapacity > 0 ? info->className : nullptr;
    const uint32_t methodCapacity = methodName != nullptr ? info->methodNameCapacity : 0;
    const uint32_t classCapacity = className != nullptr ? info->classNameCapacity : 0;

    IMetaDataImport* import = metadata();
    HRESULT hr = E_FAIL;
    ULONG reported = 0;
    mdTypeDef classToken = 0;
    PCCOR_SIGNATURE signature = nullptr;
    ULONG signatureLength = 0;
    if (import != nullptr) {
        DWORD attributes = 0, implFlags = 0;
        ULONG rva = 0;
        hr = import->GetMethodProps(m_identity.token, &classToken, methodName, methodCapacity, &reported, &attributes,
                                    &signature, &signatureLength, &rva, &implFlags);
    }
    info->methodNameLength = finishName(methodName, methodCapacity, hr, reported);
    if (SUCCEEDED(hr)) {
        info->classToken = classToken;
        if (signature != nullptr) {
            info->signatureLength = signatureLength;
            if (info->signature != nullptr)
                std::memcpy(info->signature, signature, std::min(signatureLength, info->signatureCapacity));
        }
        DWORD typeFlags = 0;
        mdToken extends = 0;
        reported = 0;
        hr = import->GetTypeDefProps(classToken, className, classCapacity, &reported, &typeFlags, &extends);
    }
    info->classNameLength = finishName(className, classCapacity, hr, reported);
    return MRTE_RESULT_OK;
}

bool EngineMethod::namesNonConstructor(uint32_t token) {
    IMetaDataImport* import = metadata();
    if (import == nullptr) return false;
    // Long enough for ".cctor" and its terminator; a longer name is
    // truncated and still not a constructor's.
    WCHAR name[8] = {};
    ULONG reported = 0;
    HRESULT hr = E_FAIL;
    const mdToken table = token & 0xFF000000u;
    if (table == kMethodDefTable) {
        mdTypeDef owner = 0;
        DWORD attributes = 0, implFlags = 0;
        PCCOR_SIGNATURE signature = nullptr;
        ULONG signatureLength = 0, rva = 0;
        hr = import->GetMethodProps(token, &owner, name, 8, &reported, &attributes, &signature, &signatureLength, &rva,
                                    &implFlags);
    } else if (table == kMemberRefTable) {
        mdToken parent = 0;
        PCCOR_SIGNATURE signature = nullptr;
        ULONG signatureLength = 0;
        hr = import->GetMemberRefProps(token, &parent, name, 8, &reported, &signature, &signatureLength);
    }
    if (FAILED(hr)) return false;
    return !equalsName(name, reported, ".ctor") && !equalsName(name, reported, ".cctor");
}

}  // namespace cie
}  // namespace tavoli
