#include "desktop/run_log.h"

#include "runtime/codepage.h"
#include "runtime/files.h"

namespace suozhi {
Text FormatLogTime(const rt::DateTime& when) {
  static const Text kYear = cp::FromUtf8("年"), kMonth = cp::FromUtf8("月"),
                    kDay = cp::FromUtf8("日"), kHour = cp::FromUtf8("时"),
                    kMinute = cp::FromUtf8("分"), kSecond = cp::FromUtf8("秒");
  Text out =
      rt::ToText(when.year) + kYear + rt::ToText(when.month) + kMonth + rt::ToText(when.day) + kDay;
  if (when.second != 0) {
    out += rt::ToText(when.hour) + kHour + rt::ToText(when.minute) + kMinute +
           rt::ToText(when.second) + kSecond;
  } else if (when.minute != 0) {
    out += rt::ToText(when.hour) + kHour + rt::ToText(when.minute) + kMinute;
  } else if (when.hour != 0) {
    out += rt::ToText(when.hour) + kHour;
  }
  return out;
}

Text DefaultLogPath() {
  static const Text kLogName = cp::FromUtf8("运行日志.txt");
  return rt::RunDirectory() + rt::PathSeparator() + kLogName;
}

void WriteRunLogAt(const Text& message, const Text& logFile, const rt::DateTime& when) {
  rt::PrependLine(logFile, FormatLogTime(when) + "   " + message);
}

void WriteRunLog(const Text& message, Text& logFile) {
  WriteRunLogAt(message, logFile, rt::NowLocal());
}

void WriteRunLog(const Text& message) {
  Text logFile = DefaultLogPath();
  WriteRunLog(message, logFile);
}

}  // namespace suozhi
