// The row tables' command script: the one accepted form, and everything else refused untouched.
#include "dom/attribute_script.h"

#include <gmock/gmock.h>

#include "../base/failure_text.h"
#include "dom/document.h"
#include "dom/events.h"

namespace cn::dom {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr std::string_view kPage = R"(<body>
  <span id=kvExecuteCommand style="display:none">before</span>
  <table><tr id=rowDrv2><td><input id=txtICNo></td></tr></table>
</body>)";

struct Page {
  std::shared_ptr<Document> document = Document::Parse(kPage);
  std::shared_ptr<Element> command = document->GetElementById("kvExecuteCommand");
  std::shared_ptr<Element> row = document->GetElementById("rowDrv2");
  std::shared_ptr<Element> control = document->GetElementById("txtICNo");
  std::vector<std::string> commands;  // what the page's command handler received

  Page() {
    document->Bind("kvExecuteCommand", "onclick",
                   [this] { commands.push_back(command->InnerText()); });
  }

  void Run(std::string_view script) {
    row->SetAttribute("onClicked", script);
    Event event("clicked", control);
    RunAttributeScript(*row, "onClicked", event);
  }
};

TEST(CommandScript, ReadsTheFormTheRowTablesWrite) {
  const std::pair<const char*, CommandScript> cases[] = {
      {"kvExecuteCommand.innerText='cmdHighliteRow{#+#}' + event.srcElement.id + "
       "'{#,#}2';kvExecuteCommand.click();",
       {"kvExecuteCommand", "cmdHighliteRow{#+#}", "{#,#}2"}},
      // Whitespace around "=", "+" and ";" and at both ends.
      {" \tkvExecuteCommand.innerText = 'DOBChanged{#+#}'+event.srcElement.id+'{#,#}0' ; "
       "kvExecuteCommand.click() ;\r\n",
       {"kvExecuteCommand", "DOBChanged{#+#}", "{#,#}0"}},
      // Another command element, several commands, text that is not ASCII.
      {"kvCmd_2.innerText='a{#.#}b{#+#}' + event.srcElement.id + '{#,#}9 "
       "\xC3\xA9';kvCmd_2.click();",
       {"kvCmd_2", "a{#.#}b{#+#}", "{#,#}9 \xC3\xA9"}},
  };
  for (const auto& [script, parsed] : cases)
    EXPECT_EQ(ParseCommandScript(script), parsed) << script;
}

TEST(CommandScript, RefusesEverythingElseAndTouchesNothing) {
  // clang-format off
  const std::string set = "kvExecuteCommand.innerText=", id = " + event.srcElement.id + ";
  const std::string good_first = set + "'C{#+#}'" + id + "'{#,#}1';", good_second = "kvExecuteCommand.click();";
  const std::string refused[] = {
      "", "alert(1)", good_first,  // no click
      good_first + "kvExecuteCommand.click()",  // missing last semicolon
      set + "'C{#+#}'" + id + "'{#,#}1'kvExecuteCommand.click();",
      good_first + "otherElement.click();",  // a second element name
      good_first + good_second + "alert(1);",  // text after the second statement
      set + "'C' + document.cookie + '{#,#}1';" + good_second, set + "'C{#+#}'" + id + "'{#,#}' + 1;" + good_second,
      set + "'C{#+#}' + event.srcElement.name + '{#,#}1';" + good_second,
      "kvExecuteCommand.innerHTML='<img src=x onerror=alert(1)>'" + id + "'';" + good_second,
      set + "\"C{#+#}\"" + id + "\"{#,#}1\";" + good_second, set + "'C\\'{#+#}'" + id + "'{#,#}1';" + good_second,
      set + "'C{#+#}'" + id + "'{#,#}1;" + good_second,  // unclosed quote
      "kvExecuteCommand .innerText='C{#+#}'" + id + "'{#,#}1';" + good_second,
      good_first + "kvExecuteCommand.click ();", good_first + "window.kvExecuteCommand.click();"};
  // clang-format on
  for (const std::string& script : refused) {
    SCOPED_TRACE(script);
    Page page;
    EXPECT_THAT(FailureText([&] { page.Run(script); }),
                AllOf(StartsWith("5: "), HasSubstr("\"" + script + "\"")));
    EXPECT_EQ(page.command->InnerText(), "before");
    EXPECT_TRUE(page.commands.empty());
  }
}

TEST(CommandScript, AMissingScriptOrCommandElementFailsNamingIt) {
  Page page;
  Event event("clicked", page.control);
  EXPECT_THROW(RunAttributeScript(*page.row, "onClicked", event), RuntimeFailure);
  EXPECT_THAT(FailureText([&] {
                page.Run("kvMissing.innerText='C{#+#}' + event.srcElement.id + '{#,#}1';"
                         "kvMissing.click();");
              }),
              HasSubstr("'kvMissing'"));
  EXPECT_TRUE(page.commands.empty());
}

}  // namespace
}  // namespace cn::dom
