#include "tables/claim.h"

#include <limits>
#include <optional>
#include <utility>

#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/runtime_failure.h"
#include "base/text.h"
#include "dom/document.h"
#include "integration/input_checks.h"
#include "integration/locking.h"
#include "integration/reporting.h"

namespace cn {
namespace {

constexpr HeaderCell kHeaderCells[] = {
    {"13%", "Accident Date", "5%", ""}, {"13%", "Vehicle No"},         {"28%", "Insurer"},
    {"28%", "Nature of Loss/Injury"},   {"8%", "Claim(RM)", "", "5%"},
};
constexpr HeaderLayout kHeader{"table", "clsEmbrossBorder", "ClaimHeaderTbl", false,
                               true,    kHeaderCells};
constexpr BodyLayout kBody{"TABLE", "", false};

constexpr std::string_view kDateClosing = " style=\"BEHAVIOR: url('Behaviors\\EntryDate.htc')\">";
constexpr std::string_view kAmountClosing =
    " style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCur.htc')\">";

constexpr RowCell kEditableCells[] = {
    {"13%", "<Input id =", "txtACCDATE", kDateClosing, "5%", ""},
    {"13%", "<Input id =", "txtVEHNO", ">"},
    {"28%", "<Input id =", "txtINSURER", ">"},
    {"28%", "<Input id =", "txtNATURE", ">"},
    {"8%", "<Input id =", "txtCLAIM", kAmountClosing, "", "5%"},
};
constexpr RowCell kReadOnlyCells[] = {
    {"13%", "<Input readonly id =", "txtACCDATE", kDateClosing, "5%", ""},
    {"13%", "<Input readonly id =", "txtVEHNO", ">"},
    {"28%", "<Input readonly id =", "txtINSURER", ">"},
    {"28%", "<Input readonly id =", "txtNATURE", ">"},
    {"8%", "<Input readonly id =", "txtCLAIM", kAmountClosing, "", "5%"},
};

constexpr std::string_view kHighlightCommand = "cmdHighliteRow";
constexpr std::string_view kDateCommand = "cmdUpdateUI";
constexpr std::string_view kAmountCommand = "cmdValidAmount";

void FocusSelect(dom::Element& control) {
  control.Focus();
  control.Select();
}

}  // namespace

Claim::Claim(Workspace& workspace)
    : RowTable("ACCLOGROW", std::numeric_limits<std::int16_t>::max()), workspace_(workspace) {}

bool Claim::BuildHeader(const std::shared_ptr<dom::Element>& oEEC,
                        const std::shared_ptr<dom::Element>& oClaimHeaderDiv) {
  return IgnoreFailures([&] { BuildHeaderTable(oEEC, oClaimHeaderDiv, kHeader); });
}

bool Claim::BuildUI(const std::shared_ptr<dom::Element>& oEEC,
                    const std::shared_ptr<dom::Element>& oClaimDiv) {
  return IgnoreFailures([&] { BuildBodyTable(oEEC, oClaimDiv, kBody); });
}

void Claim::AddRow(std::span<const RowCell> cells, const std::array<std::string_view, 5>& values) {
  const std::shared_ptr<dom::Element> row = AppendRow(cells);
  const std::int32_t row_index = last_row_index();
  RowControl(*row, "txtVEHNO")->SetStyle("textTransform", "uppercase");
  SetRowScript(*row, kHighlightCommand, row_index);
  SetChangeScript(*RowControl(*row, "txtACCDATE"), kDateCommand, row_index);
  SetChangeScript(*RowControl(*row, "txtCLAIM"), kAmountCommand, row_index);
  for (std::size_t c = 0; c < kClaimControls.size(); ++c) {
    RowControl(*row, kClaimControls[c])->SetValue(values[c]);
  }
  // The amount claimed reads as every amount of the screen does: grouped, with its cents.
  RowControl(*row, "txtCLAIM")->SetValue(FormatFigure(values[4], 2));
  if (values[4].empty()) RowControl(*row, "txtCLAIM")->SetValue("0");
  accepted_.resize(static_cast<std::size_t>(row_index) + 1);
  accepted_[static_cast<std::size_t>(row_index)] = {RowControl(*row, "txtACCDATE")->Value(),
                                                    RowControl(*row, "txtCLAIM")->Value()};
  dom::Element& date = *RowControl(*row, "txtACCDATE");
  if (date.Value().empty()) FocusSelect(date);
}

bool Claim::Add(std::string_view sAccDate, std::string_view sVehNo, std::string_view sInsurer,
                std::string_view sNature, std::string_view sClaim) {
  if (!ui_built()) return false;
  // A failure goes to the handler that added the row, which reports it.
  AddRow(kEditableCells, {sAccDate, sVehNo, sInsurer, sNature, sClaim});
  return true;
}

bool Claim::AddDisplayClaim(std::string_view sAccDate, std::string_view sVehNo,
                            std::string_view sInsurer, std::string_view sNature,
                            std::string_view sClaim) {
  if (!ui_built()) return false;
  return IgnoreFailures([&] {
    AddRow(kReadOnlyCells, {sAccDate, sVehNo, sInsurer, sNature, sClaim});
  });
}

std::int32_t Claim::GetNoOfClaims() const {
  std::int32_t count = 0;
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    const std::shared_ptr<dom::Element> row = FindRow(i);
    if (row && !RowControl(*row, "txtACCDATE")->Value().empty()) ++count;
  }
  return count;
}

