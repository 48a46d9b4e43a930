// The three functions the platform looks up in the DLL by their undecorated names. The study
// function takes the platform's own study record.
#include "platform/platform_call.h"
#include "study/study_entry.h"

#if defined(_WIN32)
#define OSTREL_EXPORT __declspec(dllexport)
#else
#define OSTREL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

OSTREL_EXPORT int scdll_DLLVersion() { return ostrel::dllVersion(); }

OSTREL_EXPORT const char* scdll_DLLName() { return ostrel::dllName(); }

OSTREL_EXPORT void scsf_OstrelLevels(SCStudyInterfaceRef sc) {
  ostrel::platform::runPlatformCall(sc);
}

}  // extern "C"
