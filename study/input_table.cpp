#include "study/input_table.h"

#include "host/colour.h"
#include "host/host_calls.h"
#include "study/input_ids.h"

namespace ostrel {

namespace {

constexpr InputKind kList = InputKind::CustomList;
constexpr InputKind kText = InputKind::Text;
constexpr InputKind kFloat = InputKind::Float;
constexpr InputKind kInt = InputKind::Integer;
constexpr InputKind kYesNo = InputKind::YesNo;
constexpr InputKind kColour = InputKind::Colour;

constexpr const char* kBarStyles = "Line;Dot;Dash;Bar";
constexpr const char* kLineStyles = "Solid;Dash;Dot";

constexpr InputSpec kInputs[kInputSpecCount] = {
    {"Package", kList, 0, "Classic;State", 1},
    {"API KEY", kText, 0, "<API KEY HERE>", 2},
    {"Ticker (e.g. SPX, NDX, ES_SPX, NQ_NDX, SPY, AAPL...)", kText, 0, "ES_SPX", 3},
    {"Set Additive Futures Premium", kFloat, 0.0, nullptr, 4},
    {"Set Multiplicative Futures Premium (Applied before Additive Premium)", kFloat, 1.0, nullptr,
     5},
    {"Greek", kList, 0,
     "90d agg Gex;0dte Gex;1dte Gex;0dte Gamma (State Package Only);"
     "1dte Gamma (State Package Only);0dte Delta (State Package Only);"
     "1dte Delta (State Package Only);",
     0},
    {"GEX Volume and/or OI Display", kList, 2, "Volume;OI;Both", 0},
    {"Profile Direction", kList, 2, "Right;Left;Center", 0},
    {"Bar/Prior Origin Position % (0-100)", kInt, 75, nullptr, 0},
    {"Bar Scale Factor (Window Width %)", kInt, 25, nullptr, 0},
    {"Logarithmic Scaling (Horizontal)", kYesNo, 0, nullptr, 0},
    {"Bar Transparency (1 is opaque, 100 is transparent)", kInt, 85, nullptr, 0},
    {"Bar Width / Line Width (Tick Multiple)", kInt, 2, nullptr, 0},
    {"Call/Put GEX Volume Bars Vertical Offset (Tick Multiple, Can Be Negative)", kInt, 0, nullptr,
     0},
    {"Call/Put GEX OI Bars Vertical Offset (Tick Multiple, Can Be Negative)", kInt, 0, nullptr, 0},
    {"Delta Bars Vertical Offset (Tick Multiple, Can Be Negative)", kInt, 0, nullptr, 0},
    {"Gamma Bars Vertical Offset (Tick Multiple, Can Be Negative)", kInt, 0, nullptr, 0},
    {"Call GEX Volume Color", kColour, rgb(0, 255, 0), nullptr, 0},
    {"Call GEX Volume Line Style", kList, 3, kBarStyles, 0},
    {"Put GEX Volume Color", kColour, rgb(255, 0, 0), nullptr, 0},
    {"Put GEX Volume Line Style", kList, 3, kBarStyles, 0},
    {"Call GEX OI Color", kColour, rgb(0, 255, 0), nullptr, 0},
    {"Call GEX OI Line Style", kList, 3, kBarStyles, 0},
    {"Put GEX OI Color", kColour, rgb(255, 0, 0), nullptr, 0},
    {"Put GEX OI Line Style", kList, 3, kBarStyles, 0},
    {"Positive Delta Color", kColour, rgb(76, 175, 80), nullptr, 0},
    {"Positive Delta Line Style", kList, 3, kBarStyles, 0},
    {"Negative Delta Color", kColour, rgb(208, 2, 27), nullptr, 0},
    {"Negative Delta Line Style", kList, 3, kBarStyles, 0},
    {"Long Gamma Color", kColour, rgb(0, 255, 255), nullptr, 0},
    {"Long Gamma Line Style", kList, 3, kBarStyles, 0},
    {"Short Gamma Color", kColour, rgb(199, 19, 240), nullptr, 0},
    {"Short Gamma Line Style", kList, 3, kBarStyles, 0},
    {"Zero Gamma Color", kColour, rgb(255, 165, 0), nullptr, 0},
    {"Zero Gamma Width", kInt, 2, nullptr, 0},
    {"Zero Gamma Style", kList, 1, kLineStyles, 0},
    {"Major Call Vol Color", kColour, rgb(3, 255, 53), nullptr, 0},
    {"Major Call Vol Width", kInt, 2, nullptr, 0},
    {"Major Call Vol Style", kList, 1, kLineStyles, 0},
    {"Major Put Vol Color", kColour, rgb(255, 0, 0), nullptr, 0},
    {"Major Put Vol Width", kInt, 2, nullptr, 0},
    {"Major Put Vol Style", kList, 1, kLineStyles, 0},
    {"Major Call OI Color", kColour, rgb(3, 255, 53), nullptr, 0},
    {"Major Call OI Width", kInt, 2, nullptr, 0},
    {"Major Call OI Style", kList, 1, kLineStyles, 0},
    {"Major Put OI Color", kColour, rgb(255, 0, 0), nullptr, 0},
    {"Major Put OI Width", kInt, 2, nullptr, 0},
    {"Major Put OI Style", kList, 1, kLineStyles, 0},
    {"Major Long Gamma Color", kColour, rgb(0, 255, 255), nullptr, 0},
    {"Major Long Gamma Width", kInt, 2, nullptr, 0},
    {"Major Long Gamma Style", kList, 1, kLineStyles, 0},
    {"Major Short Gamma Color", kColour, rgb(128, 0, 128), nullptr, 0},
    {"Major Short Gamma Width", kInt, 2, nullptr, 0},
    {"Major Short Gamma Style", kList, 1, kLineStyles, 0},
    {"Show Major Labels", kYesNo, 1, nullptr, 0},
    {"Major Label Alignment", kList, 1, "Left;Right;Center", 0},
    {"Major Label Font Size", kInt, 10, nullptr, 0},
    {"Major Label Transparent BG", kYesNo, 1, nullptr, 0},
    {"Zero Gamma Label", kText, 0, "ZG", 0},
    {"Major Call Vol Label", kText, 0, "MCV", 0},
    {"Major Put Vol Label", kText, 0, "MPV", 0},
    {"Major Call OI Label", kText, 0, "MCO", 0},
    {"Major Put OI Label", kText, 0, "MPO", 0},
    {"Major Long Gamma Label", kText, 0, "MLG", 0},
    {"Major Short Gamma Label", kText, 0, "MSG", 0},
    {"Show Zero Gamma", kYesNo, 1, nullptr, 0},
    {"Show Major Call Vol", kYesNo, 1, nullptr, 0},
    {"Show Major Put Vol", kYesNo, 1, nullptr, 0},
    {"Show Major Call OI", kYesNo, 1, nullptr, 0},
    {"Show Major Put OI", kYesNo, 1, nullptr, 0},
    {"Show Major Long Gamma", kYesNo, 1, nullptr, 0},
    {"Show Major Short Gamma", kYesNo, 1, nullptr, 0},
    {"Filter Call GEX Volume: Show N Largest (0 = Show All)", kInt, 0, nullptr, 0},
    {"Filter Put GEX Volume: Show N Largest (0 = Show All)", kInt, 0, nullptr, 0},
    {"Filter Call GEX OI: Show N Largest (0 = Show All)", kInt, 0, nullptr, 0},
    {"Filter Put GEX OI: Show N Largest (0 = Show All)", kInt, 0, nullptr, 0},
    {"Filter Long Delta: Show N Largest (0 = Show All)", kInt, 0, nullptr, 0},
    {"Filter Short Delta: Show N Largest (0 = Show All)", kInt, 0, nullptr, 0},
    {"Filter Long Gamma: Show N Largest (0 = Show All)", kInt, 0, nullptr, 0},
    {"Filter Short Gamma: Show N Largest (0 = Show All)", kInt, 0, nullptr, 0},
    {"Display 1 Minute Prior GEX Dot", kYesNo, 0, nullptr, 0},
    {"Display 5 Minute Prior GEX Dot", kYesNo, 1, nullptr, 0},
    {"Display 10 Minute Prior GEX Dot", kYesNo, 0, nullptr, 0},
    {"Display 15 Minute Prior GEX Dot", kYesNo, 1, nullptr, 0},
    {"Display 30 Minute Prior GEX Dot", kYesNo, 0, nullptr, 0},
    {"Display 5 Minute Prior Delta Dot", kYesNo, 1, nullptr, 0},
    {"Display 15 Minute Prior Delta Dot", kYesNo, 1, nullptr, 0},
    {"Display 30 Minute Prior Delta Dot", kYesNo, 0, nullptr, 0},
    {"Display 5 Minute Prior Gamma Dot", kYesNo, 1, nullptr, 0},
    {"Display 15 Minute Prior Gamma Dot", kYesNo, 1, nullptr, 0},
    {"Display 30 Minute Prior Gamma Dot", kYesNo, 0, nullptr, 0},
    {"1 Minute Prior GEX Color", kColour, rgb(255, 255, 255), nullptr, 0},
    {"5 Minute Prior GEX Color", kColour, rgb(255, 255, 255), nullptr, 0},
    {"10 Minute Prior GEX Color", kColour, rgb(0, 162, 222), nullptr, 0},
    {"15 Minute Prior GEX Color", kColour, rgb(0, 108, 192), nullptr, 0},
    {"30 Minute Prior GEX Color", kColour, rgb(0, 52, 148), nullptr, 0},
    {"5 Minute Prior Delta Color", kColour, rgb(255, 255, 255), nullptr, 0},
    {"15 Minute Prior Delta Color", kColour, rgb(0, 108, 192), nullptr, 0},
    {"30 Minute Prior Delta Color", kColour, rgb(0, 52, 148), nullptr, 0},
    {"5 Minute Prior Gamma Color", kColour, rgb(255, 255, 255), nullptr, 0},
    {"15 Minute Prior Gamma Color", kColour, rgb(0, 108, 192), nullptr, 0},
    {"30 Minute Prior Gamma Color", kColour, rgb(0, 52, 148), nullptr, 0},
    {"Prior Dots Style", kList, 1, "Point;Diamond;Square", 0},
    {"Prior Dots Size", kFloat, 1.0, nullptr, 0},
    {"Time Zone", InputKind::TimeZone, 7, nullptr, 0},
    {"Request Start Time", InputKind::TimeOfDay, 0.3958333333333333, nullptr, 0},
    {"Request End Time", InputKind::TimeOfDay, 0.9583333333333334, nullptr, 0},
    {"Request Interval (seconds)", kInt, 5, nullptr, 0},
    {"Allow Copy To Other Charts", kYesNo, 0, nullptr, 0},
    // Empty means "no conversion". Declared as a slot holding the empty text, not as a slot
    // without text: a slot without text reads as "Unset", which would switch the conversion on
    // with the target UNSET.
    {"Futures Target (Auto-Convert, e.g. NQ, ES - blank disables)", kText, 0, "", 6},
};

static_assert(sizeof(kInputs) / sizeof(kInputs[0]) == in::kInputCount,
              "one table row per input id");

// False when a text (name, option list, default text) could not be stored.
bool declareInput(StudyInput& slot, const InputSpec& spec) noexcept {
  slot.name = spec.name;
  switch (spec.kind) {
    case InputKind::CustomList:
      slot.setCustomList(static_cast<std::int32_t>(spec.number));
      slot.setOptions(spec.text);
      break;
    case InputKind::Text: slot.setText(spec.text); break;
    case InputKind::Float: slot.setFloat(static_cast<float>(spec.number)); break;
    case InputKind::Integer: slot.setInteger(static_cast<std::int32_t>(spec.number)); break;
    case InputKind::YesNo: slot.setYesNo(spec.number != 0.0); break;
    case InputKind::Colour: slot.setColour(static_cast<std::uint32_t>(spec.number)); break;
    case InputKind::TimeOfDay: slot.setTimeOfDay(spec.number); break;
    case InputKind::TimeZone: slot.setTimeZone(static_cast<std::int32_t>(spec.number)); break;
  }
  if (spec.position != 0) slot.display_position = spec.position;
  if (slot.name != spec.name) return false;
  if (spec.kind == InputKind::CustomList && slot.options != spec.text) return false;
  return spec.kind != InputKind::Text || slot.text == spec.text;
}

}  // namespace

const InputSpec* inputSpecs() noexcept { return kInputs; }

bool declareInputs(StudyHost& host) noexcept {
  if (host.Inputs == nullptr) return true;
  bool complete = true;
  for (std::int32_t i = 0; i < in::kInputCount && i < host.InputCount; ++i) {
    if (!declareInput(host.Inputs[i], kInputs[i])) complete = false;
  }
  return complete;
}

}  // namespace ostrel
