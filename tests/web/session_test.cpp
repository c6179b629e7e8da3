#include "web/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "test_screen.h"
#include "web/render.h"
#include "web/server_paths.h"

namespace cn::web {
namespace {

using nlohmann::json;
using testing::NodeOf;
using testing::Refusal;
using Lines = std::vector<std::string>;

// The ops of one page in an answer, as "op id name=value" lines for readable expectations.
Lines Ops(const json& answer, int page_key) {
  Lines lines;
  const auto patches = answer.find("patches");
  if (patches == answer.end() || !patches->contains(std::to_string(page_key))) return lines;
  for (const auto& op : (*patches)[std::to_string(page_key)]) {
    std::string line = op.at("op").get<std::string>();
    if (op.contains("name")) line += " " + op.at("name").get<std::string>() + "=" + op.value("value", "");
    if (op.contains("html")) line += " " + op.at("html").get<std::string>();
    lines.push_back(line);
  }
  return lines;
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_ = std::make_unique<Session>(Identity{"U7", "A01", "B"}, testing::TestScreenFactory(pages_.dir()));
    session_->Open();
    state_ = session_->Render();
    frame_ = state_.at("frame").at("key");
  }

  json Element(const std::string& id, const std::string& event, json extra = json::object()) {
    json request{{"seen", state_.at("seq")}, {"kind", "element"}, {"page", frame_},
                 {"node", NodeOf(state_.at("frame"), id)}, {"event", event}};
    request.update(extra);
    return session_->Event(request);
  }
  json Values(std::initializer_list<std::pair<std::string, std::string>> fields) {
    json values = json::object();
    for (const auto& [id, value] : fields) values[std::to_string(NodeOf(state_.at("frame"), id))] = value;
    return {{"values", {{std::to_string(frame_), values}}}};
  }
  // A field's value as the page renders now.
  std::string Shown(const std::string& id) {
    const std::string html = session_->Render().at("frame").at("html");
    std::smatch match;
    return std::regex_search(html, match, std::regex("id='" + id + "'[^>]*value='([^']*)'")) ? match[1].str() : "";
  }

