// The two futures premiums every converted price uses: price * multiplicative + additive.
//
// A multiplicative premium that is not greater than 0 (NaN and types without a float reading,
// such as a text, included) or is infinite is rewritten in the input itself to the float 1.0,
// so the user sees the corrected value; the additive premium is used as read, unless it is not
// finite (a chartbook edited by hand can hold any bits): it is rewritten to its default, 0.
// Either would make every converted price non-finite. A host with fewer input slots than the
// premiums need gets 0 and 1, and none of its inputs is written.
#pragma once

#include "host/study_host.h"

namespace ostrel {

struct Premiums {
  float additive;
  float multiplicative;
};

Premiums readPremiums(StudyHost& host) noexcept;

}  // namespace ostrel
