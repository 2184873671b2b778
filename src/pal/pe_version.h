// Reads the fixed file-version numbers from a PE file's version resource.
// Managed assemblies are PE files on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pal {

// image: the whole file. Answers false for anything that is not a PE file
// with a well-formed version resource; never reads outside the image.
bool peFileVersion(const uint8_t* image, size_t size, uint16_t version[4]);

}  // namespace pal
