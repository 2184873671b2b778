// Generic instances in metadata blobs: the type arguments of a generic type
// instance (a TypeSpec) and of a method instantiation (a MethodSpec), and the
// instantiation of a generic wrapper that stands in for such a member. A
// wrapper of a member of a generic type takes the type's parameters first
// and the member's own after them, so its instantiation is the type's
// arguments followed by the method's, copied byte for byte: they are tokens
// and types of the calling module, which the new MethodSpec lives in too.
#pragma once

#include <cstdint>
#include <vector>

namespace veskmrte_1_0 {

// ECMA-335 compressed unsigned integers; 0 bytes when the value is too large.
uint32_t compressedSize(uint32_t value);
void writeCompressed(uint32_t value, uint8_t* out);

struct TypeArguments {
    // The generic type's TypeDef or TypeRef token (0 for a MethodSpec).
    uint32_t genericType = 0;
    uint32_t count = 0;
    // The arguments' encoded types, as in the blob.
    std::vector<uint8_t> bytes;
};

// A TypeSpec blob naming a generic class or value type instance. False for
// any other type, and for a blob that ends early.
bool readTypeInstance(const uint8_t* blob, uint32_t length, TypeArguments& out);
// A MethodSpec instantiation blob.
bool readMethodInstance(const uint8_t* blob, uint32_t length, TypeArguments& out);
// The wrapper's instantiation: the type's arguments, then the method's;
// empty when the count cannot be encoded.
std::vector<uint8_t> wrapperInstantiation(const TypeArguments& type, const TypeArguments& method);

}  // namespace veskmrte_1_0
