#pragma once
// Every field of the cover note record by its name: the one list through which the
// reply layouts, the scenario transcript and the tests reach a field without
// naming its member. Besides the fields of each instance it holds the two values
// kept beside the record (`EffectiveTime`, `ExtUserPremiumMarks`).
//
// Text form of a field: a text as it is; the integer in decimal; a Boolean as
// "True"/"False"; an array as its elements joined by U+FFFD, the form a list takes
// inside one reply field. Writing an array from "" gives one empty element.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/cover_note_record.h"

namespace cn {

enum class FieldKind { kText, kInteger, kBoolean, kTextArray, kFlagArray };

// Which copy of the cover note a field is read from or written to.
enum class Instance { kCurrent, kPrevious };

struct FieldInfo {
  std::string_view name;
  FieldKind kind = FieldKind::kText;
  // Exactly one of these is set. The last two are kept beside the record and
  // belong to the cover note under amendment only.
  std::string CoverNoteFields::*text = nullptr;
  std::int32_t CoverNoteFields::*integer = nullptr;
  bool CoverNoteFields::*boolean = nullptr;
  std::vector<std::string> CoverNoteFields::*text_array = nullptr;
  std::string CoverNoteRecord::*record_text = nullptr;
  std::vector<bool> CoverNoteRecord::*record_flags = nullptr;

