#include "tools/regsvr/export_call.h"

#include "abi/types.h"
#include "pal/registry.h"
#include "tools/regsvr/exit_codes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>

namespace regsvr {

namespace {

typedef cor::HRESULT(STDMETHODCALLTYPE* RegistrationExport)();

// The library registers the path it was loaded by, so it must be absolute:
// a relative one would mean nothing to a process with another working
// directory. Resolving it also keeps dlopen from searching the library path
// for a bare file name.
bool absolutePath(const std::string& path, std::string& resolved) {
    char* full = realpath(path.c_str(), nullptr);
    if (full == nullptr) return false;
    resolved = full;
    std::free(full);
    return true;
}

}  // namespace

int callRegistrationExport(const std::string& path, const char* exportName) {
    std::string library;
    if (!absolutePath(path, library)) {
        std::fprintf(stderr, "veskmrte-regsvr: %s: %s\n", path.c_str(), std::strerror(errno));
        return kExitUsage;
    }
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        std::fprintf(stderr, "veskmrte-regsvr: cannot load %s: %s\n", library.c_str(), dlerror());
        return kExitUsage;
    }
    void* symbol = dlsym(handle, exportName);
    if (symbol == nullptr) {
        std::fprintf(stderr, "veskmrte-regsvr: %s does not export %s\n", library.c_str(), exportName);
        dlclose(handle);
        return kExitUsage;
    }
    cor::HRESULT hr = reinterpret_cast<RegistrationExport>(symbol)();
    dlclose(handle);
    if (cor::FAILED(hr)) {
        std::fprintf(stderr, "veskmrte-regsvr: %s in %s failed: 0x%08X\n", exportName, library.c_str(),
                     static_cast<unsigned>(hr));
        return kExitExportFailed;
    }
    std::printf("veskmrte-regsvr: %s in %s succeeded (registry store: %s)\n", exportName, library.c_str(),
                pal::registryLocation().c_str());
    return kExitSuccess;
}

}  // namespace regsvr
