#include "play/scripted_dialogs.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace cn::play {

namespace {

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string DecodeUtf16File(std::string_view bytes) {
  constexpr char32_t kReplacement = 0xFFFD;
  std::string out;
  std::size_t pos = 0;
  const auto unit_at = [&](std::size_t at) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[at]) |
                                 (static_cast<unsigned char>(bytes[at + 1]) << 8));
  };
  if (bytes.size() >= 2 && unit_at(0) == 0xFEFF) pos = 2;
  while (pos + 1 < bytes.size()) {
    const char32_t unit = unit_at(pos);
    pos += 2;
    if (unit >= 0xD800 && unit < 0xDC00 && pos + 1 < bytes.size() && unit_at(pos) >= 0xDC00 &&
        unit_at(pos) < 0xE000) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unit_at(pos) - 0xDC00));
      pos += 2;
    } else if (unit >= 0xD800 && unit < 0xE000) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  if (pos < bytes.size()) AppendUtf8(out, kReplacement);
  return out;
}

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
  const NumberAnswer answer =
      answers_.NextNumber(FirstButton(buttons_and_icon), "message box", log_.step());
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
  TextAnswer answer = answers_.NextText("dialog", log_.step());
  Json event = {
      {"url", url}, {"argument", argument}, {"features", features}, {"result", answer.value}};
  if (answer.defaulted) event["defaulted"] = true;
  log_.Add("dialog", std::move(event));
  return std::move(answer.value);
}

}  // namespace cn::play
