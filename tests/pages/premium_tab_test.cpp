// The old-tariff premium tab: the pending focus of a sum insured Calculate refused and the
// removal of an extended cover. What each transaction type opens, the flags typing sets and
// the checks of typed figures are pinned by the premium tab scenarios.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "pages/premium/cnaa_prm.h"
#include "replies.h"
#include "tables/ext_cover.h"
#include "workspace_world.h"

namespace cn::testing {
namespace {

class PremiumTabTest : public ::testing::Test {
 protected:
  // Loads the tab on a new cover note, `prepare` changing the workspace first.
  void Load(const std::function<void(Workspace&)>& prepare = {}) {
    world_ = std::make_unique<WorkspaceWorld>(
        dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) + "/CNAAPrm.htm"), At(2014, 3, 5, 12));
    world_->SetSystemCodes({{"1001", "ACT"}, {"1026", "10.00"}, {"1031", "TBA"}});
    Workspace& ws = world_->workspace;
    ws.page.ExtendedCoverDetails = {Entry("WS", "WINDSCREEN")};
    ws.premium.NCDList = {Entry("0", "0")};
    CoverNoteFields& f = ws.record.Current;
    f.TransactionType = "N";
    f.ClassCode = "A1";
    f.MotorCoverCode = "COMP";
    f.TrailerNo = "JKL1";
    f.CoverType = "PRIVATE";
    f.DriverNames = {""};
    if (prepare) prepare(ws);
    page_ = std::make_unique<CNAAPrm>(ws, world_->page);
    page_->Load();
  }
  dom::Element& Get(std::string_view id) const { return world_->Get(id); }

  std::unique_ptr<WorkspaceWorld> world_;
  std::unique_ptr<Page> page_;
};

TEST_F(PremiumTabTest, ASumInsuredRefusedByCalculateIsShownAtItsInput) {
  Load([](Workspace& ws) {
    ws.page.PendingTabCommand = "COVPrem;FocusTrailerSumInsured;Sum insured too low";
  });
  EXPECT_EQ(world_->dialogs->boxes,
            (std::vector<ShownBox>{{"Sum insured too low", 48, "Invalid Data"}}));
  EXPECT_EQ(Get("txtTrailerSumInsured").Value(), "0.00");
  EXPECT_EQ(world_->page->ActiveElement().get(), &Get("txtTrailerSumInsured"));
  EXPECT_TRUE(world_->workspace.page.PendingTabCommand.empty());
}

TEST_F(PremiumTabTest, RemovingACoverAsksFirstAndHidesTheLinkWhateverTheAnswer) {
  Load();
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
