#include "bench/budget_table.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace ostrel::bench {
namespace {

std::string cpuModel() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("model name", 0) == 0) {
      const auto colon = line.find(':');
      if (colon != std::string::npos) return line.substr(colon + 2);
    }
  }
  return "unknown CPU";
}

std::string duration(double seconds) {
  char buffer[32];
  if (seconds >= 1.0) {
    std::snprintf(buffer, sizeof buffer, "%.2f s", seconds);
  } else if (seconds >= 1e-3) {
    std::snprintf(buffer, sizeof buffer, "%.2f ms", seconds * 1e3);
  } else if (seconds >= 1e-6) {
    std::snprintf(buffer, sizeof buffer, "%.1f us", seconds * 1e6);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.0f ns", seconds * 1e9);
  }
  return buffer;
}

std::string rate(double bytes_per_second) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.0f MB/s", bytes_per_second / 1e6);
  return buffer;
}

std::string number(double value, const char* format = "%.0f") {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

double counter(const Figure* f, const char* name) {
  if (f == nullptr) return 0.0;
  const auto it = f->counters.find(name);
  return it != f->counters.end() ? it->second : 0.0;
}

class Table {
 public:
  void row(const std::string& figure, const std::string& measured, const std::string& baseline,
           const std::string& ratio, const std::string& budget, const char* status) {
    std::printf("%-44s %-22s %-26s %-7s %-24s %s\n", figure.c_str(), measured.c_str(),
                baseline.c_str(), ratio.c_str(), budget.c_str(), status);
  }
  // A budget row: passes when `pass`; a missing figure fails.
  void budget(const std::string& figure, const std::string& measured, const std::string& baseline,
              const std::string& ratio, const std::string& budget_text, bool present, bool pass) {
    const char* status = !present ? "MISSING" : (pass ? "PASS" : "FAIL");
    if (!present || !pass) all_pass_ = false;
    row(figure, present ? measured : "-", present ? baseline : "-", present ? ratio : "-",
        budget_text, status);
  }
  bool allPass() const { return all_pass_; }

 private:
  bool all_pass_ = true;
};

std::string ratioText(double ratio) { return number(ratio, "%.2f"); }

void parserRows(Table& t, const CollectingReporter& r, const char* label, const char* name,
                const char* bare, const char* arg, const char* unit) {
  const Figure* f = r.find(std::string(name) + "/" + arg);
  const Figure* b = r.find(std::string(bare) + "/" + arg);
  const bool present = f != nullptr && b != nullptr && b->seconds > 0.0;
  const double ratio = present ? f->seconds / b->seconds : 0.0;
  const std::string figure = std::string(label) + ", " + arg + " " + unit + " (" +
                             number(counter(f, "answer_bytes") / 1024.0, "%.0f") + " KiB)";
  const std::string measured =
      present ? duration(f->seconds) + " " + rate(counter(f, "bytes_per_second")) : "-";
  const std::string baseline =
      present ? "bare " + duration(b->seconds) + " " + rate(counter(b, "bytes_per_second")) : "-";
  t.row(figure, measured, baseline, present ? ratioText(ratio) : "-", "-",
        present ? "info" : "MISSING");
}

// The budget: the fastest of many calls of the parse and of the bare parses, taken in turn.
void pairedParseRows(Table& t, const CollectingReporter& r) {
  const Figure* f = r.find("BM_ParseGexPaired/300");
  const double parse = counter(f, "parse_seconds");
  const double bare = counter(f, "bare_seconds");
  const double iterative = counter(f, "iterative_seconds");
  const bool present = f != nullptr && bare > 0.0;
  const std::string baseline = "bare default " + duration(bare);
  t.budget("  fastest calls, parse and bare in turn", duration(parse), baseline,
           ratioText(present ? parse / bare : 0.0), "<= 1.25 x bare default", present,
           present && parse / bare <= 1.25);
  t.row("  the same, bare iterative parse", present ? duration(iterative) : "-",
        present ? baseline : "-", present ? ratioText(iterative / bare) : "-", "-",
        present ? "info" : "MISSING");
}

}  // namespace

bool CollectingReporter::ReportContext(const Context& context) {
  (void)context;
  std::fprintf(stderr, "ostrel_bench: running");
  return true;
}

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration) continue;
    std::fputc('.', stderr);
    std::fflush(stderr);
    std::string name = run.run_name.function_name;
    if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
    Figure figure;
    if (run.error_occurred) {
      figure.error = run.error_message.empty() ? "error" : run.error_message;
      figures_[name] = figure;
      continue;
    }
    figure.seconds = run.iterations > 0
                         ? run.cpu_accumulated_time / static_cast<double>(run.iterations)
                         : run.cpu_accumulated_time;
    for (const auto& c : run.counters) figure.counters[c.first] = c.second.value;
    auto it = figures_.find(name);
    if (it == figures_.end() || !it->second.error.empty() || figure.seconds < it->second.seconds) {
      figures_[name] = figure;
    }
  }
}