  testing::TestPages pages_;
  std::unique_ptr<Session> session_;
  json state_;
  int frame_ = 0;
};

TEST_F(SessionTest, FirstRenderCarriesTheShellBothPagesWithNodeIdsAndTheirWiring) {
  const json& shell = state_.at("shell");
  EXPECT_EQ(json({shell["title"], shell["tabs"], shell["buttons"][1], shell["shownTab"], state_["status"]}),
            json::parse(R"(["Test Screen : U7", [{"id":"TABA","caption":"First","page":"TESTA.htm"},{"id":"TABB","caption":"Second","page":"TESTB.htm"}],
                {"id":"cmdSave","caption":"Save","enabled":false,"shown":true}, "TABA", "Done"])"));
  EXPECT_NE(state_.at("workspace").at("html").get<std::string>().find("id='UIF_ID_Msg'"), std::string::npos);
  EXPECT_NE(state_.at("workspace").at("key"), frame_);
  // The keyboard starts in the tab page's first field.
  EXPECT_EQ(state_.at("focus").at("node"), NodeOf(state_.at("frame"), "txtNum"));
  const auto wiring = ReadWiring(state_.at("frame").at("wiring").get<std::string>());
  const auto of = [&](const char* id) { return NodeOf(state_.at("frame"), id); };
  EXPECT_EQ(wiring.at(of("txtNum")), (WiringEntry{{"keypress"}, {}}));
  EXPECT_EQ(wiring.at(of("txtAmount")).filters, std::vector<std::string>{"EntryNumber.htc"});
  EXPECT_FALSE(wiring.contains(of("lblEcho")));
  EXPECT_FALSE(state_.contains("prompt"));
}

// A handler runs with the values typed; its page's changes come back as patches, with the
// focus and selection it set beside them; the shell comes along only when it changed.
TEST_F(SessionTest, HandlersRunWithTheTypedValuesAndTheirChangesComeBack) {
  const json left = Element("txtName", "blur", Values({{"txtName", "Tan Ah Kow"}}));
  // The label's text again, and the amount the server wrote.
  EXPECT_EQ(Ops(left, frame_), (Lines{"content Name Tan Ah Kow", "prop value=1.00"}));
  EXPECT_GT(left.at("seq"), state_.at("seq"));
  EXPECT_FALSE(left.contains("shell"));
  const json copied = Element("cmdCopy", "click", Values({{"txtNum", "CN123"}}));
  EXPECT_EQ(Ops(copied, frame_), (Lines{"prop value=CN123"}));
  EXPECT_EQ(copied.at("focus"),
            (json{{"page", frame_}, {"node", NodeOf(state_.at("frame"), "txtAmount")}, {"select", true}}));
  EXPECT_EQ(Ops(Element("cboKind", "change", {{"value", "B"}}), frame_)[0], "content Kind B");
  EXPECT_THROW(Element("cboKind", "change", {{"value", "Z"}}), ProtocolError);  // no such option
}

TEST_F(SessionTest, KeysOfAFieldWithAKeyHandlerAreTypedOnTheServerAndMayBeRewrittenOrDiscarded) {
  Lines ops;
  for (const int key : {'a', '#', '1', 'b'}) {
    for (const auto& op : Ops(Element("txtNum", "keypress", {{"key", key}}), frame_)) ops.push_back(op);
  }
  EXPECT_EQ(ops, (Lines{"prop value=A", "prop value=A1", "prop value=A1B"}));
  // Keys typed while the browser waited come as one event, each through the handler.
  Element("txtNum", "keypress", {{"key", 'c'}, {"text", "c#2d"}});
  EXPECT_EQ(Shown("txtNum"), "A1BC2D");
  const json enter = Element("txtNum", "keydown", {{"key", 13}});
  EXPECT_EQ(Ops(enter, frame_)[0], "content Read A1BC2D");
  // Save enabled by the page: the shell's state comes along because it changed.
  EXPECT_EQ(enter.at("shell").at("buttons")[1].at("enabled"), true);
}

TEST_F(SessionTest, AKeyGoesWhereTheBrowsersSelectionIsAndReplacesWhatIsSelected) {
  // txtNum: at most 10 characters, letters upper-cased, '#' discarded. {shown, selection, key, after}
  const std::tuple<std::string, std::size_t, std::size_t, char, std::string> cases[] = {
      {"CN24000101", 0, 10, 'c', "C"},          // all selected, the box full
      {"ABCD", 1, 3, 'x', "AXD"},               // part selected
      {"ABCD", 1, 3, '#', "ABCD"},              // a discarded key keeps the selection
      {"0123456789", 5, 5, '7', "0123456789"},  // full: nothing goes in
      {"AB", 7, 9, 'z', "ABZ"},                 // past the end is the end
      {"AB", 1, 1, ' ', "A B"},                 // a space is typed like any other character
  };
  for (const auto& [shown, start, end, key, after] : cases) {
    json request = Values({{"txtNum", shown}});
    request.update({{"key", key}, {"selection", {start, end}}});
    state_ = session_->Render();
    Element("txtNum", "keypress", request);
    EXPECT_EQ(Shown("txtNum"), after) << shown << " " << key;
  }
}

TEST_F(SessionTest, AValuePostedBeforeTheBrowserSawTheServersChangeIsNotApplied) {
  Element("txtName", "blur", Values({{"txtName", "X"}}));  // the server writes 1.00 into txtAmount
  // An event the browser sent before that answer arrived still carries the old amount.
  Element("cmdCopy", "click", Values({{"txtAmount", "999"}}));
  EXPECT_EQ(Shown("txtAmount"), "1.00");
  // Once the browser has seen that answer, its value goes in.
  state_ = session_->Render();
  Element("cmdCopy", "click", Values({{"txtAmount", "42"}}));
  EXPECT_EQ(Shown("txtAmount"), "42");
}

TEST_F(SessionTest, AQuestionSuspendsTheHandlerUntilItsAnswerAndNothingElseRunsMeanwhile) {
  const json prompt = session_->Event({{"kind", "command"}, {"id", "cmdAsk"}}).at("prompt");
  EXPECT_EQ(prompt, (json{{"id", prompt.at("id")}, {"type", "message"}, {"text", "Clear the fields?"},
                          {"style", 36}, {"title", "Question"}}));
  EXPECT_TRUE(session_->WaitingForAnswer());

  // Other events, a reload and wrong answers leave the question waiting.
  EXPECT_EQ(Refusal([&] { session_->Event({{"kind", "tab"}, {"id", "TABB"}}); }).substr(0, 3), "409");
  EXPECT_EQ(session_->Render().at("prompt").at("id"), prompt.at("id"));
  const auto answer = [&](const json& id, int result) {
    return Refusal([&] { session_->Answer({{"prompt", id}, {"result", result}}); });
  };
  EXPECT_NE(answer(prompt.at("id"), 1), "");  // OK is not offered
  EXPECT_NE(answer(999, 6), "");

  const json answered = session_->Answer({{"prompt", prompt.at("id")}, {"result", 6}});
  EXPECT_EQ(json({answered["status"], answered.contains("prompt"), session_->WaitingForAnswer()}),
            json({"Cleared", false, false}));
  EXPECT_NE(answer(prompt.at("id"), 6), "");
  // Closing while a question waits abandons the handler.
  session_->Event({{"kind", "command"}, {"id", "cmdAsk"}});
  session_->Close();
  EXPECT_FALSE(session_->WaitingForAnswer());
}

TEST_F(SessionTest, ATabChangeSendsTheNewPageWholeAndRefusesEventsOfTheOldOne) {
  const json answer = session_->Event({{"kind", "tab"}, {"id", "TABB"}});
  EXPECT_NE(answer.at("frame").at("key"), frame_);
  EXPECT_EQ(json({answer["frame"]["html"].get<std::string>().find("txtOther") != std::string::npos,
                  answer["shell"]["shownTab"]}), json({true, "TABB"}));
  EXPECT_EQ(Refusal([&] { Element("txtNum", "click"); }).substr(4), "stale-page");
  // Hidden tabs cannot be clicked into view.
  EXPECT_FALSE(session_->Event({{"kind", "tab"}, {"id", "TABH"}}).contains("frame"));
}

// Shown again, a page comes as what changed since the copy the browser kept when it left it;
// after a reload the browser keeps nothing, and the page comes whole.
TEST_F(SessionTest, APageShownAgainComesAsItsChangesSinceTheCopyTheBrowserKept) {
  Element("txtName", "blur", Values({{"txtName", "Lim"}}));  // "Name Lim", and 1.00 in txtAmount
  session_->Event({{"kind", "tab"}, {"id", "TABB"}});
  const json again = session_->Event({{"kind", "tab"}, {"id", "TABA"}});
  const json& frame = again.at("frame");
  EXPECT_EQ(json({frame["kept"], frame["file"], frame.contains("html")}), json({true, "TESTA.htm", false}));
  // A fresh load of the page shows none of it.
  EXPECT_EQ(Ops(again, frame.at("key")), (Lines{"content ", "attr-removed value=", "attr-removed value="}));
  session_->Event({{"kind", "tab"}, {"id", "TABB"}});
  session_->Render();
  EXPECT_TRUE(session_->Event({{"kind", "tab"}, {"id", "TABA"}}).at("frame").contains("html"));
}

TEST_F(SessionTest, AMessageNamesAMissingPageFileWithoutTheServersFolders) {
  std::filesystem::remove(pages_.dir() / "TESTB.htm");
  const std::string text = session_->Event({{"kind", "tab"}, {"id", "TABB"}}).at("prompt").at("text");
  EXPECT_NE(text.find("Page file not found: TESTB.htm"), std::string::npos) << text;
  EXPECT_EQ(text.find(pages_.dir().parent_path().string()), std::string::npos) << text;
}

TEST(ServerPathsTest, PathsAreShortenedToTheirLastPartAndNothingElseChanges) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"cannot open '/var/lib/covernote/x.db'.", "cannot open 'x.db'."},
      {"/tmp/a/b/ (/etc/covernote/settings.toml)", "b (settings.toml)"},
      {"01/02/2024, A/P, No./ Date, 1 / 2, http://host/a/b, /root",
       "01/02/2024, A/P, No./ Date, 1 / 2, http://host/a/b, /root"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(HideServerPaths(text), shown);
}

