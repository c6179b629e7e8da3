// An id that names no tab reaches no transfer and changes neither the record nor the page;
// a motorcycle's excess code taken back from the premium tab.
#include "workspace/tab_transfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "replies.h"
#include "tables/ext_cover.h"
#include "workspace_world.h"

namespace cn {
namespace {

using testing::WorkspaceWorld;

TEST(TabTransfer, AnyOtherIdChangesNothing) {
  WorkspaceWorld world;
  world.workspace.record.Current.ClientName = "TAN";
  const CoverNoteRecord before = world.workspace.record;
  const std::string page_before = world.page->DocumentElement()->OuterHtml();
  for (const std::string_view id : {"", "covcover", "COVCover ", "cmdSave", "COVClaims"}) {
    EXPECT_EQ(FindTabTransfer(id), nullptr) << id;
    ShowRecordOnPage(world.workspace, id, *world.page);
    SavePageToRecord(world.workspace, id, *world.page);
  }
  EXPECT_EQ(world.workspace.record, before);
  EXPECT_EQ(world.page->DocumentElement()->OuterHtml(), page_before);
  EXPECT_TRUE(world.fakes.backend.sent().empty());
}

// Taking the premium tab back: the excess code of the cover type, the sums, the NCD of the
// chosen year and the short-period mark. Showing it, and a private cover's excess code, are in
// the golden premium scenarios; a motorcycle's excess code is only here.
TEST(PremiumTransfer, PageToRecordTakesTheTextsAndDerivedFields) {
  testing::WorkspaceWorld world(
      dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) + "/CNAAPrm.htm"),
      testing::At(2014, 3, 5, 12));
  world.fakes.backend.Answer("Tarvin.Find.FindNCD", "A1",
                             testing::CodeList({{"0", "0"}, {"1", "25"}, {"2", "30"}}));
  Workspace& ws = world.workspace;
  CoverNoteFields& f = ws.record.Current;
  f = {};
  for (const TextArray column : kExtCoverArrays) f.*column = {""};
  // clang-format off
  testing::SetFields(ws.record, {{"ClassCode", "A1"}, {"CoverType", "MOTORCYCLE"},
      {"ClientType", "P"}, {"TransactionType", "N"}, {"VehicleSumInsured", "30000"},
      {"NCDYear", "2"}, {"ShortCalculation", "S"}, {"DriverNames", ""}, {"ExtCoverCodes", "WS"},
      {"ExtCoverPremiums", "300"}, {"ExtUserPremiumMarks", "False"}});
  // clang-format on
  auto table = std::make_shared<ExtCover>(ws);
  ws.premium_tab.ExtCoverTable = table;
  const auto command = world.page->GetElementById("kvExecuteCommand");
  table->BuildHeader(command, world.page->GetElementById("divExtCoverHeader"));
  table->BuildUI(command, world.page->GetElementById("divExtCover"),
                 {testing::Entry("WS", "WINDSCREEN")});

  ShowRecordOnPage(ws, "COVPrem", *world.page);
  world.Get("txtExcessAmount1").SetValue("50");
  world.Get("txtTrailerSumInsured").SetValue("5,000.50");
  world.Get("cboNCDYear").SetValue("1");
  world.Get("chkShortCal").SetChecked(false);
  SavePageToRecord(ws, "COVPrem", *world.page);
  EXPECT_EQ((std::vector<std::string>{f.ExcessCode, f.TotalSumInsured, f.NCDPercentage,
                                      f.ShortCalculation}),
            (std::vector<std::string>{"MC", "35,000.50", "25", "P"}));
  EXPECT_TRUE(f.ExtCoverCodes == std::vector<std::string>{"WS"} && ws.premium.PremiumChangedV10);
}

}  // namespace
}  // namespace cn
