// Each read layout puts every reply position into the right field with the right
// conversion. The expectations below follow the record's field groups (field by
// field), not the position order the layouts are written in, so a row that slipped
// by one position shows up as a field holding its neighbour's value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/currency.h"
#include "base/date_format.h"
#include "base/number_format.h"
#include "base/separators.h"
#include "base/text.h"
#include "workspace/field_catalogue.h"
#include "workspace/record_fill.h"

namespace cn {
namespace {

enum class As { kText, kDate, kTime, kMoney2, kNoDash, kList, kBoolean, kUpper };

struct Expect {
  std::string_view field;
  int position;
  As as = As::kText;
};

// ReadAdmin, in the order of the record's field groups.
// clang-format off
const std::vector<Expect> kReadAdmin = {
    // Cover note and cover.
    {"CoverNoteKey", 0}, {"ReadCoverNoteNo", 1}, {"TransactionType", 67},
    {"CoverNoteStatus", 66}, {"IssueDate", 2, As::kDate}, {"IssueTime", 2, As::kTime},
    {"PreviousDocumentNo", 68}, {"ClassCode", 27}, {"ClassUse", 122}, {"MotorCoverCode", 20},
    {"ClassListColumn2", 72}, {"ClassListColumn3", 73}, {"ReferenceDate", 86, As::kDate},
    {"EffectiveDate", 28, As::kDate}, {"EffectiveTime", 28, As::kTime},
    {"ExpiryDate", 29, As::kDate}, {"VehicleNo", 25}, {"TrailerNo", 26}, {"MortgageeCode", 30},
    {"Mortgagee", 31}, {"FTZ", 123}, {"Remark", 14},
    // Client.
    {"ClientCode", 113}, {"ClientType", 15}, {"ClientName", 3}, {"Address", 4},
    {"PostalCode", 5}, {"Town", 6}, {"TownCode", 177}, {"StateCode", 7},
    {"HouseTel", 8, As::kNoDash}, {"BizTel", 9, As::kNoDash}, {"ClientInfo10", 10},
    {"MobileTel", 11, As::kNoDash}, {"ClientInfo12", 12}, {"Email", 13}, {"NRIC", 16},
    {"OldNRIC", 17}, {"DrivingLicenseNo", 18}, {"DrivingLicenseClass", 115},
    {"LicenseDate", 93}, {"BusinessRegistrationNo", 19}, {"Gender", 85},
    {"MaritalStatus", 96}, {"DateOfBirth", 118}, {"Nationality", 114},
    {"OccupationCode", 163}, {"OccupationName", 164}, {"BusinessNatureCode", 165},
    {"BusinessNatureName", 166}, {"EmployerName", 167}, {"GSTRegistered", 174},
    {"GSTRegNo", 175}, {"GSTVehicleBizUse", 176},
    // Vehicle.
    {"VehicleMakeCode", 35}, {"ModelCode", 36}, {"Model", 37}, {"Body", 39},
    {"Capacity", 41, As::kMoney2}, {"CapacityUOM", 42}, {"SeatingCapacity", 45},
    {"YearMade", 38}, {"EngineNo", 43}, {"ChassisNo", 44}, {"TrailerChassisNo", 129},
    {"LogBookNo", 40}, {"Color", 117}, {"GarageCode", 97}, {"GSLock", 98}, {"LockType", 99},
    {"SafetyFeature", 100}, {"SecurityDevice", 146}, {"MaintenanceFrom", 147, As::kDate},
    {"MaintenanceTo", 148, As::kDate}, {"DriverCategoryCode", 101}, {"NoOfClaims", 94},
    {"Hazard", 95}, {"GoodsDescription", 157}, {"MPUW", 158}, {"MPLW", 159}, {"HRFlag", 160},
    {"CGFlag", 161}, {"CPFlag", 162},
    // Named drivers.
    {"DriverNames", 61, As::kList}, {"DriverICNos", 102, As::kList},
    {"DriverDOBs", 104, As::kList}, {"DriverLicenceDates", 120, As::kList},
    {"DriverLicenceNos", 119, As::kList}, {"DriverGenders", 121, As::kList},
    {"DriverOccupations", 103, As::kList}, {"DriverRelationships", 116, As::kList},
    // Previous insurer and NCD.
    {"HasExInsurer", 132, As::kBoolean}, {"ExInsurerCode", 133}, {"ExInsurer", 134},
    {"ExInsurerBranch", 135}, {"ExPolicyNo", 136}, {"ExVehicleNo", 137},
    {"ExEffectiveDate", 138}, {"ExExpiryDate", 139}, {"ExNCDCode", 149}, {"ExNCDText", 150},
    {"NoNCDRemarks", 140},
    // Claims.
    {"ClaimAccidentDates", 141, As::kList}, {"ClaimVehicleNos", 142, As::kList},
    {"ClaimInsurers", 143, As::kList}, {"ClaimNatures", 144, As::kList},
    {"ClaimAmounts", 145, As::kList},
    // Extended covers.
    {"ExtCoverCodes", 62, As::kList}, {"ExtCoverSumInsured", 63, As::kList},
    {"ExtCoverPercentages", 64, As::kList}, {"ExtCoverPremiums", 65, As::kList},
    // Premium and charges.
    {"ServiceTaxPercentage", 21, As::kMoney2}, {"ServiceTaxAmount", 22, As::kMoney2},
    {"StampDuty", 23, As::kMoney2}, {"TotalPremium", 24, As::kMoney2},
    {"VehicleSumInsured", 32, As::kMoney2}, {"TrailerSumInsured", 33, As::kMoney2},
    {"TotalExtSumInsured", 34, As::kMoney2}, {"PremiumField46", 46, As::kMoney2},
    {"PremiumField47", 47, As::kMoney2}, {"TariffPremium", 48, As::kMoney2},
    {"AllRiderPremium", 49, As::kMoney2}, {"LoadPercentage", 50, As::kMoney2},
    {"LoadAmount", 51, As::kMoney2}, {"NCDYear", 52}, {"NCDPercentage", 53, As::kMoney2},
    {"NCDAmount", 54, As::kMoney2}, {"BasicPremium", 55, As::kMoney2},
    {"TotalExtPremium", 56, As::kMoney2}, {"TotalSumInsured", 57, As::kMoney2},
    {"GrossPremium", 58, As::kMoney2}, {"PremiumField59", 59, As::kMoney2},
    {"ExcessAmount", 60, As::kMoney2}, {"TransferFee", 69}, {"PremiumField70", 70},
    {"PremiumField71", 71}, {"RMTUseRate", 74}, {"RMTStateRate", 75}, {"RMTDriverRate", 76},
    {"RMTGenderRate", 77}, {"RMTNCDYearRate", 78}, {"RMTVehicleMakeRate", 79},
    {"RMTCapacityRate", 80}, {"RMTVehicleAgeRate", 81}, {"RMTSumInsuredRate", 82},
    {"RMTRate", 83}, {"PremiumField84", 84}, {"PremiumField87", 87}, {"AltGrossPremium", 88},
    {"PremiumField89", 89}, {"AdminField105", 105}, {"AdminField106", 106},
    {"AdminField107", 107}, {"AdminField108", 108}, {"AdminField109", 109},
    {"AdminField110", 110}, {"AdminField111", 111}, {"AdminField112", 112},
    {"AdminField126", 126}, {"Region", 127}, {"ShortCalculation", 128}, {"OtherCharges", 130},
    {"TrailerNP", 131}, {"ExcessCode", 151}, {"AdminField152", 152}, {"AdminField153", 153},
    {"ExtraLoading", 154, As::kMoney2}, {"AdminField155", 155}, {"OTCAmount", 156, As::kMoney2},
    {"GSTGrossPremiumPercentage", 168, As::kMoney2}, {"GSTGrossPremiumAmount", 169, As::kMoney2},
    {"GSTTransferFeePercentage", 170, As::kMoney2}, {"GSTTransferFeeAmount", 171, As::kMoney2},
    {"GSTOthChargePercentage", 172, As::kMoney2}, {"GSTOthChargeAmount", 173, As::kMoney2},
};
// clang-format on
constexpr int kReadAdminLast = 177;
const std::set<int> kReadAdminUnread = {90, 91, 92, 124, 125};

// CoverNote.Read: its own positions; 2 to 65 and 69 to 89 are those of ReadAdmin.
// clang-format off
const std::vector<Expect> kCoverNoteReadOwn = {
    {"MaritalStatus", 93}, {"GarageCode", 94}, {"GSLock", 95}, {"LockType", 96},
    {"SafetyFeature", 97}, {"DriverCategoryCode", 98}, {"DriverICNos", 99, As::kList},
    {"DriverDOBs", 100, As::kList}, {"DriverOccupations", 101, As::kList},
    {"ClientCode", 113}, {"Nationality", 114}, {"DrivingLicenseClass", 115}, {"Color", 117},
    {"DateOfBirth", 118}, {"FTZ", 123}, {"ExcessCode", 151}, {"OTCAmount", 163, As::kMoney2},
    {"GSTGrossPremiumPercentage", 196, As::kMoney2}, {"GSTGrossPremiumAmount", 197, As::kMoney2},
    {"GSTTransferFeePercentage", 198, As::kMoney2}, {"GSTTransferFeeAmount", 199, As::kMoney2},
    {"GSTOthChargePercentage", 200, As::kMoney2}, {"GSTOthChargeAmount", 201, As::kMoney2},
    {"GSTRegistered", 202}, {"GSTRegNo", 203}, {"GSTVehicleBizUse", 204}, {"TownCode", 205},
};
// clang-format on
constexpr int kCoverNoteReadLast = 205;

// Policy.Read, positions in the reply's second part; only phones, dates, lists and
// one upper-cased field are converted.
// clang-format off
const std::vector<Expect> kPolicyRead = {
    {"ClientName", 2}, {"Address", 3}, {"PostalCode", 4}, {"Town", 5}, {"StateCode", 6},
    {"ClientType", 7}, {"NRIC", 8}, {"OldNRIC", 9}, {"DrivingLicenseNo", 10},
    {"HouseTel", 11, As::kNoDash}, {"BizTel", 12, As::kNoDash}, {"Email", 16},
    {"BusinessRegistrationNo", 17}, {"MotorCoverCode", 18}, {"ServiceTaxPercentage", 19},
    {"ServiceTaxAmount", 20}, {"StampDuty", 21}, {"TotalPremium", 22}, {"VehicleNo", 24},
    {"TrailerNo", 25}, {"ClassCode", 28}, {"EffectiveDate", 29, As::kDate},
    {"ExpiryDate", 30, As::kDate}, {"MortgageeCode", 31}, {"Mortgagee", 32},
    {"ClassListColumn2", 33}, {"ClassListColumn3", 34}, {"VehicleSumInsured", 35},
    {"TrailerSumInsured", 36}, {"TotalExtSumInsured", 37}, {"VehicleMakeCode", 38},
    {"ModelCode", 39}, {"Model", 40}, {"YearMade", 41}, {"Body", 42}, {"LogBookNo", 43},
    {"Capacity", 44}, {"CapacityUOM", 45}, {"EngineNo", 46}, {"ChassisNo", 47},
    {"SeatingCapacity", 48}, {"PremiumField46", 49}, {"PremiumField47", 50},
    {"TariffPremium", 51}, {"AllRiderPremium", 52}, {"LoadPercentage", 53}, {"LoadAmount", 54},
    {"NCDYear", 55}, {"NCDPercentage", 56}, {"NCDAmount", 57}, {"RMTUseRate", 58},
    {"RMTStateRate", 59}, {"RMTDriverRate", 60}, {"RMTGenderRate", 61}, {"RMTNCDYearRate", 62},
    {"RMTVehicleMakeRate", 63}, {"RMTCapacityRate", 64}, {"RMTVehicleAgeRate", 65},
    {"RMTSumInsuredRate", 66}, {"RMTRate", 67}, {"BasicPremium", 68}, {"TotalExtPremium", 69},
    {"TotalSumInsured", 70}, {"GrossPremium", 71}, {"ExcessAmount", 73},
    {"DriverNames", 74, As::kList}, {"ExtCoverCodes", 75, As::kList},
    {"ExtCoverSumInsured", 76, As::kList}, {"ExtCoverPercentages", 77, As::kList},
    {"ExtCoverPremiums", 78, As::kList}, {"PremiumField84", 79, As::kUpper},
    {"MaritalStatus", 84}, {"GarageCode", 85}, {"GSLock", 86}, {"LockType", 87},
    {"SafetyFeature", 88}, {"DriverCategoryCode", 89}, {"DriverICNos", 90, As::kList},
    {"DriverDOBs", 91, As::kList}, {"DriverOccupations", 92, As::kList}, {"Gender", 93},
    {"ClientCode", 98}, {"Nationality", 99}, {"DrivingLicenseClass", 100}, {"Color", 102},
};
// clang-format on
constexpr int kPolicyReadLast = 102;

// ---- Distinct values per position -----------------------------------------------------

DateTime DateTimeFor(int position) {
  return {*Date::FromYmd(1900 + position, position % 12 + 1, position % 28 + 1),
          *Time::FromHms(position % 24, position % 60, (position * 7) % 60)};
}

std::string Tag(int position) { return "v" + std::to_string(position); }

std::string MoneyFor(int position) { return std::to_string(position) + "234.5"; }

std::string ListFor(int position) {
  return "a" + std::to_string(position) + std::string(DialogArgSeparator) + "b" +
         std::to_string(position);
}

std::string ReplyValue(As as, int position) {
  switch (as) {
    case As::kDate:
    case As::kTime: {
      const DateTime at = DateTimeFor(position);
      char text[32];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", at.date.year(),
                    at.date.month(), at.date.day(), at.time.hour(), at.time.minute(),
                    at.time.second());
      return text;
    }
    case As::kMoney2:
      return MoneyFor(position);
    case As::kNoDash:
      return "v-" + std::to_string(position) + "-";
    case As::kList:
      return ListFor(position);
    case As::kBoolean:
      return "-1";
    case As::kUpper:
      return Tag(position) + "x";
    case As::kText:
      break;
  }
  return Tag(position);
}

std::string ExpectedText(As as, int position) {
  switch (as) {
    case As::kDate:
      return FormatDate(DateTimeFor(position).date);
    case As::kTime:
      return FormatTime(DateTimeFor(position).time);
    case As::kMoney2:
      return FormatMoney2(Currency::Parse(MoneyFor(position)));
    case As::kNoDash:
      return Tag(position);
    case As::kList:
      return ListFor(position);
    case As::kBoolean:
      return "True";
    case As::kUpper:
      return UCase(Tag(position) + "x");
    case As::kText:
      break;
  }
  return Tag(position);
}

// A reply with a recognisable value at every position up to `last`.
std::vector<std::string> BuildReply(const std::vector<Expect>& expects, int last) {
  std::vector<std::string> reply;
  for (int position = 0; position <= last; ++position) {
    As as = As::kText;
    for (const Expect& expect : expects) {
      if (expect.position == position) as = expect.as;
    }
    reply.push_back(ReplyValue(as, position));
  }
  return reply;
}

// Every field starts as "untouched" so that a field the layout must not fill shows.
CoverNoteRecord UntouchedRecord() {
  CoverNoteRecord record;
  for (const FieldInfo& field : kFieldCatalogue) {
    if (field.kind == FieldKind::kText || field.kind == FieldKind::kTextArray) {
      SetFieldText(record, Instance::kCurrent, field, "untouched");
      SetFieldText(record, Instance::kPrevious, field, "untouched");
    }
  }
  record.ExtUserPremiumMarks = {true};
  return record;
}

// Fields the layout carries hold their position's value; the rest are as `others`
// says (the untouched text unless listed).
void ExpectFilled(const CoverNoteRecord& record, Instance instance,
                  const std::vector<Expect>& expects,
                  const std::map<std::string_view, std::string>& others) {
  for (const FieldInfo& field : kFieldCatalogue) {
    const std::string actual = GetFieldText(record, instance, field);
    const auto expect = std::ranges::find(expects, field.name, &Expect::field);
    if (expect != expects.end()) {
      EXPECT_EQ(actual, ExpectedText(expect->as, expect->position))
          << field.name << " should come from position " << expect->position;
    } else if (const auto other = others.find(field.name); other != others.end()) {
      EXPECT_EQ(actual, other->second) << field.name;
    } else if (field.kind == FieldKind::kText || field.kind == FieldKind::kTextArray) {
      EXPECT_EQ(actual, "untouched") << field.name << " is filled by no position";
    }
  }
}

const std::string kTwoEmptyRows = std::string(DialogArgSeparator);

TEST(ReadLayouts, ReadAdminFillsEveryFieldFromItsPosition) {
  CoverNoteRecord record = UntouchedRecord();
  const std::vector<std::string> reply = BuildReply(kReadAdmin, kReadAdminLast);
  FillFromReadAdminReply(record, reply, {.TypedCoverNoteNo = [] { return "typed-no"; }});

  ExpectFilled(record, Instance::kCurrent, kReadAdmin,
               {{"CoverNoteNo", "typed-no"},
                {"ScopeOfCover", "0"},
                {"ExtCoverMinPremiums", kTwoEmptyRows},
                {"ExtCoverMethods", kTwoEmptyRows},
                {"ExtUserPremiumMarks", "False" + std::string(DialogArgSeparator) + "False"}});
}

TEST(ReadLayouts, ReadAdminLeavesItsUnreadPositionsAlone) {
  CoverNoteRecord record = UntouchedRecord();
  const std::vector<std::string> reply = BuildReply(kReadAdmin, kReadAdminLast + 3);
  FillFromReadAdminReply(record, reply, {});

  std::set<std::string> seen;
  for (const FieldInfo& field : kFieldCatalogue) {
    seen.insert(GetFieldText(record, Instance::kCurrent, field));
  }
  for (const int position : kReadAdminUnread) EXPECT_FALSE(seen.contains(Tag(position)));
  for (int position = kReadAdminLast + 1; position <= kReadAdminLast + 3; ++position) {
    EXPECT_FALSE(seen.contains(Tag(position)));
  }
}

TEST(ReadLayouts, CoverNoteReadFillsPreviousFromTheSharedAndItsOwnPositions) {
  std::vector<Expect> expects;
  for (const Expect& expect : kReadAdmin) {
    const bool shared = (expect.position >= 2 && expect.position <= 65) ||
                        (expect.position >= 69 && expect.position <= 89);
    if (shared && expect.field != "EffectiveTime") expects.push_back(expect);
  }
  expects.insert(expects.end(), kCoverNoteReadOwn.begin(), kCoverNoteReadOwn.end());

  CoverNoteRecord record = UntouchedRecord();
  const CoverNoteFields current_before = record.Current;
  FillPreviousFromReply(record, PreviousDocument::kCoverNote,
                        BuildReply(expects, kCoverNoteReadLast));

  ExpectFilled(record, Instance::kPrevious, expects,
               {{"ScopeOfCover", "0"},
                {"HasExInsurer", "False"},
                {"DriverLicenceDates", kTwoEmptyRows},
                {"DriverLicenceNos", kTwoEmptyRows},
                {"DriverGenders", kTwoEmptyRows},
                {"DriverRelationships", kTwoEmptyRows},
                {"ExtCoverMinPremiums", kTwoEmptyRows},
                {"ExtCoverMethods", kTwoEmptyRows},
                {"EffectiveTime", "untouched"},
                {"ExtUserPremiumMarks", "True"}});
  EXPECT_EQ(record.Current, current_before);
}

TEST(ReadLayouts, PolicyReadFillsPreviousFromTheSecondPartOfTheReply) {
  const std::vector<std::string> second_part = BuildReply(kPolicyRead, kPolicyReadLast);
  const std::string reply = "header" + std::string(ParamSeparator) +
                            Join(second_part, FieldSeparator) + std::string(ParamSeparator) +
                            "trailer";

  CoverNoteRecord record = UntouchedRecord();
  FillPreviousFromReply(record, PreviousDocument::kPolicy, SplitPolicyReplyFields(reply));

  ExpectFilled(record, Instance::kPrevious, kPolicyRead,
               {{"ScopeOfCover", "0"},
                {"HasExInsurer", "False"},
                {"DriverLicenceDates", kTwoEmptyRows},
                {"DriverLicenceNos", kTwoEmptyRows},
                {"DriverGenders", kTwoEmptyRows},
                {"DriverRelationships", kTwoEmptyRows},
                {"ExtCoverMinPremiums", kTwoEmptyRows},
                {"ExtCoverMethods", kTwoEmptyRows},
                {"EffectiveTime", "untouched"},
                {"ExtUserPremiumMarks", "True"}});
}

TEST(ReadLayouts, APolicyReplyWithoutASecondPartHasNoPositions) {
  EXPECT_TRUE(SplitPolicyReplyFields("").empty());
  EXPECT_TRUE(SplitPolicyReplyFields("only the first part").empty());
}

}  // namespace
}  // namespace cn