TEST_F(SessionTest, MalformedEventsAreRefusedWithoutChangingAnything) {
  const json before = session_->Render().at("frame");
  const json num{{"kind", "element"}, {"page", frame_}, {"node", NodeOf(before, "txtNum")}};
  const auto at_num = [&](json extra) {
    json request = num;
    request.update(extra);
    return request;
  };
  const json bad[] = {
      json::array(),
      {{"kind", "warp"}},
      {{"kind", "tab"}},
      {{"kind", "element"}, {"page", frame_}, {"node", 999999}, {"event", "click"}},
      at_num({{"event", "explode"}}),
      at_num({{"event", "keypress"}, {"key", -5}}),
      at_num({{"event", "keypress"}, {"key", 65}, {"selection", {3, 1}}}),
      at_num({{"event", "keypress"}, {"key", 65}, {"text", "A\nB"}}),
      {{"kind", "command"}, {"id", "cmdAsk"}, {"values", {{std::to_string(frame_), {{"x", "1"}}}}}},
      {{"kind", "command"}, {"id", "cmdAsk"}, {"seen", "yesterday"}},
  };
  for (const json& request : bad) EXPECT_THROW(session_->Event(request), ProtocolError) << request.dump();
  EXPECT_FALSE(session_->WaitingForAnswer());
  EXPECT_EQ(session_->Render().at("frame").at("html"), before.at("html"));
}

