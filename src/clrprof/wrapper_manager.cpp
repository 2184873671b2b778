#include "clrprof/wrapper_manager.h"

#include "clrprof/attribute_blob.h"
#include "clrprof/runtime_version.h"
#include "clrprof/debug_log.h"
#include "pal/pal.h"

#include <algorithm>

namespace veskmrte_1_0 {

using namespace cor;

vesk::WString findDllFile(const vesk::WString& dir, const vesk::WString& part, const vesk::WChar* extension) {
    vesk::WString pattern;
    pattern += '*';
    pattern += part;
    pattern += '*';
    pattern += '.';
    pattern += extension;
    return pal::findFirstFile(dir, pattern);
}

namespace {

const ULONG MAX_CLASS_COUNT = 100;
const ULONG MAX_METHOD_COUNT = 512;
const uint16_t kWrapperAssemblyVersion = 9;

const WCHAR kReplacementAttribute[] = VESK_W("veskmrte_1_0.ReplacementAttribute");
const WCHAR kSpecialCallbackAttribute[] = VESK_W("veskmrte_1_0SpecialCallbackAttribute");

// The first length - 1 characters of a name the import reported with its
// terminator, never more than the buffer holds.
vesk::WString nameWithoutTerminator(const WCHAR* buffer, ULONG length) {
    if (length == 0) return vesk::WString();
    return vesk::WString(buffer, std::min<ULONG>(length - 1, MAX_CLASS_NAME_SIZE - 1));
}

// The attribute names the API a wrapper stands in for: its assembly, class
// and method.
struct OriginalApi {
    vesk::WString assembly;
    vesk::WString className;
    vesk::WString method;
};

bool readOriginalApi(const void* data, ULONG length, OriginalApi& api) {
    AttributeBlobReader reader(static_cast<const uint8_t*>(data), length);
    return reader.skipProlog() && reader.readString(api.assembly) && reader.readString(api.className) &&
           reader.readString(api.method);
}

}  // namespace

HRESULT runtimeDispenser(IMetaDataDispenserEx** dispenser) {
    typedef HRESULT(STDMETHODCALLTYPE * GetDispenserFn)(REFCLSID, REFIID, void**);
    *dispenser = nullptr;
    void* symbol = pal::findProcessSymbol("MetaDataGetDispenser");
    if (symbol == nullptr) return E_FAIL;
    GetDispenserFn getDispenser = reinterpret_cast<GetDispenserFn>(symbol);
    return getDispenser(CLSID_CorMetaDataDispenser, IID_IMetaDataDispenserEx, reinterpret_cast<void**>(dispenser));
}

// ---- MapIterator -------------------------------------------------------------

MapIterator::MapIterator(const WrapperMap* map)
    : m_cursor(map->begin()), m_first(map->begin()), m_end(map->end()), m_map(map) {}

Wrapper* MapIterator::current() const { return m_cursor == m_end ? nullptr : m_cursor->second; }

bool MapIterator::next() {
    if (m_cursor == m_end) return false;
    ++m_cursor;
    return m_cursor != m_end;
}

void MapIterator::reset() { m_cursor = m_first; }

size_t MapIterator::size() const { return m_map->size(); }

bool MapIterator::atEnd() const { return m_cursor == m_end; }

// ---- WrapperManager ----------------------------------------------------------

WrapperManager::WrapperManager(DispenserSource dispenserSource) : m_dispenserSource(dispenserSource) {}

WrapperManager::~WrapperManager() {
    for (auto& entry : m_wrappers) delete entry.second;
    if (m_import != nullptr) m_import->Release();
}

MeResult WrapperManager::init(const vesk::WString& path, const WrapperAssemblyIdentity& identity) {
    if (path.empty()) return meFailure;
    m_assemblyPath = path;
    m_identity = identity;
    return meSuccess;
}

Wrapper* WrapperManager::findWrapper(const vesk::WChar* originalApiAssembly, const vesk::WChar* originalApiClass,
                                     const vesk::WChar* originalApiMethod) const {
    VESK_ASSERT(originalApiAssembly || originalApiClass || originalApiMethod);
    const WrappedApi api = {findSharedName(originalApiAssembly), findSharedName(originalApiClass),
                            findSharedName(originalApiMethod)};
    if (api.assembly == nullptr || api.className == nullptr || api.method == nullptr) return nullptr;
    auto found = m_wrappers.find(api);
    return found == m_wrappers.end() ? nullptr : found->second;
}

bool WrapperManager::addWrapper(Wrapper* wrapper) {
    VESK_ASSERT(wrapper);
    const WrappedApi api = {wrapper->getOriginalApiAssembly(), wrapper->getOriginalApiClass(),
                            wrapper->getOriginalApiMethod()};
    return m_wrappers.emplace(api, wrapper).second;
}

Iterator<Wrapper*>* WrapperManager::getWrappers() const { return new MapIterator(&m_wrappers); }

MeResult WrapperManager::loadWrappers() {
    VESK_LOG("  start loading the wrappers from " << m_assemblyPath);
    if (m_assemblyPath.empty() || m_import != nullptr) return meFailure;

    IMetaDataDispenserEx* dispenser = nullptr;
    if (m_dispenserSource == nullptr || FAILED(m_dispenserSource(&dispenser)) || dispenser == nullptr) {
        return meFailure;
    }
    IUnknown* scope = nullptr;
    HRESULT hr = dispenser->OpenScope(m_assemblyPath.c_str(), ofRead, IID_IMetaDataImport, &scope);
    if (FAILED(hr) || scope == nullptr) {
        dispenser->Release();
        return meFailure;
    }
    IMetaDataImport* import = static_cast<IMetaDataImport*>(scope);
    // Wrappers name their assembly by its path without the extension.
    const size_t dot = m_assemblyPath.rfind('.');
    VESK_ASSERT(dot != vesk::WString::npos);
    m_wrapperApiAssembly = m_assemblyPath.substr(0, dot);

    HCORENUM typeEnum = nullptr;
    mdTypeDef types[MAX_CLASS_COUNT];
    for (;;) {
        ULONG count = 0;
        hr = import->EnumTypeDefs(&typeEnum, types, MAX_CLASS_COUNT, &count);
        if (FAILED(hr) || count == 0) break;
        for (ULONG i = 0; i < count && i < MAX_CLASS_COUNT; ++i) loadType(import, types[i]);
    }
    if (typeEnum != nullptr) import->CloseEnum(typeEnum);

    VESK_LOG("  loading the wrappers succeeded");
    m_import = import;
    dispenser->Release();
    return meSuccess;
}

void WrapperManager::loadType(IMetaDataImport* import, mdTypeDef typeDef) {
    WCHAR className[MAX_CLASS_NAME_SIZE] = {};
    ULONG sizeClass = 0;
    HRESULT hr = import->GetTypeDefProps(typeDef, className, MAX_CLASS_NAME_SIZE, &sizeClass, nullptr, nullptr);
    VESK_ASSERT(hr == S_OK || sizeClass <= MAX_CLASS_NAME_SIZE);
    if (FAILED(hr) || sizeClass == 0) return;
    const vesk::WString typeName = nameWithoutTerminator(className, sizeClass);

    HCORENUM methodEnum = nullptr;
    mdMethodDef methods[MAX_METHOD_COUNT];
    ULONG count = 0;
    while (import->EnumMethods(&methodEnum, typeDef, methods, MAX_METHOD_COUNT, &count) == S_OK && count > 0) {
        for (ULONG i = 0; i < count && i < MAX_METHOD_COUNT; ++i) loadMethod(import, typeName, methods[i]);
        count = 0;
    }
    if (methodEnum != nullptr) import->CloseEnum(methodEnum);
}

void WrapperManager::loadMethod(IMetaDataImport* import, const vesk::WString& typeName, mdMethodDef method) {
    WCHAR methodName[MAX_CLASS_NAME_SIZE] = {};
    ULONG methodNameLength = 0;
    PCCOR_SIGNATURE sigBlob = nullptr;
    ULONG sigLength = 0;
    HRESULT hr = import->GetMethodProps(method, nullptr, methodName, MAX_CLASS_NAME_SIZE, &methodNameLength, nullptr,
                                        &sigBlob, &sigLength, nullptr, nullptr);
    VESK_ASSERT(hr == S_OK);

    const void* data = nullptr;
    ULONG dataLength = 0;
    hr = import->GetCustomAttributeByName(method, kReplacementAttribute, &data, &dataLength);
    // Not found is a success code too, with no data.
    if (FAILED(hr) || dataLength == 0 || data == nullptr) {
        const void* callbackData = nullptr;
        ULONG callbackLength = 0;
        hr = import->GetCustomAttributeByName(method, kSpecialCallbackAttribute, &callbackData, &callbackLength);
        // This profiler calls no special callbacks; a method asking for one
        // means the wrapper assembly does not belong to this build.
        if (SUCCEEDED(hr) && callbackLength != 0) VESK_ASSERT(false);
        return;
    }

    OriginalApi api;
    const bool attributeWellFormed = readOriginalApi(data, dataLength, api);
    VESK_SOFT_ASSERT(attributeWellFormed, "malformed replacement attribute");

    VESK_LOG("    loaded wrapper");
    VESK_LOG("      module=" << api.assembly);
    VESK_LOG("      class=" << api.className);
    VESK_LOG("      method=" << api.method);

    const WrappedApi key = {sharedName(api.assembly.c_str()), sharedName(api.className.c_str()),
                            sharedName(api.method.c_str())};
    auto existing = m_wrappers.find(key);
    if (existing != m_wrappers.end()) {
        existing->second->addSignature(sigBlob, sigLength);
        return;
    }
    const vesk::WString name = nameWithoutTerminator(methodName, methodNameLength);
    Wrapper* wrapper = new Wrapper(api.assembly.c_str(), api.className.c_str(), api.method.c_str(),
                                   m_wrapperApiAssembly.c_str(), typeName.c_str(), name.c_str(), sigBlob, sigLength,
                                   import);
    m_wrappers.emplace(key, wrapper);
}

// ---- choosing the wrapper assembly -------------------------------------------

vesk::WString newerWrappersDirectory(const vesk::WString& directory) {
    vesk::WString newer = directory;
    newer += VESK_W("net9.0");
    newer += pal::kDirSeparator;
    return newer;
}

MeResult initWrapperManager(WrapperManager& manager, uint32_t corVersion, const vesk::WString& directory) {
    VESK_ASSERT(corVersion != mvMSCORUnknown);
    const vesk::WChar* part = nullptr;
    switch (corVersion) {
        case mvMSCOR20:
            part = VESK_W("veskmrte_clrwrap");
            break;
        case mvMSCOR35SP1:
            part = VESK_W("veskmrte_clr35sp1wrap");
            break;
        case mvMSCOR40:
            part = VESK_W("veskmrte_clr40wrap");
            break;
        default:
            VESK_ASSERT(false);
    }
    // Managed assemblies keep their .dll suffix on every platform.
    // A tool directory without it is a deployment mistake the caller logs;
    // the program then keeps its own calls.
    const vesk::WString fileName = findDllFile(directory, part, VESK_W("dll"));
    if (fileName.empty()) return meFailure;

    const size_t dot = fileName.rfind('.');
    if (dot == vesk::WString::npos) return meFailure;
    WrapperAssemblyIdentity identity;
    identity.name = fileName.substr(0, dot);
    std::fill(std::begin(identity.version), std::end(identity.version), kWrapperAssemblyVersion);
    identity.publicKeyToken.assign(kWrapperPublicKeyToken.begin(), kWrapperPublicKeyToken.end());
    return manager.init(directory + fileName, identity);
}

}  // namespace veskmrte_1_0
