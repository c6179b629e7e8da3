// The extended-cover table: building it, appending, counting, reading out and removing
// rows. The rules of a row's figures are in ext_cover_rules.cpp.
#include "tables/ext_cover.h"

#include <limits>
#include <optional>
#include <utility>

#include "base/currency.h"
#include "base/number_format.h"
#include "base/runtime_failure.h"
#include "base/text.h"
#include "dom/document.h"
#include "integration/fill_select.h"
#include "integration/reporting.h"
#include "pages/premium/premium_compute.h"

namespace cn {
namespace {

constexpr HeaderCell kHeaderCells[] = {
    {"53%", "Extended Cover", "4%", ""},
    {"13%", "Sum Insured"},
    {"13%", "Percentage"},
    {"13%", "Amount", "", "4%"},
};

constexpr HeaderLayout kHeader{"TABLE", "clsEmbrossBorder", "ExCovTbl", false, false, kHeaderCells};
constexpr BodyLayout kBody{"TABLE", "ExCovTbl", false};

// A cover chosen on the tab.
constexpr RowCell kEditableCells[] = {
    {"53%", "<SELECT id=", "cboExtendedCoverType", ">", "4%", ""},
    {"13%", "<INPUT id=", "txtSumInsured",
     " style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCurSI.htc')\">"},
    {"13%", "<INPUT id=", "txtPercentage",
     " style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCur.htc')\">"},
    {"13%", "<INPUT id=", "txtPremium",
     " style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCur.htc')\">", "", "4%"},
};

// A stored cover: shown, not edited.
constexpr RowCell kReadOnlyCells[] = {
    {"53%", "<SELECT id=", "cboExtendedCoverType", " disabled=true>", "4%", ""},
    {"13%", "<INPUT id=", "txtSumInsured",
     " READONLY TABINDEX=-1 style=\"TEXT-ALIGN: right; BEHAVIOR: "
     "url('Behaviors\\EntryCur.htc')\">"},
    {"13%", "<INPUT id=", "txtPercentage",
     " READONLY TABINDEX=-1 style=\"TEXT-ALIGN: right; BEHAVIOR: "
     "url('Behaviors\\EntryCur.htc')\">"},
    {"13%", "<INPUT id=", "txtPremium",
     " READONLY TABINDEX=-1 style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCur.htc')\">",
     "", "4%"},
};

constexpr std::string_view kHighlightCommand = "cmsHighliteRow";

// The controls whose changes are checked, with the command each sends.
constexpr std::pair<std::string_view, std::string_view> kChangeCommands[] = {
    {"cboExtendedCoverType", "cmdRefreshExtCover"},
    {"txtPercentage", "cmdCheckPercentage"},
    {"txtSumInsured", "cmdCheckSumInsured"},
    {"txtPremium", "cmdCheckPrem"},
};

// How a row's figures show: the sum insured whole, percentage and premium in cents.
constexpr int kSumInsuredDecimals = 0;
constexpr int kFigureDecimals = 2;

// The method a kept row is added back with, from which of its figures are closed.
std::string_view DerivedMethod(bool sum_insured_off, bool percentage_off, bool premium_off) {
  if (premium_off) return "";
  if (sum_insured_off && !percentage_off) return "S";
  if (!sum_insured_off && !percentage_off) return "E";
  if (sum_insured_off && percentage_off) return "F";
  return "";
}

// A figure as the engines take it, without grouping; a text that is not a number is
// handed on as it stands rather than lost.
std::string PlainFigure(std::string_view text) {
  const std::optional<Currency> value = Currency::TryParse(text);
  return value ? value->ToPlainText() : Trim(text);
}

// The table counts its rows in 16 bits.
constexpr std::int32_t kMaxRowIndex = std::numeric_limits<std::int16_t>::max();

}  // namespace

ExtCover::ExtCover(Workspace& workspace)
    : RowTable("ExtendedCover", kMaxRowIndex), workspace_(workspace) {}

bool ExtCover::BuildHeader(const std::shared_ptr<dom::Element>& oEEC,
                           const std::shared_ptr<dom::Element>& oExtCoverHeaderCont) {
  return IgnoreFailures([&] { BuildHeaderTable(oEEC, oExtCoverHeaderCont, kHeader); });
}

bool ExtCover::BuildUI(const std::shared_ptr<dom::Element>& oEEC,
                       const std::shared_ptr<dom::Element>& oExtCoverCont,
                       std::vector<std::string> SourceArray) {
  source_ = std::move(SourceArray);
  return IgnoreFailures([&] { BuildBodyTable(oEEC, oExtCoverCont, kBody); });
}

bool ExtCover::Add(std::string_view sExtCoverCode, std::string_view sSumInsured,
                   std::string_view sPercentage, std::string_view sPremium,
                   std::string_view sMethod, bool UserValuePremium) {
  if (!ui_built()) return false;
  // A failure goes to the handler that added the row, which reports it.
  const std::shared_ptr<dom::Element> row = AppendRow(kEditableCells);
  const std::int32_t row_index = last_row_index();
  const dom::Element& r = *row;
  SetRowScript(*row, kHighlightCommand, row_index);
  for (const auto& [control_id, command] : kChangeCommands) {
    SetChangeScript(*RowControl(r, control_id), command, row_index);
  }
  ShowCover(r, {sExtCoverCode, sSumInsured, sPercentage, sPremium}, UserValuePremium);
  dom::Element& cover = *RowControl(r, "cboExtendedCoverType");
  ApplyExtMethod(sMethod, r);
  if (cover.Value().empty()) cover.Focus();
  row->ScrollIntoView(false);
  return true;
}

bool ExtCover::AddDisplayExtCover(std::string_view sExtCoverCode, std::string_view sSumInsured,
                                  std::string_view sPercentage, std::string_view sPremium,
                                  bool UserValuePremium) {
  if (!ui_built()) return false;
  return IgnoreFailures([&] {
    const std::shared_ptr<dom::Element> row = AppendRow(kReadOnlyCells);
    const dom::Element& r = *row;
    ShowCover(r, {sExtCoverCode, sSumInsured, sPercentage, sPremium}, UserValuePremium);
    SetRowScript(*row, kHighlightCommand, last_row_index());
    ApplyExtMethod("", r);
    RowControl(r, "cboExtendedCoverType")->SetStyle("backgroundColor", "buttonface");
  });
}

std::int16_t ExtCover::GetNoOfExtCover() const {
  std::int16_t count = 0;
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    const std::shared_ptr<dom::Element> row = FindRow(i);
    if (row && !Trim(RowControl(*row, "cboExtendedCoverType")->Value()).empty()) ++count;
  }
  return count;
}

