#!/usr/bin/env python3
"""Writes the platform entry fuzz target's seeds from the golden replay scenarios.

Each tests/golden/*.scenario.json becomes fuzz/corpus/platform_entry/golden_<name>: the same
chart, inputs and calls as an op stream of fuzz/platform_entry_target.h (answers from files
inlined); the first-profile scenario also becomes hostile_<state>, the same calls on a record in
one hostile state each (see variants()). What the op stream cannot say (another host zone, a clock apart from the chart's
time, a current bar other than the last) is left out. Run it again after a scenario changes:
  fuzz/platform_entry_seeds.py
"""

import datetime
import json
import pathlib
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
GOLDEN = ROOT / "tests" / "golden"
OUT = ROOT / "fuzz" / "corpus" / "platform_entry"
BASE = datetime.datetime(2026, 4, 14, 9, 30, 0)  # the target's base time
MAX_BARS = 2000
MAX_TEXT = 4096
MAX_ANSWER = 8192

OP_CALL, OP_TIME, OP_ALT_CLOCK, OP_INPUT = 0, 1, 2, 3
OP_BARS, OP_ANSWER, OP_CONVERSION, OP_CHART = 5, 9, 10, 11
FLAGS = {"full_recalc": 1, "removal": 2, "suspended": 4, "start_request_fails": 16,
         "find_drawing_sticky": 64, "use_alt_clock": 128}
KINDS = {"float": 0, "integer": 1, "yesno": 2, "colour": 3, "list": 4, "timezone": 5,
         "time": 6, "text": 7}


def seconds(text):
    whole = text.split(".")[0]
    t = datetime.datetime.strptime(whole, "%Y-%m-%d %H:%M:%S")
    return int((t - BASE).total_seconds())


def text_field(data, limit):
    data = data[:limit]
    return struct.pack("<H", len(data)) + data


def input_op(slot, value):
    head = struct.pack("<BB", OP_INPUT, int(slot))
    if isinstance(value, dict):
        kind, v = value["type"], value.get("value")
        if kind == "text":
            if v is None:
                return head + bytes([10])
            return head + bytes([7]) + text_field(str(v).encode(), MAX_TEXT)
        if kind == "float":
            return head + bytes([0]) + struct.pack("<f", float(v))
        if kind == "time":
            return head + bytes([6]) + struct.pack("<d", float(v))
        if kind == "yesno":
            return head + bytes([2, 1 if v else 0])
        if kind == "colour":
            return head + bytes([3]) + struct.pack("<I", int(v) & 0xFFFFFFFF)
        return head + bytes([KINDS[kind]]) + struct.pack("<i", int(v))
    if isinstance(value, str):
        return head + bytes([7]) + text_field(value.encode(), MAX_TEXT)
    return head + bytes([8]) + struct.pack("<d", float(value))


def answer_op(response, folder):
    if response is None:
        return struct.pack("<BB", OP_ANSWER, 1) + text_field(b"", 0)
    if isinstance(response, dict):
        data = (folder / response["file"]).read_bytes()
    else:
        data = response.encode()
    return struct.pack("<BB", OP_ANSWER, 0) + text_field(data, MAX_ANSWER)


def conversion_op(conversion):
    if "error" in conversion:
        return struct.pack("<BBH", OP_CONVERSION, 0, 0) + text_field(
            conversion["error"].encode(), MAX_ANSWER)
    return struct.pack("<BBH", OP_CONVERSION, 1, int(conversion.get("status", 200))) + \
        text_field(conversion.get("body", "").encode(), MAX_ANSWER)


def seed(scenario, folder, before=None):
    """`before`: op bytes to insert before the call of each index (0 the first update call)."""
    before = before or {}
    chart = scenario.get("chart", {})
    start = seconds(chart.get("bar_start", "2026-03-10 09:30:00"))
    step = int(chart.get("bar_seconds", 60))
    count = min(int(chart.get("bar_count", 390)), MAX_BARS)
    out = bytearray(struct.pack("<BiHH", OP_BARS, start, step, count))
    out += struct.pack("<Bi", OP_TIME, start)
    if "host_build" in chart:
        out += struct.pack("<BBi", OP_CHART, 3, int(chart["host_build"]))
    for slot, value in scenario.get("inputs", {}).items():
        out += input_op(slot, value)
    for index, call in enumerate(scenario.get("calls", [])):
        out += before.get(index, b"")
        if "time" in call:
            out += struct.pack("<Bi", OP_TIME, seconds(call["time"]))
        if "alt_clock" in call:
            out += struct.pack("<Bi", OP_ALT_CLOCK, seconds(call["alt_clock"]))
        if "bar_count" in call:
            count = min(int(call["bar_count"]), MAX_BARS)
            out += struct.pack("<BiHH", OP_BARS, start, step, count)
        if "recalc_from_bar" in call:
            out += struct.pack("<BBi", OP_CHART, 2, int(call["recalc_from_bar"]))
        for slot, value in call.get("inputs", {}).items():
            out += input_op(slot, value)
        if "response" in call:
            out += answer_op(call["response"], folder)
        if "conversion" in call:
            out += conversion_op(call["conversion"])
        flags = 0
        for name, bit in FLAGS.items():
            if call.get(name):
                flags |= bit
        fails = call.get("place_drawing_fails")
        if fails == "all":
            flags |= 32
        elif fails:
            for ordinal in fails:
                out += struct.pack("<BBB", OP_CHART, 1, int(ordinal) & 0xFF)
        for drawing_type in call.get("stale_drawings", []):
            out += struct.pack("<BBB", OP_CHART, 0, 1 if drawing_type == 12 else 0)
        out += struct.pack("<BBH", OP_CALL, flags, 0)
    return bytes(out)