  constexpr bool BesideRecord() const { return record_text || record_flags; }
};

namespace catalogue_detail {
constexpr FieldInfo Text(std::string_view name, std::string CoverNoteFields::*m) {
  return {.name = name, .kind = FieldKind::kText, .text = m};
}
constexpr FieldInfo Integer(std::string_view name, std::int32_t CoverNoteFields::*m) {
  return {.name = name, .kind = FieldKind::kInteger, .integer = m};
}
constexpr FieldInfo Boolean(std::string_view name, bool CoverNoteFields::*m) {
  return {.name = name, .kind = FieldKind::kBoolean, .boolean = m};
}
constexpr FieldInfo Array(std::string_view name, std::vector<std::string> CoverNoteFields::*m) {
  return {.name = name, .kind = FieldKind::kTextArray, .text_array = m};
}
}  // namespace catalogue_detail

#define CN_TEXT(f) catalogue_detail::Text(#f, &CoverNoteFields::f)
#define CN_INT(f) catalogue_detail::Integer(#f, &CoverNoteFields::f)
#define CN_BOOL(f) catalogue_detail::Boolean(#f, &CoverNoteFields::f)
#define CN_ARRAY(f) catalogue_detail::Array(#f, &CoverNoteFields::f)

// In the order of the record's field groups.
inline constexpr std::array kFieldCatalogue = {
    // Cover note and cover.
    CN_TEXT(CoverNoteKey),
    CN_TEXT(ReadCoverNoteNo),
    CN_TEXT(CoverNoteNo),
    CN_TEXT(TransactionType),
    CN_TEXT(CoverNoteStatus),
    CN_TEXT(IssueDate),
    CN_TEXT(IssueTime),
    CN_TEXT(PreviousDocumentNo),
    CN_TEXT(CoverType),
    CN_TEXT(ClassCode),
    CN_TEXT(ClassUse),
    CN_TEXT(MotorCoverCode),
    CN_INT(ScopeOfCover),
    CN_TEXT(ClassListColumn2),
    CN_TEXT(ClassListColumn3),
    CN_TEXT(ReferenceDate),
    CN_TEXT(EffectiveDate),
    CN_TEXT(ExpiryDate),
    CN_TEXT(VehicleNo),
    CN_TEXT(TrailerNo),
    CN_TEXT(MortgageeCode),
    CN_TEXT(Mortgagee),
    CN_TEXT(FTZ),
    CN_TEXT(Remark),
    // Client.
    CN_TEXT(ClientCode),
    CN_TEXT(ClientType),
    CN_TEXT(ClientName),
    CN_TEXT(Address),
    CN_TEXT(PostalCode),
    CN_TEXT(Town),
    CN_TEXT(TownCode),
    CN_TEXT(StateCode),
    CN_TEXT(StateName),
    CN_TEXT(HouseTel),
    CN_TEXT(BizTel),
    CN_TEXT(ClientInfo10),
    CN_TEXT(MobileTel),
    CN_TEXT(ClientInfo12),
    CN_TEXT(Email),
    CN_TEXT(NRIC),
    CN_TEXT(OldNRIC),
    CN_TEXT(DrivingLicenseNo),
    CN_TEXT(DrivingLicenseClass),
    CN_TEXT(LicenseDate),
    CN_TEXT(BusinessRegistrationNo),
    CN_TEXT(Gender),
    CN_TEXT(MaritalStatus),
    CN_TEXT(DateOfBirth),
    CN_TEXT(Nationality),
    CN_TEXT(OccupationCode),
    CN_TEXT(OccupationName),
    CN_TEXT(BusinessNatureCode),
    CN_TEXT(BusinessNatureName),
    CN_TEXT(EmployerName),
    CN_TEXT(GSTRegistered),
    CN_TEXT(GSTRegNo),
    CN_TEXT(GSTVehicleBizUse),
    // Vehicle.
    CN_TEXT(VehicleMakeCode),
    CN_TEXT(ModelCode),
    CN_TEXT(Model),
    CN_TEXT(Body),
    CN_TEXT(Capacity),
    CN_TEXT(CapacityUOM),
    CN_TEXT(SeatingCapacity),
    CN_TEXT(YearMade),
    CN_TEXT(EngineNo),
    CN_TEXT(ChassisNo),
    CN_TEXT(TrailerChassisNo),
    CN_TEXT(LogBookNo),
    CN_TEXT(Color),
    CN_TEXT(GarageCode),
    CN_TEXT(GSLock),
    CN_TEXT(LockType),
    CN_TEXT(SafetyFeature),
    CN_TEXT(SecurityDevice),
    CN_TEXT(MaintenanceFrom),
    CN_TEXT(MaintenanceTo),
    CN_TEXT(DriverCategoryCode),
    CN_TEXT(NoOfClaims),
    CN_TEXT(Hazard),
    CN_TEXT(GoodsDescription),
    CN_TEXT(MPUW),
    CN_TEXT(MPLW),
    CN_TEXT(HRFlag),
    CN_TEXT(CGFlag),
    CN_TEXT(CPFlag),
    // Named drivers.
    CN_ARRAY(DriverNames),
    CN_ARRAY(DriverICNos),
    CN_ARRAY(DriverDOBs),
    CN_ARRAY(DriverLicenceDates),
    CN_ARRAY(DriverLicenceNos),
    CN_ARRAY(DriverGenders),
    CN_ARRAY(DriverOccupations),
    CN_ARRAY(DriverRelationships),
    // Previous insurer and NCD.
    CN_BOOL(HasExInsurer),
    CN_TEXT(ExInsurerCode),
    CN_TEXT(ExInsurer),
    CN_TEXT(ExInsurerBranch),
    CN_TEXT(ExPolicyNo),
    CN_TEXT(ExVehicleNo),
    CN_TEXT(ExEffectiveDate),
    CN_TEXT(ExExpiryDate),
    CN_TEXT(ExNCDCode),
    CN_TEXT(ExNCDText),
    CN_TEXT(NoNCDRemarks),
    // Claims.
    CN_ARRAY(ClaimAccidentDates),
    CN_ARRAY(ClaimVehicleNos),
    CN_ARRAY(ClaimInsurers),
    CN_ARRAY(ClaimNatures),
    CN_ARRAY(ClaimAmounts),
    // Extended covers.
    CN_ARRAY(ExtCoverCodes),
    CN_ARRAY(ExtCoverSumInsured),
    CN_ARRAY(ExtCoverPercentages),
    CN_ARRAY(ExtCoverPremiums),
    CN_ARRAY(ExtCoverMinPremiums),
    CN_ARRAY(ExtCoverMethods),
    // Premium and charges.
    CN_TEXT(ServiceTaxPercentage),
    CN_TEXT(ServiceTaxAmount),
    CN_TEXT(StampDuty),
    CN_TEXT(TotalPremium),
    CN_TEXT(VehicleSumInsured),
    CN_TEXT(TrailerSumInsured),
    CN_TEXT(TotalExtSumInsured),
    CN_TEXT(PremiumField46),
    CN_TEXT(PremiumField47),
    CN_TEXT(TariffPremium),
    CN_TEXT(AllRiderPremium),
    CN_TEXT(LoadPercentage),
    CN_TEXT(LoadAmount),
    CN_TEXT(NCDYear),
    CN_TEXT(NCDPercentage),
    CN_TEXT(NCDAmount),
    CN_TEXT(BasicPremium),
    CN_TEXT(TotalExtPremium),
    CN_TEXT(TotalSumInsured),
    CN_TEXT(GrossPremium),
    CN_TEXT(PremiumField59),
    CN_TEXT(ExcessAmount),
    CN_TEXT(TransferFee),
    CN_TEXT(PremiumField70),
    CN_TEXT(PremiumField71),
    CN_TEXT(RMTUseRate),
    CN_TEXT(RMTStateRate),
    CN_TEXT(RMTDriverRate),
    CN_TEXT(RMTGenderRate),
    CN_TEXT(RMTNCDYearRate),
    CN_TEXT(RMTVehicleMakeRate),
    CN_TEXT(RMTCapacityRate),
    CN_TEXT(RMTVehicleAgeRate),
    CN_TEXT(RMTSumInsuredRate),
    CN_TEXT(RMTRate),
    CN_TEXT(PremiumField84),
    CN_TEXT(PremiumField87),
    CN_TEXT(AltGrossPremium),
    CN_TEXT(PremiumField89),
    CN_TEXT(AdminField105),
    CN_TEXT(AdminField106),
    CN_TEXT(AdminField107),
    CN_TEXT(AdminField108),
    CN_TEXT(AdminField109),
    CN_TEXT(AdminField110),
    CN_TEXT(AdminField111),
    CN_TEXT(AdminField112),
    CN_TEXT(AdminField126),
    CN_TEXT(Region),
    CN_TEXT(ShortCalculation),
    CN_TEXT(OtherCharges),
    CN_TEXT(TrailerNP),
    CN_TEXT(ExcessCode),
    CN_TEXT(AdminField152),
    CN_TEXT(AdminField153),
    CN_TEXT(ExtraLoading),
    CN_TEXT(AdminField155),
    CN_TEXT(OTCAmount),
    CN_TEXT(GSTGrossPremiumPercentage),
    CN_TEXT(GSTGrossPremiumAmount),
    CN_TEXT(GSTTransferFeePercentage),
    CN_TEXT(GSTTransferFeeAmount),
    CN_TEXT(GSTOthChargePercentage),
    CN_TEXT(GSTOthChargeAmount),
    // Never read, never shown, saved as they are.
    CN_TEXT(ExtraField1),
    CN_TEXT(ExtraField2),
    // Beside the record.
    FieldInfo{.name = "EffectiveTime",
              .kind = FieldKind::kText,
              .record_text = &CoverNoteRecord::EffectiveTime},
    FieldInfo{.name = "ExtUserPremiumMarks",
              .kind = FieldKind::kFlagArray,
              .record_flags = &CoverNoteRecord::ExtUserPremiumMarks},
};

#undef CN_TEXT
#undef CN_INT
#undef CN_BOOL
#undef CN_ARRAY

// The position of that name (exact spelling) in the catalogue; kNoField when the
// record has no such field.
inline constexpr std::size_t kNoField = static_cast<std::size_t>(-1);
constexpr std::size_t FieldIndex(std::string_view name) {
  for (std::size_t i = 0; i < kFieldCatalogue.size(); ++i) {
    if (kFieldCatalogue[i].name == name) return i;
  }
  return kNoField;
}

// The entry of that name; null when the record has no such field.
constexpr const FieldInfo* FindField(std::string_view name) {
  const std::size_t index = FieldIndex(name);
  return index == kNoField ? nullptr : &kFieldCatalogue[index];
}

// The same, for tables built at compile time: an unknown name does not compile.
consteval const FieldInfo& FieldNamed(std::string_view name) {
  const std::size_t index = FieldIndex(name);
  if (index == kNoField) throw "no field of the cover note record has this name";
  return kFieldCatalogue[index];
}

// Text form of a field of one instance (fields kept beside the record ignore the
// instance). Throws RuntimeFailure for an unknown name.
std::string GetFieldText(const CoverNoteRecord& record, Instance instance, const FieldInfo& field);
std::string GetFieldText(const CoverNoteRecord& record, Instance instance, std::string_view name);

// Writes a field from its text form. A non-number for the integer, a Boolean
// that is neither a number nor "True"/"False", or an unknown name throw
// RuntimeFailure and change nothing.
void SetFieldText(CoverNoteRecord& record, Instance instance, const FieldInfo& field,
                  std::string_view text);
void SetFieldText(CoverNoteRecord& record, Instance instance, std::string_view name,
                  std::string_view text);

// The Boolean a reply or a page gives as text: "True"/"False" in any letter case,
// or a number (non-zero is true); "" is false. nullopt for anything else.
std::optional<bool> ParseBooleanText(std::string_view text);
// The same, throwing RuntimeFailure for a text that is no Boolean.
bool ReadBooleanText(std::string_view text);

}  // namespace cn
