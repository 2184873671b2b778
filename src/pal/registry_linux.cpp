// The registry on Linux: all keys as one JSON document in a store file.
//
// A change is a read-modify-write of the whole file under an exclusive flock
// on a lock file beside it. The new content goes to a temporary file in the
// same directory, is synced, and replaces the store by rename, so a reader or
// a crash sees the old store or the new one, never a mix. Readers therefore
// take no lock, and can read a store they cannot write.
//
// A store that does not parse as ours is refused to writers rather than
// replaced: whatever it holds stays for someone to look at. For the same
// reason unknown members are an error, not something to drop on rewrite.

#include "pal/registry.h"

#include "pal/files.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <system_error>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pal {

struct RegistryKeyObject {
    std::string storePath;  // fixed when opened, so a handle never moves stores
    WString path;
};

namespace {

using nlohmann::json;
using vesk::fromUtf8;
using vesk::toUtf8;

const char kFormatName[] = "veskmrte-registry";
const int kFormatVersion = 1;
const mode_t kNewStoreMode = 0600;
// The longest key name the Windows registry accepts.
const size_t kMaxKeyNameLength = 255;

thread_local std::string t_lastError;

RegistryStatus fail(RegistryStatus status, const std::string& detail) {
    t_lastError = detail;
    return status;
}

std::string errnoText(int error) { return std::error_code(error, std::generic_category()).message(); }

RegistryStatus failErrno(RegistryStatus status, const std::string& what, const std::string& path) {
    return fail(status, what + " " + path + ": " + errnoText(errno));
}

// Windows matches names by upper-casing each UTF-16 unit; the letters of
// ASCII, Latin-1, Greek and Cyrillic are what key names hold in practice.
char16_t foldCase(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c >= 0x3B1 && c <= 0x3CB) return c == 0x3C2 ? 0x3A3 : c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

int compareNames(const WString& a, const WString& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t x = foldCase(a[i]);
        char16_t y = foldCase(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// JSON holds UTF-8, so text with a lone surrogate cannot be stored faithfully.
bool storable(const WString& text) { return fromUtf8(toUtf8(text)) == text; }

bool validName(const WString& name) { return storable(name) && name.find(WChar(0)) == WString::npos; }

bool validKeyName(const WString& name) {
    return !name.empty() && name.size() <= kMaxKeyNameLength && name.find(u'\\') == WString::npos && validName(name);
}

// The key names along a path; false when the path is malformed.
bool splitPath(const WString& path, std::vector<WString>& names) {
    names.clear();
    if (path.empty()) return true;
    size_t start = 0;
    for (;;) {
        size_t end = path.find(u'\\', start);
        WString name = path.substr(start, end == WString::npos ? WString::npos : end - start);
        if (!validKeyName(name)) return false;
        names.push_back(name);
        if (end == WString::npos) return true;
        start = end + 1;
    }
}

// ---- the keys in memory ----------------------------------------------------

struct Node {
    WString name;
    bool hasDefault = false;
    WString defaultValue;
    std::vector<RegistryValue> values;  // named values, in name order
    std::vector<Node> keys;             // in name order
};

template <class T>
typename std::vector<T>::iterator lowerBound(std::vector<T>& items, const WString& name) {
    return std::lower_bound(items.begin(), items.end(), name,
                            [](const T& item, const WString& n) { return compareNames(item.name, n) < 0; });
}

template <class T>
T* findNamed(std::vector<T>& items, const WString& name) {
    auto it = lowerBound(items, name);
    return it != items.end() && compareNames(it->name, name) == 0 ? &*it : nullptr;
}

Node* findKey(Node& root, const std::vector<WString>& names) {
    Node* node = &root;
    for (size_t i = 0; node != nullptr && i < names.size(); ++i) node = findNamed(node->keys, names[i]);
    return node;
}

void createKey(Node& root, const std::vector<WString>& names) {
    Node* node = &root;
    for (const WString& name : names) {
        auto it = lowerBound(node->keys, name);
        if (it == node->keys.end() || compareNames(it->name, name) != 0) {
            Node child;
            child.name = name;
            it = node->keys.insert(it, std::move(child));
        }
        node = &*it;
    }
}

void setValue(Node& key, const WString& name, const WString& data) {
    if (name.empty()) {
        key.hasDefault = true;
        key.defaultValue = data;
        return;
    }
    auto it = lowerBound(key.values, name);
    if (it != key.values.end() && compareNames(it->name, name) == 0)
        it->data = data;
    else
        key.values.insert(it, RegistryValue{name, data});
}

// ---- the keys as JSON ------------------------------------------------------

// Written in our order, which is the order of enumeration, with the format
// first: the file is meant to be read by people too.
nlohmann::ordered_json toJson(const Node& node) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    if (node.hasDefault) out["default"] = toUtf8(node.defaultValue);
    if (!node.values.empty()) {
        auto& values = out["values"] = nlohmann::ordered_json::object();
        for (const RegistryValue& value : node.values) values[toUtf8(value.name)] = toUtf8(value.data);
    }
    if (!node.keys.empty()) {
        auto& keys = out["keys"] = nlohmann::ordered_json::object();
        for (const Node& child : node.keys) keys[toUtf8(child.name)] = toJson(child);
    }
    return out;
}

std::string serialize(const Node& root) {
    nlohmann::ordered_json doc = nlohmann::ordered_json::object();
    doc["format"] = kFormatName;
    doc["version"] = kFormatVersion;
    doc["keys"] = nlohmann::ordered_json::object();
    for (const Node& child : root.keys) doc["keys"][toUtf8(child.name)] = toJson(child);
    return doc.dump(2) + "\n";
}

std::string describeKey(const std::string& path) { return path.empty() ? "the top level" : "key \"" + path + "\""; }

// Reads one key, whose path is where; on a malformed key sets error to say
// what is wrong and where.
bool fromJson(const json& in, const std::string& where, Node& node, std::string& error) {
    if (!in.is_object()) {
        error = describeKey(where) + " is not an object";
        return false;
    }
    for (auto member = in.begin(); member != in.end(); ++member) {
        const json& content = member.value();
        if (member.key() == "default" && content.is_string()) {
            node.hasDefault = true;
            node.defaultValue = fromUtf8(content.get<std::string>());
        } else if (member.key() == "values" && content.is_object()) {
            for (auto value = content.begin(); value != content.end(); ++value) {
                WString name = fromUtf8(value.key());
                auto at = lowerBound(node.values, name);
                if (name.empty() || !validName(name) || !value.value().is_string() ||
                    (at != node.values.end() && compareNames(at->name, name) == 0)) {
                    error = describeKey(where) + " has a bad or repeated value \"" + value.key() + "\"";
                    return false;
                }
                node.values.insert(at, RegistryValue{name, fromUtf8(value.value().get<std::string>())});
            }
        } else if (member.key() == "keys" && content.is_object()) {
            for (auto key = content.begin(); key != content.end(); ++key) {
                Node child;
                child.name = fromUtf8(key.key());
                auto at = lowerBound(node.keys, child.name);
                if (!validKeyName(child.name) || (at != node.keys.end() && compareNames(at->name, child.name) == 0)) {
                    error = describeKey(where) + " has a bad or repeated subkey \"" + key.key() + "\"";
                    return false;
                }
                std::string path = where.empty() ? key.key() : where + "\\" + key.key();
                if (!fromJson(key.value(), path, child, error)) return false;
                node.keys.insert(lowerBound(node.keys, child.name), std::move(child));
            }
        } else {
            error = describeKey(where) + " has an unexpected or mistyped member \"" + member.key() + "\"";
            return false;
        }
    }
    return true;
}

RegistryStatus parse(const std::string& text, const std::string& storePath, Node& root) {
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::exception& e) {
        return fail(RegistryStatus::StoreCorrupt, "registry store " + storePath + " is not valid JSON: " + e.what());
    }
    std::string error;
    if (!doc.is_object() || doc.value("format", json()) != kFormatName) {
        error = "it is not a registry store";
    } else if (doc.value("version", json()) != kFormatVersion) {
        error = "its version is not " + std::to_string(kFormatVersion);
    } else {
        json keys = json::object();
        for (auto member = doc.begin(); member != doc.end() && error.empty(); ++member) {
            if (member.key() == "keys")
                keys["keys"] = member.value();
            else if (member.key() != "format" && member.key() != "version")
                error = "it has an unexpected member \"" + member.key() + "\"";
        }
        if (error.empty()) fromJson(keys, "", root, error);
    }
    if (error.empty()) return RegistryStatus::Ok;
    return fail(RegistryStatus::StoreCorrupt, "registry store " + storePath + " cannot be used: " + error);
}

// ---- the store file --------------------------------------------------------

std::string directoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool nonEmptyEnv(const char* name, std::string& value) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return false;
    value = text;
    return true;
}

