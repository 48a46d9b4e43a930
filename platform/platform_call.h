// The study's platform entry: one call of the platform's study function, for the export
// (platform_exports.cpp) and for tools that link the binding statically.
//
// runPlatformCall finds the instance's BindingInstance behind its persistent pointer (creating
// it on the first update call), runs the core through it and, on the platform's last call for
// the instance, frees it. The defaults call runs on a short-lived instance and stores nothing.
// A last call that also claims to be a defaults call is a last call (the core sees a removal):
// the platform calls the instance no more, so what it owns must go now.
// No exception leaves it; a failure ends as one line in the platform's log.
#pragma once

struct s_sc;  // the platform's study record (platform/platform_sdk.h)

namespace ostrel::platform {

void runPlatformCall(s_sc& sc) noexcept;

// The interface version of the SDK headers the binding was built with (SC_DLL_VERSION), which
// the platform entry declares.
int platformInterfaceVersion() noexcept;

}  // namespace ostrel::platform
