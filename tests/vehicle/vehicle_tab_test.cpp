// The Vehicle tab's page file on fake components, with the lists the workspace page would have
// read at start-up: its load, its field checks, the selection of model and body, the
// named-person links, and the record both ways with the insured's own details and the driver count.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "../base/temp_folder.h"
#include "base/text.h"
#include "dom/document.h"
#include "pages/vehicle/cnaa_veh.h"
#include "tables/driver.h"
#include "workspace/tab_transfer.h"
#include "workspace_world.h"

namespace cn::testing {
namespace {

class VehicleTabTest : public ::testing::Test {
 protected:
  VehicleTabTest() : world_("<html><body></body></html>") {
    Workspace& ws = world_.workspace;
    ws.lists.VehicleMakeList = {Entry("PRO", "PROTON"), Entry("TOY", "TOYOTA")};
    ws.lists.SecurityDeviceList = {Entry("S1", "STEERING LOCK")};
    SetFields(ws.record,
              {{"CoverType", "PRIVATE"}, {"TransactionType", "N"}, {"ClassCode", "A1"}, {"DriverNames", ""}});
    world_.fakes.backend.Answer("Tarvin.Find.BrowseUOM", "A1", CodeList({{"C", "CC"}, {"T", "TONNE"}}));
  }

  // Loads a fresh copy of the page file; `before_load` may change it first.
  void LoadPage(const std::function<void(dom::Document&)>& before_load = {}) {
    if (page_) page_->Unload();
    page_.reset();
    document_ = dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) + "/CNAAVeh.htm");
    document_->ParentWindow()->SetDialogHost(world_.dialogs);
    document_->ParentWindow()->SetScriptHost(world_.shell);
    if (before_load) before_load(*document_);
    page_ = std::make_unique<CNAAVeh>(world_.workspace, document_);
    page_->Load();
  }

  // The tab locks its boxes as it loads, and a locked box checks nothing; the box rules are
  // those of a tab that leaves them open.
  void Unlock() {
    for (const auto& element : document_->All()) {
      element->SetDisabled(false);
      if (element->Is("INPUT") || element->Is("TEXTAREA")) element->SetReadOnly(false);
    }
  }
  dom::Element& Find(std::string_view id) const { return *document_->GetElementById(id); }
  Driver& Table() const { return *world_.workspace.vehicle.DriverTable; }
  std::shared_ptr<dom::Element> Row(int i) const { return document_->FindElementById("rowDrv" + std::to_string(i)); }
  int SentCount(std::string_view command) const {
    return static_cast<int>(world_.fakes.backend.ParametersSent(command).size());
  }

  DriverWorld world_;
  std::shared_ptr<dom::Document> document_;
  std::unique_ptr<CNAAVeh> page_;
};

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
  EXPECT_TRUE(Find("optHazardNo").Checked() && Find("tblCommVeh").GetStyle("display") == "none");
  world_.workspace.record.Current.CoverType = "COMMERCIAL";
  world_.workspace.record.Current.Hazard = "1";
  LoadPage();
  EXPECT_TRUE(Find("optHazardYes").Checked() && Find("tblCommVeh").GetStyle("display").empty());
}

TEST_F(VehicleTabTest, MakeChangeEmptiesWhatCameWithTheModel) {
  LoadPage();
  Unlock();
  Find("txtModel").SetValue("SAGA");
  Find("cboVehicleUOMCode").SetValue("C");
  Find("cboVehicleMakeCode").SetValue("TOY");
  Find("cboVehicleMakeCode").FireEvent("onchange");
  EXPECT_EQ(world_.workspace.record.Current.VehicleMakeCode + "/" + Find("txtModel").Value() + "/" +
                Find("cboVehicleUOMCode").Value() + "/" + Find("txtCapacity").Value(),
            "TOY///0.00");
  EXPECT_TRUE(world_.workspace.premium.FactorsChangedNewTariff);
}

TEST_F(VehicleTabTest, CapacityIsWholeForCubicCentimetres) {
  LoadPage();
  Unlock();
  // Left from the capacity box or from the unit box.
  for (const auto& [unit, typed, shown] :
       {std::tuple{"C", "1598", "1,598"}, {"C", "1597.6", "1,598"}, {"T", "2.5", "2.50"}}) {
    for (const std::string_view left : {"txtCapacity", "cboVehicleUOMCode"}) {
      Find("cboVehicleUOMCode").SetValue(unit);
      Find("txtCapacity").SetValue(typed);
      Find(left).FireEvent("onblur");
      EXPECT_EQ(Find("txtCapacity").Value(), shown) << unit << " " << typed << " " << left;
    }
  }
}

