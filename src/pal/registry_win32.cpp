// The registry on Windows: the system's own, under HKEY_CLASSES_ROOT. Each
// function is the corresponding registry call; only errors are translated.

#include "pal/registry.h"

#include <windows.h>

#include <algorithm>

namespace pal {

namespace {

thread_local std::string t_lastError;

RegistryStatus fail(LONG error, RegistryStatus otherwise, const char* what, const WString& path) {
    t_lastError = std::string(what) + " \"" + vesk::toUtf8(path) + "\": Windows error " + std::to_string(error);
    if (error == ERROR_FILE_NOT_FOUND) return RegistryStatus::NotFound;
    if (error == ERROR_INVALID_PARAMETER || error == ERROR_BAD_PATHNAME) return RegistryStatus::InvalidArgument;
    return otherwise;
}

RegistryStatus succeed() {
    t_lastError.clear();
    return RegistryStatus::Ok;
}

// Null for the default value, as the registry functions expect.
const wchar_t* valueName(const WString& name) { return name.empty() ? nullptr : name.c_str(); }

bool lessIgnoringCase(const WString& a, const WString& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_LESS_THAN;
}

bool hasSubkeys(const WString& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD subkeys = 0;
    LONG rc = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && subkeys > 0;
}

RegistryStatus openForReading(const WString& path, HKEY& key) {
    LONG rc = RegOpenKeyExW(HKEY_CLASSES_ROOT, path.empty() ? nullptr : path.c_str(), 0, KEY_READ, &key);
    return rc == ERROR_SUCCESS ? succeed() : fail(rc, RegistryStatus::StoreUnreadable, "cannot open key", path);
}

}  // namespace

const char* registryStatusText(RegistryStatus status) {
    switch (status) {
        case RegistryStatus::Ok:
            return "success";
        case RegistryStatus::NotFound:
            return "no such key or value";
        case RegistryStatus::HasSubkeys:
            return "the key has subkeys";
        case RegistryStatus::InvalidArgument:
            return "invalid key path or name";
        case RegistryStatus::StoreUnreadable:
            return "the registry cannot be read";
        case RegistryStatus::StoreCorrupt:
            return "the registry is corrupt";
        case RegistryStatus::StoreUnwritable:
            return "the registry cannot be written";
    }
    return "unknown registry status";
}

std::string registryLastError() { return t_lastError; }

std::string registryLocation() { return "HKEY_CLASSES_ROOT"; }

RegistryStatus registryCreateKey(const WString& path, RegistryKey& key) {
    key = nullptr;
    if (path.empty()) return fail(ERROR_INVALID_PARAMETER, RegistryStatus::InvalidArgument, "empty key path", path);
    HKEY created = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &created, nullptr);
    if (rc != ERROR_SUCCESS) return fail(rc, RegistryStatus::StoreUnwritable, "cannot create key", path);
    key = reinterpret_cast<RegistryKey>(created);
    return succeed();
}

RegistryStatus registrySetString(RegistryKey key, const WString& name, const WString& value) {
    if (key == nullptr) return fail(ERROR_INVALID_PARAMETER, RegistryStatus::InvalidArgument, "no key handle", name);
    LONG rc = RegSetValueExW(reinterpret_cast<HKEY>(key), valueName(name), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    return rc == ERROR_SUCCESS ? succeed() : fail(rc, RegistryStatus::StoreUnwritable, "cannot set value", name);
}

RegistryStatus registryDeleteKey(const WString& path) {
    if (path.empty()) return fail(ERROR_INVALID_PARAMETER, RegistryStatus::InvalidArgument, "empty key path", path);
    LONG rc = RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    if (rc == ERROR_SUCCESS) return succeed();
    // The registry answers "access denied" for a key with subkeys too.
    if (rc == ERROR_ACCESS_DENIED && hasSubkeys(path))
        return fail(rc, RegistryStatus::HasSubkeys, "key has subkeys", path);
    return fail(rc, RegistryStatus::StoreUnwritable, "cannot delete key", path);
}

void registryCloseKey(RegistryKey key) {
    if (key != nullptr) RegCloseKey(reinterpret_cast<HKEY>(key));
}

RegistryStatus registryEnumKeys(const WString& path, std::vector<WString>& names) {
    names.clear();
    HKEY key = nullptr;
    RegistryStatus status = openForReading(path, key);
    if (status != RegistryStatus::Ok) return status;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        LONG rc = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) {
            names.clear();
            status = fail(rc, RegistryStatus::StoreUnreadable, "cannot list subkeys of", path);
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return status;
}

RegistryStatus registryEnumValues(const WString& path, std::vector<RegistryValue>& values) {
    values.clear();
    HKEY key = nullptr;
    RegistryStatus status = openForReading(path, key);
    if (status != RegistryStatus::Ok) return status;
    DWORD maxName = 0, maxData = 0;
    LONG rc = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                               nullptr, nullptr);
    std::vector<wchar_t> name(maxName + 1);
    std::vector<BYTE> data(maxData + sizeof(wchar_t));
    for (DWORD i = 0; rc == ERROR_SUCCESS; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        rc = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
        if (rc != ERROR_SUCCESS || type != REG_SZ) continue;
        WString text(reinterpret_cast<const wchar_t*>(data.data()), dataSize / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        values.push_back(RegistryValue{WString(name.data(), nameLength), text});
    }
    RegCloseKey(key);
    if (rc != ERROR_NO_MORE_ITEMS) {
        values.clear();
        return fail(rc, RegistryStatus::StoreUnreadable, "cannot list values of", path);
    }
    std::sort(values.begin(), values.end(),
              [](const RegistryValue& a, const RegistryValue& b) { return lessIgnoringCase(a.name, b.name); });
    return succeed();
}

RegistryStatus registryGetString(const WString& path, const WString& name, WString& value) {
    value.clear();
    DWORD size = 0;
    const wchar_t* subkey = path.empty() ? nullptr : path.c_str();
    LONG rc = RegGetValueW(HKEY_CLASSES_ROOT, subkey, valueName(name), RRF_RT_REG_SZ, nullptr, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        rc = RegGetValueW(HKEY_CLASSES_ROOT, subkey, valueName(name), RRF_RT_REG_SZ, nullptr, buffer.data(), &size);
        if (rc == ERROR_SUCCESS) value.assign(buffer.data());
    }
    return rc == ERROR_SUCCESS ? succeed() : fail(rc, RegistryStatus::StoreUnreadable, "cannot read value", name);
}

}  // namespace pal