bool passwordHome(std::string& home) {
    std::vector<char> buffer(16384);
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return false;
    if (found->pw_dir == nullptr || *found->pw_dir == '\0') return false;
    home = found->pw_dir;
    return true;
}

// The store file; isDefault tells whether its directory is ours to create.
// In a process with raised rights the environment is not trusted with the
// place: the store is the effective user's own.
bool storePath(std::string& path, bool& isDefault) {
    isDefault = false;
    const bool secure = isSecureExecution();
    if (!secure && nonEmptyEnv("VESKMRTE_REGISTRY", path)) return true;
    isDefault = true;
    std::string base;
    if (secure || !nonEmptyEnv("XDG_CONFIG_HOME", base) || base[0] != '/') {
        if ((secure || !nonEmptyEnv("HOME", base)) && !passwordHome(base)) return false;
        base += "/.config";
    }
    path = base + "/veskmrte/registry.json";
    return true;
}

const char kNoPlace[] = "no place for the registry store: set VESKMRTE_REGISTRY or HOME";

bool makeDirectories(const std::string& dir) {
    for (size_t start = 1;;) {
        size_t slash = dir.find('/', start);
        if (mkdir(dir.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
        start = slash + 1;
    }
}

RegistryStatus storeForWriting(std::string& path) {
    bool isDefault = false;
    if (!storePath(path, isDefault)) return fail(RegistryStatus::StoreUnwritable, kNoPlace);
    if (isDefault && !makeDirectories(directoryOf(path)))
        return failErrno(RegistryStatus::StoreUnwritable, "cannot create directory", directoryOf(path));
    return RegistryStatus::Ok;
}

// A missing store holds no keys.
RegistryStatus readStore(const std::string& path, Node& root) {
    root = Node();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return RegistryStatus::Ok;
        return failErrno(RegistryStatus::StoreUnreadable, "cannot open registry store", path);
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            RegistryStatus status = failErrno(RegistryStatus::StoreUnreadable, "cannot read registry store", path);
            close(fd);
            return status;
        }
    }
    close(fd);
    return parse(text, path, root);
}