void Claim::GetClaims(std::vector<std::string>& ClaimDate, std::vector<std::string>& VehicleNo,
                      std::vector<std::string>& Insurer, std::vector<std::string>& NatureOfLoss,
                      std::vector<std::string>& Amount) const {
  const std::array<std::vector<std::string>*, 5> arrays = {&ClaimDate, &VehicleNo, &Insurer,
                                                           &NatureOfLoss, &Amount};
  std::size_t k = 0;
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    const std::shared_ptr<dom::Element> row = FindRow(i);
    if (!row || RowControl(*row, "txtACCDATE")->Value().empty()) continue;
    for (std::size_t c = 0; c < arrays.size(); ++c) {
      if (k >= arrays[c]->size()) {
        throw RuntimeFailure(failure::kSubscriptOutOfRange,
                             "Subscript out of range: claim " + std::to_string(k),
                             "Claim.GetClaims");
      }
      (*arrays[c])[k] = RowControl(*row, kClaimControls[c])->Value();
    }
    ++k;
  }
}

void Claim::ClearTable() {
  ClearRows();
  accepted_.clear();
}

void Claim::RemoveRow() {
  std::vector<std::array<std::string, 5>> kept;
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    const std::shared_ptr<dom::Element> row = RowAt(i);
    if (row->ClassName() == kHighlightedRowClass) continue;
    std::array<std::string, 5> values;
    for (std::size_t c = 0; c < kClaimControls.size(); ++c) {
      values[c] = RowControl(*row, kClaimControls[c])->Value();
    }
    kept.push_back(std::move(values));
  }
  ClearTable();
  for (const std::array<std::string, 5>& v : kept) Add(v[0], v[1], v[2], v[3], v[4]);
}

bool Claim::RunCommand(std::string_view command, std::int16_t row_index) {
  using Rule = void (Claim::*)(std::int32_t);
  static constexpr std::pair<std::string_view, Rule> kCommands[] = {
      {kHighlightCommand, &Claim::HighliteRow},
      {kDateCommand, &Claim::ValidateAccidentDate},
      {kAmountCommand, &Claim::ValidateClaimAmount},
  };
  for (const auto& [name, rule] : kCommands) {
    if (name == command) {
      (this->*rule)(row_index);
      return true;
    }
  }
  return false;
}

void Claim::HighliteRow(std::int32_t row_index) {
  const std::shared_ptr<dom::Element> row = HighlightRow(row_index);
  // A stored claim stays: only a claim added here offers the delete link.
  const std::shared_ptr<dom::Element>& link = workspace_.claims.AccDeleteLink;
  if (!link) {
    throw RuntimeFailure(failure::kObjectRequired, "Object required: the delete link",
                         "Claim.HighliteRow");
  }
  link->SetStyle("visibility", RowControl(*row, "txtACCDATE")->ReadOnly() ? "hidden" : "visible");
}

// A date that does not read, or that the claims rules refuse, gives way to the row's last
// accepted date: a typing slip never loses what the row held.
void Claim::ValidateAccidentDate(std::int32_t row_index) {
  const std::shared_ptr<dom::Element> row = RowAt(row_index);
  dom::Element& date = *RowControl(*row, "txtACCDATE");
  date.SetValue(Trim(date.Value()));
  if (!date.Value().empty()) {
    dom::Window& window = *date.OwnerDocument()->ParentWindow();
    std::string refusal;
    std::string_view title = "Invalid Data";
    if (const std::optional<Date> read = ReadDate(date.Value())) {
      date.SetValue(FormatDate(*read));
      refusal = AccidentDateRefusal(*read);
    } else {
      refusal = "Value must be date!";
      title = "Invalid Format";
    }
    if (!refusal.empty()) {
      date.Select();
      window.MessageBox(refusal, dom::message_box::kExclamation, title);
      const auto index = static_cast<std::size_t>(row_index);
      date.SetValue(index < accepted_.size() ? accepted_[index][0] : std::string());
      FocusSelect(date);
    } else if (static_cast<std::size_t>(row_index) < accepted_.size()) {
      accepted_[static_cast<std::size_t>(row_index)][0] = date.Value();
    }
  }
  EnableClaimRow(*row, date.Value());
  if (!date.Value().empty()) FocusSelect(*RowControl(*row, "txtVEHNO"));
}

std::string Claim::AccidentDateRefusal(const Date& date) const {
  const std::string& year_made = workspace_.record.Current.YearMade;
  const std::optional<Date> made =
      year_made.empty() ? std::nullopt : ReadDate("01-Jan-" + year_made);
  return workspace_.components.SharedFieldRuleService().CheckAccidentDate(date,
                                                                          made ? made->year() : 0);
}

void Claim::EnableClaimRow(const dom::Element& row, std::string_view accident_date) {
  for (const std::string_view id : {"txtVEHNO", "txtINSURER", "txtNATURE", "txtCLAIM"}) {
    dom::Element& control = *RowControl(row, id);
    if (!accident_date.empty()) {
      UnlockInputKeepTab(control);
      continue;
    }
    LockInputKeepTab(control);
    control.SetValue(id == std::string_view("txtCLAIM") ? "0.00" : "");
  }
}

void Claim::ValidateClaimAmount(std::int32_t row_index) {
  dom::Element& amount = *RowControl(*RowAt(row_index), "txtCLAIM");
  const auto index = static_cast<std::size_t>(row_index);
  if (CheckAmountInput(workspace_.components, amount)) {
    if (index < accepted_.size()) accepted_[index][1] = amount.Value();
    return;
  }
  amount.SetValue(index < accepted_.size() ? accepted_[index][1] : std::string("0.00"));
  FocusSelect(amount);
}

}  // namespace cn
