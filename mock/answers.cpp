#include "mock/answers.h"

#include "jsonout/json_writer.h"

namespace ostrel::mock {

std::string gexAnswer(const std::string& ticker, const GexSnapshot& s) {
  const GexProfile& p = s.now;
  JsonWriter w(JsonWriter::Layout::one_line);
  w.beginObject();
  w.key("timestamp").integer(s.timestamp);
  w.key("ticker").value(ticker);
  w.key("spot").fixed(p.spot);
  w.key("zero_gamma").fixed(p.zero_gamma);
  w.key("major_pos_vol").fixed(p.major_pos_vol);
  w.key("major_pos_oi").fixed(p.major_pos_oi);
  w.key("major_neg_vol").fixed(p.major_neg_vol);
  w.key("major_neg_oi").fixed(p.major_neg_oi);
  w.key("sum_gex_vol").fixed(p.sum_gex_vol);
  w.key("sum_gex_oi").fixed(p.sum_gex_oi);
  w.key("delta_risk_reversal").fixed(p.delta_risk_reversal, 4);
  w.key("strikes").beginArray();
  for (std::size_t i = 0; i < p.strikes.size(); ++i) {
    bool any = p.gex_vol[i] != 0.0 || p.gex_oi[i] != 0.0;
    for (const auto& prior : s.prior_vol) any = any || prior[i] != 0.0;
    if (!any) continue;
    w.beginArray().fixed(p.strikes[i]).fixed(p.gex_vol[i], 3).fixed(p.gex_oi[i], 3);
    w.beginArray();
    for (const auto& prior : s.prior_vol) w.fixed(prior[i], 3);
    w.endArray().endArray();
  }
  w.endArray();
  w.key("max_priors").beginArray();
  for (const auto& entry : s.max_priors) {
    w.beginArray().fixed(entry.first).fixed(entry.second, 3).endArray();
  }
  w.endArray();
  w.endObject();
  return w.take();
}

std::string greekAnswer(const std::string& ticker, const GreekSnapshot& s) {
  const GreekProfile& p = s.now;
  JsonWriter w(JsonWriter::Layout::one_line);
  w.beginObject();
  w.key("timestamp").integer(s.timestamp);
  w.key("ticker").value(ticker);
  w.key("spot").fixed(p.spot);
  w.key("major_positive").fixed(p.major_positive);
  w.key("major_negative").fixed(p.major_negative);
  w.key("major_long_gamma").fixed(p.major_long_gamma);
  w.key("major_short_gamma").fixed(p.major_short_gamma);
  w.key("mini_contracts").beginArray();
  for (std::size_t i = 0; i < p.strikes.size(); ++i) {
    bool any = p.value3[i] != 0.0;
    for (const auto& prior : s.priors) any = any || prior[i] != 0.0;
    if (!any) continue;
    w.beginArray().fixed(p.strikes[i]).fixed(p.value1[i]).fixed(p.value2[i]).fixed(p.value3[i]);
    w.beginArray();
    for (const auto& prior : s.priors) w.fixed(prior[i]);
    w.endArray().endArray();
  }
  w.endArray();
  w.endObject();
  return w.take();
}

std::string historyAnswer(const std::vector<HistoryPoint>& points) {
  JsonWriter w(JsonWriter::Layout::one_line);
  w.beginArray();
  for (const HistoryPoint& p : points) {
    w.beginObject();
    w.key("timestamp").integer(p.timestamp);
    w.key("major_call_gamma").fixed(p.major_call_gamma);
    w.key("major_put_gamma").fixed(p.major_put_gamma);
    w.key("zero_gamma").fixed(p.zero_gamma);
    w.endObject();
  }
  w.endArray();
  return w.take();
}

std::string errorBody(const std::string& text) {
  JsonWriter w(JsonWriter::Layout::one_line);
  w.beginObject().key("error").value(text).endObject();
  return w.take();
}

std::string messageBody(const std::string& text) {
  JsonWriter w(JsonWriter::Layout::one_line);
  w.beginObject().key("message").value(text).endObject();
  return w.take();
}

}  // namespace ostrel::mock
