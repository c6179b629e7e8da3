#include "integration/list_search.h"

#include <utility>

#include "base/number_format.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn {
namespace {

bool HasCode(std::string_view entry, std::string_view code) { return FieldView(entry, 0) == code; }

}  // namespace

std::vector<std::string> SplitList(std::string_view reply) {
  return Split(reply, RecordSeparator);
}

std::vector<std::string> SplitFields(std::string_view entry) {
  return Split(entry, FieldSeparator);
}

std::string_view FieldView(std::string_view entry, std::size_t index) {
  std::size_t from = 0;
  for (std::size_t i = 0; i < index; ++i) {
    const std::size_t at = entry.find(FieldSeparator, from);
    if (at == std::string_view::npos) return {};
    from = at + FieldSeparator.size();
  }
  const std::size_t end = entry.find(FieldSeparator, from);
  return entry.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
}

std::string FieldAt(const std::vector<std::string>& fields, std::size_t index) {
  return index < fields.size() ? fields[index] : std::string();
}

std::string FindCodeInList(const std::vector<std::string>& list, std::string_view code) {
  for (const std::string& entry : list) {
    if (HasCode(entry, code)) return std::string(code);
  }
  return {};
}

std::string FindDescription(std::string_view code, const std::vector<std::string>& list) {
  for (const std::string& entry : list) {
    if (FieldView(entry, 0) == code) return std::string(FieldView(entry, 1));
  }
  return {};
}

std::string FindDescriptionInReply(std::string_view code, std::string_view reply) {
  // The reply is searched where it lies: screens look codes up in the same long lists often.
  std::size_t from = 0;
  while (from < reply.size()) {
    const std::size_t at = reply.find(RecordSeparator, from);
    const std::string_view entry = reply.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from);
    if (FieldView(entry, 0) == code) return std::string(FieldView(entry, 1));
    if (at == std::string_view::npos) break;
    from = at + RecordSeparator.size();
  }
  return {};
}

void FindEntryFields(const std::vector<std::string>& list, std::string_view code,
                     std::string& field2, std::string& field3) {
  // Reverse iterators rather than a reversed view: the fuzzing build's clang cannot compile
  // the standard library's views.
  for (auto entry = list.rbegin(); entry != list.rend(); ++entry) {
    if (FieldView(*entry, 0) == code) {
      field2 = std::string(FieldView(*entry, 2));
      field3 = std::string(FieldView(*entry, 3));
      return;
    }
  }
}

bool FindMotorClassFields(std::string_view list_text, std::string_view code,
                          MotorClassFields& fields) {
  for (const std::string& entry : SplitList(list_text)) {
    const std::vector<std::string> parts = SplitFields(entry);
    if (FieldAt(parts, 0) != code) continue;
    const std::string amount = FieldAt(parts, 2);
    MotorClassFields found{FieldAt(parts, 1), amount.empty() ? amount : FormatMoney2(amount),
                           FieldAt(parts, 3), FieldAt(parts, 4), FieldAt(parts, 5)};
    fields = std::move(found);
    return true;
  }
  return false;
}

}  // namespace cn
