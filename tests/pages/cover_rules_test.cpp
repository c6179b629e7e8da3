// The Cover tab's cover details as the administrator changes them: what the tab then shows,
// what the shell is told, what the back end is asked and what the record and flags become.

#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/separators.h"
#include "cover_fields_fixture.h"
#include "dom/behaviours.h"
#include "dom/user_actions.h"
#include "integration/selection_file.h"

namespace cn::cover_testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

bool Ran(const CoverTabWorld& world, std::string_view script) {
  return std::find(world.shell->scripts.begin(), world.shell->scripts.end(), script) !=
         world.shell->scripts.end();
}

// The transaction type decides what the licence box holds.
struct LicenceCase {
  std::string_view type;
  std::string_view label;
  int max_length;
  std::string_view behaviour;
  std::string_view other_behaviour;
};
constexpr LicenceCase kLicenceCases[] = {
    {"N", "License No./ Date:", 42, "EntryDate.htc", "EntryNumber.htc"},
    {"R", "License No./ Years of Driving:", 2, "EntryNumber.htc", "EntryDate.htc"},
    {"T", "License No./ Years of Driving:", 2, "EntryNumber.htc", "EntryDate.htc"},
};

TEST(CoverTransactionType, SwitchesTheLicenceBoxBetweenADateAndYearsOfDriving) {
  for (const LicenceCase& expected : kLicenceCases) {
    SCOPED_TRACE(std::string(expected.type));
    CoverTabWorld world;
    // Start from the other kind of transaction, with something typed in the box.
    dom::ChooseOption(world.Get("cboTransactionType"), expected.type == "N" ? "R" : "N");
    world.Get("txtLicenseDate").SetValue("12");

    dom::ChooseOption(world.Get("cboTransactionType"), expected.type);

    const dom::Element& licence = world.Get("txtLicenseDate");
    EXPECT_EQ(world.Get("lblLicense").InnerText(), expected.label);
    EXPECT_EQ(licence.MaxLength(), expected.max_length);
    EXPECT_EQ(licence.Value(), "");
    EXPECT_TRUE(dom::HasBehavior(licence, expected.behaviour));
    EXPECT_FALSE(dom::HasBehavior(licence, expected.other_behaviour));
    EXPECT_EQ(licence.Behaviors().size(), 1u);
  }
}

TEST(CoverTransactionType, OtherWhileTheOtherPremiumTabIsInUseChangesNoTab) {
  CoverTabWorld world;
  world.workspace.page.CurrentPremiumTabId = "COVOPrem";
  dom::ChooseOption(world.Get("cboTransactionType"), "O");
  EXPECT_EQ(world.shell->scripts, std::vector<std::string>{});
  EXPECT_FALSE(world.workspace.cover_rules.OtherPremiumTabActive);
}

TEST(CoverTransactionType, PremiumTabFollowsTheNewTariffDate) {
  struct Case {
    std::string_view new_tariff_date;
    std::string_view tab;
    bool new_tariff;
  };
  // The system date is 05-Mar-2014.
  for (const Case& expected : {Case{"05-Mar-2014", "COVNPrem", true},
                               Case{"06-Mar-2014", "COVPrem", false}}) {
    SCOPED_TRACE(std::string(expected.new_tariff_date));
    CoverTabWorld world;
    world.workspace.startup.NewTariffDate = expected.new_tariff_date;
    world.workspace.cover_rules.NewTariffInUse = !expected.new_tariff;
    dom::ChooseOption(world.Get("cboTransactionType"), "R");
    EXPECT_EQ(world.workspace.page.CurrentPremiumTabId, expected.tab);
    EXPECT_TRUE(Ran(world, "ShowTabButton('" + std::string(expected.tab) + "', true)"));
    EXPECT_EQ(world.workspace.cover_rules.NewTariffInUse, expected.new_tariff);
  }
}

TEST(CoverTransactionType, RoadTaxPurposeChoosesACommercialClassWithoutTrailer) {
  CoverTabWorld world;
  world.SetSystemCodes({{"1040", "C12;C13"}});
  world.fakes.backend.Answer("Tarvin.Find.FindMotorClass", "1",
                             Records({Fields({"C10", "GOODS"}), Fields({"C12", "TANKER"}),
                                      Fields({"C13", "TRAILER HEAD"})}));
  world.workspace.record.Current.ClassCode = "P01";

  dom::ChooseOption(world.Get("cboTransactionType"), "P");

  EXPECT_TRUE(world.Get("optCommercialCover").Checked());
  EXPECT_EQ(world.Get("cboClassCode").Value(), "C12");
  EXPECT_EQ(world.workspace.record.Current.ClassCode, "C12");
}

