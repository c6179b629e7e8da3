#pragma once
// The Premium tab ("CNAAPrm.htm", tab id "COVPrem"): the current engine's figures, the
// figures the administrator may override (sums insured, loading, excess, stamp duty,
// tariff premium, the short-period and trailer boxes) and the extended covers. Typing a
// figure marks it entered so that the next computation sends it as typed.

#include <memory>

#include "pages/premium/premium_page.h"

namespace cn {

class CNAAPrm : public PremiumPage {
 public:
  CNAAPrm(Workspace& workspace, std::shared_ptr<dom::Document> document);

  // The maker the screen's page factory lists for "CNAAPrm.htm".
  static std::unique_ptr<Page> Make(Workspace& workspace, std::shared_ptr<dom::Document> document);

 protected:
  void DHTMLPage_Load() override;
  void lnkExtDelete_onclick() override;

 private:
  void Bind();
  void SumInsured_onkeypress();
  void txtLoadPercentage_onblur();
  void txtLoadPercentage_onkeypress();
  void txtExcessAmount1_onblur();
  void txtExcessAmount1_onkeypress();
  void txtStampDuty_onblur();
  void chkShortCal_onclick();
  void chkTrailerNP_onclick();
};

}  // namespace cn
