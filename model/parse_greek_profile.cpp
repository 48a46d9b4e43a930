#include "model/parse_greek_profile.h"

#include "host/out_of_memory.h"
#include "model/json_document.h"
#include "model/profile_json.h"

namespace ostrel {
namespace {

constexpr const char* kGreekParseError = "Greek Profile json parse error. Retrying.";

void readContracts(const json::Value* contracts, GreekData& data) {
  const std::size_t count = json::arraySize(contracts);
  data.strike_prices.reserve(count);
  data.value1.reserve(count);
  data.value2.reserve(count);
  data.value3.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    const json::Value& entry = json::arrayElement(*contracts, k);
    if (json::arraySize(&entry) < 5) continue;
    const float value = elementFloat(entry, 3);
    data.strike_prices.push_back(elementFloat(entry, 0));
    data.value1.push_back(elementFloat(entry, 1));
    data.value2.push_back(elementFloat(entry, 2));
    data.value3.push_back(value);
    raiseMaximum(data.max_abs_value, value);
    const json::Value& priors = json::arrayElement(entry, 4);
    const std::size_t prior_count = json::arraySize(&priors);
    for (std::size_t p = 0; p < prior_count; ++p) {
      const float prior = elementFloat(priors, p);
      raiseMaximum(data.max_abs_value, prior);
      data.priors.push_back(prior);
    }
  }
}

void fillGreekData(const json::Value& root, std::int32_t timestamp, GreekData& data) {
  data.timestamp = timestamp;
  assignText(data.ticker, json::readString(json::findMember(&root, "ticker")));
  data.spot = memberFloat(root, "spot");
  data.major_positive = memberFloat(root, "major_positive");
  data.major_negative = memberFloat(root, "major_negative");
  data.major_long_gamma = memberFloat(root, "major_long_gamma");
  data.major_short_gamma = memberFloat(root, "major_short_gamma");
  readContracts(json::findMember(&root, "mini_contracts"), data);
  data.max_abs_value += 0.001f;
}

}  // namespace

ParseOutcome parseGreekProfile(StudyHost& host, const char* const* response_text,
                               GreekData* p_greek_data) {
  return parseProfileAnswer(host, response_text, p_greek_data, "Ostrel: p_greek_data is null.",
                            kGreekParseError, fillGreekData);
}

}  // namespace ostrel
