#include "shell/script_statement.h"

#include <gtest/gtest.h>

#include "base/runtime_failure.h"

namespace cn::shell {
namespace {

TEST(ScriptStatement, ReadsTheStatementsPagesRun) {
  const std::pair<std::string_view, ScriptStatement> cases[] = {
      {"ShowTitle('Cover Note Amendment - Administrator : CN001')",
       {"ShowTitle", {std::string("Cover Note Amendment - Administrator : CN001")}}},
      {"InsertCmdButton('cmdSave','Save','')", {"InsertCmdButton", {std::string("cmdSave"), std::string("Save"), std::string()}}},
      {"EnableCmdButton('cmdSave', false)", {"EnableCmdButton", {std::string("cmdSave"), false}}},
      {"TabFocus('COVCover');", {"TabFocus", {std::string("COVCover")}}},
      {"  DelCookie( 'CNote' )  ", {"DelCookie", {std::string("CNote")}}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseScriptStatement(text), expected) << text;
}

TEST(ScriptStatement, RefusesAnythingButOneCallWithLiterals) {
  const std::string_view refused[] = {
      "", "alert(1)", "ShowTitle(\"double quoted\")", "ShowTitle('a'); TabFocus('b')", "ShowTitle('unclosed)",
      "ShowTitle('back\\slash')", "ShowTitle('a',)", "javascript:ShowTitle('a')", "EnableCmdButton('cmdSave', True)",
      "ShowTitle('a')\nShowTitle('b')"};
  for (const std::string_view text : refused) EXPECT_THROW(ParseScriptStatement(text), RuntimeFailure) << text;
}

}  // namespace
}  // namespace cn::shell
