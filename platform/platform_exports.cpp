// The three functions the platform looks up in the DLL by their undecorated names. The study
// function takes the platform's own study record. The DLL declares the interface version of the
// headers it was built with, as the SDK's own export macro does: the platform refuses a DLL that
// declares a version newer than itself, so a fixed number would lock out every installation
// older than it, even the one whose headers built the DLL.
#include "platform/platform_call.h"
#include "platform/platform_sdk.h"
#include "study/study_entry.h"

#if defined(_WIN32)
#define OSTREL_EXPORT __declspec(dllexport)
#else
#define OSTREL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

OSTREL_EXPORT int scdll_DLLVersion() { return SC_DLL_VERSION; }

OSTREL_EXPORT const char* scdll_DLLName() { return ostrel::dllName(); }

OSTREL_EXPORT void scsf_OstrelLevels(SCStudyInterfaceRef sc) {
  ostrel::platform::runPlatformCall(sc);
}

}  // extern "C"
