// The success code shared by the profiler's units.
#pragma once

namespace veskmrte_1_0 {

enum MeResult { meFailure = 0, meSuccess = 1 };

}  // namespace veskmrte_1_0
