// Taking an HTTP address apart: host, port and object path.
//
// Only the lower-case "http://" prefix is known; every input gives a result.
#pragma once

#include "runtime/text.h"

namespace suozhi {

// The host part in lower case, without ":port" unless keepPort is true.
Text GetUrlHost(const Text& url, bool keepPort = false);

// The number after the host's colon; 80 when the host has no colon.
int GetUrlPort(const Text& url);

// Everything from the first "/" at or after the host; "/" when there is none.
Text GetUrlPath(const Text& url);

}  // namespace suozhi
