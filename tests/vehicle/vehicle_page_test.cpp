// The Vehicle tab: its load, its field checks, the selection of model and body and the
// named-person links.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "vehicle_tab_fixture.h"

namespace cn::testing {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs OptionsOf(dom::Element& select) {
  Pairs options;
  for (const auto& option : select.Options().ToVector()) {
    options.emplace_back(option->Value(), option->Text());
  }
  return options;
}

TEST_F(VehicleTabTest, AfterLoadEveryVehicleFieldIsReadOnlyAndTheActionsHidden) {
  LoadPage();
  for (const char* id :
       {"txtGoodsDescription", "txtMPUW", "txtMPLW", "txtBody", "txtCapacity", "txtChassisNumber",
        "txtColor", "txtEngineNumber", "txtLogBookNumber", "txtModel", "txtNoOfClaims",
        "txtSeatingCapacity", "txtTrChassisNo", "txtMaintenanceFrom", "txtMaintenanceTo"}) {
    EXPECT_TRUE(Find(id).ReadOnly()) << id;
    EXPECT_EQ(Find(id).GetStyle("backgroundColor"), "buttonface") << id;
  }
  for (const char* id :
       {"cboLockType", "cboSafetyFeature", "cboVehicleMakeCode", "cboVehicleUOMCode",
        "cboSecurityDevice", "chkGSLock", "optHazardNo", "optHazardYes", "optCGNo", "optCGYes",
        "optCPNo", "optCPYes", "optHRNo", "optHRYes"}) {
    EXPECT_TRUE(Find(id).Disabled()) << id;
  }
  for (const char* id : {"cmdSelectBody", "cmdSelectModel", "lnkAddNPerson", "lnkDeleteNPerson"}) {
    EXPECT_EQ(Find(id).GetStyle("visibility"), "hidden") << id;
  }
  EXPECT_EQ(world_.workspace.page.CurrentTabId, "COVVeh");
  EXPECT_EQ(world_.shell->scripts,
            std::vector<std::string>{"EnableCmdButton('cmdCalculate', false)"});
  EXPECT_TRUE(document_->FindElementById("NpTbl"));
  EXPECT_EQ(Find("txtYearMade").MaxLength(), 4);
  EXPECT_EQ(Find("txtLogBookNumber").MaxLength(), 20);
}

TEST_F(VehicleTabTest, FixedAndLoadedLists) {
  LoadPage();
  EXPECT_EQ(OptionsOf(Find("cboLockType")), (Pairs{{"0", "None"},
                                                   {"2", "Immobiliser"},
                                                   {"1", "GPS"},
                                                   {"3", "Factory Fitted Alarm"},
                                                   {"9", "Others"}}));
  EXPECT_EQ(OptionsOf(Find("cboSafetyFeature")), (Pairs{{"99", "None Installed"},
                                                        {"01", "Driver's Side Airbags (1)"},
                                                        {"02", "Driver & Passenger Airbags (2)"},
                                                        {"03", "Airbags (more than 2)"},
                                                        {"04", "ABS (No Airbags)"},
                                                        {"05", "ABS & 1 Airbag"},
                                                        {"06", "ABS & 2 Airbags"},
                                                        {"07", "ABS & More than 2 Airbags"}}));
  EXPECT_EQ(OptionsOf(Find("cboVehicleMakeCode")), (Pairs{{"PRO", "PROTON"}, {"TOY", "TOYOTA"}}));
  EXPECT_EQ(OptionsOf(Find("cboVehicleUOMCode")), (Pairs{{"C", "CC"}, {"T", "TONNE"}}));
  EXPECT_EQ(OptionsOf(Find("cboSecurityDevice")), (Pairs{{"S1", "STEERING LOCK"}}));
}

TEST_F(VehicleTabTest, UnitListIsFetchedAgainOnlyForANewClass) {
  LoadPage();
  LoadPage();
  EXPECT_EQ(SentCount("Tarvin.Find.BrowseUOM"), 1);
  world_.workspace.record.Current.ClassCode = "B2";
  LoadPage();
  EXPECT_EQ(SentCount("Tarvin.Find.BrowseUOM"), 2);

  world_.workspace.lookup.UseLocalTable = "1";
  world_.workspace.record.Current.ClassCode = "C3";
  LoadPage();
  EXPECT_EQ(SentCount("Tarvin.Find.BrowseUOM"), 2);
  EXPECT_EQ(world_.fakes.local_table.calls, std::vector<std::string>{"GetUOMList C3"});
}

TEST_F(VehicleTabTest, HazardAndCommercialBlockOnlyForCommercialCover) {
  LoadPage([](dom::Document& page) { page.GetElementById("optHazardYes")->SetChecked(true); });
  EXPECT_TRUE(Find("optHazardNo").Checked());
  EXPECT_FALSE(Find("optHazardYes").Checked());
  EXPECT_EQ(Find("optHazardYes").GetStyle("visibility"), "hidden");
  EXPECT_EQ(Find("lblHazard").GetStyle("visibility"), "hidden");
  EXPECT_EQ(Find("tblCommVeh").GetStyle("display"), "none");

  world_.workspace.record.Current.CoverType = "COMMERCIAL";
  world_.workspace.record.Current.Hazard = "1";
  LoadPage();
  EXPECT_TRUE(Find("optHazardYes").Checked());
  EXPECT_EQ(Find("lblHazard").GetStyle("visibility"), "visible");
  EXPECT_EQ(Find("tblCommVeh").GetStyle("display"), "");
}

TEST_F(VehicleTabTest, MakeChangeEmptiesWhatCameWithTheModel) {
  LoadPage();
  Find("txtModel").SetValue("SAGA");
  Find("txtBody").SetValue("SALOON");
  Find("txtSeatingCapacity").SetValue("5");
  Find("cboVehicleUOMCode").SetValue("C");
  Find("cboVehicleMakeCode").SetValue("TOY");
  Find("cboVehicleMakeCode").FireEvent("onchange");
  EXPECT_EQ(world_.workspace.record.Current.VehicleMakeCode, "TOY");
  EXPECT_EQ(Find("txtModel").Value(), "");
  EXPECT_EQ(Find("txtBody").Value(), "");
  EXPECT_EQ(Find("txtSeatingCapacity").Value(), "");
  EXPECT_EQ(Find("cboVehicleUOMCode").Value(), "");
  EXPECT_EQ(Find("txtCapacity").Value(), "0.00");
  EXPECT_TRUE(world_.workspace.premium.FactorsChangedNewTariff);
  EXPECT_TRUE(world_.workspace.premium.BasicPremiumEntered);
}

TEST_F(VehicleTabTest, CapacityIsWholeForCubicCentimetres) {
  LoadPage();
  const struct {
    const char* unit;
    const char* typed;
    const char* shown;
  } cases[] = {{"C", "1598", "1,598"},
               {"C", "1597.6", "1,598"},
               {"T", "1598", "1,598.00"},
               {"T", "2.5", "2.50"}};
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

TEST_F(VehicleTabTest, RefusedCapacitySeatsAndYear) {
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

  world_.fakes.field_rules.year_made_message = "Vehicle too old";
  Find("txtYearMade").SetValue("1950");
  Find("txtYearMade").FireEvent("onblur");
  EXPECT_EQ(Find("txtYearMade").Value(), "");

  ASSERT_EQ(world_.dialogs->boxes.size(), 3u);
  EXPECT_EQ(world_.dialogs->boxes[0], (ShownBox{"Capacity out of range", 48, "Invalid Data"}));
  EXPECT_EQ(world_.dialogs->boxes[1], (ShownBox{"Too many seats", 48, "Invalid Data"}));
  EXPECT_EQ(world_.dialogs->boxes[2], (ShownBox{"Vehicle too old", 48, "Invalid Format"}));
  EXPECT_EQ(world_.fakes.field_rules.asked,
            (std::vector<std::string>{"CheckCapacity 99999", "CheckSeatingCapacity 120",
                                      "CheckYearMade 1950"}));
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
  EXPECT_EQ(Find("cboVehicleUOMCode").Value(), "C");
  EXPECT_EQ(Find("txtBody").Value(), "SALOON");
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

TEST_F(VehicleSearchTest, TooManyModelsAsksForARefinedSearch) {
  LoadPage();
  Find("cboVehicleMakeCode").SetValue("PRO");
  Find("txtModel").SetValue("S");
  world_.fakes.backend.Answer("Tarvin.Find.FindVehicleModel", "PRO\xEF\xBF\xBBS", "", 2);
  Find("cmdSelectModel").FireEvent("onclick");
  ASSERT_EQ(world_.dialogs->boxes.size(), 1u);
  EXPECT_EQ(world_.dialogs->boxes[0],
            (ShownBox{"Please refine your select constrains. Tips: use [Iswara 1.3] instead of "
                      "[Proton].",
                      64, "Select Model"}));
  EXPECT_TRUE(world_.dialogs->dialogs.empty());
}

TEST_F(VehicleSearchTest, ChosenModelFillsRecordAndPage) {
  LoadPage();
  Find("cboVehicleMakeCode").SetValue("PRO");
  world_.fakes.backend.AnswerAny(
      "Tarvin.Find.FindVehicleModel",
      Records({Fields({"M01", "SAGA 1.3", "1298", "C", "SALOON", "5"}),
               Fields({"M02", "WAJA 1.6", "1597", "C", "SALOON", "5"})}));
  world_.dialogs->dialog_result = "True;M02";
  Find("cmdSelectModel").FireEvent("onclick");
  ASSERT_EQ(world_.dialogs->dialogs.size(), 1u);
  EXPECT_EQ(world_.dialogs->dialogs[0].url, "dlgSrch.htm");
  EXPECT_EQ(world_.dialogs->dialogs[0].argument, "SearchModel");
  EXPECT_EQ(world_.dialogs->dialogs[0].features,
            "status=no; dialogwidth=480px; dialogheight=300px; help: no; resizable: no; center: "
            "yes';");
  const CoverNoteFields& record = world_.workspace.record.Current;
  EXPECT_EQ(record.ModelCode, "M02");
  EXPECT_EQ(record.Model, "WAJA 1.6");
  EXPECT_EQ(record.Capacity, "1,597.00");
  EXPECT_EQ(record.Body, "SALOON");
  EXPECT_EQ(Find("txtModel").Value(), "WAJA 1.6");
  EXPECT_EQ(Find("txtSeatingCapacity").Value(), "5");
  EXPECT_TRUE(std::filesystem::exists(folder_ / "Temp" / "mySelect.txt"));
}

TEST_F(VehicleSearchTest, BodyChoiceAndDialogsClosedWithoutChoice) {
  world_.workspace.lists.BodyTypeListText = Records({Fields({"01", "SALOON"})});
  LoadPage();
  world_.dialogs->dialog_result = "False;01;SALOON";
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
  EXPECT_EQ(world_.dialogs->boxes[0],
            (ShownBox{"This action will remove the highlighted row.\r\nDo you wish to proceed?",
                      4 + 48, "Remove row"}));
  EXPECT_TRUE(Row(2));
  EXPECT_EQ(Row(2)->ClassName(), "clsHighliteRow");
  EXPECT_EQ(Find("lnkDeleteNPerson").GetStyle("visibility"), "hidden");

  world_.dialogs->box_answers = {dom::message_box::kYes};
  Find("lnkDeleteNPerson").FireEvent("onclick");
  EXPECT_FALSE(Row(2));
  EXPECT_TRUE(Row(0)->GetFromAll("txtDrv")->ReadOnly());
  EXPECT_FALSE(Row(1)->GetFromAll("txtDrv")->ReadOnly());
}

TEST_F(VehicleTabTest, KeysAndPointer) {
  LoadPage();
  dom::Event enter("keypress", document_->GetElementById("lnkAddNPerson"), 13);
  Find("lnkAddNPerson").FireEvent(enter);
  EXPECT_TRUE(Row(1));  // after the record's empty stored driver
  dom::Event other("keypress", document_->GetElementById("lnkAddNPerson"), 65);
  Find("lnkAddNPerson").FireEvent(other);
  EXPECT_FALSE(Row(2));
  Find("cmdSelectBody").FireEvent("onmouseover");
  EXPECT_EQ(Find("cmdSelectBody").GetStyle("cursor"), "hand");
}

TEST_F(VehicleTabTest, UnloadReleasesTheTable) {
  LoadPage();
  page_->Unload();
  EXPECT_FALSE(world_.workspace.vehicle.DriverTable);
  EXPECT_FALSE(world_.workspace.vehicle.DeleteNPersonLink);
  page_.reset();
}

}  // namespace
}  // namespace cn::testing
