// The three functions the host looks up in the DLL by their undecorated names.
#include "study/study_entry.h"

#if defined(_WIN32)
#define OSTREL_EXPORT __declspec(dllexport)
#else
#define OSTREL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

OSTREL_EXPORT std::int32_t scdll_DLLVersion() { return ostrel::dllVersion(); }

OSTREL_EXPORT const char* scdll_DLLName() { return ostrel::dllName(); }

OSTREL_EXPORT void scsf_OstrelLevels(ostrel::StudyHost& sc) { ostrel::studyFunction(sc); }

}  // extern "C"
