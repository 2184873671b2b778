// The profiling-utilities library's JIT file-name generator.
#pragma once

#include "veskmrte/portable.h"

#include <boost/shared_ptr.hpp>

// Exported by the library, imported by its users: a user that exported the
// class would hand out its own copy of the class's tables.
#if defined(_WIN32) && !defined(BRISEL_PROF_UTILS_BUILD)
#define BRISEL_API __declspec(dllimport)
#else
#define BRISEL_API VESK_EXPORT
#endif

namespace brisel_1_0 {

class BRISEL_API IJitFileNameGenerator {
public:
    // The chosen file name, NUL-terminated; valid while the generator lives.
    virtual const vesk_wchar* fileName() const = 0;
    virtual ~IJitFileNameGenerator() {}

    // hint: a preferred file name, or null to let the generator choose.
    static boost::shared_ptr<IJitFileNameGenerator> create(const vesk_wchar* hint);
};

}  // namespace brisel_1_0
