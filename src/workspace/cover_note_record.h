#pragma once
// The cover note under amendment, held in memory while the screen is open: its
// fields, the two instances (the note being amended and its comparison copy) and
// the groups of parallel arrays that the row tables show one row at a time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cn {

// One cover note. Texts start empty, arrays start with no elements; after a read
// or the defaults every array has at least one element.
struct CoverNoteFields {
  // Cover note and cover.
  std::string CoverNoteKey;
  std::string ReadCoverNoteNo;  // the number as the back end spelt it
  std::string CoverNoteNo;      // the number as the administrator typed it
  std::string TransactionType;  // one letter: N, B, R, T, E, D, S, F, M, I
  std::string CoverNoteStatus;
  std::string IssueDate;  // dd-MMM-yyyy
  std::string IssueTime;  // hh:mm:ss AM/PM
  std::string PreviousDocumentNo;
  std::string CoverType;  // "PRIVATE", "COMMERCIAL", "MOTORCYCLE" or empty
  std::string ClassCode;
  std::string ClassUse;
  std::string MotorCoverCode;
  std::int32_t ScopeOfCover = 0;
  std::string ClassListColumn2;
  std::string ClassListColumn3;
  std::string ReferenceDate;
  std::string EffectiveDate;
  std::string ExpiryDate;
  std::string VehicleNo;
  std::string TrailerNo;
  std::string MortgageeCode;
  std::string Mortgagee;
  std::string FTZ;  // "1" or "0"
  std::string Remark;

  // Client.
  std::string ClientCode;
  std::string ClientType;  // "P" personal, "C" company
  std::string ClientName;
  std::string Address;  // lines joined by CR LF
  std::string PostalCode;
  std::string Town;
  std::string TownCode;
  std::string StateCode;
  std::string StateName;
  std::string HouseTel;
  std::string BizTel;
  std::string ClientInfo10;
  std::string MobileTel;
  std::string ClientInfo12;
  std::string Email;
  std::string NRIC;
  std::string OldNRIC;
  std::string DrivingLicenseNo;
  std::string DrivingLicenseClass;
  std::string LicenseDate;
  std::string BusinessRegistrationNo;
  std::string Gender;
  std::string MaritalStatus;
  std::string DateOfBirth;
  std::string Nationality;
  std::string OccupationCode;
  std::string OccupationName;
  std::string BusinessNatureCode;
  std::string BusinessNatureName;
  std::string EmployerName;
  std::string GSTRegistered;  // "1"/"0"
  std::string GSTRegNo;
  std::string GSTVehicleBizUse;  // "1"/"0"

  // Vehicle.
  std::string VehicleMakeCode;
  std::string ModelCode;
  std::string Model;
  std::string Body;
  std::string Capacity;
  std::string CapacityUOM;
  std::string SeatingCapacity;
  std::string YearMade;
  std::string EngineNo;
  std::string ChassisNo;
  std::string TrailerChassisNo;
  std::string LogBookNo;
  std::string Color;
  std::string GarageCode;
  std::string GSLock;  // "1"/"0"
  std::string LockType;
  std::string SafetyFeature;
  std::string SecurityDevice;
  std::string MaintenanceFrom;
  std::string MaintenanceTo;
  std::string DriverCategoryCode;
  std::string NoOfClaims;
  std::string Hazard;  // "1"/"0"
  std::string GoodsDescription;
  std::string MPUW;
  std::string MPLW;
  std::string HRFlag;
  std::string CGFlag;
  std::string CPFlag;

  // Named drivers: one element per driver row, all eight of the same length.
  std::vector<std::string> DriverNames;
  std::vector<std::string> DriverICNos;
  std::vector<std::string> DriverDOBs;
  std::vector<std::string> DriverLicenceDates;
  std::vector<std::string> DriverLicenceNos;
  std::vector<std::string> DriverGenders;
  std::vector<std::string> DriverOccupations;
  std::vector<std::string> DriverRelationships;

  // Previous insurer and NCD.
  bool HasExInsurer = false;
  std::string ExInsurerCode;
  std::string ExInsurer;
  std::string ExInsurerBranch;
  std::string ExPolicyNo;
  std::string ExVehicleNo;
  std::string ExEffectiveDate;
  std::string ExExpiryDate;
  std::string ExNCDCode;
  std::string ExNCDText;
  std::string NoNCDRemarks;

  // Claims experience: one element per claim row.
  std::vector<std::string> ClaimAccidentDates;
  std::vector<std::string> ClaimVehicleNos;
  std::vector<std::string> ClaimInsurers;
  std::vector<std::string> ClaimNatures;
  std::vector<std::string> ClaimAmounts;

  // Extended covers: one element per extended-cover row, all six of the same length.
  std::vector<std::string> ExtCoverCodes;
  std::vector<std::string> ExtCoverSumInsured;
  std::vector<std::string> ExtCoverPercentages;
  std::vector<std::string> ExtCoverPremiums;
  std::vector<std::string> ExtCoverMinPremiums;
  std::vector<std::string> ExtCoverMethods;

