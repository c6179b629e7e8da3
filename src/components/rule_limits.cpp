#include "components/rule_limits.h"

#include <algorithm>
#include <string>

#include "base/runtime_failure.h"
#include "base/text.h"

namespace cn::components {

Range ReadRuleLimit(backend::Database& db, std::string_view rule) {
  backend::Statement& find =
      db.Prepare("SELECT low, high FROM field_rule_limit WHERE rule = ?1");
  find.Bind(1, rule);
  if (!find.Step()) {
    throw RuntimeFailure(failure::kInvalidArgument,
                         "No limits are set for the check \"" + std::string(rule) + "\"",
                         "FieldRuleService");
  }
  return Range{find.Int(0), find.Int(1)};
}

std::optional<SumInsuredLimit> ReadSumInsuredLimit(backend::Database& db,
                                                   std::string_view class_code,
                                                   std::int32_t scope_of_cover) {
  backend::Statement& find = db.Prepare(
      "SELECT l.low, l.high, l.uses_class_minimum, c.min_sum_insured "
      "FROM motor_class c JOIN sum_insured_limit l ON l.kind = c.kind "
      "WHERE c.code = ?1 AND l.scope = ?2");
  find.Bind(1, std::string_view(Trim(class_code))).Bind(2, std::int64_t{scope_of_cover});
  if (!find.Step()) return std::nullopt;
  const std::int64_t low = find.Int(2) != 0 ? std::max(find.Int(0), find.Int(3)) : find.Int(0);
  return SumInsuredLimit{Currency::FromUnits(low), Currency::FromUnits(find.Int(1))};
}

std::int32_t ReadScopeOfCover(backend::Database& db, std::string_view motor_cover_code) {
  backend::Statement& find = db.Prepare("SELECT scope FROM motor_cover WHERE code = ?1");
  find.Bind(1, std::string_view(Trim(motor_cover_code)));
  return find.Step() ? static_cast<std::int32_t>(find.Int(0)) : 0;
}

}  // namespace cn::components
