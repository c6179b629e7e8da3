#pragma once
// The only script the pages ever run in a window: one call of a shell function with quoted
// literal or true/false arguments, e.g. "EnableCmdButton('cmdSave', false)". It is read by a
// strict parser and dispatched by name; nothing is ever evaluated as general script.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cn::shell {

using ScriptArgument = std::variant<std::string, bool>;

struct ScriptStatement {
  std::string function;
  std::vector<ScriptArgument> arguments;
  bool operator==(const ScriptStatement&) const = default;
};

// Grammar: Name "(" [ Arg { "," Arg } ] ")" [ ";" ], spaces allowed around the punctuation;
// Arg is '...' (no quote or backslash inside) or true / false. Anything else is a
// RuntimeFailure quoting the text.
ScriptStatement ParseScriptStatement(std::string_view script);

}  // namespace cn::shell
