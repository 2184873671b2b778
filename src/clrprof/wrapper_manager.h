// The wrapper methods of the chosen wrapper assembly, and the search for the
// profiler's companion files in the tool directory.
#pragma once

#include "abi/metadata.h"
#include "clrprof/result.h"
#include "clrprof/wrapper.h"
#include "common/utf16.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace veskmrte_1_0 {

// The first file in dir (ending with the separator) whose name matches
// *part*.extension, in byte-wise sorted order; empty when none matches.
vesk::WString findDllFile(const vesk::WString& dir, const vesk::WString& part, const vesk::WChar* extension);

// The wrapper assemblies are signed with the profiler's key; instrumented
// modules reference them by this token ("6d2cb8785bd90e43").
constexpr std::array<uint8_t, 8> kWrapperPublicKeyToken = {0x6d, 0x2c, 0xb8, 0x78, 0x5b, 0xd9, 0x0e, 0x43};

// How instrumented modules reference the wrapper assembly.
struct WrapperAssemblyIdentity {
    vesk::WString name;
    uint16_t version[4] = {0, 0, 0, 0};
    std::vector<uint8_t> publicKeyToken;
};

// A wrapped API by its assembly, class and method, each a shared name, so
// that equal names are equal pointers.
struct WrappedApi {
    const vesk::WChar* assembly;
    const vesk::WChar* className;
    const vesk::WChar* method;
    bool operator==(const WrappedApi& other) const {
        return assembly == other.assembly && className == other.className && method == other.method;
    }
};

struct WrappedApiHash {
    size_t operator()(const WrappedApi& api) const {
        const std::hash<const void*> hash;
        return hash(api.assembly) ^ (hash(api.className) * 31) ^ (hash(api.method) * 1009);
    }
};

typedef std::unordered_map<WrappedApi, Wrapper*, WrappedApiHash> WrapperMap;

// Over the whole registry, which must not change while the iterator lives.
class MapIterator : public Iterator<Wrapper*> {
public:
    explicit MapIterator(const WrapperMap* map);

    Wrapper* current() const override;
    bool next() override;
    void reset() override;
    size_t size() const override;
    bool atEnd() const override;

private:
    WrapperMap::const_iterator m_cursor;
    WrapperMap::const_iterator m_first;
    WrapperMap::const_iterator m_end;
    const WrapperMap* m_map;
};

// Where the metadata dispenser comes from: the runtime in the process, or a
// stand-in under test. Returns an owned reference.
typedef cor::HRESULT (*DispenserSource)(cor::IMetaDataDispenserEx** dispenser);

// Asks the runtime already loaded in the process for its dispenser.
cor::HRESULT runtimeDispenser(cor::IMetaDataDispenserEx** dispenser);

class WrapperManager {
public:
    explicit WrapperManager(DispenserSource dispenserSource = &runtimeDispenser);
    virtual ~WrapperManager();
    WrapperManager(const WrapperManager&) = delete;
    WrapperManager& operator=(const WrapperManager&) = delete;

    void setDispenserSource(DispenserSource dispenserSource) { m_dispenserSource = dispenserSource; }

    // Remembers the wrapper assembly; meFailure (and nothing changed) for an
    // empty path.
    MeResult init(const vesk::WString& path, const WrapperAssemblyIdentity& identity);
    // Reads every wrapper method of the assembly into the registry, keeping
    // the assembly's metadata open for the wrappers' overloads. A wrapper
    // assembly that does not describe its wrappers the way the profiler
    // expects is fatal.
    MeResult loadWrappers();

    // The names are NUL-terminated; null reads as empty, but not all three.
    Wrapper* findWrapper(const vesk::WChar* originalApiAssembly, const vesk::WChar* originalApiClass,
                         const vesk::WChar* originalApiMethod) const;
    // Takes ownership; false (the caller keeps it) when a wrapper of the same
    // key is registered already.
    bool addWrapper(Wrapper* wrapper);
    // A new iterator over every wrapper; the caller owns it.
    Iterator<Wrapper*>* getWrappers() const;
    bool hasWrappers() const { return !m_wrappers.empty(); }

    const vesk::WString& getAssemblyPath() const { return m_assemblyPath; }
    const WrapperAssemblyIdentity& getAssemblyIdentity() const { return m_identity; }

private:
    void loadType(cor::IMetaDataImport* import, cor::mdTypeDef typeDef);
    void loadMethod(cor::IMetaDataImport* import, const vesk::WString& typeName, cor::mdMethodDef method);

    vesk::WString m_assemblyPath;
    vesk::WString m_wrapperApiAssembly;
    WrapperMap m_wrappers;
    // Owned; the wrappers parse their overloads through it.
    cor::IMetaDataImport* m_import = nullptr;
    WrapperAssemblyIdentity m_identity;
    DispenserSource m_dispenserSource;
};

// Chooses the wrapper assembly for the runtime version from the tool
// directory (which ends with the separator) and initialises the manager;
// meFailure when the directory holds none.
MeResult initWrapperManager(WrapperManager& manager, uint32_t corVersion, const vesk::WString& directory);

// The directory of the tool directory (which ends with the separator) that
// holds the build of the wrapper assembly for newer runtimes, with the
// members only they have; it ends with the separator.
vesk::WString newerWrappersDirectory(const vesk::WString& directory);

}  // namespace veskmrte_1_0
