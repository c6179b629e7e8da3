// The premium: the rating factors sent to the engines (the values derived from the cover note and
// the positions where typed figures, the trailer and the extended covers change what is sent),
// how the plain engine's reply is stored, and the old-tariff tab's pending focus and cover
// removal. Which engine goes out for each transaction type, what each type opens, the flags
// typing sets and the checks of typed figures are pinned by the golden premium scenarios.

#include <gtest/gtest.h>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "pages/premium/cnaa_prm.h"
#include "pages/premium/premium_compute.h"
#include "pages/premium/premium_factors.h"
#include "pages/premium/premium_requests.h"
#include "replies.h"
#include "tables/ext_cover.h"
#include "workspace_world.h"

namespace cn {
namespace {

using Texts = std::vector<std::string>;

const Date kToday = *Date::FromYmd(2014, 3, 5);

// A registered vehicle's factors are in every golden premium scenario; these are not.
TEST(PremiumFactors, AVehicleNotYetRegisteredIsRatedFromToday) {
  CoverNoteFields unregistered, logbook_pending;
  unregistered.VehicleNo = "TBA";
  std::tie(logbook_pending.VehicleNo, logbook_pending.CoverType, logbook_pending.LogBookNo) =
      std::tuple("WXY1", "COMMERCIAL", "tba");

  // Without both dates: a year from today.
  const auto period = PeriodRated(unregistered, "TBA", kToday);
  EXPECT_EQ((Texts{period.start, period.end}), (Texts{"05-Mar-2014", "04-Mar-2015"}));
  // The placeholder is compared as written.
  EXPECT_EQ(PeriodRated(unregistered, "tba", kToday).start, "");
  EXPECT_EQ(YearMadeRated(unregistered, "tba", kToday) + YearMadeRated(logbook_pending, "TBA", kToday) + "/" +
                VehicleAge("", kToday) + "/" + AgeAtCover("", "01-Jan-2014") + "/" + DrivingYears("", kToday),
            "20142014//26/0");
  EXPECT_THROW(PlainAmount("12a"), RuntimeFailure);
  EXPECT_THROW(RatedDate("31-Feb-2014"), RuntimeFailure);
}

class PremiumRequestTest : public ::testing::Test {
 protected:
  PremiumRequestTest() {
    world.workspace.identity.CurrentAgentCode = "AG001";
    world.workspace.startup.SystemCodes = {{1031, "TBA"}, {1026, "10.00"}};
    // clang-format off
    testing::SetFields(world.workspace.record, {{"VehicleNo", "WXY1234"}, {"EffectiveDate", "10-Mar-2014"},
        {"ExpiryDate", "09-Mar-2015"}, {"YearMade", "2010"}, {"StampDuty", "5.00"}, {"LoadPercentage", "20"},
        {"TariffPremium", "1,200.00"}, {"DriverNames", "THE INSURED##AHMAD"}, {"ExtCoverCodes", "089#025"},
        {"ExtCoverMethods", "S#P"}});
    // clang-format on
  }
  Texts Build(FactorLayout layout, std::vector<bool> typed = {}) {
    typed_ = std::move(typed);
    const FactorSource source{world.workspace.record.Current, typed_, world.workspace, kToday};
    return Split(BuildFactors(layout, source), FieldSeparator);
  }
  testing::WorkspaceWorld world{dom::Document::Parse("<html></html>"), testing::At(2014, 3, 5, 12)};
  std::vector<bool> typed_;
};

// The factors at `positions`.
Texts At(const Texts& factors, std::initializer_list<std::size_t> positions) {
  Texts picked;
  for (const std::size_t position : positions) picked.push_back(factors.at(position));
  return picked;
}

TEST_F(PremiumRequestTest, WhatTheAdministratorTypedIsSentOnlyWhenTyped) {
  // Agent, start of cover, loading, tariff premium, stamp duty, excess, driver rows, methods,
  // and the count at the end; -1 where nothing was typed, the default stamp duty.
  const std::initializer_list<std::size_t> positions = {2, 8, 14, 21, 32, 42, 22, 24, 50};
  Texts v10 = Build(CurrentEngineFactors());
  ASSERT_EQ(v10.size(), 51u);
  EXPECT_EQ(At(v10, positions),
            (Texts{"AG001", "10-Mar-2014", "-1", "-1", "10.00", "-1", "3", "S\xEF\xBF\xBDP", "4"}));

  PremiumState& typed = world.workspace.premium;
  typed.LoadPercentageEntered = typed.TariffPremiumEntered = typed.StampDutyEntered = typed.ExcessEntered = true;
  v10 = Build(CurrentEngineFactors(), {false, true});
  // The excess typed but empty goes as an empty field.
  EXPECT_EQ(At(v10, {14, 21, 32, 42, 24}), (Texts{"20", "1200", "5.00", "", "S\xEF\xBF\xBD-1"}));

  // The amended engine counts only drivers with a name.
  const Texts ex = Build(CurrentEngineAmendedFactors(), {false, true});
  ASSERT_EQ(ex.size(), 45u);
  EXPECT_EQ(At(ex, {7, 16, 19, 24}), (Texts{"2", "0", "0", "1\xEF\xBF\xBD" "0"}));
  EXPECT_EQ((std::vector<std::size_t>{Build(NewTariffFactors()).size(), Build(NewTariffPreviousFactors()).size(),
                                      Build(CurrentEnginePreviousFactors()).size()}),
            (std::vector<std::size_t>{44, 51, 57}));
}

// The trailer flag differs by engine; an amount that is not a number sends nothing.
TEST_F(PremiumRequestTest, TheTrailerFlagDiffersByEngine) {
  CoverNoteFields& f = world.workspace.record.Current;
  for (const auto& [trailer, v10, ex] : {std::tuple{"", "0", "0"}, {"TR 1", "-1", "1"}, {" ", "0", "1"}}) {
    f.TrailerNo = trailer;
    EXPECT_EQ(Build(CurrentEngineFactors())[6] + "/" + Build(CurrentEngineAmendedFactors())[8],
              std::string(v10) + "/" + ex);
  }
  f.VehicleSumInsured = "ten thousand";
  EXPECT_THROW(Build(CurrentEngineFactors()), RuntimeFailure);
}

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
    // clang-format off
    testing::SetFields(ws().record, {{"VehicleNo", "WXY1234"}, {"Capacity", "1,500.00"}, {"CapacityUOM", "C"},
        {"SeatingCapacity", "5"}, {"YearMade", "2010"}, {"TransactionType", "N"}, {"VehicleSumInsured", "30,000.00"},
        {"EffectiveDate", "10-Mar-2014"}, {"ExpiryDate", "09-Mar-2015"}, {"ExtCoverCodes", "089#025"},
        {"ExtCoverPremiums", "10.00#20.00"}, {"ExtCoverSumInsured", "1,000.00#"}});
    // clang-format on
    ws().record.Previous.Change([](CoverNoteFields& fields) { fields.ExpiryDate = "31-Dec-2013"; });
  }
  Workspace& ws() { return world.workspace; }
  void CalculateV10() { ComputePremiumV10(ws(), world.window(), *world.page); }
  testing::WorkspaceWorld world{dom::Document::Parse("<html></html>"), testing::At(2014, 3, 5, 12)};
};

