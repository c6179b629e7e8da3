#pragma once
// The record the save writes: 168 positions, each a field of the cover note or a value
// derived from it, as a table checked at compile time against the field catalogue and its
// length. One interpreter builds the record text from it; the review and the amendment
// history read the same table for each position's caption.

#include <span>
#include <string>
#include <string_view>

#include "workspace/cover_note_record.h"
#include "workspace/field_catalogue.h"

namespace cn {

enum class WriteSource {
  kAsIs,
  kTrimmed,
  kUpper,
  kMoney2,                 // two decimals when not empty, empty otherwise
  kList,                   // the array joined with U+FFFD, empty rows included
  kDriverList,             // the driver rows with a name, joined with U+FFFD
  kExtCoverList,           // the extended-cover rows with a code, joined with U+FFFD
  kDateTimeWithIssue,      // the date field, a space and the issue time, as one date-time
  kDateTimeWithEffective,  // the trimmed date field and the effective time
  kDate,                   // dd-MMM-yyyy; empty stays empty
  kTrueFalse,              // a Boolean as "True" or "False"
  kLiteral,                // the row's own text
  kVehiclePlusTrailer,     // the two sums insured added, money2, as they were before the save
  kMoney2AsBefore,         // money2 of the field as it was before the save's own changes
  kByTransactionType,  // money2: `field` for an extension, transfer or endorsement, else `other`
  kCommission,         // ten percent of the gross premium the transaction type selects
  kNetPremium,         // the total premium less the commission
  kDriverCategory,     // from the cover type, the driver slots and the driver covers
};

struct WritePosition {
  consteval WritePosition(int position, WriteSource source, std::string_view field,
                          std::string_view caption)
      : position(position), source(source), field(&FieldNamed(field)), caption(caption) {
    Check(true);
  }
  consteval WritePosition(int position, WriteSource source, std::string_view caption)
      : position(position), source(source), caption(caption) {
    Check(false);
  }
  consteval WritePosition(int position, std::string_view literal, std::string_view caption)
      : position(position), source(WriteSource::kLiteral), caption(caption), literal(literal) {}
  consteval WritePosition(int position, std::string_view field, std::string_view other,
                          std::string_view caption)
      : position(position),
        source(WriteSource::kByTransactionType),
        field(&FieldNamed(field)),
        other(&FieldNamed(other)),
        caption(caption) {}

  int position;
  WriteSource source;
  const FieldInfo* field = nullptr;
  const FieldInfo* other = nullptr;
  std::string_view caption;
  std::string_view literal;

 private:
  consteval void Check(bool has_field) const {
    const bool derived = source == WriteSource::kVehiclePlusTrailer ||
                         source == WriteSource::kCommission || source == WriteSource::kNetPremium ||
                         source == WriteSource::kDriverCategory;
    if (derived == has_field) throw "a derived position names no field, every other one does";
    if (source == WriteSource::kLiteral || source == WriteSource::kByTransactionType) {
      throw "literals and positions by transaction type have their own constructors";
    }
    if (!has_field) return;
    const bool list = source == WriteSource::kList || source == WriteSource::kDriverList ||
                      source == WriteSource::kExtCoverList;
    if (list != (field->kind == FieldKind::kTextArray)) {
      throw "lists come from the arrays of the record and nothing else";
    }
    if ((source == WriteSource::kTrueFalse) != (field->kind == FieldKind::kBoolean)) {
      throw "True/False comes from the Boolean fields and nothing else";
    }
  }
};

using WriteLayout = std::span<const WritePosition>;

// The 168 positions, 0 to 167 in order.
WriteLayout WriteAdminLayout();

// What the record needs besides the cover note.
struct WriteAdminInputs {
  bool NewTariffInUse = false;
  // The extended covers that pay for any driver (system codes 1007 and 1021).
  std::string DriverCoverCode1;
  std::string DriverCoverCode2;
};

// Applies the changes the save makes to the cover note (type "O" saves no premium and no
// extended cover; rates of the engine not in use are neutral) and builds the record text,
// 168 fields joined with U+FFFE. A date or an amount that does not read throws
// RuntimeFailure, so that nothing is sent.
std::string BuildWriteAdminRecord(CoverNoteRecord& record, const WriteAdminInputs& inputs);

}  // namespace cn
