#include "integration/ic_numbers.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/currency.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/text.h"
#include "integration/reporting.h"

namespace cn {
namespace {

constexpr std::array<std::string_view, 5> kNilWords = {"nil", "NIL", "na", "-", "NA"};
constexpr std::string_view kInvalidICTitle = "Invalid IC Number";

bool IsNilWord(std::string_view trimmed) {
  return std::ranges::find(kNilWords, trimmed) != kNilWords.end();
}

// The first six characters YYMMDD as "DD-MM-YY", read by the one date reader, so
// that its month/day fallback applies as everywhere else.
std::string BirthDateText(std::string_view number) {
  return Mid(number, 5, 2) + "-" + Mid(number, 3, 2) + "-" + Mid(number, 1, 2);
}

bool BirthDatePasses(std::string_view number) {
  return ReadDate(BirthDateText(number)).has_value();
}

void ShowInvalidIC(const Components& components, std::string_view kind,
                   std::string_view example) {
  ShowNumberedMessage(components, kInvalidICNumberMessage, kInvalidICTitle,
                      {kind, example, "", "", ""});
}

bool IsValidNewIC(std::string_view number) {
  const std::size_t length = Len(number);
  if (length == 12) return IsNumeric(number) && BirthDatePasses(number);
  if (length == 14) {
    return BirthDatePasses(number) && Mid(number, 7, 1) == "-" && Mid(number, 10, 1) == "-" &&
           IsNumeric(Mid(number, 1, 6) + Mid(number, 8, 2) + Mid(number, 11, 4));
  }
  return false;
}

}  // namespace

std::string NormaliseICDashes(std::string_view text) {
  if (Len(text) <= 1) return std::string(text);
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dropped = text[i] == '-' && (i == 0 || text[i - 1] == '-');
    if (!dropped) result.push_back(text[i]);
  }
  return result;
}

std::string FormatNewIC(const Components& components, std::string_view number,
                        bool show_message) {
  const std::string trimmed = Trim(number);
  if (IsNilWord(trimmed)) return "-";
  if (trimmed.empty()) return {};
  if (IsValidNewIC(trimmed)) {
    if (Len(trimmed) == 14) return trimmed;
    return Left(trimmed, 6) + "-" + Mid(trimmed, 7, 2) + "-" + Mid(trimmed, 9, 4);
  }
  if (show_message) ShowInvalidIC(components, "New", "800111-01-1123");
  return "0";
}

std::string FormatOldIC(const Components& components, std::string_view number) {
  const std::string trimmed = Trim(number);
  if (IsNilWord(trimmed)) return "-";
  if (Len(trimmed) >= 9) {
    ShowInvalidIC(components, "Old", "A1234567");
    return "0";
  }
  return trimmed;
}

std::string DOBFromNewIC(const Components& components, const Clock& local_clock,
                         std::string_view number, bool show_message) {
  if (Len(number) != 14) return {};
  const std::string birth = BirthDateText(number);
  const std::optional<Date> date = ReadDate(birth);
  const std::optional<Currency> month = Currency::TryParse(Mid(number, 3, 2));
  if (!date || !month || *month >= Currency::FromWhole(13)) {
    if (show_message) ShowInvalidIC(components, "New", "800111-01-1123");
    return {};
  }
  if (date->year() > local_clock.Now().date.year()) {
    return Left(birth, 6) + "19" + Mid(number, 1, 2);
  }
  return birth;
}

}  // namespace cn