  // Premium and charges.
  std::string ServiceTaxPercentage;
  std::string ServiceTaxAmount;
  std::string StampDuty;
  std::string TotalPremium;
  std::string VehicleSumInsured;
  std::string TrailerSumInsured;
  std::string TotalExtSumInsured;
  std::string PremiumField46;
  std::string PremiumField47;
  std::string TariffPremium;
  std::string AllRiderPremium;
  std::string LoadPercentage;
  std::string LoadAmount;
  std::string NCDYear;
  std::string NCDPercentage;
  std::string NCDAmount;
  std::string BasicPremium;
  std::string TotalExtPremium;
  std::string TotalSumInsured;
  std::string GrossPremium;
  std::string PremiumField59;
  std::string ExcessAmount;
  std::string TransferFee;
  std::string PremiumField70;
  std::string PremiumField71;
  std::string RMTUseRate;
  std::string RMTStateRate;
  std::string RMTDriverRate;
  std::string RMTGenderRate;
  std::string RMTNCDYearRate;
  std::string RMTVehicleMakeRate;
  std::string RMTCapacityRate;
  std::string RMTVehicleAgeRate;
  std::string RMTSumInsuredRate;
  std::string RMTRate;
  std::string PremiumField84;
  std::string PremiumField87;
  std::string AltGrossPremium;
  std::string PremiumField89;
  std::string AdminField105;
  std::string AdminField106;
  std::string AdminField107;
  std::string AdminField108;
  std::string AdminField109;
  std::string AdminField110;
  std::string AdminField111;
  std::string AdminField112;
  std::string AdminField126;
  std::string Region;
  std::string ShortCalculation;
  std::string OtherCharges;
  std::string TrailerNP;
  std::string ExcessCode;
  std::string AdminField152;
  std::string AdminField153;
  std::string ExtraLoading;
  std::string AdminField155;
  std::string OTCAmount;
  std::string GSTGrossPremiumPercentage;
  std::string GSTGrossPremiumAmount;
  std::string GSTTransferFeePercentage;
  std::string GSTTransferFeeAmount;
  std::string GSTOthChargePercentage;
  std::string GSTOthChargeAmount;

  // Carried to the save untouched; no read fills them and no page shows them.
  std::string ExtraField1;
  std::string ExtraField2;

  bool operator==(const CoverNoteFields&) const = default;
};

// A copy of a cover note's fields that is read now and then and seldom changed: packed into
// one text of its values, a fraction of the size of its hundreds of strings, which every
// open screen would otherwise hold twice.
class PackedFields {
 public:
  PackedFields() = default;  // empty fields
  explicit PackedFields(const CoverNoteFields& fields);

  CoverNoteFields Unpack() const;
  // Changes the fields through `change(CoverNoteFields&)` and packs them again.
  template <class F>
  void Change(F&& change) {
    CoverNoteFields fields = Unpack();
    change(fields);
    *this = PackedFields(fields);
  }

  bool operator==(const PackedFields&) const = default;

 private:
  std::string bytes_;  // empty for empty fields, so that equal fields pack alike
};

// The cover note being amended and the copy its premium is compared with.
struct CoverNoteRecord {
  CoverNoteFields Current;
  PackedFields Previous;      // for transfers and extensions, the earlier document
  std::string EffectiveTime;  // hh:mm:ss AM/PM, the time the cover starts
  // Per extended-cover row of Current: whether the administrator typed the premium.
  std::vector<bool> ExtUserPremiumMarks;

  bool operator==(const CoverNoteRecord&) const = default;
};

using TextArray = std::vector<std::string> CoverNoteFields::*;

// The parallel arrays in the order the row tables take and give them.
inline constexpr std::array<TextArray, 8> kNamedDriverArrays = {
    &CoverNoteFields::DriverNames,       &CoverNoteFields::DriverICNos,
    &CoverNoteFields::DriverDOBs,        &CoverNoteFields::DriverLicenceDates,
    &CoverNoteFields::DriverLicenceNos,  &CoverNoteFields::DriverGenders,
    &CoverNoteFields::DriverOccupations, &CoverNoteFields::DriverRelationships,
};
inline constexpr std::array<TextArray, 5> kClaimArrays = {
    &CoverNoteFields::ClaimAccidentDates, &CoverNoteFields::ClaimVehicleNos,
    &CoverNoteFields::ClaimInsurers,      &CoverNoteFields::ClaimNatures,
    &CoverNoteFields::ClaimAmounts,
};
inline constexpr std::array<TextArray, 6> kExtCoverArrays = {
    &CoverNoteFields::ExtCoverCodes,       &CoverNoteFields::ExtCoverSumInsured,
    &CoverNoteFields::ExtCoverPercentages, &CoverNoteFields::ExtCoverPremiums,
    &CoverNoteFields::ExtCoverMinPremiums, &CoverNoteFields::ExtCoverMethods,
};

// The eight named-driver arrays become one empty row.
void ResetNamedDrivers(CoverNoteFields& fields);

// Every array of the instance becomes one empty element.
void ResetAllArrays(CoverNoteFields& fields);

// Each array takes `rows` elements (at least one), keeping the elements it has.
void ResizeArrays(CoverNoteFields& fields, const TextArray* arrays, std::size_t count,
                  std::size_t rows);
template <std::size_t N>
void ResizeArrays(CoverNoteFields& fields, const std::array<TextArray, N>& arrays,
                  std::size_t rows) {
  ResizeArrays(fields, arrays.data(), N, rows);
}

// Removes extended-cover row `row` of Current from the six arrays and the
// premium marks; the last row removed leaves one empty row. A row past the end
// changes nothing.
void RemoveExtCoverRow(CoverNoteRecord& record, std::size_t row);

}  // namespace cn
