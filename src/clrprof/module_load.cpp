// Module-load processing: registers each loaded module and prepares it for
// call redirection.
#include "clrprof/clr_callbacks.h"
#include "clrprof/debug_log.h"
#include "clrprof/result.h"
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/vesk_prof_ext.h"
#include "clrprof/wrapper.h"
#include "clrprof/wrapper_fit.h"
#include "clrprof/wrapper_manager.h"

#include <map>
#include <utility>
#include <vector>

namespace veskmrte_1_0 {

using namespace cor;

namespace {

const ULONG kModuleNameSize = 1024;

// The assembly that makes the wrapper assembly resolvable in the program.
const char kResolverHook[] = "veskmrte_startup.dll";

// Rewritten calls name the wrapper assembly, which lives in the tool
// directory and is on no application's assembly list; only the resolver hook
// finds it. Without the hook every rewritten call would fail to bind, so the
// program keeps its own calls instead.
bool wrapperAssemblyResolvable() {
    std::string hooks;
    if (!pal::getEnv("DOTNET_STARTUP_HOOKS", hooks)) return false;
    const std::string name = kResolverHook;
    const std::string inDirectory = std::string(1, static_cast<char>(pal::kDirSeparator)) + name;
    size_t start = 0;
    for (;;) {
        size_t end = hooks.find(pal::kPathListSeparator, start);
        std::string entry = hooks.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (entry == name || (entry.size() > inDirectory.size() &&
                              entry.compare(entry.size() - inDirectory.size(), inDirectory.size(), inDirectory) == 0))
            return true;
        if (end == std::string::npos) return false;
        start = end + 1;
    }
}

// Releases what the callback obtained, in the order emit, assembly import,
// import, on every path out of the callback.
struct MetaDataInterfaces {
    IMetaDataImport* import = nullptr;
    IMetaDataAssemblyImport* assemblyImport = nullptr;
    IMetaDataEmit* emit = nullptr;
    ~MetaDataInterfaces() {
        if (emit != nullptr) emit->Release();
        if (assemblyImport != nullptr) assemblyImport->Release();
        if (import != nullptr) import->Release();
    }
};

template <typename T>
bool getMetaData(ICorProfilerInfo2* info, ModuleID moduleId, DWORD openFlags, REFIID iid, T*& out) {
    IUnknown* unknown = nullptr;
    if (info->GetModuleMetaData(moduleId, openFlags, iid, &unknown) != S_OK || unknown == nullptr) return false;
    out = static_cast<T*>(static_cast<void*>(unknown));
    return true;
}

}  // namespace

bool CLRCallbacks::isNativeImagePath(const vesk::WString& path) {
    return path.find(VESK_W("assembly\\NativeImages")) != vesk::WString::npos;
}

bool CLRCallbacks::getModuleInfo(ModuleID moduleId, vesk::WString& name, uintptr_t& imageBase, size_t& imageSize,
                                 bool& isNativeImage) {
    ICorProfilerInfo2* info = profilerInfo();
    if (info == nullptr) return false;
    LPCBYTE loadAddress = nullptr;
    ULONG length = 0;
    std::vector<WCHAR> buffer(kModuleNameSize, 0);
    if (info->GetModuleInfo(moduleId, &loadAddress, kModuleNameSize, &length, buffer.data(), nullptr) != S_OK ||
        length == 0)
        return false;
    vesk::WString reported(buffer.data());
    uintptr_t base = 0;
    size_t size = 0;
    vesk::WString mapped;
    bool native = false;
    // The runtime maps an assembly's file itself; the image is the mapping
    // run at the address it reports.
    if (loadAddress != nullptr && pal::mappedImageAt(loadAddress, mapped, base, size)) {
        native = isNativeImagePath(mapped);
    } else {
        pal::ModuleHandle handle = pal::findLoadedModule(reported);
        if (handle == nullptr || !pal::moduleImageRange(handle, base, size)) return false;
    }
    name = reported;
    imageBase = base;
    imageSize = size;
    isNativeImage = native;
    return true;
}

HRESULT CLRCallbacks::ModuleLoadFinished(ModuleID moduleId, HRESULT) {
    ICorProfilerInfo2* info = profilerInfo();
    if (info == nullptr) return S_OK;
    RuntimeGuard guard;
    uint64_t timestamp = VeskProfExt::instance().get_timestamp();
    VESK_LOG_EVENT("[ModuleLoadFinished event]");
    VESK_LOG("  id=" << moduleId);

    MetaDataInterfaces md;
    // Read-only: opening a module's metadata for writing converts it to the
    // runtime's slower writable form, which waits for the compilation of a
    // method that calls a redirected API.
    if (!getMetaData(info, moduleId, ofRead, IID_IMetaDataImport, md.import)) {
        VESK_LOG("  cannot get the IMetaDataImport interface");
        return S_OK;
    }
    if (!getMetaData(info, moduleId, ofRead, IID_IMetaDataAssemblyImport, md.assemblyImport)) {
        VESK_LOG("  cannot get the IMetaDataAssemblyImport interface");
        return S_OK;
    }

    vesk::WString name;
    uintptr_t imageBase = 0;
    size_t imageSize = 0;
    bool isNativeImage = false;
    if (!getModuleInfo(moduleId, name, imageBase, imageSize, isNativeImage) || name.empty()) {
        VESK_LOG("  don't process dynamic module");
        return S_OK;
    }
    VESK_LOG("  name=" << name);

    ModuleManager& modules = ModuleManager::getInstance();
    Module* module;
    {
        // Two loads of the same file on two threads must not both pass the
        // "already processed" test.
        pal::MutexLock hold(m_moduleLoadLock);
        if (modules.findModuleByName(name.c_str()) != nullptr) {
            VESK_LOG("  the module was already processed");
            return S_OK;
        }
        module = new Module(moduleId, imageBase, imageSize, name.c_str(), md.import, md.assemblyImport, nullptr,
                            timestamp, isNativeImage);
        int er = modules.addModule(moduleId, module);
        VESK_ASSERT(er == meSuccess);
    }
    if (isForbiddenModule(name.c_str())) {
        VESK_LOG("  module from the forbidden module list");
        return S_OK;
    }
    uint32_t corVer = detectRuntimeVersion();
    VESK_ASSERT(corVer != mvMSCORUnknown);
    loadWrappersOnce(corVer);
    if (!m_wrappersResolvable.load(std::memory_order_acquire)) {
        VESK_LOG("  the wrapper assembly cannot be resolved in this process. no redirection");
        return S_OK;
    }

    VESK_LOG("  start searching sync api this module refers to");
    struct Found {
        Wrapper* wrapper;
        std::vector<mdToken> tokens;
        mdToken apiType;
    };
    std::vector<Found> found;
    const std::vector<bool> namable = module->mayName(m_wrappedClasses);
    for (size_t g = 0; g < m_wrappersByClass.size(); ++g) {
        if (!namable[g]) continue;
        const std::vector<Wrapper*>& group = m_wrappersByClass[g];
        std::vector<const WCHAR*> methods;
        for (Wrapper* w : group) methods.push_back(w->getOriginalApiMethod());
        std::vector<std::vector<mdToken>> tokens;
        mdToken apiType = mdTokenNil;
        if (module->findSyncApiTokens(m_wrappedClasses[g].assembly, m_wrappedClasses[g].className, methods, tokens,
                                      &apiType) == meFailure)
            continue;
        for (size_t i = 0; i < group.size(); ++i)
            if (!tokens[i].empty() || apiType != mdTokenNil) found.push_back({group[i], std::move(tokens[i]), apiType});
    }
    for (const Found& entry : found) module->redirectTokens(entry.wrapper, entry.tokens, entry.apiType);
    VESK_LOG("  searching completed. detected sync api are defined as references for this module");
    return S_OK;
}

bool CLRCallbacks::openForWriting(ICorProfilerInfo2* info, Module* module) {
    MetaDataInterfaces md;
    if (!getMetaData(info, module->getModuleId(), ofWrite, IID_IMetaDataImport, md.import)) {
        VESK_LOG("  cannot get the IMetaDataImport interface");
        return false;
    }
    if (!getMetaData(info, module->getModuleId(), ofWrite, IID_IMetaDataAssemblyImport, md.assemblyImport)) {
        VESK_LOG("  cannot get the IMetaDataAssemblyImport interface");
        return false;
    }
    if (!getMetaData(info, module->getModuleId(), ofWrite, IID_IMetaDataEmit, md.emit)) {
        VESK_LOG("  cannot get the IMetaDataEmit interface");
        return false;
    }
    module->useWritableMetaData(md.import, md.assemblyImport, md.emit);
    return true;
}

void CLRCallbacks::loadWrappersOnce(uint32_t corVer) {
    // Concurrent first loads look for the wrappers once; later loads see the
    // outcome. Whatever goes wrong here, the program keeps its own calls.
    pal::MutexLock hold(m_wrapperLoadLock);
    if (m_wrappersLooked) return;
    m_wrappersLooked = true;
    // The build for newer runtimes serves each runtime that has what it
    // references; the build for the oldest supported runtime every other.
    const bool newer = initWrapperManager(m_wrapperMngr, corVer, newerWrappersDirectory(m_binPath)) == meSuccess &&
                       wrappersFitRuntime(". the build for older runtimes serves it");
    if (!newer && initWrapperManager(m_wrapperMngr, corVer, m_binPath) != meSuccess) {
        VESK_LOG("  no wrapper assembly in " << m_binPath << ". no redirection");
        return;
    }
    if (!newer && !wrappersFitRuntime(". no redirection")) return;
    if (m_wrapperMngr.loadWrappers() != meSuccess) {
        VESK_LOG("  the wrapper assembly cannot be read. no redirection");
        return;
    }
    vesk::WString path = m_wrapperMngr.getAssemblyPath();
    size_t separator = path.rfind(pal::kDirSeparator);
    vesk::WString fileName = separator == vesk::WString::npos ? vesk::WString() : path.substr(separator + 1);
    VESK_ASSERT(!fileName.empty());
    addForbiddenModule(fileName);
    std::map<std::pair<vesk::WString, vesk::WString>, std::vector<Wrapper*>> byClass;
    IteratorHolder<Wrapper*> wrappers(m_wrapperMngr.getWrappers());
    for (wrappers->reset(); !wrappers->atEnd(); wrappers->next()) {
        Wrapper* w = wrappers->current();
        byClass[{w->getOriginalApiAssembly(), w->getOriginalApiClass()}].push_back(w);
    }
    for (auto& group : byClass) {
        m_wrappedClasses.push_back({group.second.front()->getOriginalApiAssembly(),
                                    group.second.front()->getOriginalApiClass()});
        m_wrappersByClass.push_back(std::move(group.second));
    }
    m_wrappersResolvable.store(wrapperAssemblyResolvable(), std::memory_order_release);
}

bool CLRCallbacks::wrappersFitRuntime(const char* otherwise) {
    ModuleManager& modules = ModuleManager::getInstance();
    Module* coreLibrary = modules.findModuleByName(VESK_W("System.Private.CoreLib.dll"));
    if (coreLibrary == nullptr) coreLibrary = modules.findModuleByName(VESK_W("mscorlib.dll"));
    FileVersion framework;
    if (coreLibrary == nullptr || !readAssemblyVersion(coreLibrary->assemblyImport(), framework)) {
        VESK_LOG("  the runtime's version cannot be read. no redirection");
        return false;
    }
    NewerReference newer;
    if (findNewerReference(&runtimeDispenser, m_wrapperMngr.getAssemblyPath(), framework, newer) != meSuccess) {
        VESK_LOG("  the wrapper assembly cannot be read. no redirection");
        return false;
    }
    if (newer.found) {
        VESK_LOG("  the wrapper assembly needs a newer runtime: it references " << newer.name << " "
                 << versionText(newer.version) << ", the runtime is " << versionText(framework) << otherwise);
        return false;
    }
    return true;
}

}  // namespace veskmrte_1_0
