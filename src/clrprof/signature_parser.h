// Method and field signature blobs: the parsed record a wrapper overload or a
// call target is described by, the parser that fills it, and the test that
// decides whether a wrapper overload can stand in for a call target.
#pragma once

#include "abi/metadata.h"
#include "common/utf16.h"

#include <cstdint>
#include <vector>

namespace veskmrte_1_0 {

// Names read from metadata go through buffers of this many characters,
// terminator included.
const uint32_t MAX_CLASS_NAME_SIZE = 256;

// Signature element codes.
enum ElementType : uint8_t {
    ELEMENT_TYPE_END = 0x00,
    ELEMENT_TYPE_VOID = 0x01,
    ELEMENT_TYPE_BOOLEAN = 0x02,
    ELEMENT_TYPE_CHAR = 0x03,
    ELEMENT_TYPE_I1 = 0x04,
    ELEMENT_TYPE_U1 = 0x05,
    ELEMENT_TYPE_I2 = 0x06,
    ELEMENT_TYPE_U2 = 0x07,
    ELEMENT_TYPE_I4 = 0x08,
    ELEMENT_TYPE_U4 = 0x09,
    ELEMENT_TYPE_I8 = 0x0A,
    ELEMENT_TYPE_U8 = 0x0B,
    ELEMENT_TYPE_R4 = 0x0C,
    ELEMENT_TYPE_R8 = 0x0D,
    ELEMENT_TYPE_STRING = 0x0E,
    ELEMENT_TYPE_PTR = 0x0F,
    ELEMENT_TYPE_BYREF = 0x10,
    ELEMENT_TYPE_VALUETYPE = 0x11,
    ELEMENT_TYPE_CLASS = 0x12,
    ELEMENT_TYPE_VAR = 0x13,
    ELEMENT_TYPE_ARRAY = 0x14,
    ELEMENT_TYPE_GENERICINST = 0x15,
    ELEMENT_TYPE_TYPEDBYREF = 0x16,
    ELEMENT_TYPE_I = 0x18,
    ELEMENT_TYPE_U = 0x19,
    ELEMENT_TYPE_FNPTR = 0x1B,
    ELEMENT_TYPE_OBJECT = 0x1C,
    ELEMENT_TYPE_SZARRAY = 0x1D,
    ELEMENT_TYPE_MVAR = 0x1E,
    ELEMENT_TYPE_CMOD_REQD = 0x1F,
    ELEMENT_TYPE_CMOD_OPT = 0x20,
    ELEMENT_TYPE_SENTINEL = 0x41,
};

// The first byte of a signature: a calling-convention kind in the low four
// bits, flags above.
enum SignatureHeader : uint8_t {
    SIG_KIND_MASK = 0x0F,
    SIG_KIND_DEFAULT = 0x00,
    SIG_KIND_FIELD = 0x06,
    SIG_GENERIC = 0x10,
    SIG_HASTHIS = 0x20,
    SIG_EXPLICITTHIS = 0x40,
};

// What a TypeEntry's modifier says about how the value is passed.
enum TypeModifier : uint32_t {
    kModifierPlain = 0,
    kModifierByRef = 1,  // also typed references and single-dimension arrays
    kModifierPointer = 2,
    kModifierFunctionPointer = 3,
    kModifierNone = 4,  // nothing recorded yet
};

enum SignatureKind : uint32_t { kMethodSignature = 0, kFieldSignature = 1 };

// One step of a type's structure, in blob order. Two types are the same when
// their steps are: the same codes, numbers and named types.
struct ShapeItem {
    // An element type code; BYREF for a by-reference parameter or return.
    uint8_t code = 0;
    // The generic parameter's number (VAR, MVAR), the argument count
    // (GENERICINST) or the rank (ARRAY); 0 otherwise.
    uint32_t number = 0;
    // The type token of CLASS, VALUETYPE and GENERICINST; 0 otherwise.
    uint32_t token = 0;
    // The token's full name when it is a type reference the parser could read.
    vesk::WString name;
};

// One return type, parameter or field type.
struct TypeEntry {
    // The first type token the type named; 0 when it named none.
    uint32_t token = 0;
    uint8_t elementType = 0;
    // Bytes the value takes on the 32-bit target; 0 when not known.
    uint32_t size = 0;
    uint32_t modifier = kModifierNone;
    // Full name of token when it is a type reference the parser could read.
    vesk::WString name;
    // Passed by reference: a ref, out or in parameter, or a ref return.
    bool byRef = false;
    // The whole type, nested types included.
    std::vector<ShapeItem> shape;
};

// Where a type reference sits in the blob, so the blob can be re-encoded
// with another module's token for the same type.
struct TypeTokenSlot {
    // Byte offset of the compressed token from the blob's start.
    uint32_t offset = 0;
    // Bytes of the compressed token: 1, 2 or 4.
    uint32_t length = 0;
    // Full name of the referenced type; empty when it could not be read.
    vesk::WString typeName;
};

struct signature {
    // Set by the wrapper that owns the record; 0 for a call target.
    uint32_t overloadID = 0;
    // The wrapper overload's blob as read from its metadata; empty for a
    // call target.
    std::vector<uint8_t> rawBlob;

