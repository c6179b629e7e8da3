// The code lists the screen fills its drop-down lists and selection dialogs
// from. Each list is one row of the table below: the command, the list number
// that selects it (when the command serves several), the query and how many
// further parameters the query takes.

#include <array>
#include <cstdint>

#include "backend/command.h"
#include "backend/parameters.h"
#include "backend/value_conversion.h"
#include "base/separators.h"

namespace cn::backend {
namespace {

struct ListQuery {
  std::string_view command;
  std::string_view list_number;  // "" when the command serves one list
  int arguments;                 // parameters after the list number, bound as ?1, ?2
  std::string_view sql;
  std::uint32_t amount_columns = 0;  // bit n: column n is an amount
  bool binds_list_number = false;    // the list number is also the query's ?1
};

constexpr std::string_view kInsuranceBrowse = "KivoInsurance.Find.Browse";
constexpr std::string_view kTarvinBrowse = "Tarvin.Find.Browse";
constexpr std::string_view kMotorClass = "Tarvin.Find.FindMotorClass";
constexpr std::string_view kUnits = "Tarvin.Find.BrowseUOM";
constexpr std::string_view kNcd = "Tarvin.Find.FindNCD";
constexpr std::string_view kExtendedCovers = "Tarvin.Find.FindExtendedCoverDetails";
constexpr std::string_view kExtendedCoversAtStart = "TarvinBS.Find.FindExtendedCoverDetails";

constexpr std::string_view kMotorClassQuery =
    "SELECT code, description, min_sum_insured, tariff_group, default_uom, max_seating "
    "FROM motor_class WHERE kind = ?1 ORDER BY seq";
// code, description, percentage, default premium, minimum premium, method
constexpr std::string_view kExtendedCoverQuery =
    "SELECT d.ext_code, e.description, d.percentage, d.default_premium, d.min_premium, "
    "d.method FROM extended_cover_detail d JOIN extended_cover e ON e.code = d.ext_code "
    "WHERE d.class_code = ?1 AND d.cover_code = ?2 ORDER BY d.seq";

constexpr std::array kLists = {
    ListQuery{kInsuranceBrowse, "0", 0, "SELECT code, name FROM occupation ORDER BY name"},
    ListQuery{kInsuranceBrowse, "1", 0, "SELECT code, name FROM mortgagee ORDER BY name"},
    ListQuery{kInsuranceBrowse, "2", 0,
              "SELECT code, value, description FROM system_code ORDER BY code"},
    ListQuery{kInsuranceBrowse, "3", 0, "SELECT code, name FROM state ORDER BY name"},
    ListQuery{kInsuranceBrowse, "6", 0, "SELECT code, name FROM insurer ORDER BY name"},
    ListQuery{kInsuranceBrowse, "7", 0, "SELECT code, name FROM security_device ORDER BY code"},
    ListQuery{kInsuranceBrowse, "13", 0,
              "SELECT code, name, state_code FROM town ORDER BY name"},
    ListQuery{kTarvinBrowse, "0", 0, "SELECT code, name FROM vehicle_make ORDER BY name"},
    ListQuery{kTarvinBrowse, "1", 0, "SELECT code, name FROM body_type ORDER BY name"},
    ListQuery{kTarvinBrowse, "3", 0,
              "SELECT code, description, scope FROM motor_cover ORDER BY code"},
    ListQuery{kTarvinBrowse, "6", 1,
              "SELECT code, description, usage_group, carries_goods FROM class_use "
              "WHERE class_code = ?1 ORDER BY seq"},
    ListQuery{kTarvinBrowse, "7", 0, "SELECT code, name FROM tariff_region ORDER BY code"},
    ListQuery{kMotorClass, "0", 0, kMotorClassQuery, 0b100, true},
    ListQuery{kMotorClass, "1", 0, kMotorClassQuery, 0b100, true},
    ListQuery{kMotorClass, "2", 0, kMotorClassQuery, 0b100, true},
    ListQuery{kUnits, "", 1,
              "SELECT u.code, u.description FROM class_unit c JOIN unit_of_measure u "
              "ON u.code = c.uom_code WHERE c.class_code = ?1 ORDER BY c.seq"},
    ListQuery{kNcd, "", 1,
              "SELECT years, percentage FROM ncd_scale WHERE class_code = ?1 "
              "ORDER BY CAST(years AS INTEGER)",
              0b10},
    ListQuery{kExtendedCovers, "", 2, kExtendedCoverQuery, 0b11100},
    ListQuery{kExtendedCoversAtStart, "", 2, kExtendedCoverQuery, 0b11100},
};

std::string RunQuery(Database& db, const ListQuery& list, std::span<const std::string> bound) {
  Statement& query = db.Prepare(list.sql);
  for (std::size_t i = 0; i < bound.size(); ++i) {
    query.Bind(static_cast<int>(i + 1), std::string_view(bound[i]));
  }
  std::string reply;
  bool first = true;
  while (query.Step()) {
    if (!first) reply += RecordSeparator;
    first = false;
    for (int column = 0; column < query.ColumnCount(); ++column) {
      if (column > 0) reply += FieldSeparator;
      const bool amount = (list.amount_columns >> column) & 1U;
      reply += amount ? AmountText(query.Text(column)) : query.Text(column);
    }
  }
  return reply;
}

Result RunList(CommandContext& context, std::string_view command, std::string_view parameters) {
  for (const ListQuery& list : kLists) {
    if (list.command != command) continue;
    const std::size_t selector = list.list_number.empty() ? 0 : 1;
    const auto values =
        SplitParameters(parameters, selector + static_cast<std::size_t>(list.arguments));
    if (!values) continue;
    if (selector == 1 && (*values)[0] != list.list_number) continue;
    const std::size_t first_bound = list.binds_list_number ? 0 : selector;
    const std::vector<std::string> bound(
        values->begin() + static_cast<std::ptrdiff_t>(first_bound), values->end());
    return Result{RunQuery(context.db, list, bound), 0};
  }
  return Malformed();
}

template <const std::string_view& kCommand>
Result ListHandler(CommandContext& context, std::string_view parameters) {
  return RunList(context, kCommand, parameters);
}

constexpr std::array kCommands = {
    CommandEntry{kInsuranceBrowse, ListHandler<kInsuranceBrowse>, Access::kRead},
    CommandEntry{kTarvinBrowse, ListHandler<kTarvinBrowse>, Access::kRead},
    CommandEntry{kMotorClass, ListHandler<kMotorClass>, Access::kRead},
    CommandEntry{kUnits, ListHandler<kUnits>, Access::kRead},
    CommandEntry{kNcd, ListHandler<kNcd>, Access::kRead},
    CommandEntry{kExtendedCovers, ListHandler<kExtendedCovers>, Access::kRead},
    CommandEntry{kExtendedCoversAtStart, ListHandler<kExtendedCoversAtStart>, Access::kRead},
};

}  // namespace

std::span<const CommandEntry> ListCommands() { return kCommands; }

}  // namespace cn::backend
