// The Cover tab's cover details as the administrator changes them: what the tab then shows,
// what the shell is told, what the back end is asked and what the record and flags become.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/separators.h"
#include "cover_fields_fixture.h"
#include "dom/behaviours.h"
#include "integration/selection_file.h"

namespace cn::cover_testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using Bools = std::vector<bool>;

// The premium figures typed so far: tariff premium, loading, excess and basic premium.
Bools Typed(const PremiumState& premium) {
  return {premium.TariffPremiumEntered, premium.LoadPercentageEntered, premium.ExcessEntered,
          premium.BasicPremiumEntered};
}

// A record with two named drivers, the personal type and typed premium figures.
void PrepareDriversAndFigures(CoverTabWorld& world) {
  CoverNoteFields& fields = world.workspace.record.Current;
  std::tie(fields.DriverNames, fields.DriverICNos, fields.Hazard, fields.ClassCode) =
      std::tuple(Texts{"ALI", "AHMAD"}, Texts{"800111-01-1123", "810101-01-1111"}, "1", "P01");
  world.Get("optPersonalType").SetChecked(true);
  PremiumState& premium = world.workspace.premium;
  premium.TariffPremiumEntered = premium.LoadPercentageEntered = premium.ExcessEntered =
      premium.BasicPremiumEntered = true;
}

TEST(CoverTransactionType, SwitchesTheLicenceBoxBetweenADateAndYearsOfDriving) {
  struct Case { std::string_view type, label; int max_length; std::string_view behaviour; };
  const std::string_view years = "License No./ Years of Driving:";
  for (const Case& c : {Case{"N", "License No./ Date:", 42, "EntryDate.htc"},
                        Case{"R", years, 2, "EntryNumber.htc"}, Case{"T", years, 2, "EntryNumber.htc"}}) {
    SCOPED_TRACE(std::string(c.type));
    CoverTabWorld world;
    // Start from the other kind of transaction, with something typed in the box.
    world.Choose("cboTransactionType", c.type == "N" ? "R" : "N");
    world.Get("txtLicenseDate").SetValue("12");
    world.Choose("cboTransactionType", c.type);
    const dom::Element& licence = world.Get("txtLicenseDate");
    EXPECT_EQ(world.Get("lblLicense").InnerText() + licence.Value(), c.label);
    EXPECT_EQ(licence.MaxLength(), c.max_length);
    EXPECT_TRUE(licence.Behaviors().size() == 1 && dom::HasBehavior(licence, c.behaviour));
  }
}

TEST(CoverTransactionType, ThePremiumTabFollowsTheNewTariffDateButNotForOther) {
  struct Case { std::string_view new_tariff_date, tab; bool new_tariff; };
  // The system date is 05-Mar-2014.
  for (const Case& c : {Case{"05-Mar-2014", "COVNPrem", true}, Case{"06-Mar-2014", "COVPrem", false}}) {
    SCOPED_TRACE(std::string(c.new_tariff_date));
    CoverTabWorld world;
    world.workspace.startup.NewTariffDate = c.new_tariff_date;
    world.workspace.cover_rules.NewTariffInUse = !c.new_tariff;
    world.Choose("cboTransactionType", "R");
    EXPECT_EQ(world.workspace.page.CurrentPremiumTabId, c.tab);
    EXPECT_TRUE(world.Ran("ShowTabButton('" + std::string(c.tab) + "', true)"));
    EXPECT_EQ(world.workspace.cover_rules.NewTariffInUse, c.new_tariff);
  }
  // Other, while the other premium tab is in use, changes no tab.
  CoverTabWorld world;
  world.workspace.page.CurrentPremiumTabId = "COVOPrem";
  world.Choose("cboTransactionType", "O");
  EXPECT_EQ(world.shell->scripts, Texts{});
  EXPECT_FALSE(world.workspace.cover_rules.OtherPremiumTabActive);
}

TEST(CoverTransactionType, RoadTaxPurposeChoosesACommercialClassWithoutTrailer) {
  CoverTabWorld world;
  world.SetSystemCodes({{"1040", "C12;C13"}});
  world.fakes.backend.Answer("Tarvin.Find.FindMotorClass", "1",
                             Records({Fields({"C10", "GOODS"}), Fields({"C12", "TANKER"}),
                                      Fields({"C13", "TRAILER HEAD"})}));
  world.workspace.record.Current.ClassCode = "P01";
  world.Choose("cboTransactionType", "P");
  EXPECT_TRUE(world.Get("optCommercialCover").Checked());
  EXPECT_EQ(world.Get("cboClassCode").Value(), "C12");
  EXPECT_EQ(world.workspace.record.Current.ClassCode, "C12");
}