const Figure* CollectingReporter::find(const std::string& name) const {
  const auto it = figures_.find(name);
  if (it == figures_.end() || !it->second.error.empty()) return nullptr;
  return &it->second;
}

bool printBudgetTable(const CollectingReporter& r) {
  std::fputc('\n', stderr);
  std::printf("Machine: %u cores (nproc), %s\n\n", std::thread::hardware_concurrency(),
              cpuModel().c_str());
  Table t;
  t.row("Figure", "Measured", "Baseline (same run)", "Ratio", "Budget", "Status");

  parserRows(t, r, "parseGexProfile", "BM_ParseGex", "BM_BareParseGex", "100", "strikes");
  parserRows(t, r, "parseGexProfile", "BM_ParseGex", "BM_BareParseGex", "300", "strikes");
  pairedParseRows(t, r);
  parserRows(t, r, "parseGexProfile", "BM_ParseGex", "BM_BareParseGex", "1000", "strikes");
  parserRows(t, r, "parseGexProfile", "BM_ParseGex", "BM_BareParseGex", "3000", "strikes");
  parserRows(t, r, "parseGreekProfile", "BM_ParseGreek", "BM_BareParseGreek", "300", "strikes");
  parserRows(t, r, "parseMajorsHistory", "BM_ParseHistory", "BM_BareParseHistory", "391", "points");

  {
    const Figure* f = r.find("BM_ParseGex/300");
    const bool kept = counter(f, "records_kept") == 1.0;
    t.budget("GexData storage, 2nd answer of same size", kept ? "same data()/capacity" : "moved",
             number(counter(f, "allocs_per_parse")) + " allocations per parse", "-",
             "not reallocated", f != nullptr, kept);
    const Figure* g = r.find("BM_ParseGreek/300");
    const bool greek_kept = counter(g, "records_kept") == 1.0;
    t.budget("GreekData storage, 2nd answer of same size", greek_kept ? "same data()" : "moved",
             number(counter(g, "allocs_per_parse")) + " allocations per parse", "-",
             "not reallocated", g != nullptr, greek_kept);
  }

  {
    const Figure* f = r.find("BM_IdleCall");
    const Figure* b = r.find("BM_InputFetch");
    const bool present = f != nullptr && b != nullptr && b->seconds > 0.0;
    const double ratio = present ? f->seconds / b->seconds : 0.0;
    t.budget("Idle update call (window open, nothing due)", present ? duration(f->seconds) : "-",
             present ? "110 input fetches " + duration(b->seconds) : "-", ratioText(ratio),
             "<= 1 us and <= 3 x", present, present && f->seconds <= 1e-6 && ratio <= 3.0);
    const Figure* h = r.find("BM_IdleHostOps");
    const bool split = present && h != nullptr;
    t.row("  its host operations, replayed bare",
          split ? duration(h->seconds) + " (" + number(counter(h, "host_ops")) + " calls)" : "-",
          "-", "-", "-", split ? "info" : "MISSING");
    const double own = split ? f->seconds - h->seconds : 0.0;
    t.row("  the study's own share (call - host ops)", split ? duration(own) : "-",
          split ? "110 input fetches " + duration(b->seconds) : "-",
          split ? ratioText(own / b->seconds) : "-", "-", split ? "info" : "MISSING");
    t.budget("  heap allocations per idle call",
             number(counter(f, "study_allocs"), "%.1f") + " study",
             number(counter(f, "all_allocs"), "%.1f") + " with the host", "-", "0", f != nullptr,
             counter(f, "all_allocs") == 0.0 && counter(f, "study_allocs") == 0.0);
  }

  {
    const Figure* f = r.find("BM_PlatformIdleCall");
    const Figure* b = r.find("BM_PlatformInputFetch");
    const bool present = f != nullptr && b != nullptr && b->seconds > 0.0;
    const double ratio = present ? f->seconds / b->seconds : 0.0;
    t.budget("Idle call through the platform binding", present ? duration(f->seconds) : "-",
             present ? "reading 110 platform inputs " + duration(b->seconds) : "-",
             ratioText(ratio), "<= 1 us and <= 3 x", present,
             present && f->seconds <= 1e-6 && ratio <= 3.0);
    const Figure* own = r.find("BM_PlatformIdleBinding");
    const bool split = present && own != nullptr;
    t.row("  the binding's own share (no study run)", split ? duration(own->seconds) : "-",
          split ? "reading 110 platform inputs " + duration(b->seconds) : "-",
          split ? ratioText(own->seconds / b->seconds) : "-", "-", split ? "info" : "MISSING");
    // The binding's own: the platform call's allocations beyond the direct idle call's.
    const Figure* direct = r.find("BM_IdleCall");
    const bool both = f != nullptr && direct != nullptr;
    const double added = both ? counter(f, "all_allocs") - counter(direct, "all_allocs") : 0.0;
    t.budget("  heap allocations the binding adds per idle call", number(added, "%.1f"),
             both ? number(counter(direct, "all_allocs"), "%.1f") + " in the direct call" : "-",
             "-", "0", both, both && added <= 0.0);
  }

  {
    const Figure* f = r.find("BM_PlatformRenderPass");
    const Figure* b = r.find("BM_PlatformRenderCalls");
    const bool present = f != nullptr && b != nullptr && b->seconds > 0.0;
    const double ratio = present ? f->seconds / b->seconds : 0.0;
    t.budget("Render pass through the platform binding, 300 strikes, Both",
             present ? duration(f->seconds) : "-",
             present ? number(counter(b, "platform_calls")) + " bare platform calls " +
                           duration(b->seconds)
                     : "-",
             ratioText(ratio), "<= 1.5 x", present, present && ratio <= 1.5);
  }

  {
    const Figure* f = r.find("BM_AnswerCycle");
    t.row("Answer-to-render call, 300 strikes", f != nullptr ? duration(f->seconds) : "-", "-", "-",
          "-", f != nullptr ? "info" : "MISSING");
    t.row("  heap allocations per answer call",
          number(counter(f, "study_allocs"), "%.1f") + " study",
          number(counter(f, "all_allocs"), "%.1f") + " with the host", "-", "-",
          f != nullptr ? "info" : "MISSING");
  }

  {
    const Figure* f = r.find("BM_RenderPass");
    const Figure* b = r.find("BM_RenderHostOps");
    const bool present = f != nullptr && b != nullptr && b->seconds > 0.0;
    const double ratio = present ? f->seconds / b->seconds : 0.0;
    const std::string calls =
        number(counter(f, "placed")) + " place + " + number(counter(f, "removed")) + " remove";
    t.budget("Render pass, 300 strikes, mode Both", present ? duration(f->seconds) : "-",
             present ? "bare host ops " + duration(b->seconds) : "-", ratioText(ratio), "<= 1.5 x",
             present, ratio <= 1.5);
    t.row("  host drawing calls per pass", calls,
          number(counter(b, "stored_ops")) + " stored-value ops", "-", "-",
          f != nullptr ? "info" : "-");
  }

  {
    const Figure* f = r.find("BM_TradingDay");
    const double seconds = counter(f, "day_seconds");
    t.budget("Trading day: 23,400 calls, 4,680 answers", duration(seconds) + " CPU",
             duration(counter(f, "day_wall_seconds")) + " wall, " + number(counter(f, "answers")) +
                 " drawn",
             "-", "< 5 s", f != nullptr, seconds < 5.0 && counter(f, "answers") >= 4000);
    const Figure* lean = r.find("BM_TradingDayLeanHost");
    t.row("  the same day on a lean host (study's own)",
          lean != nullptr ? duration(counter(lean, "day_seconds")) + " CPU" : "-",
          lean != nullptr ? number(counter(lean, "answers")) + " drawn" : "-", "-", "-",
          lean != nullptr ? "info" : "MISSING");
    const double first = counter(f, "live_bytes_1h");
    const double last = counter(f, "live_bytes_end");
    const double growth = last - first;
    t.budget("  live heap after 1st hour -> at close",
             number(first / 1024.0, "%.0f KiB") + " -> " + number(last / 1024.0, "%.0f KiB"),
             "RSS " + number(counter(f, "rss_1h") / 1024.0, "%.0f") + " -> " +
                 number(counter(f, "rss_end") / 1024.0, "%.0f KiB"),
             "-", "flat (< 64 KiB growth)", f != nullptr, growth < 64.0 * 1024.0);
    t.budget("  GexData storage moved during the day",
             number(counter(f, "record_moves")) + " times after the 2nd answer", "-", "-", "0",
             f != nullptr, counter(f, "record_moves") == 0.0);
  }

  std::printf("\n%s\n", t.allPass() ? "All budgets met." : "Some budgets are NOT met.");
  return t.allPass();
}

}  // namespace ostrel::bench
