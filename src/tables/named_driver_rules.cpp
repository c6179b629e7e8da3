// The checks of a named driver's values as they are typed: the name of the first row,
// the IC number, the date of birth, the licence date and the driver's age.
#include <array>
#include <charconv>
#include <limits>
#include <optional>

#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/runtime_failure.h"
#include "integration/conversions.h"
#include "base/text.h"
#include "dom/document.h"
#include "integration/dates.h"
#include "integration/ic_numbers.h"
#include "integration/nric_characters.h"
#include "integration/reporting.h"
#include "tables/driver.h"

namespace cn {
namespace {

constexpr std::string_view kInvalidData = "Invalid Data";
constexpr std::string_view kBefore1900 = "Minimum year of the date must greater than 1900!";
constexpr std::string_view kEarliestYear = "1900";

constexpr std::int32_t kInvalidValueMessage = 2210008;
constexpr std::int32_t kInvalidAgeMessage = 1210040;

// System codes the rules read.
constexpr std::int32_t kInsuredPlaceholder = 1030;  // the name standing for the insured
constexpr std::int32_t kNoAgeCheckName = 1062;      // a name whose age is not checked
constexpr std::int32_t kMinimumAgeMotorcycle = 1097;
constexpr std::int32_t kMinimumAgeOther = 1098;

constexpr std::array<std::string_view, 5> kNilWords = {"nil", "NIL", "na", "NA", "-"};

bool IsNilWord(std::string_view trimmed) {
  for (const std::string_view word : kNilWords) {
    if (trimmed == word) return true;
  }
  return false;
}

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Twelve digits, or YYMMDD-PP-SSSS.
bool IsNewICNo(std::string_view value) {
  const std::string trimmed = Trim(value);
  if (trimmed.empty() || IsNilWord(trimmed)) return false;
  if (Len(trimmed) == 12) return IsNumeric(trimmed);
  return Len(trimmed) == 14 && Mid(trimmed, 7, 1) == "-" && Mid(trimmed, 10, 1) == "-" &&
         AllDigits(Mid(trimmed, 1, 6) + Mid(trimmed, 8, 2) + Mid(trimmed, 11, 4));
}

// Old numbers have at most eight characters.
bool IsOldICNo(std::string_view value) {
  const std::string trimmed = Trim(value);
  return !trimmed.empty() && !IsNilWord(trimmed) && Len(trimmed) < 9;
}

std::int16_t ToInt16(std::string_view text, std::string_view what) {
  const std::string trimmed = Trim(text);
  int value = 0;
  const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  if (trimmed.empty() || error == std::errc::invalid_argument ||
      end != trimmed.data() + trimmed.size()) {
    throw RuntimeFailure(failure::kTypeMismatch,
                         "Type mismatch: " + std::string(what) + " \"" + trimmed + "\"", "Driver");
  }
  if (error == std::errc::result_out_of_range || value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw RuntimeFailure(failure::kOverflow, "Overflow: " + std::string(what), "Driver");
  }
  return static_cast<std::int16_t>(value);
}

std::int16_t CheckedInt16(int value) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw RuntimeFailure(failure::kOverflow, "Overflow: licence rule", "Driver");
  }
  return static_cast<std::int16_t>(value);
}


bool FailsYear1900(std::string_view text) {
  return ReadDate(text).has_value() && !IsYearNotBefore(text, kEarliestYear);
}

}  // namespace

std::int16_t Driver::MinimumDrivingAge() const {
  const bool motorcycle = workspace_.record.Current.CoverType == "MOTORCYCLE";
  std::string age = SystemCode(motorcycle ? kMinimumAgeMotorcycle : kMinimumAgeOther);
  if (age.empty()) age = motorcycle ? "16" : "17";
  return ToInt16(age, "minimum driving age");
}

std::string Driver::LicenceRuleMessage(std::string_view date_of_birth,
                                       std::string_view licence_date) {
  const std::int16_t age = YearsBetween(date_of_birth, workspace_.record.Current.EffectiveDate);
  const std::int16_t years_of_driving =
      CheckedInt16(SystemDateTime(workspace_).date.year() - RequireDate(licence_date, "Driver").year());
  // The age the Cover tab set for the chosen cover type; before any choice, the age of
  // the record's cover type.
  const std::string& in_force = workspace_.cover_rules.MinimumDrivingAge;
  const std::int16_t minimum =
      in_force.empty() ? MinimumDrivingAge() : ToInt16(in_force, "minimum driving age");
  const std::int16_t sum = CheckedInt16(minimum + years_of_driving);
  if (sum <= age) return {};
  return "Invalid driving license date. Years of Driving plus " + std::to_string(minimum) +
         " (minimum driving age) must not exceed Driver's age. \r\n[" + std::to_string(sum) +
         " > " + std::to_string(age) + "]";
}

bool Driver::CheckDriverAge(std::string_view date_of_birth) {
  if (date_of_birth.empty()) return false;
  const std::optional<Date> date = ReadDate(date_of_birth);
  if (!date) {
    ShowMessageByNumber(workspace_.components, kInvalidValueMessage, "Date!", kInvalidData);
    return false;
  }
  const int age = SystemDateTime(workspace_).date.year() - date->year();
  if (age >= MinimumDrivingAge()) return true;
  ShowMessageByNumber(workspace_.components, kInvalidAgeMessage, "Age", "Invalid Age");
  return false;
}

