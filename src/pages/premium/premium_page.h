#pragma once
// What the two rated premium tabs share: the extended-cover table they host, the load
// steps by transaction type (charges, sums insured, links), the pending focus commands
// Calculate leaves for them, the sum-insured check and the row links.

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "pages/page.h"

namespace cn {

class ExtCover;

// The premium tabs' inputs take the behaviour of what is typed into them.
void AttachPremiumBehaviours(dom::Document& page);

// How the sums insured and the row links open for a group of transaction types.
enum class SumInsuredOpening {
  kHideLinksLockBoth,   // the covers of the earlier document stand
  kLockBoth,            // the sums insured stand
  kByCover,             // open unless the cover rates no sum insured; the trailer's only
                        // with a trailer
  kByCoverThenLockBoth  // as kByCover, then both locked
};

struct SumInsuredRule {
  std::string_view types;  // one letter per transaction type
  SumInsuredOpening opening;
};

class PremiumPage : public Page {
 protected:
  PremiumPage(Workspace& workspace, std::shared_ptr<dom::Document> document,
              std::string_view tab_id);

  // The load of a rated premium tab: the table, the lists, the charges and the sums
  // insured by transaction type, the record shown and the pending focus command.
  void LoadRatedTab(std::span<const SumInsuredRule> sum_insured_rules);
  void DHTMLPage_Unload() override;

  // A sum insured left: checked as an amount and against the limits of the class and the
  // cover; a refused one gives way to the last accepted value.
  void CheckSumInsuredInput(std::string_view id);
  // The last accepted value of a checked input: its value when the tab showed the record,
  // then each value its check accepted.
  void Accept(dom::Element& input, std::string_view value);
  void RestoreAccepted(dom::Element& input);
  void txtVehicleSumInsured_onblur() { CheckSumInsuredInput("txtVehicleSumInsured"); }
  void txtTrailerSumInsured_onblur() { CheckSumInsuredInput("txtTrailerSumInsured"); }

  // Extended-cover links and the table's command channel.
  void lnkExtAdd_onclick();
  void lnkExtAdd_onkeypress();
  void lnkExtDelete_onkeypress();
  void lnkExtAdd_onmouseover() { Element("lnkExtAdd").SetStyle("cursor", "hand"); }
  void lnkExtDelete_onmouseover() { Element("lnkExtDelete").SetStyle("cursor", "hand"); }
  virtual void lnkExtDelete_onclick() = 0;
  // Removes the highlighted cover when `confirmed`; the link hides either way.
  void FinishExtDelete(bool confirmed);
  void kvExecuteCommand_onclick();

  // Binds the handlers both rated tabs have.
  void BindShared() {
    static constexpr auto kHandlers = dom::SortedRows({
        {"txtVehicleSumInsured", "onblur", Handler<&PremiumPage::txtVehicleSumInsured_onblur>},
        {"txtTrailerSumInsured", "onblur", Handler<&PremiumPage::txtTrailerSumInsured_onblur>},
        {"lnkExtAdd", "onclick", Handler<&PremiumPage::lnkExtAdd_onclick>},
        {"lnkExtAdd", "onkeypress", Handler<&PremiumPage::lnkExtAdd_onkeypress>},
        {"lnkExtDelete", "onclick", Handler<&PremiumPage::lnkExtDelete_onclick>},
        {"lnkExtDelete", "onkeypress", Handler<&PremiumPage::lnkExtDelete_onkeypress>},
        {"kvExecuteCommand", "onclick", Silent<&PremiumPage::kvExecuteCommand_onclick>},
    });
    BindHandlers(kHandlers);
  }

  // The default stamp duty.
  std::string DefaultStampDuty() const;
  // An element the tab may not have; null when it has none.
  std::shared_ptr<dom::Element> Optional(std::string_view id) const {
    return document().FindElementById(id);
  }

 private:
  void LoadExtCoverChoices();
  void RememberAccepted();
  void ApplyCharges();
  void ApplySumInsured(std::span<const SumInsuredRule> rules);
  void RunPendingCommand();

  std::string tab_id_;
  std::map<std::string, std::string, std::less<>> accepted_;
};

}  // namespace cn
