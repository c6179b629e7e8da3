// Single look-ups: postcode, clock, system parameter, vehicle models, scope of
// cover and the agent's tariff region.

#include <array>

#include "backend/command.h"
#include "backend/parameters.h"
#include "backend/result_codes.h"
#include "backend/value_conversion.h"
#include "base/date_format.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

// A model search wider than this asks the user to narrow it.
constexpr int kMaxModelMatches = 20;

std::string Fields(std::initializer_list<std::string> fields) {
  return Join(std::vector<std::string>(fields), FieldSeparator);
}

// postcode: town, state code, town code; empty when the postcode is unknown.
Result FindPostcodeDetails(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 1);
  if (!values) return Malformed();
  Statement& find = context.db.Prepare(
      "SELECT t.name, t.state_code, t.code FROM postcode p JOIN town t ON t.code = p.town_code "
      "WHERE p.postcode = ?1");
  find.Bind(1, std::string_view(Trim((*values)[0])));
  if (!find.Step()) return Result{{}, 0};
  return Result{Fields({find.Text(0), find.Text(1), find.Text(2)}), 0};
}

// No parameter: the back end's own date and time.
Result FindSystemDateTime(CommandContext& context, std::string_view parameters) {
  if (!parameters.empty()) return Malformed();
  return Result{FormatDateTime(context.clock.Now()), 0};
}

// parameter code: code, description, value.
Result ReadSystemParameter(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 1);
  if (!values) return Malformed();
  const auto code = WholeNumber(Trim((*values)[0]), 0, 999999);
  if (!code) return Malformed();
  Statement& find =
      context.db.Prepare("SELECT code, description, value FROM system_parameter WHERE code = ?1");
  find.Bind(1, std::int64_t{*code});
  if (!find.Step()) return Result{{}, 1};
  return Result{Fields({find.Text(0), find.Text(1), find.Text(2)}), 0};
}

constexpr std::string_view kModelColumns =
    "SELECT make_code, code, description, capacity, uom_code, body, seating FROM vehicle_model ";

std::string ModelFields(const Statement& model, bool with_make) {
  std::vector<std::string> fields;
  for (int column = with_make ? 0 : 1; column < 7; ++column) {
    fields.push_back(column == 3 ? AmountText(model.Text(column)) : model.Text(column));
  }
  return Join(fields, FieldSeparator);
}

// model description as typed: make, model code, description, capacity, unit,
// body, seats when exactly one model has that description; status 1 otherwise.
Result ValidateVehicleModel(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 1);
  if (!values) return Malformed();
  Statement& find = context.db.Prepare(std::string(kModelColumns) +
                                       "WHERE upper(description) = upper(?1) LIMIT 2");
  find.Bind(1, std::string_view(Trim((*values)[0])));
  if (!find.Step()) return Result{{}, 1};
  std::string reply = ModelFields(find, true);
  if (find.Step()) return Result{{}, 1};
  return Result{reply, 0};
}

// make code, part of the description: one record per model (code, description,
// capacity, unit, body, seats); status 2 when the search matches too many.
Result FindVehicleModel(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 2);
  if (!values) return Malformed();
  Statement& find = context.db.Prepare(
      std::string(kModelColumns) +
      "WHERE make_code = ?1 AND instr(upper(description), upper(?2)) > 0 "
      "ORDER BY description LIMIT ?3");
  find.Bind(1, std::string_view((*values)[0]))
      .Bind(2, std::string_view(Trim((*values)[1])))
      .Bind(3, std::int64_t{kMaxModelMatches + 1});
  std::vector<std::string> records;
  while (find.Step()) {
    if (static_cast<int>(records.size()) == kMaxModelMatches) return Result{{}, kTooManyMatches};
    records.push_back(ModelFields(find, false));
  }
  return Result{Join(records, RecordSeparator), 0};
}

// motor cover code: the status is the scope (1 comprehensive, 2 third party fire
// and theft, 3 third party); 0 for an unknown code.
Result GetScopeOfCover(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 1);
  if (!values) return Malformed();
  Statement& find = context.db.Prepare("SELECT scope FROM motor_cover WHERE code = ?1");
  find.Bind(1, std::string_view(Trim((*values)[0])));
  return Result{{}, find.Step() ? static_cast<std::int32_t>(find.Int(0)) : 0};
}

// agent code: the tariff region the agent's cover notes are rated in.
Result GetTariffRegion(CommandContext& context, std::string_view parameters) {
  const auto values = SplitParameters(parameters, 1);
  if (!values) return Malformed();
  Statement& find = context.db.Prepare("SELECT tariff_region FROM agent WHERE code = ?1");
  find.Bind(1, std::string_view(Trim((*values)[0])));
  return Result{find.Step() ? find.Text(0) : std::string(), 0};
}

constexpr std::array kCommands = {
    CommandEntry{"KivoInsurance.Find.FindPostCodeDetails", FindPostcodeDetails, Access::kRead},
    CommandEntry{"KivoInsurance.Find.FindSystemDateTime", FindSystemDateTime, Access::kRead},
    CommandEntry{"KivoInsurance.Maintenance.ReadSystemParameterByCode", ReadSystemParameter,
                 Access::kRead},
    CommandEntry{"KivoInsurance.Validation.VehicleModel", ValidateVehicleModel, Access::kRead},
    CommandEntry{"Tarvin.Find.FindVehicleModel", FindVehicleModel, Access::kRead},
    CommandEntry{"Tarvin.Find.GetScopeOfCover", GetScopeOfCover, Access::kRead},
    CommandEntry{"Tarvin.Premium.GetMotorTariffRegionByAgentCode", GetTariffRegion,
                 Access::kRead},
};

}  // namespace

std::span<const CommandEntry> LookupCommands() { return kCommands; }

}  // namespace cn::backend
