#pragma once
// The rating factors sent to the two rating engines, one layout per request: which
// position carries which field of the cover note, or which value derived from it. A
// layout is a table checked at compile time against the field catalogue and against its
// length; one interpreter builds every request from it.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "workspace/field_catalogue.h"
#include "workspace/workspace.h"

namespace cn {

enum class Factor {
  kField,                 // the field as it stands
  kAmount,                // the field as a plain number
  kList,                  // the array joined with U+FFFD
  kDate,                  // the field as dd-MMM-yyyy; empty stays empty
  kLiteral,               // the row's own text
  kAgentCode,             // the user's agent code
  kStartDate,             // the period rated
  kEndDate,
  kYearMade,
  kVehicleAge,
  kInsuredAge,
  kDrivingYears,
  kFirstDriverAge,
  kFirstDriverYears,
  kDriverSlots,           // the named-driver rows, empty ones included
  kNamedDrivers,          // the named drivers with a name
  kTowsTrailerMinusOne,   // "-1" with a trailer number (trimmed), else "0"
  kTowsTrailer,           // "1" with a trailer number, else "0"
  kMotorcycle,            // "1" for a motorcycle cover, else "0"
  kUnregisteredTrailer,   // "1" for a "P" cover note on an unregistered trailer, else "0"
  kEnteredOrUnset,        // the field when the administrator typed it, else "-1"
  kEnteredAmountOrUnset,  // the same with the field as a plain number
  kNotEntered,            // "1" unless the administrator typed the figure, then "0"
  kStampDuty,             // the field when typed, else the default stamp duty
  kExtMethods,            // per row: "-1" for a typed premium, else the row's method
  kExtRatedByEngine,      // per row: "0" for a typed premium, else "1"
};

using EnteredFlag = bool PremiumState::*;

struct FactorRow {
  consteval FactorRow(int position, Factor factor) : position(position), factor(factor) {
    Check(false, false);
  }
  consteval FactorRow(int position, std::string_view literal)
      : position(position), factor(Factor::kLiteral), literal(literal) {}
  consteval FactorRow(int position, Factor factor, std::string_view field)
      : position(position), factor(factor), field(&FieldNamed(field)) {
    Check(true, false);
  }
  consteval FactorRow(int position, Factor factor, EnteredFlag flag)
      : position(position), factor(factor), flag(flag) {
    Check(false, true);
  }
  consteval FactorRow(int position, Factor factor, std::string_view field, EnteredFlag flag)
      : position(position), factor(factor), field(&FieldNamed(field)), flag(flag) {
    Check(true, true);
  }

  int position;
  Factor factor;
  const FieldInfo* field = nullptr;
  EnteredFlag flag = nullptr;
  std::string_view literal;

 private:
  // Which of the field and the flag the row was given (an address is not compared at
  // compile time).
  consteval void Check(bool has_field, bool has_flag) const {
    const bool takes_field = factor == Factor::kField || factor == Factor::kAmount ||
                             factor == Factor::kList || factor == Factor::kDate ||
                             factor == Factor::kEnteredOrUnset ||
                             factor == Factor::kEnteredAmountOrUnset ||
                             factor == Factor::kStampDuty;
    if (takes_field != has_field) throw "this factor reads a field, and only it";
    if (has_field && (factor == Factor::kList) != (field->kind == FieldKind::kTextArray)) {
      throw "lists come from the arrays of the record and nothing else";
    }
    if (has_field && factor != Factor::kList && field->kind != FieldKind::kText) {
      throw "a single factor comes from a text field";
    }
    const bool takes_flag = factor == Factor::kEnteredOrUnset ||
                            factor == Factor::kEnteredAmountOrUnset ||
                            factor == Factor::kNotEntered || factor == Factor::kStampDuty;
    if (takes_flag != has_flag) throw "this factor follows an entered flag, and only it";
  }
};

using FactorLayout = std::span<const FactorRow>;

// Each position from 0 to the layout's length less one, once and in order.
consteval bool HasEveryPositionOnce(FactorLayout layout) {
  for (std::size_t i = 0; i < layout.size(); ++i) {
    if (layout[i].position != static_cast<int>(i)) return false;
  }
  return true;
}

// The request layouts.
FactorLayout CurrentEngineFactors();         // 51 positions
FactorLayout CurrentEngineAmendedFactors();  // 45, the amended cover of an "Ex" request
FactorLayout CurrentEnginePreviousFactors(); // 57, the cover as it was before
FactorLayout NewTariffFactors();             // 44
FactorLayout NewTariffPreviousFactors();     // 51

// What one request is built from: one copy of the cover note and the workspace's values.
struct FactorSource {
  const CoverNoteFields& fields;
  // Which extended-cover premiums the administrator typed; the cover as it was has none.
  const std::vector<bool>& typed_premiums;
  const Workspace& workspace;
  Date today;
};

// The request's fields joined with U+FFFE. A value that must read as a number or a date
// and does not throws RuntimeFailure, so that nothing is sent.
std::string BuildFactors(FactorLayout layout, const FactorSource& source);

}  // namespace cn
