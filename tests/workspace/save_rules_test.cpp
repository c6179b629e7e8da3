// The rules of the save that a golden scenario does not reach: the derived positions of the
// saved record, the address the cover note can print, and when the client is written back.

#include <gtest/gtest.h>

#include "base/separators.h"
#include "base/text.h"
#include "workspace/address_check.h"
#include "workspace/client_write.h"
#include "workspace/write_admin_record.h"
#include "workspace_world.h"

namespace cn {
namespace {

using Texts = std::vector<std::string>;

Texts At(const Texts& fields, std::initializer_list<std::size_t> positions) {
  Texts picked;
  for (const std::size_t position : positions) picked.push_back(fields.at(position));
  return picked;
}

Texts Build(CoverNoteRecord& record, bool new_tariff = false) {
  const WriteAdminInputs options{.NewTariffInUse = new_tariff, .DriverCoverCode1 = "089", .DriverCoverCode2 = "006"};
  return Split(BuildWriteAdminRecord(record, options), FieldSeparator);
}

CoverNoteRecord Priced(std::string_view type) {
  CoverNoteRecord record;
  record.Current.TransactionType = std::string(type);
  // clang-format off
  testing::SetFields(record, {
      {"GrossPremium", "1,000.00"}, {"AltGrossPremium", "400.00"}, {"TotalSumInsured", "50,000.00"},
      {"PremiumField87", "20,000.00"}, {"PremiumField59", "5.00"}, {"TotalPremium", "1,070.00"},
      {"VehicleSumInsured", "48,000.00"}, {"TrailerSumInsured", "2,000.00"},
      {"ExtCoverCodes", "089##007"}, {"ExtCoverSumInsured", "1500##0"},
      {"ExtCoverPercentages", "15##0"}, {"ExtCoverPremiums", "225##10"},
      {"DriverNames", "INSURED##SON"}, {"DriverICNos", "1#2#3"}});
  // clang-format on
  return record;
}

TEST(WriteAdminRecord, PremiumAndCommissionFollowTheTransactionType) {
  struct Case { std::string_view types; Texts positions_87_to_92; };
  // New business: the gross premium, 10% of it, the total less that. Extension, transfer,
  // endorsement: the alternative gross premium, and 89 empty.
  const Case cases[] = {{"NB", {"50,000.00", "1,000.00", "5.00", "10.00", "100.00", "970.00"}},
                        {"ETD", {"20,000.00", "400.00", "", "10.00", "40.00", "1,030.00"}}};
  for (const Case& c : cases) {
    for (const char type : c.types) {
      CoverNoteRecord record = Priced(std::string(1, type));
      const auto fields = Build(record);
      ASSERT_EQ(fields.size(), 168u);
      EXPECT_EQ(At(fields, {87, 88, 89, 90, 91, 92}), c.positions_87_to_92) << type;
    }
  }
}

// Type "O" saves none of the tariff's figures; the tariff premium, the NCD and the sum insured
// go as the cover note had them.
TEST(WriteAdminRecord, OtherPremiumSavesNoPremiumAndNoExtendedCover) {
  CoverNoteRecord record = Priced("O");
  testing::SetFields(record, {{"TariffPremium", "1,200.00"}, {"NCDAmount", "300.00"}});
  const auto fields = Build(record);
  // Position 50 is the loading percentage, not an amount, as it stands.
  EXPECT_EQ(At(fields, {32, 33, 34, 46, 47, 49, 50, 51, 55, 56, 59, 60, 154}), Texts(13, "0.00"));
  EXPECT_EQ(At(fields, {48, 54, 57}), (Texts{"1,200.00", "300.00", "50,000.00"}));
  EXPECT_EQ(At(fields, {62, 63, 64, 65}), Texts(4));
  EXPECT_EQ(record.Current.TariffPremium, "0.00");  // the save changes the record it writes
}

TEST(WriteAdminRecord, ListsSkipEmptyRowsAndClaimsKeepThem) {
  CoverNoteRecord record = Priced("N");
  record.Current.ClaimAmounts = {"100", ""};
  const auto fields = Build(record);
  // Drivers, their numbers, cover codes, cover premiums, claims and the total sum insured.
  EXPECT_EQ(Replace(Join(At(fields, {61, 102, 62, 65, 145, 57}), " "), DialogArgSeparator, "#"),
            "INSURED#SON 1#3 089#007 225#10 100# 50,000.00");
}

TEST(WriteAdminRecord, DriverCategoryByCoverTypeDriverSlotsAndDriverCovers) {
  // clang-format off
  struct Case { std::string_view cover; std::size_t driver_rows; std::string_view ext_cover, category; };
  const Case cases[] = {
      {"PRIVATE", 1, "007", "1"}, {"PRIVATE", 2, "007", "1"}, {"PRIVATE", 3, "007", "2"},
      {"PRIVATE", 1, "089", "3"}, {"PRIVATE", 3, "006", "3"}, {"MOTORCYCLE", 3, "007", "4"},
      {"MOTORCYCLE", 1, "006", "5"}, {"COMMERCIAL", 1, "089", "9"}, {"", 1, "007", "9"}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.cover) + " " + std::to_string(c.driver_rows) + " " + std::string(c.ext_cover));
    CoverNoteRecord record = Priced("N");
    record.Current.CoverType = std::string(c.cover);
    record.Current.DriverNames.assign(c.driver_rows, "");  // empty rows count as slots
    record.Current.ExtCoverCodes = {std::string(c.ext_cover)};
    EXPECT_EQ(Build(record)[101], c.category);
  }
}

