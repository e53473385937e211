// Conversion between the program's code page (GBK) and Unicode encodings.
//
// Used only at the edges: file names, the window and clipboard, the script
// engine and the regex engine. A character the code page lacks becomes "?",
// and so does any byte sequence that is not valid in its source encoding;
// no input makes a conversion fail or crash.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text.h"

namespace suozhi::cp {

std::string ToUtf8(std::string_view gbk);
Text FromUtf8(std::string_view utf8);
std::u16string ToUtf16(std::string_view gbk);
Text FromUtf16(std::u16string_view utf16);

// UTF-16 and UTF-8 without a stop in the code page.
std::string Utf16ToUtf8(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace suozhi::cp