TEST_F(VehicleTabTest, RefusedCapacityAndSeats) {
  LoadPage();
  Unlock();
  world_.fakes.field_rules.capacity_message = "Capacity out of range";
  world_.fakes.field_rules.seating_message = "Too many seats";
  Find("cboVehicleUOMCode").SetValue("T");
  for (const auto& [box, typed] : {std::pair{"txtCapacity", "99999"}, {"txtSeatingCapacity", "120"}}) {
    Find(box).SetValue(typed);
    Find(box).FireEvent("onblur");
  }
  EXPECT_EQ(Find("txtCapacity").Value() + "/" + Find("txtSeatingCapacity").Value(), "1.00/");
  EXPECT_EQ(world_.dialogs->boxes, (std::vector<ShownBox>{{"Capacity out of range", 48, "Invalid Data"},
                                                          {"Too many seats", 48, "Invalid Data"}}));
}

TEST_F(VehicleTabTest, ModelTypedForTheCheckedMakeFillsTheVehicle) {
  world_.SetSystemCodes({{"1034", "PRO"}});
  LoadPage();
  Unlock();
  world_.fakes.backend.Answer("KivoInsurance.Validation.VehicleModel", "WIRA",
                              Fields({"PRO", "M77", "WIRA 1.5", "1468", "C", "SALOON", "5"}));
  Find("cboVehicleMakeCode").SetValue("TOY");
  Find("txtModel").SetValue("WIRA");
  Find("txtModel").FireEvent("onblur");
  EXPECT_EQ(SentCount("KivoInsurance.Validation.VehicleModel"), 0);

  Find("cboVehicleMakeCode").SetValue("PRO");
  Find("txtModel").FireEvent("onblur");
  EXPECT_EQ(world_.workspace.record.Current.ModelCode + "/" + Find("txtModel").Value() + "/" +
                Find("txtCapacity").Value() + "/" + Find("txtSeatingCapacity").Value(),
            "M77/WIRA 1.5/1,468.00/5");
}

class VehicleSearchTest : public VehicleTabTest {
 protected:
  VehicleSearchTest() {
    world_.fakes.registry.values[{"Software\\Brindle\\Kivo\\Zelkor", "Installation Path"}] =
        folder_.path.string();
  }
  TempFolder folder_{"covernote-vehicle-search"};
};

TEST_F(VehicleSearchTest, ModelAndBodyChosenInTheDialogFillRecordAndPage) {
  world_.workspace.lists.BodyTypeListText = Records({Fields({"01", "SALOON"})});
  LoadPage();
  Find("cboVehicleMakeCode").SetValue("PRO");
  Find("txtModel").SetValue("S");
  // Too many models: the person is asked to narrow the search and no dialog opens.
  world_.fakes.backend.Answer("Tarvin.Find.FindVehicleModel", "PRO\xEF\xBF\xBBS", "", 2);
  Find("cmdSelectModel").FireEvent("onclick");
  const ShownBox narrow{"Please refine your select constrains. Tips: use [Iswara 1.3] instead of [Proton].", 64,
                        "Select Model"};
  EXPECT_EQ(world_.dialogs->boxes, std::vector{narrow});
  EXPECT_TRUE(world_.dialogs->dialogs.empty());

  Find("txtModel").SetValue("");
  world_.fakes.backend.AnswerAny("Tarvin.Find.FindVehicleModel",
                                 Records({Fields({"M01", "SAGA 1.3", "1298", "C", "SALOON", "5"}),
                                          Fields({"M02", "WAJA 1.6", "1597", "C", "SALOON", "5"})}));
  world_.dialogs->dialog_result = "True;M02";
  Find("cmdSelectModel").FireEvent("onclick");
  EXPECT_EQ(world_.workspace.record.Current.ModelCode + "/" + world_.workspace.record.Current.Capacity + "/" +
                Find("txtModel").Value(),
            "M02/1,597.00/WAJA 1.6");
  EXPECT_TRUE(std::filesystem::exists(folder_.path / "Temp" / "mySelect.txt"));

  // A dialog closed without a choice changes nothing.
  world_.dialogs->dialog_result = "False;01;SALOON";
  Find("cmdSelectBody").FireEvent("onclick");
  Find("txtBody").SetValue("");
  Find("cmdSelectBody").FireEvent("onclick");
  EXPECT_EQ(Find("txtBody").Value(), "");
  world_.dialogs->dialog_result = "True;01;SALOON";
  Find("cmdSelectBody").FireEvent("onclick");
  EXPECT_EQ(Find("txtBody").Value(), "SALOON");
  EXPECT_EQ(Join(world_.dialogs->Opened(), ", "),
            "dlgSrch.htm SearchModel, dlgSrch.htm SearchBody, dlgSrch.htm SearchBody, dlgSrch.htm SearchBody");
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
  EXPECT_EQ(world_.dialogs->boxes[0].title + Find("lnkDeleteNPerson").GetStyle("visibility"),
            "Remove rowhidden");
  EXPECT_TRUE(Row(2));

  world_.dialogs->box_answers = {dom::message_box::kYes};
  Find("lnkDeleteNPerson").FireEvent("onclick");
  EXPECT_TRUE(!Row(2) && Row(1));
}

