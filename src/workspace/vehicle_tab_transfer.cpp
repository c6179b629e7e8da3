// The vehicle tab: transfer between the record and the page, and the named drivers
// between the record and the tab's driver table.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/text.h"
#include "integration/fill_select.h"
#include "integration/system_codes.h"
#include "tables/driver.h"
#include "workspace/named_driver_check.h"
#include "workspace/same_value.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

enum class Conversion {
  kAsIs,   // "Value" both ways
  kUpper,  // "Value"; upper-cased into the record
  kCheck,  // "Checked" of a check box: "1" / "0"
  kYesNo,  // "Checked" of a yes/no pair: "1" when yes is checked, else "0"
  kDate,   // "Value"; written "dd-MMM-yyyy" into the record when not empty
};

struct VehicleField {
  std::string_view element;  // the yes button of a pair
  std::string_view no_element;
  std::string CoverNoteFields::*field;
  Conversion conversion;
};

constexpr VehicleField kVehicleFields[] = {
    {"cboVehicleMakeCode", "", &CoverNoteFields::VehicleMakeCode, Conversion::kAsIs},
    {"txtModel", "", &CoverNoteFields::Model, Conversion::kAsIs},
    {"txtBody", "", &CoverNoteFields::Body, Conversion::kAsIs},
    {"txtCapacity", "", &CoverNoteFields::Capacity, Conversion::kAsIs},
    {"txtColor", "", &CoverNoteFields::Color, Conversion::kUpper},
    {"cboVehicleUOMCode", "", &CoverNoteFields::CapacityUOM, Conversion::kAsIs},
    {"txtSeatingCapacity", "", &CoverNoteFields::SeatingCapacity, Conversion::kAsIs},
    {"txtYearMade", "", &CoverNoteFields::YearMade, Conversion::kAsIs},
    {"txtEngineNumber", "", &CoverNoteFields::EngineNo, Conversion::kUpper},
    {"txtChassisNumber", "", &CoverNoteFields::ChassisNo, Conversion::kUpper},
    {"txtTrChassisNo", "", &CoverNoteFields::TrailerChassisNo, Conversion::kUpper},
    {"txtLogBookNumber", "", &CoverNoteFields::LogBookNo, Conversion::kUpper},
    {"txtNoOfClaims", "", &CoverNoteFields::NoOfClaims, Conversion::kAsIs},
    {"cboLockType", "", &CoverNoteFields::LockType, Conversion::kAsIs},
    {"chkGSLock", "", &CoverNoteFields::GSLock, Conversion::kCheck},
    {"cboSafetyFeature", "", &CoverNoteFields::SafetyFeature, Conversion::kAsIs},
    {"optHazardYes", "optHazardNo", &CoverNoteFields::Hazard, Conversion::kYesNo},
    {"txtGoodsDescription", "", &CoverNoteFields::GoodsDescription, Conversion::kAsIs},
    {"txtMPUW", "", &CoverNoteFields::MPUW, Conversion::kAsIs},
    {"txtMPLW", "", &CoverNoteFields::MPLW, Conversion::kAsIs},
    {"optHRYes", "optHRNo", &CoverNoteFields::HRFlag, Conversion::kYesNo},
    {"optCGYes", "optCGNo", &CoverNoteFields::CGFlag, Conversion::kYesNo},
    {"optCPYes", "optCPNo", &CoverNoteFields::CPFlag, Conversion::kYesNo},
    {"cboSecurityDevice", "", &CoverNoteFields::SecurityDevice, Conversion::kAsIs},
    {"txtMaintenanceFrom", "", &CoverNoteFields::MaintenanceFrom, Conversion::kDate},
    {"txtMaintenanceTo", "", &CoverNoteFields::MaintenanceTo, Conversion::kDate},
};

// The name standing for the insured in the first driver row.
constexpr std::int32_t kInsuredPlaceholder = 1030;

std::string DateText(const std::string& value) {
  if (value.empty()) return value;
  const std::optional<Date> date = ReadDate(value);
  return date ? FormatDate(*date) : value;
}

void ShowField(const VehicleField& entry, const CoverNoteFields& fields, dom::Document& page) {
  dom::Element& element = *page.GetElementById(entry.element);
  const std::string& value = fields.*entry.field;
  switch (entry.conversion) {
    case Conversion::kCheck:
      element.SetChecked(value == "1");
      return;
    case Conversion::kYesNo:
      element.SetChecked(value == "1");
      page.GetElementById(entry.no_element)->SetChecked(value != "1");
      return;
    default:
      ShowStoredValue(element, value);
  }
}

void SaveField(const VehicleField& entry, CoverNoteFields& fields, const dom::Document& page) {
  const dom::Element& element = *page.GetElementById(entry.element);
  std::string& value = fields.*entry.field;
  switch (entry.conversion) {
    case Conversion::kAsIs:
      value = element.Value();
      return;
    case Conversion::kUpper:
      value = UCase(element.Value());
      return;
    case Conversion::kCheck:
    case Conversion::kYesNo:
      value = element.Checked() ? "1" : "0";
      return;
    case Conversion::kDate:
      value = DateText(element.Value());
      return;
  }
}

