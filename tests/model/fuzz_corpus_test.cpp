// Replays every fuzz corpus through the entry its fuzzer runs, so the targets never rot and
// every adversarial seed stays a regression test.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/fuzz_targets.h"
#include "fuzz/platform_entry_target.h"
#include "fuzz/utf8_repair_target.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

using Entry = bool (*)(const std::uint8_t*, std::size_t);

struct Target {
  const char* corpus;
  Entry entry;
};

bool platformEntry(const std::uint8_t* data, std::size_t size) {
  std::string why;
  const bool ok = fuzz::checkPlatformEntry(data, size, &why);
  if (!ok) ADD_FAILURE() << why;
  return ok;
}

const Target kTargets[] = {
    {"gex_profile", &fuzz::checkGexProfile},
    {"greek_profile", &fuzz::checkGreekProfile},
    {"majors_history", &fuzz::checkMajorsHistory},
    {"futures_conversion", &fuzz::checkFuturesConversion},
    {"json_document", &fuzz::checkJsonDocument},
    {"utf8_repair", &fuzz::checkUtf8Repair},
    {"platform_entry", &platformEntry},
};

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FuzzCorpus, EverySeedKeepsItsParserContract) {
  const fs::path root = fs::path(OSTREL_SOURCE_DIR) / "fuzz" / "corpus";
  if (!fs::is_directory(root)) GTEST_SKIP() << "no corpus at " << root.string();
  for (const Target& target : kTargets) {
    const fs::path dir = root / target.corpus;
    ASSERT_TRUE(fs::is_directory(dir)) << dir.string();
    int seeds = 0;
    for (const auto& file : fs::directory_iterator(dir)) {
      if (!file.is_regular_file()) continue;
      const std::string bytes = readBytes(file.path());
      EXPECT_TRUE(target.entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))
          << target.corpus << "/" << file.path().filename().string();
      ++seeds;
    }
    EXPECT_GT(seeds, 0) << target.corpus;
  }
}

}  // namespace
}  // namespace ostrel
