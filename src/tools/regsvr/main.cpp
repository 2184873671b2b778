// veskmrte-regsvr: registers or unregisters a profiler library by calling its
// DllRegisterServer or DllUnregisterServer, or lists the registry store.

#include "tools/regsvr/exit_codes.h"
#include "tools/regsvr/export_call.h"
#include "tools/regsvr/store_listing.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kUsage[] =
    "usage: veskmrte-regsvr [-u] [--] PATH\n"
    "       veskmrte-regsvr --list\n"
    "       veskmrte-regsvr --help\n"
    "\n"
    "  PATH     the profiler library; its DllRegisterServer is called\n"
    "  -u       call DllUnregisterServer instead\n"
    "  --list   print the keys and values in the registry store\n"
    "  --help   print this text\n"
    "\n"
    "The registry store is the file named by VESKMRTE_REGISTRY, else\n"
    "$XDG_CONFIG_HOME/veskmrte/registry.json, else ~/.config/veskmrte/registry.json.\n"
    "\n"
    "Exit status: 0 success; 1 the library reported a failure; 2 bad arguments,\n"
    "or the library, its export or the store could not be used.\n";

int usageError(const char* problem, const char* detail) {
    std::fprintf(stderr, "veskmrte-regsvr: %s%s\n\n%s", problem, detail, kUsage);
    return regsvr::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    bool list = false;
    bool optionsEnded = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!optionsEnded && arg[0] == '-' && arg[1] != '\0') {
            if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
                std::fputs(kUsage, stdout);
                return regsvr::kExitSuccess;
            } else if (std::strcmp(arg, "-u") == 0) {
                unregister = true;
            } else if (std::strcmp(arg, "--list") == 0) {
                list = true;
            } else if (std::strcmp(arg, "--") == 0) {
                optionsEnded = true;
            } else {
                return usageError("unknown option ", arg);
            }
        } else if (path != nullptr) {
            return usageError("more than one library given: ", arg);
        } else {
            path = arg;
        }
    }
    if (list) {
        if (unregister || path != nullptr) return usageError("--list takes no other arguments", "");
        return regsvr::listStore();
    }
    if (path == nullptr) return usageError("no library given", "");
    return regsvr::callRegistrationExport(path, unregister ? "DllUnregisterServer" : "DllRegisterServer");
}