// The table's named drivers into the record's eight arrays; the insured's own details
// come from the first row when it stands for him.
void SaveNamedDrivers(Workspace& workspace, const Driver& table) {
  CoverNoteFields& fields = workspace.record.Current;
  const auto named = static_cast<std::size_t>(std::max(table.GetNoOfDrivers(), 0));
  CoverNoteFields rows;
  for (const TextArray array : kNamedDriverArrays) (rows.*array).assign(named + 1, "");
  table.GetNamedDrivers(rows.DriverNames, rows.DriverICNos, rows.DriverDOBs,
                        rows.DriverLicenceDates, rows.DriverLicenceNos, rows.DriverGenders,
                        rows.DriverOccupations, rows.DriverRelationships);
  ResizeArrays(rows, kNamedDriverArrays.data(), kNamedDriverArrays.size(), named);
  // The table does not hold licence numbers: a driver still in his row keeps his.
  for (std::size_t row = 0; row < rows.DriverNames.size() && row < fields.DriverNames.size() &&
                            row < fields.DriverICNos.size() && row < fields.DriverLicenceNos.size();
       ++row) {
    if (rows.DriverNames[row] == fields.DriverNames[row] &&
        rows.DriverICNos[row] == fields.DriverICNos[row]) {
      rows.DriverLicenceNos[row] = fields.DriverLicenceNos[row];
    }
  }
  // The drivers as they were shown stay as they were read.
  if (SameArrays(rows, fields, kNamedDriverArrays)) return;
  for (const TextArray array : kNamedDriverArrays) fields.*array = std::move(rows.*array);

  if (fields.ClientType != "P") return;
  const std::string& first = fields.DriverNames.front();
  if (first != GetSystemCode(workspace.lookup, workspace.components, kInsuredPlaceholder) &&
      first != fields.ClientName) {
    return;
  }
  (workspace.transfer.NRICGiven ? fields.NRIC : fields.OldNRIC) = fields.DriverICNos.front();
  fields.DateOfBirth = fields.DriverDOBs.front();
  fields.DrivingLicenseNo = fields.DriverLicenceNos.front();
  fields.LicenseDate = fields.DriverLicenceDates.front();
  fields.Gender = fields.DriverGenders.front();
}

}  // namespace

void VehicleTabRecordToPage(Workspace& workspace, dom::Document& page,
                            std::string_view /*tab_id*/) {
  const CoverNoteFields& fields = workspace.record.Current;
  for (const VehicleField& entry : kVehicleFields) ShowField(entry, fields, page);

  Driver* table = workspace.vehicle.DriverTable.get();
  if (!table) return;
  table->ClearTable();
  for (std::size_t i = 0; i < fields.DriverNames.size(); ++i) {
    const auto at = [&](TextArray array) -> std::string_view {
      const std::vector<std::string>& values = fields.*array;
      return i < values.size() ? std::string_view(values[i]) : std::string_view();
    };
    table->AddDisplayDriver(
        at(&CoverNoteFields::DriverNames), at(&CoverNoteFields::DriverICNos),
        at(&CoverNoteFields::DriverDOBs), at(&CoverNoteFields::DriverLicenceDates),
        at(&CoverNoteFields::DriverGenders), at(&CoverNoteFields::DriverOccupations),
        at(&CoverNoteFields::DriverRelationships));
  }
}

void VehicleTabPageToRecord(Workspace& workspace, dom::Document& page,
                            std::string_view /*tab_id*/) {
  CoverNoteFields& fields = workspace.record.Current;
  ShownPage& shown = workspace.transfer.Shown;
  for (const VehicleField& entry : kVehicleFields) {
    // Only what the administrator changed reaches the record: an empty flag shown as "No"
    // stays empty.
    if (shown.Changed(page, entry.element) ||
        (!entry.no_element.empty() && shown.Changed(page, entry.no_element))) {
      SaveField(entry, fields, page);
    }
  }

  const Driver* table = workspace.vehicle.DriverTable.get();
  if (!table) return;
  SaveNamedDrivers(workspace, *table);

  // A different number of named drivers changes the premium; transfers and extensions
  // keep the drivers of the earlier document.
  if (fields.TransactionType == "T" || fields.TransactionType == "E") return;
  const std::int32_t count = table->GetNoOfDrivers();
  if (count != workspace.page.NamedDriverCountSeen) {
    workspace.premium.FactorsChangedNewTariff = true;
    workspace.premium.BasicPremiumEntered = false;
  }
  workspace.page.NamedDriverCountSeen = count;
  CheckNamedDriverExtCoverSilently(workspace);
}

}  // namespace cn
