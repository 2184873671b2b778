// A library that loads but has no registration exports.

#include "veskmrte/portable.h"

VESK_EXTERN_C VESK_EXPORT int registrationFixtureUnrelated() { return 0; }
