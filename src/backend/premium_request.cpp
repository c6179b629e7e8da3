#include "backend/premium_request.h"

#include <charconv>

#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

constexpr std::size_t kMaxValueCharacters = 100;
constexpr std::size_t kMaxListCharacters = 4000;

std::optional<long long> ReadWhole(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool HoldsSeparator(std::string_view text, bool list) {
  for (std::string_view separator : {RecordSeparator, FieldSeparator, ParamSeparator}) {
    if (text.find(separator) != std::string_view::npos) return true;
  }
  return !list && text.find(DialogArgSeparator) != std::string_view::npos;
}

std::optional<std::string> AmountText(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::string();
  const auto amount = Currency::TryParse(trimmed);
  if (!amount) return std::nullopt;
  return amount->ToPlainText();
}

// The checked text of one value, nullopt when it does not read.
std::optional<std::string> Convert(FactorConversion conversion, std::string_view text) {
  using enum FactorConversion;
  const bool list = conversion == kList || conversion == kAmountList;
  if (HoldsSeparator(text, list)) return std::nullopt;
  if (Len(text) > (list ? kMaxListCharacters : kMaxValueCharacters)) return std::nullopt;
  switch (conversion) {
    case kText:
    case kList:
      return std::string(text);
    case kAmount:
      return AmountText(text);
    case kAmountOrUnset:
      return Trim(text) == "-1" ? std::optional<std::string>("") : AmountText(text);
    case kWhole: {
      const std::string trimmed = Trim(text);
      if (trimmed.empty()) return trimmed;
      const auto value = ReadWhole(trimmed);
      return value ? std::optional<std::string>(std::to_string(*value)) : std::nullopt;
    }
    case kFlag:
    case kUnsetWhenOne: {
      const std::string trimmed = Trim(text);
      if (trimmed == "-1" || trimmed == "1") return std::string("1");
      if (trimmed == "0" || trimmed.empty()) return std::string("0");
      return std::nullopt;
    }
    case kDate: {
      const std::string trimmed = Trim(text);
      if (trimmed.empty()) return trimmed;
      const auto date = ReadDate(trimmed);
      if (!date || !EqualsIgnoreCase(FormatDate(*date), trimmed)) return std::nullopt;
      return FormatDate(*date);
    }
    case kAmountList: {
      std::vector<std::string> values = Split(text, DialogArgSeparator);
      for (std::string& value : values) {
        auto amount = AmountText(value);
        if (!amount) return std::nullopt;
        value = std::move(*amount);
      }
      return Join(values, DialogArgSeparator);
    }
  }
  return std::nullopt;
}

}  // namespace

Currency Factors::Amount(Factor factor) const {
  const std::string& text = Text(factor);
  return text.empty() ? Currency() : Currency::TryParse(text).value_or(Currency());
}

long long Factors::Whole(Factor factor) const { return ReadWhole(Text(factor)).value_or(0); }

std::optional<Date> Factors::DateOf(Factor factor) const {
  return Has(factor) ? ReadDate(Text(factor)) : std::nullopt;
}

std::vector<std::string> Factors::List(Factor factor) const {
  return Has(factor) ? Split(Text(factor), DialogArgSeparator) : std::vector<std::string>{};
}

std::optional<Factors> ReadFactors(std::span<const RequestRow> layout, std::string_view record) {
  const std::vector<std::string> values = Split(record, FieldSeparator);
  if (values.size() != layout.size()) return std::nullopt;
  Factors factors;
  for (const RequestRow& row : layout) {
    const auto text = Convert(row.conversion, values[static_cast<std::size_t>(row.position)]);
    if (!text) return std::nullopt;
    if (row.conversion == FactorConversion::kUnsetWhenOne) {
      if (*text == "1") factors.Set(row.factor, "");
    } else if (row.factor != Factor::kNone) {
      factors.Set(row.factor, *text);
    }
  }
  return factors;
}

}  // namespace cn::backend
