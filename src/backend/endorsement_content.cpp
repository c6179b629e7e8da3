#include "backend/endorsement_content.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "backend/layouts.h"
#include "backend/value_conversion.h"
#include "base/currency.h"
#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/same_value.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

// The premium as the insured reads it, built up to its total, by stored column: amounts in
// ten-thousandths, or a fee typed as text. A line that is not always there (a transfer fee) is
// printed only when it is not nothing.
enum class Kept { kUnits, kTyped };
struct PremiumRow {
  std::string_view caption;
  std::string_view column;
  Kept kept = Kept::kUnits;
  bool always = true;
};
constexpr PremiumRow kPremiumRows[] = {
    {"Tariff premium", "tariff_premium"},
    {"Loading", "load_amount"},
    {"Less no-claim discount", "ncd_amount"},
    {"Basic premium", "basic_premium"},
    {"Extended covers", "total_ext_premium"},
    {"Gross premium", "gross_premium"},
    {"Service tax", "service_tax_amount"},
    {"Stamp duty", "stamp_duty"},
    {"Transfer fee", "transfer_fee", Kept::kTyped, false},
    {"Other charges", "other_charges", Kept::kTyped, false},
    {"Total premium", "total_premium"},
};
// What the insured pays or gets back is the change of the last line.
constexpr const PremiumRow& kTotalPremium = kPremiumRows[std::size(kPremiumRows) - 1];

std::string Value(const FieldValues& values, std::string_view column) {
  const auto found = values.find(column);
  return found == values.end() ? std::string() : found->second;
}

// Nothing, or what does not read as an amount, is nothing.
Currency Amount(const FieldValues& values, const PremiumRow& row) {
  const std::string text = Value(values, row.column);
  if (Trim(text).empty()) return Currency();
  return Currency::TryParse(row.kept == Kept::kUnits ? AmountText(text) : text)
      .value_or(Currency());
}

std::string Signed(Currency change) {
  if (change == Currency()) return {};
  const std::string text = FormatMoney2(change);
  return change > Currency() ? "+" + text : text;
}

std::string JoinPresent(std::initializer_list<std::string> parts, std::string_view separator) {
  std::vector<std::string> present;
  for (const std::string& part : parts) {
    if (!Trim(part).empty()) present.push_back(Trim(part));
  }
  return Join(present, separator);
}

// The agent's commission and the figures it is worked out from are between the insurer and
// its agent: a document for the insured leaves them out.
constexpr std::string_view kCommissionColumns[] = {"premium_field87", "alt_gross_premium",
                                                   "premium_field89", "commission_rate",
                                                   "commission",      "net_premium"};

// The columns whose codes the insured reads with their meaning.
constexpr std::string_view kCodedColumns[] = {"ext_cover.code", "motor_cover_code"};

// A changed field as the screen's tables show a value: amounts grouped, a list's elements
// one after the other, nothing as "(none)"; a code with what it means.
std::string Shown(const LayoutRow& row, const std::string& text, const CodeMeaning& meaning) {
  if (Trim(Replace(text, DialogArgSeparator, "")).empty()) return "(none)";
  if (row.conversion == Conversion::kMoney && IsNumeric(text)) return FormatMoney2(text);
  if (row.conversion == Conversion::kFlag) return text == "True" ? "Yes" : "No";
  std::vector<std::string> elements = Split(text, DialogArgSeparator);
  if (meaning && std::ranges::find(kCodedColumns, row.field) != std::end(kCodedColumns)) {
    for (std::string& code : elements) code = JoinPresent({code, meaning(row.field, code)}, " ");
  }
  return Replace(Join(elements, "; "), "\r\n", ", ");
}

std::string Caption(const EndorsementWording& wording, int position) {
  if (wording.caption) return wording.caption(position);
  return "Field " + std::to_string(position);
}

std::string DateOf(const FieldValues& values, std::string_view column) {
  const std::string stored = Value(values, column);
  if (const auto date_time = ReadDateTime(stored)) return FormatDate(date_time->date);
  if (const auto date = ReadDate(stored)) return FormatDate(*date);
  return stored;
}

std::string IsoLocal(const DateTime& at) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", at.date.year(), at.date.month(),
                at.date.day(), at.time.hour(), at.time.minute(), at.time.second());
  return text;
}

std::string PremiumDue(Currency before, Currency after) {
  const Currency difference = after - before;
  if (difference > Currency()) {
    return "Additional premium to be paid: " + FormatMoney2(difference);
  }
  if (difference < Currency()) {
    return "Premium to be refunded: " + FormatMoney2(Currency() - difference);
  }
  return "No additional premium is due and none is refunded.";
}

}  // namespace

documents::Endorsement EndorsementContent(const EndorsementWording& wording,
                                          const SavedAmendment& amendment,
                                          const FieldValues& before, const FieldValues& after) {
  documents::Endorsement content;
  content.insurer = wording.insurer;
  content.number = amendment.number;
  content.date = FormatDate(amendment.saved_at.date);
  content.cover_note_no = Value(after, "cover_note_no");
  content.insured = Value(after, "client_name");
  content.address =
      JoinPresent({Replace(Trim(Value(after, "address")), "\r\n", "\n"),
                   JoinPresent({Value(after, "postal_code"), Value(after, "town")}, " ")},
                  "\n");
  content.vehicle = JoinPresent(
      {Value(after, "vehicle_no"), Value(after, "model"), Value(after, "year_made"),
       Trim(Value(after, "trailer_no")).empty() ? std::string()
                                                : "trailer " + Value(after, "trailer_no")},
      ", ");
  content.period = DateOf(after, "effective_at") + " to " + DateOf(after, "expiry_date");

  // The premium's figures are set out before and after under Premium, the commission not at
  // all; a figure only written differently ("0" and "0.00") changed nothing, as the review and
  // the history say.
  const auto left_out = [](std::string_view column) {
    return std::ranges::find(kCommissionColumns, column) != std::end(kCommissionColumns) ||
           std::ranges::any_of(kPremiumRows,
                               [&](const PremiumRow& row) { return row.column == column; });
  };
  for (const ChangedField& change : ChangedFields(WriteAdminRecordLayout(), before, after)) {
    if (left_out(change.row->field) || SameValue(change.before, change.after)) continue;
    content.changes.push_back({Caption(wording, change.row->position),
                               Shown(*change.row, change.before, amendment.meaning),
                               Shown(*change.row, change.after, amendment.meaning)});
  }

  for (const PremiumRow& row : kPremiumRows) {
    const Currency old_amount = Amount(before, row);
    const Currency new_amount = Amount(after, row);
    if (!row.always && old_amount == Currency() && new_amount == Currency()) continue;
    content.premium.push_back({std::string(row.caption), FormatMoney2(old_amount),
                               FormatMoney2(new_amount), Signed(new_amount - old_amount)});
  }
  content.premium_due = PremiumDue(Amount(before, kTotalPremium), Amount(after, kTotalPremium));
  content.saved_by = amendment.user;
  content.saved_at = FormatDateTime(amendment.saved_at);
  content.made_at = IsoLocal(amendment.saved_at);
  return content;
}

}  // namespace cn::backend
