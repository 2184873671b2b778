// The profiling-utilities library's JIT file-name generator.
#pragma once

#include "veskmrte/portable.h"

#include <boost/shared_ptr.hpp>

namespace brisel_1_0 {

class VESK_EXPORT IJitFileNameGenerator {
public:
    // The chosen file name, NUL-terminated; valid while the generator lives.
    virtual const vesk_wchar* fileName() const = 0;
    virtual ~IJitFileNameGenerator() {}

    // hint: a preferred file name, or null to let the generator choose.
    static boost::shared_ptr<IJitFileNameGenerator> create(const vesk_wchar* hint);
};

}  // namespace brisel_1_0