// A record with two named drivers, the personal type and typed premium figures.
void PrepareDriversAndFigures(CoverTabWorld& world) {
  CoverNoteFields& fields = world.workspace.record.Current;
  fields.DriverNames = {"ALI", "AHMAD"};
  fields.DriverICNos = {"800111-01-1123", "810101-01-1111"};
  fields.Hazard = "1";
  fields.ClassCode = "P01";
  world.Get("optPersonalType").SetChecked(true);
  PremiumState& premium = world.workspace.premium;
  premium.TariffPremiumEntered = premium.LoadPercentageEntered = premium.ExcessEntered = true;
  premium.BasicPremiumEntered = true;
}

TEST(CoverTypeOptions, MotorcycleEmptiesAndDisablesTheTrailerAndLeavesOneEmptyDriverRow) {
  CoverTabWorld world;
  world.workspace.startup.SystemCodes = {{1097, "16"}, {1098, "17"}};
  world.fakes.backend.Answer("Tarvin.Find.FindMotorClass", "2",
                             Records({Fields({"M01", "MOTORCYCLE"}), Fields({"M02", "SCOOTER"})}));
  PrepareDriversAndFigures(world);
  world.Get("txtTrailerNumber").SetValue("TR 1234");

  dom::UserClick(world.Get("optMotorcycleCover"));

  const CoverNoteFields& fields = world.workspace.record.Current;
  EXPECT_EQ(world.Get("txtTrailerNumber").Value(), "");
  EXPECT_TRUE(world.Get("txtTrailerNumber").Disabled());
  EXPECT_THAT(fields.DriverNames, ElementsAre(""));
  EXPECT_THAT(fields.DriverICNos, ElementsAre(""));
  EXPECT_EQ(fields.Hazard, "0");
  // P01 is no motorcycle class: the first motorcycle class is taken.
  EXPECT_EQ(world.Get("cboClassCode").Options().Length(), 2);
  EXPECT_EQ(world.Get("cboClassCode").Value(), "M01");
  EXPECT_EQ(fields.ClassCode, "M01");
  EXPECT_EQ(world.workspace.cover_rules.MinimumDrivingAge, "16");
  const PremiumState& premium = world.workspace.premium;
  EXPECT_FALSE(premium.TariffPremiumEntered || premium.LoadPercentageEntered ||
               premium.ExcessEntered);
}

TEST(CoverTypeOptions, CommercialAllowsATrailerAndKeepsAClassOfItsList) {
  CoverTabWorld world;
  world.workspace.startup.SystemCodes = {{1097, "16"}, {1098, "17"}};
  world.fakes.backend.Answer("Tarvin.Find.FindMotorClass", "1",
                             Records({Fields({"C10", "GOODS"}), Fields({"C11", "TAXI"})}));
  PrepareDriversAndFigures(world);
  world.workspace.record.Current.ClassCode = "C11";
  world.Get("txtTrailerNumber").SetDisabled(true);

  dom::UserClick(world.Get("optCommercialCover"));
  world.Get("optCommercialCover").SetChecked(false);
  dom::UserClick(world.Get("optCommercialCover"));

  EXPECT_FALSE(world.Get("txtTrailerNumber").Disabled());
  EXPECT_EQ(world.Get("cboClassCode").Value(), "C11");
  EXPECT_THAT(world.workspace.record.Current.DriverNames, ElementsAre(""));
  EXPECT_EQ(world.workspace.cover_rules.MinimumDrivingAge, "17");
  // The commercial list is fetched once and kept.
  EXPECT_THAT(world.ParametersSent("Tarvin.Find.FindMotorClass"), ElementsAre("1"));
}

TEST(CoverTypeOptions, PrivateNamesTheInsuredAsDriverWhenTheMotorCoverAsksForIt) {
  struct Case {
    bool personal;
    std::string_view motor_cover;
    std::string_view first_driver;
  };
  for (const Case& expected : {Case{true, "01", "THE INSURED"}, Case{true, "03", ""},
                               Case{false, "01", ""}}) {
    SCOPED_TRACE(std::string(expected.motor_cover) + (expected.personal ? " personal" : ""));
    CoverTabWorld world;
    world.SetSystemCodes({{"1061", "01;02"}, {"1030", "THE INSURED"}});
    world.workspace.class_lists.PrivateClassList = {Fields({"P01", "PRIVATE CAR"})};
    PrepareDriversAndFigures(world);
    world.Get("optPersonalType").SetChecked(expected.personal);
    world.Get("optCompanyType").SetChecked(!expected.personal);
    world.Get("cboMotorCoverCode").SetValue(expected.motor_cover);

    dom::UserClick(world.Get("optPrivateCover"));

    EXPECT_THAT(world.workspace.record.Current.DriverNames, ElementsAre(expected.first_driver));
    EXPECT_TRUE(world.Get("txtTrailerNumber").Disabled());
  }
}

