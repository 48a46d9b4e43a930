// Normalisation of the ticker and the futures target before they go into a request.
//
// Only space, tab, line feed and carriage return are trimmed from the ends (vertical tab and
// form feed stay, so a target of a lone form feed is not empty). Upper-casing changes the bytes
// a-z only, whatever the process locale; other bytes, including UTF-8 sequences, pass unchanged.
// Inner blanks are kept ("es spx" becomes "ES SPX").
#pragma once

#include "host/host_string.h"

namespace ostrel {

// Trimmed and upper-cased; a null text reads as "".
HostString normaliseText(const char* text) noexcept;

// As normaliseText, but "SPX" when nothing is left.
HostString normaliseTicker(const char* text) noexcept;

}  // namespace ostrel