bool writeAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

void syncDirectory(const std::string& dir) {
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // Some file systems refuse to sync a directory; the rename has happened.
    if (fsync(fd) != 0) {
    }
    close(fd);
}

RegistryStatus writeStore(const std::string& path, const Node& root) {
    std::string text = serialize(root);
    struct stat old;
    mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : kNewStoreMode;

    std::string temporary = path + ".tmp-XXXXXX";
    int fd = mkostemp(&temporary[0], O_CLOEXEC);
    if (fd < 0) return failErrno(RegistryStatus::StoreUnwritable, "cannot write beside registry store", path);
    bool ok = writeAll(fd, text) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return fail(RegistryStatus::StoreUnwritable, "cannot write registry store " + path + ": " + errnoText(error));
    }
    syncDirectory(directoryOf(path));
    return RegistryStatus::Ok;
}

// Holds the exclusive lock for one read-modify-write. The lock file is never
// removed: removing it would let two writers lock different files.
class StoreLock {
public:
    StoreLock() = default;
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    ~StoreLock() {
        if (m_fd >= 0) close(m_fd);
    }

    RegistryStatus acquire(const std::string& storePath) {
        std::string lockPath = storePath + ".lock";
        // Not O_EXCL: every writer must lock the same file, so an existing
        // one is reused. It is never written; O_NOFOLLOW and O_NONBLOCK keep
        // a planted link or FIFO from redirecting or blocking us, and a file
        // of another user (who could hold the lock forever) is refused.
        m_fd = open(lockPath.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kNewStoreMode);
        if (m_fd < 0) return failErrno(RegistryStatus::StoreUnwritable, "cannot open lock file", lockPath);
        struct stat info;
        if (fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) || (info.st_uid != geteuid() && info.st_uid != 0))
            return fail(RegistryStatus::StoreUnwritable,
                        "lock file " + lockPath + " is not a regular file of this user; remove it");
        while (flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) return failErrno(RegistryStatus::StoreUnwritable, "cannot lock", lockPath);
        }
        return RegistryStatus::Ok;
    }

