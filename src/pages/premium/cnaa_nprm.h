#pragma once
// The new-tariff premium tab ("CNAANPrm.htm", tab id "COVNPrem"): the new-tariff engine's
// figures with the ten rating factors it returns. Any change of a factor marks the new
// tariff's factors changed, so that the next save prices the cover note again.

#include <memory>

#include "pages/premium/premium_page.h"

namespace cn {

class CNAANPrm : public PremiumPage {
 public:
  CNAANPrm(Workspace& workspace, std::shared_ptr<dom::Document> document);

  // The maker the screen's page factory lists for "CNAANPrm.htm".
  static std::unique_ptr<Page> Make(Workspace& workspace, std::shared_ptr<dom::Document> document);

 protected:
  void DHTMLPage_Load() override;
  void lnkExtDelete_onclick() override;

 private:
  void Bind();
  void cboNCDYear_onchange();
  void txtBasicPremium_onkeypress();
  void FactorChanged();
  void txtStampDuty_onblur();
  void txtExcessAmount1_onkeypress();
  void SumInsured_onkeypress();
};

// The other premium tab ("CNAAOPrm.htm", tab id "COVOPrem"): the premium of a cover
// note the engines do not rate, shown as stored.
class CNAAOPrm : public Page {
 public:
  CNAAOPrm(Workspace& workspace, std::shared_ptr<dom::Document> document);

  // The maker the screen's page factory lists for "CNAAOPrm.htm".
  static std::unique_ptr<Page> Make(Workspace& workspace, std::shared_ptr<dom::Document> document);

 protected:
  void DHTMLPage_Load() override;
};

}  // namespace cn
