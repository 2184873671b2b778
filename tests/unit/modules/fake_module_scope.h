// The shared metadata fake under the name the signature fuzz target uses.
#pragma once

#include "../support/fake_metadata.h"

namespace module_testing {
using FakeModuleScope = testing_support::FakeMetadata;
}
