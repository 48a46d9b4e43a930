// HttpHeaderField: one header of a host-carried request, a name and a value.
#pragma once

#include "host/host_string.h"

namespace ostrel {

struct HttpHeaderField {
  HostString Name;
  HostString Value;
};

}  // namespace ostrel
