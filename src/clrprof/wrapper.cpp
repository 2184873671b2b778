#include "clrprof/wrapper.h"

#include "clrprof/debug_log.h"

#include "pal/pal.h"

#include <atomic>
#include <memory>
#include <unordered_set>

namespace veskmrte_1_0 {

namespace {

// Overload ids name member references in every module, so they are unique
// in the process, not per wrapper.
std::atomic<uint32_t> g_lastOverloadId{0};

// Never destroyed: runtime threads may still read names while the process
// exits.
pal::Mutex& sharedNamesLock() {
    static pal::Mutex* const lock = new pal::Mutex();
    return *lock;
}

std::unordered_set<vesk::WString>& sharedNames() {
    static std::unordered_set<vesk::WString>* const names = new std::unordered_set<vesk::WString>();
    return *names;
}

// Every wrapper shares the wrapper assembly's import, which is not known to
// serve two threads at once.
pal::Mutex g_importLock;

}  // namespace

const vesk::WChar* sharedName(const vesk::WChar* name) {
    pal::MutexLock hold(sharedNamesLock());
    return sharedNames().insert(name == nullptr ? vesk::WString() : vesk::WString(name)).first->c_str();
}

const vesk::WChar* findSharedName(const vesk::WChar* name) {
    pal::MutexLock hold(sharedNamesLock());
    auto found = sharedNames().find(name == nullptr ? vesk::WString() : vesk::WString(name));
    return found == sharedNames().end() ? nullptr : found->c_str();
}

Wrapper::Wrapper(const vesk::WChar* originalApiAssembly, const vesk::WChar* originalApiClass,
                 const vesk::WChar* originalApiMethod, const vesk::WChar* wrapperApiAssembly,
                 const vesk::WChar* wrapperApiClass, const vesk::WChar* wrapperApiMethod, const uint8_t* blob,
                 uint32_t length, cor::IMetaDataImport* metaDataImport)
    : m_originalApiAssembly(sharedName(originalApiAssembly)),
      m_originalApiClass(sharedName(originalApiClass)),
      m_originalApiMethod(sharedName(originalApiMethod)),
      m_wrapperApiAssembly(sharedName(wrapperApiAssembly)),
      m_wrapperApiClass(sharedName(wrapperApiClass)),
      m_wrapperApiMethod(sharedName(wrapperApiMethod)),
      m_metaDataImport(metaDataImport) {
    addSignature(blob, length);
}

Wrapper::~Wrapper() {
    for (signature* sig : m_signatures) delete sig;
}

void Wrapper::addSignature(const uint8_t* blob, uint32_t length) {
    if (blob == nullptr) length = 0;
    m_overloads.push_back({++g_lastOverloadId, static_cast<uint32_t>(m_blobs.size()), length});
    if (length != 0) m_blobs.insert(m_blobs.end(), blob, blob + length);
}

Iterator<signature*>* Wrapper::getSignatures() const {
    std::call_once(m_parsed, [this] {
        pal::MutexLock hold(g_importLock);
        SignatureParser parser(m_metaDataImport);
        m_signatures.reserve(m_overloads.size());
        for (const Overload& overload : m_overloads) {
            std::unique_ptr<signature> sig(new signature());
            sig->overloadID = overload.id;
            const uint8_t* first = m_blobs.data() + overload.offset;
            sig->rawBlob.assign(first, first + overload.length);
            bool res = parser.parse(sig->rawBlob.data(), overload.length, *sig);
            VESK_ASSERT(res);
            m_signatures.push_back(sig.release());
        }
    });
    return new VectorIterator<signature*>(&m_signatures);
}

}  // namespace veskmrte_1_0
