// Running out of memory: in a long session with many charts any allocation of the study can
// fail. A step that cannot get the memory it needs ends early by throwing std::bad_alloc (a
// failed `new` does; so does requireText for a text that came back empty although it always
// holds something, which is how a failed HostString allocation shows). The step's owner catches
// it with runStep, which logs one fixed line (flag 1) saying what was given up; the line needs
// no memory of the study's own. The owner leaves no request state pending behind it.
#pragma once

#include <new>

#include "host/host_calls.h"
#include "host/host_string.h"

namespace ostrel {

// The defaults call could not store every name or text it declares (the core's, or the
// platform's copy of them): only declaring them again mends it.
constexpr const char* kSettingNamesLost =
    "Ostrel: out of memory; some names of the study's settings are missing. Remove the study "
    "and add it again.";

// `text` itself, or std::bad_alloc when it is empty.
inline const HostString& requireText(const HostString& text) {
  if (text.empty()) throw std::bad_alloc();
  return text;
}

// Assigns `text`, or throws std::bad_alloc when a text that is not empty could not be stored.
inline void assignText(HostString& to, const char* text) {
  to.assign(text);
  if (to.empty() && text != nullptr && *text != '\0') throw std::bad_alloc();
}

// Runs `step`; when it runs out of memory, logs `given_up` (flag 1) and answers false.
template <typename Step>
bool runStep(StudyHost& host, const char* given_up, Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (const std::bad_alloc&) {
    host::logMessage(host, given_up, 1);
    return false;
  }
}

// A formatted line, or when formatting it ran out of memory (it came back empty), a fixed line
// saying so: a message is never lost without a word.
inline void logFormatted(StudyHost& host, const HostString& line, std::int32_t flag) {
  if (line.empty()) {
    host::logMessage(host, "Ostrel: out of memory; a message could not be written.", 1);
    return;
  }
  host::logMessage(host, line.c_str(), flag);
}

}  // namespace ostrel
