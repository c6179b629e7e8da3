// Calculate: how the plain engine's reply is stored, and a refused sum insured left for the
// premium tab. Which engine goes out for each transaction type is pinned by the golden premium
// scenarios.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/separators.h"
#include "base/text.h"
#include "pages/premium/premium_compute.h"
#include "workspace_world.h"

namespace cn {
namespace {

using testing::ShownBox;

// A reply with `value` at `position` and 0 elsewhere.
std::string Reply(std::size_t length, std::vector<std::pair<std::size_t, std::string>> values) {
  std::vector<std::string> fields(length, "0");
  for (auto& [position, value] : values) fields[position] = value;
  return Join(fields, FieldSeparator);
}

// A cover note complete enough to be rated, on fake components.
class ComputeTest : public ::testing::Test {
 protected:
  ComputeTest() {
    ws().startup.SystemCodes = {{1031, "TBA"}, {1026, "10.00"}};
    ws().startup.NewTariffDate = "01-Jan-2030";
    CoverNoteFields& f = ws().record.Current;
    f.VehicleNo = "WXY1234";
    f.Capacity = "1,500.00";
    f.CapacityUOM = "C";
    f.SeatingCapacity = "5";
    f.YearMade = "2010";
    f.VehicleSumInsured = "30,000.00";
    f.EffectiveDate = "10-Mar-2014";
    f.ExpiryDate = "09-Mar-2015";
    f.ExtCoverCodes = {"089", "025"};
    f.ExtCoverPremiums = {"10.00", "20.00"};
    f.ExtCoverSumInsured = {"1,000.00", ""};
    ws().record.Previous.ExpiryDate = "31-Dec-2013";
  }
  Workspace& ws() { return world.workspace; }
  void CalculateV10() { ComputePremiumV10(ws(), world.window(), *world.page); }
  testing::WorkspaceWorld world{dom::Document::Parse("<html></html>"),
                                testing::At(2014, 3, 5, 12)};
};

// A short or unreadable reply stores nothing: in the golden premium status scenario.
TEST_F(ComputeTest, AWholeReplyIsStored) {
  ws().record.Current.TransactionType = "N";
  ws().record.Current.CoverType = "MOTORCYCLE";
  world.fakes.backend.AnswerAny(
      "Tarvin.Premium.ComputeV10",
      Reply(27, {{2, "1234.5"}, {9, "50"}, {17, "1500"}, {22, "\xEF\xBF\xBD" "33.3"}}));
  CalculateV10();
  const CoverNoteFields& f = ws().record.Current;
  // The plain command always keeps the excess as it stands; the code follows it.
  EXPECT_EQ((std::vector<std::string>{f.TariffPremium, f.TotalPremium, f.ExcessAmount,
                                      f.ExcessCode, f.TotalExtSumInsured}),
            (std::vector<std::string>{"1,234.50", "1,500.00", "", "", "1,000.00"}));
  EXPECT_EQ(f.ExtCoverPremiums, (std::vector<std::string>{"10.00", "33.30"}));
  EXPECT_EQ(ws().premium.ComputeStatus, 0);
}

TEST_F(ComputeTest, ASumInsuredRefusedAwayFromThePremiumTabWaitsForIt) {
  ws().record.Current.TransactionType = "N";
  ws().page.CurrentTabId = "";  // a tab with nothing to take into the record
  ws().page.CurrentPremiumTabId = "COVPrem";
  world.fakes.field_rules.sum_insured_message = "Too high";
  CalculateV10();
  EXPECT_EQ(ws().page.PendingTabCommand, "COVPrem;FocusVehicleSumInsured;Too high");
  EXPECT_TRUE(world.fakes.backend.ParametersSent("Tarvin.Premium.ComputeV10").empty());
}

}  // namespace
}  // namespace cn
