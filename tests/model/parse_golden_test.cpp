// The worked answers of every parser, through `ostrel-sim parse`'s own report: each line of
// tests/golden/parse/cases.txt names NAME.answer, the kind and the premiums, and the report must
// match NAME.out.json byte for byte. To refresh after a reviewed change:
//   ostrel-sim parse KIND NAME.answer [--add A] [--mul M] > NAME.out.json
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "sim/parse_command.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ParseGolden, EveryCaseMatchesItsReport) {
  const fs::path dir = fs::path(OSTREL_SOURCE_DIR) / "tests" / "golden" / "parse";
  if (!fs::is_directory(dir)) GTEST_SKIP() << "no golden directory at " << dir.string();
  std::istringstream cases(readBytes(dir / "cases.txt"));
  std::string line;
  int count = 0;
  while (std::getline(cases, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, kind, option;
    fields >> name >> kind;
    float additive = 0.0f;
    float multiplier = 1.0f;
    float value = 0.0f;
    while (fields >> option >> value) (option == "--add" ? additive : multiplier) = value;
    SCOPED_TRACE(name);
    std::string report;
    ASSERT_TRUE(
        sim::parseReport(kind, readBytes(dir / (name + ".answer")), additive, multiplier, report));
    EXPECT_EQ(report, readBytes(dir / (name + ".out.json")));
    ++count;
  }
  EXPECT_GE(count, 20);
}

}  // namespace
}  // namespace ostrel
