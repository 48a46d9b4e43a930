#include "study/input_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "study/input_ids.h"
#include "study/input_readers.h"
#include "study/subgraph_table.h"
#include "study/text_normalise.h"
#include "tests/study/study_test_support.h"

namespace ostrel {
namespace {

using test::StudyTest;

std::size_t optionCount(const char* list) {
  // Options are the texts between separators; a trailing ';' ends the last one.
  std::size_t count = 0;
  std::string current;
  for (const char* p = list; *p != '\0'; ++p) {
    if (*p == ';') {
      ++count;
      current.clear();
    } else {
      current += *p;
    }
  }
  return count + (current.empty() ? 0 : 1);
}

TEST(InputTable, HasOneUniquelyNamedRowPerInput) {
  std::set<std::string> names;
  for (std::size_t i = 0; i < kInputSpecCount; ++i) names.insert(inputSpecs()[i].name);
  EXPECT_EQ(kInputSpecCount, 110u);
  EXPECT_EQ(names.size(), 110u);
}

TEST(InputTable, DisplayPositionsOneToSixOnTheSixInputsInOrder) {
  std::vector<std::int32_t> with_position;
  for (std::int32_t i = 0; i < 110; ++i) {
    if (inputSpecs()[i].position != 0) {
      with_position.push_back(i);
      EXPECT_EQ(inputSpecs()[i].position, static_cast<std::int32_t>(with_position.size()));
    }
  }
  EXPECT_EQ(with_position, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 109}));
}

TEST(InputTable, OptionListsHaveTheirOptionCounts) {
  EXPECT_EQ(optionCount(inputSpecs()[in::kGreek].text), 7u);
  EXPECT_EQ(std::strlen(inputSpecs()[in::kGreek].text) - 1,
            std::string(inputSpecs()[in::kGreek].text).rfind(';'));
  EXPECT_EQ(optionCount(inputSpecs()[in::kPackage].text), 2u);
  EXPECT_EQ(optionCount(inputSpecs()[in::kCallGexVolumeStyle].text), 4u);
  EXPECT_EQ(optionCount(inputSpecs()[in::kPriorDotsStyle].text), 3u);
  for (std::int32_t i = 0; i < 110; ++i) {
    const InputSpec& spec = inputSpecs()[i];
    if (spec.kind == InputKind::CustomList) {
      ASSERT_NE(spec.text, nullptr) << i;
      EXPECT_LT(spec.number, static_cast<double>(optionCount(spec.text))) << i;
    }
  }
}

class DefaultsCall : public StudyTest {};

TEST_F(DefaultsCall, DeclaresTitleSettingsAndSpotCheckedInputs) {
  const StudyHost& h = sim.host();
  EXPECT_STREQ(h.StudyTitle.c_str(), "Gex Profile");
  EXPECT_EQ(h.RegionSetting, 0);
  EXPECT_EQ(h.LoopModeSetting, 0);
  EXPECT_EQ(h.AlwaysCallSetting, 1);

  StudyInput& package = sim.input(in::kPackage);
  EXPECT_STREQ(package.name.c_str(), "Package");
  EXPECT_EQ(package.type, InputType::kCustomList);
  EXPECT_EQ(package.int_value, 0);
  EXPECT_STREQ(package.options.c_str(), "Classic;State");
  EXPECT_EQ(package.display_position, 1);

  EXPECT_STREQ(sim.input(in::kGreek).options.c_str(),
               "90d agg Gex;0dte Gex;1dte Gex;0dte Gamma (State Package Only);"
               "1dte Gamma (State Package Only);0dte Delta (State Package Only);"
               "1dte Delta (State Package Only);");
  EXPECT_STREQ(readText(sim.input(in::kApiKey)), "<API KEY HERE>");
  EXPECT_STREQ(readText(sim.input(in::kTicker)), "ES_SPX");
  EXPECT_EQ(sim.input(in::kMultiplicativePremium).type, InputType::kFloat);
  EXPECT_EQ(sim.input(in::kMultiplicativePremium).double_value, 1.0);
  EXPECT_EQ(sim.input(in::kGexDisplay).int_value, 2);
  EXPECT_EQ(sim.input(in::kPositiveDeltaColour).colour_value, 76u + 256u * 175u + 65536u * 80u);
  EXPECT_EQ(sim.input(in::kShowGexDot1).int_value, 0);
  EXPECT_EQ(sim.input(in::kShowGexDot1 + 1).int_value, 1);
  EXPECT_EQ(sim.input(in::kPriorDotsSize).type, InputType::kFloat);
  EXPECT_EQ(sim.input(in::kTimeZone).type, InputType::kTimeZone);
  EXPECT_EQ(sim.input(in::kTimeZone).int_value, 7);
  EXPECT_EQ(sim.input(in::kRequestStartTime).type, InputType::kTimeOfDay);
  EXPECT_EQ(sim.input(in::kRequestStartTime).double_value, 0.3958333333333333);
  EXPECT_EQ(sim.input(in::kRequestEndTime).double_value, 0.9583333333333334);
  EXPECT_EQ(sim.input(in::kRequestInterval).int_value, 5);
  EXPECT_EQ(sim.input(in::kRequestInterval).display_position, 0);
  EXPECT_STREQ(sim.input(in::kFuturesTarget).name.c_str(),
               "Futures Target (Auto-Convert, e.g. NQ, ES - blank disables)");
  EXPECT_EQ(sim.input(in::kFuturesTarget).display_position, 6);
}

