#include "demo/session.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "demo/capture.h"
#include "demo/transport.h"
#include "mock/ny_time.h"
#include "mock/tickers.h"
#include "sim/study_loader.h"
#include "study/input_ids.h"

namespace ostrel::demo {

// The simulated host's records of a call (a local `sim` names the host itself below).
using sim::CallRecord;
using sim::CallScript;
using sim::LogEntry;
using sim::RequestRecord;
using sim::StudyFunction;

namespace {

constexpr std::int64_t kMicrosPerDay = 86400LL * 1000000LL;
constexpr std::int64_t kDaysTo1970 = 25569;

DateTime hostTime(std::int64_t ny_day, std::int64_t second) {
  return (ny_day + kDaysTo1970) * kMicrosPerDay + second * 1000000LL;
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

void setInputs(sim::SimHost& sim, const DemoOptions& o) {
  sim.input(in::kPackage).setCustomList(o.package);
  sim.input(in::kApiKey).setText(o.api_key.c_str());
  sim.input(in::kTicker).setText(o.ticker.c_str());
  sim.input(in::kGreek).setCustomList(o.kind);
  sim.input(in::kGexDisplay).setCustomList(o.display);
  sim.input(in::kRequestInterval).setInteger(o.interval_seconds);
  sim.input(in::kFuturesTarget).setText(o.future.c_str());
}

class Progress {
 public:
  explicit Progress(bool on) : on_(on), tty_(on && isatty(2) != 0) {}
  void show(double fraction, const std::string& clock, const DemoStats& s) {
    if (!on_) return;
    const int percent = static_cast<int>(fraction * 100.0);
    if (percent == last_ || (!tty_ && percent % 10 != 0)) return;
    last_ = percent;
    char bar[41];
    const int filled = percent * 40 / 100;
    for (int i = 0; i < 40; ++i) bar[i] = i < filled ? '#' : '.';
    bar[40] = '\0';
    std::fprintf(stderr, "%s[%s] %3d%%  %s New York  requests %ld  drawn %ld%s", tty_ ? "\r" : "",
                 bar, percent, clock.c_str(), s.profile_requests, s.profile_drawn,
                 tty_ ? "" : "\n");
    std::fflush(stderr);
  }
  void done() {
    if (on_ && tty_) std::fprintf(stderr, "\n");
  }

 private:
  bool on_;
  bool tty_;
  int last_ = -1;
};

}  // namespace

bool runDemoSession(const DemoOptions& o, int port, mock::MarketModel& market, DemoResult& out,
                    std::string& error) {
  std::int64_t session_day = 0;
  if (!mock::parseClockText(o.date + " 00:00:00", session_day)) {
    error = "bad date " + o.date;
    return false;
  }
  const std::int64_t day = mock::toNewYork(session_day).day;
  const int total_bars = (o.end_second - o.start_second + 59) / 60;
  const mock::TickerSpec* spec = mock::findTicker(upper(o.ticker));

  sim::SimHost sim;
  const StudyFunction study = sim::linkedStudy().function;
  DemoTransport transport("127.0.0.1", port, o.timeout_seconds);
  transport.installDirect(sim.host());
  sim.setBars(hostTime(day, o.start_second), 60LL * 1000000LL, 1);
  sim.runDefaults(study);
  setInputs(sim, o);

  DemoCapture capture(total_bars);
  Progress progress(o.progress);
  CallScript next;
  bool pending_is_profile = false;
  long injected_turn = 0;
  int last_bars = 1;
  std::int64_t last_candle_second = -1;
  const std::int64_t end = o.end_second;
  // A short tail after the closing recalculation lets the history and one more profile arrive.
  const std::int64_t tail_end = end + 3 * std::max(o.interval_seconds, o.step_seconds) + 2;
  for (std::int64_t second = o.start_second; second <= tail_end; second += o.step_seconds) {
    const std::int64_t since = second - o.start_second;
    const std::int64_t period = 60LL * o.recalc_minutes;
    const bool hourly = period > 0 && second < end && since > 0 &&
                        since / period != (since - o.step_seconds) / period;
    const bool closing = second >= end && second - o.step_seconds < end;
    const bool recalc = since == 0 || hourly || closing;
    const int bars = std::min(total_bars, static_cast<int>((second - o.start_second) / 60) + 1);
    if (bars != last_bars) {
      sim.setBars(hostTime(day, o.start_second), 60LL * 1000000LL, bars);
      last_bars = bars;
    }
    StudyHost& h = sim.host();
    h.CurrentTime = h.ClockTime = hostTime(day, second);
    h.CurrentBarIndex = bars - 1;
    h.IsFullRecalc = recalc ? 1 : 0;
    const std::int64_t now_unix = mock::fromNewYork(day, second);
    transport.setClock(std::to_string(now_unix));

    const bool answering = next.response_ready;
    const CallRecord& rec = sim.runCall(study, next);
    h.IsFullRecalc = 0;
    next = CallScript();
    DemoStats& st = out.stats;
    ++st.calls;
    if (recalc) ++st.full_recalcs;
    const std::string clock = mock::formatNewYork(now_unix).substr(11);
    bool halting = false;
    for (const LogEntry& e : rec.log) {
      out.log.push_back(e);
      out.log_times.push_back(clock);
      ++st.messages[e.text];
      halting = halting || e.text.find("Halting") != std::string::npos ||
                e.text.find("halting") != std::string::npos;
    }
    if (answering && pending_is_profile) {
      if (!rec.placed.empty())
        ++st.profile_drawn;
      else
        ++st.profile_not_drawn;
    }
    st.halted = st.halted || halting;

    for (const RequestRecord& r : rec.requests) {
      if (!r.started) continue;
      const bool is_history = r.url.find("/hist/") != std::string::npos;
      std::string fault;
      if (!is_history) {
        ++st.profile_requests;
        if (!o.faults.empty() && st.profile_requests % o.fault_every == 0) {
          fault = o.faults[static_cast<std::size_t>(injected_turn++ %
                                                    static_cast<long>(o.faults.size()))];
          ++st.faults_injected;
        }
      } else {
        ++st.history_requests;
      }
      const HttpOutcome answer = transport.send(pathOfUrl(r.url), r.body ? &*r.body : nullptr,
                                                r.headers, std::to_string(now_unix), fault);
      if (!answer.ok) ++st.http_failures;
      next.response_ready = true;
      next.response_text = hostAnswerText(answer);
      pending_is_profile = !is_history;
    }

    // Candles: the service's price, each second since the last call, on the chart's prices.
    const float mul = static_cast<float>(sim.input(in::kMultiplicativePremium).double_value);
    const float add = static_cast<float>(sim.input(in::kAdditivePremium).double_value);
    if (spec != nullptr) {
      for (std::int64_t s =
               std::max(last_candle_second + 1, static_cast<std::int64_t>(o.start_second));
           s <= std::min(second, end - 1); ++s) {
        const float spot = static_cast<float>(market.spotAt(*spec, mock::fromNewYork(day, s)));
        capture.addPrice(static_cast<int>((s - o.start_second) / 60), spot * mul + add);
      }
    }
    last_candle_second = std::max(last_candle_second, std::min(second, end - 1));
    st.multiplier = mul;
    st.additive = add;
    progress.show(static_cast<double>(second - o.start_second) /
                      static_cast<double>(tail_end - o.start_second),
                  clock, st);
  }
  progress.done();
  out.stats.conversions = transport.directRequests();
  out.stats.conversion_failures = transport.directFailures();
  capture.finish(sim, o, out);
  sim.releaseStudy(study);
  return true;
}

}  // namespace ostrel::demo
