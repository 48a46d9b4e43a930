// Stand-in for the platform's SDK entry header, for builds and tests without the real SDK.
//
// It declares the names that the binding (platform/) and the platform simulator (sim/
// platform_record*) use, with the types and behaviour of the platform's own headers, and no name
// the platform's headers lack but one: StandinDirectHttpsGet, the simulator's way into the
// study's own HTTPS client, compiled only where OSTREL_SDK_STANDIN is defined (by this header).
// Layouts and sizes are not the platform's beyond what the names need, so a DLL built against it
// must never be installed (CMake names that build ostrel_v4_64_standin.dll).
//
// Pitfalls of the real headers are kept on purpose, so that tests meet them: assigning an
// SCString from its own GetChars() reads freed memory (caught under AddressSanitizer);
// s_SCInput_145::SetString("") stores a null text and the other setters leave a text behind
// unfreed; s_sc's constructor and SCString::MAX_LENGTH are declared and never defined; the
// record's function pointers have no initialisers.
#pragma once

#pragma pack(push, 8)

#include "sc_standin_types.h"

#include "sc_standin_records.h"

#include "sc_standin_study.h"

#pragma pack(pop)