TEST(CoverTypeOptions, MotorcycleAndCommercialResetTheDriversAndKeepAClassOfTheirList) {
  // P01 is no motorcycle class: the first motorcycle class is taken.
  // clang-format off
  struct Case { std::string_view option, kind; std::string list_reply, class_code, shown_class;
                std::string_view trailer; int classes; std::string minimum_age, hazard; };
  const Case cases[] = {
      {"optMotorcycleCover", "2", Records({Fields({"M01", "MOTORCYCLE"}), Fields({"M02", "SCOOTER"})}), "P01", "M01",
       "disabled", 2, "16", "0"},
      {"optCommercialCover", "1", Records({Fields({"C10", "GOODS"}), Fields({"C11", "TAXI"})}), "C11", "C11", "", 2,
       "17", "1"}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.option));
    CoverTabWorld world;
    world.workspace.startup.SystemCodes = {{1097, "16"}, {1098, "17"}};
    world.fakes.backend.Answer("Tarvin.Find.FindMotorClass", std::string(c.kind), c.list_reply);
    PrepareDriversAndFigures(world);
    world.workspace.record.Current.ClassCode = c.class_code;
    world.Get("txtTrailerNumber").SetValue("TR 1234");
    world.Get("txtTrailerNumber").SetDisabled(c.trailer.empty());

    world.Click(c.option);
    world.Get(c.option).SetChecked(false);
    world.Click(c.option);

    const CoverNoteFields& fields = world.workspace.record.Current;
    EXPECT_EQ(world.States({"txtTrailerNumber"}), Texts{std::string(c.trailer)});
    EXPECT_TRUE(c.trailer.empty() || world.Get("txtTrailerNumber").Value().empty());
    EXPECT_EQ(fields.DriverNames, Texts{""});
    EXPECT_EQ(fields.DriverICNos, Texts{""});
    EXPECT_EQ(world.Get("cboClassCode").Options().Length(), c.classes);
    EXPECT_EQ((Texts{fields.Hazard, world.Get("cboClassCode").Value(), fields.ClassCode,
                     world.workspace.cover_rules.MinimumDrivingAge}),
              (Texts{c.hazard, c.shown_class, c.shown_class, c.minimum_age}));
    EXPECT_EQ(Typed(world.workspace.premium), Bools(4, false));
    // The list is fetched once and kept.
    EXPECT_THAT(world.ParametersSent("Tarvin.Find.FindMotorClass"), ElementsAre(c.kind));
  }
}

TEST(CoverTypeOptions, PrivateNamesTheInsuredAsDriverWhenTheMotorCoverAsksForIt) {
  struct Case { bool personal; std::string_view motor_cover, first_driver; };
  for (const Case& c : {Case{true, "01", "THE INSURED"}, Case{true, "03", ""}, Case{false, "01", ""}}) {
    CoverTabWorld world;
    world.SetSystemCodes({{"1061", "01;02"}, {"1030", "THE INSURED"}});
    world.workspace.class_lists.PrivateClassList = {Fields({"P01", "PRIVATE CAR"})};
    PrepareDriversAndFigures(world);
    world.Get("optPersonalType").SetChecked(c.personal);
    world.Get("optCompanyType").SetChecked(!c.personal);
    world.Get("cboMotorCoverCode").SetValue(c.motor_cover);
    world.Click("optPrivateCover");
    EXPECT_THAT(world.workspace.record.Current.DriverNames, ElementsAre(c.first_driver))
        << c.motor_cover << c.personal;
    EXPECT_TRUE(world.Get("txtTrailerNumber").Disabled());
  }
}

// Which flags a change sets: extended-cover details stale, class or cover changed, new-tariff
// and current-engine factors changed.
Bools Marks(const Workspace& ws) {
  return {ws.page.ExtendedCoverDetailsStale, ws.transfer.ClassOrCoverChanged,
          ws.premium.FactorsChangedNewTariff, ws.premium.FactorsChangedV10};
}

TEST(CoverClass, AChangedClassMarksThePremiumOutOfDateAndRefillsItsUses) {
  CoverTabWorld world;
  world.workspace.class_lists.PrivateClassList = {Fields({"P01", "PRIVATE CAR"}),
                                                  Fields({"P02", "PRIVATE VAN"})};
  world.fakes.backend.Answer("Tarvin.Find.Browse", "6" + std::string(ParamSeparator) + "P02",
                             Records({Fields({"U1", "SOCIAL"}), Fields({"U2", "BUSINESS"})}));
  PrepareDriversAndFigures(world);
  world.Click("optPrivateCover");
  Workspace& ws = world.workspace;
  ws.page.ExtendedCoverDetailsStale = ws.transfer.ClassOrCoverChanged = false;
  ws.premium.FactorsChangedNewTariff = ws.premium.FactorsChangedV10 = false;
  ws.premium.TariffPremiumEntered = ws.premium.BasicPremiumEntered = true;

  world.Choose("cboClassCode", "P02");

  EXPECT_EQ(ws.record.Current.ClassCode, "P02");
  EXPECT_EQ(Marks(ws), (Bools{true, true, true, true}));
  EXPECT_EQ(Typed(ws.premium), Bools(4, false));
  EXPECT_EQ(world.Get("cboClassUse").Options().Item(1)->Text(), "BUSINESS");
}

