#include "clrprof/signature_parser.h"

#include "clrprof/debug_log.h"

namespace veskmrte_1_0 {

using namespace cor;

namespace {

// Real signatures nest a handful of levels; a blob nesting deeper than this
// is refused rather than allowed to exhaust the stack of a JIT thread.
const uint32_t kMaxTypeNesting = 256;

// The table of a TypeDefOrRefOrSpecEncoded value's low two bits. The fourth
// code names no table; it keeps a token of its own so it never passes for
// one of the others.
const uint32_t kTypeTokenTables[4] = {mdtTypeDef, mdtTypeRef, mdtTypeSpec, 0x72000000};
const uint32_t kTypeRefTag = 1;

enum class NameRead { kRead, kTooLong, kFailed };

bool isTypeRef(uint32_t token) { return TypeFromToken(token) == mdtTypeRef && RidFromToken(token) != 0; }

// A name read into a MAX_CLASS_NAME_SIZE buffer: only a complete read
// counts, and nothing past the buffer is ever looked at, whatever length the
// import reported.
NameRead takeName(HRESULT hr, const WCHAR* buffer, ULONG length, vesk::WString& name) {
    name.clear();
    if (hr == CLDB_S_TRUNCATION) return NameRead::kTooLong;
    if (hr != S_OK) return NameRead::kFailed;
    if (length >= MAX_CLASS_NAME_SIZE) return NameRead::kTooLong;
    size_t chars = 0;
    while (chars < length && buffer[chars] != 0) ++chars;
    name.assign(buffer, chars);
    return name.empty() ? NameRead::kFailed : NameRead::kRead;
}

// Nested types deeper than this are not named; no compiler emits them.
const int kMaxNestedTypeDepth = 8;

// A nested type's reference holds only its own name, scoped by its outer
// type's reference: the full name joins them as "Outer+Inner", so that two
// nested types of one name in different outer types never pass for each
// other.
NameRead readTypeRefName(IMetaDataImport* import, mdToken token, vesk::WString& name, int depth = 0) {
    WCHAR buffer[MAX_CLASS_NAME_SIZE] = {};
    ULONG length = 0;
    mdToken scope = mdTokenNil;
    HRESULT hr = import->GetTypeRefProps(token, &scope, buffer, MAX_CLASS_NAME_SIZE, &length);
    NameRead read = takeName(hr, buffer, length, name);
    if (read != NameRead::kRead || !isTypeRef(scope)) return read;
    if (depth >= kMaxNestedTypeDepth || scope == token) return NameRead::kFailed;
    vesk::WString outer;
    read = readTypeRefName(import, scope, outer, depth + 1);
    if (read != NameRead::kRead) return read;
    name = outer + VESK_W("+") + name;
    return name.size() < MAX_CLASS_NAME_SIZE ? NameRead::kRead : NameRead::kTooLong;
}

NameRead readTypeDefName(IMetaDataImport* import, mdToken token, vesk::WString& name) {
    WCHAR buffer[MAX_CLASS_NAME_SIZE] = {};
    ULONG length = 0;
    HRESULT hr = import->GetTypeDefProps(token, buffer, MAX_CLASS_NAME_SIZE, &length, nullptr, nullptr);
    return takeName(hr, buffer, length, name);
}

}  // namespace

SignatureParser::SignatureParser(IMetaDataImport* import) : m_import(import) {}

vesk::WString typeRefFullName(IMetaDataImport* import, uint32_t token) {
    vesk::WString name;
    if (import == nullptr || !isTypeRef(token)) return name;
    if (readTypeRefName(import, token, name) != NameRead::kRead) name.clear();
    return name;
}

vesk::WString SignatureParser::getTypeName(uint32_t token) const {
    vesk::WString name;
    // Asking for a type reference's properties with another kind of token
    // would read an unrelated row.
    if (m_import == nullptr || !isTypeRef(token)) return name;
    readTypeRefName(m_import, token, name);
    return name;
}

bool SignatureParser::parse(const uint8_t* blob, uint32_t length, signature& out) {
    m_recording = true;
    m_depth = 0;
    if (blob == nullptr || length == 0) return false;
    m_start = blob;
    m_cursor = blob;
    m_end = blob + length;
    m_sig = &out;
    const uint8_t header = *m_cursor++;
    switch (header & SIG_KIND_MASK) {
        case SIG_KIND_DEFAULT:
            return parseMethod(header);
        case SIG_KIND_FIELD:
            out.kind = kFieldSignature;
            out.fieldType = TypeEntry();
            return skipCustomModifiers() && parseType(out.fieldType);
        default:
            // Only managed methods and fields are ever redirected; native,
            // vararg, local and property signatures are refused, never
            // fatal, since any call site may hand one over.
            return false;
    }
}

bool SignatureParser::parseMethod(uint8_t header) {
    if (m_recording) {
        m_sig->kind = kMethodSignature;
        m_sig->genericParamCount = 0;
        m_sig->paramCount = 0;
        m_sig->hasThis = (header & SIG_HASTHIS) != 0;
    }
    // An explicit this is never emitted by the compilers whose code is
    // redirected; it is refused like any other signature the profiler cannot
    // match.
    if (header & SIG_EXPLICITTHIS) return false;
    if (header & SIG_GENERIC) {
        uint32_t genericCount = 0;
        if (!readCompressed(genericCount)) return false;
        if (m_recording) m_sig->genericParamCount = genericCount;
    }
    uint32_t count = 0;
    if (!readCompressed(count)) return false;
    if (m_recording) m_sig->paramCount = count;

    TypeEntry returnType;
    if (!parseRetType(returnType)) return false;
    if (m_recording) m_sig->types.push_back(std::move(returnType));

    bool sentinelSeen = false;
    for (uint32_t i = 0; i < count; ++i) {
        if (atEnd()) return false;
        if (peek() == ELEMENT_TYPE_SENTINEL) {
            if (sentinelSeen) return false;
            sentinelSeen = true;
            ++m_cursor;
        }
        TypeEntry param;
        if (!parseParam(param)) return false;
        if (m_recording) m_sig->types.push_back(std::move(param));
    }
    return true;
}

bool SignatureParser::parseRetType(TypeEntry& entry) {
    if (!skipCustomModifiers()) return false;
    if (atEnd()) return false;
    switch (peek()) {
        case ELEMENT_TYPE_TYPEDBYREF:
            ++m_cursor;
            if (m_recording) entry.modifier = kModifierByRef;
            entry.shape.push_back(ShapeItem{ELEMENT_TYPE_TYPEDBYREF, 0, 0, {}});
            return true;
        case ELEMENT_TYPE_VOID:
            ++m_cursor;
            if (m_recording) entry.elementType = ELEMENT_TYPE_VOID;
            entry.shape.push_back(ShapeItem{ELEMENT_TYPE_VOID, 0, 0, {}});
            return true;
        case ELEMENT_TYPE_BYREF:
            ++m_cursor;
            if (m_recording) entry.modifier = kModifierByRef;
            entry.byRef = true;
            entry.shape.push_back(ShapeItem{ELEMENT_TYPE_BYREF, 0, 0, {}});
            return parseType(entry);
        default:
            return parseType(entry);
    }
}

bool SignatureParser::parseParam(TypeEntry& entry) {
    if (!skipCustomModifiers()) return false;
    if (atEnd()) return false;
    if (peek() == ELEMENT_TYPE_TYPEDBYREF) {
        ++m_cursor;
        if (m_recording) entry.modifier = kModifierByRef;
        entry.shape.push_back(ShapeItem{ELEMENT_TYPE_TYPEDBYREF, 0, 0, {}});
        return true;
    }
    if (peek() == ELEMENT_TYPE_BYREF) {
        ++m_cursor;
        if (m_recording) entry.modifier = kModifierByRef;
        entry.byRef = true;
        entry.shape.push_back(ShapeItem{ELEMENT_TYPE_BYREF, 0, 0, {}});
    }
    if (m_recording && entry.modifier == kModifierNone) entry.modifier = kModifierPlain;
    return parseType(entry);
}

bool SignatureParser::parseType(TypeEntry& entry) {
    if (atEnd() || m_depth >= kMaxTypeNesting) return false;
    const uint8_t elementType = *m_cursor++;
    if (m_recording) entry.elementType = elementType;
    uint32_t ownToken = 0;
    // Nested types follow their container's step, so the step is placed
    // before the body is parsed and filled in afterwards.
    const size_t step = entry.shape.size();
    entry.shape.push_back(ShapeItem{elementType, 0, 0, {}});
    ShapeItem item{elementType, 0, 0, {}};
    ++m_depth;
    const bool ok = parseTypeBody(elementType, entry, item, ownToken);
    --m_depth;
    if (!ok) return false;
    // A type nested into the same entry got here first: the entry keeps the
    // first token any of them named.
    if (entry.token == 0) {
        entry.token = ownToken;
        entry.name = item.token == ownToken ? item.name : getTypeName(ownToken);
    }
    entry.shape[step] = std::move(item);
    return true;
}

bool SignatureParser::parseTypeBody(uint8_t elementType, TypeEntry& entry, ShapeItem& item, uint32_t& ownToken) {
    auto setSize = [&](uint32_t size) {
        if (m_recording) entry.size = size;
    };
    switch (elementType) {
        case ELEMENT_TYPE_VOID:
        case ELEMENT_TYPE_BOOLEAN:
        case ELEMENT_TYPE_CHAR:
        case ELEMENT_TYPE_I1:
        case ELEMENT_TYPE_U1:
            setSize(1);
            return true;
        case ELEMENT_TYPE_I2:
        case ELEMENT_TYPE_U2:
            setSize(2);
            return true;
        case ELEMENT_TYPE_I4:
        case ELEMENT_TYPE_U4:
        case ELEMENT_TYPE_R4:
        case ELEMENT_TYPE_I:
        case ELEMENT_TYPE_U:
        case ELEMENT_TYPE_STRING:
        case ELEMENT_TYPE_OBJECT:
            setSize(4);
            return true;
        case ELEMENT_TYPE_I8:
        case ELEMENT_TYPE_U8:
        case ELEMENT_TYPE_R8:
            setSize(8);
            return true;
        case ELEMENT_TYPE_PTR:
            if (m_recording) entry.modifier = kModifierPointer;
            setSize(4);
            if (!skipCustomModifiers()) return false;
            if (!atEnd() && peek() == ELEMENT_TYPE_VOID) {
                ++m_cursor;
                return true;
            }
            return parseType(entry);
        case ELEMENT_TYPE_VALUETYPE:
        case ELEMENT_TYPE_CLASS:
            if (elementType == ELEMENT_TYPE_CLASS) setSize(4);
            if (!readTypeToken(ownToken)) return false;
            item.token = ownToken;
            item.name = getTypeName(ownToken);
            return true;
        case ELEMENT_TYPE_VAR:
        case ELEMENT_TYPE_MVAR:
            return readCompressed(item.number);
        case ELEMENT_TYPE_ARRAY: {
            if (!parseType(entry)) return false;
            uint32_t rank = 0;
            uint32_t count = 0;
            uint32_t value = 0;
            if (!readCompressed(rank)) return false;
            item.number = rank;
            // Sizes, then lower bounds: each a count followed by that many
            // numbers.
            for (int list = 0; list < 2; ++list) {
                if (!readCompressed(count)) return false;
                for (uint32_t i = 0; i < count; ++i) {
                    if (!readCompressed(value)) return false;
                }
            }
            return true;
        }
        case ELEMENT_TYPE_GENERICINST: {
            if (atEnd()) return false;
            const uint8_t kind = *m_cursor++;
            if (kind != ELEMENT_TYPE_CLASS && kind != ELEMENT_TYPE_VALUETYPE) return false;
            if (!readTypeToken(ownToken)) return false;
            uint32_t argCount = 0;
            if (!readCompressed(argCount)) return false;
            item.number = argCount;
            // The generic type comes first in the shape, then its arguments.
            ShapeItem genericType{kind, 0, ownToken, getTypeName(ownToken)};
            entry.shape.push_back(std::move(genericType));
            for (uint32_t i = 0; i < argCount; ++i) {
                if (!parseType(entry)) return false;
            }
            return true;
        }
        case ELEMENT_TYPE_FNPTR: {
            if (m_recording) entry.modifier = kModifierFunctionPointer;
            setSize(4);
            if (atEnd()) return false;
            const bool saved = m_recording;
            m_recording = false;
            const uint8_t header = *m_cursor++;
            const bool ok = parseMethod(header);
            m_recording = saved;
            return ok;
        }
        case ELEMENT_TYPE_SZARRAY: {
            if (m_recording) entry.modifier = kModifierByRef;
            setSize(4);
            const bool saved = m_recording;
            m_recording = false;
            const bool ok = skipCustomModifiers() && parseType(entry);
            m_recording = saved;
            return ok;
        }
        default:
            // BYREF and TYPEDBYREF are handled before a type is reached; here
            // they, like any other code, carry nothing more to read.
            return true;
    }
}

bool SignatureParser::skipCustomModifiers() {
    while (!atEnd() && (peek() == ELEMENT_TYPE_CMOD_REQD || peek() == ELEMENT_TYPE_CMOD_OPT)) {
        ++m_cursor;
        uint32_t token = 0;
        if (!readTypeToken(token)) return false;
    }
    return true;
}

bool SignatureParser::readCompressed(uint32_t& value) {
    if (atEnd()) return false;
    const size_t available = static_cast<size_t>(m_end - m_cursor);
    const uint8_t first = m_cursor[0];
    if ((first & 0x80) == 0) {
        value = first;
        m_cursor += 1;
        return true;
    }
    if ((first & 0xC0) == 0x80) {
        if (available < 2) return false;
        value = (static_cast<uint32_t>(first & 0x3F) << 8) | m_cursor[1];
        m_cursor += 2;
        return true;
    }
    if ((first & 0xE0) == 0xC0) {
        if (available < 4) return false;
        value = (static_cast<uint32_t>(first & 0x1F) << 24) | (static_cast<uint32_t>(m_cursor[1]) << 16) |
                (static_cast<uint32_t>(m_cursor[2]) << 8) | m_cursor[3];
        m_cursor += 4;
        return true;
    }
    return false;
}

bool SignatureParser::readTypeToken(uint32_t& token) {
    const uint8_t* encoded = m_cursor;
    uint32_t coded = 0;
    if (!readCompressed(coded)) return false;
    token = (coded >> 2) | kTypeTokenTables[coded & 3];
    if ((coded & 3) == kTypeRefTag) {
        TypeTokenSlot slot;
        slot.offset = static_cast<uint32_t>(encoded - m_start);
        slot.length = static_cast<uint32_t>(m_cursor - encoded);
        slot.typeName = getTypeName(token);
        m_sig->typeTokenSlots.push_back(std::move(slot));
    }
    return true;
}

// ---- matching ---------------------------------------------------------------

namespace {

// What a constructor's wrapper may return: a reference to the new object.
bool isCompositeType(uint8_t elementType) {
    return (elementType >= ELEMENT_TYPE_STRING && elementType <= ELEMENT_TYPE_TYPEDBYREF) ||
           (elementType >= ELEMENT_TYPE_FNPTR && elementType <= ELEMENT_TYPE_MVAR);
}

// The module's name for one of its type tokens. Type specifications and
// other tables give no name: a target naming one is left to its original.
bool moduleTypeName(IMetaDataImport* moduleImport, uint32_t token, vesk::WString& nameType) {
    const uint32_t table = TypeFromToken(token);
    if (RidFromToken(token) == 0 || (table != mdtTypeDef && table != mdtTypeRef)) return false;
    NameRead read = NameRead::kFailed;
    if (moduleImport != nullptr) {
        read = table == mdtTypeDef ? readTypeDefName(moduleImport, token, nameType)
                                   : readTypeRefName(moduleImport, token, nameType);
    }
    // Wrapper names are read the same way, so a name too long for the
    // buffer can never equal one of them.
    if (read == NameRead::kTooLong) return false;
    VESK_ASSERT(!nameType.empty());
    return true;
}

bool sameStep(IMetaDataImport* moduleImport, const ShapeItem& target, const ShapeItem& wrapper,
              uint32_t classArity) {
    switch (target.code) {
        case ELEMENT_TYPE_VAR:
            // The type's own parameters are the wrapper method's first ones.
            return target.number < classArity && wrapper.code == ELEMENT_TYPE_MVAR &&
                   wrapper.number == target.number;
        case ELEMENT_TYPE_MVAR:
            return wrapper.code == ELEMENT_TYPE_MVAR && static_cast<uint64_t>(target.number) + classArity ==
                                                            wrapper.number;
        default:
            break;
    }
    if (target.code != wrapper.code || target.number != wrapper.number) return false;
    if (target.token == 0) return wrapper.token == 0;
    vesk::WString nameType;
    return moduleTypeName(moduleImport, target.token, nameType) && !wrapper.name.empty() &&
           nameType == wrapper.name;
}

// The same type passed the same way: by reference only where the wrapper
// takes it by reference too, or the rewritten call would hand a value where
// an address is expected.
bool sameType(IMetaDataImport* moduleImport, const TypeEntry& target, const TypeEntry& wrapper,
              uint32_t classArity) {
    if (target.byRef != wrapper.byRef) return false;
    if (target.shape.empty() || target.shape.size() != wrapper.shape.size()) return false;
    for (size_t i = 0; i < target.shape.size(); ++i) {
        if (!sameStep(moduleImport, target.shape[i], wrapper.shape[i], classArity)) return false;
    }
    return true;
}

}  // namespace

bool compareSignatures(IMetaDataImport* moduleImport, const signature* originalSig, const signature* wrapperSig,
                       bool isConstructor, uint32_t classArity) {
    VESK_ASSERT(originalSig || wrapperSig);
    if (originalSig == nullptr || wrapperSig == nullptr) return false;
    const signature& target = *originalSig;
    const signature& wrapper = *wrapperSig;
    if (target.kind != wrapper.kind) return false;
    // The wrapper of an instance method takes the instance first.
    const uint32_t shift = (!isConstructor && target.hasThis) ? 1 : 0;
    if (static_cast<uint64_t>(target.paramCount) + shift != wrapper.paramCount) return false;
    if (static_cast<uint64_t>(target.genericParamCount) + classArity != wrapper.genericParamCount) return false;
    // Field records, and records of a failed parse, have no entries for all
    // their parameters.
    if (target.types.size() < static_cast<size_t>(target.paramCount) + 1 ||
        wrapper.types.size() < static_cast<size_t>(wrapper.paramCount) + 1)
        return false;

    if (isConstructor) {
        if (!isCompositeType(wrapper.types[0].elementType)) return false;
    } else if (!sameType(moduleImport, target.types[0], wrapper.types[0], classArity)) {
        return false;
    }
    for (uint32_t i = 1; i + shift <= wrapper.paramCount; ++i) {
        if (!sameType(moduleImport, target.types[i], wrapper.types[i + shift], classArity)) return false;
    }
    return true;
}

}  // namespace veskmrte_1_0
