// The named-driver table: building it, appending, counting, reading out and removing
// rows. The checks of a row's values are in named_driver_rules.cpp.
#include "tables/driver.h"

#include <limits>
#include <optional>
#include <utility>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "dom/document.h"
#include "integration/fill_select.h"
#include "integration/reporting.h"
#include "integration/system_codes.h"

namespace cn {
namespace {

constexpr HeaderCell kHeaderCells[] = {
    {"1%", ""},
    {"18%", "Named Person"},
    {"13%", "IC No."},
    {"13%", "Date of Birth"},
    {"13%", "License Date"},
    {"10%", "Gender"},
    {"18%", "Occupation"},
    {"14%", "Relationship"},
};

constexpr HeaderLayout kHeader{"table", "clsEmbrossBorder", "NpTbl", true, false, kHeaderCells};
constexpr BodyLayout kBody{"TABLE", "", true};

// A row the administrator fills in.
constexpr RowCell kEditableCells[] = {
    {"15%", "<Input tabindex=1 id =", "txtDrv", ">", "5%", ""},
    {"14%", "<Input tabindex=1 id =", "txtICNo", " maxlength=14>"},
    {"14%", "<Input tabindex=1 id =", "txtDOB", ">"},
    {"14%", "<Input tabindex=1 id =", "txtLicenceDate", ">"},
    {"10%", "<Select tabindex=1 id =", "txtGender", "></Select>"},
    {"19%", "<Select tabindex=1 id =", "cboOccupation", "></Select>"},
    {"14%", "<Input tabindex=1 id =", "txtRelationship", ">", "", "5%"},
};

// A stored driver, and a company: shown, not edited.
constexpr RowCell kReadOnlyCells[] = {
    {"15%", "<Input tabindex=-1 readonly id =", "txtDrv", ">", "5%", ""},
    {"14%", "<Input tabindex=1 readonly id =", "txtICNo", ">"},
    {"14%", "<Input tabindex=1 readonly id =", "txtDOB", ">"},
    {"14%", "<Input tabindex=1 readonly id =", "txtLicenceDate", ">"},
    {"10%", "<Select tabindex=1 disabled=true id =", "txtGender", "></Select>", "", "5%"},
    {"19%", "<Select tabindex=1 disabled=true id =", "cboOccupation", "></Select>", "", "5%"},
    {"14%", "<Input tabindex=1 readonly id =", "txtRelationship", ">", "", "5%"},
};

// The row commands the controls send.
constexpr std::string_view kHighlightCommand = "cmdHighliteRow";

// The text boxes whose changes are checked, with the command each sends, in the order
// they are wired.
constexpr std::pair<std::string_view, std::string_view> kChangeCommands[] = {
    {"txtDrv", "DriverNameChanged"},
    {"txtICNo", "DriverICChanged"},
    {"txtLicenceDate", "DriverLicenceDateChanged"},
    {"txtDOB", "DOBChanged"},
};

// The fixed gender list: code, then text.
const std::vector<std::string>& GenderList() {
  static const std::vector<std::string> list = {
      std::string("M").append(FieldSeparator).append("MALE"),
      std::string("F").append(FieldSeparator).append("FEMALE"),
      std::string("C").append(FieldSeparator).append("COMPANY"),
  };
  return list;
}

// System codes the table reads.
constexpr std::int32_t kNoOccupationCode = 1009;    // the occupation stored for "none"
constexpr std::int32_t kInsuredPlaceholder = 1030;  // the name standing for the insured

DriverValues ValuesOf(std::string_view a, std::string_view b, std::string_view c,
                      std::string_view d, std::string_view e, std::string_view f,
                      std::string_view g) {
  return {std::string(a), std::string(b), std::string(c), std::string(d),
          std::string(e), std::string(f), std::string(g)};
}

bool IsDropDown(const dom::Element& control) { return control.Is("select"); }

}  // namespace

Driver::Driver(Workspace& workspace)
    : RowTable("rowDrv", std::numeric_limits<std::int32_t>::max()), workspace_(workspace) {}

bool Driver::BuildHeader(const std::shared_ptr<dom::Element>& oEEC,
                         const std::shared_ptr<dom::Element>& oDriverHeaderDiv) {
  return IgnoreFailures([&] { BuildHeaderTable(oEEC, oDriverHeaderDiv, kHeader); });
}

bool Driver::BuildUI(const std::shared_ptr<dom::Element>& oEEC,
                     const std::shared_ptr<dom::Element>& oDriverDiv) {
  return IgnoreFailures([&] { BuildBodyTable(oEEC, oDriverDiv, kBody); });
}

bool Driver::Add(std::string_view sNamedPerson, std::string_view sICNumber, std::string_view sDOB,
                 std::string_view sLicenceDate, std::string_view sGender,
                 std::string_view sOccupation, std::string_view sRelationship) {
  if (!ui_built()) return false;
  const std::shared_ptr<dom::Element> row = AppendRow(kEditableCells);
  const std::int32_t row_index = last_row_index();
  const dom::Element& r = *row;

  dom::Element& name = *RowControl(r, "txtDrv");
  name.SetValue(sNamedPerson);
  if (sNamedPerson.empty()) name.Focus();
  FillGender(r);
  FillOccupation(r);
  RowControl(r, "txtICNo")->SetValue(sICNumber);
  // The insured's own row must show a date of birth old enough to drive.
  std::string date_of_birth(sDOB);
  if (sNamedPerson == SystemCode(kInsuredPlaceholder) && !CheckDriverAge(sDOB)) {
    date_of_birth.clear();
  }
  RowControl(r, "txtDOB")->SetValue(date_of_birth);
  RowControl(r, "txtLicenceDate")->SetValue(sLicenceDate);
  RowControl(r, "txtGender")->SetValue(sGender);
  RowControl(r, "cboOccupation")->SetValue(sOccupation);
  RowControl(r, "txtRelationship")->SetValue(sRelationship);

  SetRowScript(*row, kHighlightCommand, row_index);
  RowControl(r, "txtDOB")->AddBehavior(kDateEntryBehaviorUrl);
  for (const auto& [control_id, command] : kChangeCommands) {
    SetChangeScript(*RowControl(r, control_id), command, row_index);
  }
  // The administrator goes on with the first value still missing.
  for (const std::string_view control_id : kDriverControls) {
    const std::shared_ptr<dom::Element> control = RowControl(r, control_id);
    if (!control->Value().empty()) continue;
    if (IsDropDown(*control)) {
      control->Focus();
    } else {
      control->Select();
    }
    break;
  }
  return true;
}

std::int32_t Driver::GetNoOfDrivers() const {
  std::int32_t count = 0;
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    const std::shared_ptr<dom::Element> row = FindRow(i);
    if (row && !Trim(RowControl(*row, "txtDrv")->Value()).empty()) ++count;
  }
  return count;
}