# The first-profile scenario's calls: 0 full recalculation (history request), 1 history answer
# (and the profile request), 2 profile answer (drawn), 3 quiet, 4 last call. Each variant puts
# the record into one state the simulated host never produces before some of them, so that
# even a short run starts from every kind of hostile record.
OP_RAW, OP_BAR_TIME, OP_SHAPE, OP_RECORD = 4, 6, 7, 8
FOLLOW, SHORT, UNALLOCATED, ABSENT = 0, 1, 2, 3
SUBGRAPHS = 19
REQUEST_START_TIME, TICKER, FUTURES_TARGET = 105, 2, 109


def shape(array, kind, short_by=0):
    return struct.pack("<BBBH", OP_SHAPE, array, kind, short_by)


def record(field, value):
    return struct.pack("<BBi", OP_RECORD, field, value)


def raw_text(slot, data):
    return struct.pack("<BBB", OP_RAW, slot, 26) + text_field(data, MAX_TEXT)


def variants():
    values_unallocated = b"".join(shape(k, UNALLOCATED) for k in range(SUBGRAPHS))
    colours_absent = b"".join(shape(SUBGRAPHS + k, ABSENT) for k in range(SUBGRAPHS))
    all_short = b"".join(shape(k, SHORT, 59) for k in range(2 * SUBGRAPHS))
    nan_days = struct.pack("<d", float("nan")) + bytes(8)
    return {
        "subgraphs_unallocated": {1: values_unallocated + colours_absent},
        "subgraphs_short": {1: b"".join(shape(k, SHORT, 50) for k in range(3)), 2: all_short},
        "bar_times_absent": {1: shape(2 * SUBGRAPHS, ABSENT)},
        "bar_times_unallocated_short": {0: shape(2 * SUBGRAPHS, UNALLOCATED),
                                        2: shape(2 * SUBGRAPHS, SHORT, 30)},
        "array_size_zero": {1: record(0, 0), 2: record(0, 0)},
        "array_size_beyond_arrays": {1: record(0, 100000), 2: record(0, 100000)},
        "array_size_negative": {2: record(0, -7)},
        "bars_vanish_after_drawing": {3: struct.pack("<BiHH", OP_BARS, 0, 60, 0),
                                      4: struct.pack("<BiHH", OP_BARS, 0, 60, 1)},
        "bar_times_out_of_order": {1: struct.pack("<BHq", OP_BAR_TIME, 30, -(1 << 62)) +
                                   struct.pack("<BHq", OP_BAR_TIME, 31, (1 << 62))},
        "start_time_nan_date": {0: struct.pack("<BBB", OP_RAW, REQUEST_START_TIME, 8) + nan_days},
        "answer_id_never_made": {2: record(6, 12345)},
        "answer_id_zero": {1: record(6, 0)},
        "defaults_mid_session": {3: struct.pack("<BBH", OP_CALL, 8, 1)},
        "last_call_then_more": {3: struct.pack("<BBH", OP_CALL, 2, 1) +
                                struct.pack("<BBH", OP_CALL, 1, 1)},
        "record_with_few_inputs": {2: struct.pack("<BBB", OP_RECORD, 7, 11)},
        "texts_of_any_bytes": {0: raw_text(TICKER, b"\xff\xfe es_spx \x01" * 40) +
                               raw_text(FUTURES_TARGET, b"x" * 2000)},
    }


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for path in sorted(GOLDEN.glob("*.scenario.json")):
        scenario = json.loads(path.read_text())
        name = path.name[: -len(".scenario.json")].replace("-", "_")
        (OUT / ("golden_" + name)).write_bytes(seed(scenario, path.parent))
    first = GOLDEN / "first-profile.scenario.json"
    scenario = json.loads(first.read_text())
    for name, before in variants().items():
        (OUT / ("hostile_" + name)).write_bytes(seed(scenario, first.parent, before))
    return 0


if __name__ == "__main__":
    sys.exit(main())
