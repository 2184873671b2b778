// One managed module the profiler accepted: its metadata interfaces, the
// facts other units need about it, and the metadata work of call
// redirection — which of its member tokens name a redirected API, the member
// references it gained to the wrapper overloads, and which reference replaces
// a given call target.
#pragma once

#include "abi/metadata.h"
#include "common/utf16.h"
#include "pal/pal.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace veskmrte_1_0 {

class Wrapper;
struct signature;
struct TypeArguments;
struct WrapperAssemblyIdentity;

const uint32_t MAX_TOKEN_COUNT = 128;
const uint32_t MAX_METHOD_NAME_SIZE = 256;
const uint32_t MAX_ASSEMBLY_NAME_SIZE = 256;
// Signature blobs read from or written to metadata.
const uint32_t MAX_SIGNATURE_SIZE = 128;

struct FileVersion {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t build = 0;
    uint16_t revision = 0;
    bool isZero() const { return major == 0 && minor == 0 && build == 0 && revision == 0; }
};

// File versions compare major first, then minor, build and revision.
bool operator<(const FileVersion& a, const FileVersion& b);
inline bool operator>=(const FileVersion& a, const FileVersion& b) { return !(a < b); }

class Module {
public:
    Module(cor::ModuleID moduleId, uintptr_t imageBase, size_t imageSize, const vesk::WChar* name,
           cor::IMetaDataImport* import, cor::IMetaDataAssemblyImport* assemblyImport, cor::IMetaDataEmit* emit,
           uint64_t loadTimestamp, bool isNativeImage);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    const vesk::WChar* getName() const { return m_name.c_str(); }
    const vesk::WString& getNameString() const { return m_name; }
    cor::ModuleID getModuleId() const { return m_moduleId; }
    uint64_t getLoadTimestamp() const { return m_loadTimestamp; }
    uintptr_t getImageBase() const { return m_imageBase; }
    size_t getImageSize() const { return m_imageSize; }
    bool isNativeImage() const { return m_isNativeImage; }

    // Replaces the read-only metadata interfaces with the writable ones,
    // before anything is defined in the module. The read-only ones stay held
    // until the record goes: a reader may still be using them.
    void useWritableMetaData(cor::IMetaDataImport* import, cor::IMetaDataAssemblyImport* assemblyImport,
                             cor::IMetaDataEmit* emit);

    int getFileVersion(FileVersion& version);
    cor::IMetaDataAssemblyImport* assemblyImport() const { return m_assemblyImport; }

    // An API class: its assembly and its full name ("Outer+Inner" when nested).
    struct ClassName {
        const vesk::WChar* assembly;
        const vesk::WChar* className;
    };
    // One answer per class, in order: false only when the module cannot name
    // the class: it defines no type of the class's (outer) name and refers to
    // none through a reference to the class's assembly. One pass over the
    // module's type definitions and references answers every class, so that
    // a module costs the same however many classes have wrappers.
    std::vector<bool> mayName(const std::vector<ClassName>& classes);

    // The tokens by which this module names the API: its own method
    // definitions of that name when it defines the class, else its member
    // references of that name on the class's type reference.
    // apiType, when given, receives the module's token of the class
    // (mdTokenNil when it names none).
    int findSyncApiTokens(const vesk::WChar* assembly, const vesk::WChar* className, const vesk::WChar* method,
                          std::vector<cor::mdToken>& tokens, cor::mdToken* apiType = nullptr);
    // The same for several methods of one class at once, tokens[i] for
    // methods[i]: the class and its references are looked up once. On
    // failure every list is empty.
    int findSyncApiTokens(const vesk::WChar* assembly, const vesk::WChar* className,
                          const std::vector<const vesk::WChar*>& methods, std::vector<std::vector<cor::mdToken>>& tokens,
                          cor::mdToken* apiType = nullptr);
    void addSyncApiToken(Wrapper* wrapper, cor::mdToken token);
    // A module load's work for one wrapper, given the tokens naming its API,
    // read-only: keeps every token, however many overloads the wrapper has.
    // Which overload serves a call site, and the reference to it, wait for
    // the compilation of a method that calls the API (wrapperRefFor).
    // A generic class's members are named through its instances, which are
    // looked at when a call site names one: apiType is the class's token.
    void redirectTokens(Wrapper* wrapper, const std::vector<cor::mdToken>& tokens,
                        cor::mdToken apiType = cor::mdTokenNil);
    // The member reference (or, for a generic target, the wrapper
    // instantiation) replacing a call target, or mdTokenNil when the target
    // is no redirected API of this module or fits no overload. It is defined
    // on the first call site that needs it; openForWriting makes the
    // module's metadata writable first, once. Opening converts the whole module's metadata to
    // a slower, larger form, so it waits until a compiled method calls a
    // redirected API: most methods of large libraries run precompiled and
    // most of their API references are never called from compiled code.
    cor::mdToken wrapperRefFor(cor::mdToken target, const WrapperAssemblyIdentity& identity,
                               const std::function<bool()>& openForWriting);
    // Whether the module names any redirected API, and whether a token is one
    // of those names.
    bool hasSyncApiTokens();
    bool isSyncApiToken(cor::mdToken token);
    // False only when no call, callvirt or newobj in the bytes of a method
    // body can name a redirected API: every byte that could start one is
    // read as one, and a target not yet looked at counts as one. Answered
    // from what the module already knows, without reading metadata.
    bool mayCallApi(const uint8_t* body, size_t size);