private:
    int m_fd = -1;
};

template <class Change>
RegistryStatus changeStore(const std::string& path, Change change) {
    StoreLock lock;
    RegistryStatus status = lock.acquire(path);
    if (status != RegistryStatus::Ok) return status;
    Node root;
    status = readStore(path, root);
    if (status != RegistryStatus::Ok) return status;
    status = change(root);
    if (status != RegistryStatus::Ok) return status;
    return writeStore(path, root);
}

// Finds the key a reader asked for; key is null unless the answer is Ok.
RegistryStatus readKey(const WString& path, Node& root, Node*& key) {
    key = nullptr;
    std::vector<WString> names;
    if (!splitPath(path, names))
        return fail(RegistryStatus::InvalidArgument, "invalid key path \"" + toUtf8(path) + "\"");
    std::string store;
    bool isDefault = false;
    if (!storePath(store, isDefault)) return fail(RegistryStatus::StoreUnreadable, kNoPlace);
    RegistryStatus status = readStore(store, root);
    if (status != RegistryStatus::Ok) return status;
    key = findKey(root, names);
    return key != nullptr ? RegistryStatus::Ok : fail(RegistryStatus::NotFound, "no key \"" + toUtf8(path) + "\"");
}

// Nothing may escape into the profiler, which runs inside the runtime.
template <class Body>
RegistryStatus guarded(RegistryStatus onException, Body body) {
    try {
        t_lastError.clear();
        return body();
    } catch (const std::exception& e) {
        return fail(onException, std::string("registry: ") + e.what());
    }
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
            return "the registry store cannot be read";
        case RegistryStatus::StoreCorrupt:
            return "the registry store is corrupt";
        case RegistryStatus::StoreUnwritable:
            return "the registry store cannot be written";
    }
    return "unknown registry status";
}

std::string registryLastError() { return t_lastError; }

std::string registryLocation() {
    std::string path;
    bool isDefault = false;
    return storePath(path, isDefault) ? path : std::string();
}

RegistryStatus registryCreateKey(const WString& path, RegistryKey& key) {
    key = nullptr;
    return guarded(RegistryStatus::StoreUnwritable, [&] {
        std::vector<WString> names;
        if (!splitPath(path, names) || names.empty())
            return fail(RegistryStatus::InvalidArgument, "invalid key path \"" + toUtf8(path) + "\"");
        std::string store;
        RegistryStatus status = storeForWriting(store);
        if (status != RegistryStatus::Ok) return status;
        // Written even when the key exists: that is what proves the handle
        // can be used for changes.
        status = changeStore(store, [&](Node& root) {
            createKey(root, names);
            return RegistryStatus::Ok;
        });
        if (status == RegistryStatus::Ok) key = new RegistryKeyObject{store, path};
        return status;
    });
}

