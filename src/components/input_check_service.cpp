#include "components/input_check_service.h"

#include <algorithm>
#include <optional>
#include <string>

#include "base/date_reader.h"
#include "base/decimal_text.h"
#include "base/text.h"

namespace cn::components {
namespace {

constexpr std::string_view kInvalidFormat = "Invalid Format";
constexpr std::string_view kInvalidData = "Invalid Data";
// Whole digits an amount may have and still fit the record.
constexpr std::size_t kMaxWholeDigits = 13;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](char c) { return c >= '0' && c <= '9'; });
}

InputCheckAnswer Valid() { return InputCheckAnswer{"", "", true}; }
InputCheckAnswer Invalid(std::string message, std::string_view title) {
  return InputCheckAnswer{std::move(message), std::string(title), false};
}

// A non-negative plain number with at most `decimals` decimals, written back
// without grouping or sign; `what` names it in the messages.
InputCheckAnswer CheckDecimal(std::string& text, std::string_view what, std::string_view example,
                              std::size_t decimals) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) {
    text = "0";
    return Valid();
  }
  const std::optional<DecimalDigits> digits = ScanDecimal(trimmed);
  if (!digits) {
    return Invalid(std::string(what) + " must be a number, for example " +
                       std::string(example) + ".",
                   kInvalidFormat);
  }
  if (digits->negative) return Invalid(std::string(what) + " cannot be negative.", kInvalidData);
  if (digits->fraction.size() > decimals) {
    return Invalid(std::string(what) + " can have at most " + std::to_string(decimals) +
                       " decimals.",
                   kInvalidFormat);
  }
  const std::size_t first = digits->whole.find_first_not_of('0');
  const std::string whole = first == std::string::npos ? "0" : digits->whole.substr(first);
  if (whole.size() > kMaxWholeDigits) return Invalid(std::string(what) + " is too large.", kInvalidData);
  text = digits->fraction.empty() ? whole : whole + "." + digits->fraction;
  return Valid();
}

}  // namespace

InputCheckAnswer TextInputChecks::CheckPercentageText(std::string& text) {
  std::string trimmed = Trim(text);
  if (EndsWith(trimmed, "%")) trimmed = Trim(trimmed.substr(0, trimmed.size() - 1));
  InputCheckAnswer answer = CheckDecimal(trimmed, "The percentage", "12.50", 4);
  if (answer.flag) text = trimmed;
  return answer;
}

InputCheckAnswer TextInputChecks::CheckAmountText(std::string& text) {
  return CheckDecimal(text, "The amount", "1,234.50", 2);
}

InputCheckAnswer TextInputChecks::CheckPostcodeText(std::string& text) {
  const std::string trimmed = Trim(text);
  if (!AllDigits(trimmed) || trimmed.size() > 5) {
    return Invalid("A postcode is five digits, for example 50450.", kInvalidData);
  }
  text = trimmed;
  return Valid();
}

InputCheckAnswer TextInputChecks::CheckYearMadeText(std::string& text) {
  const std::string trimmed = Trim(text);
  if (AllDigits(trimmed) && trimmed.size() == 2) {
    text = std::to_string(ExpandTwoDigitYear(std::stoi(trimmed)));
    return Valid();
  }
  if (AllDigits(trimmed) && trimmed.size() == 4) {
    text = trimmed;
    return Valid();
  }
  return Invalid("The year made must be a four-digit year, for example 2019.", kInvalidFormat);
}

InputCheckAnswer TextInputChecks::CheckNumberText(std::string& text) {
  std::string number = UCase(text);
  std::erase_if(number, [](char c) { return c == ' ' || c == '\t'; });
  text = number;
  if (number.size() == 10 && StartsWith(number, "CN") && AllDigits(number.substr(2))) {
    return InputCheckAnswer{"", "", false};
  }
  return InputCheckAnswer{"\"" + number +
                              "\" is not a cover note number. A cover note number is CN "
                              "followed by eight digits, for example CN24000101.",
                          "Invalid Cover Note Number", true};
}

}  // namespace cn::components
