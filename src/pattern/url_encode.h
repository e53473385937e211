// Percent-encoding of a whole text for a form field.
#pragma once

#include "runtime/text.h"

namespace suozhi {

// Keeps ASCII letters and digits; every other byte (code-page bytes of
// Chinese characters included) becomes "%" and two upper-case hex digits.
Text UrlEncode(const Text& text);

}  // namespace suozhi
