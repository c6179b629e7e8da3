// The Vehicle tab's field checks: make, unit and capacity, seating, year made, and the
// model typed for the make whose models are checked by name.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/currency.h"
#include "base/number_format.h"
#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "integration/input_checks.h"
#include "integration/list_search.h"
#include "integration/service_gateway.h"
#include "integration/system_codes.h"
#include "pages/vehicle/cnaa_veh.h"

namespace cn {
namespace {

constexpr std::string_view kInvalidData = "Invalid Data";
// The make whose models are checked by the name typed.
constexpr std::int32_t kModelTypedMake = 1034;
// Capacity in this unit is a whole number.
constexpr std::string_view kWholeCapacityUnit = "C";

// The reply of the typed-model check, field by field: the element shown, or the
// record field written, and whether the value is a capacity.
struct ModelReplyField {
  std::size_t index;
  std::string_view element;                       // "" when the value goes to the record
  std::string CoverNoteFields::*field = nullptr;  // null when the value goes to the page
  bool capacity = false;
};

constexpr ModelReplyField kModelReply[] = {
    {0, "cboVehicleMakeCode"}, {1, "", &CoverNoteFields::ModelCode},
    {2, "txtModel"},           {3, "txtCapacity", nullptr, true},
    {4, "cboVehicleUOMCode"},  {5, "txtBody"},
    {6, "txtSeatingCapacity"},
};

std::int32_t ToInt32(std::string_view text) {
  const std::string trimmed = Trim(text);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size()) {
    throw RuntimeFailure(failure::kTypeMismatch, "Type mismatch: \"" + trimmed + "\"", "CNAAVeh");
  }
  return value;
}

}  // namespace

void CNAAVeh::VehicleMake_OnChange() {
  Workspace& ws = workspace();
  ws.record.Current.VehicleMakeCode = Element("cboVehicleMakeCode").Value();
  Element("txtModel").SetValue("");
  Element("txtBody").SetValue("");
  Element("txtCapacity").SetValue("0.00");
  Element("txtSeatingCapacity").SetValue("");
  Element("cboVehicleUOMCode").SetValue("");
  ws.premium.FactorsChangedNewTariff = true;
  ws.premium.BasicPremiumEntered = true;
}

std::string CNAAVeh::CapacityText(std::string_view capacity) const {
  const bool whole = Element("cboVehicleUOMCode").Value() == kWholeCapacityUnit;
  return FormatNumber(capacity, whole ? 0 : 2);
}

void CNAAVeh::cboVehicleUOMCode_onblur() {
  dom::Element& capacity = Element("txtCapacity");
  // Nothing to show again while no capacity has been given.
  if (capacity.Value().empty()) return;
  capacity.SetValue(CapacityText(capacity.Value()));
}

void CNAAVeh::cboVehicleUOMCode_onchange() { workspace().premium.FactorsChangedNewTariff = true; }

void CNAAVeh::txtCapacity_onblur() {
  dom::Element& capacity = Element("txtCapacity");
  if (capacity.Value().empty()) return;
  const std::string refused = workspace().components.SharedFieldRuleService().CheckCapacity(
      Currency::Parse(capacity.Value()));
  if (!refused.empty()) {
    window().MessageBox(refused, dom::message_box::kExclamation, kInvalidData);
    capacity.SetValue(CapacityText("1"));
    capacity.Focus();
    capacity.Select();
    return;
  }
  capacity.SetValue(CapacityText(capacity.Value()));
}

void CNAAVeh::txtCapacity_onkeypress() { workspace().premium.FactorsChangedNewTariff = true; }

void CNAAVeh::txtSeatingCapacity_onblur() {
  dom::Element& seats = Element("txtSeatingCapacity");
  if (Trim(seats.Value()).empty()) return;
  const std::string refused =
      workspace().components.SharedFieldRuleService().CheckSeatingCapacity(ToInt32(seats.Value()));
  if (refused.empty()) return;
  window().MessageBox(refused, dom::message_box::kExclamation, kInvalidData);
  seats.SetValue("");
  seats.Focus();
}

void CNAAVeh::txtYearMade_onblur() {
  dom::Element& year = Element("txtYearMade");
  if (year.Value().empty()) return;
  const Workspace& ws = workspace();
  // A refused year gives way to the year as it was, for the administrator to correct.
  const auto restore = [this, &year] {
    year.SetValue(accepted_year_made_);
    year.Focus();
    year.Select();
  };
  if (!ValidateYearMade(ws.components, ws.local_clock, year)) {
    restore();
    return;
  }
  const std::string refused =
      ws.components.SharedFieldRuleService().CheckYearMade(ToInt32(year.Value()));
  if (refused.empty()) {
    accepted_year_made_ = year.Value();
    return;
  }
  window().MessageBox(refused, dom::message_box::kExclamation, "Invalid Format");
  restore();
}

void CNAAVeh::txtYearMade_onkeypress() { workspace().premium.FactorsChangedNewTariff = true; }

void CNAAVeh::txtModel_onblur() {
  Workspace& ws = workspace();
  if (Element("cboVehicleMakeCode").Value() !=
      GetSystemCode(ws.lookup, ws.components, kModelTypedMake)) {
    return;
  }
  ServiceGateway gateway(ws.components);
  const CommandReply answer =
      gateway.ExecuteCommand("KivoInsurance.Validation.VehicleModel", Element("txtModel").Value());
  if (answer.status != 0) return;
  const std::vector<std::string> fields = Split(answer.reply, FieldSeparator);
  for (const ModelReplyField& entry : kModelReply) {
    std::string value = FieldAt(fields, entry.index);
    if (entry.capacity && !value.empty()) value = FormatNumber(value, 2);
    if (entry.field) {
      ws.record.Current.*entry.field = value;
    } else {
      Element(entry.element).SetValue(value);
    }
  }
}

}  // namespace cn
