// `ostrel-sim parse` and `replay` print service texts as they arrived; whatever bytes those hold,
// every report and trace must read back as UTF-8 JSON.
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <string>

#include "sim/parse_command.h"
#include "sim/replay_run.h"
#include "sim/replay_scenario.h"
#include "sim/study_loader.h"

namespace ostrel::sim {
namespace {

// Service texts that carry bytes a JSON reader with encoding checks refuses: raw, and produced
// by the answer's own \u escapes (a lone low surrogate decodes to ED B0 80).
const char* const kHostileTexts[] = {
    "\xFF\xFE",
    "Caf\xE9",
    "\xC0\xAF overlong",
    "\xED\xA0\x80 surrogate",
    "\xF4\x90\x80\x80 beyond",
    "truncated \xE2\x82",
    "\\udc00 escaped low surrogate",
    "\\u0000 NUL and \\u001f control",
};

void expectUtf8Json(const std::string& out, const std::string& context) {
  rapidjson::Document doc;
  doc.Parse<rapidjson::kParseValidateEncodingFlag>(out.c_str(), out.size());
  EXPECT_FALSE(doc.HasParseError())
      << context << ": " << rapidjson::GetParseError_En(doc.GetParseError()) << " at "
      << doc.GetErrorOffset() << " in " << out;
}

TEST(HostileOutput, EveryParseReportIsUtf8Json) {
  for (const char* hostile : kHostileTexts) {
    const std::string text(hostile);
    const std::string answers[][2] = {
        {"gex", "{\"error\":\"" + text + "\",\"timestamp\":1}"},
        {"gex", "{\"message\":\"" + text + "\"}"},
        {"gex",
         "{\"timestamp\":1,\"ticker\":\"" + text + "\",\"spot\":1,\"strikes\":[[1,1,1,[]]]}"},
        {"greek", "{\"error\":\"" + text + "\"}"},
        {"greek", "{\"timestamp\":1,\"ticker\":\"" + text +
                      "\",\"spot\":1,\"mini_contracts\":[[1,1,1,1,[]]]}"},
        {"history", "{\"message\":\"" + text + "\"}"},
        {"history", "{\"error\":\"" + text + "\"}"},
        {"conversion", "{\"error\":\"" + text + "\"}"},
        {"gex", text},  // not JSON at all
    };
    for (const auto& answer : answers) {
      std::string report;
      ASSERT_TRUE(parseReport(answer[0], answer[1], 0.0f, 1.0f, report));
      expectUtf8Json(report, answer[0] + " " + answer[1]);
    }
  }
}

TEST(HostileOutput, AnErrorTextIsPrintedWithReplacements) {
  std::string report;
  ASSERT_TRUE(parseReport("gex", "{\"error\":\"Caf\xE9 \xE2\x82\"}", 0.0f, 1.0f, report));
  EXPECT_NE(report.find("\"Ostrel API Error: \\\"Caf\xEF\xBF\xBD \xEF\xBF\xBD\\\". Retrying.\""),
            std::string::npos)
      << report;
}

TEST(HostileOutput, EveryReplayTraceIsUtf8Json) {
  for (const char* hostile : kHostileTexts) {
    const std::string text(hostile);
    // The ticker goes into the requests and the stored texts; the answers into the log.
    const std::string scenario =
        "{\"chart\": {\"bar_start\": \"2026-04-14 09:30:00\", \"bar_count\": 60},"
        " \"inputs\": {\"1\": \"key\\u00e9" +
        text + "\", \"2\": \"SPX" + text +
        "\"},"
        " \"calls\": [{\"time\": \"2026-04-14 10:29:00\", \"full_recalc\": true},"
        "  {\"time\": \"2026-04-14 10:29:01\", \"response\": \"{\\\"message\\\":\\\"" +
        text +
        "\\\"}\"},"
        "  {\"time\": \"2026-04-14 10:29:02\", \"response\": \"" +
        text +
        "\"},"
        "  {\"time\": \"2026-04-14 10:29:03\", \"removal\": true}]}";
    std::string trace;
    try {
      trace = runScenario(parseScenario(scenario, ""), linkedStudy());
    } catch (const ScenarioError& e) {
      FAIL() << e.what() << " in " << scenario;
    }
    expectUtf8Json(trace, scenario);
  }
}

}  // namespace
}  // namespace ostrel::sim