std::int32_t Driver::GetNoOfDriversRow() const {
  std::int32_t count = 0;
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    if (FindRow(i)) ++count;
  }
  return count;
}

void Driver::GetNamedDrivers(std::vector<std::string>& NamedDriver,
                             std::vector<std::string>& arrICNo, std::vector<std::string>& arrDOB,
                             std::vector<std::string>& arrLicenceDate,
                             std::vector<std::string>& arrLicenceNo,
                             std::vector<std::string>& arrGender,
                             std::vector<std::string>& arrOccupation,
                             std::vector<std::string>& arrRelationship) const {
  // The caller's arrays with the control each is read from; the licence number is not
  // held by the table and is written empty.
  const std::array<std::pair<std::vector<std::string>*, std::string_view>, 8> arrays = {{
      {&NamedDriver, "txtDrv"},
      {&arrICNo, "txtICNo"},
      {&arrDOB, "txtDOB"},
      {&arrLicenceDate, "txtLicenceDate"},
      {&arrLicenceNo, ""},
      {&arrGender, "txtGender"},
      {&arrOccupation, "cboOccupation"},
      {&arrRelationship, "txtRelationship"},
  }};
  std::size_t k = 0;
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    const std::shared_ptr<dom::Element> row = FindRow(i);
    if (!row || Trim(RowControl(*row, "txtDrv")->Value()).empty()) continue;
    for (const auto& [array, control_id] : arrays) {
      if (k >= array->size()) {
        throw RuntimeFailure(failure::kSubscriptOutOfRange,
                             "Subscript out of range: driver " + std::to_string(k),
                             "Driver.GetNamedDrivers");
      }
      (*array)[k] =
          control_id.empty() ? std::string() : Trim(RowControl(*row, control_id)->Value());
    }
    ++k;
  }
}

bool Driver::AddDisplayDriver(std::string_view sNamedPerson, std::string_view sICNumber,
                              std::string_view sDOB, std::string_view sLicenceDate,
                              std::string_view sGender, std::string_view sOccupation,
                              std::string_view sRelationship) {
  if (!ui_built()) return false;
  return IgnoreFailures([&] {
    const std::shared_ptr<dom::Element> row = AppendRow(kReadOnlyCells);
    const dom::Element& r = *row;
    FillGender(r);
    FillOccupation(r);
    const DriverValues values =
        ValuesOf(sNamedPerson, sICNumber, sDOB, sLicenceDate, sGender, sOccupation, sRelationship);
    for (std::size_t c = 0; c < kDriverControls.size(); ++c) {
      RowControl(r, kDriverControls[c])->SetValue(values[c]);
    }
    // The stored "no occupation" code is shown as no choice.
    if (sOccupation == SystemCode(kNoOccupationCode)) {
      RowControl(r, "cboOccupation")->SetValue("");
    }
    SetRowScript(*row, kHighlightCommand, last_row_index());
  });
}