// A short or unreadable reply stores nothing: in the golden premium status scenario.
TEST_F(ComputeTest, AWholeReplyIsStored) {
  ws().record.Current.CoverType = "MOTORCYCLE";
  ws().record.Current.ExcessAmount = "100.00";
  world.fakes.backend.AnswerAny("Tarvin.Premium.ComputeV10",
                                Reply(27, {{2, "1234.5"}, {9, "50"}, {17, "1500"}, {22, "\xEF\xBF\xBD" "33.3"}}));
  CalculateV10();
  const CoverNoteFields& f = ws().record.Current;
  // The plain command always keeps the excess as it stands; the code follows it.
  EXPECT_EQ((Texts{f.TariffPremium, f.TotalPremium, f.ExcessAmount, f.ExcessCode, f.TotalExtSumInsured}),
            (Texts{"1,234.50", "1,500.00", "100.00", "MC", "1,000.00"}));
  EXPECT_EQ(Join(f.ExtCoverPremiums, ",") + std::to_string(ws().premium.ComputeStatus), "10.00,33.300");
}

// Only a referred risk can be amended: the engine's saying so is told only of any other.
TEST_F(ComputeTest, AReferredRiskIsToldOnlyOfACoverNoteNotReadAsOne) {
  world.fakes.backend.AnswerAny("Tarvin.Premium.ComputeV10", Reply(27, {}), 2);
  for (const auto& [status, told] : {std::pair{"R", 0u}, std::pair{"I", 1u}}) {
    ws().record.Current.CoverNoteStatus = status;
    world.dialogs->boxes.clear();
    CalculateV10();
    EXPECT_EQ(world.dialogs->boxes.size(), told) << status;
  }
}

