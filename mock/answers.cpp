#include "mock/answers.h"

#include "mock/json_writer.h"

namespace ostrel::mock {

std::string gexAnswer(const std::string& ticker, const GexSnapshot& s) {
  const GexProfile& p = s.now;
  JsonWriter w;
  w.beginObject();
  w.key("timestamp").integer(s.timestamp);
  w.key("ticker").string(ticker);
  w.key("spot").number(p.spot);
  w.key("zero_gamma").number(p.zero_gamma);
  w.key("major_pos_vol").number(p.major_pos_vol);
  w.key("major_pos_oi").number(p.major_pos_oi);
  w.key("major_neg_vol").number(p.major_neg_vol);
  w.key("major_neg_oi").number(p.major_neg_oi);
  w.key("sum_gex_vol").number(p.sum_gex_vol);
  w.key("sum_gex_oi").number(p.sum_gex_oi);
  w.key("delta_risk_reversal").number(p.delta_risk_reversal, 4);
  w.key("strikes").beginArray();
  for (std::size_t i = 0; i < p.strikes.size(); ++i) {
    bool any = p.gex_vol[i] != 0.0 || p.gex_oi[i] != 0.0;
    for (const auto& prior : s.prior_vol) any = any || prior[i] != 0.0;
    if (!any) continue;
    w.beginArray().number(p.strikes[i]).number(p.gex_vol[i], 3).number(p.gex_oi[i], 3);
    w.beginArray();
    for (const auto& prior : s.prior_vol) w.number(prior[i], 3);
    w.endArray().endArray();
  }
  w.endArray();
  w.key("max_priors").beginArray();
  for (const auto& entry : s.max_priors) {
    w.beginArray().number(entry.first).number(entry.second, 3).endArray();
  }
  w.endArray();
  w.endObject();
  return w.take();
}

std::string greekAnswer(const std::string& ticker, const GreekSnapshot& s) {
  const GreekProfile& p = s.now;
  JsonWriter w;
  w.beginObject();
  w.key("timestamp").integer(s.timestamp);
  w.key("ticker").string(ticker);
  w.key("spot").number(p.spot);
  w.key("major_positive").number(p.major_positive);
  w.key("major_negative").number(p.major_negative);
  w.key("major_long_gamma").number(p.major_long_gamma);
  w.key("major_short_gamma").number(p.major_short_gamma);
  w.key("mini_contracts").beginArray();
  for (std::size_t i = 0; i < p.strikes.size(); ++i) {
    bool any = p.value3[i] != 0.0;
    for (const auto& prior : s.priors) any = any || prior[i] != 0.0;
    if (!any) continue;
    w.beginArray().number(p.strikes[i]).number(p.value1[i]).number(p.value2[i]).number(p.value3[i]);
    w.beginArray();
    for (const auto& prior : s.priors) w.number(prior[i]);
    w.endArray().endArray();
  }
  w.endArray();
  w.endObject();
  return w.take();
}

std::string historyAnswer(const std::vector<HistoryPoint>& points) {
  JsonWriter w;
  w.beginArray();
  for (const HistoryPoint& p : points) {
    w.beginObject();
    w.key("timestamp").integer(p.timestamp);
    w.key("major_call_gamma").number(p.major_call_gamma);
    w.key("major_put_gamma").number(p.major_put_gamma);
    w.key("zero_gamma").number(p.zero_gamma);
    w.endObject();
  }
  w.endArray();
  return w.take();
}

}  // namespace ostrel::mock
