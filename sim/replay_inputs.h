// Scenario input values: reading them from the scenario and writing them into the host's slots.
//
// A value is a number or boolean (written in the type the slot was declared with), a string (a
// text), or {"type": T, "value": V} with T a type name below; {"type": "text", "value": null}
// is a text slot holding no text. Slot keys are decimal indices 0-127.
#pragma once

#include <string>
#include <vector>

#include <rapidjson/document.h>

#include "host/study_input.h"
#include "sim/replay_scenario.h"

namespace ostrel::sim {

// "float", "integer", "yesno", "colour", "list", "timezone", "time", "text"; "none" for a slot
// never declared and "unknown" for a type code outside that list.
const char* inputTypeName(InputType type) noexcept;

// Throws ScenarioError naming `where` (e.g. "calls[1].inputs").
std::vector<InputWrite> parseInputWrites(const rapidjson::Value& object, const std::string& where);

// Throws ScenarioError when a bare number or boolean meets a slot whose declared type cannot
// hold it (no declared type, a text) or does not fit that type (2.5 for an integer).
void applyInputWrite(const InputWrite& write, StudyInput& slot);

}  // namespace ostrel::sim
