#include "clrprof/self_registration.h"

#include "pal/pal.h"
#include "pal/registry.h"

namespace veskmrte_1_0 {

namespace {

using vesk::WString;

const vesk::WChar kClassIdText[] = VESK_W("{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}");
const vesk::WChar kDescription[] = VESK_W("");
const vesk::WChar kProgIdPrefix[] = VESK_W("");
const vesk::WChar kVersion[] = VESK_W("1");
const vesk::WChar kThreadingModel[] = VESK_W("Both");

struct Names {
    WString classId = kClassIdText;
    WString versionIndependentProgId = WString(kProgIdPrefix) + VESK_W(".") + kClassIdText;
    WString progId = versionIndependentProgId + VESK_W(".") + kVersion;
    WString classKey = WString(VESK_W("CLSID\\")) + kClassIdText;
};

struct KeyWrite {
    const WString& key;
    WString subkey;
    WString value;
};

WString keyPath(const WString& key, const WString& subkey) {
    return subkey.empty() ? key : key + VESK_W("\\") + subkey;
}

// Creates the key and, when there is a value, sets it. Only a key that cannot
// be created counts as a failure.
bool writeKey(const WString& key, const WString& subkey, const WString& value = WString(),
              const WString& valueName = WString()) {
    pal::RegistryKey handle = nullptr;
    if (pal::registryCreateKey(keyPath(key, subkey), handle) != pal::RegistryStatus::Ok) return false;
    const bool ok = value.empty() || pal::registrySetString(handle, valueName, value) == pal::RegistryStatus::Ok;
    pal::registryCloseKey(handle);
    return ok;
}

void removeKey(const WString& key, const WString& subkey = WString()) { pal::registryDeleteKey(keyPath(key, subkey)); }

// Children before parents, since a key with subkeys cannot be deleted; each
// is attempted whatever became of the others.
void removeAll(const Names& n) {
    removeKey(n.versionIndependentProgId, VESK_W("CurVer"));
    removeKey(n.versionIndependentProgId, VESK_W("CLSID"));
    removeKey(n.versionIndependentProgId);
    removeKey(n.progId, VESK_W("CLSID"));
    removeKey(n.progId);
    removeKey(n.classKey, VESK_W("ProgID"));
    removeKey(n.classKey, VESK_W("VersionIndependentProgID"));
    removeKey(n.classKey, VESK_W("NotInsertable"));
    removeKey(n.classKey, VESK_W("InprocServer32"));
    removeKey(n.classKey);
}

}  // namespace

cor::HRESULT registerServer(const WString& modulePath) {
    if (modulePath.empty()) return cor::E_FAIL;
    const Names n;
    removeAll(n);

    // In this order, stopping at the first key that cannot be created.
    const KeyWrite writes[] = {
        {n.progId, WString(), kDescription},
        {n.progId, VESK_W("CLSID"), n.classId},
        {n.versionIndependentProgId, WString(), kDescription},
        {n.versionIndependentProgId, VESK_W("CurVer"), n.progId},
        {n.versionIndependentProgId, VESK_W("CLSID"), n.classId},
        {n.classKey, WString(), kDescription},
        {n.classKey, VESK_W("ProgID"), n.progId},
        {n.classKey, VESK_W("VersionIndependentProgID"), n.versionIndependentProgId},
        {n.classKey, VESK_W("NotInsertable"), WString()},
    };
    bool ok = true;
    for (size_t i = 0; ok && i < sizeof writes / sizeof writes[0]; ++i)
        ok = writeKey(writes[i].key, writes[i].subkey, writes[i].value);
    ok = ok && writeKey(n.classKey, VESK_W("InprocServer32"), modulePath) &&
         writeKey(n.classKey + VESK_W("\\InprocServer32"), WString(), kThreadingModel, VESK_W("ThreadingModel"));
    if (!ok) {
        // Said before the clean-up, whose own failures would replace it; the
        // caller (a registration tool) otherwise sees only E_FAIL.
        pal::writeStandardError("veskmrte: cannot register the profiler: " + pal::registryLastError() + "\n");
        removeAll(n);
        return cor::E_FAIL;
    }
    return cor::S_OK;
}

cor::HRESULT unregisterServer() {
    removeAll(Names());
    return cor::S_OK;
}

}  // namespace veskmrte_1_0
