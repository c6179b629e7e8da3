#pragma once
// Where "now" comes from. Every user of the current date and time is given a
// Clock, so that tests and scenarios can fix the date.

#include "base/date.h"

namespace cn {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;
};

// The machine's local date and time, to the second.
class SystemClock final : public Clock {
 public:
  DateTime Now() const override;
};

// A date and time that stays put until it is set again.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime now) : now_(now) {}

  DateTime Now() const override { return now_; }
  void Set(DateTime now) { now_ = now; }

 private:
  DateTime now_;
};

}  // namespace cn
