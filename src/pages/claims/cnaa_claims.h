#pragma once
// The NCD tab ("CNAAClm.htm", tab id "COVNCD"): the previous insurance on which the NCD
// rests (insurer, period, branch, policy, vehicle, NCD, a remark when there is none) and
// the claims experience. The tab decides whether a previous insurer applies, shows the
// record and locks itself; stored claims are shown read-only.

#include <memory>

#include "pages/page.h"

namespace cn {

class CNAAClaims : public Page {
 public:
  CNAAClaims(Workspace& workspace, std::shared_ptr<dom::Document> document);

  static std::unique_ptr<Page> Make(Workspace& workspace, std::shared_ptr<dom::Document> document);

 protected:
  void DHTMLPage_Load() override;
  void DHTMLPage_Unload() override;

 private:
  void Bind();
  void LoadInsurerList();
  void LockDown();

  void optExInsurerYes_onclick();
  void optExInsurerNo_onclick();
  void lnkSearchExInsurer_onclick();
  void lnkSearchExInsurer_onkeypress();
  void txtExEffDate_onblur();
  void txtExExpDate_onblur();
  void lnkAccAdd_onclick();
  void lnkAccAdd_onmouseover();
  void lnkAccDelete_onclick();
  void lnkAccDelete_onmouseover();
  void kvExecuteCommand_onclick();

  bool loaded_ = false;
};

}  // namespace cn
