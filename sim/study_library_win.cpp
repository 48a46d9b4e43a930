#include "sim/study_library.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace ostrel::sim {
namespace {

// GetProcAddress answers a generic FARPROC; the exports are plain C functions of these types.
template <typename Function>
Function exported(HMODULE module, const char* name) {
  FARPROC address = GetProcAddress(module, name);
  Function result = nullptr;
  static_assert(sizeof result == sizeof address, "function pointers differ in size");
  if (address != nullptr) std::memcpy(&result, &address, sizeof result);
  return result;
}

// Takes the error number before any allocation can touch it.
std::string lastErrorText(const char* what, const std::string& path) {
  const unsigned long code = GetLastError();
  return std::string(what) + " " + path + " (GetLastError=" + std::to_string(code) + ")";
}

}  // namespace

StudyLibrary::~StudyLibrary() {
  if (module_ != nullptr) FreeLibrary(static_cast<HMODULE>(module_));
}

bool StudyLibrary::load(const std::string& path, bool platform_entry) {
  if (module_ != nullptr) {
    error_ = "a study library is already loaded";
    return false;
  }
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    error_ = lastErrorText("cannot load", path);
    return false;
  }
  StudyEntry entry;
  if (platform_entry) {
    entry.platform = exported<void (*)(s_sc&)>(module, "scsf_OstrelLevels");
  } else {
    entry.function = exported<void (*)(StudyHost&)>(module, "scsf_OstrelLevels");
  }
  entry.version = exported<std::int32_t (*)()>(module, "scdll_DLLVersion");
  entry.name = exported<const char* (*)()>(module, "scdll_DLLName");
  const char* missing = entry.function == nullptr && entry.platform == nullptr ? "scsf_OstrelLevels"
                        : entry.version == nullptr                             ? "scdll_DLLVersion"
                        : entry.name == nullptr                                ? "scdll_DLLName"
                                                                               : nullptr;
  if (missing != nullptr) {
    error_ = path + " does not export " + missing;
    FreeLibrary(module);
    return false;
  }
  module_ = module;
  entry_ = entry;
  error_.clear();
  return true;
}

bool StudyLibrary::loadBesideExecutable(const char* file_name, bool platform_entry) {
  // Long paths are rare but legal; grow until the name fits.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      error_ = lastErrorText("cannot find the executable's path for", file_name);
      return false;
    }
    if (length < buffer.size()) {
      std::string path(buffer.data(), length);
      const std::size_t slash = path.find_last_of("\\/");
      path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
      return load(path + file_name, platform_entry);
    }
    if (buffer.size() >= 32768) {
      error_ = "the executable's path is too long";
      return false;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace ostrel::sim