TEST_F(DefaultsCall, FuturesTargetDefaultIsAnEmptyTextSoConversionIsOff) {
  const StudyInput& target = sim.input(in::kFuturesTarget);
  EXPECT_EQ(target.type, InputType::kText);
  EXPECT_EQ(target.has_text, 1);
  EXPECT_STREQ(readText(target), "");
  EXPECT_TRUE(normaliseText(readText(target)).empty());
  // A first update call at 09:30 on a weekday would fire the conversion trigger if it were on.
  const sim::CallRecord& rec = call(test::at(2026, 3, 10, 9, 30, 5));
  EXPECT_TRUE(rec.conversions.empty());
}

TEST_F(DefaultsCall, DeclaresTheNineteenSubgraphs) {
  for (std::int32_t i = 0; i < 19; ++i) {
    const SubgraphSpec& spec = subgraphSpecs()[i];
    Subgraph& sg = sim.subgraph(i);
    EXPECT_STREQ(sg.name.c_str(), spec.name) << i;
    EXPECT_EQ(sg.primary_colour, spec.colour) << i;
    EXPECT_EQ(sg.draw_style, i < 7 ? 4 : 5) << i;
    EXPECT_EQ(sg.line_width, i < 7 ? 2 : 0) << i;
    EXPECT_EQ(sg.third_style, i < 7 ? 1 : 0) << i;
  }
  EXPECT_STREQ(sim.subgraph(2).name.c_str(), "Zero Gamma");
  EXPECT_EQ(sim.subgraph(2).primary_colour, 255u + 256u * 165u);
  EXPECT_STREQ(sim.subgraph(11).name.c_str(), "5 Minute Max Change Call/Put GEX Strike");
  EXPECT_EQ(sim.subgraph(11).primary_colour, 93u + 256u * 214u + 65536u * 245u);
  EXPECT_STREQ(sim.subgraph(18).name.c_str(), "30 Minute Max Change Call/Put GEX Value");
  EXPECT_TRUE(sim.subgraph(19).name.empty());
}

TEST_F(DefaultsCall, TouchesNoStoredValueAndDrawsNothing) {
  EXPECT_TRUE(sim.storedInts().ever_set.empty());
  EXPECT_TRUE(sim.storedTimes().ever_set.empty());
  EXPECT_TRUE(sim.storedTexts().ever_set.empty());
  EXPECT_TRUE(sim.storedPointers().ever_set.empty());
  EXPECT_TRUE(sim.drawings().empty());
  EXPECT_TRUE(sim.lastCall().requests.empty());
  EXPECT_TRUE(sim.lastCall().log.empty());
}

TEST(DefaultsCallHost, SmallHostGetsOnlyTheSlotsItHas) {
  StudyInput inputs[3];
  Subgraph subgraphs[2];
  StudyHost host;
  host.Inputs = inputs;
  host.InputCount = 3;
  host.Subgraphs = subgraphs;
  host.SubgraphCount = 2;
  host.IsDefaultsCall = 1;
  studyFunction(host);
  EXPECT_STREQ(inputs[2].name.c_str(), "Ticker (e.g. SPX, NDX, ES_SPX, NQ_NDX, SPY, AAPL...)");
  EXPECT_STREQ(subgraphs[1].name.c_str(), "Major Put Gamma by Volume");
  // Update calls on such a host read clamped slots and must stay safe; no host operations.
  host.IsDefaultsCall = 0;
  host.IsFullRecalc = 1;
  studyFunction(host);
  host.IsRemovalCall = 1;
  studyFunction(host);
}

TEST(DefaultsCallHost, HostWithoutInputsOrSubgraphsIsLeftAlone) {
  StudyInput inputs[1];
  StudyHost host;
  host.IsDefaultsCall = 1;
  studyFunction(host);
  EXPECT_TRUE(host.StudyTitle.empty());
  host.Inputs = inputs;
  host.InputCount = 1;
  studyFunction(host);  // no subgraphs
  EXPECT_TRUE(host.StudyTitle.empty());
  EXPECT_TRUE(inputs[0].name.empty());
  EXPECT_EQ(host.AlwaysCallSetting, 0);
}

}  // namespace
}  // namespace ostrel
