#include "clrprof/module.h"

#include "clrprof/debug_log.h"
#include "clrprof/generic_instance.h"
#include "clrprof/result.h"
#include "clrprof/signature_parser.h"
#include "clrprof/wrapper.h"
#include "clrprof/wrapper_manager.h"

#include <unordered_map>
#include <unordered_set>

namespace veskmrte_1_0 {

using namespace cor;

namespace {

const ULONG kEnumBatch = 128;
const ULONG kTypeRefBatch = 1096;

// Walks an enumeration batch by batch until it yields nothing or visit says
// stop, then closes it. Returns false when the first call failed.
template <typename Enumerate, typename Close, typename Visit>
bool enumerateTokens(ULONG batch, Enumerate enumerate, Close close, Visit visit) {
    HCORENUM handle = nullptr;
    std::vector<mdToken> tokens(batch);
    bool first = true;
    bool ok = true;
    for (;;) {
        ULONG count = 0;
        HRESULT hr = enumerate(&handle, tokens.data(), batch, &count);
        if (FAILED(hr)) {
            ok = !first;
            break;
        }
        first = false;
        if (count == 0) break;
        bool more = true;
        for (ULONG i = 0; i < count && i < batch && more; ++i) more = visit(tokens[i]);
        if (!more) break;
    }
    if (handle != nullptr) close(handle);
    return ok;
}

// A name read into a fixed buffer: only a complete read counts.
vesk::WString nameFrom(const WCHAR* buffer, ULONG capacity, ULONG length, HRESULT hr) {
    if (hr != S_OK || length == 0 || length > capacity) return vesk::WString();
    return vesk::WString(buffer, length - 1);
}

// Visits each assembly reference with its name (empty when it cannot be read
// whole) until visit answers false; false when the enumeration failed.
template <typename Visit>
bool forEachAssemblyRef(IMetaDataAssemblyImport* import, Visit visit) {
    return enumerateTokens(
        kEnumBatch, [&](HCORENUM* h, mdToken* out, ULONG cap, ULONG* n) { return import->EnumAssemblyRefs(h, out, cap, n); },
        [&](HCORENUM h) { import->CloseEnum(h); },
        [&](mdToken ref) {
            WCHAR buffer[MAX_ASSEMBLY_NAME_SIZE] = {};
            ULONG length = 0;
            HRESULT hr = import->GetAssemblyRefProps(ref, nullptr, nullptr, buffer, MAX_ASSEMBLY_NAME_SIZE, &length,
                                                     nullptr, nullptr, nullptr, nullptr);
            return visit(ref, nameFrom(buffer, MAX_ASSEMBLY_NAME_SIZE, length, hr));
        });
}

}  // namespace

Module::Module(ModuleID moduleId, uintptr_t imageBase, size_t imageSize, const WCHAR* name, IMetaDataImport* import,
               IMetaDataAssemblyImport* assemblyImport, IMetaDataEmit* emit, uint64_t loadTimestamp,
               bool isNativeImage)
    : m_import(import),
      m_assemblyImport(assemblyImport),
      m_emit(emit),
      m_name(name != nullptr ? name : VESK_W("")),
      m_moduleId(moduleId),
      m_loadTimestamp(loadTimestamp),
      m_imageBase(imageBase),
      m_imageSize(imageSize),
      m_isNativeImage(isNativeImage) {
    if (m_import != nullptr) m_import.load()->AddRef();
    if (m_assemblyImport != nullptr) m_assemblyImport.load()->AddRef();
    if (m_emit != nullptr) m_emit.load()->AddRef();
}

Module::~Module() {
    if (m_emit != nullptr) m_emit.load()->Release();
    if (m_assemblyImport != nullptr) m_assemblyImport.load()->Release();
    if (m_import != nullptr) m_import.load()->Release();
    if (m_readOnlyAssemblyImport != nullptr) m_readOnlyAssemblyImport->Release();
    if (m_readOnlyImport != nullptr) m_readOnlyImport->Release();
}

void Module::useWritableMetaData(IMetaDataImport* import, IMetaDataAssemblyImport* assemblyImport,
                                 IMetaDataEmit* emit) {
    if (import != nullptr) import->AddRef();
    if (assemblyImport != nullptr) assemblyImport->AddRef();
    if (emit != nullptr) emit->AddRef();
    pal::MutexLock hold(m_lock);
    VESK_ASSERT(m_readOnlyImport == nullptr && m_readOnlyAssemblyImport == nullptr);
    m_readOnlyImport = m_import;
    m_readOnlyAssemblyImport = m_assemblyImport;
    if (m_emit != nullptr) m_emit.load()->Release();
    m_import = import;
    m_assemblyImport = assemblyImport;
    m_emit = emit;
}

int Module::getFileVersion(FileVersion& version) {
    // Modules load on several threads at once, and each may ask for the core
    // library's version before the first answer is kept.
    pal::MutexLock hold(m_lock);
    if (!m_fileVersion.isZero()) {
        version = m_fileVersion;
        return meSuccess;
    }
    uint16_t numbers[4] = {0, 0, 0, 0};
    if (!pal::readFileVersion(m_name, numbers)) return meFailure;
    m_fileVersion.major = numbers[0];
    m_fileVersion.minor = numbers[1];
    m_fileVersion.build = numbers[2];
    m_fileVersion.revision = numbers[3];
    version = m_fileVersion;
    return meSuccess;
}

vesk::WString Module::ownAssemblyName() {
    mdAssembly self = mdTokenNil;
    if (m_assemblyImport == nullptr || m_assemblyImport.load()->GetAssemblyFromScope(&self) != S_OK) return vesk::WString();
    WCHAR buffer[MAX_ASSEMBLY_NAME_SIZE] = {};
    ULONG length = 0;
    HRESULT hr = m_assemblyImport.load()->GetAssemblyProps(self, nullptr, nullptr, nullptr, buffer, MAX_ASSEMBLY_NAME_SIZE,
                                                    &length, nullptr, nullptr);
    return nameFrom(buffer, MAX_ASSEMBLY_NAME_SIZE, length, hr);
}

mdAssemblyRef Module::findAssemblyRef(const vesk::WString& name) {
    mdAssemblyRef found = mdTokenNil;
    forEachAssemblyRef(m_assemblyImport.load(), [&](mdToken ref, const vesk::WString& refName) {
        if (refName.empty() || refName != name) return true;
        found = ref;
        return false;
    });
    return found;
}

std::vector<bool> Module::mayName(const std::vector<ClassName>& classes) {
    std::vector<bool> namable(classes.size(), false);
    IMetaDataImport* import = m_import.load();
    IMetaDataAssemblyImport* assemblyImport = m_assemblyImport.load();
    // Which classes each outer name stands for, and the assemblies asked of.
    std::unordered_map<vesk::WString, std::vector<size_t>> byName;
    std::unordered_set<vesk::WString> assemblies;
    for (size_t i = 0; i < classes.size(); ++i) {
        if (classes[i].assembly == nullptr || classes[i].className == nullptr) {
            namable[i] = true;
            continue;
        }
        const vesk::WString fullName(classes[i].className);
        byName[fullName.substr(0, fullName.find(VESK_W('+')))].push_back(i);
        assemblies.insert(classes[i].assembly);
    }
    if (import == nullptr || assemblyImport == nullptr) return std::vector<bool>(classes.size(), true);
    WCHAR buffer[MAX_CLASS_NAME_SIZE];
    // Any definition of the name, nested ones too: answering "may" too often
    // only costs a search.
    const bool defsRead = enumerateTokens(
        kEnumBatch, [&](HCORENUM* h, mdToken* out, ULONG cap, ULONG* n) { return import->EnumTypeDefs(h, out, cap, n); },
        [&](HCORENUM h) { import->CloseEnum(h); },
        [&](mdToken def) {
            ULONG length = 0;
            HRESULT hr = import->GetTypeDefProps(def, buffer, MAX_CLASS_NAME_SIZE, &length, nullptr, nullptr);
            auto named = byName.find(nameFrom(buffer, MAX_CLASS_NAME_SIZE, length, hr));
            if (named != byName.end())
                for (size_t i : named->second) namable[i] = true;
            return true;
        });
    std::map<mdToken, vesk::WString> assemblyRefs;
    const bool assemblyRefsRead = forEachAssemblyRef(assemblyImport, [&](mdToken ref, const vesk::WString& refName) {
        if (assemblies.count(refName) != 0) assemblyRefs.emplace(ref, refName);
        return true;
    });
    const bool refsRead = enumerateTokens(
        kEnumBatch, [&](HCORENUM* h, mdToken* out, ULONG cap, ULONG* n) { return import->EnumTypeRefs(h, out, cap, n); },
        [&](HCORENUM h) { import->CloseEnum(h); },
        [&](mdToken ref) {
            mdToken scope = mdTokenNil;
            ULONG length = 0;
            HRESULT hr = import->GetTypeRefProps(ref, &scope, buffer, MAX_CLASS_NAME_SIZE, &length);
            auto named = byName.find(nameFrom(buffer, MAX_CLASS_NAME_SIZE, length, hr));
            auto assembly = assemblyRefs.find(scope);
            if (named == byName.end() || assembly == assemblyRefs.end()) return true;
            for (size_t i : named->second)
                if (assembly->second == classes[i].assembly) namable[i] = true;
            return true;
        });
    if (!defsRead || !assemblyRefsRead || !refsRead) return std::vector<bool>(classes.size(), true);
    return namable;
}

int Module::findSyncApiTokens(const WCHAR* assembly, const WCHAR* className, const WCHAR* method,
                              std::vector<mdToken>& tokens, mdToken* apiType) {
    std::vector<std::vector<mdToken>> found;
    int result = findSyncApiTokens(assembly, className, std::vector<const WCHAR*>{method}, found, apiType);
    tokens = std::move(found.front());
    return result;
}

int Module::findSyncApiTokens(const WCHAR* assembly, const WCHAR* className, const std::vector<const WCHAR*>& methods,
                              std::vector<std::vector<mdToken>>& tokens, mdToken* apiType) {
    tokens.assign(methods.size(), std::vector<mdToken>());
    if (apiType != nullptr) *apiType = mdTokenNil;
    IMetaDataImport* import = m_import.load();
    if (import == nullptr || m_assemblyImport == nullptr) return meFailure;
    // A nested type is named "Outer+Inner"; metadata holds the inner name
    // with the outer type as its scope.
    const vesk::WString fullName(className);
    const size_t plus = fullName.find(VESK_W('+'));
    const vesk::WString outerName = fullName.substr(0, plus);
    const vesk::WString innerName = plus == vesk::WString::npos ? vesk::WString() : fullName.substr(plus + 1);
    // The module's own definition counts only under its own name: a module
    // defining the class answers for one surface, not for every surface
    // that names the class.
    mdTypeDef typeDef = mdTokenNil;
    bool defined = import->FindTypeDefByName(outerName.c_str(), mdTokenNil, &typeDef) == S_OK;
    if (defined && ownAssemblyName() != assembly) return meSuccess;
    if (defined && !innerName.empty()) {
        mdTypeDef outer = typeDef;
        defined = import->FindTypeDefByName(innerName.c_str(), outer, &typeDef) == S_OK;
        if (!defined) return meSuccess;
    }
    if (defined) {
        if (apiType != nullptr) *apiType = typeDef;
        for (size_t i = 0; i < methods.size(); ++i) {
            bool ok = enumerateTokens(
                kEnumBatch,
                [&](HCORENUM* h, mdToken* out, ULONG cap, ULONG* n) {
                    return import->EnumMethodsWithName(h, typeDef, methods[i], out, cap, n);
                },
                [&](HCORENUM h) { import->CloseEnum(h); },
                [&](mdToken token) {
                    tokens[i].push_back(token);
                    return true;
                });
            if (!ok) {
                tokens.assign(methods.size(), std::vector<mdToken>());
                return meFailure;
            }
        }
        return meSuccess;
    }
    mdAssemblyRef assemblyRef = findAssemblyRef(assembly);
    if (assemblyRef == mdTokenNil) return meSuccess;
    mdTypeRef typeRef = mdTokenNil;
    if (import->FindTypeRef(assemblyRef, outerName.c_str(), &typeRef) != S_OK) return meSuccess;
    if (!innerName.empty()) {
        mdTypeRef outer = typeRef;
        if (import->FindTypeRef(outer, innerName.c_str(), &typeRef) != S_OK) return meSuccess;
    }
    if (apiType != nullptr) *apiType = typeRef;
    // One pass over the type's member references serves every method: the
    // runtime finds a type's references by reading all of the module's.
    std::unordered_map<vesk::WString, std::vector<size_t>> wanted;
    for (size_t i = 0; i < methods.size(); ++i)
        if (methods[i] != nullptr && methods[i][0] != 0) wanted[methods[i]].push_back(i);
    bool nameFailed = false;
    bool ok = enumerateTokens(
        kEnumBatch,
        [&](HCORENUM* h, mdToken* out, ULONG cap, ULONG* n) { return import->EnumMemberRefs(h, typeRef, out, cap, n); },
        [&](HCORENUM h) { import->CloseEnum(h); },
        [&](mdToken ref) {
            WCHAR buffer[MAX_METHOD_NAME_SIZE] = {};
            ULONG length = 0;
            mdToken parent = mdTokenNil;
            PCCOR_SIGNATURE sig = nullptr;
            ULONG sigLength = 0;
            HRESULT hr = import->GetMemberRefProps(ref, &parent, buffer, MAX_METHOD_NAME_SIZE, &length, &sig,
                                                   &sigLength);
            if (FAILED(hr)) {
                nameFailed = true;
                return false;
            }
            // A truncated name is longer than any name we look for.
            auto named = wanted.find(nameFrom(buffer, MAX_METHOD_NAME_SIZE, length, hr));
            if (named != wanted.end())
                for (size_t i : named->second) tokens[i].push_back(ref);
            return true;
        });
    if (!ok || nameFailed) {
        tokens.assign(methods.size(), std::vector<mdToken>());
        return meFailure;
    }
    return meSuccess;
}

void Module::addSyncApiToken(Wrapper* wrapper, mdToken token) {
    pal::MutexLock hold(m_lock);
    bool res = m_syncApiTokenMap.emplace(token, wrapper).second;
    VESK_ASSERT(res);
}

mdToken Module::defineOverloadRef(Wrapper* wrapper, const signature& overload, const WrapperAssemblyIdentity& identity) {
    uint8_t blob[MAX_SIGNATURE_SIZE];
    uint32_t length = sizeof blob;
    mdToken refToken = mdTokenNil;
    if (translateSignature(overload, blob, &length) &&
        defineWrapperMemberRef(wrapper->getWrapperApiClass(), wrapper->getWrapperApiMethod(), blob, length, identity,
                               refToken) == meSuccess) {
        VESK_ASSERT(refToken != mdTokenNil);
        VESK_LOG("      defined wrapper ref token=" << refToken);
    } else {
        refToken = mdTokenNil;
    }
    pal::MutexLock hold(m_lock);
    m_wrapperRefTokenMap.emplace(overload.overloadID, refToken);
    return refToken;
}

void Module::redirectTokens(Wrapper* wrapper, const std::vector<mdToken>& tokens, mdToken apiType) {
    if (apiType != mdTokenNil && vesk::WString(wrapper->getOriginalApiClass()).find(VESK_W('`')) != vesk::WString::npos) {
        pal::MutexLock hold(m_lock);
        m_genericApiTypes[apiType].push_back(wrapper);
    }
    if (tokens.empty()) return;
    // One write: modules load on several threads, and a reader of the log
    // must not find another module's line inside the block.
    VESK_LOG("    sync api\n      assembly=" << wrapper->getOriginalApiAssembly() << "\n      class="
                                          << wrapper->getOriginalApiClass() << "\n      method="
                                          << wrapper->getOriginalApiMethod() << "\n      count of found (oveloads) tokens="
                                          << static_cast<uint32_t>(tokens.size()));
    for (mdToken token : tokens) {
        // Two wrappers never share a call target: the first keeps it.
        if (isSyncApiToken(token)) {
            VESK_LOG("      token already redirected by another wrapper=" << token);
            continue;
        }
        addSyncApiToken(wrapper, token);
    }
}

bool Module::translateSignature(const signature& sig, uint8_t* out, uint32_t* length) {
    const std::vector<uint8_t>& blob = sig.rawBlob;
    const uint32_t size = static_cast<uint32_t>(blob.size());
    // A blob that does not fit is refused like any other overload this
    // module cannot reference; a capacity it exactly fills is enough.
    if (size == 0) return false;
    const uint32_t capacity = *length;
    uint32_t written = 0;
    uint32_t read = 0;
    auto copy = [&](uint32_t from, uint32_t to) {
        if (to < from || to - from > capacity - written) return false;
        std::copy(blob.begin() + from, blob.begin() + to, out + written);
        written += to - from;
        return true;
    };
    for (const TypeTokenSlot& slot : sig.typeTokenSlots) {
        uint32_t idx = slot.offset;
        VESK_ASSERT(idx < size);
        if (!copy(read, idx)) return false;
        mdToken token = findTypeToken(slot.typeName);
        uint32_t tag;
        if (TypeFromToken(token) == mdtTypeDef)
            tag = 0;
        else if (TypeFromToken(token) == mdtTypeRef)
            tag = 1;
        else
            return false;
        if (RidFromToken(token) == 0) return false;
        uint32_t coded = (RidFromToken(token) << 2) | tag;
        uint32_t codedSize = compressedSize(coded);
        if (codedSize == 0 || codedSize > capacity - written) return false;
        writeCompressed(coded, out + written);
        written += codedSize;
        read = idx + slot.length;
        if (read > size) return false;
    }
    if (!copy(read, size)) return false;
    *length = written;
    return true;
}

mdToken Module::findTypeToken(const vesk::WString& fullName) {
    if (fullName.empty() || m_import == nullptr) return mdTokenNil;
    mdTypeDef typeDef = mdTokenNil;
    if (m_import.load()->FindTypeDefByName(fullName.c_str(), mdTokenNil, &typeDef) == S_OK && typeDef > mdtTypeDef)
        return typeDef;
    mdToken found = mdTokenNil;
    enumerateTokens(
        kTypeRefBatch,
        [&](HCORENUM* h, mdToken* out, ULONG cap, ULONG* n) { return m_import.load()->EnumTypeRefs(h, out, cap, n); },
        [&](HCORENUM h) { m_import.load()->CloseEnum(h); },
        [&](mdToken ref) {
            vesk::WString name = typeRefFullName(m_import, ref);
            if (!name.empty() && name == fullName) {
                found = ref;
                return false;
            }
            return true;
        });
    return found;
}

int Module::defineWrapperMemberRef(const WCHAR* className, const WCHAR* method, const uint8_t* blob,
                                   uint32_t length, const WrapperAssemblyIdentity& identity, mdToken& token) {
    if (m_import == nullptr || m_emit == nullptr || m_assemblyImport == nullptr) return meFailure;
    mdAssemblyRef assemblyRef = findAssemblyRef(identity.name);
    mdMemberRef memberRef = mdTokenNil;
    if (assemblyRef != mdTokenNil) {
        mdTypeRef typeRef = mdTokenNil;
        if (m_import.load()->FindTypeRef(assemblyRef, className, &typeRef) == S_OK) {
            if (m_import.load()->FindMemberRef(typeRef, method, blob, length, &memberRef) != S_OK &&
                m_emit.load()->DefineMemberRef(typeRef, method, blob, length, &memberRef) != S_OK)
                return meFailure;
        } else {
            if (m_emit.load()->DefineTypeRefByName(assemblyRef, className, &typeRef) != S_OK) return meFailure;
            if (m_emit.load()->DefineMemberRef(typeRef, method, blob, length, &memberRef) != S_OK) return meFailure;
        }
    } else {
        void* assemblyEmitRaw = nullptr;
        if (m_emit.load()->QueryInterface(IID_IMetaDataAssemblyEmit, &assemblyEmitRaw) != S_OK || assemblyEmitRaw == nullptr)
            return meFailure;
        IMetaDataAssemblyEmit* assemblyEmit = static_cast<IMetaDataAssemblyEmit*>(assemblyEmitRaw);
        ASSEMBLYMETADATA metadata = {};
        metadata.usMajorVersion = identity.version[0];
        metadata.usMinorVersion = identity.version[1];
        metadata.usBuildNumber = identity.version[2];
        metadata.usRevisionNumber = identity.version[3];
        mdAssemblyRef newRef = mdTokenNil;
        mdTypeRef typeRef = mdTokenNil;
        bool ok = assemblyEmit->DefineAssemblyRef(identity.publicKeyToken.data(),
                                                  static_cast<ULONG>(identity.publicKeyToken.size()),
                                                  identity.name.c_str(), &metadata, nullptr, 0, 0, &newRef) == S_OK &&
                  m_emit.load()->DefineTypeRefByName(newRef, className, &typeRef) == S_OK &&
                  m_emit.load()->DefineMemberRef(typeRef, method, blob, length, &memberRef) == S_OK;
        assemblyEmit->Release();
        if (!ok) return meFailure;
    }
    token = memberRef;
    return meSuccess;
}

int Module::getTokenSignature(mdToken token, uint8_t* buffer, uint32_t* length) {
    if (m_import == nullptr) return meFailure;
    PCCOR_SIGNATURE sig = nullptr;
    ULONG sigLength = 0;
    HRESULT hr;
    if (TypeFromToken(token) == mdtMethodDef) {
        hr = m_import.load()->GetMemberProps(token, nullptr, nullptr, 0, nullptr, nullptr, &sig, &sigLength, nullptr,
                                      nullptr, nullptr, nullptr, nullptr);
    } else {
        hr = m_import.load()->GetMemberRefProps(token, nullptr, nullptr, 0, nullptr, &sig, &sigLength);
    }
    if (hr != S_OK || sig == nullptr || sigLength > *length) return meFailure;
    std::copy(sig, sig + sigLength, buffer);
    *length = sigLength;
    return meSuccess;
}

bool Module::compareSignatures(const signature* target, const signature* wrapper, bool isConstructor) {
    return veskmrte_1_0::compareSignatures(m_import, target, wrapper, isConstructor);
}

bool Module::hasSyncApiTokens() {
    pal::MutexLock hold(m_lock);
    return !m_syncApiTokenMap.empty() || !m_genericApiTypes.empty();
}

bool Module::isSyncApiToken(mdToken token) {
    ApiCall call;
    return resolveCall(token, call);
}

bool Module::mayCallApi(const uint8_t* body, size_t size) {
    const uint8_t kCall = 0x28, kCallvirt = 0x6F, kNewobj = 0x73;
    pal::MutexLock hold(m_lock);
    for (size_t at = 0; at + 5 <= size; ++at) {
        if (body[at] != kCall && body[at] != kCallvirt && body[at] != kNewobj) continue;
        const mdToken target = static_cast<mdToken>(body[at + 1]) | static_cast<mdToken>(body[at + 2]) << 8 |
                               static_cast<mdToken>(body[at + 3]) << 16 | static_cast<mdToken>(body[at + 4]) << 24;
        switch (TypeFromToken(target)) {
            case mdtMethodSpec:
                if (m_otherInstantiations.count(target) == 0) return true;
                break;
            case mdtMemberRef:
            case mdtMethodDef: {
                if (m_syncApiTokenMap.count(target) != 0) return true;
                // Only a member reference can name a member of a generic
                // API class's instance.
                if (TypeFromToken(target) == mdtMethodDef || m_genericApiTypes.empty()) break;
                auto known = m_instanceMembers.find(target);
                if (known == m_instanceMembers.end() || known->second.wrapper != nullptr) return true;
                break;
            }
            default:
                break;
        }
    }
    return false;
}

Wrapper* Module::instanceMemberApi(mdToken member, mdToken& typeSpec) {
    typeSpec = mdTokenNil;
    {
        pal::MutexLock hold(m_lock);
        if (m_genericApiTypes.empty()) return nullptr;
        auto known = m_instanceMembers.find(member);
        if (known != m_instanceMembers.end()) {
            typeSpec = known->second.typeSpec;
            return known->second.wrapper;
        }
    }
    IMetaDataImport* import = m_import;
    WCHAR buffer[MAX_METHOD_NAME_SIZE] = {};
    ULONG length = 0;
    mdToken parent = mdTokenNil;
    PCCOR_SIGNATURE blob = nullptr;
    ULONG blobLength = 0;
    TypeArguments type;
    vesk::WString name;
    if (import != nullptr && TypeFromToken(member) == mdtMemberRef) {
        HRESULT hr = import->GetMemberRefProps(member, &parent, buffer, MAX_METHOD_NAME_SIZE, &length, nullptr, nullptr);
        name = nameFrom(buffer, MAX_METHOD_NAME_SIZE, length, hr);
    }
    if (TypeFromToken(parent) == mdtTypeSpec && !name.empty() &&
        import->GetTypeSpecFromToken(parent, &blob, &blobLength) == S_OK && readTypeInstance(blob, blobLength, type)) {
        typeSpec = parent;
    }
    Wrapper* wrapper = nullptr;
    pal::MutexLock hold(m_lock);
    auto apis = typeSpec != mdTokenNil ? m_genericApiTypes.find(type.genericType) : m_genericApiTypes.end();
    if (apis != m_genericApiTypes.end()) {
        for (Wrapper* candidate : apis->second) {
            if (name == candidate->getOriginalApiMethod()) wrapper = candidate;
        }
    }
    if (wrapper == nullptr) typeSpec = mdTokenNil;
    m_instanceMembers.emplace(member, InstanceMember{typeSpec, wrapper});
    return wrapper;
}

bool Module::resolveCall(mdToken target, ApiCall& call) {
    call = ApiCall();
    call.member = target;
    if (TypeFromToken(target) == mdtMethodSpec) {
        {
            pal::MutexLock hold(m_lock);
            if (m_otherInstantiations.count(target) != 0) return false;
        }
        IMetaDataImport* import = m_import;
        void* raw = nullptr;
        if (import == nullptr || import->QueryInterface(IID_IMetaDataImport2, &raw) != S_OK || raw == nullptr)
            return false;
        IMetaDataImport2* import2 = static_cast<IMetaDataImport2*>(raw);
        PCCOR_SIGNATURE blob = nullptr;
        HRESULT hr = import2->GetMethodSpecProps(target, &call.member, &blob, &call.methodInstanceLength);
        import2->Release();
        if (hr != S_OK || blob == nullptr) return false;
        call.methodInstance = blob;
    }
    {
        pal::MutexLock hold(m_lock);
        auto api = m_syncApiTokenMap.find(call.member);
        if (api != m_syncApiTokenMap.end()) call.wrapper = api->second;
    }
    if (call.wrapper == nullptr) call.wrapper = instanceMemberApi(call.member, call.typeSpec);
    if (call.wrapper == nullptr && call.methodInstance != nullptr) {
        // Most instantiations a module calls are of other generic methods;
        // each is looked at once.
        pal::MutexLock hold(m_lock);
        m_otherInstantiations.insert(target);
    }
    return call.wrapper != nullptr;
}

uint32_t Module::fitOverload(mdToken member, Wrapper* wrapper, uint32_t classArity) {
    {
        pal::MutexLock hold(m_lock);
        auto cached = m_overloadIdMap.find(member);
        if (cached != m_overloadIdMap.end()) return cached->second;
    }
    // A call site that fits no wrapper overload is left as it is: stopping
    // the program over an API overload without a wrapper would disturb it.
    bool isConstructor = vesk::WString(wrapper->getOriginalApiMethod()) == VESK_W(".ctor");
    uint8_t blob[MAX_SIGNATURE_SIZE];
    uint32_t length = sizeof blob;
    if (getTokenSignature(member, blob, &length) != meSuccess) {
        VESK_LOG("VESKMRTE_ASSERT" << "Can't get signature");
        return 0;
    }
    signature parsed;
    SignatureParser parser(m_import);
    if (!parser.parse(blob, length, parsed)) {
        VESK_LOG("VESKMRTE_ASSERT" << "Can't parse signature");
        return 0;
    }
    uint32_t overloadID = 0;
    IteratorHolder<signature*> overloads(wrapper->getSignatures());
    for (overloads->reset(); !overloads->atEnd() && overloadID == 0; overloads->next()) {
        if (veskmrte_1_0::compareSignatures(m_import, &parsed, overloads->current(), isConstructor, classArity))
            overloadID = overloads->current()->overloadID;
    }
    if (overloadID == 0) {
        VESK_LOG("VESKMRTE_ASSERT" << "Can't find overloaded .NET API");
        return 0;
    }
    pal::MutexLock hold(m_lock);
    m_overloadIdMap.emplace(member, overloadID);
    return overloadID;
}

mdToken Module::wrapperRefFor(mdToken target, const WrapperAssemblyIdentity& identity,
                              const std::function<bool()>& openForWriting) {
    {
        pal::MutexLock hold(m_lock);
        auto instance = m_instantiations.find(target);
        if (instance != m_instantiations.end()) return instance->second;
    }
    ApiCall call;
    if (!resolveCall(target, call)) return mdTokenNil;
    TypeArguments type;
    if (call.typeSpec != mdTokenNil) {
        PCCOR_SIGNATURE blob = nullptr;
        ULONG length = 0;
        if (m_import.load()->GetTypeSpecFromToken(call.typeSpec, &blob, &length) != S_OK ||
            !readTypeInstance(blob, length, type))
            return mdTokenNil;
    }
    const uint32_t overloadID = fitOverload(call.member, call.wrapper, type.count);
    if (overloadID == 0) return mdTokenNil;
    const bool generic = call.typeSpec != mdTokenNil || call.methodInstance != nullptr;
    auto defined = [&](mdToken& ref) {
        pal::MutexLock hold(m_lock);
        auto found = m_wrapperRefTokenMap.find(overloadID);
        if (found == m_wrapperRefTokenMap.end()) return false;
        ref = found->second;
        if (!generic || ref == mdTokenNil) return true;
        auto instance = m_instantiations.find(target);
        if (instance == m_instantiations.end()) return false;
        ref = instance->second;
        return true;
    };
    mdToken ref = mdTokenNil;
    if (defined(ref)) return ref;
    // One thread opens and defines; the others find its reference.
    pal::MutexLock define(m_defineLock);
    if (defined(ref) || m_writeRefused) return ref;
    if (m_emit.load() == nullptr && !openForWriting()) {
        m_writeRefused = true;
        return mdTokenNil;
    }
    bool referenced = false;
    {
        pal::MutexLock hold(m_lock);
        auto found = m_wrapperRefTokenMap.find(overloadID);
        referenced = found != m_wrapperRefTokenMap.end();
        if (referenced) ref = found->second;
    }
    IteratorHolder<signature*> overloads(call.wrapper->getSignatures());
    for (overloads->reset(); !referenced && !overloads->atEnd(); overloads->next()) {
        if (overloads->current()->overloadID != overloadID) continue;
        ref = defineOverloadRef(call.wrapper, *overloads->current(), identity);
        referenced = true;
    }
    if (!generic || ref == mdTokenNil) return ref;
    return wrapperInstantiation(target, ref, call, type);
}

mdToken Module::wrapperInstantiation(mdToken target, mdToken wrapperRef, const ApiCall& call,
                                     const TypeArguments& type) {
    TypeArguments method;
    mdToken instance = mdTokenNil;
    const bool readable = call.methodInstance == nullptr ||
                          readMethodInstance(call.methodInstance, call.methodInstanceLength, method);
    const std::vector<uint8_t> blob = readable ? veskmrte_1_0::wrapperInstantiation(type, method) : std::vector<uint8_t>();
    void* raw = nullptr;
    if (!blob.empty() && m_emit.load()->QueryInterface(IID_IMetaDataEmit2, &raw) == S_OK && raw != nullptr) {
        IMetaDataEmit2* emit2 = static_cast<IMetaDataEmit2*>(raw);
        if (emit2->DefineMethodSpec(wrapperRef, blob.data(), static_cast<ULONG>(blob.size()), &instance) != S_OK)
            instance = mdTokenNil;
        emit2->Release();
    }
    if (instance != mdTokenNil) {
        VESK_LOG("      defined wrapper ref token=" << instance);
    } else {
        VESK_LOG("VESKMRTE_ASSERT" << "Can't instantiate the wrapper for " << target);
    }
    pal::MutexLock hold(m_lock);
    m_instantiations.emplace(target, instance);
    return instance;
}

}  // namespace veskmrte_1_0