// Dialog pages that echo: the opening names its argument, a search returns its text found.
class EchoDialogPages final : public DialogPages {
 public:
  json Opening(std::string_view url, std::string_view argument) override {
    return {{"title", std::string(url) + " " + std::string(argument)}};
  }
  json Search(std::string_view, std::string_view, const json& query) override {
    if (!query.contains("text")) throw ProtocolError(400, "bad-request", "no text");
    return {{"found", query["text"]}};
  }
};

TEST(SessionDialogTest, ADialogOpensWithItsContentSearchesWhileOpenAndReturnsTheChoice) {
  testing::TestPages pages;
  Session session(Identity{"U7", "A01", "B"},
                  testing::TestScreenFactory(pages.dir(), std::make_shared<EchoDialogPages>(), pages.dir() / "inst"));
  session.Open();
  const json prompt = session.Event({{"kind", "command"}, {"id", "cmdPick"}}).at("prompt");
  EXPECT_EQ(json({prompt["type"], prompt["url"], prompt["content"]}),
            json({"dialog", "dlgSrch.htm", {{"title", "dlgSrch.htm SearchBody"}}}));

  const json id = prompt.at("id");
  const auto search = [&](const json& prompt_id, const json& query) {
    return Refusal([&] { session.DialogSearch({{"prompt", prompt_id}, {"query", query}}); });
  };
  EXPECT_EQ(search(999, {{"text", "x"}}).substr(0, 3), "409");
  EXPECT_EQ(search(id, "x").substr(0, 3), "400");
  EXPECT_EQ(search(id, json::object()).substr(0, 3), "400");
  EXPECT_EQ(session.DialogSearch({{"prompt", id}, {"query", {{"text", "sal"}}}}), json({{"found", "sal"}}));
  EXPECT_TRUE(session.WaitingForAnswer());  // searching leaves the dialog open

  EXPECT_EQ(session.Answer({{"prompt", id}, {"result", "True;B01;Saloon"}}).at("status"),
            "Picked True;B01;Saloon");
  EXPECT_EQ(search(id, {{"text", "x"}}).substr(0, 3), "409");
  // A message box is no dialog to search in.
  const json asked = session.Event({{"kind", "command"}, {"id", "cmdAsk"}});
  EXPECT_NE(search(asked.at("prompt").at("id"), {{"text", "x"}}), "");
}

}  // namespace
}  // namespace cn::web
