#include "sim/soak_entry.h"

#include "sim/study_loader.h"

namespace ostrel::sim {

namespace {

class DirectEntry final : public SoakEntry {
 public:
  DirectEntry() : study_(linkedStudy().function) {}
  const char* name() const noexcept override { return "direct"; }
  const CallRecord& call(SimHost& chart, const CallScript& script) override {
    return chart.runCall(study_, script);
  }

 private:
  StudyFunction study_;
};

}  // namespace

std::unique_ptr<SoakEntry> makeDirectEntry() { return std::make_unique<DirectEntry>(); }

std::unique_ptr<SoakEntry> makePlatformEntry(std::string& error) {
  // The platform binding and its simulator plug in here: an entry whose call() runs
  // scsf_OstrelLevels on the platform's record mirrored from `chart`.
  error = "the platform entry is not wired into the soak yet (sim/soak_entry.cpp)";
  return nullptr;
}

}  // namespace ostrel::sim
