#include "brisel/jit_file_name_generator.h"

#include "prof_utils/default_jit_file_name.h"

#include <boost/make_shared.hpp>

namespace profutils {

namespace {

class JitFileNameGenerator : public brisel_1_0::IJitFileNameGenerator {
public:
    explicit JitFileNameGenerator(const vesk::WString& name) : m_name(name) {}
    const vesk_wchar* fileName() const override { return m_name.c_str(); }

private:
    const vesk::WString m_name;
};

}  // namespace

}  // namespace profutils

namespace brisel_1_0 {

boost::shared_ptr<IJitFileNameGenerator> IJitFileNameGenerator::create(const vesk_wchar* hint) {
    // Called across a library boundary: nothing may escape.
    try {
        vesk::WString name = (hint != nullptr && hint[0] != 0) ? vesk::WString(hint) : profutils::nextDefaultJitFileName();
        return boost::make_shared<profutils::JitFileNameGenerator>(name);
    } catch (...) {
        return boost::shared_ptr<IJitFileNameGenerator>();
    }
}

}  // namespace brisel_1_0
