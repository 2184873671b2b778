// The part of the system registry a self-registering COM server uses: keys
// under the classes root, each with an optional default value, named string
// values and subkeys. Paths are backslash-separated, relative to the classes
// root, and matched without regard to case; a key keeps the case it was first
// written with.
//
// On Windows this maps one to one onto the registry functions. On Linux the
// keys live in a store file of our own (registry_linux.cpp): the path in
// VESKMRTE_REGISTRY, else $XDG_CONFIG_HOME/veskmrte/registry.json, else
// ~/.config/veskmrte/registry.json.
//
// No function throws. Each sets a description of its failure for the calling
// thread, available from registryLastError().
#pragma once

#include "common/utf16.h"

#include <string>
#include <vector>

namespace pal {

using vesk::WChar;
using vesk::WString;

enum class RegistryStatus {
    Ok,
    NotFound,         // no such key (or value)
    HasSubkeys,       // a key with subkeys cannot be deleted
    InvalidArgument,  // empty or malformed path, NUL in a name
    StoreUnreadable,  // the store exists but cannot be read
    StoreCorrupt,     // the store holds something other than registry keys
    StoreUnwritable,  // the change cannot be saved
};

// A short fixed phrase for a status, for messages.
const char* registryStatusText(RegistryStatus status);
// What went wrong in the calling thread's last registry call; empty after a
// success.
std::string registryLastError();
// Where the keys are kept, in words fit for a message: the store file's path,
// or the name of the root key. Empty when no place can be determined.
std::string registryLocation();

// ---- changes ---------------------------------------------------------------

struct RegistryKeyObject;
typedef RegistryKeyObject* RegistryKey;

// Opens the key, creating it and any missing keys above it. Fails unless the
// store can be written, even when the key already exists: the handle is for
// changing the key. On success key must be closed with registryCloseKey.
RegistryStatus registryCreateKey(const WString& path, RegistryKey& key);
// Sets a string value; an empty name sets the key's default value.
RegistryStatus registrySetString(RegistryKey key, const WString& name, const WString& value);
// Deletes a key and its values; fails when it has subkeys or does not exist.
RegistryStatus registryDeleteKey(const WString& path);
// Releases a handle; a null handle is ignored.
void registryCloseKey(RegistryKey key);

// ---- reading ---------------------------------------------------------------
// An empty path names the classes root itself. On failure the output is left
// empty: a store that cannot be read holds no keys for a reader.

struct RegistryValue {
    WString name;  // empty for the default value
    WString data;
};

// The names of the key's subkeys, in case-insensitive order.
RegistryStatus registryEnumKeys(const WString& path, std::vector<WString>& names);
// The key's values: the default value first when it is set, then the named
// values in case-insensitive order.
RegistryStatus registryEnumValues(const WString& path, std::vector<RegistryValue>& values);
// One value of a key (the default value for an empty name); NotFound when the
// key or the value does not exist.
RegistryStatus registryGetString(const WString& path, const WString& name, WString& value);

}  // namespace pal
