// The three premium tabs: transfer between the record and the page, and the extended
// covers between the record and the tab's extended-cover table.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/currency.h"
#include "base/number_format.h"
#include "base/separators.h"
#include "base/text.h"
#include "integration/fill_select.h"
#include "pages/premium/premium_compute.h"
#include "tables/ext_cover.h"
#include "workspace/named_driver_check.h"
#include "workspace/same_value.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

// The tabs a figure is on.
enum Tabs : std::uint8_t { kPrem = 1, kNPrem = 2, kOPrem = 4 };

enum class Shown {
  kMoney,     // "Value", two decimals
  kWhole,     // "Value", no decimals
  kText,      // "Value" as stored
  kLabel,     // "innerText", two decimals
  kShortCal,  // "Checked": "S" / "P"
  kCheck,     // "Checked": "1" / "0"
  kDropDown,  // "Value" of a drop-down, offered even when its list lacks it
};

struct PremiumField {
  std::string_view element;
  std::uint8_t tabs;
  std::string CoverNoteFields::*field;
  Shown shown;
  bool typed;  // the administrator may type it: a change means a new premium
};

using F = CoverNoteFields;

constexpr PremiumField kPremiumFields[] = {
    {"txtVehicleSumInsured", kPrem | kNPrem, &F::VehicleSumInsured, Shown::kMoney, true},
    {"txtTrailerSumInsured", kPrem | kNPrem, &F::TrailerSumInsured, Shown::kMoney, true},
    {"txtTariffPremium", kPrem | kNPrem, &F::TariffPremium, Shown::kMoney, true},
    {"txtLoadPercentage", kPrem, &F::LoadPercentage, Shown::kWhole, true},
    {"txtLoadAmount", kPrem, &F::LoadAmount, Shown::kMoney, true},
    {"txtNCDAmount", kPrem, &F::NCDAmount, Shown::kMoney, true},
    {"cboNCDYear", kPrem | kNPrem, &F::NCDYear, Shown::kDropDown, true},
    {"txtServiceTaxPercentage", kPrem | kNPrem | kOPrem, &F::ServiceTaxPercentage, Shown::kText,
     true},
    {"lblServiceTaxAmount", kPrem | kNPrem, &F::ServiceTaxAmount, Shown::kLabel, false},
    {"txtServiceTaxAmount", kOPrem, &F::ServiceTaxAmount, Shown::kMoney, false},
    {"lblTransferFee", kPrem | kNPrem, &F::TransferFee, Shown::kLabel, false},
    {"txtStampDuty", kPrem | kNPrem, &F::StampDuty, Shown::kMoney, true},
    {"lblTotalPremium", kPrem | kNPrem, &F::TotalPremium, Shown::kLabel, false},
    {"txtTotalPremium", kOPrem, &F::TotalPremium, Shown::kMoney, false},
    {"lblOTCAmount", kPrem | kNPrem, &F::OTCAmount, Shown::kLabel, false},
    {"txtExcessAmount1", kPrem | kNPrem, &F::ExcessAmount, Shown::kMoney, true},
    {"txtTotalExtSumIns", kPrem | kNPrem, &F::TotalExtSumInsured, Shown::kMoney, false},
    {"txtTotalExtPrem", kPrem | kNPrem, &F::TotalExtPremium, Shown::kMoney, false},
    {"txtBasicPremium", kNPrem, &F::BasicPremium, Shown::kMoney, true},
    {"txtRMTUseRate", kNPrem, &F::RMTUseRate, Shown::kText, false},
    {"txtRMTStateRate", kNPrem, &F::RMTStateRate, Shown::kText, false},
    {"txtRMTDriverRate", kNPrem, &F::RMTDriverRate, Shown::kText, false},
    {"txtRMTGenderRate", kNPrem, &F::RMTGenderRate, Shown::kText, false},
    {"txtRMTNCDYearRate", kNPrem, &F::RMTNCDYearRate, Shown::kText, false},
    {"txtRMTVehicleMakeRate", kNPrem, &F::RMTVehicleMakeRate, Shown::kText, false},
    {"txtRMTCapacityRate", kNPrem, &F::RMTCapacityRate, Shown::kText, false},
    {"txtRMTVehicleAgeRate", kNPrem, &F::RMTVehicleAgeRate, Shown::kText, false},
    {"txtRMTSumInsuredRate", kNPrem, &F::RMTSumInsuredRate, Shown::kText, false},
    {"txtRMTRate", kNPrem, &F::RMTRate, Shown::kText, false},
    // The new tariff rates by region too: its tab shows the note's own, not the list's first.
    {"cboRegion", kPrem | kNPrem, &F::Region, Shown::kDropDown, true},
    {"txtOtherCharges", kPrem, &F::OtherCharges, Shown::kMoney, true},
    {"chkShortCal", kPrem, &F::ShortCalculation, Shown::kShortCal, false},
    {"chkTrailerNP", kPrem, &F::TrailerNP, Shown::kCheck, false},
    {"txtGSTGrossPremiumPercentage", kPrem, &F::GSTGrossPremiumPercentage, Shown::kText, true},
    {"lblGSTGrossPremiumAmount", kPrem, &F::GSTGrossPremiumAmount, Shown::kLabel, false},
    {"txtGSTTransferFeePercentage", kPrem, &F::GSTTransferFeePercentage, Shown::kText, true},
    {"lblGSTTransferFeeAmount", kPrem, &F::GSTTransferFeeAmount, Shown::kLabel, false},
    {"txtGSTOthChargePercentage", kPrem, &F::GSTOthChargePercentage, Shown::kText, true},
    {"lblGSTOthChargeAmount", kPrem, &F::GSTOthChargeAmount, Shown::kLabel, false},
    {"txtRemark", kOPrem, &F::Remark, Shown::kText, false},
};

