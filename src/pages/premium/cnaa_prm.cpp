#include "pages/premium/cnaa_prm.h"

#include <optional>
#include <utility>

#include "base/currency.h"
#include "base/number_format.h"
#include "integration/input_checks.h"
#include "integration/locking.h"
#include "integration/reporting.h"

namespace cn {
namespace {

constexpr SumInsuredRule kSumInsuredRules[] = {
    {"ED", SumInsuredOpening::kHideLinksLockBoth},
    {"T", SumInsuredOpening::kLockBoth},
    {"NRPI", SumInsuredOpening::kByCover},
    {"M", SumInsuredOpening::kByCoverThenLockBoth},
};

constexpr std::int32_t kRemoveRowMessage = 1210004;

}  // namespace

CNAAPrm::CNAAPrm(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : PremiumPage(workspace, std::move(document), kPremiumTabId) {
  Bind();
}

std::unique_ptr<Page> CNAAPrm::Make(Workspace& workspace, std::shared_ptr<dom::Document> document) {
  return std::make_unique<CNAAPrm>(workspace, std::move(document));
}

void CNAAPrm::Bind() {
  BindShared();
  static constexpr auto kHandlers = dom::SortedRows({
      {"txtVehicleSumInsured", "onkeypress", Handler<&CNAAPrm::SumInsured_onkeypress>},
      {"txtTrailerSumInsured", "onkeypress", Handler<&CNAAPrm::SumInsured_onkeypress>},
      {"txtLoadPercentage", "onblur", Handler<&CNAAPrm::txtLoadPercentage_onblur>},
      {"txtLoadPercentage", "onkeypress", Handler<&CNAAPrm::txtLoadPercentage_onkeypress>},
      {"txtExcessAmount1", "onblur", Handler<&CNAAPrm::txtExcessAmount1_onblur>},
      {"txtExcessAmount1", "onkeypress", Handler<&CNAAPrm::txtExcessAmount1_onkeypress>},
      {"txtStampDuty", "onblur", Handler<&CNAAPrm::txtStampDuty_onblur>},
      {"chkShortCal", "onclick", Handler<&CNAAPrm::chkShortCal_onclick>},
      {"chkTrailerNP", "onclick", Handler<&CNAAPrm::chkTrailerNP_onclick>},
  });
  BindHandlers(kHandlers);
}

void CNAAPrm::DHTMLPage_Load() { LoadRatedTab(kSumInsuredRules); }

// A new sum insured: the engine prices tariff, loading and excess afresh.
void CNAAPrm::SumInsured_onkeypress() {
  PremiumState& premium = workspace().premium;
  premium.TariffPremiumEntered = false;
  premium.LoadPercentageEntered = false;
  premium.ExcessEntered = false;
}

void CNAAPrm::txtLoadPercentage_onblur() {
  dom::Element& input = Element("txtLoadPercentage");
  if (!CheckPercentageInput(workspace().components, input)) {
    RestoreAccepted(input);
    return;
  }
  const Currency value = Currency::TryParse(input.Value()).value_or(Currency());
  const std::string answer = workspace().components.SharedFieldRuleService().CheckPercentage(
      static_cast<float>(value.ToDouble()));
  if (!answer.empty()) {
    window().MessageBox(answer, dom::message_box::kOkOnly + dom::message_box::kExclamation,
                        "Invalid Data");
    RestoreAccepted(input);
    return;
  }
  Accept(input, FormatNumber(value, 2));
}

void CNAAPrm::txtLoadPercentage_onkeypress() { workspace().premium.LoadPercentageEntered = true; }

void CNAAPrm::txtExcessAmount1_onblur() {
  dom::Element& input = Element("txtExcessAmount1");
  if (const std::optional<Currency> value = Currency::TryParse(input.Value())) {
    input.SetValue(FormatNumber(*value, 0));
  }
}

void CNAAPrm::txtExcessAmount1_onkeypress() { workspace().premium.ExcessEntered = true; }

void CNAAPrm::txtStampDuty_onblur() { workspace().premium.StampDutyEntered = true; }

void CNAAPrm::chkShortCal_onclick() {
  if (Element("chkShortCal").Checked()) workspace().premium.ShortCalculationChecked = true;
}

// A trailer without premium of its own carries neither tariff premium nor stamp duty.
void CNAAPrm::chkTrailerNP_onclick() {
  PremiumState& premium = workspace().premium;
  dom::Element& tariff = Element("txtTariffPremium");
  dom::Element& stamp_duty = Element("txtStampDuty");
  if (Element("chkTrailerNP").Checked()) {
    premium.TrailerNPChecked = true;
    premium.TariffPremiumEntered = true;
    premium.StampDutyEntered = true;
    tariff.SetValue("0");
    stamp_duty.SetValue("0");
    LockInputKeepEnabled(tariff);
    LockInputKeepEnabled(stamp_duty);
    return;
  }
  stamp_duty.SetValue(DefaultStampDuty());
  UnlockInput(tariff);
  UnlockInput(stamp_duty);
}

void CNAAPrm::lnkExtDelete_onclick() {
  const std::int32_t answer =
      ShowMessageByNumber(workspace().components, kRemoveRowMessage, "", "Remove row");
  FinishExtDelete(answer == dom::message_box::kOk);
}

}  // namespace cn
