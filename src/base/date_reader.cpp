#include "base/date_reader.h"

#include <charconv>
#include <vector>

#include "base/date_format.h"
#include "base/text.h"

namespace cn {

namespace {

enum class TokenKind { kNumber, kWord, kColon };

struct Token {
  TokenKind kind;
  std::string_view text;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '-' || c == '/' || c == '.' || c == ',';
}

// Numbers, words and colons; separators only between them.
std::optional<std::vector<Token>> Tokenize(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty() || IsSeparator(text.front()) || IsSeparator(text.back())) return std::nullopt;

  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    if (IsDigit(text[i])) {
      while (i < text.size() && IsDigit(text[i])) ++i;
      tokens.push_back({TokenKind::kNumber, text.substr(start, i - start)});
    } else if (IsLetter(text[i])) {
      while (i < text.size() && IsLetter(text[i])) ++i;
      tokens.push_back({TokenKind::kWord, text.substr(start, i - start)});
    } else if (text[i] == ':') {
      tokens.push_back({TokenKind::kColon, text.substr(i++, 1)});
    } else if (IsSeparator(text[i])) {
      ++i;
    } else {
      return std::nullopt;
    }
  }
  return tokens;
}

int Value(const Token& number) {
  int value = 0;
  std::from_chars(number.text.data(), number.text.data() + number.text.size(), value);
  return value;
}

bool IsNumber(const std::vector<Token>& tokens, std::size_t at, std::size_t max_digits) {
  return at < tokens.size() && tokens[at].kind == TokenKind::kNumber &&
         tokens[at].text.size() <= max_digits;
}

std::optional<bool> Meridiem(const std::vector<Token>& tokens, std::size_t at) {  // true = PM
  if (at >= tokens.size() || tokens[at].kind != TokenKind::kWord) return std::nullopt;
  if (EqualsIgnoreCase(tokens[at].text, "AM")) return false;
  if (EqualsIgnoreCase(tokens[at].text, "PM")) return true;
  return std::nullopt;
}

struct TimePart {
  bool valid = true;
  std::optional<Time> time;  // absent when the text has no time part
};

// Finds "h:mm[:ss] [AM|PM]" or "h AM|PM" at the start or the end of the tokens and
// removes it.
TimePart TakeTime(std::vector<Token>& tokens) {
  std::size_t start = 0;
  std::size_t end = 0;
  int minute = 0;
  int second = 0;
  std::size_t colon = 0;
  while (colon < tokens.size() && tokens[colon].kind != TokenKind::kColon) ++colon;
  if (colon < tokens.size()) {
    if (colon == 0 || !IsNumber(tokens, colon - 1, 2) || !IsNumber(tokens, colon + 1, 2)) {
      return {false, std::nullopt};
    }
    start = colon - 1;
    minute = Value(tokens[colon + 1]);
    end = colon + 2;
    if (end < tokens.size() && tokens[end].kind == TokenKind::kColon) {
      if (!IsNumber(tokens, end + 1, 2)) return {false, std::nullopt};
      second = Value(tokens[end + 1]);
      end += 2;
    }
  } else {
    std::size_t word = 1;
    while (word < tokens.size() && !Meridiem(tokens, word)) ++word;
    if (word >= tokens.size()) return {true, std::nullopt};
    if (!IsNumber(tokens, word - 1, 2)) return {false, std::nullopt};
    start = word - 1;
    end = word;
  }
  int hour = Value(tokens[start]);
  if (const std::optional<bool> pm = Meridiem(tokens, end)) {
    if (hour > 12) return {false, std::nullopt};
    hour = hour % 12 + (*pm ? 12 : 0);
    ++end;
  }
  if (start != 0 && end != tokens.size()) return {false, std::nullopt};
  tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(start),
               tokens.begin() + static_cast<std::ptrdiff_t>(end));
  const std::optional<Time> time = Time::FromHms(hour, minute, second);
  return {time.has_value(), time};
}

int FullYear(const Token& year) {
  return year.text.size() <= 2 ? ExpandTwoDigitYear(Value(year)) : Value(year);
}

// A month name with a day and a year, either number first.
std::optional<Date> NamedMonthDate(const std::vector<Token>& numbers, int month) {
  const bool year_first = numbers[0].text.size() >= 3 && numbers[1].text.size() <= 2;
  const Token& day = numbers[year_first ? 1 : 0];
  const Token& year = numbers[year_first ? 0 : 1];
  if (day.text.size() > 2 || year.text.size() > 4) return std::nullopt;
  return Date::FromYmd(FullYear(year), month, Value(day));
}

// Three numbers: year first when it has three or four digits, otherwise last;
// of the other two the usual order first, the swapped order as the fallback.
std::optional<Date> NumericDate(const std::vector<Token>& numbers) {
  const bool year_first = numbers[0].text.size() >= 3;
  const Token& year = numbers[year_first ? 0 : 2];
  const Token& first = numbers[year_first ? 1 : 0];
  const Token& second = numbers[year_first ? 2 : 1];
  if (year.text.size() > 4 || first.text.size() > 2 || second.text.size() > 2) {
    return std::nullopt;
  }
  const int y = FullYear(year);
  const int a = Value(first);
  const int b = Value(second);
  // Year first reads month/day (ISO order); otherwise day/month.
  const std::optional<Date> usual = year_first ? Date::FromYmd(y, a, b) : Date::FromYmd(y, b, a);
  if (usual) return usual;
  return year_first ? Date::FromYmd(y, b, a) : Date::FromYmd(y, a, b);
}

std::optional<Date> DatePart(const std::vector<Token>& tokens) {
  std::vector<Token> numbers;
  std::optional<int> month;
  std::size_t month_at = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == TokenKind::kNumber) {
      numbers.push_back(tokens[i]);
    } else if (tokens[i].kind == TokenKind::kWord && !month) {
      month = MonthFromName(tokens[i].text);
      if (!month) return std::nullopt;
      month_at = i;
    } else {
      return std::nullopt;
    }
  }
  if (month) {
    if (numbers.size() != 2 || month_at == 2) return std::nullopt;
    return NamedMonthDate(numbers, *month);
  }
  if (numbers.size() != 3) return std::nullopt;
  return NumericDate(numbers);
}

}  // namespace

int ExpandTwoDigitYear(int two_digit_year) {
  return two_digit_year < 30 ? 2000 + two_digit_year : 1900 + two_digit_year;
}

std::optional<DateTime> ReadDateTime(std::string_view text) {
  std::optional<std::vector<Token>> tokens = Tokenize(text);
  if (!tokens) return std::nullopt;
  const TimePart time = TakeTime(*tokens);
  if (!time.valid) return std::nullopt;
  if (tokens->empty()) {
    if (!time.time) return std::nullopt;
    return DateTime{Date{}, *time.time};
  }
  const std::optional<Date> date = DatePart(*tokens);
  if (!date) return std::nullopt;
  return DateTime{*date, time.time.value_or(Time{})};
}

std::optional<Date> ReadDate(std::string_view text) {
  const std::optional<DateTime> date_time = ReadDateTime(text);
  if (!date_time) return std::nullopt;
  return date_time->date;
}

}  // namespace cn
