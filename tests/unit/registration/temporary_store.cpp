#include "temporary_store.h"

#include "pal/registry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace registration_test {

namespace fs = std::filesystem;

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name) {
    const char* old = std::getenv(name);
    m_had = old != nullptr;
    if (m_had) m_old = old;
    if (value != nullptr)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (m_had)
        setenv(m_name.c_str(), m_old.c_str(), 1);
    else
        unsetenv(m_name.c_str());
}

namespace {

std::string makeTemporaryDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/veskmrte-registration-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("cannot create a temporary directory");
    return pattern;
}

}  // namespace

TemporaryStore::TemporaryStore()
    : m_directory(makeTemporaryDirectory()),
      m_path(m_directory + "/registry.json"),
      m_env("VESKMRTE_REGISTRY", m_path.c_str()) {}

TemporaryStore::~TemporaryStore() {
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(m_directory, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (it->is_directory(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(m_directory, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_directory, ignored);
}

vesk::WString W(const std::string& utf8) { return vesk::fromUtf8(utf8); }

namespace {

void dumpKey(const vesk::WString& path, std::vector<std::string>& lines) {
    std::vector<vesk::WString> names;
    pal::RegistryStatus status = pal::registryEnumKeys(path, names);
    if (status != pal::RegistryStatus::Ok) {
        lines.push_back(std::string("! ") + pal::registryStatusText(status) + ": " + pal::registryLastError());
        return;
    }
    for (const vesk::WString& name : names) {
        vesk::WString child = path.empty() ? name : path + u"\\" + name;
        std::string key = vesk::toUtf8(child);
        lines.push_back(key);
        std::vector<pal::RegistryValue> values;
        status = pal::registryEnumValues(child, values);
        if (status != pal::RegistryStatus::Ok) lines.push_back("! " + key + ": " + pal::registryStatusText(status));
        for (const pal::RegistryValue& value : values) {
            std::string label = value.name.empty() ? "(default)" : vesk::toUtf8(value.name);
            lines.push_back(key + " " + label + " = " + vesk::toUtf8(value.data));
        }
        dumpKey(child, lines);
    }
}

}  // namespace

std::vector<std::string> dumpStore() {
    std::vector<std::string> lines;
    dumpKey(vesk::WString(), lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool setKey(const std::string& path, const std::string& name, const std::string& value) {
    pal::RegistryKey key = nullptr;
    if (pal::registryCreateKey(W(path), key) != pal::RegistryStatus::Ok) return false;
    bool ok = value.empty() && name.empty() ? true
                                            : pal::registrySetString(key, W(name), W(value)) == pal::RegistryStatus::Ok;
    pal::registryCloseKey(key);
    return ok;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool fileExists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

std::vector<std::string> directoryEntries(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (auto it = fs::directory_iterator(directory, ignored); it != fs::directory_iterator(); it.increment(ignored))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace registration_test
