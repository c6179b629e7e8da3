// The empty cover note: every default, the flags it clears, the title and the copies.
#include "workspace/record_defaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/separators.h"
#include "workspace/field_catalogue.h"
#include "workspace_fixture.h"

namespace cn {
namespace {

using testing::CodeList;
using WorkspaceWorld = workspace_testing::CoverCornerWorld;

class RecordDefaults : public ::testing::Test {
 protected:
  RecordDefaults() {
    world_.SetSystemCodes({{"1011", "MC01"},
                           {"1025", "6"},
                           {"1026", "10.00"},
                           {"1030", "INSURED"},
                           {"1061", "MC09;MC01"}});
    world_.SetBackEndNow("2014-03-05 09:30:15");
    world_.fakes.backend.AnswerAny("Tarvin.Find.FindMotorClass",
                                   CodeList({{"A1", "Private car"}, {"A2", "Private hire"}}));
    world_.fakes.backend.AnswerAny("Tarvin.Find.Browse",
                                   CodeList({{"U1", "Social"}, {"U2", "Business"}}));
    world_.workspace.startup.AgentTariffRegion = "WEST";
  }

  void SetDefaults(dom::Document* cover_page = nullptr) {
    SetRecordDefaults(world_.workspace, cover_page, world_.window());
  }
  const CoverNoteFields& Current() const { return world_.workspace.record.Current; }

