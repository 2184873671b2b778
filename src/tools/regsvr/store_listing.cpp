#include "tools/regsvr/store_listing.h"

#include "pal/registry.h"
#include "tools/regsvr/exit_codes.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>
#include <vector>

namespace regsvr {

namespace {

// Quoted and escaped as in the store, so control characters cannot disturb
// the layout.
std::string quoted(const vesk::WString& text) {
    return nlohmann::json(vesk::toUtf8(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Prints the subkeys of path at the given depth. A key that vanishes while
// the listing runs is passed over: someone changed the store meanwhile.
pal::RegistryStatus printSubkeys(const vesk::WString& path, size_t depth, bool& anyKey) {
    std::vector<vesk::WString> names;
    pal::RegistryStatus status = pal::registryEnumKeys(path, names);
    if (status != pal::RegistryStatus::Ok) return status;
    const std::string indent(2 * depth, ' ');
    for (const vesk::WString& name : names) {
        vesk::WString child = path.empty() ? name : path + VESK_W("\\") + name;
        std::vector<pal::RegistryValue> values;
        status = pal::registryEnumValues(child, values);
        if (status == pal::RegistryStatus::NotFound) continue;
        if (status != pal::RegistryStatus::Ok) return status;
        anyKey = true;
        std::printf("%s%s\n", indent.c_str(), vesk::toUtf8(name).c_str());
        for (const pal::RegistryValue& value : values) {
            std::string label = value.name.empty() ? "(default)" : vesk::toUtf8(value.name);
            std::printf("%s  %s = %s\n", indent.c_str(), label.c_str(), quoted(value.data).c_str());
        }
        status = printSubkeys(child, depth + 1, anyKey);
        if (status != pal::RegistryStatus::Ok && status != pal::RegistryStatus::NotFound) return status;
    }
    return pal::RegistryStatus::Ok;
}

}  // namespace

int listStore() {
    std::string location = pal::registryLocation();
    if (location.empty()) {
        std::fprintf(stderr, "veskmrte-regsvr: no place for the registry store: set VESKMRTE_REGISTRY or HOME\n");
        return kExitUsage;
    }
    std::printf("registry store: %s\n", location.c_str());
    bool anyKey = false;
    if (printSubkeys(vesk::WString(), 0, anyKey) != pal::RegistryStatus::Ok) {
        std::fflush(stdout);
        std::fprintf(stderr, "veskmrte-regsvr: %s\n", pal::registryLastError().c_str());
        return kExitUsage;
    }
    if (!anyKey) std::printf("(no keys)\n");
    return kExitSuccess;
}

}  // namespace regsvr
