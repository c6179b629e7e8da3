#include "pages/premium/cnaa_nprm.h"

#include <utility>

#include "integration/reporting.h"
#include "integration/shell_bridge.h"
#include "pages/premium/premium_lock.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

constexpr SumInsuredRule kSumInsuredRules[] = {
    {"NR", SumInsuredOpening::kByCover},
    {"ET", SumInsuredOpening::kHideLinksLockBoth},
};

constexpr std::string_view kRemoveRowQuestion =
    "This action will remove the highlighted row.\r\nDo you wish to proceed?";

}  // namespace

CNAANPrm::CNAANPrm(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : PremiumPage(workspace, std::move(document), kNewTariffPremiumTabId) {
  Bind();
}

std::unique_ptr<Page> CNAANPrm::Make(Workspace& workspace,
                                     std::shared_ptr<dom::Document> document) {
  return std::make_unique<CNAANPrm>(workspace, std::move(document));
}

void CNAANPrm::Bind() {
  BindShared();
  static constexpr auto kHandlers = dom::SortedRows({
      {"cboNCDYear", "onchange", Handler<&CNAANPrm::cboNCDYear_onchange>},
      {"txtBasicPremium", "onkeypress", Handler<&CNAANPrm::txtBasicPremium_onkeypress>},
      {"txtTariffPremium", "onkeypress", Handler<&CNAANPrm::FactorChanged>},
      {"txtServiceTaxPercentage", "onblur", Handler<&CNAANPrm::FactorChanged>},
      {"txtStampDuty", "onblur", Handler<&CNAANPrm::txtStampDuty_onblur>},
      {"txtExcessAmount1", "onkeypress", Handler<&CNAANPrm::txtExcessAmount1_onkeypress>},
      {"txtVehicleSumInsured", "onkeypress", Handler<&CNAANPrm::SumInsured_onkeypress>},
      {"txtTrailerSumInsured", "onkeypress", Handler<&CNAANPrm::SumInsured_onkeypress>},
      {"lnkExtAdd", "onmouseover", Handler<&CNAANPrm::lnkExtAdd_onmouseover>},
      {"lnkExtDelete", "onmouseover", Handler<&CNAANPrm::lnkExtDelete_onmouseover>},
  });
  BindHandlers(kHandlers);
}

void CNAANPrm::DHTMLPage_Load() { LoadRatedTab(kSumInsuredRules); }

// Another NCD step: the engine prices the basic premium and the excess afresh.
void CNAANPrm::cboNCDYear_onchange() {
  PremiumState& premium = workspace().premium;
  premium.FactorsChangedNewTariff = true;
  premium.BasicPremiumEntered = false;
  premium.ExcessEntered = false;
}

void CNAANPrm::txtBasicPremium_onkeypress() { workspace().premium.BasicPremiumEntered = true; }

void CNAANPrm::FactorChanged() { workspace().premium.FactorsChangedNewTariff = true; }

void CNAANPrm::txtStampDuty_onblur() {
  workspace().premium.FactorsChangedNewTariff = true;
  workspace().premium.StampDutyEntered = true;
}

void CNAANPrm::txtExcessAmount1_onkeypress() {
  workspace().premium.ExcessEntered = true;
  workspace().premium.FactorsChangedNewTariff = true;
}

void CNAANPrm::SumInsured_onkeypress() {
  workspace().premium.FactorsChangedNewTariff = true;
  workspace().premium.BasicPremiumEntered = false;
}

void CNAANPrm::lnkExtDelete_onclick() {
  const int answer = window().MessageBox(
      kRemoveRowQuestion, dom::message_box::kYesNo + dom::message_box::kExclamation, "Remove row");
  FinishExtDelete(answer == dom::message_box::kYes);
}

CNAAOPrm::CNAAOPrm(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : Page(workspace, std::move(document)) {}

std::unique_ptr<Page> CNAAOPrm::Make(Workspace& workspace,
                                     std::shared_ptr<dom::Document> document) {
  return std::make_unique<CNAAOPrm>(workspace, std::move(document));
}

void CNAAOPrm::DHTMLPage_Load() {
  Workspace& ws = workspace();
  ws.page.CurrentTabId = kOtherPremiumTabId;
  ws.page.CurrentPremiumTabId = kOtherPremiumTabId;
  EnableCmdButton(window(), "cmdCalculate", CalculateOffered(ws));
  AttachPremiumBehaviours(document());
  ShowRecordOnPage(ws, kOtherPremiumTabId, document());
  LockPremiumTabIfReadOnly(ws, window(), document());
}

}  // namespace cn