    uint32_t kind = kMethodSignature;
    uint32_t genericParamCount = 0;
    uint32_t paramCount = 0;
    bool hasThis = false;
    // [0] the return type, [1..paramCount] the parameters.
    std::vector<TypeEntry> types;
    TypeEntry fieldType;
    // Every type reference of the blob, in blob order.
    std::vector<TypeTokenSlot> typeTokenSlots;
};

// The full name of a type reference ("Outer+Inner" for a nested type);
// empty when it cannot be read whole.
vesk::WString typeRefFullName(cor::IMetaDataImport* import, uint32_t token);

// Fills a signature record from a blob. One parser serves one thread; the
// import (which may be null: no names then) resolves type-reference names.
class SignatureParser {
public:
    explicit SignatureParser(cor::IMetaDataImport* import);

    // Appends what the blob holds to out (nothing is cleared first);
    // overloadID and rawBlob are left alone. False when the blob is
    // malformed, truncated, or of a calling convention the profiler does not
    // redirect.
    bool parse(const uint8_t* blob, uint32_t length, signature& out);

    // The full name of a type reference; empty without an import, for any
    // other kind of token, or when the name cannot be read whole.
    vesk::WString getTypeName(uint32_t token) const;

private:
    bool parseMethod(uint8_t header);
    bool parseRetType(TypeEntry& entry);
    bool parseParam(TypeEntry& entry);
    bool parseType(TypeEntry& entry);
    bool parseTypeBody(uint8_t elementType, TypeEntry& entry, ShapeItem& item, uint32_t& ownToken);
    bool skipCustomModifiers();
    bool readCompressed(uint32_t& value);
    bool readTypeToken(uint32_t& token);
    bool atEnd() const { return m_cursor == m_end; }
    uint8_t peek() const { return *m_cursor; }

    const uint8_t* m_start = nullptr;
    const uint8_t* m_cursor = nullptr;
    const uint8_t* m_end = nullptr;
    signature* m_sig = nullptr;
    cor::IMetaDataImport* m_import;
    // Off while the parser walks types that belong to no entry of the record
    // (a function pointer's own signature, an array's element type).
    bool m_recording = true;
    uint32_t m_depth = 0;
};

// Whether a wrapper overload can replace a call to the target: the same
// shape, and the same types in the same places, passed the same way. A
// wrapper for an instance method takes the instance as an extra first
// parameter; a wrapper for a constructor is a static method returning the
// new object. Type names of the target are read through the target module's
// import. classArity is the generic parameter count of the target's type
// when the call names an instance of a generic type: its wrapper is a
// generic method whose first classArity parameters stand for the type's, so
// the target's VAR n is the wrapper's MVAR n and its MVAR n the wrapper's
// MVAR classArity + n. With classArity 0 a target naming VAR never matches.
bool compareSignatures(cor::IMetaDataImport* moduleImport, const signature* originalSig,
                       const signature* wrapperSig, bool isConstructor, uint32_t classArity = 0);

}  // namespace veskmrte_1_0
