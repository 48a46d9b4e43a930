// The platform's SDK, as the binding includes it: the real headers of the user's installation
// (CMake option OSTREL_PLATFORM_SDK) or, for builds and tests without them, our stand-in
// (platform/sdk-standin). Either is on the include path as system headers.
//
// Include this only in the binding's own files and in the platform simulator: the real headers
// bring in <windows.h> with its macros (ERROR, DELETE, IN, interface, GetObject, DrawText).
// NOMINMAX keeps min/max from becoming macros.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <sierrachart.h>
