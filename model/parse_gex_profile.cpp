#include "model/parse_gex_profile.h"

#include "host/out_of_memory.h"
#include "model/json_document.h"
#include "model/profile_json.h"

namespace ostrel {
namespace {

constexpr const char* kGexParseError = "GEX Profile json parse error. Retrying.";

void readStrikes(const json::Value* strikes, GexData& data) {
  const std::size_t count = json::arraySize(strikes);
  data.strike_prices.reserve(count);
  data.gex_vol.reserve(count);
  data.gex_oi.reserve(count);
  // The maxima stay in locals while the sequences grow, and go back to the record at the end.
  float max_vol = data.max_abs_vol;
  float max_oi = data.max_abs_oi;
  float max_all = data.max_abs_all;
  for (std::size_t k = 0; k < count; ++k) {
    const json::Value& entry = json::arrayElement(*strikes, k);
    if (json::arraySize(&entry) < 4) continue;
    const float vol = elementFloat(entry, 1);
    const float oi = elementFloat(entry, 2);
    data.strike_prices.push_back(elementFloat(entry, 0));
    data.gex_vol.push_back(vol);
    data.gex_oi.push_back(oi);
    raiseMaximum(max_vol, vol);
    raiseMaximum(max_oi, oi);
    // max_abs_all follows the two maxima before this strike's priors are seen, so the last
    // strike's priors never reach it.
    if (max_vol > max_all) max_all = max_vol;
    if (max_oi > max_all) max_all = max_oi;
    const json::Value& priors = json::arrayElement(entry, 3);
    const std::size_t prior_count = json::arraySize(&priors);
    for (std::size_t p = 0; p < prior_count; ++p) {
      const float prior = elementFloat(priors, p);
      raiseMaximum(max_vol, prior);
      data.priors.push_back(prior);
    }
  }
  data.max_abs_vol = max_vol;
  data.max_abs_oi = max_oi;
  data.max_abs_all = max_all;
}

void readMaxPriors(const json::Value* max_priors, GexData& data) {
  const std::size_t count = json::arraySize(max_priors);
  for (std::size_t k = 0; k < count; ++k) {
    const json::Value& entry = json::arrayElement(*max_priors, k);
    if (json::arraySize(&entry) < 2) continue;
    data.max_priors.push_back({elementFloat(entry, 0), elementFloat(entry, 1)});
  }
}

void fillGexData(const json::Value& root, std::int32_t timestamp, GexData& data) {
  data.timestamp = timestamp;
  assignText(data.ticker, json::readString(json::findMember(&root, "ticker")));
  data.spot = memberFloat(root, "spot");
  data.zero_gamma = memberFloat(root, "zero_gamma");
  data.major_pos_vol = memberFloat(root, "major_pos_vol");
  data.major_pos_oi = memberFloat(root, "major_pos_oi");
  data.major_neg_vol = memberFloat(root, "major_neg_vol");
  data.major_neg_oi = memberFloat(root, "major_neg_oi");
  data.sum_gex_vol = memberFloat(root, "sum_gex_vol");
  data.sum_gex_oi = memberFloat(root, "sum_gex_oi");
  data.delta_risk_reversal = memberFloat(root, "delta_risk_reversal");
  readStrikes(json::findMember(&root, "strikes"), data);
  data.max_abs_vol += 0.001f;
  data.max_abs_oi += 0.001f;
  data.max_abs_all += 0.001f;
  readMaxPriors(json::findMember(&root, "max_priors"), data);
}

}  // namespace

ParseOutcome parseGexProfile(StudyHost& host, const char* const* response_text,
                             GexData* p_gex_data) {
  return parseProfileAnswer(host, response_text, p_gex_data, "Ostrel: p_gex_data is null.",
                            kGexParseError, fillGexData);
}

}  // namespace ostrel