void ExtCover::GetExtCover(std::vector<std::string>& ExtCode, std::vector<std::string>& ExtMethod,
                           std::vector<std::string>& ExtPercentage,
                           std::vector<std::string>& ExtPremium,
                           std::vector<std::string>& ExtMinPremium,
                           std::vector<std::string>& ExtSumInsured, std::vector<bool>& UserInExtPrm,
                           bool& Recalculate) const {
  std::size_t k = 0;
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    const std::shared_ptr<dom::Element> row = FindRow(i);
    if (!row) continue;
    const std::string code = Trim(RowControl(*row, "cboExtendedCoverType")->Value());
    if (code.empty()) continue;
    for (const std::vector<std::string>* array :
         {&ExtCode, &ExtMethod, &ExtPercentage, &ExtPremium, &ExtMinPremium, &ExtSumInsured}) {
      if (k >= array->size()) {
        throw RuntimeFailure(failure::kSubscriptOutOfRange,
                             "Subscript out of range: extended cover " + std::to_string(k),
                             "ExtCover.GetExtCover");
      }
    }
    if (k >= UserInExtPrm.size()) UserInExtPrm.resize(k + 1, false);
    ExtCoverDetails details;
    GetExtCoverDetails(code, source_, details);
    ExtCode[k] = code;
    ExtPercentage[k] = Trim(RowControl(*row, "txtPercentage")->Value());
    ExtPremium[k] = PlainFigure(RowControl(*row, "txtPremium")->Value());
    ExtSumInsured[k] = PlainFigure(RowControl(*row, "txtSumInsured")->Value());
    ExtMethod[k] = details.method;
    ExtMinPremium[k] = details.min_premium;
    const auto flag = static_cast<std::size_t>(i);
    UserInExtPrm[k] = flag < user_premium_.size() && user_premium_[flag];
    ++k;
  }
  Recalculate = recalculate_;
}

// No row is highlighted any more, so none is offered for removal: the delete link would
// otherwise remove the first row, a stored cover.
void ExtCover::ClearTable() {
  ClearRows();
  ShowDeleteLink(false);
}

void ExtCover::RemoveRow() {
  struct Kept {
    std::array<std::string, 4> values;
    bool user_premium = false;
    bool read_only = false;
    std::string_view method;
  };
  // Every row is read before the table is cleared: a row that cannot be read stops the
  // removal with the table as it was.
  std::vector<std::optional<Kept>> kept;
  const std::int32_t removed = HighlightedPosition();
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    const std::shared_ptr<dom::Element> row = RowAt(i);
    if (i == removed) {
      kept.emplace_back();
      continue;
    }
    Kept entry;
    for (std::size_t c = 0; c < kExtCoverControls.size(); ++c) {
      entry.values[c] = RowControl(*row, kExtCoverControls[c])->Value();
    }
    const auto flag = static_cast<std::size_t>(i);
    entry.user_premium = flag < user_premium_.size() && user_premium_[flag];
    entry.read_only = RowControl(*row, "cboExtendedCoverType")->Disabled();
    entry.method = DerivedMethod(RowControl(*row, "txtSumInsured")->Disabled(),
                                 RowControl(*row, "txtPercentage")->Disabled(),
                                 RowControl(*row, "txtPremium")->Disabled());
    kept.emplace_back(std::move(entry));
  }
  ClearTable();
  user_premium_.clear();
  for (const std::optional<Kept>& entry : kept) {
    if (!entry) continue;
    const auto& [code, sum_insured, percentage, premium] = entry->values;
    if (entry->read_only) {
      AddDisplayExtCover(code, sum_insured, percentage, premium, entry->user_premium);
    } else {
      Add(code, sum_insured, percentage, premium, entry->method, entry->user_premium);
    }
  }
}

void ExtCover::ShowCover(const dom::Element& row, const std::array<std::string_view, 4>& values,
                         bool user_premium) {
  const auto flag = static_cast<std::size_t>(last_row_index());
  user_premium_.resize(flag + 1, false);
  user_premium_[flag] = user_premium;
  const auto& [code, sum_insured, percentage, premium] = values;
  RowControl(row, "txtSumInsured")->SetValue(FormatFigure(sum_insured, kSumInsuredDecimals));
  RowControl(row, "txtPercentage")->SetValue(FormatFigure(percentage, kFigureDecimals));
  RowControl(row, "txtPremium")->SetValue(FormatFigure(premium, kFigureDecimals));
  const std::shared_ptr<dom::Element> cover = RowControl(row, "cboExtendedCoverType");
  FillSelect(cover, source_, 0, 1, true, false);
  ShowStoredValue(*cover, code);
}

std::shared_ptr<dom::Element> ExtCover::Control(std::int32_t position,
                                                std::string_view control_id) const {
  return RowControl(*RowAt(position), control_id);
}

}  // namespace cn
