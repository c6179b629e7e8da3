// The Vehicle tab: its load, its field checks, the selection of model and body and the
// named-person links.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "vehicle_tab_fixture.h"

namespace cn::testing {
namespace {

// With the local table the unit list never goes to the back end.
TEST_F(VehicleTabTest, UnitListComesFromTheLocalTableWhenSetSo) {
  world_.workspace.lookup.UseLocalTable = "1";
  world_.workspace.record.Current.ClassCode = "C3";
  LoadPage();
  EXPECT_EQ(SentCount("Tarvin.Find.BrowseUOM"), 0);
  EXPECT_THAT(world_.fakes.local_table.calls, ::testing::Contains("GetUOMList C3"));
}

TEST_F(VehicleTabTest, HazardAndCommercialBlockOnlyForCommercialCover) {
  LoadPage([](dom::Document& page) { page.GetElementById("optHazardYes")->SetChecked(true); });
  EXPECT_TRUE(Find("optHazardNo").Checked());
  EXPECT_EQ(Find("tblCommVeh").GetStyle("display"), "none");

  world_.workspace.record.Current.CoverType = "COMMERCIAL";
  world_.workspace.record.Current.Hazard = "1";
  LoadPage();
  EXPECT_TRUE(Find("optHazardYes").Checked());
  EXPECT_EQ(Find("tblCommVeh").GetStyle("display"), "");
}

TEST_F(VehicleTabTest, MakeChangeEmptiesWhatCameWithTheModel) {
  LoadPage();
  Find("txtModel").SetValue("SAGA");
  Find("cboVehicleUOMCode").SetValue("C");
  Find("cboVehicleMakeCode").SetValue("TOY");
  Find("cboVehicleMakeCode").FireEvent("onchange");
  EXPECT_EQ(world_.workspace.record.Current.VehicleMakeCode, "TOY");
  EXPECT_EQ(Find("txtModel").Value(), "");
  EXPECT_EQ(Find("cboVehicleUOMCode").Value(), "");
  EXPECT_EQ(Find("txtCapacity").Value(), "0.00");
  EXPECT_TRUE(world_.workspace.premium.FactorsChangedNewTariff);
}

TEST_F(VehicleTabTest, CapacityIsWholeForCubicCentimetres) {
  LoadPage();
  const struct {
    const char* unit;
    const char* typed;
    const char* shown;
  } cases[] = {{"C", "1598", "1,598"}, {"C", "1597.6", "1,598"}, {"T", "2.5", "2.50"}};
  for (const auto& c : cases) {
    Find("cboVehicleUOMCode").SetValue(c.unit);
    Find("txtCapacity").SetValue(c.typed);
    Find("txtCapacity").FireEvent("onblur");
    EXPECT_EQ(Find("txtCapacity").Value(), c.shown) << c.unit << " " << c.typed;
    Find("txtCapacity").SetValue(c.typed);
    Find("cboVehicleUOMCode").FireEvent("onblur");
    EXPECT_EQ(Find("txtCapacity").Value(), c.shown) << c.unit << " " << c.typed;
  }
}

TEST_F(VehicleTabTest, RefusedCapacityAndSeats) {
  LoadPage();
  world_.fakes.field_rules.capacity_message = "Capacity out of range";
  Find("cboVehicleUOMCode").SetValue("T");
  Find("txtCapacity").SetValue("99999");
  Find("txtCapacity").FireEvent("onblur");
  EXPECT_EQ(Find("txtCapacity").Value(), "1.00");

  world_.fakes.field_rules.seating_message = "Too many seats";
  Find("txtSeatingCapacity").SetValue("120");
  Find("txtSeatingCapacity").FireEvent("onblur");
  EXPECT_EQ(Find("txtSeatingCapacity").Value(), "");

  EXPECT_EQ(world_.dialogs->boxes,
            (std::vector<ShownBox>{{"Capacity out of range", 48, "Invalid Data"},
                                   {"Too many seats", 48, "Invalid Data"}}));
}

TEST_F(VehicleTabTest, ModelTypedForTheCheckedMakeFillsTheVehicle) {
  world_.SetSystemCodes({{"1034", "PRO"}});
  LoadPage();
  world_.fakes.backend.Answer("KivoInsurance.Validation.VehicleModel", "WIRA",
                              Fields({"PRO", "M77", "WIRA 1.5", "1468", "C", "SALOON", "5"}));
  Find("cboVehicleMakeCode").SetValue("TOY");
  Find("txtModel").SetValue("WIRA");
  Find("txtModel").FireEvent("onblur");
  EXPECT_EQ(SentCount("KivoInsurance.Validation.VehicleModel"), 0);

  Find("cboVehicleMakeCode").SetValue("PRO");
  Find("txtModel").FireEvent("onblur");
  EXPECT_EQ(world_.workspace.record.Current.ModelCode, "M77");
  EXPECT_EQ(Find("txtModel").Value(), "WIRA 1.5");
  EXPECT_EQ(Find("txtCapacity").Value(), "1,468.00");
  EXPECT_EQ(Find("txtSeatingCapacity").Value(), "5");
}

class VehicleSearchTest : public VehicleTabTest {
 protected:
  VehicleSearchTest() {
    folder_ = std::filesystem::temp_directory_path() /
              ("covernote-vehicle-search-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    world_.fakes.registry.values[{"Software\\Brindle\\Kivo\\Zelkor", "Installation Path"}] =
        folder_.string();
  }
  ~VehicleSearchTest() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

TEST_F(VehicleSearchTest, ModelAndBodyChosenInTheDialogFillRecordAndPage) {
  world_.workspace.lists.BodyTypeListText = Records({Fields({"01", "SALOON"})});
  LoadPage();
  Find("cboVehicleMakeCode").SetValue("PRO");
  Find("txtModel").SetValue("S");
  // Too many models: the person is asked to narrow the search and no dialog opens.
  world_.fakes.backend.Answer("Tarvin.Find.FindVehicleModel", "PRO\xEF\xBF\xBBS", "", 2);
  Find("cmdSelectModel").FireEvent("onclick");
  EXPECT_EQ(world_.dialogs->boxes,
            (std::vector<ShownBox>{{"Please refine your select constrains. Tips: use [Iswara 1.3] "
                                    "instead of [Proton].",
                                    64, "Select Model"}}));
  EXPECT_TRUE(world_.dialogs->dialogs.empty());

  Find("txtModel").SetValue("");
  world_.fakes.backend.AnswerAny(
      "Tarvin.Find.FindVehicleModel",
      Records({Fields({"M01", "SAGA 1.3", "1298", "C", "SALOON", "5"}),
               Fields({"M02", "WAJA 1.6", "1597", "C", "SALOON", "5"})}));
  world_.dialogs->dialog_result = "True;M02";
  Find("cmdSelectModel").FireEvent("onclick");
  ASSERT_EQ(world_.dialogs->dialogs.size(), 1u);
  EXPECT_EQ(world_.dialogs->dialogs[0].url, "dlgSrch.htm");
  EXPECT_EQ(world_.dialogs->dialogs[0].argument, "SearchModel");
  EXPECT_EQ(world_.workspace.record.Current.ModelCode, "M02");
  EXPECT_EQ(world_.workspace.record.Current.Capacity, "1,597.00");
  EXPECT_EQ(Find("txtModel").Value(), "WAJA 1.6");
  EXPECT_TRUE(std::filesystem::exists(folder_ / "Temp" / "mySelect.txt"));

  // A dialog closed without a choice changes nothing.
  world_.dialogs->dialog_result = "False;01;SALOON";
  Find("cmdSelectBody").FireEvent("onclick");
  Find("txtBody").SetValue("");
  Find("cmdSelectBody").FireEvent("onclick");
  EXPECT_EQ(Find("txtBody").Value(), "");
  world_.dialogs->dialog_result = "True;01;SALOON";
  Find("cmdSelectBody").FireEvent("onclick");
  EXPECT_EQ(Find("txtBody").Value(), "SALOON");
  EXPECT_EQ(world_.dialogs->dialogs.back().argument, "SearchBody");
}

TEST_F(VehicleTabTest, RemovalAnsweredNoKeepsTheTableAndHidesTheLink) {
  LoadPage();
  // Row 0 shows the record's one (empty) stored driver.
  Find("lnkAddNPerson").FireEvent("onclick");
  Table().Add("SECOND", "", "", "", "M", "", "");
  ASSERT_TRUE(Row(2));
  Table().ExecuteTableCommand("cmdHighliteRow", "txtDrv{#,#}2");
  EXPECT_EQ(Find("lnkDeleteNPerson").GetStyle("visibility"), "visible");

  world_.dialogs->box_answers = {dom::message_box::kNo};
  Find("lnkDeleteNPerson").FireEvent("onclick");
  ASSERT_EQ(world_.dialogs->boxes.size(), 1u);
  EXPECT_EQ(world_.dialogs->boxes[0].title, "Remove row");
  EXPECT_TRUE(Row(2));
  EXPECT_EQ(Find("lnkDeleteNPerson").GetStyle("visibility"), "hidden");

  world_.dialogs->box_answers = {dom::message_box::kYes};
  Find("lnkDeleteNPerson").FireEvent("onclick");
  EXPECT_FALSE(Row(2));
  EXPECT_TRUE(Row(1));
}

TEST_F(VehicleTabTest, EnterOnTheAddLinkAddsARowAndUnloadReleasesTheTable) {
  LoadPage();
  dom::Event enter("keypress", document_->GetElementById("lnkAddNPerson"), 13);
  Find("lnkAddNPerson").FireEvent(enter);
  EXPECT_TRUE(Row(1));  // after the record's empty stored driver
  dom::Event other("keypress", document_->GetElementById("lnkAddNPerson"), 65);
  Find("lnkAddNPerson").FireEvent(other);
  EXPECT_FALSE(Row(2));
  page_->Unload();
  EXPECT_FALSE(world_.workspace.vehicle.DriverTable);
  EXPECT_FALSE(world_.workspace.vehicle.DeleteNPersonLink);
  page_.reset();
}

}  // namespace
}  // namespace cn::testing
