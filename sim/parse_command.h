// `ostrel-sim parse KIND FILE [--add A] [--mul M]`: runs one answer parser on the bytes of FILE
// (up to the first NUL) and prints what it did as one JSON object on standard output.
//
// KIND is gex, greek, history or conversion. gex/greek print the outcome, the log lines and every
// field of the record; history runs against a chart of the replay's default shape (New York host
// zone, 390 one-minute bars from 2026-03-10 09:30:00) with premiums A (default 0) and M (default
// 1) and prints the result, the log, EarliestChangedBar (null when not set) and only the bars
// written; conversion runs the futures-conversion parser for target ES and prints each premium
// it wrote, or null. Whatever FILE holds, the exit status is 0; a bad KIND or option exits 2 and
// an unreadable FILE exits 1, each with one line on standard error.
#pragma once

#include <string>

namespace ostrel::sim {

// The JSON object printed for `kind` and the answer `text` (already cut at its first NUL);
// false, with `out` untouched, for an unknown kind.
bool parseReport(const std::string& kind, const std::string& text, float additive, float multiplier,
                 std::string& out);

// argv[0] is the subcommand's name.
int runParseCommand(int argc, char** argv);

}  // namespace ostrel::sim
