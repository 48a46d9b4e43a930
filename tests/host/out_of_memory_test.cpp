#include "host/out_of_memory.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace ostrel {
namespace {

struct Logged {
  std::string text;
  std::int32_t flag;
};

// A host that only keeps its log.
struct LogHost {
  StudyHost host;
  std::vector<Logged> lines;
  LogHost() {
    host.HostContext = this;
    host.Ops.LogMessage = [](StudyHost* h, const char* text, std::int32_t flag) {
      static_cast<LogHost*>(h->HostContext)->lines.push_back({text, flag});
    };
  }
};

TEST(OutOfMemory, EmptyTextsWhereTheyCannotBeEmptyThrow) {
  EXPECT_THROW(requireText(HostString()), std::bad_alloc);
  EXPECT_NO_THROW(requireText(HostString("x")));
  HostString to("old");
  EXPECT_NO_THROW(assignText(to, ""));  // an empty text is no failure
  EXPECT_TRUE(to.empty());
  EXPECT_NO_THROW(assignText(to, nullptr));
  EXPECT_NO_THROW(assignText(to, "SPX"));
  EXPECT_EQ(to, "SPX");
}

TEST(OutOfMemory, RunStepLogsWhatWasGivenUpOnceAndGoesOn) {
  LogHost h;
  int after = 0;
  EXPECT_FALSE(runStep(h.host, "Ostrel: out of memory; the step was given up.",
                       [&] { throw std::bad_alloc(); }));
  EXPECT_TRUE(runStep(h.host, "unused", [&] { ++after; }));
  EXPECT_EQ(after, 1);
  ASSERT_EQ(h.lines.size(), 1u);
  EXPECT_EQ(h.lines[0].text, "Ostrel: out of memory; the step was given up.");
  EXPECT_EQ(h.lines[0].flag, 1);
}

TEST(OutOfMemory, AFormattedLineLostToMemorySaysSo) {
  LogHost h;
  logFormatted(h.host, HostString("Ostrel History: API error: x. Skipping."), 0);
  logFormatted(h.host, HostString(), 0);  // what formatHostString gives when memory ran out
  ASSERT_EQ(h.lines.size(), 2u);
  EXPECT_EQ(h.lines[0].text, "Ostrel History: API error: x. Skipping.");
  EXPECT_EQ(h.lines[0].flag, 0);
  EXPECT_EQ(h.lines[1].text, "Ostrel: out of memory; a message could not be written.");
  EXPECT_EQ(h.lines[1].flag, 1);
}

}  // namespace
}  // namespace ostrel
