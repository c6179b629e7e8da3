// The premium tabs: what each transaction type opens and locks at load, the "entered"
// flags typing sets and clears, the pending focus of a refused sum insured, the checks of
// typed figures and the extended-cover links.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "pages/premium/cnaa_nprm.h"
#include "pages/premium/cnaa_prm.h"
#include "replies.h"
#include "tables/ext_cover.h"
#include "workspace_world.h"

namespace cn::testing {
namespace {

class PremiumTabTest : public ::testing::Test {
 protected:
  // Loads the page file of `tab_id` on a new cover note of transaction type `type`.
  void Load(std::string_view tab_id, std::string_view type,
            const std::function<void(Workspace&)>& prepare = {}) {
    const bool new_tariff = tab_id == "COVNPrem";
    world_ = std::make_unique<WorkspaceWorld>(
        dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) +
                            (new_tariff ? "/CNAANPrm.htm" : "/CNAAPrm.htm")),
        At(2014, 3, 5, 12));
    world_->SetSystemCodes({{"1001", "ACT"}, {"1026", "10.00"}, {"1031", "TBA"}});
    Workspace& ws = world_->workspace;
    ws.page.ExtendedCoverDetails = {Entry("WS", "WINDSCREEN")};
    ws.premium.NCDList = {Entry("0", "0")};
    CoverNoteFields& f = ws.record.Current;
    f.TransactionType = std::string(type);
    f.ClassCode = "A1";
    f.MotorCoverCode = "COMP";
    f.TrailerNo = "JKL1";
    f.CoverType = "PRIVATE";
    f.DriverNames = {""};
    if (prepare) prepare(ws);
    if (new_tariff) {
      page_ = std::make_unique<CNAANPrm>(ws, world_->page);
    } else {
      page_ = std::make_unique<CNAAPrm>(ws, world_->page);
    }
    page_->Load();
  }
  dom::Element& Get(std::string_view id) const { return world_->Get(id); }
  PremiumState& Flags() const { return world_->workspace.premium; }
  void Fire(std::string_view id, std::string_view event) { Get(id).FireEvent(event); }

  std::unique_ptr<WorkspaceWorld> world_;
  std::unique_ptr<Page> page_;
};

TEST_F(PremiumTabTest, EachTransactionTypeOpensAndLocksItsOwnFields) {
  struct Case {
    std::string_view type;
    bool stamp_duty_locked, other_charges_locked, sums_locked, trailer_locked, links_shown;
    bool stamp_duty_entered;
  };
  constexpr Case kCases[] = {
      {"N", false, false, false, false, true, false},
      {"R", false, false, false, false, true, false},
      {"D", false, false, true, true, false, false},
      {"E", false, false, true, true, false, false},
      {"M", true, true, true, true, true, false},
      {"I", true, true, false, false, true, true},
      {"T", false, false, true, true, true, false},
      {"P", true, false, false, false, true, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.type));
    Load("COVPrem", c.type);
    EXPECT_EQ(Get("txtStampDuty").ReadOnly(), c.stamp_duty_locked);
    EXPECT_EQ(Get("txtOtherCharges").ReadOnly(), c.other_charges_locked);
    EXPECT_EQ(Get("txtVehicleSumInsured").ReadOnly(), c.sums_locked);
    EXPECT_EQ(Get("txtTrailerSumInsured").ReadOnly(), c.trailer_locked);
    EXPECT_EQ(Get("lnkExtAdd").GetStyle("display") != "none", c.links_shown);
    EXPECT_EQ(Flags().StampDutyEntered, c.stamp_duty_entered);
  }
  // A cover that rates no sum insured.
  Load("COVPrem", "N", [](Workspace& ws) { ws.record.Current.MotorCoverCode = "ACT"; });
  EXPECT_TRUE(Get("txtVehicleSumInsured").ReadOnly());
  // An unregistered trailer on a "P" note: no tariff premium, charges open.
  Load("COVPrem", "P", [](Workspace& ws) { ws.record.Current.TrailerNo = "TBA"; });
  EXPECT_TRUE(Flags().TariffPremiumEntered);
  EXPECT_EQ(world_->workspace.record.Current.StampDuty, "0");
  EXPECT_FALSE(Get("txtStampDuty").ReadOnly());
  // The new-tariff tab locks the sums of a transfer and hides the links.
  Load("COVNPrem", "T");
  EXPECT_TRUE(Get("txtVehicleSumInsured").ReadOnly());
  EXPECT_EQ(Get("lnkExtDelete").GetStyle("display"), "none");
  EXPECT_EQ(world_->workspace.page.CurrentPremiumTabId, "COVNPrem");
  EXPECT_EQ(world_->shell->scripts.front(), "EnableCmdButton('cmdCalculate', true)");
}