TEST(CoverClass, AChangedMotorCoverMarksTheNewTariffAndResetsTheDrivers) {
  CoverTabWorld world;
  world.SetSystemCodes({{"1061", "02"}, {"1030", "THE INSURED"}});
  PrepareDriversAndFigures(world);
  world.Choose("cboMotorCoverCode", "02");
  const Workspace& ws = world.workspace;
  EXPECT_EQ(Marks(ws), (Bools{true, false, true, false}));
  EXPECT_EQ(Typed(ws.premium), Bools(4, false));
  EXPECT_EQ(ws.record.Current.DriverNames, Texts{"THE INSURED"});
  EXPECT_EQ(ws.record.Current.DriverICNos, Texts{""});
}

TEST(CoverFactors, FreeTradeZoneAndTypedPeriodDatesChangeTheNewTariffFactors) {
  for (const std::string_view box : {"optFTZYes", "optFTZNo", "txtEffectiveDate", "txtExpiryDate"}) {
    SCOPED_TRACE(std::string(box));
    CoverTabWorld world;
    PrepareDriversAndFigures(world);
    const bool option = box.starts_with("opt");
    option ? world.Click(box) : dom::TypeText(world.Get(box), "1");
    EXPECT_TRUE(!option || world.Get(box).Checked());
    EXPECT_TRUE(world.workspace.premium.FactorsChangedNewTariff);
    // An option clears the basic premium only; a typed date every typed figure.
    EXPECT_EQ(Typed(world.workspace.premium), (Bools{option, option, option, false}));
  }
}

TEST(CoverDates, AreWrittenInTheScreensFormWhenLeft) {
  struct Case { std::string_view box, transaction_type, typed, shown; };
  // clang-format off
  const Case cases[] = {
      {"txtDateOfIssue", "N", "5/3/2014", "05-Mar-2014"}, {"txtEffectiveDate", "N", "", ""},
      {"txtExpiryDate", "N", "4 march 2015", "04-Mar-2015"}, {"txtLicenseDate", "N", " 1/2/2001 ", "01-Feb-2001"},
      {"txtLicenseDate", "R", "5", "5"}};
  // clang-format on
  for (const Case& c : cases) {
    CoverTabWorld world;
    world.Choose("cboTransactionType", c.transaction_type);
    world.Visit(c.box, c.typed);
    EXPECT_EQ(world.Get(c.box).Value(), c.shown) << c.box << " " << c.typed;
  }
}

TEST(CoverVehicleAndTrailerNumber, AppearInCapitalsAndOnlyAChangedTrailerChangesTheFactors) {
  CoverTabWorld world;
  dom::TypeText(world.Get("txtVehicleNumber"), "wxy 12é");
  const std::string typed = world.Get("txtVehicleNumber").Value();
  world.Get("txtVehicleNumber").SetValue("jkl 9");
  dom::UserBlur(world.Get("txtVehicleNumber"));
  EXPECT_EQ(typed + "/" + world.Get("txtVehicleNumber").Value(), "WXY 12É/JKL 9");

  PremiumState& premium = world.workspace.premium;
  world.Leave("txtTrailerNumber", "TR1");
  EXPECT_TRUE(premium.FactorsChangedNewTariff);
  premium.FactorsChangedNewTariff = false;
  premium.BasicPremiumEntered = true;
  world.Visit("txtTrailerNumber", "TR1");
  EXPECT_FALSE(premium.FactorsChangedNewTariff);
  EXPECT_TRUE(premium.BasicPremiumEntered);
}

TEST(CoverMortgagee, IsChosenFromTheListWithNoneFirst) {
  CoverTabWorld world;
  const std::string mortgagees = Records({Fields({"M01", "BANK CENDANA BERHAD"}), Fields({"M02", "KREDIT UTAMA"})});
  world.fakes.backend.Answer("KivoInsurance.Find.Browse", "1", mortgagees);
  world.dialogs->dialog_result = "True;M02;KREDIT UTAMA";

  world.Click("cmdSelectMortgagee");
  EXPECT_EQ(world.SelectionFileBytes(),
            EncodeUtf16File(Fields({"", "[NONE]"}) + std::string(RecordSeparator) + mortgagees));
  EXPECT_EQ(world.workspace.record.Current.MortgageeCode + world.Get("txtMortgagee").Value(),
            "M02KREDIT UTAMA");
  // The list is built once; a dialog closed without a choice changes nothing.
  world.dialogs->dialog_result = "False;;";
  world.Click("cmdSelectMortgagee");
  EXPECT_THAT(world.ParametersSent("KivoInsurance.Find.Browse"), ElementsAre("1"));
  EXPECT_THAT(world.dialogs->Opened(),
              ElementsAre("dlgSrch.htm SearchMortgagee", "dlgSrch.htm SearchMortgagee"));
  EXPECT_EQ(world.workspace.record.Current.MortgageeCode, "M02");
  // A typed name has no code.
  dom::TypeText(world.Get("txtMortgagee"), "X");
  EXPECT_EQ(world.workspace.record.Current.MortgageeCode + world.Get("txtMortgagee").Value(),
            "KREDIT UTAMAX");
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

}  // namespace
}  // namespace cn::cover_testing
