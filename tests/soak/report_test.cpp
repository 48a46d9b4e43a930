// The soak's options and its table: bad values are refused, the table ends in the count line.
#include "soak/report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "soak/options.h"

namespace ostrel::soak {
namespace {

bool parse(std::vector<std::string> args, SoakOptions& o, std::string& error) {
  args.insert(args.begin(), "soak");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return parseSoakOptions(static_cast<int>(args.size()), argv.data(), o, error);
}

TEST(SoakOptionsTest, ValuesAndRefusals) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
  };
  const Case cases[] = {
      {{"--days", "2", "--step", "5"}, true},
      {{"--hours", "11", "--tamper", "--quiet"}, true},
      {{"--step", "7"}, false},                        // must divide a minute
      {{"--step", "5", "--quiet-step", "42"}, false},  // must divide 300
      {{"--step", "4", "--quiet-step", "10"}, false},  // not a multiple of the step
      {{"--days", "0"}, false},
      {{"--timeout", "-1"}, false},
      {{"--days"}, false},  // no value
      {{"--fast"}, false},
  };
  for (const Case& c : cases) {
    SoakOptions o;
    std::string error;
    EXPECT_EQ(parse(c.args, o, error), c.ok) << c.args[0] << " " << error;
  }
  SoakOptions o;
  std::string error;
  ASSERT_TRUE(parse({"--days", "2", "--step", "5", "--platform"}, o, error));
  EXPECT_EQ(o.days, 2);
  EXPECT_EQ(o.step_seconds, 5);
  EXPECT_TRUE(o.platform);
}

std::string timeText(std::int64_t t) { return "T" + std::to_string(t); }

TEST(SoakReportTest, ListsViolationsAndEndsWithTheirCount) {
  SoakResult r;
  r.title = "title";
  r.days.push_back({"Mon 2027-03-08", {}, 2048 * 1024, 0});
  r.days.push_back({"Tue 2027-03-09", {}, 2112 * 1024, 0});
  RequestCounters& tuesday = r.days.back().counters;
  tuesday.calls = 100;
  tuesday.suspended_calls = 7;
  tuesday.profile_requests = 12;
  tuesday.profile[static_cast<int>(ProfileOutcome::kSuperseded)] = 1;
  tuesday.profile[static_cast<int>(ProfileOutcome::kHidden)] = 2;
  tuesday.profile[static_cast<int>(ProfileOutcome::kPending)] = 3;
  r.hides = 4;
  r.hides_on_answer = 3;
  r.fault_modes = {"slow"};
  r.faults.push_back({"profile", {3}, {2}});
  r.violations.add(7, 100, "SPX>ES #1", "slot 8 records drawing 9, which is not on the chart");
  r.violations.add(9, 101, "NDX gamma #2", "a stall");
  std::FILE* f = std::tmpfile();
  if (f == nullptr) GTEST_SKIP() << "no temporary file here";
  printSoakReport(f, r, &timeText);
  std::rewind(f);
  std::string text;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, f) != nullptr) text += buffer;
  std::fclose(f);
  EXPECT_NE(text.find("  call 7  T100  SPX>ES #1: slot 8 records drawing 9, which is not on the "
                      "chart\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("       3/2\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" 2112     +64 "), std::string::npos) << text;
  // Each count under its own heading.
  EXPECT_NE(text.find("\nday                calls  susp profile  drawn failed halted supsd  hidn  "
                      "pend  hist"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\nTue 2027-03-09       100     7      12      0      0      0     1     2 "
                      "    3     0"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("studies hidden 4 times, 3 of them as an answer came\n"), std::string::npos);
  const std::string last = "soak: 2 violations\n";
  ASSERT_GE(text.size(), last.size());
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

TEST(SoakReportTest, KeepsTheFirstViolationsAndCountsAll) {
  SoakViolations v;
  for (int i = 0; i < 250; ++i) v.add(i, 0, "x", "y");
  EXPECT_EQ(v.count(), 250);
  EXPECT_EQ(v.kept().size(), SoakViolations::kKept);
}

}  // namespace
}  // namespace ostrel::soak