TEST(AddressCheck, FourLinesOfAtMost25CharactersWithoutGaps) {
  struct Case { std::string address; std::string_view problem; };  // no problem: accepted
  const std::string at_limit(25, 'A'), over_limit(26, 'A');
  const std::string_view too_short = "Invalid address! Address must be at least 2 characters.";
  const std::string_view skipped = "Invalid address! You cannot skip and address line.";
  // A fifth line is not printed; the last line has 25 characters in 26 bytes.
  // clang-format off
  const Case cases[] = {
      {at_limit + "\r\n" + at_limit + "\r\n" + at_limit + "\r\n" + at_limit, ""},
      {"NO 1\r\nJALAN\r\nTAMAN\r\n" + over_limit, "Each address field must not be more than 25 characters long!"},
      {"NO 1\r\nJALAN\r\nTAMAN\r\nKL\r\n" + over_limit, ""},
      {"A\r\nJALAN", too_short}, {"AB\r\nJALAN", ""}, {"", too_short}, {"NO 1\r\n\r\nTAMAN", skipped},
      {"NO 1\r\nJALAN\r\n\r\nKL", skipped}, {"NO 1\r\nJALAN\r\n\r\n", ""},
      {"JALAN \xC3\x89" + std::string(18, 'E'), ""}};
  // clang-format on
  for (const Case& c : cases)
    EXPECT_EQ(AddressProblem(c.address).value_or(""), c.problem) << c.address;
}

TEST(ClientWrite, OnlyAChangeTheSaveLooksAtWritesTheClient) {
  ClientDetails as_read;
  std::tie(as_read.ClientCode, as_read.Address, as_read.NRIC, as_read.OldNRIC, as_read.BusinessRegistrationNo,
           as_read.Email) = std::tuple("C1", "No 1\r\nJalan", "800101-01-1234", "a123", "br-1", "a@b.my");
  struct Case { std::string_view why; void (*edit)(ClientDetails&); std::string_view client_type; bool changed; };
  // clang-format off
  const Case cases[] = {
      {"nothing", [](ClientDetails&) {}, "P", false},
      {"address case", [](ClientDetails& c) { c.Address = "NO 1\r\nJALAN"; }, "P", false},
      {"address", [](ClientDetails& c) { c.Address = "No 2\r\nJalan"; }, "P", true},
      {"e-mail only", [](ClientDetails& c) { c.Email = "new@b.my"; }, "P", true},
      {"NRIC spaces", [](ClientDetails& c) { c.NRIC = " 800101-01-1234 "; }, "P", false},
      {"old NRIC case", [](ClientDetails& c) { c.OldNRIC = "A123"; }, "P", false},
      {"NRIC of a company", [](ClientDetails& c) { c.NRIC = "1"; }, "C", false},
      {"registration case", [](ClientDetails& c) { c.BusinessRegistrationNo = "BR-1"; }, "C", false},
      {"registration", [](ClientDetails& c) { c.BusinessRegistrationNo = "BR-2"; }, "C", true},
      {"name is not looked at", [](ClientDetails& c) { c.ClientName = "X"; }, "P", false}};
  // clang-format on
  for (const Case& c : cases) {
    ClientDetails edited = as_read;
    c.edit(edited);
    EXPECT_EQ(ClientChanged(edited, as_read, c.client_type), c.changed) << c.why;
  }
}

}  // namespace
}  // namespace cn
