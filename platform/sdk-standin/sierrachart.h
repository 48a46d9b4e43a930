// Stand-in for the platform's SDK entry header, for builds and tests without the real SDK.
//
// It declares only the names that the binding (platform/) and the platform simulator use, with
// the types the platform's headers give them. It is not the SDK: layouts, sizes and anything
// not named here differ, so a DLL built against it must never be installed into the platform
// (CMake names that build ostrel_v4_64_standin.dll). Members whose names start with `Standin`
// exist only here, for the simulator and tests; the binding never uses them.
//
// Pitfalls of the real types are kept on purpose, so that tests meet them: assigning an SCString
// from its own GetChars() reads freed memory (caught under AddressSanitizer), and
// s_SCInput_145::SetString("") stores a null text.
#pragma once

#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sc_standin_types.h"

#include "sc_standin_records.h"

#include "sc_standin_study.h"
