#include "backend/result_codes.h"
#include "backend_fixture.h"
#include "base/date_format.h"
#include "base/date_reader.h"

namespace cn::backend::testing {
namespace {

using LookupTest = BackendTest;

TEST_F(LookupTest, PostcodeGivesTownAndState) {
  EXPECT_EQ(Fields(Run("KivoInsurance.Find.FindPostCodeDetails", "46000").reply),
            (std::vector<std::string>{"PETALING JAYA", "10", "PJY"}));
  EXPECT_EQ(Run("KivoInsurance.Find.FindPostCodeDetails", "99999"), (Result{}));
}

TEST_F(LookupTest, SystemDateTimeComesFromTheBackEndsClock) {
  clock_.Set(*ReadDateTime("29-Feb-2024 01:05:09 PM"));
  EXPECT_EQ(Run("KivoInsurance.Find.FindSystemDateTime"), (Result{"29-Feb-2024 01:05:09 PM", 0}));
}

TEST_F(LookupTest, AnUnknownSystemParameterIsNotFound) {
  EXPECT_EQ(Run("KivoInsurance.Maintenance.ReadSystemParameterByCode", "4242"), (Result{"", 1}));
}

TEST_F(LookupTest, ModelTypedInFullFillsTheVehicle) {
  const Result model = Run("KivoInsurance.Validation.VehicleModel", "taruma iswara 1.5 (m)");
  ASSERT_EQ(model.status, 0);
  const auto fields = Fields(model.reply);
  ASSERT_EQ(fields.size(), 7U);
  EXPECT_EQ(fields[0], "TRM");
  EXPECT_EQ(fields[2], "TARUMA ISWARA 1.5 (M)");
  EXPECT_EQ(fields[3], "1468.00");
  EXPECT_EQ(fields[4], "C");
  EXPECT_EQ(fields[6], "5");
  EXPECT_EQ(Run("KivoInsurance.Validation.VehicleModel", "TARUMA").status, 1);
}

TEST_F(LookupTest, ModelSearchAsksForANarrowerSearchWhenTooWide) {
  EXPECT_EQ(Run("Tarvin.Find.FindVehicleModel", Params({"TRM", ""})),
            (Result{"", kTooManyMatches}));
  const Result narrow = Run("Tarvin.Find.FindVehicleModel", Params({"TRM", "iswara 1.3"}));
  ASSERT_EQ(narrow.status, 0);
  const auto records = Records(narrow.reply);
  ASSERT_EQ(records.size(), 2U);  // manual and automatic
  EXPECT_EQ(Fields(records[0]).size(), 6U);
  EXPECT_EQ(Fields(records[0])[2], "1299.00");
  EXPECT_EQ(Run("Tarvin.Find.FindVehicleModel", Params({"KJG", "BUS"})), (Result{}));
}

// Cover 01 and the agent A1001 are pinned by the scenarios.
TEST_F(LookupTest, ScopeOfCoverAndTariffRegionOfTheAgent) {
  EXPECT_EQ(Run("Tarvin.Find.GetScopeOfCover", "03"), (Result{"", 3}));
  EXPECT_EQ(Run("Tarvin.Find.GetScopeOfCover", "77"), (Result{"", 0}));
  EXPECT_EQ(Run("Tarvin.Premium.GetMotorTariffRegionByAgentCode", "A2001"), (Result{"E", 0}));
  EXPECT_EQ(Run("Tarvin.Premium.GetMotorTariffRegionByAgentCode", "ZZZ"), (Result{}));
}

}  // namespace
}  // namespace cn::backend::testing