  WorkspaceWorld world_;
};

TEST_F(RecordDefaults, GivesEveryFieldItsDefault) {
  world_.workspace.record.Current.ClientName = "LEFT OVER";
  world_.workspace.record.Current.ScopeOfCover = 5;
  world_.workspace.record.Current.HasExInsurer = true;
  SetDefaults();

  // clang-format off
  const std::map<std::string_view, std::string> defaults = {
      {"TransactionType", "N"},
      {"NoOfClaims", "0"}, {"Hazard", "0"}, {"Capacity", "0"}, {"AdminField105", "0"},
      {"FTZ", "0"},
      {"IssueDate", "05-Mar-2014"}, {"IssueTime", "09:30:15 AM"},
      {"ClientType", "P"}, {"CoverType", "PRIVATE"}, {"Gender", "M"},
      {"ClassCode", "A1"}, {"ClassUse", "U1"}, {"MotorCoverCode", "MC01"},
      {"ScopeOfCover", "0"},
      {"EffectiveDate", "05-Mar-2014"}, {"ExpiryDate", "04-Mar-2015"},
      {"ReferenceDate", "05-Mar-2014"},
      {"MaritalStatus", "S"}, {"GarageCode", "03"}, {"GSLock", "0"}, {"LockType", "0"},
      {"SafetyFeature", "99"},
      {"ServiceTaxPercentage", "6"}, {"StampDuty", "10.00"},
      {"VehicleSumInsured", "0"}, {"TrailerSumInsured", "0"}, {"TotalExtSumInsured", "0"},
      {"PremiumField46", "0"}, {"PremiumField47", "0"}, {"TariffPremium", "0"},
      {"AllRiderPremium", "0"}, {"LoadPercentage", "0"}, {"LoadAmount", "0"},
      {"NCDYear", "0"}, {"NCDPercentage", "0"}, {"NCDAmount", "0"}, {"BasicPremium", "0"},
      {"TotalExtPremium", "0"}, {"TotalSumInsured", "0"}, {"GrossPremium", "0"},
      {"ServiceTaxAmount", "0"}, {"TransferFee", "0"}, {"TotalPremium", "0"},
      {"OTCAmount", "0"}, {"ExcessAmount", "0"}, {"PremiumField70", "0"},
      {"PremiumField71", "0"}, {"AltGrossPremium", "0"}, {"PremiumField87", "0"},
      {"PremiumField89", "0"},
      {"RMTNCDYearRate", "100"}, {"RMTCapacityRate", "100"}, {"RMTVehicleAgeRate", "100"},
      {"RMTSumInsuredRate", "100"}, {"RMTRate", "100"},
      {"Region", "WEST"}, {"ShortCalculation", "P"},
      {"OtherCharges", "0"}, {"TrailerNP", "0"}, {"AdminField152", "0"},
      {"GSTGrossPremiumPercentage", "0"}, {"GSTGrossPremiumAmount", "0"},
      {"GSTTransferFeePercentage", "0"}, {"GSTTransferFeeAmount", "0"},
      {"GSTOthChargePercentage", "0"}, {"GSTOthChargeAmount", "0"},
      {"HasExInsurer", "False"},
      {"DriverNames", "INSURED"},  // the default cover is listed in 1061
      {"ExtUserPremiumMarks", "False"},
  };  // clang-format on

  const CoverNoteRecord& record = world_.workspace.record;
  for (const FieldInfo& field : kFieldCatalogue) {
    const auto listed = defaults.find(field.name);
    EXPECT_EQ(GetFieldText(record, Instance::kCurrent, field),
              listed == defaults.end() ? std::string() : listed->second)
        << field.name;
  }
  for (const FieldInfo& field : kFieldCatalogue) {
    if (field.kind == FieldKind::kTextArray) {
      EXPECT_EQ((Current().*field.text_array).size(), 1u) << field.name;
    }
  }
}

TEST_F(RecordDefaults, ClearsTheFlagsOfTheLastReadAndThePremiumTabs) {
  Workspace& workspace = world_.workspace;
  workspace.read = {.RecordShown = true, .LoadedCoverNoteNo = "CN1"};
  workspace.premium = {true, true, true, true, true, true};
  workspace.client.NewAddress = true;
  workspace.page.NamedDriverCountSeen = 4;
  int table_resets = 0;
  workspace.row_tables.ResetExtendedCoverTable = [&] { ++table_resets; };

  SetDefaults();

  EXPECT_FALSE(workspace.read.RecordShown);
  EXPECT_EQ(workspace.read.LoadedCoverNoteNo, "");
  EXPECT_FALSE(workspace.premium.FactorsChangedNewTariff);
  EXPECT_FALSE(workspace.premium.BasicPremiumEntered);
  EXPECT_FALSE(workspace.premium.LoadPercentageEntered);
  EXPECT_FALSE(workspace.premium.TariffPremiumEntered);
  EXPECT_FALSE(workspace.premium.ExcessEntered);
  EXPECT_FALSE(workspace.premium.PremiumChangedV10);
  EXPECT_FALSE(workspace.client.NewAddress);
  EXPECT_EQ(workspace.page.NamedDriverCountSeen, 1);
  EXPECT_EQ(table_resets, 1);
}

TEST_F(RecordDefaults, SetsTheTitleCopiesToPreviousAndForgetsTheClient) {
  Workspace& workspace = world_.workspace;
  workspace.transfer.ClientCopy.ClientCode = "C1";
  workspace.client.ClientAsRead.NRIC = "800111-01-1123";
  workspace.record.Previous.ClassCode = "OLD";

  SetDefaults();

  EXPECT_EQ(world_.shell->scripts,
            std::vector<std::string>{"ShowTitle('Cover Note Amendment - Administrator')"});
  EXPECT_EQ(workspace.record.Previous, workspace.record.Current);
  EXPECT_EQ(workspace.transfer.ClientCopy, ClientDetails());
  EXPECT_EQ(workspace.client.ClientAsRead, ClientDetails());
}

TEST_F(RecordDefaults, KeepsTheTransactionTypeTheCoverTabShows) {
  world_.page->GetElementById("cboTransactionType")->SetValue("T");
  world_.workspace.page.CurrentTabId = "COVCover";
  SetDefaults(world_.page.get());
  EXPECT_EQ(Current().TransactionType, "T");
  EXPECT_EQ(Current().ServiceTaxPercentage, "0");  // a transfer carries no service tax

  world_.workspace.page.PageFilling = true;  // a reset refills the page
  SetDefaults(world_.page.get());
  EXPECT_EQ(Current().TransactionType, "N");

  world_.workspace.page.PageFilling = false;
  world_.workspace.page.CurrentTabId = "COVVeh";
  SetDefaults(world_.page.get());
  EXPECT_EQ(Current().TransactionType, "N");
}

TEST_F(RecordDefaults, TheInsuredDrivesOnlyUnderTheCoversOf1061) {
  world_.SetSystemCodes({{"1011", "MC02"}, {"1030", "INSURED"}, {"1061", "MC09;MC01"}});
  SetDefaults();
  EXPECT_EQ(Current().DriverNames, std::vector<std::string>{""});
}

TEST_F(RecordDefaults, UsesTheLocalClockWhenTheBackEndGivesNoTime) {
  world_.SetBackEndNow("");
  world_.clock.Set({*Date::FromYmd(2024, 2, 29), *Time::FromHms(23, 59, 0)});
  SetDefaults();
  EXPECT_EQ(Current().IssueDate, "29-Feb-2024");
  EXPECT_EQ(Current().IssueTime, "11:59:00 PM");
  EXPECT_EQ(Current().ExpiryDate, "28-Feb-2025");
}

TEST_F(RecordDefaults, FetchesTheClassListsOnceAndTheClassUsesOfItsClass) {
  SetDefaults();
  SetDefaults();
  const testing::FakeBackend& backend = world_.fakes.backend;
  EXPECT_EQ(backend.ParametersSent("Tarvin.Find.FindMotorClass").size(), 1u);
  EXPECT_EQ(std::ranges::count(backend.ParametersSent("Tarvin.Find.Browse"),
                               "6" + std::string(ParamSeparator) + "A1"),
            1);
}

}  // namespace
}  // namespace cn
