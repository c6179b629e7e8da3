#pragma once
// The limits of the field checks, as the database holds them.

#include <cstdint>
#include <optional>
#include <string_view>

#include "backend/sqlite.h"
#include "base/currency.h"

namespace cn::components {

// Both ends included. Amounts and percentages in ten-thousandths, as stored.
struct Range {
  std::int64_t low = 0;
  std::int64_t high = 0;
  bool Contains(std::int64_t value) const { return value >= low && value <= high; }
};

// Throws RuntimeFailure when the rule has no row: the database lacks its limits.
Range ReadRuleLimit(backend::Database& db, std::string_view rule);

struct SumInsuredLimit {
  Currency low;
  Currency high;
};

// The range for a class and scope of cover, the class's own minimum applied;
// nullopt for a class or scope the database does not know.
std::optional<SumInsuredLimit> ReadSumInsuredLimit(backend::Database& db,
                                                   std::string_view class_code,
                                                   std::int32_t scope_of_cover);

// The scope of a motor cover code; 0 for an unknown code.
std::int32_t ReadScopeOfCover(backend::Database& db, std::string_view motor_cover_code);

}  // namespace cn::components
