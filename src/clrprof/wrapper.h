// A wrapper: the managed method that stands in for one API method, with one
// parsed signature per overload; and the iterators through which the
// profiler walks overloads and wrappers.
#pragma once

#include "abi/metadata.h"
#include "clrprof/signature_parser.h"
#include "common/utf16.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace veskmrte_1_0 {

// A cursor over a collection that stays unchanged while the cursor lives.
// Iterators are handed out by new and given back by delete; hold them in an
// IteratorHolder.
template <typename T>
class Iterator {
public:
    // The element at the cursor; a null element once at the end.
    virtual T current() const = 0;
    // Moves on; false when already at the end or when the move reaches it.
    virtual bool next() = 0;
    // Back to the first element.
    virtual void reset() = 0;
    virtual size_t size() const = 0;
    virtual bool atEnd() const = 0;
    virtual ~Iterator() = default;
};

template <typename T>
using IteratorHolder = std::unique_ptr<Iterator<T>>;

// Over a vector the iterator does not own.
template <typename T>
class VectorIterator : public Iterator<T> {
public:
    explicit VectorIterator(const std::vector<T>* items) : m_items(items) {}

    T current() const override { return atEnd() ? T() : (*m_items)[m_cursor]; }
    bool next() override {
        if (atEnd()) return false;
        ++m_cursor;
        return !atEnd();
    }
    void reset() override { m_cursor = 0; }
    size_t size() const override { return m_items->size(); }
    bool atEnd() const override { return m_cursor >= m_items->size(); }

private:
    size_t m_cursor = 0;
    const std::vector<T>* m_items;
};

// A lasting copy of a name, one for each distinct name in the process (null
// reads as empty); equal names give the same pointer.
const vesk::WChar* sharedName(const vesk::WChar* name);
// The lasting copy of a name, or null when no one has asked for it.
const vesk::WChar* findSharedName(const vesk::WChar* name);

class Wrapper {
public:
    // The names are NUL-terminated (null reads as empty). The import serves
    // type names when the overloads are parsed, at their first use: most
    // wrappers are never asked for theirs. The wrapper does not own it; it
    // must outlive the wrapper.
    Wrapper(const vesk::WChar* originalApiAssembly, const vesk::WChar* originalApiClass,
            const vesk::WChar* originalApiMethod, const vesk::WChar* wrapperApiAssembly,
            const vesk::WChar* wrapperApiClass, const vesk::WChar* wrapperApiMethod, const uint8_t* blob,
            uint32_t length, cor::IMetaDataImport* metaDataImport);
    ~Wrapper();
    Wrapper(const Wrapper&) = delete;
    Wrapper& operator=(const Wrapper&) = delete;

    // Adds an overload. Its id comes from one counter for the whole process,
    // so ids are unique across wrappers; the first overload gets 1. A blob
    // that does not parse is fatal when it is first used: the wrapper
    // assembly is the profiler's own.
    void addSignature(const uint8_t* blob, uint32_t length);

    const vesk::WChar* getOriginalApiAssembly() const { return m_originalApiAssembly; }
    const vesk::WChar* getOriginalApiClass() const { return m_originalApiClass; }
    const vesk::WChar* getOriginalApiMethod() const { return m_originalApiMethod; }
    const vesk::WChar* getWrapperApiAssembly() const { return m_wrapperApiAssembly; }
    const vesk::WChar* getWrapperApiClass() const { return m_wrapperApiClass; }
    const vesk::WChar* getWrapperApiMethod() const { return m_wrapperApiMethod; }

    // A new iterator over the overloads, on the first; the caller owns it.
    // Safe on several threads at once; no overload may be added after the
    // first call.
    Iterator<signature*>* getSignatures() const;

private:
    // An overload as read, parsed into a signature record at first use.
    struct Overload {
        uint32_t id;
        uint32_t offset;
        uint32_t length;
    };

    // Every program loads all of the wrapper assembly's wrappers and asks a
    // few of them for their overloads: the names are shared, one copy for
    // the process, and the blobs kept as bytes until they are parsed.
    const vesk::WChar* m_originalApiAssembly;
    const vesk::WChar* m_originalApiClass;
    const vesk::WChar* m_originalApiMethod;
    const vesk::WChar* m_wrapperApiAssembly;
    const vesk::WChar* m_wrapperApiClass;
    const vesk::WChar* m_wrapperApiMethod;
    cor::IMetaDataImport* m_metaDataImport;
    std::vector<Overload> m_overloads;
    std::vector<uint8_t> m_blobs;
    mutable std::vector<signature*> m_signatures;
    mutable std::once_flag m_parsed;
};

}  // namespace veskmrte_1_0
