#include "study/study_function.h"

#include "host/host_calls.h"
#include "host/out_of_memory.h"
#include "render/drawing_cleanup.h"
#include "service/profile_records.h"
#include "service/profile_url.h"
#include "service/scheduler.h"
#include "study/carry_forward.h"
#include "study/input_halts.h"
#include "study/input_ids.h"
#include "study/input_readers.h"
#include "study/input_table.h"
#include "study/premiums.h"
#include "study/request_window.h"
#include "study/state_keys.h"
#include "study/subgraph_table.h"
#include "study/text_normalise.h"

namespace ostrel {

namespace {

constexpr const char* kTitle = "Gex Profile";

// The platform asks for the defaults once: a text lost to a failed allocation stays empty, so
// the user is told.
void declareDefaults(StudyHost& host) {
  host.StudyTitle = kTitle;
  host.RegionSetting = 0;
  host.LoopModeSetting = 0;
  host.AlwaysCallSetting = 1;
  bool complete = host.StudyTitle == kTitle;
  if (!declareInputs(host)) complete = false;
  if (!declareSubgraphs(host)) complete = false;
  if (!complete) host::logMessage(host, kSettingNamesLost, 1);
}

void runUpdate(StudyHost& host) {
  const Premiums premiums = readPremiums(host);

  if (host.IsRemovalCall != 0 || host.IsSuspended != 0) {
    removeAllDrawings(host);
    if (host.IsRemovalCall != 0) {
      releaseProfileRecords(host);
    } else {
      takeAnswerWhileSuspended(host, premiums.additive, premiums.multiplicative);
    }
    return;
  }

  // The history is reset here too, before anything that needs memory: a call that runs out of
  // it later still leaves the recalculation's history request due.
  if (host.IsFullRecalc != 0) {
    host::setStoredInt(host, key::profile_state, Due);
    host::setStoredInt(host, key::history_state, Due);
    host::setStoredInt(host, key::requests_halted, 0);
    sweepStaleDrawings(host);
  }

  // Normalised after the removal and recalculation steps, which do not need it and must not be
  // lost to a failed allocation.
  const NormalisedText futures_target =
      normaliseText(readText(host::input(host, in::kFuturesTarget)));

  const NormalisedText ticker = normaliseTicker(readText(host::input(host, in::kTicker)));
  const std::int32_t package = readIndex(host::input(host, in::kPackage));
  const std::int32_t kind = readIndex(host::input(host, in::kGreek));

  std::int32_t drawingKey = 8;
  applyInputHalts(host, package, kind, readIndex(host::input(host, in::kGexDisplay)));
  const bool window_open = requestWindowOpen(host);

  // Copied when a conversion may run, since it may rewrite inputs while the key is in use;
  // otherwise the slot's text is used in place (no allocation on an ordinary call).
  const char* api_key = readText(host::input(host, in::kApiKey));
  HostString api_key_copy;
  if (!futures_target.empty()) {
    assignText(api_key_copy, api_key);
    api_key = api_key_copy.c_str();
  }
  const std::int32_t interval = readInteger(host::input(host, in::kRequestInterval));

  carryForwardLevels(host);

  ScheduleArgs args{};
  args.package = package;
  args.kind = kind;
  args.api_key = api_key;
  args.ticker = ticker.c_str();
  args.futures_target = futures_target.c_str();
  args.interval_seconds = interval;
  args.additive = premiums.additive;
  args.multiplicative = premiums.multiplicative;
  args.family = profileFamily(kind);
  args.window_open = window_open;
  scheduleRequests(host, args, drawingKey);
}

}  // namespace

void runStudy(StudyHost& host) {
  if (!host::hasInputsAndSubgraphs(host)) return;
  if (host.IsDefaultsCall != 0) {
    declareDefaults(host);
    return;
  }
  runUpdate(host);
}

}  // namespace ostrel
