// The study's entry points, as the DLL exports them (study/exports.cpp adds the undecorated C
// names). Tools that link the study statically call these directly.
//
// studyFunction never lets an exception or error code out: every failure ends as a line in the
// host's message log.
#pragma once

#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

std::int32_t dllVersion() noexcept;
const char* dllName() noexcept;
void studyFunction(StudyHost& host) noexcept;

}  // namespace ostrel
