// A study on the simulated host (test::StudyTest) with the soak's check context reporting to a
// violation list, for the tests of the soak's checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "soak/violations.h"
#include "tests/study/study_test_support.h"

namespace ostrel::test {

class SoakCheckTest : public StudyTest {
 protected:
  void SetUp() override {
    StudyTest::SetUp();
    ctx.violations = &violations;
    ctx.instance = &name;
  }
  // The text of the `i`th violation kept (empty: none).
  std::string reported(std::size_t i = 0) const {
    return i < violations.kept().size() ? violations.kept()[i].what : std::string();
  }

  std::int64_t t0 = at(2026, 3, 10, 10, 0);
  std::string name = "chart #1";
  soak::SoakViolations violations;
  soak::CheckContext ctx;
};

}  // namespace ostrel::test
