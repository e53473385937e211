// The run log: one time-stamped line per event, newest line first, in the
// code page, beside the program.
#pragma once

#include "runtime/system.h"
#include "runtime/text.h"

namespace suozhi {

// "2020年4月20日9时5分7秒", dropping trailing zero fields of the time.
Text FormatLogTime(const rt::DateTime& when);

// The run directory followed by the log's file name.
Text DefaultLogPath();

// Inserts "time   message" at the top of the log. With `logFile` omitted the
// default path is used. Failures are silent and lose no earlier line.
void WriteRunLog(const Text& message);
// With `logFile` given it is used unchanged, even when empty.
void WriteRunLog(const Text& message, Text& logFile);
// As above at a given time.
void WriteRunLogAt(const Text& message, const Text& logFile, const rt::DateTime& when);

}  // namespace suozhi
