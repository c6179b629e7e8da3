// What the browser receives must read back as the answer that was built, whichever writer
// wrote it; text that is not UTF-8 arrives with the bad bytes replaced, never as a failure.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "web/json_text.h"
#include "web/log_text.h"

namespace cn::web {
namespace {

using nlohmann::json;

TEST(JsonText, ReadsBackAsTheAnswerBuilt) {
  const json cases[] = {
      json::object(), json::array(),
      {{"html", "<td class=\"clsLabel\" data-nid=\"20\">Cover Note No.:</td>\n\t"}},
      {{"text", std::string("nul \0 bell \x07 quote \" backslash \\ slash /", 40)}},
      {{"name", "Siti Nurhaliza bt Ab\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"}},
      {{"seq", 18446744073709551615ull}, {"key", -9223372036854775807ll - 1}, {"amount", 1234.5}, {"on", true},
       {"none", nullptr}},
      {{"patches", {{"3", json::array({{{"op", "prop"}, {"id", 12}, {"value", "A"}}})}}}},
      {{"\xC3\xA9t\xC3\xA9", json::array({1, "x", json::array({json::object()})})}},
  };
  for (const json& answer : cases) {
    SCOPED_TRACE(answer.dump());
    EXPECT_EQ(json::parse(JsonText(answer)), answer);
  }
}

TEST(JsonText, BadTextAndNumbersJsonCannotCarryStillTravel) {
  const auto read_back = [](const json& answer) { return json::parse(JsonText(answer)); };
  EXPECT_EQ(read_back({{"value", "ab\xFF" "cd"}, {"html", std::string(5000, 'x')}}).at("value"),
            "ab\xEF\xBF\xBD" "cd");
  EXPECT_EQ(read_back({{"\xC0\xAF", 1}}).size(), 1u);
  EXPECT_EQ(read_back({{"amount", std::nan("")}, {"big", std::numeric_limits<double>::infinity()}}),
            (json{{"amount", nullptr}, {"big", nullptr}}));
}

TEST(JsonText, Utf8IsCheckedAsTheStandardDefinesIt) {
  // clang-format off
  const std::pair<const char*, bool> cases[] = {
      {"", true}, {"plain ASCII", true}, {"\xC3\xA9", true}, {"\xE2\x82\xAC", true},  // e acute, euro sign
      {"\xF4\x8F\xBF\xBF", true}, {"\xC3", false},  // U+10FFFF; cut short
      {"\xC0\xAF", false}, {"\xE0\x80\xAF", false}, {"\xED\xA0\x80", false},  // overlong slashes, a surrogate
      {"\xF4\x90\x80\x80", false}, {"\x80", false},  // past U+10FFFF; a continuation alone
      {"\xFF", false}, {"ok \xE2\x82", false},
      {"eight ok\xC3", false}, {"sixteen bytes ok\xE2\x82\xAC", true}};  // past a run of ASCII
  // clang-format on
  for (const auto& [text, utf8] : cases) EXPECT_EQ(IsUtf8(text), utf8) << text;
}

// A name holding a line break must not write a log line of its own.
TEST(LogText, ControlsAndLineSeparatorsAreEscapedAndLongTextIsCut) {
  EXPECT_EQ(LogText("a\\b\nc\rd\te\x1b\x7f"), "a\\\\b\\nc\\rd\\te\\x1b\\x7f");
  EXPECT_EQ(LogText("\xC2\x85|\xE2\x80\xA8|\xE2\x80\xA9|\xC3\xA9"), "\\u0085|\\u2028|\\u2029|\xC3\xA9");
  EXPECT_EQ(LogText("abcdef", 4), "abcd\u2026");
}

}  // namespace
}  // namespace cn::web
