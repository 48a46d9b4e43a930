#include "sim/replay_inputs.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/numeric.h"

namespace ostrel::sim {
namespace {

struct TypeName {
  const char* name;
  InputType type;
};

constexpr TypeName kTypeNames[] = {
    {"float", InputType::kFloat},     {"integer", InputType::kInteger},
    {"yesno", InputType::kYesNo},     {"colour", InputType::kColour},
    {"list", InputType::kCustomList}, {"timezone", InputType::kTimeZone},
    {"time", InputType::kTimeOfDay},  {"text", InputType::kText},
};

[[noreturn]] void fail(const std::string& where, const std::string& problem) {
  throw ScenarioError(where + ": " + problem);
}

bool integral(double v, double lo, double hi) {
  return std::isfinite(v) && std::floor(v) == v && v >= lo && v <= hi;
}

// Stores `number` as `type`; false when the number does not fit that type.
bool storeNumber(InputType type, double number, StudyInput& slot) {
  constexpr double kInt32Min = -2147483648.0;
  constexpr double kInt32Max = 2147483647.0;
  switch (type) {
    case InputType::kFloat: slot.setFloat(toFloat(number)); return true;
    case InputType::kTimeOfDay: slot.setTimeOfDay(number); return true;
    case InputType::kColour:
      if (!integral(number, 0.0, 4294967295.0)) return false;
      slot.setColour(static_cast<std::uint32_t>(number));
      return true;
    case InputType::kInteger:
    case InputType::kYesNo:
    case InputType::kCustomList:
    case InputType::kTimeZone:
      if (!integral(number, kInt32Min, kInt32Max)) return false;
      slot.type = type;
      slot.int_value = static_cast<std::int32_t>(number);
      return true;
    default: return false;
  }
}

InputWrite parseOne(const char* key, const rapidjson::Value& v, const std::string& where) {
  InputWrite w;
  const std::string here = where + "." + key;
  w.where = here;
  const std::size_t length = std::strlen(key);
  if (length == 0 || length > 3 || std::strspn(key, "0123456789") != length ||
      (length > 1 && key[0] == '0') || std::atoi(key) >= SimHost::kInputCount) {
    fail(here, "input slot must be an index from 0 to 127");
  }
  w.index = std::atoi(key);
  if (v.IsString()) {
    w.type = InputType::kText;
    w.text = std::string(v.GetString(), v.GetStringLength());
  } else if (v.IsBool() || v.IsNumber()) {
    w.as_declared = true;
    w.number = v.IsBool() ? (v.GetBool() ? 1.0 : 0.0) : v.GetDouble();
  } else if (v.IsObject()) {
    const auto type = v.FindMember("type");
    const auto value = v.FindMember("value");
    if (v.MemberCount() != 2 || type == v.MemberEnd() || value == v.MemberEnd() ||
        !type->value.IsString()) {
      fail(here, "expected {\"type\": T, \"value\": V}");
    }
    bool known = false;
    for (const TypeName& t : kTypeNames) {
      if (std::strcmp(t.name, type->value.GetString()) == 0) {
        w.type = t.type;
        known = true;
      }
    }
    if (!known) fail(here, std::string("unknown input type '") + type->value.GetString() + "'");
    const rapidjson::Value& val = value->value;
    if (w.type == InputType::kText) {
      if (val.IsString()) {
        w.text = std::string(val.GetString(), val.GetStringLength());
      } else if (!val.IsNull()) {
        fail(here, "a text value must be a string or null");
      }
    } else {
      if (!val.IsNumber() && !val.IsBool()) fail(here, "value must be a number");
      w.number = val.IsBool() ? (val.GetBool() ? 1.0 : 0.0) : val.GetDouble();
      StudyInput probe;
      if (!storeNumber(w.type, w.number, probe)) {
        fail(here, std::string("value does not fit the type ") + inputTypeName(w.type));
      }
    }
  } else {
    fail(here, "expected a number, a boolean, a string or {\"type\": T, \"value\": V}");
  }
  return w;
}

}  // namespace

const char* inputTypeName(InputType type) noexcept {
  if (type == InputType::kNone) return "none";
  for (const TypeName& t : kTypeNames) {
    if (t.type == type) return t.name;
  }
  return "unknown";
}

std::vector<InputWrite> parseInputWrites(const rapidjson::Value& object, const std::string& where) {
  if (!object.IsObject()) fail(where, "expected an object of slot index -> value");
  std::vector<InputWrite> writes;
  for (auto m = object.MemberBegin(); m != object.MemberEnd(); ++m) {
    writes.push_back(parseOne(m->name.GetString(), m->value, where));
    for (std::size_t i = 0; i + 1 < writes.size(); ++i) {
      if (writes[i].index == writes.back().index) fail(writes.back().where, "slot given twice");
    }
  }
  return writes;
}

void applyInputWrite(const InputWrite& write, StudyInput& slot) {
  if (!write.as_declared) {
    if (write.type == InputType::kText) {
      slot.setText(write.text ? write.text->c_str() : nullptr);
    } else {
      storeNumber(write.type, write.number, slot);
    }
    return;
  }
  if (slot.type == InputType::kNone) {
    fail(write.where, "slot has no declared type; write {\"type\": T, \"value\": V}");
  }
  if (slot.type == InputType::kText) fail(write.where, "slot is a text; write a string");
  if (!storeNumber(slot.type, write.number, slot)) {
    fail(write.where,
         std::string("value does not fit the slot's type ") + inputTypeName(slot.type));
  }
}

}  // namespace ostrel::sim
