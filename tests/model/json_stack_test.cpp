// The guarded document on a thread with the host's smallest stack: the recursive reader near its
// nesting limit, the iterative one far past it, and broken texts at every depth.
#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/json_document.h"
#include "model/parse_gex_profile.h"
#include "sim/sim_host.h"
#include "tests/model/small_stack.h"

namespace ostrel {
namespace {

constexpr std::size_t kHostStack = std::size_t{1} << 20;
constexpr std::size_t kLimit = json::kRecursiveParseDepth;

std::string arrays(std::size_t depth, bool closed) {
  return std::string(depth, '[') + (closed ? std::string(depth, ']') : "");
}

std::string objects(std::size_t depth, bool closed) {
  std::string text;
  for (std::size_t i = 0; i < depth; ++i) text += "{\"a\":";
  text += "1";
  if (closed) text += std::string(depth, '}');
  return text;
}

// Arrays inside objects, the last level an array of numbers: the shape of a profile answer.
std::string mixed(std::size_t depth) {
  std::string open;
  std::string close;
  for (std::size_t i = 0; i + 1 < depth; ++i) {
    open += i % 2 == 0 ? "{\"k\":" : "[0,";
    close.insert(0, i % 2 == 0 ? "}" : "]");
  }
  return open + "[1.5,-2e-3]" + close;
}

// Nesting depth of the parsed value, walked without recursion.
std::size_t depthOf(const json::Value& root) {
  std::size_t depth = 0;
  const json::Value* v = &root;
  while (true) {
    if (v->IsArray() && v->Size() > 0) {
      v = &(*v)[v->Size() - 1];
    } else if (v->IsObject() && v->MemberCount() > 0) {
      v = &v->MemberBegin()->value;
    } else {
      return depth + (v->IsArray() || v->IsObject() ? 1 : 0);
    }
    ++depth;
  }
}

struct DepthCase {
  std::string name;
  std::string text;
  bool accepted;
  std::size_t depth;  // of the parsed value, when accepted
};

std::vector<DepthCase> depthCases() {
  std::vector<DepthCase> cases;
  for (const std::size_t depth : {kLimit - 1, kLimit, kLimit + 1, std::size_t{100000}}) {
    const std::string at = std::to_string(depth);
    cases.push_back({"arrays " + at, arrays(depth, true), true, depth});
    cases.push_back({"unclosed arrays " + at, arrays(depth, false), false, 0});
    cases.push_back({"objects " + at, objects(depth, true), true, depth});
    cases.push_back({"unclosed objects " + at, objects(depth, false), false, 0});
    cases.push_back({"mixed " + at, mixed(depth), true, depth});
    cases.push_back({"garbage at the bottom " + at, arrays(depth, false) + "x", false, 0});
    cases.push_back({"one bracket short " + at, arrays(depth, true).substr(1), false, 0});
    cases.push_back({"trailing value " + at, arrays(depth, true) + "[]", false, 0});
  }
  return cases;
}

TEST(JsonDocumentStack, EveryNestingDepthOnTheHostsStack) {
  const std::vector<DepthCase> cases = depthCases();
  std::vector<int> accepted(cases.size(), -1);
  std::vector<std::size_t> depth(cases.size(), 0);
  ASSERT_TRUE(test::runOnStack(kHostStack, [&] {
    json::JsonDocument doc;
    for (std::size_t i = 0; i < cases.size(); ++i) {
      accepted[i] = doc.parse(cases[i].text.c_str()) ? 1 : 0;
      depth[i] = depthOf(doc.root());
    }
  }));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(accepted[i], cases[i].accepted ? 1 : 0);
    if (cases[i].accepted) {
      EXPECT_EQ(depth[i], cases[i].depth);
    }
  }
}

TEST(JsonDocumentStack, RecursiveParseAtItsLimitFitsAQuarterOfTheHostsStack) {
  bool arrays_ok = false;
  bool objects_ok = false;
  const std::string deep_arrays = arrays(kLimit, true);
  const std::string deep_objects = objects(kLimit, true);
  ASSERT_TRUE(test::runOnStack(kHostStack / 4, [&] {
    json::JsonDocument doc;
    arrays_ok = doc.parse(deep_arrays.c_str());
    objects_ok = doc.parse(deep_objects.c_str());
  }));
  EXPECT_TRUE(arrays_ok);
  EXPECT_TRUE(objects_ok);
}

TEST(JsonDocumentStack, ProfileWithDeepExtraMembersOnTheHostsStack) {
  std::vector<ParseOutcome> outcomes;
  std::vector<std::size_t> strikes;
  ASSERT_TRUE(test::runOnStack(kHostStack, [&] {
    sim::SimHost sim;
    for (const std::size_t depth : {kLimit - 2, kLimit + 5, std::size_t{50000}}) {
      const std::string text = "{\"timestamp\":5,\"extra\":" + arrays(depth, true) +
                               ",\"strikes\":[[5000,1,2,[3]],[5005,4,5,[6]]]}";
      GexData data;
      const char* pointer = text.c_str();
      outcomes.push_back(parseGexProfile(sim.host(), &pointer, &data));
      strikes.push_back(data.strike_prices.size());
    }
  }));
  ASSERT_EQ(outcomes.size(), 3u);
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(outcomes[i], ParseOutcome::filled);
    EXPECT_EQ(strikes[i], 2u);
  }
}

}  // namespace
}  // namespace ostrel
