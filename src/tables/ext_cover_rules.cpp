// The rules of an extended-cover row: which figures its calculation method opens, the
// choice of a cover (no cover twice, the two driver covers never together, the
// catalogue's defaults), and the checks of the figures typed.
#include <optional>

#include "base/currency.h"
#include "base/number_format.h"
#include "base/separators.h"
#include "base/text.h"
#include "dom/document.h"
#include "integration/input_checks.h"
#include "integration/locking.h"
#include "integration/reporting.h"
#include "integration/system_codes.h"
#include "pages/premium/premium_compute.h"
#include "tables/ext_cover.h"

namespace cn {
namespace {

constexpr std::string_view kInvalidData = "Invalid Data";
constexpr std::string_view kExtendedCover = "Extended Cover";
constexpr std::string_view kAlreadyChosen = "This Extended Cover had been selected!";

// System codes the rules read.
constexpr std::int32_t kNamedDriverCover = 1008;  // pays for named drivers
constexpr std::int32_t kAllDriverCover = 1021;    // any driver
constexpr std::int32_t kNCDReliefCover = 1069;

// What a calculation method does to each figure of a row.
enum class Figure { kOpen, kClosed, kAsIs };

struct MethodRule {
  std::string_view method;
  Figure sum_insured, percentage, premium;
};

constexpr MethodRule kMethodRules[] = {
    {"S", Figure::kClosed, Figure::kOpen, Figure::kOpen},
    {"P", Figure::kClosed, Figure::kOpen, Figure::kOpen},
    {"Q", Figure::kClosed, Figure::kOpen, Figure::kOpen},
    {"E", Figure::kOpen, Figure::kOpen, Figure::kOpen},
    {"F", Figure::kClosed, Figure::kClosed, Figure::kOpen},
    {"X", Figure::kClosed, Figure::kClosed, Figure::kOpen},
    {"A", Figure::kClosed, Figure::kClosed, Figure::kOpen},
    {"B", Figure::kClosed, Figure::kClosed, Figure::kOpen},
    {"C", Figure::kClosed, Figure::kClosed, Figure::kOpen},
    {"W", Figure::kOpen, Figure::kClosed, Figure::kOpen},
    {"", Figure::kClosed, Figure::kClosed, Figure::kClosed},
};

void Apply(Figure figure, dom::Element& input) {
  if (figure == Figure::kOpen) UnlockInputKeepTab(input);
  if (figure == Figure::kClosed) LockInputKeepTab(input);
}

constexpr std::string_view kZero2 = "0.00";

// Field `n` of a catalogue entry; "" past its end.
std::string FieldOf(const std::vector<std::string>& fields, std::size_t n) {
  return n < fields.size() ? fields[n] : std::string();
}

// A catalogue figure shown with two decimals; an empty or unreadable one shows as 0.00.
std::string Figure2(std::string_view text) {
  const std::optional<Currency> value = Currency::TryParse(text);
  return value ? FormatMoney2(*value) : std::string(kZero2);
}

Currency AmountOr0(std::string_view text) { return Currency::TryParse(text).value_or(Currency()); }

void SelectFocusSelect(dom::Element& input, std::string_view value) {
  input.Select();
  input.SetValue(value);
  input.Focus();
  input.Select();
}

}  // namespace

bool ExtCover::RunCommand(std::string_view command, std::int16_t row_index) {
  using Handler = void (ExtCover::*)(std::int32_t);
  static constexpr std::pair<std::string_view, Handler> kCommands[] = {
      {"cmsHighliteRow", &ExtCover::HighliteRow},
      {"cmdRefreshExtCover", &ExtCover::RefreshExtCover},
      {"cmdCheckPrem", &ExtCover::CheckExtPremium},
      {"cmdCheckPercentage", &ExtCover::CheckExtPercentage},
      {"cmdCheckSumInsured", &ExtCover::CheckExtSumInsured},
  };
  for (const auto& [name, handler] : kCommands) {
    if (name != command) continue;
    (this->*handler)(row_index);
    return true;
  }
  return false;
}

void ExtCover::ApplyExtMethod(std::string_view method, const dom::Element& row) const {
  dom::Element& sum_insured = *RowControl(row, "txtSumInsured");
  dom::Element& percentage = *RowControl(row, "txtPercentage");
  dom::Element& premium = *RowControl(row, "txtPremium");
  for (const MethodRule& rule : kMethodRules) {
    if (rule.method != method) continue;
    Apply(rule.sum_insured, sum_insured);
    Apply(rule.percentage, percentage);
    Apply(rule.premium, premium);
    break;
  }
  // The premium is always the engine's.
  premium.SetReadOnly(true);
}

void ExtCover::HighliteRow(std::int32_t position) {
  const std::shared_ptr<dom::Element> row = HighlightRow(position);
  // A stored cover stays: only a cover added here offers the delete link.
  ShowDeleteLink(!RowControl(*row, "cboExtendedCoverType")->Disabled());
}

void ExtCover::ShowDeleteLink(bool shown) const {
  const std::shared_ptr<dom::Document> page = EEC ? EEC->OwnerDocument() : nullptr;
  const std::shared_ptr<dom::Element> link =
      page ? page->FindElementById(kExtDeleteLinkId) : nullptr;
  if (link) link->SetStyle("visibility", shown ? "visible" : "hidden");
}

void ExtCover::ResetRow(const dom::Element& row) const {
  RowControl(row, "cboExtendedCoverType")->SetValue("");
  for (const std::string_view id : {"txtSumInsured", "txtPercentage", "txtPremium"}) {
    RowControl(row, id)->SetValue(kZero2);
  }
  ApplyExtMethod("", row);
}

bool ExtCover::HeldElsewhere(std::string_view code, std::int32_t position) const {
  for (std::int32_t i = 0; i <= last_row_index(); ++i) {
    if (i != position && Control(i, "cboExtendedCoverType")->Value() == code) return true;
  }
  return false;
}

void ExtCover::RefreshExtCover(std::int32_t position) {
  recalculate_ = true;
  const std::shared_ptr<dom::Element> row = RowAt(position);
  dom::Element& cover = *RowControl(*row, "cboExtendedCoverType");
  const std::string code = cover.Value();
  if (code.empty()) {
    ResetRow(*row);
    return;
  }

  // A cover once per note; the named-driver cover and the any-driver cover exclude each
  // other.
  std::string refusal;
  if (HeldElsewhere(code, position)) {
    refusal = kAlreadyChosen;
  } else {
    const std::string named = SystemCode(kNamedDriverCover);
    const std::string any = SystemCode(kAllDriverCover);
    if (code == named && HeldElsewhere(any, position)) refusal = "All Driver has been selected!";
    if (code == any && HeldElsewhere(named, position)) {
      refusal = "Add Named Driver has been selected!";
    }
  }
  if (!refusal.empty()) {
    PageWindow().MessageBox(refusal, dom::message_box::kExclamation, kExtendedCover);
    ResetRow(*row);
    cover.Focus();
    return;
  }

  for (const std::string& entry : source_) {
    const std::vector<std::string> fields = Split(entry, FieldSeparator);
    if (FieldOf(fields, 0) != code) continue;
    RowControl(*row, "txtPercentage")->SetValue(Figure2(FieldOf(fields, 2)));
    RowControl(*row, "txtSumInsured")->SetValue(kZero2);
    // The default premium unless it is below the minimum, compared as the catalogue
    // writes them.
    const std::string default_premium = FieldOf(fields, 3);
    const std::string minimum = FieldOf(fields, 4);
    RowControl(*row, "txtPremium")
        ->SetValue(Figure2(default_premium >= minimum ? default_premium : minimum));
    ApplyExtMethod(FieldOf(fields, 5), *row);
    break;
  }
  for (const std::string_view id : {"txtSumInsured", "txtPercentage", "txtPremium"}) {
    dom::Element& figure = *RowControl(*row, id);
    if (figure.Disabled()) continue;
    figure.Focus();
    figure.Select();
    break;
  }
}

void ExtCover::CheckExtPremium(std::int32_t position) {
  dom::Element& premium = *Control(position, "txtPremium");
  if (!CheckAmountInput(workspace_.components, premium)) {
    SelectFocusSelect(premium, kZero2);
    return;
  }
  const std::string code = Control(position, "cboExtendedCoverType")->Value();
  ExtCoverDetails details;
  GetExtCoverDetails(code, source_, details);
  const std::string message = workspace_.components.SharedFieldRuleService().CheckExtendedPremium(
      AmountOr0(premium.Value()), AmountOr0(details.min_premium));
  if (!message.empty()) {
    premium.Select();
    Refuse(message);
    premium.SetValue(Figure2(details.min_premium));
    premium.Focus();
    premium.Select();
    return;
  }
  const auto flag = static_cast<std::size_t>(position);
  if (flag >= user_premium_.size()) user_premium_.resize(flag + 1, false);
  user_premium_[flag] = true;
  recalculate_ = true;
}

void ExtCover::CheckExtSumInsured(std::int32_t position) {
  dom::Element& sum_insured = *Control(position, "txtSumInsured");
  sum_insured.SetValue(FormatFigure(sum_insured.Value(), 0));
  if (!CheckAmountInput(workspace_.components, sum_insured)) {
    SelectFocusSelect(sum_insured, "1");
    return;
  }
  const std::string message =
      workspace_.components.SharedFieldRuleService().CheckExtendedSumInsured(
          AmountOr0(sum_insured.Value()));
  if (!message.empty()) {
    sum_insured.Select();
    Refuse(message);
    sum_insured.SetValue("1");
    sum_insured.Focus();
    sum_insured.Select();
    return;
  }
  recalculate_ = true;
}

void ExtCover::CheckExtPercentage(std::int32_t position) {
  dom::Element& percentage = *Control(position, "txtPercentage");
  if (!CheckPercentageInput(workspace_.components, percentage)) {
    SelectFocusSelect(percentage, kZero2);
    return;
  }
  const float value = static_cast<float>(AmountOr0(percentage.Value()).ToDouble());
  const std::string message = workspace_.components.SharedFieldRuleService().CheckPercentage(value);
  if (!message.empty()) {
    percentage.Select();
    Refuse(message);
    percentage.SetValue(kZero2);
    percentage.Focus();
    percentage.Select();
    return;
  }
  recalculate_ = true;
}

bool ExtCover::CheckNCDReliefExtendedCoverage() const {
  bool found = false;
  IgnoreFailures([&] {
    const std::string relief = SystemCode(kNCDReliefCover);
    for (std::int32_t i = 0; i <= last_row_index() && !found; ++i) {
      const std::shared_ptr<dom::Element> row = FindRow(i);
      found = row && RowControl(*row, "cboExtendedCoverType")->Value() == relief;
    }
  });
  return found;
}

void ExtCover::AutoDefaultWindscreenSI(std::string_view sExtCoverCode,
                                       std::string_view ExtCoverSI) {
  IgnoreFailures([&] {
    for (std::int32_t i = 0; i <= last_row_index(); ++i) {
      const std::shared_ptr<dom::Element> row = FindRow(i);
      if (row && RowControl(*row, "cboExtendedCoverType")->Value() == sExtCoverCode) {
        RowControl(*row, "txtSumInsured")->SetValue(ExtCoverSI);
      }
    }
  });
}

void ExtCover::Refuse(std::string_view message) const {
  PageWindow().MessageBox(message, dom::message_box::kExclamation, kInvalidData);
}

std::string ExtCover::SystemCode(std::int32_t code) const {
  return GetSystemCode(workspace_.lookup, workspace_.components, code);
}

dom::Window& ExtCover::PageWindow() const {
  const std::shared_ptr<dom::Document> page = EEC ? EEC->OwnerDocument() : nullptr;
  if (!page || !page->ParentWindow()) {
    throw RuntimeFailure(failure::kObjectRequired, "Object required: the page's window",
                         "ExtCover");
  }
  return *page->ParentWindow();
}

}  // namespace cn
