#include "shell/script_statement.h"

#include <cctype>

#include "base/runtime_failure.h"

namespace cn::shell {

namespace {

constexpr std::int32_t kScriptError = 1002;  // syntax error, as a script engine numbers it

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  [[noreturn]] void Fail(std::string_view what) const {
    throw RuntimeFailure(kScriptError, "Script refused (" + std::string(what) + "): " + std::string(text_),
                         "HostShell");
  }

  void SkipSpaces() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }
  bool AtEnd() const { return at_ >= text_.size(); }
  bool Peek(char c) const { return at_ < text_.size() && text_[at_] == c; }
  void Expect(char c, std::string_view what) {
    SkipSpaces();
    if (!Peek(c)) Fail(what);
    ++at_;
  }

  std::string Name() {
    SkipSpaces();
    const std::size_t start = at_;
    while (at_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_')) {
      ++at_;
    }
    if (at_ == start || std::isdigit(static_cast<unsigned char>(text_[start]))) Fail("function name expected");
    return std::string(text_.substr(start, at_ - start));
  }

  ScriptArgument Argument() {
    SkipSpaces();
    if (Peek('\'')) {
      ++at_;
      const std::size_t close = text_.find('\'', at_);
      if (close == std::string_view::npos) Fail("unclosed quote");
      std::string literal(text_.substr(at_, close - at_));
      if (literal.find('\\') != std::string::npos) Fail("backslash in a literal");
      at_ = close + 1;
      return literal;
    }
    const std::string word = Name();
    if (word == "true") return true;
    if (word == "false") return false;
    Fail("quoted text, true or false expected");
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

ScriptStatement ParseScriptStatement(std::string_view script) {
  Reader reader(script);
  ScriptStatement statement;
  statement.function = reader.Name();
  reader.Expect('(', "'(' expected");
  reader.SkipSpaces();
  if (!reader.Peek(')')) {
    while (true) {
      statement.arguments.push_back(reader.Argument());
      reader.SkipSpaces();
      if (reader.Peek(',')) {
        reader.Expect(',', "',' expected");
        continue;
      }
      break;
    }
  }
  reader.Expect(')', "')' expected");
  reader.SkipSpaces();
  if (reader.Peek(';')) reader.Expect(';', "';' expected");
  reader.SkipSpaces();
  if (!reader.AtEnd()) reader.Fail("text after the statement");
  return statement;
}

}  // namespace cn::shell
