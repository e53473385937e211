// Test helper: code-page text from a UTF-8 literal.
#pragma once

#include "runtime/codepage.h"

namespace suozhi::test {
inline Text G(std::string_view utf8) {
  return cp::FromUtf8(utf8);
}
}  // namespace suozhi::test