TEST(CoverClass, AChangedClassMarksThePremiumOutOfDateAndRefillsItsUses) {
  CoverTabWorld world;
  world.workspace.class_lists.PrivateClassList = {Fields({"P01", "PRIVATE CAR"}),
                                                  Fields({"P02", "PRIVATE VAN"})};
  world.fakes.backend.Answer(
      "Tarvin.Find.Browse", "6" + std::string(ParamSeparator) + "P02",
      Records({Fields({"U1", "SOCIAL"}), Fields({"U2", "BUSINESS"})}));
  PrepareDriversAndFigures(world);
  dom::UserClick(world.Get("optPrivateCover"));
  Workspace& ws = world.workspace;
  ws.page.ExtendedCoverDetailsStale = ws.transfer.ClassOrCoverChanged = false;
  ws.premium.FactorsChangedNewTariff = ws.premium.FactorsChangedV10 = false;
  ws.premium.TariffPremiumEntered = ws.premium.BasicPremiumEntered = true;

  dom::ChooseOption(world.Get("cboClassCode"), "P02");

  EXPECT_EQ(ws.record.Current.ClassCode, "P02");
  EXPECT_TRUE(ws.page.ExtendedCoverDetailsStale);
  EXPECT_TRUE(ws.transfer.ClassOrCoverChanged);
  EXPECT_TRUE(ws.premium.FactorsChangedNewTariff);
  EXPECT_TRUE(ws.premium.FactorsChangedV10);
  EXPECT_FALSE(ws.premium.TariffPremiumEntered);
  EXPECT_FALSE(ws.premium.BasicPremiumEntered);
  EXPECT_EQ(world.Get("cboClassUse").Options().Item(1)->Text(), "BUSINESS");
}

TEST(CoverClass, AChangedMotorCoverMarksTheNewTariffAndResetsTheDrivers) {
  CoverTabWorld world;
  world.SetSystemCodes({{"1061", "02"}, {"1030", "THE INSURED"}});
  PrepareDriversAndFigures(world);
  Workspace& ws = world.workspace;

  dom::ChooseOption(world.Get("cboMotorCoverCode"), "02");

  EXPECT_TRUE(ws.page.ExtendedCoverDetailsStale);
  EXPECT_TRUE(ws.premium.FactorsChangedNewTariff);
  EXPECT_FALSE(ws.premium.FactorsChangedV10);
  EXPECT_FALSE(ws.transfer.ClassOrCoverChanged);
  EXPECT_FALSE(ws.premium.TariffPremiumEntered || ws.premium.LoadPercentageEntered ||
               ws.premium.ExcessEntered || ws.premium.BasicPremiumEntered);
  EXPECT_THAT(ws.record.Current.DriverNames, ElementsAre("THE INSURED"));
  EXPECT_THAT(ws.record.Current.DriverICNos, ElementsAre(""));
}

TEST(CoverFreeTradeZone, EitherChoiceChangesTheNewTariffFactors) {
  for (const std::string_view option : {"optFTZYes", "optFTZNo"}) {
    CoverTabWorld world;
    world.workspace.premium.BasicPremiumEntered = true;
    dom::UserClick(world.Get(option));
    EXPECT_TRUE(world.Get(option).Checked());
    EXPECT_TRUE(world.workspace.premium.FactorsChangedNewTariff);
    EXPECT_FALSE(world.workspace.premium.BasicPremiumEntered);
  }
}

// Dates are written dd-MMM-yyyy when a box is left.
struct DateCase {
  std::string_view box;
  std::string_view transaction_type;
  std::string_view typed;
  std::string_view shown;
};
constexpr DateCase kDateCases[] = {
    {"txtDateOfIssue", "N", "5/3/2014", "05-Mar-2014"},
    {"txtEffectiveDate", "N", "", ""},
    {"txtExpiryDate", "N", "4 march 2015", "04-Mar-2015"},
    {"txtLicenseDate", "N", " 1/2/2001 ", "01-Feb-2001"},
    {"txtLicenseDate", "R", "5", "5"},
};

TEST(CoverDates, AreWrittenInTheScreensFormWhenLeft) {
  for (const DateCase& expected : kDateCases) {
    SCOPED_TRACE(std::string(expected.box) + " " + std::string(expected.typed));
    CoverTabWorld world;
    dom::ChooseOption(world.Get("cboTransactionType"), expected.transaction_type);
    dom::Element& box = world.Get(expected.box);
    box.SetValue(expected.typed);
    dom::UserFocus(box);
    dom::UserBlur(box);
    EXPECT_EQ(box.Value(), expected.shown);
  }
}