void Driver::ClearTable() { ClearRows(); }

void Driver::RemoveRow() {
  struct Kept {
    DriverValues values;
    bool read_only = false;
  };
  std::vector<std::optional<Kept>> kept(
      static_cast<std::size_t>(last_row_index() < 0 ? 0 : last_row_index() + 1));
  std::int32_t removed = 0;
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    const std::shared_ptr<dom::Element> row = RowAt(i);
    if (row->ClassName() == kHighlightedRowClass) {
      removed = i;
      continue;
    }
    Kept entry;
    for (std::size_t c = 0; c < kDriverControls.size(); ++c) {
      entry.values[c] = RowControl(*row, kDriverControls[c])->Value();
    }
    entry.read_only = RowControl(*row, "txtDrv")->ReadOnly();
    kept[static_cast<std::size_t>(i)] = std::move(entry);
  }
  ClearTable();
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (static_cast<std::int32_t>(i) == removed || !kept[i]) continue;
    const DriverValues& v = kept[i]->values;
    if (kept[i]->read_only) {
      AddDisplayDriver(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    } else {
      Add(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    }
  }
}

bool Driver::AddDisplayCompany(std::string_view sNamedPerson, std::string_view sICNumber,
                               std::string_view /*sDOB*/, std::string_view /*sLicenceDate*/,
                               std::string_view sGender, std::string_view /*sOccupation*/,
                               std::string_view /*sRelationship*/) {
  if (!ui_built()) return false;
  return IgnoreFailures([&] {
    const std::shared_ptr<dom::Element> row = AppendRow(kReadOnlyCells);
    const dom::Element& r = *row;
    FillGender(r);
    RowControl(r, "txtDrv")->SetValue(sNamedPerson);
    RowControl(r, "txtICNo")->SetValue(sICNumber);
    RowControl(r, "txtGender")->SetValue(sGender);
    for (const std::string_view control_id : kDriverControls) {
      RowControl(r, control_id)->SetStyle("backgroundColor", "buttonface");
    }
  });
}

bool Driver::RunCommand(std::string_view command, std::int16_t row_index) {
  using Rule = void (Driver::*)(std::int32_t);
  static constexpr std::pair<std::string_view, Rule> kCommands[] = {
      {kHighlightCommand, &Driver::HighliteRow},
      {"DriverNameChanged", &Driver::ValidateNamedPerson},
      {"DriverICChanged", &Driver::ValidateICNo},
      {"DriverLicenceDateChanged", &Driver::ValidateLicenceDate},
      {"DOBChanged", &Driver::ValidateDOB},
  };
  for (const auto& [name, rule] : kCommands) {
    if (name == command) {
      (this->*rule)(row_index);
      return true;
    }
  }
  return false;
}

void Driver::HighliteRow(std::int32_t row_index) {
  const std::shared_ptr<dom::Element> row = HighlightRow(row_index);
  // Stored drivers cannot be removed here: only an editable row offers the delete link.
  const std::shared_ptr<dom::Element>& link = workspace_.vehicle.DeleteNPersonLink;
  if (!link) {
    throw RuntimeFailure(failure::kObjectRequired, "Object required: the delete link",
                         "Driver.HighliteRow");
  }
  link->SetStyle("visibility", RowControl(*row, "txtDrv")->ReadOnly() ? "hidden" : "visible");
}

std::shared_ptr<dom::Element> Driver::Control(std::int32_t position,
                                              std::string_view control_id) const {
  return RowControl(*RowAt(position), control_id);
}

void Driver::ClearFocusSelect(dom::Element& control) {
  control.SetValue("");
  control.Focus();
  control.Select();
}

std::string Driver::SystemCode(std::int32_t code) const {
  return GetSystemCode(workspace_.lookup, workspace_.components, code);
}

dom::Window& Driver::PageWindow() const {
  const std::shared_ptr<dom::Document> document = EEC ? EEC->OwnerDocument() : nullptr;
  if (!document) {
    throw RuntimeFailure(failure::kObjectRequired, "Object required: the command element",
                         "Driver");
  }
  return *document->ParentWindow();
}

void Driver::FillGender(const dom::Element& row) const {
  FillSelect(RowControl(row, "txtGender"), GenderList(), 0, 1, true, false);
}

void Driver::FillOccupation(const dom::Element& row) const {
  FillSelect(RowControl(row, "cboOccupation"), workspace_.lists.OccupationList, 0, 1, true, false);
}

}  // namespace cn
