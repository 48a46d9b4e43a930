// The fuzz entry of the platform entry point: the exported study function driven through the
// simulated platform record (sim/platform_record.h) by a sequence of calls read from the input,
// with the record mutated between calls into states the simulated host never produces on its
// own. Shared by fuzz/platform_entry_fuzzer.cpp and the corpus replay in the unit tests.
//
// The input is an op stream (fuzz/op_reader.h; every byte string is one), each op an opcode
// byte and its fields, read until the input ends or the bounds below are reached:
//   0 call        u8 flags, u16 seconds forward. Flags: 1 full recalculation, 2 last call,
//                 4 hidden, 8 defaults, 16 the request refused, 32 every drawing refused,
//                 64 the drawing search answers one drawing forever, 128 replay clock.
//   1 time        i32 seconds from the base time: the chart's clock.
//   2 alt clock   i32 seconds from the base time: the replay clock.
//   3 input       u8 slot, u8 kind, value: as the settings dialog writes it (any type, value or
//                 text; see kinds in the source). Slot 1's text is always the target's key.
//   4 raw input   u8 slot, u8 type code, 16 value bytes (a text: u16 length, bytes): written
//                 into the record's input itself before the next call, as a chartbook of
//                 another version would hold it.
//   5 bars        i32 start (seconds from the base time), u16 step seconds, u16 count.
//   6 bar time    u16 bar, i64 date-time: one bar's time, anything.
//   7 shape       u8 array (0-18 values, 19-37 colours, 38 bar times), u8 shape, u16 short by:
//                 an array that follows the bars, is short, unallocated or absent.
//   8 record      u8 field, value: for the next call only, ArraySize, UpdateStartIndex,
//                 TickSize, the clock, the replay state, EarliestUpdate..., HTTPRequestID, or
//                 fewer inputs or subgraphs than the study needs.
//   9 answer      u8 mode (1: null text), u16 length, bytes: the next call brings an answer.
//  10 conversion  u8 ok, u16 status, u16 length, bytes: the next call's direct request answer.
//  11 chart       u8 what, value: a stale drawing of the study's, a refused placement, the
//                 host's RecalcFromBar or version.
// The base time is 2026-04-14 09:30:00 New York time, the chart's zone; 60 one-minute bars
// start there. The driver makes the defaults call first and always ends with a last call.
//
// After every call it checks what fuzz/platform_entry_checks.h lists (the soak's checks that
// apply, and the binding instance's lifecycle). The record's changes for one call are
// fuzz/record_overrides.h; the platform's per-bar arrays are exact-size heap blocks
// (fuzz/platform_arrays.h), so an access past their end is a sanitizer report. With
// OSTREL_FUZZ_TRACE set in the environment each call's doings go to standard error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ostrel::fuzz {

// False when a check failed; `why` (when given) then holds the first problem.
bool checkPlatformEntry(const std::uint8_t* data, std::size_t size, std::string* why = nullptr);

}  // namespace ostrel::fuzz