// The all-rider figure and the gross premium show one of two record fields.
constexpr std::string_view kAllRiderLabel = "lblAllRider";
constexpr std::string_view kExtraLoadingText = "Extra Loading";
constexpr std::string_view kAllRiderElement = "txtAllRiderPremium";

struct GrossPremiumElement {
  std::string_view element;
  std::uint8_t tabs;
  bool label;
};
constexpr GrossPremiumElement kGrossPremium[] = {
    {"lblGrossPremium", kPrem | kNPrem, true},
    {"txtGrossPremium", kOPrem, false},
};

std::uint8_t TabOf(std::string_view tab_id) {
  if (tab_id == kPremiumTabId) return kPrem;
  if (tab_id == kNewTariffPremiumTabId) return kNPrem;
  return kOPrem;
}

// A stored value as the page shows it in a text box.
std::string ValueShown(const PremiumField& entry, const std::string& value) {
  switch (entry.shown) {
    case Shown::kMoney:
    case Shown::kLabel:
      return FormatFigure(value, 2);
    case Shown::kWhole:
      return FormatFigure(value, 0);
    default:
      return value;
  }
}

void ShowField(const PremiumField& entry, const std::string& value, dom::Element& element) {
  switch (entry.shown) {
    case Shown::kLabel:
      element.SetInnerText(ValueShown(entry, value));
      return;
    case Shown::kShortCal:
      element.SetChecked(value == "S");
      return;
    case Shown::kCheck:
      element.SetChecked(value == "1");
      return;
    case Shown::kDropDown:
      ShowStoredValue(element, value);
      return;
    default:
      element.SetValue(ValueShown(entry, value));
  }
}

std::string TakeField(const PremiumField& entry, const dom::Element& element) {
  switch (entry.shown) {
    case Shown::kLabel:
      return element.InnerText();
    case Shown::kShortCal:
      return element.Checked() ? "S" : "P";
    case Shown::kCheck:
      return element.Checked() ? "1" : "0";
    default:
      return element.Value();
  }
}

bool AltGross(const CoverNoteFields& fields) {
  return fields.TransactionType == "T" || fields.TransactionType == "E";
}

std::string& AllRiderField(CoverNoteFields& fields, const dom::Document& page) {
  return page.GetElementById(kAllRiderLabel)->InnerText() == kExtraLoadingText
             ? fields.ExtraLoading
             : fields.AllRiderPremium;
}

std::string Sum2(std::string_view a, std::string_view b) {
  return FormatNumber(
      Currency::TryParse(a).value_or(Currency()) + Currency::TryParse(b).value_or(Currency()), 2);
}

std::string SelectedText(dom::Element& select) {
  const int index = select.SelectedIndex();
  return index < 0 ? std::string() : select.Options().Item(index)->Text();
}