TEST_F(VehicleTabTest, EnterOnTheAddLinkAddsARowAndUnloadReleasesTheTable) {
  LoadPage();
  for (const int key : {13, 65}) {
    dom::Event press("keypress", document_->GetElementById("lnkAddNPerson"), key);
    Find("lnkAddNPerson").FireEvent(press);
  }
  EXPECT_TRUE(Row(1) && !Row(2));  // Enter added one after the record's empty stored driver
  page_->Unload();
  EXPECT_FALSE(world_.workspace.vehicle.DriverTable || world_.workspace.vehicle.DeleteNPersonLink);
  page_.reset();
}

class VehicleTransferTest : public VehicleTabTest {
 protected:
  VehicleTransferTest() {
    // clang-format off
    SetFields(world_.workspace.record, {{"ClientType", "P"}, {"ClientName", "TAN AH KOW"},
        {"DriverNames", "TAN AH KOW#LIM MEI LING#RAJ KUMAR"},
        {"DriverICNos", "800111-01-1123#820202-02-2222#A1234567"},
        {"DriverDOBs", "11-Jan-1980#02-Feb-1982#03-Mar-1975"},
        {"DriverLicenceDates", "01-Jan-2000#01-Jan-2004#01-Jan-1995"}, {"DriverLicenceNos", "##"},
        {"DriverGenders", "M#F#M"}, {"DriverOccupations", "##"},
        {"DriverRelationships", "SELF#WIFE#FRIEND"},
        {"Color", "red"}, {"Hazard", "0"}, {"GSLock", "1"}, {"MaintenanceFrom", "1/2/2026"}});
    // clang-format on
  }
};

// A driver row edited so that the insured is first: his own details come from that row;
// someone else first, or drivers left as shown, leave them alone.
TEST_F(VehicleTransferTest, TheInsuredFirstGivesHisOwnDetails) {
  for (const auto& [first, dob, gender] : {std::tuple{"TAN AH KOW", "11-Jan-1980", "M"},
       std::tuple{"STRANGER", "05-May-1970", ""}, std::tuple{"", "05-May-1970", ""}}) {
    CoverNoteFields& r = world_.workspace.record.Current;
    r.DriverNames[0] = "SOMEONE";
    r.DateOfBirth = "05-May-1970";
    r.Gender = "";
    LoadPage();
    if (*first) Row(0)->AllWithId("txtDrv").front()->SetValue(first);
    SavePageToRecord(world_.workspace, "COVVeh", *document_);
    EXPECT_EQ(r.DateOfBirth + "/" + r.Gender, std::string(dob) + "/" + gender) << first;
  }
}

// Only the boxes changed reach the record, in the record's form; the others stay as stored.
TEST_F(VehicleTransferTest, VehicleFieldsBothWays) {
  LoadPage();
  EXPECT_EQ(Find("txtColor").Value(), "red");
  EXPECT_TRUE(Find("chkGSLock").Checked() && Find("optHazardNo").Checked());
  Find("txtEngineNumber").SetValue("eng123");
  Find("optHRYes").SetChecked(true);
  Find("txtMaintenanceFrom").SetValue("3/4/2026");
  SavePageToRecord(world_.workspace, "COVVeh", *document_);
  const CoverNoteFields& r = world_.workspace.record.Current;
  EXPECT_EQ((std::vector<std::string>{r.Color, r.EngineNo, r.GSLock, r.HRFlag, r.CGFlag, r.MaintenanceFrom}),
            (std::vector<std::string>{"red", "ENG123", "1", "1", "", "03-Apr-2026"}));
}

// Adding a named driver changes the premium, except on a transfer or an extension; leaving the
// tab with the drivers it showed changes nothing.
TEST_F(VehicleTransferTest, ChangedDriverCountMarksThePremiumExceptForTransfers) {
  for (const auto& [transaction, added, marked] :
       {std::tuple{"N", true, true}, {"N", false, false}, {"T", true, false}, {"E", true, false}}) {
    world_.workspace.record.Current.TransactionType = transaction;
    world_.workspace.premium = {};
    world_.workspace.premium.BasicPremiumEntered = true;
    LoadPage();
    const Workspace& ws = world_.workspace;
    const int shown = ws.page.NamedDriverCountSeen;
    if (added) Table().AddDisplayDriver("NEW DRIVER", "", "", "", "M", "", "");
    SavePageToRecord(world_.workspace, "COVVeh", *document_);
    EXPECT_EQ((std::vector<int>{ws.premium.FactorsChangedNewTariff, ws.premium.BasicPremiumEntered,
                                ws.page.NamedDriverCountSeen}),
              (std::vector<int>{marked, !marked, marked ? shown + 1 : shown})) << transaction << added;
  }
}

}  // namespace
}  // namespace cn::testing
