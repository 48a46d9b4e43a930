// What a futures-conversion log line shows of a text that came from the service (an answer
// body, an error text, a contract name).
//
// Every occurrence of the API key is replaced by "***" (a server may echo the credential back;
// keys shorter than four bytes are no secret worth mangling the text for). A text of at most
// kLogExcerptBytes bytes is shown whole; a longer one as its first kLogExcerptBytes bytes (cut
// back to the start of a UTF-8 sequence when the cut would split one) followed by
// "... (N bytes)", N being the full length: an answer of megabytes in one message-log line
// would stall the platform's thread. Only the excerpt is copied, never the whole text.
#pragma once

#include <cstddef>

#include "host/host_string.h"

namespace ostrel {

constexpr std::size_t kLogExcerptBytes = 1024;

// Null `text` or `api_key` count as empty. Throws std::bad_alloc when memory runs out: nothing of
// the text is shown then, and the line that would hold it is given up.
HostString logExcerpt(const char* text, const char* api_key);

}  // namespace ostrel