// The extended covers the cover note was read with.
std::vector<std::string> CoversAsRead(const Workspace& workspace) {
  constexpr std::size_t kExtCoverCodesPosition = 62;
  const std::vector<std::string> reply = Split(workspace.read.AsReadReply, FieldSeparator);
  if (reply.size() <= kExtCoverCodesPosition || reply[kExtCoverCodesPosition].empty()) return {};
  return Split(reply[kExtCoverCodesPosition], DialogArgSeparator);
}

// The stored extended covers read-only, and the ones the administrator added since the read
// as he left them, still his to change or remove; the table is emptied first so that a
// redraw after a computation does not repeat them.
void ShowExtCovers(Workspace& workspace, ExtCover& table) {
  CoverNoteFields& fields = workspace.record.Current;
  table.ClearTable();
  if (fields.ExtCoverCodes.empty() || fields.ExtCoverCodes.front().empty()) return;
  const std::size_t rows = fields.ExtCoverCodes.size();
  fields.ExtCoverMinPremiums.resize(rows);
  fields.ExtCoverMethods.resize(rows);
  const auto at = [&](TextArray array, std::size_t i) -> std::string_view {
    const std::vector<std::string>& values = fields.*array;
    return i < values.size() ? std::string_view(values[i]) : std::string_view();
  };
  std::vector<std::string> stored = CoversAsRead(workspace);
  const std::vector<bool>& marks = workspace.record.ExtUserPremiumMarks;
  for (std::size_t i = 0; i < rows; ++i) {
    const bool mark = i < marks.size() && marks[i];
    const auto read = std::ranges::find(stored, at(&F::ExtCoverCodes, i));
    if (read == stored.end()) {
      table.Add(at(&F::ExtCoverCodes, i), at(&F::ExtCoverSumInsured, i),
                at(&F::ExtCoverPercentages, i), at(&F::ExtCoverPremiums, i),
                at(&F::ExtCoverMethods, i), mark);
      continue;
    }
    stored.erase(read);
    table.AddDisplayExtCover(at(&F::ExtCoverCodes, i), at(&F::ExtCoverSumInsured, i),
                             at(&F::ExtCoverPercentages, i), at(&F::ExtCoverPremiums, i), mark);
  }
}

// The extended covers the record's rows are written from.
constexpr std::array<TextArray, 4> kWrittenExtCoverArrays = {
    &F::ExtCoverCodes, &F::ExtCoverSumInsured, &F::ExtCoverPercentages, &F::ExtCoverPremiums};

// The table's covers into the record's arrays; true when a row changed since it was
// last priced. Rows as they were shown stay as they were read.
bool SaveExtCovers(Workspace& workspace, const ExtCover& table) {
  CoverNoteFields& fields = workspace.record.Current;
  const auto count = static_cast<std::size_t>(std::max<std::int16_t>(table.GetNoOfExtCover(), 1));
  CoverNoteFields rows;
  for (const TextArray array : kExtCoverArrays) (rows.*array).assign(count, "");
  std::vector<bool> marks(count, false);
  bool recalculate = false;
  table.GetExtCover(rows.ExtCoverCodes, rows.ExtCoverMethods, rows.ExtCoverPercentages,
                    rows.ExtCoverPremiums, rows.ExtCoverMinPremiums, rows.ExtCoverSumInsured, marks,
                    recalculate);
  if (SameArrays(rows, fields, kWrittenExtCoverArrays) &&
      marks == workspace.record.ExtUserPremiumMarks) {
    return recalculate;
  }
  for (const TextArray array : kExtCoverArrays) fields.*array = std::move(rows.*array);
  workspace.record.ExtUserPremiumMarks = std::move(marks);
  return recalculate;
}

// The NCD choices of the record's class, read again when missing or kept for another
// class; the record's NCD stands.
void LoadNCDChoices(Workspace& workspace) {
  const std::string& class_code = workspace.record.Current.ClassCode;
  const PremiumState& premium = workspace.premium;
  const bool none =
      premium.NCDList.empty() || (premium.NCDList.size() == 1 && premium.NCDList.front().empty());
  if (none || premium.NCDListClassCode != class_code) LoadNCDList(workspace, class_code, false);
}

}  // namespace

