#include "soak/entry.h"

#include <map>
#include <string>

#include "sim/platform_record.h"
#include "sim/study_loader.h"

namespace ostrel::soak {

namespace {

class DirectEntry final : public SoakEntry {
 public:
  DirectEntry() : study_(sim::linkedStudy().function) {}
  const char* name() const noexcept override { return "direct"; }
  const sim::CallRecord& call(sim::SimHost& chart, const sim::CallScript& script) override {
    return chart.runCall(study_, script);
  }
  bool drop(sim::SimHost&) override { return true; }
  const std::string& callProblem() const noexcept override { return none_; }

 private:
  sim::StudyFunction study_;
  std::string none_;
};

class PlatformEntry final : public SoakEntry {
 public:
  explicit PlatformEntry(sim::PlatformStudyFunction study) : study_(study) {}
  // Every SimHost is dropped while it lives (SoakChart does, at the latest in its destructor):
  // a record left here would make its last call on a SimHost that is gone.
  ~PlatformEntry() override = default;
  const char* name() const noexcept override { return "platform"; }

  const sim::CallRecord& call(sim::SimHost& chart, const sim::CallScript& script) override {
    std::unique_ptr<sim::PlatformRecord>& record = records_[&chart];
    if (!record) record = std::make_unique<sim::PlatformRecord>(chart, study_);
    problem_.clear();
    // The simulated platform gives an answer the id of the oldest request not yet answered. The
    // soak carries every request it sees started and answers it in the instance's next call,
    // so exactly that request is outstanding when an answer comes (and none otherwise, but at
    // a removal, which supersedes it): else the answer would carry another request's id.
    const std::size_t outstanding = record->unansweredRequests();
    const std::size_t answered = script.response_ready ? 1 : 0;
    if (chart.host().IsRemovalCall == 0 && outstanding != answered) {
      problem_ = "the platform holds " + std::to_string(outstanding) +
                 " unanswered requests where the call " +
                 (answered != 0 ? "answers one" : "answers none") +
                 ": the answer's request id would not be its request's";
    }
    return chart.runCall(sim::PlatformRecord::studyFunction(), script);
  }

  const std::string& callProblem() const noexcept override { return problem_; }

  bool drop(sim::SimHost& chart) override {
    const auto it = records_.find(&chart);
    if (it == records_.end()) return true;
    const bool released = !it->second->holdsBindingState();
    records_.erase(it);  // makes the platform's last call if the binding still holds state
    return released;
  }

 private:
  sim::PlatformStudyFunction study_;
  std::string problem_;
  std::map<const sim::SimHost*, std::unique_ptr<sim::PlatformRecord>> records_;
};

}  // namespace

std::unique_ptr<SoakEntry> makeDirectEntry() { return std::make_unique<DirectEntry>(); }

std::unique_ptr<SoakEntry> makePlatformEntry(std::string& error) {
  const sim::StudyEntry study = sim::linkedPlatformStudy();
  if (study.platform == nullptr) {
    error = "this build has no platform entry";
    return nullptr;
  }
  return std::make_unique<PlatformEntry>(study.platform);
}

}  // namespace ostrel::soak
