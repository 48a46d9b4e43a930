#include "soak/chart.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "model/gex_data.h"
#include "model/greek_data.h"
#include "soak/memory.h"
#include "study/input_ids.h"
#include "study/state_keys.h"

namespace ostrel::soak {

namespace {

constexpr std::int64_t kMicrosPerDay = 86400LL * 1000000LL;
constexpr std::int64_t kMicrosPerMinute = 60LL * 1000000LL;
constexpr std::int64_t kDaysTo1970 = 25569;
constexpr const char* kNewYork = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
constexpr std::int64_t kWindowStart = 9 * 3600 + 30 * 60;  // the inputs' defaults
constexpr std::int64_t kWindowEnd = 23 * 3600;

// The call in progress on this thread, for the study's direct request.
struct DirectContext {
  SoakNetwork* network = nullptr;
  std::int64_t unix_now = 0;
  RequestCounters* counters = nullptr;
};
thread_local DirectContext t_direct;

std::int32_t directGet(StudyHost*, const DirectHttpsRequest* request, DirectHttpsResult* result) {
  if (result == nullptr) return 0;
  if (t_direct.network == nullptr || request == nullptr || request->path == nullptr) {
    result->ok = 0;
    result->error.assign("no network outside a soak call");
    return 0;
  }
  ++t_direct.counters->conversions;
  const bool ok = t_direct.network->direct(*request, t_direct.unix_now, *result);
  if (!ok || result->status != 200) ++t_direct.counters->conversion_failures;
  return result->ok;
}

template <typename T>
std::int64_t capacityBytes(const std::vector<T>& v) {
  return static_cast<std::int64_t>(v.capacity() * sizeof(T));
}

// What releasing the two profile records gives back to the heap, at least.
std::int64_t recordBytes(const void* gex, const void* greek) {
  std::int64_t n = 0;
  if (gex != nullptr) {
    const auto* g = static_cast<const GexData*>(gex);
    n += static_cast<std::int64_t>(sizeof(GexData)) + capacityBytes(g->strike_prices) +
         capacityBytes(g->gex_vol) + capacityBytes(g->gex_oi) + capacityBytes(g->priors) +
         capacityBytes(g->max_priors);
    for (const std::vector<float>& p : g->max_priors) n += capacityBytes(p);
  }
  if (greek != nullptr) {
    const auto* g = static_cast<const GreekData*>(greek);
    n += static_cast<std::int64_t>(sizeof(GreekData)) + capacityBytes(g->strike_prices) +
         capacityBytes(g->value1) + capacityBytes(g->value2) + capacityBytes(g->value3) +
         capacityBytes(g->priors);
  }
  return n;
}

}  // namespace

SoakChart::SoakChart(ChartSetup setup, const SoakOptions& options, SoakEntry& entry,
                     SoakNetwork& network, SoakViolations& violations)
    : setup_(std::move(setup)),
      options_(options),
      entry_(entry),
      network_(network),
      violations_(violations) {}

SoakChart::~SoakChart() {
  if (sim_) entry_.drop(*sim_);
}

CheckContext SoakChart::context(long call_number, std::int64_t unix_now) {
  CheckContext ctx;
  ctx.violations = &violations_;
  ctx.call = call_number;
  ctx.unix_time = unix_now;
  ctx.instance = &instance_name_;
  return ctx;
}

DateTime SoakChart::hostTime(std::int64_t unix_now) {
  StudyHost& h = sim_->host();
  const DateTime utc = unix_now * 1000000LL + kDaysTo1970 * kMicrosPerDay;
  return h.Ops.ZoneTimeToHost(&h, utc, "UTC+00");
}

void SoakChart::updateBars(DateTime now) {
  const auto count = static_cast<std::int32_t>((now - bars_start_) / kMicrosPerMinute + 1);
  if (count == bar_count_) return;
  sim_->setBars(bars_start_, kMicrosPerMinute, count);
  bar_count_ = count;
}

void SoakChart::clearSubgraphs() {
  for (std::int32_t k = 0; k < sim::SimHost::kSubgraphCount; ++k) {
    Subgraph& sg = sim_->subgraph(k);
    if (sg.values != nullptr) std::fill(sg.values, sg.values + sg.value_count, 0.0f);
  }
}

void SoakChart::load(std::int64_t unix_now, bool new_bars, long call_number,
                     RequestCounters& counters) {
  sim_ = std::make_unique<sim::SimHost>();
  instance_name_ = std::string(setup_.name) + " #" + std::to_string(++instances_);
  const CheckContext ctx = context(call_number, unix_now);
  if (!sim_->setHostZone(setup_.host_zone))
    ctx.report(std::string("host zone not readable: ") + setup_.host_zone);
  sim_->host().Ops.DirectHttpsGet = &directGet;
  const DateTime now = hostTime(unix_now);
  if (new_bars || bars_start_ == 0) bars_start_ = now - now % kMicrosPerDay;
  bar_count_ = 0;
  updateBars(now);
  StudyHost& h = sim_->host();
  h.CurrentTime = h.ClockTime = now;
  h.CurrentBarIndex = bar_count_ - 1;

  h.IsDefaultsCall = 1;
  const sim::CallRecord& rec = entry_.call(*sim_, sim::CallScript());
  h.IsDefaultsCall = 0;
  ++counters.calls;

  if (!entry_.callProblem().empty()) ctx.report(entry_.callProblem());
  checkLogLines(rec, options_.api_key, ctx);
  int touched = 0;
  sim_->intStore().forEach([&](std::int32_t, std::int32_t) { ++touched; });
  sim_->pointerStore().forEach([&](std::int32_t, void*) { ++touched; });
  if (touched != 0 || !sim_->drawings().empty() || !rec.requests.empty()) {
    ctx.report("the defaults call touched stored values, drew or sent something");
  }

  sim_->input(in::kPackage).setCustomList(setup_.package);
  sim_->input(in::kApiKey).setText(options_.api_key.c_str());
  sim_->input(in::kTicker).setText(setup_.ticker);
  sim_->input(in::kGreek).setCustomList(setup_.kind);
  sim_->input(in::kGexDisplay).setCustomList(setup_.display);
  sim_->input(in::kRequestInterval).setInteger(setup_.interval_seconds);
  sim_->input(in::kFuturesTarget).setText(setup_.future);

  DrawingSpec user;
  user.DrawingType = 3;  // a horizontal line of the user's own
  user.BeginValue = user.EndValue = 1.0f;
  drawings_ = DrawingInvariant();
  drawings_.setUserDrawing(sim_->addDrawing(user, /*study_own=*/false));
  keys_report_.clear();
  premiums_report_.clear();
  ledger_ = std::make_unique<RequestLedger>(setup_.interval_seconds, &counters);
  last_placed_ = false;
  last_call_ = 0;
}

void SoakChart::remove(std::int64_t unix_now, long call_number, RequestCounters& counters) {
  if (!sim_) return;
  ledger_->setCounters(&counters);
  ledger_->close(/*run_end=*/false);
  const CheckContext ctx = context(call_number, unix_now);
  StudyHost& h = sim_->host();
  h.CurrentTime = h.ClockTime = hostTime(unix_now);
  const HeldRecords held = heldRecords(*sim_);
  const std::int64_t released = recordBytes(held.gex, held.greek);
  const std::int64_t before = liveHeapBytes();
  h.IsRemovalCall = 1;
  const sim::CallRecord& rec = entry_.call(*sim_, sim::CallScript());
  h.IsRemovalCall = 0;
  const std::int64_t after = liveHeapBytes();
  ++counters.calls;

  checkLogLines(rec, options_.api_key, ctx);
  drawings_.afterCall(*sim_, rec, false, ctx);
  const std::size_t left = studyDrawingCount(*sim_);
  if (left != 0) ctx.report(std::to_string(left) + " drawings of the study left after removal");
  const HeldRecords kept = heldRecords(*sim_);
  if (kept.gex != nullptr || kept.greek != nullptr) {
    ctx.report("the removal call left a profile record's stored pointer set");
  } else if (before > 0 && released > 0 && before - after < released) {
    ctx.report("the removal call gave back " + std::to_string(before - after) +
               " heap bytes, less than the " + std::to_string(released) +
               " bytes of the profile records");
  }
  if (!entry_.drop(*sim_)) ctx.report("the binding still held the instance after the removal call");
  sim_.reset();
  ledger_.reset();
}

void SoakChart::call(std::int64_t unix_now, CallKind kind, long call_number,
                     RequestCounters& counters) {
  if (!sim_) return;
  const bool full_recalc = kind == CallKind::kFullRecalc;
  const bool suspended = kind == CallKind::kSuspended;
  const DateTime now = hostTime(unix_now);
  updateBars(now);
  StudyHost& h = sim_->host();
  h.CurrentTime = h.ClockTime = now;
  h.CurrentBarIndex = bar_count_ - 1;
  h.IsFullRecalc = full_recalc ? 1 : 0;
  h.IsSuspended = suspended ? 1 : 0;
  if (full_recalc) clearSubgraphs();
  ledger_->setCounters(&counters);
  sim::CallScript script;
  ledger_->beforeCall(*sim_, script);
  const HeldRecords records = heldRecords(*sim_);
  t_direct = DirectContext{&network_, unix_now, &counters};
  const sim::CallRecord& rec = entry_.call(*sim_, script);
  t_direct = DirectContext();
  h.IsFullRecalc = 0;
  h.IsSuspended = 0;

  const CheckContext ctx = context(call_number, unix_now);
  if (!entry_.callProblem().empty()) ctx.report(entry_.callProblem());
  checkLogLines(rec, options_.api_key, ctx);
  drawings_.afterCall(*sim_, rec, full_recalc, ctx);
  checkStoredKeys(*sim_, ctx, keys_report_);
  checkPremiums(*sim_, ctx, premiums_report_);
  if (suspended) {
    checkHiddenCall(*sim_, rec, records, ctx, hidden_report_);
  } else {
    hidden_report_.clear();  // each stretch of hiding is checked afresh
  }
  CallFacts facts;
  facts.full_recalc = full_recalc;
  facts.suspended = suspended;
  const DateTime ny = h.Ops.HostTimeToZone(&h, now, kNewYork);
  const std::int64_t second = (ny % kMicrosPerDay) / 1000000LL;
  facts.window_open = second >= kWindowStart && second <= kWindowEnd;
  facts.unix_now = unix_now;
  facts.step_seconds = last_call_ != 0 ? unix_now - last_call_ : 0;
  ledger_->afterCall(*sim_, rec, facts, ctx);
  last_placed_ = !rec.placed.empty();
  for (const sim::RequestRecord& r : rec.requests) {
    if (r.started) ledger_->carried(r, network_.carry(r, unix_now));
  }
  last_call_ = unix_now;
}

bool SoakChart::tamper() {
  if (!sim_) return false;
  for (std::int32_t k = key::first_drawing_slot; k <= key::last_drawing_slot_key; ++k) {
    const std::int32_t* slot = sim_->intStore().find(k);
    if (slot == nullptr || *slot == 0 || sim_->drawings().find(*slot) == nullptr) continue;
    StudyHost& h = sim_->host();
    return h.Ops.RemoveDrawing(&h, h.ChartId, *slot) != 0;
  }
  return false;
}

void SoakChart::finish() {
  if (ledger_) ledger_->close(/*run_end=*/true);
}

}  // namespace ostrel::soak