void PremiumTabRecordToPage(Workspace& workspace, dom::Document& page, std::string_view tab_id) {
  const std::uint8_t tab = TabOf(tab_id);
  CoverNoteFields& fields = workspace.record.Current;
  if (tab != kOPrem) {
    LoadNCDChoices(workspace);
    FillSelect(page.GetElementById("cboNCDYear"), workspace.premium.NCDList, 0, 1, true, false);
  }
  for (const PremiumField& entry : kPremiumFields) {
    if (entry.tabs & tab)
      ShowField(entry, fields.*entry.field, *page.GetElementById(entry.element));
  }
  if (tab == kPrem) {
    std::string& all_rider = AllRiderField(fields, page);
    page.GetElementById(kAllRiderElement)->SetValue(FormatFigure(all_rider, 2));
  }
  const std::string& gross = AltGross(fields) ? fields.AltGrossPremium : fields.GrossPremium;
  for (const GrossPremiumElement& entry : kGrossPremium) {
    if (!(entry.tabs & tab)) continue;
    dom::Element& element = *page.GetElementById(entry.element);
    if (entry.label) {
      element.SetInnerText(FormatFigure(gross, 2));
    } else {
      element.SetValue(FormatFigure(gross, 2));
    }
  }
  if (ExtCover* table = workspace.premium_tab.ExtCoverTable.get(); table && tab != kOPrem) {
    ShowExtCovers(workspace, *table);
  }
}

void PremiumTabPageToRecord(Workspace& workspace, dom::Document& page, std::string_view tab_id) {
  const std::uint8_t tab = TabOf(tab_id);
  CoverNoteFields& fields = workspace.record.Current;
  ShownPage& shown = workspace.transfer.Shown;
  const auto changed = [&](std::string_view id) { return shown.Changed(page, id); };
  bool typed = false;
  for (const PremiumField& entry : kPremiumFields) {
    if (!(entry.tabs & tab) || !changed(entry.element)) continue;
    const dom::Element& element = *page.GetElementById(entry.element);
    std::string value = TakeField(entry, element);
    std::string& stored = fields.*entry.field;
    if (entry.typed && value != ValueShown(entry, stored) && value != stored) typed = true;
    stored = std::move(value);
  }
  if (tab == kPrem && changed(kAllRiderElement)) {
    std::string& all_rider = AllRiderField(fields, page);
    const std::string value = page.GetElementById(kAllRiderElement)->Value();
    if (value != FormatFigure(all_rider, 2) && value != all_rider) typed = true;
    all_rider = value;
  }
  std::string& gross = AltGross(fields) ? fields.AltGrossPremium : fields.GrossPremium;
  for (const GrossPremiumElement& entry : kGrossPremium) {
    if (!(entry.tabs & tab) || !changed(entry.element)) continue;
    const dom::Element& element = *page.GetElementById(entry.element);
    gross = entry.label ? element.InnerText() : element.Value();
  }
  if (tab == kOPrem) return;

  if (changed("txtVehicleSumInsured") || changed("txtTrailerSumInsured")) {
    fields.TotalSumInsured = Sum2(fields.VehicleSumInsured, fields.TrailerSumInsured);
  }
  if (changed("cboNCDYear")) {
    fields.NCDPercentage = SelectedText(*page.GetElementById("cboNCDYear"));
    // An NCD earned means a previous insurer granted it.
    fields.HasExInsurer =
        Currency::TryParse(fields.NCDPercentage).value_or(Currency()) != Currency();
  }
  if (changed("txtExcessAmount1")) {
    const bool excess = Currency::TryParse(fields.ExcessAmount).value_or(Currency()) > Currency();
    fields.ExcessCode = !excess ? "" : fields.CoverType == "MOTORCYCLE" ? "MC" : "DC";
  }

  // Read the covers back before the driver check judges them, so that its removals
  // stand.
  if (const ExtCover* table = workspace.premium_tab.ExtCoverTable.get()) {
    if (SaveExtCovers(workspace, *table)) typed = true;
  }
  if (typed) {
    (tab == kPrem ? workspace.premium.PremiumChangedV10
                  : workspace.premium.PremiumChangedNewTariff) = true;
  }
  if (dom::Window* window = page.ParentWindow().get()) {
    CheckNamedDriverExtCover(workspace, *window);
  }
}

}  // namespace cn
