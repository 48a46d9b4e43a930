// The platform entry's exports, built into this test against headers that declare another
// interface version than the stand-in's (tests/CMakeLists.txt): the DLL declares the version of
// the headers it was built with, which the direct entry does not follow.
#include <gtest/gtest.h>

#include "study/study_entry.h"

extern "C" int scdll_DLLVersion();
extern "C" const char* scdll_DLLName();

namespace ostrel {
namespace {

TEST(PlatformExports, DeclareTheInterfaceVersionOfTheHeadersTheyWereBuiltWith) {
  EXPECT_EQ(scdll_DLLVersion(), OSTREL_TEST_SDK_VERSION);
  EXPECT_EQ(dllVersion(), 2911) << "the direct entry keeps its own";
  EXPECT_STREQ(scdll_DLLName(), "ostrel_v4");
}

}  // namespace
}  // namespace ostrel
