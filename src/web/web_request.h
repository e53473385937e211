// One complete HTTP request: default headers, direct or proxied, the whole
// body read while the window keeps breathing, the raw response headers, and
// every cookie the response sets kept for its host.
#pragma once

#include "runtime/text.h"

namespace suozhi {

// The body as received, or 255 zero bytes when the request could not be made
// (no client handle, an unsupported method). `requestHeaders` receives the
// default header lines appended for the caller; `responseHeaders` the whole
// response header block. Pass nullptr for either to leave it out.
ByteSet WebRequest(const Text& address, const Text& method = {}, const Text& proxy = {},
                   Text* requestHeaders = nullptr, const Text& body = {},
                   Text* responseHeaders = nullptr);

// The same, as text: the body up to its first zero byte, so a failure and an
// empty body both come back as "".
Text WebRequestText(const Text& address, const Text& method = {}, const Text& proxy = {},
                    Text* requestHeaders = nullptr, const Text& body = {},
                    Text* responseHeaders = nullptr);

}  // namespace suozhi
