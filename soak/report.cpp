#include "soak/report.h"

namespace ostrel::soak {

namespace {

void addInto(RequestCounters& total, const RequestCounters& c) {
  total.calls += c.calls;
  total.suspended_calls += c.suspended_calls;
  total.profile_requests += c.profile_requests;
  for (int i = 0; i < kProfileOutcomes; ++i) total.profile[i] += c.profile[i];
  total.history_requests += c.history_requests;
  total.history_filled += c.history_filled;
  total.history_not_clean += c.history_not_clean;
  total.history_superseded += c.history_superseded;
  total.conversions += c.conversions;
  total.conversion_failures += c.conversion_failures;
  total.faults += c.faults;
  total.violations += c.violations;
}

void row(std::FILE* out, const char* label, const RequestCounters& c, const char* heap,
         const char* growth, const char* rss) {
  std::fprintf(
      out,
      "%-15s %8ld %5ld %7ld %6ld %6ld %6ld %5ld %5ld %5ld %5ld %6ld %5ld %5ld %6ld %5ld %9s %7s "
      "%8s\n",
      label, c.calls, c.suspended_calls, c.profile_requests, c.profile[0], c.profile[1],
      c.profile[2], c.profile[3], c.profile[4], c.profile[5], c.history_requests, c.history_filled,
      c.conversions, c.conversion_failures, c.faults, c.violations, heap, growth, rss);
}

}  // namespace

void printSoakReport(std::FILE* out, const SoakResult& r,
                     std::string (*format_time)(std::int64_t)) {
  std::fprintf(out, "%s\n\n", r.title.c_str());
  std::fprintf(
      out, "%-15s %8s %5s %7s %6s %6s %6s %5s %5s %5s %5s %6s %5s %5s %6s %5s %9s %7s %8s\n", "day",
      "calls", "susp", "profile", "drawn", "failed", "halted", "supsd", "hidn", "pend", "hist",
      "filled", "conv", "c-err", "faults", "viol", "heap KiB", "+KiB", "RSS KiB");
  RequestCounters total;
  std::int64_t previous = 0;
  for (std::size_t d = 0; d < r.days.size(); ++d) {
    const SoakDay& day = r.days[d];
    char heap[32];
    char growth[32];
    char rss[32];
    std::snprintf(heap, sizeof heap, "%lld", static_cast<long long>(day.heap_end / 1024));
    if (d == 0) {
      std::snprintf(growth, sizeof growth, "-");
    } else {
      std::snprintf(growth, sizeof growth, "%+lld",
                    static_cast<long long>((day.heap_end - previous) / 1024));
    }
    std::snprintf(rss, sizeof rss, "%lld", static_cast<long long>(day.rss_end / 1024));
    previous = day.heap_end;
    row(out, day.label.c_str(), day.counters, heap, growth, rss);
    addInto(total, day.counters);
  }
  row(out, "total", total, "", "", "");
  std::fprintf(out,
               "\nprofile requests: drawn, failed (refused answer, retried when due), halted "
               "(reason logged),\nsupsd (answer came into a full recalculation or a removal), "
               "hidn (answer came while the study\nwas hidden), pend (in flight at the end); "
               "susp: calls of the hidden study (suspended calls)\n");
  std::fprintf(out, "studies hidden %ld times, %ld of them as an answer came\n", r.hides,
               r.hides_on_answer);

  std::fprintf(out, "\nfaults injected/survived  ");
  for (const std::string& mode : r.fault_modes) std::fprintf(out, "%10s", mode.c_str());
  std::fprintf(out, "\n");
  for (const SoakFaultRow& f : r.faults) {
    std::fprintf(out, "  %-23s ", f.kind.c_str());
    for (std::size_t m = 0; m < f.injected.size(); ++m) {
      char cell[32];
      std::snprintf(cell, sizeof cell, "%ld/%ld", f.injected[m], f.survived[m]);
      std::fprintf(out, "%10s", cell);
    }
    std::fprintf(out, "\n");
  }

  if (r.violations.count() > 0) {
    std::fprintf(out, "\nviolations (%ld; the first %zu listed):\n", r.violations.count(),
                 r.violations.kept().size());
    for (const SoakViolation& v : r.violations.kept()) {
      std::fprintf(out, "  call %ld  %s  %s: %s\n", v.call, format_time(v.unix_time).c_str(),
                   v.instance.c_str(), v.what.c_str());
    }
  }
  std::fprintf(out, "\nwall time %.1f s; CPU %.1f s in the soak, %.1f s in the mock service\n",
               r.wall_seconds, r.cpu_seconds, r.service_cpu_seconds);
  std::fprintf(out, "soak: %ld violations\n", r.violations.count());
}

}  // namespace ostrel::soak
