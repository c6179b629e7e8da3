#include "base/date.h"

#include <chrono>

#include "base/runtime_failure.h"

namespace cn {

namespace {

namespace chr = std::chrono;

constexpr chr::sys_days kZeroDate = chr::sys_days{chr::year{1899} / 12 / 30};

[[noreturn]] void ThrowOutOfRange() {
  throw RuntimeFailure(failure::kInvalidArgument, "Invalid procedure call or argument", "Date");
}

chr::sys_days ToSysDays(const Date& date) {
  return chr::sys_days{chr::year{date.year()} / date.month() / date.day()};
}

}  // namespace

bool IsLeapYear(int year) { return chr::year{year}.is_leap(); }

int DaysInMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  const chr::year_month_day_last last{chr::year{year}, chr::month_day_last{chr::month(month)}};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

std::optional<Date> Date::FromYmd(int year, int month, int day) {
  if (year < kMinYear || year > kMaxYear || day < 1 || day > DaysInMonth(year, month)) {
    return std::nullopt;
  }
  return Date(year, month, day);
}

std::optional<Date> Date::FromSerial(std::int32_t serial) {
  static constexpr std::int32_t kFirst = -657434;  // 1 Jan 100
  static constexpr std::int32_t kLast = 2958465;   // 31 Dec 9999
  if (serial < kFirst || serial > kLast) return std::nullopt;
  const chr::year_month_day ymd{kZeroDate + chr::days{serial}};
  return FromYmd(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                 static_cast<int>(static_cast<unsigned>(ymd.day())));
}

std::int32_t Date::Serial() const {
  return static_cast<std::int32_t>((ToSysDays(*this) - kZeroDate).count());
}

Weekday Date::DayOfWeek() const {
  return static_cast<Weekday>(chr::weekday{ToSysDays(*this)}.c_encoding());
}

Date Date::AddDays(int days) const {
  const long long serial = static_cast<long long>(Serial()) + days;
  const std::optional<Date> date = serial == static_cast<std::int32_t>(serial)
                                       ? FromSerial(static_cast<std::int32_t>(serial))
                                       : std::nullopt;
  if (!date) ThrowOutOfRange();
  return *date;
}

Date Date::AddMonths(int months) const { return AddMonthsChecked(static_cast<long long>(months)); }

Date Date::AddYears(int years) const {
  return AddMonthsChecked(static_cast<long long>(years) * 12);
}

Date Date::AddMonthsChecked(long long months) const {
  const long long month_index = static_cast<long long>(year_) * 12 + (month_ - 1) + months;
  if (month_index < kMinYear * 12LL || month_index > kMaxYear * 12LL + 11) ThrowOutOfRange();
  const int year = static_cast<int>(month_index / 12);
  const int month = static_cast<int>(month_index % 12) + 1;
  const int last_day = DaysInMonth(year, month);
  return Date(year, month, day_ < last_day ? day_ : last_day);
}

std::int32_t DaysBetween(const Date& from, const Date& to) { return to.Serial() - from.Serial(); }

std::optional<Time> Time::FromHms(int hour, int minute, int second) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  return Time(hour, minute, second);
}

}  // namespace cn
