#pragma once
// The rating factors the screen sends to the premium commands: five positional
// layouts, each a table of rows read by one interpreter into the same set of
// named factors, so that rating never looks at a position.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/currency.h"
#include "base/date.h"

namespace cn::backend {

enum class Factor {
  kNone,  // a position whose value is read and checked but not kept
  kClassCode,
  kMotorCoverCode,
  kAgentCode,
  kClientType,
  kTransactionType,
  kRegion,
  kStateCode,
  kClassUse,
  kGender,
  kNric,
  kIssueDate,
  kVehicleMakeCode,
  kModelCode,
  kClassListColumn2,
  kClassListColumn3,
  kCapacity,
  kCapacityUom,
  kSeatingCapacity,
  kYearMade,
  kVehicleAge,
  kVehicleSumInsured,
  kTrailerSumInsured,
  kTotalSumInsured,
  kHasTrailer,
  kTrailerIsPlaceholder,
  kIsMotorcycle,
  kStartDate,
  kEndDate,
  kReferenceDate,
  kNoOfClaims,
  kInsuredAge,
  kDrivingYears,
  kDriverCount,  // named drivers, counted by name
  kDriverRows,   // the screen's driver rows, its one empty row included when nobody is named
  kFirstDriverAge,
  kFirstDriverYears,
  kLoadPercentage,
  kNcdPercentage,
  kNcdYear,
  kTariffPremium,
  kBasicPremium,
  kExcessAmount,
  kServiceTaxPercentage,
  kStampDuty,
  kOtherCharges,
  kTransferFee,
  // Extended covers, one list element per row.
  kExtMethods,
  kExtCodes,
  kExtSumInsured,
  kExtPercentages,
  kExtPremiums,
  kExtMinPremiums,
  kExtComputed,
  // Figures of the cover as it was before an extension, transfer or endorsement.
  kLoadAmount,
  kAllRiderPremium,
  kNcdAmount,
  kPremiumField46,
  kPremiumField47,
  kPremiumField59,
  kPremiumField70,
  kPremiumField71,
  kTotalExtPremium,
  kGrossPremium,
  kServiceTaxAmount,
  kTotalPremium,
  kExtraLoading,
  kRmtUseRate,
  kRmtStateRate,
  kRmtDriverRate,
  kRmtGenderRate,
  kRmtNcdYearRate,
  kRmtVehicleMakeRate,
  kRmtCapacityRate,
  kRmtVehicleAgeRate,
  kRmtSumInsuredRate,
  kRmtRate,
  kCount
};

enum class FactorConversion {
  kText,           // any short text
  kAmount,         // empty or a number, kept to four decimals
  kAmountOrUnset,  // as kAmount; "-1" means not entered and leaves the factor empty
  kUnsetWhenOne,   // "1" empties the factor read before it (not entered), "0" keeps it
  kWhole,          // empty or a whole number
  kFlag,           // "-1" or "1" set, "0" or empty not
  kDate,           // empty or dd-MMM-yyyy
  kList,           // values joined by U+FFFD
  kAmountList,     // values joined by U+FFFD, each empty or a number
};

struct RequestRow {
  int position;
  Factor factor;
  FactorConversion conversion;
};

// Current engine: "Tarvin.Premium.ComputeV10" (51 fields); the amended cover (45)
// and the previous cover (57) of "Tarvin.Premium.ComputeV10Ex".
std::span<const RequestRow> V10RequestLayout();
std::span<const RequestRow> V10ExRequestLayout();
std::span<const RequestRow> V10PreviousRequestLayout();
// New tariff: "Tarvin.Premium.Compute" and the amended cover of
// "Tarvin.Premium.ComputeEx" (44); the previous cover of "Tarvin.Premium.ComputeEx" (51).
std::span<const RequestRow> NewTariffRequestLayout();
std::span<const RequestRow> NewTariffPreviousRequestLayout();

// The factors of one cover, each kept as checked text: amounts to four decimals
// without grouping, whole numbers and flags as digits, dates as dd-MMM-yyyy.
class Factors {
 public:
  const std::string& Text(Factor factor) const { return text_[Index(factor)]; }
  bool Has(Factor factor) const { return !Text(factor).empty(); }
  // Zero when empty.
  Currency Amount(Factor factor) const;
  long long Whole(Factor factor) const;
  bool Flag(Factor factor) const { return Text(factor) == "1"; }
  std::optional<Date> DateOf(Factor factor) const;
  std::vector<std::string> List(Factor factor) const;

  void Set(Factor factor, std::string text) { text_[Index(factor)] = std::move(text); }

 private:
  static std::size_t Index(Factor factor) { return static_cast<std::size_t>(factor); }
  std::array<std::string, static_cast<std::size_t>(Factor::kCount)> text_;
};

// The factors of a record of fields joined by U+FFFE; nullopt when the count of
// fields is not the layout's or a value does not read as its row says.
std::optional<Factors> ReadFactors(std::span<const RequestRow> layout, std::string_view record);

}  // namespace cn::backend
