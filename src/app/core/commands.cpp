#include "app/core/commands.h"

#include "desktop/clipboard.h"
#include "desktop/message_box.h"
#include "desktop/run_log.h"
#include "json/json_object.h"
#include "pattern/regex_object.h"
#include "pattern/url_encode.h"
#include "runtime/codepage.h"
#include "web/web_request.h"

namespace suozhi {

Text g_EncodedUrl;
Text g_TypeText;

namespace {

// The program's own texts, in the code page.
struct Texts {
  Text enterUrl = cp::FromUtf8("请输入原网址");
  Text badUrl = cp::FromUtf8("网址错误，网址需要加上 http:// 或者 https://");
  Text inputTitle = cp::FromUtf8("青蓝鹭提示");
  Text generateFailed = cp::FromUtf8("生成失败");
  Text restoreFailed = cp::FromUtf8("还原失败");
  Text shortenLog = cp::FromUtf8("网址缩短》原网址：");
  Text shortenLogLink = cp::FromUtf8("----短网址：");
  Text restoreLog = cp::FromUtf8("网址还原》短网址：");
  Text restoreLogAddress = cp::FromUtf8("----原网址：");
  Text helpTitle = cp::FromUtf8("温馨提示");
  Text generateHelp = cp::FromUtf8(
      "请输入带http://或https://的网址，然后点击生成即可，软件更新请加官方群：731840296");
  Text restoreHelp = cp::FromUtf8(
      "请输入带http://或https://的短链网址，然后点击还原即可，软件更新请加官方群：731840296");
};

const Texts& T() {
  static const Texts texts;
  return texts;
}

constexpr std::string_view kInput = "原网址内容";
constexpr std::string_view kShortOutput = "短网址内容";
constexpr std::string_view kRestoreInput = "短网址还原1";
constexpr std::string_view kRestoreOutput = "短网址还原2";

bool IsSuccessCode(Text& answer) {
  return rt::ToInteger(rt::ToNumber(ReadJsonText(answer, "code"))) == 200;
}

// A member the answer lacks, or holds as null, is no result.
bool IsResult(const Text& value) {
  return !value.empty() && value != "null";
}

}  // namespace

int OnStartup() {
  return 0;
}

void OnExit() {
  g_EncodedUrl.clear();
  g_EncodedUrl.shrink_to_fit();
  g_TypeText.clear();
  g_TypeText.shrink_to_fit();
}

Commands::Commands(ControlHost& controls, platform::WindowSystem& windows, CommandOptions options)
    : controls_(controls), windows_(windows), options_(std::move(options)) {}

int Commands::GetSelectedType() {
  for (int type = 1; type <= 8; ++type) {
    if (controls_.GetChecked(app::kTypeButtons[type - 1]) == 1) return type;
  }
  return 1;
}

void Commands::Log(const Text& message) {
  if (options_.logFile.empty()) {
    WriteRunLog(message);
  } else {
    Text logFile = options_.logFile;
    WriteRunLog(message, logFile);
  }
}

void Commands::OnGenerateClick() {
  // The input box is read afresh at every step: the user may change it while
  // the answer is on its way, and the log shows what it holds at the end.
  if (controls_.GetText(kInput).empty()) {
    TimedMessageBox(windows_, T().enterUrl, {}, T().inputTitle);
    return;
  }
  if (FindPatternMatch(controls_.GetText(kInput), 1).empty()) {
    TimedMessageBox(windows_, T().badUrl, {}, T().inputTitle);
    return;
  }
  g_EncodedUrl = UrlEncode(controls_.GetText(kInput));
  g_TypeText = rt::ToText(GetSelectedType());
  const auto shortLink =
      Ask("/api/url", "url=" + g_EncodedUrl + "&type=" + g_TypeText, "data['short_url']");
  if (!shortLink) {
    controls_.SetText(kShortOutput, T().generateFailed);
    return;
  }
  Deliver(kShortOutput, *shortLink,
          T().shortenLog + controls_.GetText(kInput) + T().shortenLogLink + *shortLink);
}

void Commands::OnRestoreClick() {
  const Text shortLink = controls_.GetText(kRestoreInput);
  // The link is a form value: encoded, so that &, = and + in it stay part of it.
  const auto longAddress = Ask("/api/url/query", "url=" + UrlEncode(shortLink), "data['long_url']");
  if (!longAddress) {
    controls_.SetText(kRestoreOutput, T().restoreFailed);
    return;
  }
  Deliver(kRestoreOutput, *longAddress,
          T().restoreLog + shortLink + T().restoreLogAddress + *longAddress);
}

std::optional<Text> Commands::Ask(std::string_view path, const Text& body, const Text& member) {
  Text answer =
      WebRequestText("http://" + options_.apiHost + Text(path), "POST", {}, nullptr, body);
  if (!IsSuccessCode(answer)) return std::nullopt;
  Text value = ReadJsonText(answer, member);
  if (!IsResult(value)) return std::nullopt;
  return value;
}

void Commands::Deliver(std::string_view box, const Text& result, const Text& logMessage) {
  Log(logMessage);
  controls_.SetText(box, result);
  SetClipboardText(windows_, result);
}

void Commands::OnCopyShortClick() {
  SetClipboardText(windows_, controls_.GetText(kShortOutput));
}

void Commands::OnCopyRestoredClick() {
  SetClipboardText(windows_, controls_.GetText(kRestoreOutput));
}

void Commands::OnGenerateHelpClick() {
  windows_.MessageBox(T().generateHelp, T().helpTitle, platform::kMbOk | platform::kMbTaskModal);
}

void Commands::OnRestoreHelpClick() {
  windows_.MessageBox(T().restoreHelp, T().helpTitle, platform::kMbOk | platform::kMbTaskModal);
}

void Commands::Dispatch(app::Handler handler) {
  switch (handler) {
    case app::Handler::kGenerateHelp:
      return OnGenerateHelpClick();
    case app::Handler::kGenerate:
      return OnGenerateClick();
    case app::Handler::kCopyShort:
      return OnCopyShortClick();
    case app::Handler::kRestore:
      return OnRestoreClick();
    case app::Handler::kCopyRestored:
      return OnCopyRestoredClick();
    case app::Handler::kRestoreHelp:
      return OnRestoreHelpClick();
    case app::Handler::kNone:
      return;
  }
}

}  // namespace suozhi
