#include "replies.h"

#include "base/separators.h"
#include "base/text.h"

namespace cn::testing {
namespace {

std::string Joined(std::initializer_list<std::string_view> parts, std::string_view separator) {
  return Join(std::vector<std::string>(parts.begin(), parts.end()), separator);
}

}  // namespace

std::string Fields(std::initializer_list<std::string_view> fields) {
  return Joined(fields, FieldSeparator);
}

std::string Records(std::initializer_list<std::string_view> records) {
  return Joined(records, RecordSeparator);
}

std::string Entry(std::string_view code, std::string_view text) { return Fields({code, text}); }

std::string CodeList(std::initializer_list<std::pair<std::string_view, std::string_view>> codes) {
  std::string list;
  for (const auto& [code, value] : codes) {
    if (!list.empty()) list += RecordSeparator;
    list += Entry(code, value);
  }
  return list;
}

std::string Readable(std::string_view text) {
  std::string readable(text);
  readable = Replace(readable, ParamSeparator, "^");
  readable = Replace(readable, FieldSeparator, "|");
  readable = Replace(readable, RecordSeparator, "~");
  return Replace(readable, DialogArgSeparator, "#");
}

}  // namespace cn::testing