RegistryStatus registrySetString(RegistryKey key, const WString& name, const WString& value) {
    return guarded(RegistryStatus::StoreUnwritable, [&] {
        if (key == nullptr) return fail(RegistryStatus::InvalidArgument, "no key handle");
        if (!validName(name) || !storable(value))
            return fail(RegistryStatus::InvalidArgument, "invalid value name or data for \"" + toUtf8(name) + "\"");
        std::vector<WString> names;
        splitPath(key->path, names);
        return changeStore(key->storePath, [&](Node& root) {
            Node* node = findKey(root, names);
            if (node == nullptr)
                return fail(RegistryStatus::NotFound, "key \"" + toUtf8(key->path) + "\" no longer exists");
            setValue(*node, name, value);
            return RegistryStatus::Ok;
        });
    });
}

RegistryStatus registryDeleteKey(const WString& path) {
    return guarded(RegistryStatus::StoreUnwritable, [&] {
        std::vector<WString> names;
        if (!splitPath(path, names) || names.empty())
            return fail(RegistryStatus::InvalidArgument, "invalid key path \"" + toUtf8(path) + "\"");
        std::string store;
        bool isDefault = false;
        if (!storePath(store, isDefault)) return fail(RegistryStatus::StoreUnwritable, kNoPlace);
        struct stat info;
        // Without a store there is no key, and nothing to lock or create.
        if (stat(store.c_str(), &info) != 0 && errno == ENOENT)
            return fail(RegistryStatus::NotFound, "no key \"" + toUtf8(path) + "\"");
        return changeStore(store, [&](Node& root) {
            WString last = names.back();
            names.pop_back();
            Node* parent = findKey(root, names);
            Node* node = parent != nullptr ? findNamed(parent->keys, last) : nullptr;
            if (node == nullptr) return fail(RegistryStatus::NotFound, "no key \"" + toUtf8(path) + "\"");
            if (!node->keys.empty())
                return fail(RegistryStatus::HasSubkeys, "key \"" + toUtf8(path) + "\" has subkeys");
            parent->keys.erase(parent->keys.begin() + (node - parent->keys.data()));
            return RegistryStatus::Ok;
        });
    });
}

void registryCloseKey(RegistryKey key) { delete key; }

RegistryStatus registryEnumKeys(const WString& path, std::vector<WString>& names) {
    names.clear();
    return guarded(RegistryStatus::StoreUnreadable, [&] {
        Node root;
        Node* key = nullptr;
        RegistryStatus status = readKey(path, root, key);
        if (status != RegistryStatus::Ok) return status;
        for (const Node& child : key->keys) names.push_back(child.name);
        return status;
    });
}

RegistryStatus registryEnumValues(const WString& path, std::vector<RegistryValue>& values) {
    values.clear();
    return guarded(RegistryStatus::StoreUnreadable, [&] {
        Node root;
        Node* key = nullptr;
        RegistryStatus status = readKey(path, root, key);
        if (status != RegistryStatus::Ok) return status;
        if (key->hasDefault) values.push_back(RegistryValue{WString(), key->defaultValue});
        values.insert(values.end(), key->values.begin(), key->values.end());
        return status;
    });
}

RegistryStatus registryGetString(const WString& path, const WString& name, WString& value) {
    value.clear();
    return guarded(RegistryStatus::StoreUnreadable, [&] {
        Node root;
        Node* key = nullptr;
        RegistryStatus status = readKey(path, root, key);
        if (status != RegistryStatus::Ok) return status;
        if (name.empty() && key->hasDefault) {
            value = key->defaultValue;
            return status;
        }
        const RegistryValue* found = name.empty() ? nullptr : findNamed(key->values, name);
        if (found == nullptr) return fail(RegistryStatus::NotFound, "no value \"" + toUtf8(name) + "\"");
        value = found->data;
        return status;
    });
}

}  // namespace pal
