#include "integration/conversions.h"

#include <optional>
#include <string>

#include "base/date_reader.h"
#include "base/runtime_failure.h"

namespace cn {
namespace {

[[noreturn]] void NotA(std::string_view what, std::string_view text, std::string_view routine) {
  throw RuntimeFailure(failure::kTypeMismatch,
                       "Type mismatch: \"" + std::string(text) + "\" is not " + std::string(what),
                       std::string(routine));
}

}  // namespace

Date RequireDate(std::string_view text, std::string_view routine) {
  const std::optional<Date> date = ReadDate(text);
  if (!date) NotA("a date", text, routine);
  return *date;
}

DateTime RequireDateTime(std::string_view text, std::string_view routine) {
  const std::optional<DateTime> read = ReadDateTime(text);
  if (!read) NotA("a date", text, routine);
  return *read;
}

Currency RequireNumber(std::string_view text, std::string_view routine) {
  const std::optional<Currency> number = Currency::TryParse(text);
  if (!number) NotA("a number", text, routine);
  return *number;
}

}  // namespace cn
