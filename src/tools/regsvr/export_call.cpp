#include "tools/regsvr/export_call.h"

#include "abi/types.h"
#include "pal/files.h"
#include "pal/pal.h"
#include "pal/registry.h"
#include "tools/regsvr/exit_codes.h"

#include <cstdio>

namespace regsvr {

namespace {

typedef cor::HRESULT(STDMETHODCALLTYPE* RegistrationExport)();

}  // namespace

int callRegistrationExport(const std::string& path, const char* exportName) {
    // The library registers the path it was loaded by, so it must be
    // absolute: a relative one would mean nothing to a process with another
    // working directory. Resolving it also keeps the loader from searching
    // the library path for a bare file name.
    std::string library;
    if (!pal::absolutePath(path, library)) {
        std::fprintf(stderr, "veskmrte-regsvr: %s: %s\n", path.c_str(), pal::lastFileError().c_str());
        return kExitUsage;
    }
    pal::ModuleHandle handle = pal::loadLibrary(vesk::fromUtf8(library));
    if (handle == nullptr) {
        std::fprintf(stderr, "veskmrte-regsvr: cannot load %s: %s\n", library.c_str(), pal::lastLoadError().c_str());
        return kExitUsage;
    }
    void* symbol = pal::findSymbol(handle, exportName);
    if (symbol == nullptr) {
        std::fprintf(stderr, "veskmrte-regsvr: %s does not export %s\n", library.c_str(), exportName);
        pal::freeLibrary(handle);
        return kExitUsage;
    }
    cor::HRESULT hr = reinterpret_cast<RegistrationExport>(symbol)();
    pal::freeLibrary(handle);
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