TEST_F(PremiumTabTest, TypingMarksTheFiguresTheNextComputationSendsAsTyped) {
  using Flag = bool PremiumState::*;
  struct Case {
    std::string_view tab, element, event;
    Flag flag;
    bool before, after;
  };
  const Case kCases[] = {
      {"COVPrem", "txtLoadPercentage", "onkeypress", &PremiumState::LoadPercentageEntered, false,
       true},
      {"COVPrem", "txtExcessAmount1", "onkeypress", &PremiumState::ExcessEntered, false, true},
      {"COVPrem", "txtStampDuty", "onblur", &PremiumState::StampDutyEntered, false, true},
      {"COVPrem", "txtVehicleSumInsured", "onkeypress", &PremiumState::TariffPremiumEntered, true,
       false},
      {"COVPrem", "txtTrailerSumInsured", "onkeypress", &PremiumState::ExcessEntered, true, false},
      {"COVPrem", "cboNCDYear", "onchange", &PremiumState::FactorsChangedNewTariff, false, false},
      {"COVNPrem", "cboNCDYear", "onchange", &PremiumState::FactorsChangedNewTariff, false, true},
      {"COVNPrem", "cboNCDYear", "onchange", &PremiumState::BasicPremiumEntered, true, false},
      {"COVNPrem", "txtBasicPremium", "onkeypress", &PremiumState::BasicPremiumEntered, false,
       true},
      {"COVNPrem", "txtTariffPremium", "onkeypress", &PremiumState::FactorsChangedNewTariff, false,
       true},
      {"COVNPrem", "txtServiceTaxPercentage", "onblur", &PremiumState::FactorsChangedNewTariff,
       false, true},
      {"COVNPrem", "txtVehicleSumInsured", "onkeypress", &PremiumState::BasicPremiumEntered, true,
       false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.tab) + " " + std::string(c.element));
    Load(c.tab, "N");
    Flags().*c.flag = c.before;
    Fire(c.element, c.event);
    EXPECT_EQ(Flags().*c.flag, c.after);
  }
}

TEST_F(PremiumTabTest, ASumInsuredRefusedByCalculateIsShownAtItsInput) {
  Load("COVPrem", "N", [](Workspace& ws) {
    ws.page.PendingTabCommand = "COVPrem;FocusTrailerSumInsured;Sum insured too low";
  });
  EXPECT_EQ(world_->dialogs->boxes,
            (std::vector<ShownBox>{{"Sum insured too low", 48, "Invalid Data"}}));
  EXPECT_EQ(Get("txtTrailerSumInsured").Value(), "0.00");
  EXPECT_EQ(world_->page->ActiveElement().get(), &Get("txtTrailerSumInsured"));
  EXPECT_TRUE(world_->workspace.page.PendingTabCommand.empty());
}

TEST_F(PremiumTabTest, RefusedFiguresGiveWayToTheLastAcceptedAndNeverReachTheRecord) {
  Load("COVPrem", "N", [](Workspace& ws) {
    ws.record.Current.VehicleSumInsured = "30000";
    ws.record.Current.LoadPercentage = "10";
  });
  world_->fakes.field_rules.sum_insured_message = "Above the limit of the class";
  Get("txtVehicleSumInsured").SetValue("0.00");
  Fire("txtVehicleSumInsured", "onblur");  // nothing to check
  Get("txtVehicleSumInsured").SetValue("900000");
  Fire("txtVehicleSumInsured", "onblur");
  EXPECT_EQ(world_->fakes.field_rules.asked, (std::vector<std::string>{"CheckSumInsured 900000"}));
  EXPECT_EQ(world_->dialogs->boxes.back().prompt, "Above the limit of the class");
  EXPECT_EQ(Get("txtVehicleSumInsured").Value(), "30,000.00");
  world_->fakes.field_rules.sum_insured_message = "";
  Get("txtVehicleSumInsured").SetValue("45000");
  Fire("txtVehicleSumInsured", "onblur");
  EXPECT_EQ(Get("txtVehicleSumInsured").Value(), "45,000.00");
  world_->fakes.input_checks.amount.answer = {"Not an amount", "Invalid Data", false};
  Get("txtVehicleSumInsured").SetValue("45k");
  Fire("txtVehicleSumInsured", "onblur");
  EXPECT_EQ(Get("txtVehicleSumInsured").Value(), "45,000.00");

  world_->fakes.field_rules.percentage_message = "Loading above 250%";
  Get("txtLoadPercentage").SetValue("300");
  Fire("txtLoadPercentage", "onblur");
  EXPECT_EQ(world_->dialogs->boxes.back().prompt, "Loading above 250%");
  EXPECT_EQ(Get("txtLoadPercentage").Value(), "10");
  world_->fakes.input_checks.percentage.answer = {"Not a percentage", "Invalid Data", false};
  Fire("txtLoadPercentage", "onblur");
  EXPECT_EQ(Get("txtLoadPercentage").Value(), "10");
  EXPECT_EQ(world_->workspace.record.Current.VehicleSumInsured, "30000");

  Get("txtExcessAmount1").SetValue("1234.5");
  Fire("txtExcessAmount1", "onblur");
  EXPECT_EQ(Get("txtExcessAmount1").Value(), "1,235");
}

TEST_F(PremiumTabTest, TrailerWithoutPremiumZeroesAndLocksTariffAndStampDuty) {
  Load("COVPrem", "N");
  Get("txtTariffPremium").SetValue("250.00");
  Get("chkTrailerNP").Click();
  EXPECT_TRUE(Flags().TrailerNPChecked && Flags().TariffPremiumEntered && Flags().StampDutyEntered);
  EXPECT_EQ(Get("txtTariffPremium").Value(), "0");
  EXPECT_TRUE(Get("txtStampDuty").ReadOnly());
  Get("chkTrailerNP").Click();
  EXPECT_EQ(Get("txtStampDuty").Value(), "10.00");
  EXPECT_EQ(Get("txtTariffPremium").Value(), "0");
  EXPECT_FALSE(Get("txtTariffPremium").ReadOnly());
}

TEST_F(PremiumTabTest, RemovingACoverAsksFirstAndHidesTheLinkWhateverTheAnswer) {
  Load("COVPrem", "N");
  Get("lnkExtAdd").Click();
  Get("lnkExtAdd").Click();
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
}  // namespace cn::testing