TEST(CoverDates, TypingAPeriodDateRecomputesThePremium) {
  for (const std::string_view box : {"txtEffectiveDate", "txtExpiryDate"}) {
    CoverTabWorld world;
    PrepareDriversAndFigures(world);
    dom::TypeText(world.Get(box), "1");
    const PremiumState& premium = world.workspace.premium;
    EXPECT_TRUE(premium.FactorsChangedNewTariff);
    EXPECT_FALSE(premium.TariffPremiumEntered || premium.LoadPercentageEntered ||
                 premium.ExcessEntered || premium.BasicPremiumEntered);
  }
}

TEST(CoverVehicleNumber, LettersAppearInCapitalsAsTheyAreTyped) {
  CoverTabWorld world;
  dom::Element& vehicle = world.Get("txtVehicleNumber");
  dom::TypeText(vehicle, "wxy 12é");
  EXPECT_EQ(vehicle.Value(), "WXY 12É");
  vehicle.SetValue("jkl 9");
  dom::UserBlur(vehicle);
  EXPECT_EQ(vehicle.Value(), "JKL 9");
}

TEST(CoverTrailerNumber, OnlyAChangedNumberChangesTheNewTariffFactors) {
  CoverTabWorld world;
  PremiumState& premium = world.workspace.premium;
  dom::Element& trailer = world.Get("txtTrailerNumber");

  dom::TypeText(trailer, "TR1");
  dom::UserBlur(trailer);
  EXPECT_TRUE(premium.FactorsChangedNewTariff);

  premium.FactorsChangedNewTariff = false;
  premium.BasicPremiumEntered = true;
  dom::UserFocus(trailer);
  dom::UserBlur(trailer);
  EXPECT_FALSE(premium.FactorsChangedNewTariff);
  EXPECT_TRUE(premium.BasicPremiumEntered);
}

TEST(CoverMortgagee, IsChosenFromTheListWithNoneFirst) {
  CoverTabWorld world;
  const std::string mortgagees =
      Records({Fields({"M01", "BANK CENDANA BERHAD"}), Fields({"M02", "KREDIT UTAMA"})});
  world.fakes.backend.Answer("KivoInsurance.Find.Browse", "1", mortgagees);
  world.dialogs->dialog_result = "True;M02;KREDIT UTAMA";

  dom::UserClick(world.Get("cmdSelectMortgagee"));

  ASSERT_EQ(world.dialogs->dialogs.size(), 1u);
  EXPECT_EQ(world.dialogs->dialogs[0].url, "dlgSrch.htm");
  EXPECT_EQ(world.dialogs->dialogs[0].argument, "SearchMortgagee");
  EXPECT_EQ(world.SelectionFileBytes(),
            EncodeUtf16File(Fields({"", "[NONE]"}) + std::string(RecordSeparator) + mortgagees));
  EXPECT_EQ(world.workspace.record.Current.MortgageeCode, "M02");
  EXPECT_EQ(world.Get("txtMortgagee").Value(), "KREDIT UTAMA");

  // The list is built once; a dialog closed without a choice changes nothing.
  world.dialogs->dialog_result = "False;;";
  dom::UserClick(world.Get("cmdSelectMortgagee"));
  EXPECT_THAT(world.ParametersSent("KivoInsurance.Find.Browse"), ElementsAre("1"));
  EXPECT_EQ(world.dialogs->dialogs.size(), 2u);
  EXPECT_EQ(world.workspace.record.Current.MortgageeCode, "M02");
}

TEST(CoverMortgagee, ComesFromTheLocalTableInLocalTableMode) {
  CoverTabWorld world;
  world.workspace.lookup.UseLocalTable = "1";
  world.fakes.local_table.lists[1] = Fields({"M09", "LOCAL BANK"});
  dom::UserFocus(world.Get("cmdSelectMortgagee"));
  dom::PressKey(world.Get("cmdSelectMortgagee"), 13);
  EXPECT_THAT(world.fakes.local_table.calls, Contains("GetList 1"));
  EXPECT_THAT(world.ParametersSent("KivoInsurance.Find.Browse"), Not(Contains("1")));
  EXPECT_EQ(world.dialogs->dialogs.size(), 1u);
}

TEST(CoverMortgagee, ATypedNameHasNoCode) {
  CoverTabWorld world;
  world.workspace.record.Current.MortgageeCode = "M01";
  dom::TypeText(world.Get("txtMortgagee"), "X");
  EXPECT_EQ(world.workspace.record.Current.MortgageeCode, "");
  EXPECT_EQ(world.Get("txtMortgagee").Value(), "X");
}

}  // namespace
}  // namespace cn::cover_testing
