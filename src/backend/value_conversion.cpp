#include "backend/value_conversion.h"

#include <charconv>
#include <cstdio>

#include "base/currency.h"
#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

std::optional<std::int64_t> ToInt(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool HoldsSeparator(std::string_view text, bool list) {
  if (text.find(RecordSeparator) != std::string_view::npos) return true;
  if (text.find(FieldSeparator) != std::string_view::npos) return true;
  if (text.find(ParamSeparator) != std::string_view::npos) return true;
  return !list && text.find(DialogArgSeparator) != std::string_view::npos;
}

StoredValue Invalid() { return StoredValue{false, std::nullopt}; }
StoredValue Store(std::string text) { return StoredValue{true, std::move(text)}; }
StoredValue StoreNull() { return StoredValue{true, std::nullopt}; }

}  // namespace

std::string IsoDate(const Date& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year(), date.month(), date.day());
  return text;
}

std::string IsoDateTime(const DateTime& date_time) {
  char text[32];
  std::snprintf(text, sizeof text, " %02d:%02d:%02d", date_time.time.hour(),
                date_time.time.minute(), date_time.time.second());
  return IsoDate(date_time.date) + text;
}

std::string AmountText(std::string_view stored_units) {
  const auto units = ToInt(stored_units);
  if (!units) return std::string(stored_units);
  return Replace(FormatMoney2(Currency::FromUnits(*units)), ",", "");
}

std::string ToReplyText(Conversion conversion, std::string_view stored) {
  if (stored.empty()) return {};
  switch (conversion) {
    case Conversion::kMoney:
      return AmountText(stored);
    case Conversion::kDate: {
      const auto date = ReadDate(stored);
      return date ? FormatDate(*date) : std::string(stored);
    }
    case Conversion::kDateTime: {
      const auto date_time = ReadDateTime(stored);
      return date_time ? FormatDateTime(*date_time) : std::string(stored);
    }
    case Conversion::kFlag:
      return stored == "0" ? "False" : "True";
    case Conversion::kIgnored:
      return {};
    default:
      return std::string(stored);
  }
}

StoredValue FromSentText(Conversion conversion, std::string_view sent) {
  const bool list = conversion == Conversion::kList;
  if (HoldsSeparator(sent, list)) return Invalid();
  if (Len(sent) > (list ? kMaxListCharacters : kMaxFieldCharacters)) return Invalid();
  switch (conversion) {
    case Conversion::kText:
    case Conversion::kList:
    case Conversion::kKey:
      return Store(std::string(sent));
    case Conversion::kUpper:
      return Store(UCase(sent));
    case Conversion::kTrimmed:
      return Store(Trim(sent));
    case Conversion::kDigits: {
      const std::string trimmed = Trim(sent);
      if (trimmed.empty()) return Store(trimmed);
      return ToInt(trimmed) && trimmed.find_first_not_of("0123456789") == std::string::npos
                 ? Store(trimmed)
                 : Invalid();
    }
    case Conversion::kMoney: {
      if (Trim(sent).empty()) return StoreNull();
      const auto amount = Currency::TryParse(sent);
      return amount ? Store(std::to_string(amount->units())) : Invalid();
    }
    case Conversion::kDate: {
      if (Trim(sent).empty()) return StoreNull();
      const auto date = ReadDate(Trim(sent));
      return date ? Store(IsoDate(*date)) : Invalid();
    }
    case Conversion::kDateTime: {
      if (Trim(sent).empty()) return StoreNull();
      const auto date_time = ReadDateTime(Trim(sent));
      return date_time ? Store(IsoDateTime(*date_time)) : Invalid();
    }
    case Conversion::kFlag: {
      const std::string word = UCase(Trim(sent));
      if (word == "TRUE" || word == "1" || word == "-1") return Store("1");
      if (word == "FALSE" || word == "0" || word.empty()) return Store("0");
      return Invalid();
    }
    case Conversion::kIgnored:
      return StoreNull();
  }
  return Invalid();
}

}  // namespace cn::backend
