#include "host/host_string.h"

#include <gtest/gtest.h>

#include <utility>

namespace ostrel {
namespace {

TEST(HostString, EmptyIsNeverNull) {
  HostString s;
  EXPECT_STREQ(s.c_str(), "");
  s.assign(nullptr);
  EXPECT_STREQ(s.c_str(), "");
  EXPECT_FALSE(s.owns_storage());
}

TEST(HostString, CopyMoveAndReuse) {
  HostString a("ES_SPX");
  HostString b(a);
  HostString c(std::move(a));
  EXPECT_EQ(b, "ES_SPX");
  EXPECT_EQ(c, "ES_SPX");
  EXPECT_TRUE(a.empty());
  b = "SPX";  // shorter text reuses the block
  EXPECT_EQ(b, "SPX");
  b.assign(b.c_str() + 1, 2);  // overlapping self-assignment
  EXPECT_EQ(b, "PX");
  b.append("!", 1);
  EXPECT_EQ(b, "PX!");
}

TEST(HostString, FormatsLongTexts) {
  std::string big(2000, 'x');
  HostString s = formatHostString("[%s]", big.c_str());
  EXPECT_EQ(s.size(), 2002u);
  EXPECT_EQ(s.c_str()[0], '[');
  EXPECT_EQ(s.c_str()[2001], ']');
}

}  // namespace
}  // namespace ostrel
