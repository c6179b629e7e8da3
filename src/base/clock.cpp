#include "base/clock.h"

#include <chrono>
#include <ctime>

namespace cn {

namespace {

// Local wall-clock time as a count of seconds since the epoch.
std::chrono::local_seconds LocalNow() {
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
#if defined(__cpp_lib_chrono) && __cpp_lib_chrono >= 201907L
  return std::chrono::current_zone()->to_local(now);
#else
  // No time-zone database in this standard library: the C library's
  // reentrant conversion gives the zone's offset at this instant.
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  return std::chrono::local_seconds{now.time_since_epoch() + std::chrono::seconds{local.tm_gmtoff}};
#endif
}

}  // namespace

DateTime SystemClock::Now() const {
  namespace chr = std::chrono;
  const chr::local_seconds now = LocalNow();
  const chr::local_days today = chr::floor<chr::days>(now);
  const chr::year_month_day ymd{today};
  const chr::hh_mm_ss<chr::seconds> clock{now - today};
  // The machine's clock is always inside the supported years.
  return DateTime{*Date::FromYmd(static_cast<int>(ymd.year()),
                                 static_cast<int>(static_cast<unsigned>(ymd.month())),
                                 static_cast<int>(static_cast<unsigned>(ymd.day()))),
                  *Time::FromHms(static_cast<int>(clock.hours().count()),
                                 static_cast<int>(clock.minutes().count()),
                                 static_cast<int>(clock.seconds().count()))};
}

}  // namespace cn
