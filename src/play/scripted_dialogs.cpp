#include "play/scripted_dialogs.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "integration/selection_file.h"

namespace cn::play {

void SelectionFileWatch::Check(EventLog& log) {
  std::error_code error;
  if (file_.empty() || !std::filesystem::is_regular_file(file_, error)) return;
  std::ifstream in(file_, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (bytes == last_bytes_) return;
  log.Add("selectionFile", {{"text", DecodeUtf16File(bytes)}});
  last_bytes_ = std::move(bytes);
}

int ScriptedDialogs::MessageBox(std::string_view prompt, int buttons_and_icon,
                                std::string_view title) {
  // The box of a numbered message is answered as that message.
  const NumberAnswer answer = answers_.NextNumber(
      FirstButton(buttons_and_icon),
      {.kind = "message box", .number = answers_.shown_message(), .title = title, .url = ""},
      log_.step());
  Json event = {{"prompt", prompt},
                {"buttons", buttons_and_icon},
                {"title", title},
                {"answer", answer.value}};
  if (answer.defaulted) event["defaulted"] = true;
  log_.Add("msgbox", std::move(event));
  return answer.value;
}

std::string ScriptedDialogs::ShowModalDialog(std::string_view url, std::string_view argument,
                                             std::string_view features) {
  selection_file_.Check(log_);
  TextAnswer answer = answers_.NextText(
      {.kind = "dialog", .number = std::nullopt, .title = "", .url = url}, log_.step());
  Json event = {
      {"url", url}, {"argument", argument}, {"features", features}, {"result", answer.value}};
  if (answer.defaulted) event["defaulted"] = true;
  log_.Add("dialog", std::move(event));
  return std::move(answer.value);
}

}  // namespace cn::play