TEST_F(ComputeTest, ASumInsuredRefusedAwayFromThePremiumTabWaitsForIt) {
  ws().page.CurrentTabId = "";  // a tab with nothing to take into the record
  ws().page.CurrentPremiumTabId = "COVPrem";
  world.fakes.field_rules.sum_insured_message = "Too high";
  CalculateV10();
  EXPECT_EQ(ws().page.PendingTabCommand, "COVPrem;FocusVehicleSumInsured;Too high");
  EXPECT_TRUE(world.fakes.backend.ParametersSent("Tarvin.Premium.ComputeV10").empty());
}

class PremiumTabTest : public ::testing::Test {
 protected:
  // Loads the tab on a new cover note, `prepare` changing the workspace first.
  void Load(const std::function<void(Workspace&)>& prepare = {}) {
    world_ = std::make_unique<testing::WorkspaceWorld>(
        dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) + "/CNAAPrm.htm"),
        testing::At(2014, 3, 5, 12));
    world_->SetSystemCodes({{"1001", "ACT"}, {"1026", "10.00"}, {"1031", "TBA"}});
    Workspace& ws = world_->workspace;
    ws.page.ExtendedCoverDetails = {testing::Entry("WS", "WINDSCREEN")};
    ws.premium.NCDList = {testing::Entry("0", "0")};
    testing::SetFields(ws.record, {{"TransactionType", "N"}, {"ClassCode", "A1"}, {"MotorCoverCode", "COMP"},
                                   {"TrailerNo", "JKL1"}, {"CoverType", "PRIVATE"}, {"DriverNames", ""}});
    if (prepare) prepare(ws);
    page_ = std::make_unique<CNAAPrm>(ws, world_->page);
    page_->Load();
  }
  dom::Element& Get(std::string_view id) const { return world_->Get(id); }

  std::unique_ptr<testing::WorkspaceWorld> world_;
  std::unique_ptr<Page> page_;
};

TEST_F(PremiumTabTest, ASumInsuredRefusedByCalculateIsShownAtItsInput) {
  Load([](Workspace& ws) { ws.page.PendingTabCommand = "COVPrem;FocusTrailerSumInsured;Sum insured too low"; });
  EXPECT_EQ(world_->dialogs->boxes, (std::vector<testing::ShownBox>{{"Sum insured too low", 48, "Invalid Data"}}));
  EXPECT_EQ(Get("txtTrailerSumInsured").Value() + world_->workspace.page.PendingTabCommand, "0.00");
  EXPECT_EQ(world_->page->ActiveElement().get(), &Get("txtTrailerSumInsured"));
}

TEST_F(PremiumTabTest, RemovingACoverAsksFirstAndHidesTheLinkWhateverTheAnswer) {
  Load();
  for (int twice = 0; twice < 2; ++twice) Get("lnkExtAdd").Click();
  world_->fakes.messages.answer = 2;  // Cancel
  Get("lnkExtDelete").Click();
  EXPECT_EQ(world_->fakes.messages.shown.back().number, 1210004);
  EXPECT_EQ(world_->workspace.premium_tab.ExtCoverTable->last_row_index(), 1);
  EXPECT_EQ(Get("lnkExtDelete").GetStyle("visibility"), "hidden");
  world_->fakes.messages.answer = 1;
  Get("lnkExtDelete").Click();
  EXPECT_EQ(world_->workspace.premium_tab.ExtCoverTable->last_row_index(), 0);
}

}  // namespace
}  // namespace cn
