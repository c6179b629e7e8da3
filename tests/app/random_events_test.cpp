// Whatever a browser sends, the real screen answers or refuses it cleanly: thousands of
// events, answers and searches, well-formed or not, drawn from a fixed seed. A refusal is a
// ProtocolError with a 4xx status; nothing else may escape, and the screen keeps rendering.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "app/session_screens.h"
#include "web/protocol_error.h"
#include "../base/temp_folder.h"

namespace cn::app {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::vector<long long> NodesOf(const json& page) {
  std::vector<long long> nodes;
  if (!page.is_object()) return nodes;
  const std::string html = page.value("html", "");
  static const std::regex kNode("data-nid='(\\d+)'");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), kNode); it != std::sregex_iterator(); ++it)
    nodes.push_back(std::stoll((*it)[1]));
  return nodes;
}

int KeyOf(const json& state, const char* page) {
  const auto it = state.find(page);
  return it != state.end() && it->is_object() ? it->value("key", 0) : 0;
}

struct Draw {
  std::mt19937 random;
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
  template <typename T>
  const T& From(const std::vector<T>& items) { return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))]; }
};

// Something that fills a field: text a person types, and some that nobody should.
json AnyValue(Draw& draw) {
  return draw.From(std::vector<json>{"CN24000101", "cn24000103", "", "  ", "WQK 4521", "12/13/2024", "abc\xC3\xA9",
                                     std::string(300, '9'), "\xF0\x9F\x98\x80", "'); alert(1);//", 42, nullptr,
                                     json::array()});
}

json AnyRequest(Draw& draw, const json& state, int frame_key, int workspace_key) {
  const std::vector<long long> frame_nodes = NodesOf(state.value("frame", json()));
  const std::vector<std::string> tabs{"COVCover", "COVVeh", "COVNCD", "COVPrem", "COVNPrem", "nothing"};
  const std::vector<std::string> commands{"cmdReset", "cmdEnquiry", "cmdCalculate", "cmdSave", "cmdNone"};
  const std::vector<std::string> events{"click", "dblclick", "focus", "blur", "change", "keypress", "keydown",
                                        "keyup", "explode"};
  json request;
  switch (draw.Below(10)) {
    case 0: request = {{"kind", "tab"}, {"id", draw.From(tabs)}}; break;
    case 1: request = {{"kind", "command"}, {"id", draw.From(commands)}}; break;
    case 2: request = json::parse(draw.From(std::vector<std::string>{
                "[]", "{}", "{\"kind\":5}", "{\"kind\":\"tab\",\"id\":7}", "{\"kind\":\"element\",\"page\":\"x\"}",
                "{\"kind\":\"element\",\"page\":1,\"node\":-1,\"event\":\"click\"}", "{\"seen\":-1,\"kind\":\"tab\"}",
                "{\"values\":{\"1\":{\"x\":\"y\"}},\"kind\":\"command\",\"id\":\"cmdReset\"}", "null", "\"text\""}));
      break;
    default: {
      if (frame_nodes.empty()) return {{"kind", "tab"}, {"id", "COVCover"}};
      request = {{"kind", "element"},
                 {"page", draw.Below(8) == 0 ? workspace_key : frame_key},
                 {"node", draw.From(frame_nodes)},
                 {"event", draw.From(events)}};
      if (draw.Below(2) == 0) request["key"] = draw.From(std::vector<int>{13, 27, 'a', 'Z', '1', ' ', 0, -3, 0x110000});
      if (draw.Below(3) == 0) request["value"] = AnyValue(draw);
      if (draw.Below(2) == 0)
        request["values"] = {{std::to_string(frame_key), {{std::to_string(draw.From(frame_nodes)), AnyValue(draw)}}}};
    }
  }
  if (request.is_object() && draw.Below(4) == 0) request["seen"] = draw.Below(50);
  return request;
}

json AnyAnswer(Draw& draw, const json& prompt) {
  json answer{{"prompt", draw.Below(6) == 0 ? json(12345) : prompt.value("id", json())}};
  answer["result"] = prompt.value("type", "") == "message"
                         ? draw.From(std::vector<json>{1, 2, 6, 7, 0, "1"})
                         : draw.From(std::vector<json>{"", "CN24000101", "CN24000103", "True;X;Y", 3, "CN99999999"});
  return answer;
}

json AnySearch(Draw& draw, const json& prompt) {
  return {{"prompt", prompt.value("id", json())},
          {"query", draw.From(std::vector<json>{json{{"by", "NUMBER"}, {"text", "CN2400010"}},
                                                json{{"by", "VEHICLE"}, {"text", "W"}}, json{{"by", "NAME"}, {"text", "%_"}},
                                                json{{"by", "IDNO"}, {"text", "1"}}, json{{"by", 1}}, json::array(),
                                                json{{"by", "NUMBER"}, {"text", std::string(500, 'C')}}})}};
}

TEST(RandomEvents, NeverBreakTheRealScreen) {
  const cn::testing::TempFolder folder("covernote-random");
  const fs::path& root = folder.path;
  const auto product = OpenProduct({.database = root / "covernote.db", .settings = root / "settings.toml"});
  const auto screens = SessionScreens(product, COVERNOTE_PAGES_DIR);
  for (const unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Draw draw{std::mt19937(seed)};
    web::Session session({"ADMIN", "HQ001", "H"}, screens);
    session.Open();
    json state = session.Render();
    int refused = 0, prompts = 0;
    for (int step = 0; step < 700; ++step) {
      const json prompt = state.value("prompt", json());
      json request;
      try {
        if (session.WaitingForAnswer() && prompt.is_object()) {
          if (prompt.value("type", "") == "dialog" && draw.Below(3) == 0) {
            request = AnySearch(draw, prompt);
            session.DialogSearch(request);
          } else {
            request = AnyAnswer(draw, prompt);
            session.Answer(request);
          }
        } else {
          request = AnyRequest(draw, state, KeyOf(state, "frame"), KeyOf(state, "workspace"));
          session.Event(request);
        }
      } catch (const web::ProtocolError& refusal) {
        ++refused;
        ASSERT_EQ(refusal.status() / 100, 4) << refusal.status() << " for " << request.dump();
      } catch (const std::exception& failure) {
        FAIL() << "step " << step << ": " << failure.what() << " for " << request.dump();
      }
      const bool asked = state.contains("prompt");
      state = session.Render();
      prompts += state.contains("prompt") && !asked;
    }
    // The walk must have gone somewhere: refusals, and dialogs or message boxes.
    EXPECT_GT(refused, 0);
    EXPECT_GT(prompts, 0);
    session.Close();
  }
}

}  // namespace
}  // namespace cn::app
