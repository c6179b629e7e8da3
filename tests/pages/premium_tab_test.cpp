// The premium tabs: the new-tariff "entered" flags typing sets and clears, the pending focus
// of a refused sum insured and the extended-cover links. What each transaction type opens and
// the old-tariff figures are pinned by the premium tab scenarios.
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

TEST_F(PremiumTabTest, TypingMarksTheFiguresTheNextComputationSendsAsTyped) {
  using Flag = bool PremiumState::*;
  struct Case {
    std::string_view tab, element, event;
    Flag flag;
    bool before, after;
  };
  const Case kCases[] = {
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
