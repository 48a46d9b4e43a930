#!/usr/bin/env python3
"""Writes a full trading day as an ostrel-sim replay scenario.

09:30:00 to 16:00:00 New York on 2026-03-10, one call every second, the chart's one-minute bars
growing with the clock. A full recalculation opens the day (its history range is empty, so no
history request) and another comes at 12:00:00 (history 09:30-12:00). Every request the study
starts is answered in the next call: a GEX profile (tests/golden/study-gex-tiny.json) or a small
majors history. tests/study/trading_day_test.cpp runs the same day and asserts on it.

The answers are planned with the scheduler's rules (requests every 5 s counted from the start of
the previous one; none while another is pending; the history goes first after a recalculation).

Usage: scripts/trading_day_scenario.py [OUT.json]   (default: build/trading-day.scenario.json)
       build/ostrel-sim replay build/trading-day.scenario.json > trace.json
"""
import json
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROFILE = os.path.join(ROOT, "tests", "golden", "study-gex-tiny.json")
DAY_SECONDS = 6 * 3600 + 30 * 60
RECALCS = {0: False, 9000: True}  # second -> whether the history range is non-empty
INTERVAL = 5
BARS = 390
HISTORY = ('[{"timestamp": 1773149400, "major_call_gamma": 5500, "major_put_gamma": 5440,'
           ' "zero_gamma": 5470}, {"timestamp": 1773154800, "major_call_gamma": 5505,'
           ' "major_put_gamma": 5445, "zero_gamma": 5475}]')


def clock(second):
    h, rest = divmod(9 * 3600 + 30 * 60 + second, 3600)
    m, s = divmod(rest, 60)
    return "2026-03-10 %02d:%02d:%02d" % (h, m, s)


def build(out_path):
    profile_ref = os.path.relpath(PROFILE, os.path.dirname(os.path.abspath(out_path)))
    calls = []
    pending = None  # "profile" or "history": the request started in the previous call
    last_request = None
    bars = 0
    for s in range(DAY_SECONDS + 1):
        call = {"time": clock(s)}
        now_bars = min(s // 60 + 1, BARS)
        if now_bars != bars:
            call["bar_count"] = bars = now_bars
        answered = pending
        if pending == "profile":
            call["response"] = {"file": profile_ref}
        elif pending == "history":
            call["response"] = HISTORY
        pending = None
        if s in RECALCS:
            call["full_recalc"] = True
            if RECALCS[s]:
                pending = "history"
        # A profile answer is taken in instead of a new request; a history answer is not.
        if pending is None and answered != "profile":
            if last_request is None or s - last_request >= INTERVAL:
                pending = "profile"
                last_request = s
        calls.append(call)
    return {
        "description": "A full trading day, one call a second, every request answered.",
        "chart": {"bar_start": "2026-03-10 09:30:00", "bar_count": 1},
        "inputs": {"1": "demo-key", "2": "SPX"},
        "calls": calls,
    }


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build",
                                                             "trading-day.scenario.json")
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    scenario = build(out)
    with open(out, "w") as f:
        f.write('{"description": %s,\n "chart": %s,\n "inputs": %s,\n "calls": [\n' % (
            json.dumps(scenario["description"]), json.dumps(scenario["chart"]),
            json.dumps(scenario["inputs"])))
        f.write(",\n".join("  " + json.dumps(c) for c in scenario["calls"]))
        f.write("\n ]}\n")
    print(out)


if __name__ == "__main__":
    main()