    // The name of the assembly this module belongs to; empty when unknown.
    vesk::WString ownAssemblyName();

    // Re-encodes a wrapper overload's blob with this module's type tokens.
    // length: capacity in, bytes written out.
    bool translateSignature(const signature& sig, uint8_t* out, uint32_t* length);
    cor::mdToken findTypeToken(const vesk::WString& fullName);
    int defineWrapperMemberRef(const vesk::WChar* className, const vesk::WChar* method, const uint8_t* blob,
                               uint32_t length, const WrapperAssemblyIdentity& identity, cor::mdToken& token);
    int getTokenSignature(cor::mdToken token, uint8_t* buffer, uint32_t* length);
    bool compareSignatures(const signature* target, const signature* wrapper, bool isConstructor);

private:
    cor::mdAssemblyRef findAssemblyRef(const vesk::WString& name);
    // What a call site calls: the API member (a method instantiation's
    // method), the generic type instance it is a member of (mdTokenNil when
    // its class is not generic), and the method's type arguments.
    struct ApiCall {
        cor::mdToken member = cor::mdTokenNil;
        cor::mdToken typeSpec = cor::mdTokenNil;
        Wrapper* wrapper = nullptr;
        const uint8_t* methodInstance = nullptr;
        cor::ULONG methodInstanceLength = 0;
    };
    // False when the target calls no redirected API.
    bool resolveCall(cor::mdToken target, ApiCall& call);
    // The API a member of a generic type instance is, if any; looked up
    // once per member.
    Wrapper* instanceMemberApi(cor::mdToken member, cor::mdToken& typeSpec);
    // The wrapper overload serving an API member; 0 when none fits.
    // classArity: the member's generic class's parameter count.
    uint32_t fitOverload(cor::mdToken member, Wrapper* wrapper, uint32_t classArity);
    // The instantiation of the wrapper reference that replaces a generic
    // call target, defined once per target; mdTokenNil when it cannot be.
    cor::mdToken wrapperInstantiation(cor::mdToken target, cor::mdToken wrapperRef, const ApiCall& call,
                                      const TypeArguments& type);
    // Defines the reference to one overload and maps the overload to it (to
    // mdTokenNil when it cannot be referenced, so that it is tried once).
    cor::mdToken defineOverloadRef(Wrapper* wrapper, const signature& overload,
                                   const WrapperAssemblyIdentity& identity);

    // Replaced once, when the module is opened for writing, while JIT
    // threads may be reading through them; the read-only ones stay held.
    std::atomic<cor::IMetaDataImport*> m_import;
    std::atomic<cor::IMetaDataAssemblyImport*> m_assemblyImport;
    std::atomic<cor::IMetaDataEmit*> m_emit;
    cor::IMetaDataImport* m_readOnlyImport = nullptr;
    cor::IMetaDataAssemblyImport* m_readOnlyAssemblyImport = nullptr;
    vesk::WString m_name;
    cor::ModuleID m_moduleId;
    uint64_t m_loadTimestamp;
    FileVersion m_fileVersion;
    uintptr_t m_imageBase;
    size_t m_imageSize;
    bool m_isNativeImage;
    // JIT threads compile methods of one module at once; the maps are read
    // and the overload cache grows under this lock.
    pal::Mutex m_lock;
    // Held while the module is opened for writing and references are defined.
    pal::Mutex m_defineLock;
    bool m_writeRefused = false;
    std::map<cor::mdToken, Wrapper*> m_syncApiTokenMap;
    std::map<uint32_t, cor::mdToken> m_wrapperRefTokenMap;
    std::map<cor::mdToken, uint32_t> m_overloadIdMap;
    // The wrappers of each generic class the module names, by its token.
    std::map<cor::mdToken, std::vector<Wrapper*>> m_genericApiTypes;
    // Members of generic type instances already looked at (no wrapper: no
    // API), and the wrapper instantiations that replace generic targets.
    struct InstanceMember {
        cor::mdToken typeSpec;
        Wrapper* wrapper;
    };
    std::map<cor::mdToken, InstanceMember> m_instanceMembers;
    std::map<cor::mdToken, cor::mdToken> m_instantiations;
    std::set<cor::mdToken> m_otherInstantiations;
};

}  // namespace veskmrte_1_0