void Driver::ValidateNamedPerson(std::int32_t row_index) {
  // Only the first row stands for the insured.
  if (row_index != 0) return;
  const std::shared_ptr<dom::Element> row = RowAt(row_index);
  dom::Element& name = *RowControl(*row, "txtDrv");
  const auto clear_others = [&] {
    for (std::size_t c = 1; c < kDriverControls.size(); ++c) {
      RowControl(*row, kDriverControls[c])->SetValue("");
    }
  };
  const std::string placeholder = SystemCode(kInsuredPlaceholder);
  if (Trim(name.Value()).empty()) {
    name.SetValue(placeholder);
    clear_others();
  }
  const std::string typed = Trim(name.Value());
  // Someone other than the insured: what the row said about the insured no longer holds.
  if (typed != placeholder && typed != workspace_.record.Current.ClientName) clear_others();
}

void Driver::ValidateICNo(std::int32_t row_index) {
  const Components& components = workspace_.components;
  dom::Element& ic = *Control(row_index, "txtICNo");
  bool& new_ic = workspace_.transfer.NRICGiven;
  ic.SetValue(NormaliseICDashes(ic.Value()));

  if (IsNewICNo(ic.Value())) {
    ic.SetValue(FormatNewIC(components, ic.Value(), true));
    new_ic = true;
    if (CheckNRICCharacters(workspace_.lookup, components, PageWindow(), ic.Value())) return;
    ic.SetValue(NormaliseICDashes(ic.Value()));
    const std::string formatted = FormatNewIC(components, ic.Value(), true);
    if (formatted == "0") return;
    // The date of birth is part of a new IC number.
    const std::string birth = DOBFromNewIC(components, workspace_.local_clock, ic.Value(), true);
    const std::optional<Date> birth_date = ReadDate(birth);
    Control(row_index, "txtDOB")->SetValue(birth_date ? FormatDate(*birth_date) : birth);
    ValidateDOB(row_index);
    if (formatted == "-") {
      ShowNumberedMessage(components, kInvalidICNumberMessage, "Invalid IC Number",
                          {"New", "111111-01-1111", "", "", ""});
      ic.SetValue("");
    } else {
      ic.SetValue(formatted);
    }
    return;
  }
  if (IsOldICNo(ic.Value())) {
    ic.SetValue(FormatOldIC(components, ic.Value()));
    new_ic = false;
    return;
  }
  // Neither shape: kept as typed, unless no identity number can be that long.
  if (Len(ic.Value()) > 14) {
    ShowMessageByNumber(components, kInvalidValueMessage, "IC Number!", kInvalidData);
    ClearFocusSelect(ic);
  }
  new_ic = true;
}

void Driver::ValidateDOB(std::int32_t row_index) {
  dom::Element& dob = *Control(row_index, "txtDOB");
  if (FailsYear1900(dob.Value())) {
    PageWindow().MessageBox(kBefore1900, dom::message_box::kExclamation, kInvalidData);
    ClearFocusSelect(dob);
    return;
  }
  if (Control(row_index, "txtDrv")->Value() != SystemCode(kNoAgeCheckName) &&
      !CheckDriverAge(dob.Value())) {
    ClearFocusSelect(dob);
  }
  const std::string licence = Control(row_index, "txtLicenceDate")->Value();
  if (dob.Value().empty() || licence.empty()) return;
  const std::string message = LicenceRuleMessage(dob.Value(), licence);
  if (message.empty()) return;
  PageWindow().MessageBox(message, dom::message_box::kExclamation, kInvalidData);
  ClearFocusSelect(dob);
}

void Driver::ValidateLicenceDate(std::int32_t row_index) {
  if (row_index < 0) return;
  dom::Element& licence = *Control(row_index, "txtLicenceDate");
  const std::string typed = Trim(licence.Value());
  const std::optional<Date> date = ReadDate(typed);
  if (!date) {
    licence.SetValue("");
    return;
  }
  if (!IsYearNotBefore(typed, kEarliestYear)) {
    PageWindow().MessageBox(kBefore1900, dom::message_box::kExclamation, kInvalidData);
    ClearFocusSelect(licence);
    return;
  }
  const std::string refused =
      workspace_.components.SharedFieldRuleService().CheckLicenceDate(*date);
  if (!refused.empty()) {
    licence.Select();
    PageWindow().MessageBox(refused, dom::message_box::kExclamation, kInvalidData);
    ClearFocusSelect(licence);
    return;
  }
  licence.SetValue(FormatDate(*date));
  const std::string dob = Control(row_index, "txtDOB")->Value();
  if (dob.empty() || licence.Value().empty()) return;
  const std::string message = LicenceRuleMessage(dob, licence.Value());
  if (message.empty()) return;
  PageWindow().MessageBox(message, dom::message_box::kExclamation, kInvalidData);
  ClearFocusSelect(licence);
}

bool Driver::CheckDOBDrivingLicense() {
  bool passed = true;
  IgnoreFailures([&] {
    for (std::int32_t i = 0; i <= last_row_index(); ++i) {
      const std::shared_ptr<dom::Element> row = FindRow(i);
      if (!row) continue;
      dom::Element& dob = *RowControl(*row, "txtDOB");
      dom::Element& licence = *RowControl(*row, "txtLicenceDate");
      const std::string dob_text = Trim(dob.Value());
      const std::string licence_text = Trim(licence.Value());
      if (FailsYear1900(dob_text)) {
        ClearFocusSelect(dob);
        passed = false;
        continue;
      }
      if (FailsYear1900(licence_text)) {
        ClearFocusSelect(licence);
        passed = false;
        continue;
      }
      if (dob_text.empty() || licence_text.empty()) continue;
      if (!LicenceRuleMessage(dob_text, licence_text).empty()) {
        ClearFocusSelect(licence);
        passed = false;
      }
    }
  });
  return passed;
}

}  // namespace cn
