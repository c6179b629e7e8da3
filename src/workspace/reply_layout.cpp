#include "workspace/reply_layout.h"

#include <algorithm>
#include <optional>

#include "base/currency.h"
#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn {
namespace {

constexpr std::string_view kSource = "CoverNoteRecord";

[[noreturn]] void Unreadable(const LayoutRow& row, std::string_view value, std::string_view what) {
  throw RuntimeFailure(failure::kTypeMismatch,
                       "Type mismatch: reply position " + std::to_string(row.position) + " (" +
                           std::string(row.field->name) + ") holds \"" + std::string(value) +
                           "\", which is not " + std::string(what),
                       std::string(kSource));
}

DateTime RequireDateTime(const LayoutRow& row, std::string_view value) {
  const std::optional<DateTime> date_time = ReadDateTime(value);
  if (!date_time) Unreadable(row, value, "a date");
  return *date_time;
}

std::string Convert(const LayoutRow& row, std::string_view value) {
  if (value.empty() && row.when_empty) return std::string(*row.when_empty);
  switch (row.conversion) {
    case Conversion::kAsIs:
    case Conversion::kList:
    case Conversion::kBoolean:
    case Conversion::kMaritalStatus:
      return std::string(value);
    case Conversion::kDate:
      return value.empty() ? std::string() : FormatDate(RequireDateTime(row, value).date);
    case Conversion::kTime:
      return value.empty() ? std::string() : FormatTime(RequireDateTime(row, value).time);
    case Conversion::kMoney2: {
      // A figure the back end has none of stays none: the save sends it back empty.
      if (Trim(value).empty()) return std::string();
      const std::optional<Currency> amount = Currency::TryParse(value);
      if (!amount) Unreadable(row, value, "an amount");
      return FormatMoney2(*amount);
    }
    case Conversion::kNoDash:
      return Replace(value, "-", "");
    case Conversion::kUpper:
      return UCase(value);
  }
  return std::string(value);
}

// Previous is kept packed: it is filled as the current fields of a record of its own, whose
// other members are left behind.
template <class Fill>
void FillPrevious(CoverNoteRecord& record, Fill&& fill) {
  CoverNoteRecord earlier;
  earlier.Current = record.Previous.Unpack();
  fill(earlier);
  record.Previous = PackedFields(earlier.Current);
}

void Assign(CoverNoteRecord& record, const LayoutRow& row, std::string_view value) {
  const FieldInfo& field = *row.field;
  if (field.BesideRecord()) {
    if (field.record_text) {
      record.*field.record_text = Convert(row, value);
    }
    return;
  }
  CoverNoteFields& fields = record.Current;
  if (field.kind == FieldKind::kBoolean) {
    const std::optional<bool> flag = ParseBooleanText(value);
    if (!flag) Unreadable(row, value, "True or False");
    fields.*field.boolean = *flag;
    return;
  }
  fields.*field.text = Convert(row, value);
}

// The list a layout carries for one array; nullopt when the layout has no row for it.
std::optional<std::vector<std::string>> ListOf(ReplyLayout layout, const ReplyFields& reply,
                                               TextArray array) {
  for (const LayoutRow& row : layout) {
    if (row.conversion == Conversion::kList && row.field->text_array == array) {
      return Split(reply.At(row.position), DialogArgSeparator);
    }
  }
  return std::nullopt;
}

// The same, with a column the layout lacks read as an empty value.
std::vector<std::string> ListOrNothing(ReplyLayout layout, const ReplyFields& reply,
                                       TextArray array) {
  return ListOf(layout, reply, array).value_or(std::vector<std::string>());
}

void FillNamedDrivers(CoverNoteFields& fields, ReplyLayout layout, const ReplyFields& reply) {
  std::optional<std::vector<std::string>> names =
      ListOf(layout, reply, &CoverNoteFields::DriverNames);
  if (!names) return;
  // Without names there are no drivers, whatever the other columns hold.
  const bool no_drivers = names->empty();
  const std::size_t rows = std::max<std::size_t>(names->size(), 1);
  for (const TextArray array : kNamedDriverArrays) {
    std::vector<std::string> column;
    if (!no_drivers) column = ListOrNothing(layout, reply, array);
    column.resize(rows);
    fields.*array = std::move(column);
  }
}

void FillExtCovers(CoverNoteRecord& record, ReplyLayout layout, const ReplyFields& reply) {
  CoverNoteFields& fields = record.Current;
  std::optional<std::vector<std::string>> codes =
      ListOf(layout, reply, &CoverNoteFields::ExtCoverCodes);
  if (!codes) return;
  const std::size_t rows = std::max<std::size_t>(codes->size(), 1);
  for (const TextArray array : kExtCoverArrays) {
    // An empty codes value empties every column, whatever the others hold.
    std::vector<std::string> column;
    if (!codes->empty()) column = ListOrNothing(layout, reply, array);
    column.resize(rows);
    fields.*array = std::move(column);
  }
  record.ExtUserPremiumMarks.assign(rows, false);
}

void FillClaims(CoverNoteFields& fields, ReplyLayout layout, const ReplyFields& reply) {
  const std::optional<std::vector<std::string>> accident_dates =
      ListOf(layout, reply, &CoverNoteFields::ClaimAccidentDates);
  if (!accident_dates) return;
  for (const TextArray array : kClaimArrays) {
    std::vector<std::string> column;
    if (!accident_dates->empty()) column = ListOrNothing(layout, reply, array);
    if (column.empty()) column.emplace_back();
    fields.*array = std::move(column);
  }
}

}  // namespace

std::string_view ReplyFields::At(int position) const {
  if (position < 0 || static_cast<std::size_t>(position) >= fields_.size()) return {};
  return fields_[static_cast<std::size_t>(position)];
}

void AssignRows(CoverNoteRecord& record, Instance instance, ReplyLayout layout,
                const ReplyFields& reply, int first, int last) {
  if (instance == Instance::kPrevious) {
    return FillPrevious(record, [&](CoverNoteRecord& earlier) {
      AssignRows(earlier, Instance::kCurrent, layout, reply, first, last);
    });
  }
  for (const LayoutRow& row : layout) {
    if (row.position < first || row.position > last) continue;
    if (row.conversion == Conversion::kList || row.conversion == Conversion::kMaritalStatus) {
      continue;
    }
    Assign(record, row, reply.At(row.position));
  }
}

void AssignMaritalStatus(CoverNoteRecord& record, Instance instance, ReplyLayout layout,
                         const ReplyFields& reply) {
  if (instance == Instance::kPrevious) {
    return FillPrevious(record, [&](CoverNoteRecord& earlier) {
      AssignMaritalStatus(earlier, Instance::kCurrent, layout, reply);
    });
  }
  CoverNoteFields& fields = record.Current;
  for (const LayoutRow& row : layout) {
    if (row.conversion != Conversion::kMaritalStatus) continue;
    // A company has no marital status; "3" is the code the back end keeps for it.
    fields.*row.field->text =
        fields.ClientType == "C" ? std::string("3") : Convert(row, reply.At(row.position));
  }
}

void FillArrayGroups(CoverNoteRecord& record, Instance instance, ReplyLayout layout,
                     const ReplyFields& reply) {
  if (instance == Instance::kPrevious) {
    return FillPrevious(record, [&](CoverNoteRecord& earlier) {
      FillArrayGroups(earlier, Instance::kCurrent, layout, reply);
    });
  }
  CoverNoteFields& fields = record.Current;
  FillNamedDrivers(fields, layout, reply);
  FillExtCovers(record, layout, reply);
  FillClaims(fields, layout, reply);
}

}  // namespace cn
