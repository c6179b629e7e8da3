#pragma once
// The Vehicle tab ("CNAAVeh.htm", tab id "COVVeh"): the insured vehicle and the named
// drivers. The tab fills its lists, hosts the named-driver table, shows the record and
// then locks every field; the make, model and body selection and the field checks act
// whenever a later step unlocks the controls.

#include <memory>
#include <string>
#include <string_view>

#include "pages/page.h"

namespace cn {

class CNAAVeh : public Page {
 public:
  CNAAVeh(Workspace& workspace, std::shared_ptr<dom::Document> document);

  // The maker the screen's page factory lists for "CNAAVeh.htm".
  static std::unique_ptr<Page> Make(Workspace& workspace, std::shared_ptr<dom::Document> document);

  // A new make: the model and what came with it no longer apply.
  void VehicleMake_OnChange();

 protected:
  void DHTMLPage_Load() override;
  void DHTMLPage_Unload() override;

 private:
  void Bind();

  // Load (vehicle_setup.cpp).
  void SetUpPage();
  void LoadUnitList();
  void ApplyTransactionType();
  void LockDown();

  // Field checks (vehicle_rules.cpp).
  void cboVehicleUOMCode_onblur();
  void cboVehicleUOMCode_onchange();
  void txtCapacity_onblur();
  void txtCapacity_onkeypress();
  void txtSeatingCapacity_onblur();
  void txtYearMade_onblur();
  void txtYearMade_onkeypress();
  void txtModel_onblur();
  // The capacity as shown for the chosen unit.
  std::string CapacityText(std::string_view capacity) const;

  // Model and body selection (vehicle_search.cpp).
  void cmdSelectModel_onclick();
  void cmdSelectModel_onkeypress();
  void cmdSelectModel_onmouseover();
  void cmdSelectBody_onclick();
  void cmdSelectBody_onkeypress();
  void cmdSelectBody_onmouseover();
  void txtModel_onkeypress();
  void txtBody_onkeypress();

  // Named persons (vehicle_search.cpp).
  void lnkAddNPerson_onclick();
  void lnkAddNPerson_onkeypress();
  void lnkAddNPerson_onmouseover();
  void lnkDeleteNPerson_onclick();
  void lnkDeleteNPerson_onkeypress();
  void lnkDeleteNPerson_onmouseover();
  void kvExecuteCommand_onclick();

  bool loaded_ = false;
  // The transaction type whose locking was last applied.
  std::string applied_transaction_type_;
  // The year made as shown, then as last accepted: what a refused year gives way to.
  std::string accepted_year_made_;
};

}  // namespace cn
