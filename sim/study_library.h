// StudyLibrary (Windows only): the study with its direct entry, ostrel_v4_64_direct.dll loaded at
// run time and its three exports looked up by their undecorated names.
//
// load() fails, with a one-line reason in error(), when the file cannot be loaded or an export
// is missing; entry() is then empty. The library stays loaded until the object is destroyed, so
// entry() must not be used past its owner's lifetime.
#pragma once

#include <string>

#include "sim/study_loader.h"

namespace ostrel::sim {

class StudyLibrary {
 public:
  // The direct-entry DLL that the build leaves beside the executable.
  static constexpr const char* kFileName = "ostrel_v4_64_direct.dll";
  // The platform entry built against the SDK this simulator was built with (the stand-in's
  // ostrel_v4_64_standin.dll, or the product ostrel_v4_64.dll): scsf_OstrelLevels takes that
  // SDK's s_sc (sim/platform_record.h), and is loaded into StudyEntry::platform.
  static constexpr const char* kPlatformFileName = OSTREL_PLATFORM_DLL_FILE;

  StudyLibrary() = default;
  StudyLibrary(const StudyLibrary&) = delete;
  StudyLibrary& operator=(const StudyLibrary&) = delete;
  ~StudyLibrary();

  // `path` as given (absolute, or searched the way LoadLibrary searches).
  bool load(const std::string& path, bool platform_entry = false);
  // `file_name` (kFileName or kPlatformFileName) in the directory of the running executable.
  bool loadBesideExecutable(const char* file_name = kFileName, bool platform_entry = false);

  const StudyEntry& entry() const noexcept { return entry_; }
  const std::string& error() const noexcept { return error_; }

 private:
  void* module_ = nullptr;
  StudyEntry entry_;
  std::string error_;
};

}  // namespace ostrel::sim
