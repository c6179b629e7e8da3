#include "integration/list_search.h"

#include <utility>

#include "base/number_format.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn {
namespace {

bool HasCode(std::string_view entry, std::string_view code) {
  return FieldAt(SplitFields(entry), 0) == code;
}

}  // namespace

std::vector<std::string> SplitList(std::string_view reply) {
  return Split(reply, RecordSeparator);
}

std::vector<std::string> SplitFields(std::string_view entry) {
  return Split(entry, FieldSeparator);
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
    const std::vector<std::string> fields = SplitFields(entry);
    if (FieldAt(fields, 0) == code) return FieldAt(fields, 1);
  }
  return {};
}

void FindEntryFields(const std::vector<std::string>& list, std::string_view code,
                     std::string& field2, std::string& field3) {
  // Reverse iterators rather than a reversed view: the fuzzing build's clang cannot compile
  // the standard library's views.
  for (auto entry = list.rbegin(); entry != list.rend(); ++entry) {
    const std::vector<std::string> fields = SplitFields(*entry);
    if (FieldAt(fields, 0) == code) {
      field2 = FieldAt(fields, 2);
      field3 = FieldAt(fields, 3);
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
