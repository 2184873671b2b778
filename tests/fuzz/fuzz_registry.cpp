// The registry store is a file anyone may have edited. Reading it must fail
// cleanly or give keys and values; a store that reads must still read after
// a change, with the change in it.
#include "fuzz_check.h"
#include "pal/registry.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string g_store;

void walk(const pal::WString& path, int depth) {
    std::vector<pal::RegistryValue> values;
    pal::registryEnumValues(path, values);
    for (const pal::RegistryValue& value : values) {
        pal::WString data;
        FUZZ_CHECK(pal::registryGetString(path, value.name, data) == pal::RegistryStatus::Ok);
        FUZZ_CHECK(data == value.data);
    }
    std::vector<pal::WString> keys;
    if (pal::registryEnumKeys(path, keys) != pal::RegistryStatus::Ok || depth == 0) return;
    for (const pal::WString& key : keys) walk(path.empty() ? key : path + VESK_W("\\") + key, depth - 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char directory[] = "/tmp/veskmrte-fuzz-registry-XXXXXX";
    if (mkdtemp(directory) == nullptr) std::abort();
    g_store = std::string(directory) + "/registry.json";
    setenv("VESKMRTE_REGISTRY", g_store.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(g_store.c_str(), "wb");
    if (file == nullptr) return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) return 0;

    std::vector<pal::WString> top;
    if (pal::registryEnumKeys(VESK_W(""), top) != pal::RegistryStatus::Ok) return 0;
    walk(VESK_W(""), 4);

    const pal::WString path = VESK_W("CLSID\\{Fuzz}\\InprocServer32");
    pal::RegistryKey key = nullptr;
    if (pal::registryCreateKey(path, key) != pal::RegistryStatus::Ok) return 0;
    const pal::RegistryStatus set = pal::registrySetString(key, VESK_W("ThreadingModel"), VESK_W("Both"));
    pal::registryCloseKey(key);
    if (set != pal::RegistryStatus::Ok) return 0;
    pal::WString value;
    FUZZ_CHECK(pal::registryGetString(path, VESK_W("ThreadingModel"), value) == pal::RegistryStatus::Ok);
    FUZZ_CHECK(value == VESK_W("Both"));
    return 0;
}
